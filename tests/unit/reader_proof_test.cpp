// How the readers away from the program open an archive: the forms a
// typed password may have, the one that opens every entry, the code page
// of the names, and near-miss passwords caught before anything is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/check_block.h"
#include "decode/archive_reading.h"
#include "decode/look_ahead.h"
#include "test_support.h"
#include "tests/support/entries.h"

namespace {

using decode::ArchiveReading;
using encoder::Bytes;
using test_support::ToShiftJis;

std::vector<std::pair<uint32_t, std::string>> Forms(const std::string& password, uint32_t code_page = 0) {
  std::vector<std::pair<uint32_t, std::string>> forms;
  for (const decode::PasswordForm& form : decode::PasswordForms(password, code_page)) {
    forms.emplace_back(form.code_page, form.bytes);
  }
  return forms;
}

TEST(PasswordForms, EachCodePageThatCanWriteThePasswordOnceInTheCoresOrder) {
  using F = std::vector<std::pair<uint32_t, std::string>>;
  EXPECT_EQ(Forms("plain1"), (F{{932, "plain1"}})) << "ASCII reads alike everywhere";
  EXPECT_EQ(Forms("\xe3\x81\xb2\xe3\x81\xbf\xe3\x81\xa4"),  // ひみつ
            (F{{932, "\x82\xd0\x82\xdd\x82\xc2"}, {65001, "\xe3\x81\xb2\xe3\x81\xbf\xe3\x81\xa4"}}));
  EXPECT_EQ(Forms("caf\xc3\xa9"), (F{{1252, "caf\xe9"}, {65001, "caf\xc3\xa9"}}));
  EXPECT_EQ(Forms("\xc3\x97"), (F{{932, "\x81\x7e"}, {1252, "\xd7"}, {65001, "\xc3\x97"}}));  // ×
  EXPECT_EQ(Forms("bad\xff"), (F{{932, "bad\xff"}})) << "no UTF-8: taken as the bytes it is";
  EXPECT_EQ(Forms("caf\xc3\xa9", 1252), (F{{1252, "caf\xe9"}}));
  EXPECT_TRUE(Forms("\xe3\x81\xb2", 1252).empty()) << "CP1252 cannot write ひ";
}

class ReadArchive : public ::testing::Test {
 protected:
  archive::SharedState Write(const std::vector<encoder::Entry>& entries, const std::string& password,
                             const encoder::EntryOptions& options = {}) {
    const Bytes bytes = test_support::ArchiveOf(test_support::SampleStub(), entries, password, options).bytes();
    return test_support::ArchiveState(dir_, bytes);
  }
  test_support::TempDir dir_;
};

// The password typed here is UTF-8; the archive holds the bytes of the
// code page it was made in. The form that opens it tells that code page
// where the names cannot.
TEST_F(ReadArchive, TheFormThatOpensTheArchiveKeysItAndTellsTheCodePageOfASCIINames) {
  const std::string utf8 = "caf\xc3\xa9 \xc3\x97";  // café ×
  for (const auto& [code_page, bytes] : Forms(utf8)) {
    const archive::SharedState state = Write({test_support::MakeEntry("\\plain.txt", {'x'})}, bytes);
    const ArchiveReading reading = decode::ReadArchive(state, utf8, 0);
    EXPECT_EQ(reading.verdict, ArchiveReading::Verdict::kOpens) << code_page;
    EXPECT_EQ(reading.password, bytes);
    EXPECT_EQ(reading.code_page, code_page);
    EXPECT_FALSE(reading.chosen_by_names);
  }
  const archive::SharedState ascii = Write({test_support::MakeEntry("\\plain.txt", {'x'})}, "plain1");
  EXPECT_EQ(decode::ReadArchive(ascii, "plain1", 0).code_page, 1252u) << "nothing tells: Western";
}

TEST_F(ReadArchive, NamesThatNeedAChoiceMakeIt) {
  const archive::SharedState state =
      Write({test_support::MakeEntry("\\" + ToShiftJis("予定表.txt"), {'x'}), test_support::MakeEntry("b.txt", {'y'})},
            "plain1");
  const ArchiveReading reading = decode::ReadArchive(state, "plain1", 0);
  EXPECT_EQ(reading.code_page, 932u);
  EXPECT_TRUE(reading.chosen_by_names);
  EXPECT_EQ(decode::ReadArchive(state, "plain1", 1252).code_page, 1252u) << "a code page named is kept";
}

// Each one-character typo of the password (a character changed, dropped,
// added, or two swapped) is a wrong password, whichever entry tells: the
// compressed one behind stored ones. (Where every entry is stored, a typo
// whose changes miss the sizes can pass; bench/password_typos.py counts.)
TEST_F(ReadArchive, NearMissPasswordsAreWrongPasswords) {
  const std::string password = "secret1";
  const archive::SharedState state =
      Write({test_support::MakeEntry("small.txt", {'s', 'm', 'a', 'l', 'l'}),
             test_support::MakeEntry("\\rand.bin", test_support::RandomBytes(50000, 1)),
             test_support::MakeEntry("\\text.txt", test_support::TextLikeBytes(30000, 2))},
            password, {4096});
  ASSERT_EQ(decode::ReadArchive(state, password, 0).verdict, ArchiveReading::Verdict::kOpens);
  std::vector<std::string> typos;
  for (size_t i = 0; i < password.size(); ++i) {
    for (char c : {'!', 'a', 'E', '2', 'z'}) {
      std::string changed = password;
      changed[i] = c;
      if (changed != password) typos.push_back(changed);
    }
    typos.push_back(password.substr(0, i) + password.substr(i + 1));
    typos.push_back(password.substr(0, i) + "x" + password.substr(i));
    if (i + 1 < password.size()) typos.push_back(password.substr(0, i) + password[i + 1] + password[i] + password.substr(i + 2));
  }
  for (const std::string& typo : typos) {
    if (typo == password) continue;
    EXPECT_EQ(decode::ReadArchive(state, typo, 0).verdict, ArchiveReading::Verdict::kWrongPassword) << typo;
    EXPECT_FALSE(decode::LookOver(state, typo).password_right) << typo;
  }
}

// The look begins where the archive's entries do: an entry that the stub
// carries among its bytes, off the 256-byte grid, is none of the archive's.
TEST_F(ReadArchive, TheLookBeginsAtTheFirstEntryNotInTheStub) {
  const encoder::ArchiveWriter inner = test_support::ArchiveOf(
      test_support::SampleStub(), {test_support::MakeEntry("\\inner.txt", {'i'})}, "plain1");
  const size_t inner_entry = inner.stub_size() + archive::kCheckBlockSize;
  Bytes stub = test_support::SampleStub();
  stub.insert(stub.begin() + 100, inner.bytes().begin() + static_cast<ptrdiff_t>(inner_entry), inner.bytes().end());
  const archive::SharedState state = test_support::ArchiveState(
      dir_, test_support::ArchiveOf(stub, {test_support::MakeEntry("\\outer.txt", {'o'})}, "plain1").bytes());
  EXPECT_EQ(decode::LookOver(state, "plain1").names, std::vector<std::string>{"\\outer.txt"});
}

// Damage before any record leaves the verdict to the run, which names it.
TEST_F(ReadArchive, DamageBeforeTheFirstRecordIsNoWrongPassword) {
  const encoder::ArchiveWriter writer = test_support::ArchiveOf(
      test_support::SampleStub(), {test_support::MakeEntry("\\a.txt", {'x', 'y'}, "c")}, "plain1");
  Bytes bytes = writer.bytes();
  const size_t block_data = writer.stub_size() + 256 + 26 + 2 + 20;  // the header's caption is "c" and its NUL
  bytes[block_data + 16] ^= 0x40;  // in the block's second row
  const archive::SharedState state = test_support::ArchiveState(dir_, bytes);
  const decode::LookAhead look = decode::LookOver(state, "plain1");
  EXPECT_TRUE(look.password_right);
  EXPECT_EQ(look.entries, 0);
  EXPECT_EQ(decode::ReadArchive(state, "plain1", 0).verdict, ArchiveReading::Verdict::kOpens);
}

}  // namespace
