// Every user-visible text of the program, in English and Japanese.
//
// Japanese texts are Shift-JIS bytes. Which form is shown is decided at
// the moment of use, by the system's OEM code page (932 means Japanese).
#pragma once

namespace ui {

enum class TextId {
#include "ui/text_ids.inc"
  kCount
};

enum class Language { kEnglish, kJapanese };

inline Language LanguageForOemCodePage(unsigned code_page) {
  return code_page == 932 ? Language::kJapanese : Language::kEnglish;
}

const char* Text(TextId id, Language language);

}  // namespace ui
