#include "decode/failure_messages.h"

#include "ui/reader_texts.h"

namespace decode {

using ui::Text;
using ui::TextId;

const char* FailureText(DecodeFailure failure, ui::Language language) {
  switch (failure) {
    case DecodeFailure::kNoKey: return Text(TextId::kOutOfMemory, language);
    case DecodeFailure::kOpenArchive: return Text(TextId::kDecodeOpenFailed, language);
    case DecodeFailure::kReadFailed: return Text(TextId::kDecodeReadFailed, language);
    case DecodeFailure::kCooked: return Text(TextId::kDecodeCooked, language);
    case DecodeFailure::kWrongPassword: return Text(TextId::kWrongPassword, language);
    case DecodeFailure::kOpenForWrite: return Text(TextId::kOpenForWriteFailed, language);
    case DecodeFailure::kWriteFailed:
    case DecodeFailure::kBlockTooShort:
    case DecodeFailure::kBrokenStream: return Text(TextId::kWriteFailed, language);
  }
  return Text(TextId::kWriteFailed, language);
}

const char* ReaderFailureText(DecodeFailure failure, ui::Language language, bool record_read) {
  if (failure == DecodeFailure::kBlockTooShort || failure == DecodeFailure::kBrokenStream ||
      (failure == DecodeFailure::kReadFailed && record_read)) {
    return ui::ReaderText(ui::ReaderTextId::kDamagedOrWrongPassword, language);
  }
  return FailureText(failure, language);
}

const char* FailureTitle(DecodeFailure failure, const archive::SharedState& state, ui::Language language) {
  if (failure == DecodeFailure::kReadFailed) return state.archive_path;
  if (failure == DecodeFailure::kCooked) return Text(TextId::kWarningTitle, language);
  return state.caption;
}

}  // namespace decode
