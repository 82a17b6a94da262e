// How list and extract read archives whatever they hold, grouped by the
// faults they once had: a near-miss password that left a garbage file,
// one bad entry that hid every entry after it, damage told twice, `--`,
// and limits on length that were Windows' own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::CliTool;
using encoder::Bytes;
using test_support::MakeEntry;
using CliReading = CliTool;

const std::string kPasswordFile = " --password-file password.txt";

// A typo of the password is named so, and no file is written. (Where the
// look-ahead cannot tell, the run that follows makes the output folder
// before it fails, and says that a wrong password explains the failure.)
TEST_F(CliReading, APasswordOneCharacterOffWritesNothing) {
  WriteArchive("wp.exe", {MakeEntry("\\rand.bin", test_support::RandomBytes(48845, 1)),
                          MakeEntry("\\text.txt", test_support::TextLikeBytes(20000, 2))},
               {4096});
  for (const char* typo : {"pw-1235", "pw-1j34", "pw1234", "pw-12345", "wp-1234"}) {
    std::string said;
    EXPECT_EQ(Run(std::string("extract wp.exe --output out --password ") + typo, nullptr, &said), 1) << typo;
    EXPECT_NE(said.find("Wrong password"), std::string::npos) << typo << ": " << said;
    EXPECT_EQ(said.find("skipped"), std::string::npos) << typo << ": " << said;
    EXPECT_TRUE(!fs::exists(dir_.File("out")) || fs::is_empty(dir_.File("out"))) << typo;
  }
}

class BadEntryAmongGood : public CliTool {
 protected:
  void SetUp() override {
    CliTool::SetUp();
    WriteArchive("evil.exe", {MakeEntry("\\good1.txt", {'1'}), MakeEntry("\\..\\evil.txt", {'e'}),
                              MakeEntry("\\good2.txt", {'2'})});
  }
};

TEST_F(BadEntryAmongGood, ListShowsEveryEntryAndSaysWhichExtractLeavesOut) {
  std::string printed, said;
  EXPECT_EQ(Run("list evil.exe" + kPasswordFile, &printed, &said), 1);
  for (const char* name : {"\\good1.txt", "\\..\\evil.txt", "\\good2.txt"}) {
    EXPECT_NE(printed.find(name), std::string::npos) << name << "\n" << printed;
  }
  EXPECT_NE(said.find("(entry \\..\\evil.txt): the stored name is unsafe"), std::string::npos) << said;
  EXPECT_NE(said.find("extract leaves it out"), std::string::npos) << said;
  ASSERT_EQ(Run("list --json evil.exe" + kPasswordFile, &printed, &said), 1);
  EXPECT_NE(printed.find("\"name\":\"\\\\..\\\\evil.txt\",\"size\":1"), std::string::npos) << printed;
  EXPECT_NE(printed.find("\"left_out\":\"unsafe name\"}"), std::string::npos) << printed;
}

TEST_F(BadEntryAmongGood, ExtractWritesTheOthers) {
  std::string said;
  EXPECT_EQ(Run("extract evil.exe --output out" + kPasswordFile, nullptr, &said), 1);
  EXPECT_EQ(Read("out/good1.txt"), Bytes{'1'});
  EXPECT_EQ(Read("out/good2.txt"), Bytes{'2'});
  EXPECT_FALSE(fs::exists(dir_.File("evil.txt")));
  EXPECT_NE(said.find("left out"), std::string::npos) << said;
}

TEST_F(BadEntryAmongGood, ANameAfterTheBadEntryIsFound) {
  std::string said;
  EXPECT_EQ(Run("extract evil.exe --output out" + kPasswordFile + " '\\good2.txt'", nullptr, &said), 0) << said;
  EXPECT_EQ(Read("out/good2.txt"), Bytes{'2'});
  EXPECT_FALSE(fs::exists(dir_.File("out/good1.txt")));
  EXPECT_EQ(said.find("no entry matches"), std::string::npos) << said;
}

