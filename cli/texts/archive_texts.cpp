#include "cli/texts/archive_texts.h"

#include "cli/commands/commands.h"
#include "cli/texts/messages.h"
#include "decode/archive_reading.h"
#include "ui/texts.h"

namespace cli {
namespace {

void SayChoice(const decode::ArchiveReading& reading) {
  if (!reading.chosen_by_names) return;
  const std::string chosen = CodePageName(reading.code_page);
  if (!reading.by_names.close || reading.by_names.runner_up == 0) {
    Note("names read as " + chosen + " (chosen by --encoding auto; --encoding CODEPAGE overrides)");
    return;
  }
  const std::string other = CodePageName(reading.by_names.runner_up);
  Note("names read as " + chosen + ", though " + other + " reads them nearly as well; if they look wrong, try --encoding " +
       other);
}

}  // namespace

int ResolveArchiveTexts(const archive::SharedState& state, const Encoding& encoding, const std::string& password,
                        ArchiveTexts* texts) {
  const decode::ArchiveReading reading = decode::ReadArchive(state, password, encoding.code_page);
  switch (reading.verdict) {
    case decode::ArchiveReading::Verdict::kPasswordUnwritable:
      Complain("the password", "cannot be written in " + CodePageName(encoding.code_page) +
                                   ", the archive's code page; --encoding names the code page it was made in");
      return kExitUsage;
    case decode::ArchiveReading::Verdict::kWrongPassword:
      Complain(state.archive_path, ui::Text(ui::TextId::kWrongPassword, ui::Language::kEnglish));
      return kExitArchive;
    case decode::ArchiveReading::Verdict::kOpens:
      break;
  }
  texts->code_page = reading.code_page;
  texts->password = reading.password;
  SayChoice(reading);
  return kExitOk;
}

}  // namespace cli
