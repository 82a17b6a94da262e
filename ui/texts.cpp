#include "ui/texts.h"

namespace ui {
namespace {

struct TextPair {
  const char* english;
  const char* japanese;
};

constexpr TextPair kTexts[] = {
#include "ui/texts_table.inc"
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(TextId::kCount));

}  // namespace

const char* Text(TextId id, Language language) {
  const TextPair& pair = kTexts[static_cast<int>(id)];
  return language == Language::kJapanese ? pair.japanese : pair.english;
}

}  // namespace ui
