// `kelvarin check` prints the program's verdict as the program words it:
// the archive's path, a blank line and the message, with the message's
// own line breaks. Only the path is escaped, as every name the tool shows.
#include <gtest/gtest.h>
#include <string>

#include "cli_tool_fixture.h"

namespace {

using test_support::CliTool;
using encoder::Bytes;
using test_support::MakeEntry;
using CheckOutput = CliTool;

// The entry header follows the 512-byte stub and the 256-byte check block;
// its first data block follows the header ("Test archive" as caption).
constexpr size_t kFirstStoredByte = 512 + 256 + 26 + 13 + 20;

struct Outcome {
  int status;
  std::string out, err;
};

TEST_F(CheckOutput, IsTheVerdictWithItsOwnLineBreaksAndOnlyTheNameEscaped) {
  Bytes good = WriteArchive("good.exe", {MakeEntry("a.txt", test_support::RandomBytes(3000, 1))});
  Bytes damaged = good;
  damaged[kFirstStoredByte] ^= 0x01;
  Write("damaged.exe", damaged);
  Write("esc\x1b[2J.exe", good);
  encoder::Entry newer = MakeEntry("a.txt", {'a'});
  newer.header.version = archive::kSupportedVersion + 1;
  WriteArchive("newer.exe", {newer});
  Write("text.txt", {'n', 'o'});

  const std::pair<std::string, Outcome> cases[] = {
      {"good.exe", {0, "good.exe\n\nNo problem at fle.\n", ""}},
      {"damaged.exe", {1, "damaged.exe\n\nAnyone cooked this file.\n", ""}},
      {"newer.exe",
       {1, "newer.exe\n\nThis file made by newer encoder.\nGet newer decode program please.\n", ""}},
      {"'esc\x1b[2J.exe'", {0, "esc\\x1b[2J.exe\n\nNo problem at fle.\n", ""}},
      {"text.txt", {1, "", "kelvarin: text.txt: This is not Kelvarin file.\n"}},
  };
  for (const auto& [archive, expected] : cases) {
    Outcome seen;
    seen.status = Run("check " + archive, &seen.out, &seen.err);
    EXPECT_EQ(seen.status, expected.status) << archive;
    EXPECT_EQ(seen.out, expected.out) << archive;
    EXPECT_EQ(seen.err, expected.err) << archive;
  }
}

}  // namespace