// Damage behind an entry's record is told once, with what the decoder met
// only where that adds to it: a cut archive could not be read, a changed
// block is cooked.
TEST_F(CliReading, DamageBehindTheRecordIsToldOnce) {
  const Bytes archive =
      WriteArchive("whole.exe", {MakeEntry("\\big.bin", test_support::RandomBytes(20000, 3))}, {4000});
  Write("cut.exe", Bytes(archive.begin(), archive.end() - 100));
  Bytes cooked = archive;
  cooked[cooked.size() - 100] ^= 1;
  Write("cooked.exe", cooked);
  const std::pair<const char*, std::string> said_of[] = {
      {"cut", "Wrong password, or the archive is damaged: Could not read file"},
      {"cooked", "Anyone cooked this file."}};
  for (const auto& [name, text] : said_of) {
    std::string said;
    EXPECT_EQ(Run("list " + std::string(name) + ".exe" + kPasswordFile, nullptr, &said), 1) << name;
    EXPECT_EQ(said, "kelvarin: " + std::string(name) + ".exe (entry \\big.bin): " + text + "\n") << name;
  }
}

// After `--` every argument is a name, also one that looks like an option.
TEST_F(CliReading, DoubleDashEndsTheOptions) {
  WriteArchive("dash.exe", {MakeEntry("-rf", {'r'}), MakeEntry("-q", {'q'})});
  std::string printed;
  EXPECT_EQ(Run("extract dash.exe --output out" + kPasswordFile + " -- -rf", &printed), 0) << printed;
  EXPECT_EQ(Read("out/-rf"), Bytes{'r'});
  EXPECT_FALSE(fs::exists(dir_.File("out/-q")));
  EXPECT_EQ(Run("extract --stdout" + kPasswordFile + " -- dash.exe -q", &printed), 0);
  EXPECT_EQ(printed, "q");
  EXPECT_EQ(Run("extract dash.exe --output out" + kPasswordFile + " -rf", &printed), 2) << "an option without --";
}

// On Linux the limits are the system's: 255 bytes a name, PATH_MAX a
// path. Names of 60 kanji (180 bytes in UTF-8) in a folder of 60 more, in
// an output folder whose path is longer than Windows' 259 characters.
TEST_F(CliReading, LongNamesAndFoldersNeedOnlyTheSystemsLimits) {
  std::string sixty_sjis, sixty_utf8;
  for (int i = 0; i < 60; ++i) sixty_sjis += "\x8A\xBF", sixty_utf8 += "漢";  // 漢
  std::string ninety_sjis;
  for (int i = 0; i < 90; ++i) ninety_sjis += "\x8A\xBF";
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(512),
                                      {MakeEntry("\\" + sixty_sjis + "\\" + sixty_sjis + ".txt", {'k'}),
                                       MakeEntry("\\" + ninety_sjis + ".txt", {'n'})},
                                      test_support::kPassword)
                  .WriteTo(dir_.File("long.exe")));
  const std::string deep = "out/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(40, 'f');
  std::string printed, said;
  EXPECT_EQ(Run("list long.exe --encoding CP932" + kPasswordFile, &printed, &said), 1);
  EXPECT_NE(printed.find(sixty_utf8 + ".txt"), std::string::npos) << printed;
  EXPECT_NE(said.find("longer than this system's names"), std::string::npos) << "90 kanji are 270 bytes: " << said;
  EXPECT_EQ(Run("extract long.exe --encoding CP932 --output " + deep + kPasswordFile, nullptr, &said), 1);
  EXPECT_EQ(Read(deep + "/" + sixty_utf8 + "/" + sixty_utf8 + ".txt"), Bytes{'k'}) << said;
}

}  // namespace

namespace {

// What pack writes, extract reads back: Western names stored in CP1252
// that are valid Shift-JIS too, half-width katakana in CP932, and UTF-8.
TEST_F(CliReading, AutoReadsBackWhatPackStored) {
  for (const auto& [name, encoding] : std::vector<std::pair<std::string, std::string>>{
           {"façade.txt", ""}, {"Größe.txt", ""}, {"Crème brûlée.txt", ""}, {"Señor García.xls", ""},
           {"ｶﾀｶﾅ.txt", " --encoding CP932"}, {"ﾃｽﾄ ﾃﾞｰﾀ.dat", " --encoding CP932"}, {"日本.txt", " --encoding UTF-8"}}) {
    fs::remove_all(dir_.File("in"));
    fs::remove_all(dir_.File("out"));
    Write("in/" + name, {'x'});
    std::string said;
    ASSERT_EQ(Run("pack --stub stub.exe --output n.exe --overwrite" + kPasswordFile + encoding + " --relative in",
                  nullptr, &said),
              0)
        << name << ": " << said;
    ASSERT_EQ(Run("extract n.exe --output out" + kPasswordFile, nullptr, &said), 0) << name << ": " << said;
    EXPECT_EQ(Read("out/in/" + name), Bytes{'x'}) << name << ": " << said;
  }
}

}  // namespace
