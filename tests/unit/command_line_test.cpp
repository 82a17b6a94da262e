// The decoder's command line: its forms by their arguments, the argument
// splitting and the handle number.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

using shell::Form;

TEST(CommandLine, FormsAreToldByTheirArgumentsAndEverythingElseIsUnrecognised) {
  const std::string longest = std::string(259, 'p');  // the path buffer's capacity less its NUL
  const struct {
    std::string line;
    Form form;
    std::string path = "", handle = "";
  } cases[] = {
      // The program alone, however quoted and followed by blanks.
      {"a.exe", Form::kExtraction},
      {"\"C:\\My Files\\a.exe\"", Form::kExtraction},
      {"a.exe   \t ", Form::kExtraction},
      {"\"C:\\x y\\a.exe\"  \x01", Form::kExtraction},
      // ::: with a slash as the fourth character checks; without, opens the dialog.
      {"d.exe \":::/C:\\My Files\\a.exe\"", Form::kCheck, "C:\\My Files\\a.exe"},
      {"d.exe :::/", Form::kCheck, ""},
      {"\"C:\\Temp\\DEC1.exe\" \":::C:\\My Files\\a.exe\"", Form::kDialog, "C:\\My Files\\a.exe"},
      {"d.exe :::C:/dir/a.exe", Form::kDialog, "C:/dir/a.exe"},  // slashes further on
      {"d.exe :::", Form::kDialog, ""},
      {"d.exe :::" + longest, Form::kDialog, longest},
      {"\"C:\\Temp\\Del2.exe\" 124 \":::C:\\Temp\\DEC1.exe\"", Form::kCleanup, "C:\\Temp\\DEC1.exe", "124"},
      {"d.exe :::C:\\My Files\\a.exe", Form::kUnrecognised},  // an unquoted blank
      {"d.exe a.exe", Form::kUnrecognised},
      {"d.exe ::a", Form::kUnrecognised},
      {"d.exe 1 2", Form::kUnrecognised},
      {"d.exe 1 :::a b", Form::kUnrecognised},  // four arguments
      {"d.exe :::a 1", Form::kUnrecognised},
      // A path longer than the path buffer is refused, never cut.
      {"d.exe :::" + longest + "p", Form::kUnrecognised},
      {"d.exe 4 :::" + std::string(5000, 'p'), Form::kUnrecognised},
  };
  for (const auto& c : cases) {
    const shell::CommandLine line = shell::ParseCommandLine(c.line.c_str());
    EXPECT_EQ(line.form, c.form) << c.line;
    if (c.form != Form::kUnrecognised && c.form != Form::kExtraction) {
      EXPECT_EQ(line.path, c.path) << c.line;
      EXPECT_EQ(line.handle_text, c.handle) << c.line;
    }
  }
}

TEST(CommandLine, SplitsByTheWindowsQuotingRules) {
  auto split = [](const char* line) {
    std::vector<std::string> args;
    shell::ArgumentReader reader(line);
    char buffer[300];
    size_t length = 0;
    while (reader.Next(buffer, sizeof buffer, &length)) {
      EXPECT_EQ(strlen(buffer), length);
      args.push_back(buffer);
    }
    return args;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(split("p \"a b\" c\td"), (V{"p", "a b", "c", "d"}));
  EXPECT_EQ(split("p a\\\\\\\"b"), (V{"p", "a\\\"b"}));    // 3 backslashes + quote
  EXPECT_EQ(split("p \"a\\\\\" b"), (V{"p", "a\\", "b"}));  // 2 backslashes + quote
  EXPECT_EQ(split("p a\\b\\"), (V{"p", "a\\b\\"}));
  EXPECT_EQ(split("p x\"y z\"w"), (V{"p", "xy zw"}));
  EXPECT_EQ(split("\"C:\\a b\\p.exe\" \"\""), (V{"C:\\a b\\p.exe", ""}));
}

// In Shift-JIS ソ is 83 5C: before a closing quote its second byte is no
// backslash that escapes the quote, as it is byte by byte.
TEST(CommandLine, ADoubleByteCharacterEndingInTheBackslashByteEscapesNoQuote) {
  const std::string line = "d.exe \":::C:\\\x83\x5C\"";
  const shell::CommandLine shift_jis = shell::ParseCommandLine(line.c_str(), base::LeadBytes::OfCodePage(932));
  EXPECT_EQ(shift_jis.form, Form::kDialog);
  EXPECT_STREQ(shift_jis.path, "C:\\\x83\x5C");
  const shell::CommandLine bytes = shell::ParseCommandLine(line.c_str(), base::LeadBytes::OfCodePage(1252));
  EXPECT_STREQ(bytes.path, "C:\\\x83\"") << "byte by byte the quote is escaped and kept";
}

TEST(CommandLine, HandleNumbersConvertLikeTheCLibrary) {
  for (const auto& [text, number] : std::vector<std::pair<const char*, long>>{
           {"124", 124}, {"  -7x", -7}, {"+12", 12}, {"abc", 0}, {"", 0}, {"99999999999", 0x7FFFFFFF}}) {
    EXPECT_EQ(shell::ParseHandleNumber(text), number) << text;
  }
}

}  // namespace
