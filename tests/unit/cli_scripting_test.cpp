// What scripts use: extract limited to named entries (with wildcards),
// one entry's bytes on standard output, list as JSON lines, --quiet, and
// no progress line on a stderr that is no terminal.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>

#include "cli/sinks/entry_selection.h"
#include "cli/sinks/list_sink.h"
#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::CliTool;
using encoder::Bytes;
using test_support::MakeEntry;
using Scripting = CliTool;

const std::string kPasswordFile = " --password-file password.txt";

TEST(EntryPatterns, MatchStoredNamesWithStarsAndQuestionMarks) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"a.txt", "a.txt", true},        {"a.txt", "b.txt", false},          {"*.txt", "\\d\\a.txt", true},
      {"\\d\\*", "\\d\\e\\f", true},   {"\\d\\?", "\\d\\ab", false},       {"?", "", false},
      {"*", "", true},                 {"a*b*c", "aXbYbZc", true},         {"a*b*c", "aXbYc!", false},
      {"*a", "bab", false},            {"**", "x", true},                  {"a.txt", "A.TXT", false},
      // `?` is one character, however many bytes it takes in UTF-8.
      {"?.txt", "\xe3\x82\xbd.txt", true},  // ソ.txt
      {"???.txt", "\xe6\x97\xa5.txt", false},  // 日.txt
      {"?.txt", "\xe6\x97\xa5\xe6\x9c\xac.txt", false},  // 日本.txt
      {"*\xe6\x9c\xac.txt", "\xe6\x97\xa5\xe6\x9c\xac.txt", true},
      {"??", "\xc3\xa9t", true},    // ét
  };
  for (const Case& c : cases) EXPECT_EQ(cli::MatchesPattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
  cli::EntrySelection selection;
  selection.Add("*.txt");
  selection.Add("none*");
  EXPECT_TRUE(selection.Selects("a.txt"));
  EXPECT_FALSE(selection.Selects("a.bin"));
  EXPECT_EQ(selection.Unused(), (std::vector<std::string>{"none*"}));
}

TEST(JsonNames, AreUtf8WithEscapesAndReplacementForOtherBytes) {
  EXPECT_EQ(cli::JsonString("\\d\\\"q\".txt"), "\"\\\\d\\\\\\\"q\\\".txt\"");
  EXPECT_EQ(cli::JsonString("\xe6\x97\xa5\x01"), "\"\xe6\x97\xa5\\u0001\"");
  EXPECT_EQ(cli::JsonString("\x82\xa0" "a\xe6\x97"), "\"\\ufffd\\ufffda\\ufffd\\ufffd\"") << "Shift-JIS, a cut sequence";
  EXPECT_EQ(cli::JsonString("\xc0\xaf\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd\"") << "overlong, surrogate";
  EXPECT_EQ(cli::UtcText(0, cli::ListFormat::kJson), "1601-01-01T00:00:00Z");
}

TEST_F(Scripting, ExtractWritesOnlyTheNamedEntries) {
  WriteArchive("a.exe", {MakeEntry("\\docs\\a.txt", {'a'}), MakeEntry("\\docs\\b.bin", {'b'}),
                         MakeEntry("c.txt", {'c'})});
  std::string printed;
  EXPECT_EQ(Run("extract a.exe --output out '\\docs\\*.txt' c.txt" + kPasswordFile, &printed), 0) << printed;
  EXPECT_EQ(Read("out/docs/a.txt"), Bytes{'a'});
  EXPECT_EQ(Read("out/c.txt"), Bytes{'c'});
  EXPECT_FALSE(fs::exists(dir_.File("out/docs/b.bin")));
  EXPECT_EQ(Run("extract a.exe --output other 'missing*' c.txt" + kPasswordFile, &printed), 1);
  EXPECT_NE(printed.find("a.exe: no entry matches missing*"), std::string::npos) << printed;
  EXPECT_EQ(Read("other/c.txt"), Bytes{'c'}) << "what matched is written all the same";
}

TEST_F(Scripting, StdoutCarriesTheEntrysBytesUnchanged) {
  const Bytes binary = {'a', '\r', '\n', 0, 0xff, '\n'};
  WriteArchive("a.exe", {MakeEntry("\\d\\one.bin", binary), MakeEntry("two.txt", {'2'})});
  std::string bytes, said;
  EXPECT_EQ(Run("extract --stdout a.exe '\\d\\one.bin'" + kPasswordFile, &bytes, &said), 0) << said;
  EXPECT_EQ(bytes, std::string(binary.begin(), binary.end()));
  EXPECT_EQ(said, "");
  EXPECT_FALSE(fs::exists(dir_.File("d"))) << "nothing written to disk";
  EXPECT_EQ(Run("extract a.exe --stdout" + kPasswordFile), 2) << "no NAME";
  EXPECT_EQ(Run("extract a.exe --stdout --output out two.txt" + kPasswordFile), 2);
}

TEST_F(Scripting, ListJsonGivesOneObjectPerEntry) {
  WriteArchive("a.exe", {MakeEntry("\\d\\a \"q\".txt", {'a', 'b'})});
  std::string printed;
  ASSERT_EQ(Run("list a.exe --json" + kPasswordFile, &printed), 0);
  const archive::FileRecord record = MakeEntry("x", {}).record;
  const std::string expected =
      "{\"name\":\"\\\\d\\\\a \\\"q\\\".txt\",\"size\":2,\"created\":\"" +
      cli::UtcText(record.creation_time, cli::ListFormat::kJson) + "\",\"accessed\":\"" +
      cli::UtcText(record.last_access_time, cli::ListFormat::kJson) + "\",\"written\":\"" +
      cli::UtcText(record.last_write_time, cli::ListFormat::kJson) + "\",\"attributes\":" +
      std::to_string(record.attributes) + "}\n";
  EXPECT_EQ(printed, expected);
}

// A progress line is for a person at a terminal: a script's stderr gets
// none, however big the archive.
TEST_F(Scripting, NoProgressLineWhereStderrIsNoTerminal) {
  Write("big.bin", test_support::RandomBytes(5 << 20, 1));
  std::string printed, said;
  ASSERT_EQ(Run("pack --stub stub.exe --output big.exe big.bin" + kPasswordFile, &printed, &said), 0) << said;
  ASSERT_GT(fs::file_size(dir_.File("big.exe")), 4u << 20) << "big enough to show progress on a terminal";
  EXPECT_EQ(said.find('\r'), std::string::npos) << said;
  ASSERT_EQ(Run("extract big.exe --output out" + kPasswordFile, &printed, &said), 0) << said;
  EXPECT_EQ(said.find('\r'), std::string::npos) << said;
}

TEST_F(Scripting, QuietLeavesOnlyProblems) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'a'})});
  Write("in.txt", {'i'});
  std::string printed;
  EXPECT_EQ(Run("extract a.exe --output out --quiet" + kPasswordFile, &printed), 0);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(Run("pack --stub stub.exe --output b.exe -q in.txt" + kPasswordFile, &printed), 0);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(Run("check --quiet a.exe", &printed), 0);
  EXPECT_EQ(Run("extract a.exe --output out --quiet" + kPasswordFile, &printed), 3);
  EXPECT_NE(printed.find("out/a.txt: exists"), std::string::npos) << printed;
}

}  // namespace
