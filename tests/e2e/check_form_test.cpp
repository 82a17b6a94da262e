// The check form, run as the user's system would: a copy of decoder.exe
// given ":::/" and an archive path, answered through its message box; and
// the dialog form (":::") refusing an archive before its dialog shows.
#include "decoder_session.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

encoder::ArchiveWriter TwoEntries(uint32_t first_version = archive::kSupportedVersion) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader({.version = first_version, .caption = "First entry"});
  writer.AddDataBlock(test_support::RandomBytes(5000, 1));
  writer.AddDataBlock(test_support::RandomBytes(777, 2));
  writer.AddEntryHeader({.caption = "Second entry"});
  writer.AddDataBlock(test_support::RandomBytes(300, 3));
  return writer;
}

class CheckForm : public e2e::DecoderSession {
 protected:
  // Runs the form on the path, answers its message box and expects the
  // program to end with exit code 0.
  e2e::MessageBoxContent Answer(const std::string& form, const std::string& path) {
    StartDecoder(Quoted(form + path));
    e2e::MessageBoxContent box = NextMessage();
    Dismiss(box);
    ExpectExitZero();
    return box;
  }
};

// How each fault is found is the check walk's business; here, how its
// verdicts reach the user. Files that are no archive are refused under
// their own path, other versions by the dialog under its fixed title.
TEST_F(CheckForm, EachVerdictInItsMessageBox) {
  struct Case {
    std::string form, path;
    Bytes archive;  // written to the path unless empty
    std::string title;
    TextId text;
    bool path_first = true;
  };
  const encoder::ArchiveWriter good = TwoEntries();
  Bytes cooked = good.bytes();
  cooked[good.stub_size() + 256 + 40] ^= 0x01;  // in the first block's stored checksum
  const std::string plain = folder_.File("plain.txt"), missing = folder_.File("missing.exe");
  const Case cases[] = {
      {":::/", archive_, good.bytes(), "Second entry", TextId::kCheckNoProblem},
      {":::/", archive_, cooked, "First entry", TextId::kCheckCooked},
      {":::/", archive_, TwoEntries(300).bytes(), "First entry", TextId::kNewerVersion},
      {":::/", plain, {'j', 'u', 's', 't'}, plain, TextId::kNotArchive, false},
      {":::", archive_, TwoEntries(300).bytes(), "Kelvarin", TextId::kNewerVersion, false},
      {":::", archive_, TwoEntries(302).bytes(), "Kelvarin", TextId::kNewerVersion, false},
      {":::", missing, {}, missing, TextId::kNotArchive, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    if (!c.archive.empty()) {
      ASSERT_TRUE(e2e::WriteBytes(c.path, c.archive)) << i;
    }
    const e2e::MessageBoxContent box = Answer(c.form, c.path);
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
