#include "ui/decode_messages.h"

namespace ui {

const char* DecodeFailureText(decode::DecodeFailure failure, Language language) {
  using decode::DecodeFailure;
  switch (failure) {
    case DecodeFailure::kNoKey: return Text(TextId::kOutOfMemory, language);
    case DecodeFailure::kOpenArchive: return Text(TextId::kDecodeOpenFailed, language);
    case DecodeFailure::kReadFailed: return Text(TextId::kDecodeReadFailed, language);
    case DecodeFailure::kCooked: return Text(TextId::kDecodeCooked, language);
    case DecodeFailure::kWrongPassword: return Text(TextId::kWrongPassword, language);
    case DecodeFailure::kOpenForWrite: return Text(TextId::kOpenForWriteFailed, language);
    case DecodeFailure::kWriteFailed: return Text(TextId::kWriteFailed, language);
  }
  return Text(TextId::kWriteFailed, language);
}

const char* DecodeFailureTitle(decode::DecodeFailure failure, const archive::SharedState& state,
                               Language language) {
  if (failure == decode::DecodeFailure::kReadFailed) return state.archive_path;
  if (failure == decode::DecodeFailure::kCooked) return Text(TextId::kWarningTitle, language);
  return state.caption;
}

}  // namespace ui
