#include "ui/texts.h"

#include "ui/text_pair.h"

namespace ui {
namespace {

constexpr TextPair kTexts[] = {
#include "ui/texts_table.inc"
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(TextId::kCount));

}  // namespace

const char* Text(TextId id, Language language) {
  return FormFor(kTexts[static_cast<int>(id)], language);
}

}  // namespace ui
