// One text in both of the program's languages, as the generated tables
// hold them, and the form a language shows.
#pragma once

#include "ui/texts.h"

namespace ui {

struct TextPair {
  const char* english;
  const char* japanese;
};

inline const char* FormFor(const TextPair& pair, Language language) {
  return language == Language::kJapanese ? pair.japanese : pair.english;
}

}  // namespace ui
