// The check form, run as the user's system would: a copy of decoder.exe
// given ":::/" and an archive path, answered through its message box.
#include "decoder_session.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

encoder::ArchiveWriter TwoEntries(uint32_t second_version = 301) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader({.caption = "First entry"});
  writer.AddDataBlock(encoder::RandomBytes(5000, 1));
  writer.AddDataBlock(encoder::RandomBytes(777, 2));
  writer.AddEntryHeader({.version = second_version, .caption = "Second entry"});
  writer.AddDataBlock(encoder::RandomBytes(300, 3));
  return writer;
}

class CheckForm : public e2e::DecoderSession {
 protected:
  // Runs the check form on the path, answers its message box and expects
  // the program to end with exit code 0.
  e2e::MessageBoxContent Check(const std::string& path) {
    StartDecoder(Quoted(":::/" + path));
    e2e::MessageBoxContent box = NextMessage();
    Dismiss(box);
    ExpectExitZero();
    return box;
  }
};

// Files that are no archive are refused under their own path.
TEST_F(CheckForm, EachVerdictInItsMessageBox) {
  struct Case {
    std::string path;
    Bytes archive;  // written to the path unless empty
    std::string title;
    TextId text;
    bool path_first = true;
  };
  Bytes trailing = TwoEntries().bytes();
  trailing.insert(trailing.end(), 25, 0x20);
  encoder::ArchiveWriter header_at_end = TwoEntries();
  header_at_end.AddEntryHeader({.caption = "Empty"});
  const encoder::ArchiveWriter good = TwoEntries();
  Bytes cooked = good.bytes();
  cooked[good.stub_size() + 256 + 40] ^= 0x01;  // in the first block's stored checksum
  const std::string plain = folder_.File("plain.txt"), missing = folder_.File("missing.exe");
  const Case cases[] = {
      {archive_, good.bytes(), "Second entry", TextId::kCheckNoProblem},
      {archive_, trailing, "Second entry", TextId::kCheckHeaderShort, false},
      {archive_, header_at_end.bytes(), "Empty", TextId::kCheckBlockShort},
      {archive_, cooked, "First entry", TextId::kCheckCooked},
      {archive_, TwoEntries(300).bytes(), "Second entry", TextId::kNewerVersion},
      {archive_, TwoEntries(302).bytes(), "Second entry", TextId::kNewerVersion},
      {plain, {'j', 'u', 's', 't'}, plain, TextId::kNotArchive, false},
      {missing, {}, missing, TextId::kNotArchive, false},
      {"", {}, "", TextId::kNotArchive, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    if (!c.archive.empty()) {
      ASSERT_TRUE(e2e::WriteBytes(c.path, c.archive)) << i;
    }
    const e2e::MessageBoxContent box = Check(c.path);
    EXPECT_EQ(box.title, c.title) << "case " << i;
    EXPECT_EQ(box.text, (c.path_first ? c.path + "\n\n" : "") + Expected(c.text)) << "case " << i;
    EXPECT_EQ(box.has_icon, c.text != TextId::kCheckNoProblem) << "case " << i;
  }
}

TEST_F(CheckForm, UnrecognisedCommandLinesEndSilently) {
  WriteArchive(TwoEntries());
  for (const std::string& arguments :
       {":::/" + archive_,  // unquoted: the blank splits it into two arguments
        std::string("a b c d"), std::string("plain-argument")}) {
    StartDecoder(arguments);
    ExpectExitZero();
  }
}

}  // namespace
