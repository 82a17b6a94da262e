#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

std::vector<std::string> SplitArguments(const char* line) {
  std::vector<std::string> args;
  shell::ArgumentReader reader(line);
  char buffer[300];
  size_t length = 0;
  while (reader.Next(buffer, sizeof buffer, &length)) {
    EXPECT_EQ(strlen(buffer), length);
    args.push_back(buffer);
  }
  return args;
}

using shell::Form;
using shell::ParseCommandLine;

TEST(CommandLine, EmptyOrBlankRemainderIsTheExtractionForm) {
  EXPECT_EQ(ParseCommandLine("a.exe").form, Form::kExtraction);
  EXPECT_EQ(ParseCommandLine("\"C:\\My Files\\a.exe\"").form, Form::kExtraction);
  EXPECT_EQ(ParseCommandLine("a.exe   \t ").form, Form::kExtraction);
  EXPECT_EQ(ParseCommandLine("\"C:\\x y\\a.exe\"  \x01").form, Form::kExtraction);
}

TEST(CommandLine, CheckFormNeedsASlashAsFourthCharacter) {
  shell::CommandLine line = ParseCommandLine("d.exe \":::/C:\\My Files\\a.exe\"");
  EXPECT_EQ(line.form, Form::kCheck);
  EXPECT_STREQ(line.path, "C:\\My Files\\a.exe");

  line = ParseCommandLine("d.exe :::/");
  EXPECT_EQ(line.form, Form::kCheck);
  EXPECT_STREQ(line.path, "");
}

TEST(CommandLine, DialogFormTakesTheTextAfterTheColons) {
  shell::CommandLine line = ParseCommandLine("\"C:\\Temp\\DEC1.exe\" \":::C:\\My Files\\a.exe\"");
  EXPECT_EQ(line.form, Form::kDialog);
  EXPECT_STREQ(line.path, "C:\\My Files\\a.exe");

  line = ParseCommandLine("d.exe :::C:/dir/a.exe");  // slashes further on
  EXPECT_EQ(line.form, Form::kDialog);
  EXPECT_STREQ(line.path, "C:/dir/a.exe");

  line = ParseCommandLine("d.exe :::");
  EXPECT_EQ(line.form, Form::kDialog);
  EXPECT_STREQ(line.path, "");
}

TEST(CommandLine, CleanupFormHasAHandleAndAPath) {
  shell::CommandLine line = ParseCommandLine("\"C:\\Temp\\Del2.exe\" 124 \":::C:\\Temp\\DEC1.exe\"");
  EXPECT_EQ(line.form, Form::kCleanup);
  EXPECT_STREQ(line.handle_text, "124");
  EXPECT_STREQ(line.path, "C:\\Temp\\DEC1.exe");
}

TEST(CommandLine, AnythingElseIsUnrecognised) {
  EXPECT_EQ(ParseCommandLine("d.exe :::C:\\My Files\\a.exe").form, Form::kUnrecognised);  // unquoted blank
  EXPECT_EQ(ParseCommandLine("d.exe a.exe").form, Form::kUnrecognised);
  EXPECT_EQ(ParseCommandLine("d.exe ::a").form, Form::kUnrecognised);
  EXPECT_EQ(ParseCommandLine("d.exe 1 2").form, Form::kUnrecognised);
  EXPECT_EQ(ParseCommandLine("d.exe 1 :::a b").form, Form::kUnrecognised);  // four arguments
  EXPECT_EQ(ParseCommandLine("d.exe :::a 1").form, Form::kUnrecognised);

  // A path longer than the path buffer is refused, never cut.
  std::string line = "d.exe :::" + std::string(259, 'p');
  EXPECT_EQ(ParseCommandLine(line.c_str()).form, Form::kDialog);
  line += "p";
  EXPECT_EQ(ParseCommandLine(line.c_str()).form, Form::kUnrecognised);
  line = "d.exe 4 :::" + std::string(5000, 'p');
  EXPECT_EQ(ParseCommandLine(line.c_str()).form, Form::kUnrecognised);
}

TEST(CommandLine, SplitsByTheWindowsQuotingRules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitArguments("p \"a b\" c\td"), (V{"p", "a b", "c", "d"}));
  EXPECT_EQ(SplitArguments("p a\\\\\\\"b"), (V{"p", "a\\\"b"}));  // 3 backslashes + quote
  EXPECT_EQ(SplitArguments("p \"a\\\\\" b"), (V{"p", "a\\", "b"}));  // 2 backslashes + quote
  EXPECT_EQ(SplitArguments("p a\\b\\"), (V{"p", "a\\b\\"}));
  EXPECT_EQ(SplitArguments("p x\"y z\"w"), (V{"p", "xy zw"}));
  EXPECT_EQ(SplitArguments("\"C:\\a b\\p.exe\" \"\""), (V{"C:\\a b\\p.exe", ""}));
}

TEST(CommandLine, HandleNumbersConvertLikeTheCLibrary) {
  EXPECT_EQ(shell::ParseHandleNumber("124"), 124);
  EXPECT_EQ(shell::ParseHandleNumber("  -7x"), -7);
  EXPECT_EQ(shell::ParseHandleNumber("+12"), 12);
  EXPECT_EQ(shell::ParseHandleNumber("abc"), 0);
  EXPECT_EQ(shell::ParseHandleNumber(""), 0);
  EXPECT_EQ(shell::ParseHandleNumber("99999999999"), 0x7FFFFFFF);
}

}  // namespace
