#include "ui/reader_texts.h"

namespace ui {
namespace {

struct TextPair {
  const char* english;
  const char* japanese;
};

constexpr TextPair kReaderTexts[] = {
#include "ui/reader_texts_table.inc"
};
static_assert(sizeof kReaderTexts / sizeof kReaderTexts[0] == static_cast<int>(ReaderTextId::kCount));

}  // namespace

const char* ReaderText(ReaderTextId id, Language language) {
  const TextPair& pair = kReaderTexts[static_cast<int>(id)];
  return language == Language::kJapanese ? pair.japanese : pair.english;
}

}  // namespace ui
