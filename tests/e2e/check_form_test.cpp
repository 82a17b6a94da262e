// The check form, run as the user's system would: a copy of decoder.exe
// given ":::/" and an archive path, answered through its message box.
#include "decoder_session.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

encoder::EntryHeaderFields Header(const std::string& caption, uint32_t version = 301) {
  encoder::EntryHeaderFields fields;
  fields.caption = caption;
  fields.version = version;
  return fields;
}

encoder::ArchiveWriter TwoEntries(uint32_t second_version = 301) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader(Header("First entry"));
  writer.AddDataBlock(encoder::RandomBytes(5000, 1));
  writer.AddDataBlock(encoder::RandomBytes(777, 2));
  writer.AddEntryHeader(Header("Second entry", second_version));
  writer.AddDataBlock(encoder::RandomBytes(300, 3));
  return writer;
}

class CheckForm : public e2e::DecoderSession {
 protected:
  // Runs the check form on archive_, answers its message box and expects
  // the program to end with exit code 0.
  e2e::MessageBoxContent Check(const std::string& path) {
    StartDecoder(Quoted(":::/" + path));
    e2e::MessageBoxContent box = NextMessage();
    Dismiss(box);
    ExpectExitZero();
    return box;
  }
};

TEST_F(CheckForm, EachVerdictInItsMessageBox) {
  struct Case {
    const char* what;
    Bytes archive;
    std::string title;
    TextId text;
    bool path_first;
  };
  Bytes trailing = TwoEntries().bytes();
  trailing.insert(trailing.end(), 25, 0x20);
  encoder::ArchiveWriter header_at_end = TwoEntries();
  header_at_end.AddEntryHeader(Header("Empty"));
  const encoder::ArchiveWriter good = TwoEntries();
  Bytes cooked = good.bytes();
  cooked[good.stub_size() + 256 + 40] ^= 0x01;  // in the first block's stored checksum
  const Case cases[] = {
      {"good", good.bytes(), "Second entry", TextId::kCheckNoProblem, true},
      {"trailing bytes", trailing, "Second entry", TextId::kCheckHeaderShort, false},
      {"header at the end", header_at_end.bytes(), "Empty", TextId::kCheckBlockShort, true},
      {"changed byte", cooked, "First entry", TextId::kCheckCooked, true},
      {"version 300", TwoEntries(300).bytes(), "Second entry", TextId::kNewerVersion, true},
      {"version 302", TwoEntries(302).bytes(), "Second entry", TextId::kNewerVersion, true},
  };
  for (const Case& c : cases) {
    WriteArchive(c.archive);
    const e2e::MessageBoxContent box = Check(archive_);
    EXPECT_EQ(box.title, c.title) << c.what;
    EXPECT_EQ(box.text, (c.path_first ? archive_ + "\n\n" : "") + Expected(c.text)) << c.what;
    EXPECT_EQ(box.has_icon, c.text != TextId::kCheckNoProblem) << c.what;
  }
}

TEST_F(CheckForm, NoArchiveIsRefusedUnderItsPath) {
  const std::string plain = folder_.File("plain.txt");
  WriteArchive(Bytes{'j', 'u', 's', 't'});
  ASSERT_TRUE(MoveFileA(archive_.c_str(), plain.c_str()));
  for (const std::string& path : {plain, folder_.File("missing.exe"), std::string()}) {
    const e2e::MessageBoxContent box = Check(path);
    EXPECT_EQ(box.title, path);
    EXPECT_EQ(box.text, Expected(TextId::kNotArchive));
    EXPECT_TRUE(box.has_icon);
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
