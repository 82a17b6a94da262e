#include "decode/archive_reading.h"

#include <algorithm>

#include "base/bounded_text.h"
#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "decode/look_ahead.h"
#include "platform/text_codes.h"

namespace decode {
namespace {

constexpr uint32_t kTriedCodePages[] = {base::kCodePageShiftJis, base::kCodePageWestern, platform::kUtf8CodePage};

bool HasOneForm(const std::string& password) { return base::IsAscii(password) || !base::IsUtf8(password); }

// The choice when the names are left to make it.
void ChooseByNames(const LookAhead& look, const PasswordForm& opened, bool one_form, ArchiveReading* reading) {
  std::vector<std::string> texts = look.names;
  texts.insert(texts.end(), look.captions.begin(), look.captions.end());
  reading->by_names = ChooseNameCodePage(texts);
  const bool password_tells = !one_form;
  if (reading->by_names.code_page != 0 && !(reading->by_names.close && password_tells)) {
    reading->code_page = reading->by_names.code_page;
    reading->chosen_by_names = true;
  } else {
    reading->code_page = password_tells ? opened.code_page : base::kCodePageWestern;
  }
}

}  // namespace

std::vector<PasswordForm> PasswordForms(const std::string& password, uint32_t code_page) {
  std::vector<PasswordForm> forms;
  const bool one_form = HasOneForm(password);
  const std::vector<uint32_t> pages =
      code_page != 0 ? std::vector<uint32_t>{code_page} : std::vector<uint32_t>(std::begin(kTriedCodePages), std::end(kTriedCodePages));
  for (uint32_t page : pages) {
    PasswordForm form{page, password};
    if (!one_form && page != platform::kUtf8CodePage &&
        !platform::ConvertText(platform::kUtf8CodePage, page, password, &form.bytes)) {
      continue;
    }
    const bool again = std::any_of(forms.begin(), forms.end(), [&](const PasswordForm& f) { return f.bytes == form.bytes; });
    if (!again) forms.push_back(form);
  }
  return forms;
}

ArchiveReading ReadArchive(const archive::SharedState& state, const std::string& password, uint32_t code_page) {
  ArchiveReading reading;
  const std::vector<PasswordForm> forms = PasswordForms(password, code_page);
  if (forms.empty()) {
    reading.verdict = ArchiveReading::Verdict::kPasswordUnwritable;
    return reading;
  }
  size_t opened = forms.size();
  LookAhead look;
  for (size_t i = 0; i < forms.size() && opened == forms.size(); ++i) {
    look = LookOver(state, forms[i].bytes);
    if (look.password_right) opened = i;
  }
  if (opened == forms.size()) {
    reading.verdict = ArchiveReading::Verdict::kWrongPassword;
    reading.password = forms[0].bytes;
    reading.code_page = code_page != 0 ? code_page : forms[0].code_page;
    return reading;
  }
  reading.password = forms[opened].bytes;
  if (code_page != 0) {
    reading.code_page = code_page;
  } else {
    ChooseByNames(look, forms[opened], HasOneForm(password), &reading);
  }
  return reading;
}

NameProblem SpellInUtf8(uint32_t code_page, const char* stored, char* local, int capacity) {
  std::string name;
  if (!platform::ConvertText(code_page, platform::kUtf8CodePage, stored, &name)) return NameProblem::kUnspellable;
  if (name.size() >= static_cast<size_t>(capacity)) return NameProblem::kTooLong;
  base::CopyText(local, static_cast<size_t>(capacity), name.c_str());
  return NameProblem::kNone;
}

}  // namespace decode
