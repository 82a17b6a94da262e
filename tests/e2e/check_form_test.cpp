// The check form, run as the user's system would: a copy of decoder.exe
// given ":::/" and an archive path, answered through its message box.
#include <gtest/gtest.h>

#include "cleanup_support.h"
#include "e2e_support.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

Bytes Pattern(size_t length, unsigned seed) {
  Bytes out(length);
  for (size_t i = 0; i < length; ++i) out[i] = static_cast<unsigned char>((i * 31 + seed * 17) ^ (i >> 3));
  return out;
}

encoder::EntryHeaderFields Header(const std::string& caption, uint32_t version = 301) {
  encoder::EntryHeaderFields fields;
  fields.caption = caption;
  fields.version = version;
  return fields;
}

encoder::ArchiveWriter GoodArchive() {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader(Header("First entry"));
  writer.AddDataBlock(Pattern(5000, 1));
  writer.AddDataBlock(Pattern(777, 2));
  writer.AddEntryHeader(Header("Second entry"));
  writer.AddDataBlock(Pattern(300, 3));
  return writer;
}

class CheckForm : public e2e::ProgramTest {
 protected:
  // Runs the check form with the argument text, answers the message box
  // and expects the process to end with exit code 0.
  e2e::MessageBoxContent Run(const std::string& arguments) {
    e2e::Process process(Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + arguments, folder_.path());
    e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
    if (box.window) e2e::ClickButton(box.window, IDOK);
    DWORD exit_code = 1;
    EXPECT_TRUE(process.WaitForExit(20000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    return box;
  }
  e2e::MessageBoxContent RunOn(const encoder::ArchiveWriter& writer) {
    EXPECT_TRUE(writer.WriteTo(archive_));
    return Run(Quoted(":::/" + archive_));
  }
  std::string WithPath(TextId id) { return archive_ + "\n\n" + Expected(id); }

  e2e::TempFolder folder_;
  std::string archive_ = folder_.File("my archive.exe");
};

TEST_F(CheckForm, GoodArchiveReportsNoProblemUnderTheLastCaption) {
  e2e::MessageBoxContent box = RunOn(GoodArchive());
  EXPECT_EQ(box.title, "Second entry");
  EXPECT_EQ(box.text, WithPath(TextId::kCheckNoProblem));
  EXPECT_FALSE(box.has_icon);
}

TEST_F(CheckForm, TrailingBytesFailTheHeaderProbeWithoutThePath) {
  encoder::ArchiveWriter writer = GoodArchive();
  writer.AddRaw(Bytes(25, 0x20));
  e2e::MessageBoxContent box = RunOn(writer);
  EXPECT_EQ(box.title, "Second entry");
  EXPECT_EQ(box.text, Expected(TextId::kCheckHeaderShort));
  EXPECT_TRUE(box.has_icon);
}

TEST_F(CheckForm, HeaderAtTheEndOfTheFileIsABlockThatEndsEarly) {
  encoder::ArchiveWriter writer = GoodArchive();
  writer.AddEntryHeader(Header("Empty"));
  e2e::MessageBoxContent box = RunOn(writer);
  EXPECT_EQ(box.title, "Empty");
  EXPECT_EQ(box.text, WithPath(TextId::kCheckBlockShort));
  EXPECT_TRUE(box.has_icon);
}

TEST_F(CheckForm, ChangedByteIsReportedAsCooked) {
  encoder::ArchiveWriter writer = GoodArchive();
  Bytes bytes = writer.bytes();
  bytes[writer.stub_size() + 256 + 40] ^= 0x01;  // inside the first block's whole rows
  FILE* f = fopen(archive_.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  e2e::MessageBoxContent box = Run(Quoted(":::/" + archive_));
  EXPECT_EQ(box.title, "First entry");
  EXPECT_EQ(box.text, WithPath(TextId::kCheckCooked));
  EXPECT_TRUE(box.has_icon);
}

TEST_F(CheckForm, OtherVersionInASecondEntryStopsAtItsHeader) {
  for (uint32_t version : {300u, 302u}) {
    encoder::ArchiveWriter writer(e2e::DecoderBytes());
    writer.AddEntryHeader(Header("Old"));
    writer.AddDataBlock(Pattern(100, 1));
    writer.AddEntryHeader(Header("Newer", version));
    writer.AddDataBlock(Pattern(100, 2));
    e2e::MessageBoxContent box = RunOn(writer);
    EXPECT_EQ(box.title, "Newer");
    EXPECT_EQ(box.text, WithPath(TextId::kNewerVersion));
    EXPECT_TRUE(box.has_icon);
  }
}

TEST_F(CheckForm, NoArchiveIsRefusedUnderItsPath) {
  std::string plain = folder_.File("plain.txt");
  FILE* f = fopen(plain.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fputs("just text", f);
  fclose(f);
  for (const std::string& path : {plain, folder_.File("missing.exe"), std::string()}) {
    e2e::MessageBoxContent box = Run(Quoted(":::/" + path));
    EXPECT_EQ(box.title, path);
    EXPECT_EQ(box.text, Expected(TextId::kNotArchive));
    EXPECT_TRUE(box.has_icon);
  }
}

TEST_F(CheckForm, UnrecognisedCommandLinesEndSilently) {
  ASSERT_TRUE(GoodArchive().WriteTo(archive_));
  for (const std::string& arguments :
       {":::/" + archive_,  // unquoted: the blank splits it into two arguments
        std::string("a b c d"), std::string("plain-argument")}) {
    e2e::Process process(Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + arguments, folder_.path());
    DWORD exit_code = 1;
    EXPECT_TRUE(process.WaitForExit(20000, &exit_code)) << arguments;
    EXPECT_EQ(exit_code, 0u);
  }
}

}  // namespace
