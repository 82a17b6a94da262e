#include "cli/archive_texts.h"

#include <vector>

#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "cli/messages.h"
#include "decode/name_scan.h"
#include "platform/text_codes.h"

namespace cli {
namespace {

void SayPasswordDoesNotFit(const std::string& code_pages) {
  Complain("the password", "cannot be written in " + code_pages +
                               ", the archive's code page; --encoding names the code page it was made in");
}

}  // namespace

bool ResolveArchiveTexts(const archive::SharedState& state, const Encoding& encoding, const std::string& password,
                         ArchiveTexts* texts) {
  const bool as_it_is = base::IsAscii(password) || !base::IsUtf8(password);
  if (!encoding.automatic()) {
    texts->code_page = encoding.code_page;
    texts->password = password;
    if (as_it_is || Utf8ToStored(encoding.code_page, password, &texts->password)) return true;
    SayPasswordDoesNotFit(CodePageName(encoding.code_page));
    return false;
  }

  // The password in each code page that can hold it, CP932 first.
  std::vector<std::pair<uint32_t, std::string>> candidates;
  for (uint32_t code_page : {base::kCodePageShiftJis, base::kCodePageWestern}) {
    std::string bytes = password;
    if (as_it_is || Utf8ToStored(code_page, password, &bytes)) candidates.emplace_back(code_page, bytes);
    if (as_it_is) break;
  }
  if (candidates.empty()) {
    SayPasswordDoesNotFit("CP932 or CP1252");
    return false;
  }
  size_t chosen = 0;
  decode::NameScan scan = decode::ScanStoredNames(state, candidates[0].second);
  for (size_t i = 1; i < candidates.size() && !scan.password_right; ++i) {
    decode::NameScan other = decode::ScanStoredNames(state, candidates[i].second);
    if (other.password_right) {
      chosen = i;
      scan = std::move(other);
    }
  }
  texts->password = candidates[chosen].second;
  const uint32_t by_names = ChooseReadingCodePage(scan.names);
  // All-ASCII names read alike in any code page; the password's then decides.
  texts->code_page = by_names ? by_names : as_it_is ? base::kCodePageWestern : candidates[chosen].first;
  if (by_names) {
    Note("names read as " + CodePageName(by_names) + " (chosen by --encoding auto; --encoding CODEPAGE overrides)");
  }
  return true;
}

}  // namespace cli
