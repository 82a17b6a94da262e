#include "ui/check_messages.h"

#include "base/bounded_text.h"

namespace ui {
namespace {

TextId ProblemText(archive::CheckProblem problem) {
  switch (problem) {
    case archive::CheckProblem::kOpenFailed: return TextId::kCheckOpenFailed;
    case archive::CheckProblem::kHeaderShort: return TextId::kCheckHeaderShort;
    case archive::CheckProblem::kNewerVersion: return TextId::kNewerVersion;
    case archive::CheckProblem::kBlockShort: return TextId::kCheckBlockShort;
    case archive::CheckProblem::kCooked: return TextId::kCheckCooked;
  }
  return TextId::kCheckBlockShort;
}

MessageText Compose(const char* archive_path, const char* message) {
  MessageText out;
  out.text[0] = '\0';
  if (archive_path) {
    base::AppendText(out.text, kMessageCapacity, archive_path);
    base::AppendText(out.text, kMessageCapacity, "\n\n");
  }
  base::AppendText(out.text, kMessageCapacity, message);
  return out;
}

}  // namespace

MessageText CheckProblemMessage(archive::CheckProblem problem, const char* archive_path,
                                Language language) {
  const char* message = Text(ProblemText(problem), language);
  return Compose(problem == archive::CheckProblem::kHeaderShort ? nullptr : archive_path, message);
}

MessageText CheckNoProblemMessage(const char* archive_path, Language language) {
  return Compose(archive_path, Text(TextId::kCheckNoProblem, language));
}

}  // namespace ui
