// Writes the archives the browser tests open, with the files each should
// yield and a manifest the tests read (names, sizes, stored times):
//   good.exe      nested folders, a plain name, distinct times per entry
//   tampered.exe  good.exe with one byte of its last data block changed
//   japanese.exe  "\ソフト\表.txt" in Shift-JIS, both characters ending in
//                 0x5C, under the password ひみつ in Shift-JIS
//   escape.exe    a safe entry, one whose name climbs out of the folder, and
//                 a safe one after it
//   western.exe   names in CP1252 that are valid Shift-JIS as well, under the
//                 password Passwörter in CP1252
//   halfwidth.exe names in half-width katakana (CP932 single bytes)
//   utf8.exe      names and the password パス1 in UTF-8
//   times.exe     times after 2038 and before 1980, to the 100 ns
//   windows.exe   names Windows refuses or makes under another name, a
//                 name twice, and a file and a folder of one name, among
//                 good ones
//   big.exe       (with --big MIB) text-like and binary-like entries of that
//                 many MiB in all, for the benchmark and cancelled runs
//   huge.exe      (with --huge) an entry of 4 GiB - 1 zero bytes, then a
//                 small one: the zip holding them is over 4 GiB. Written
//                 block by block; the archive itself is small.
//   block.exe     (with --block MIB) one entry of that many MiB of text in
//                 one data block, far above this encoder's block sizes (an
//                 encoder of another make may write such): for the
//                 benchmark's memory at a big block
// Usage: make_web_archives OUTDIR [--big MIB | --huge | --block MIB]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoder/archive_writer.h"
#include "encoder/block_sealer.h"
#include "encoder/entry_encoder.h"
#include "platform/file_time.h"
#include "tests/support/entries.h"
#include "tests/support/sample_data.h"

namespace {

using encoder::Bytes;

constexpr const char* kPassword = "web password";
constexpr const char* kJapanesePassword = "\x82\xD0\x82\xDD\x82\xC2";  // ひみつ in Shift-JIS
constexpr const char* kWesternPassword = "Passw\xF6rter";                   // Passwörter in CP1252
constexpr const char* kUtf8Password = "\xE3\x83\x91\xE3\x82\xB9" "1";     // パス1 in UTF-8

struct Archive {
  std::string file;
  std::vector<encoder::Entry> entries;
  std::string password = kPassword;
};

// Entry number n gets its own times, a day apart per field and entry.
encoder::Entry TimedEntry(const std::string& name, Bytes contents, int n) {
  encoder::Entry entry = test_support::MakeEntry(name, std::move(contents), "Web test");
  constexpr uint64_t kDay = 86400ull * platform::kFiletimeStepsPerSecond;
  entry.record.creation_time = test_support::kCreationTime + n * 3 * kDay;
  entry.record.last_access_time = test_support::kLastAccessTime + n * 3 * kDay + kDay;
  entry.record.last_write_time = test_support::kLastWriteTime + n * 3 * kDay + 2 * kDay;
  return entry;
}

// An entry whose three times are given as FILETIMEs.
encoder::Entry EntryAt(const std::string& name, Bytes contents, uint64_t created, uint64_t accessed,
                       uint64_t written) {
  encoder::Entry entry = test_support::MakeEntry(name, std::move(contents), "Web test");
  entry.record.creation_time = created;
  entry.record.last_access_time = accessed;
  entry.record.last_write_time = written;
  return entry;
}

// Zero bytes, as many as asked for.
class Zeros final : public encoder::ContentSource {
 public:
  size_t Read(unsigned char* out, size_t count) override {
    memset(out, 0, count);
    return count;
  }
};

class BytesSource final : public encoder::ContentSource {
 public:
  explicit BytesSource(const Bytes& bytes) : bytes_(bytes) {}
  size_t Read(unsigned char* out, size_t count) override {
    const size_t n = std::min(count, bytes_.size() - at_);
    memcpy(out, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  const Bytes& bytes_;
  size_t at_ = 0;
};

class FileSink final : public encoder::ArchiveSink {
 public:
  explicit FileSink(const std::string& path) : out_(path, std::ios::binary) {}
  bool Append(const Bytes& bytes) override {
    out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out_);
  }

 private:
  std::ofstream out_;
};

// huge.exe, streamed: 4 GiB - 1 zero bytes in blocks of the largest size,
// then a short text.
bool WriteHuge(const std::string& folder) {
  FileSink sink(folder + "/huge.exe");
  if (!sink.Append(encoder::ArchiveStart(test_support::SampleStub()))) return false;
  const encoder::Entry huge = TimedEntry("\\huge.bin", {}, 0);
  const encoder::Entry tail = TimedEntry("\\tail.txt", test_support::TextLikeBytes(1000, 11), 1);
  encoder::EntryOptions options;
  options.block_size = encoder::kMaxBlockSize;
  Zeros zeros;
  if (encoder::EncodeEntry(huge.header, huge.record, 0xFFFFFFFFull, zeros, sink, kPassword, options) !=
      encoder::EncodeError::kNone) {
    return false;
  }
  BytesSource text(tail.contents);
  return encoder::EncodeEntry(tail.header, tail.record, tail.contents.size(), text, sink, kPassword) ==
         encoder::EncodeError::kNone;
}

bool Write(const std::string& folder, const Archive& archive, Bytes* bytes = nullptr) {
  encoder::ArchiveWriter writer(test_support::SampleStub());
  for (const encoder::Entry& entry : archive.entries) {
    if (encoder::AddEntry(writer, entry, archive.password) != encoder::EncodeError::kNone) {
      fprintf(stderr, "cannot encode %s\n", entry.record.output_name);
      return false;
    }
  }
  if (bytes) *bytes = writer.bytes();
  return writer.WriteTo(folder + "/" + archive.file);
}

// One JSON object per archive: its entries' name bytes, sizes and times
// (Unix seconds), and the file under expected/ that holds the contents.
std::string Manifest(const std::vector<Archive>& archives) {
  std::string json = "{\n  \"password\": \"" + std::string(kPassword) + "\",\n  \"archives\": {";
  int file_number = 0;
  for (size_t a = 0; a < archives.size(); ++a) {
    json += (a ? ",\n" : "\n") + std::string("    \"") + archives[a].file + "\": [";
    for (size_t e = 0; e < archives[a].entries.size(); ++e) {
      const encoder::Entry& entry = archives[a].entries[e];
      std::string name_bytes;
      for (const char* p = entry.record.output_name; *p; ++p) {
        name_bytes += (name_bytes.empty() ? "" : ",") + std::to_string(static_cast<unsigned char>(*p));
      }
      const archive::FileRecord& r = entry.record;
      auto seconds = [](uint64_t filetime) { return std::to_string(platform::FiletimeToUnix(filetime).seconds); };
      // FILETIMEs as strings: JSON numbers would round them.
      const std::string filetimes = "[\"" + std::to_string(r.last_write_time) + "\", \"" +
                                    std::to_string(r.last_access_time) + "\", \"" + std::to_string(r.creation_time) +
                                    "\"]";
      json += (e ? ",\n" : "\n") + std::string("      {\"name\": [") + name_bytes + "], \"size\": " +
              std::to_string(entry.contents.size()) + ", \"created\": " + seconds(r.creation_time) +
              ", \"accessed\": " + seconds(r.last_access_time) + ", \"written\": " + seconds(r.last_write_time) +
              ", \"filetimes\": " + filetimes + ", \"expected\": \"expected/" + std::to_string(file_number++) +
              "\"}";
    }
    json += "]";
  }
  return json + "\n  }\n}\n";
}

bool WriteExpected(const std::string& folder, const std::vector<Archive>& archives) {
  std::filesystem::create_directories(folder + "/expected");
  int file_number = 0;
  for (const Archive& archive : archives) {
    for (const encoder::Entry& entry : archive.entries) {
      std::ofstream out(folder + "/expected/" + std::to_string(file_number++), std::ios::binary);
      out.write(reinterpret_cast<const char*>(entry.contents.data()), static_cast<std::streamsize>(entry.contents.size()));
      if (!out) return false;
    }
  }
  std::ofstream manifest(folder + "/manifest.json");
  manifest << Manifest(archives);
  return static_cast<bool>(manifest);
}


// The archives every test run uses.
std::vector<Archive> SmallArchives() {
  // Odd 100 ns steps: the times must come through to the last digit.
  auto at = [](int64_t seconds) { return platform::UnixToFiletime(seconds, 123456700); };
  return {
      {"good.exe",
       {TimedEntry("\\docs\\hello.txt", test_support::TextLikeBytes(5000, 1), 0),
        TimedEntry("\\docs\\data\\table.bin", test_support::BinaryLikeBytes(300000, 2), 1),
        TimedEntry("\\noise.bin", test_support::RandomBytes(70000, 3), 2)}},
      {"japanese.exe",
       {TimedEntry("\\\x83\x5C\x83t\x83g\\\x95\x5C.txt", test_support::TextLikeBytes(2000, 4), 0)},
       kJapanesePassword},
      {"escape.exe",
       {TimedEntry("\\safe.txt", test_support::TextLikeBytes(100, 5), 0),
        TimedEntry("\\..\\evil.txt", test_support::TextLikeBytes(100, 6), 1),
        TimedEntry("\\after.txt", test_support::TextLikeBytes(100, 7), 2)}},
      {"western.exe",
       {TimedEntry("\\fa\xE7" "ade.txt", {'f'}, 0), TimedEntry("Gr\xF6\xDF" "e.txt", {'g'}, 1),
        TimedEntry("\\Cr\xE8me br\xFBl\xE9" "e.txt", {'c'}, 2)},
       kWesternPassword},
      {"halfwidth.exe", {TimedEntry("\\\xB6\xC0\xB6\xC5.txt", {'k'}, 0), TimedEntry("\xC3\xBD\xC4.dat", {'t'}, 1)}},
      {"utf8.exe", {TimedEntry("\\\xE6\x97\xA5\xE6\x9C\xAC.txt", {'n'}, 0)}, kUtf8Password},
      {"windows.exe",
       {TimedEntry("\\ok.txt", {'o'}, 0), TimedEntry("\\CON", {'c'}, 1), TimedEntry("\\sub\\NUL.txt", {'n'}, 2),
        TimedEntry("\\trail.", {'t'}, 3), TimedEntry("\\a<b>c|d?e*f\"g.txt", {'r'}, 4),
        TimedEntry("\\dup.txt", {'1'}, 5), TimedEntry("\\dup.txt", {'2'}, 6), TimedEntry("\\x", {'x'}, 7),
        TimedEntry("\\x\\y.txt", {'y'}, 8)}},
      {"times.exe",
       {EntryAt("\\later.txt", test_support::TextLikeBytes(100, 12), at(2148595200), at(2193350400),
                at(2211667200)),
        EntryAt("\\earlier.txt", test_support::TextLikeBytes(100, 13), at(-310435200), at(172022400),
                at(315532799))}},
  };
}

Archive BigArchive(size_t mib) {
  const size_t quarter = mib << 18;
  return {"big.exe",
          {TimedEntry("\\big\\text-1.txt", test_support::TextLikeBytes(quarter, 7), 0),
           TimedEntry("\\big\\binary-1.bin", test_support::BinaryLikeBytes(quarter, 8), 1),
           TimedEntry("\\big\\text-2.txt", test_support::TextLikeBytes(quarter, 9), 2),
           TimedEntry("\\big\\binary-2.bin", test_support::BinaryLikeBytes(quarter, 10), 3)}};
}

// Sealed by hand: EncodeEntry keeps to this encoder's block sizes.
bool WriteOneBlock(const std::string& folder, size_t mib) {
  const encoder::Entry entry = TimedEntry("\\block.txt", test_support::TextLikeBytes(mib << 20, 12), 0);
  archive::FileRecord record = entry.record;
  record.record_size = archive::kFileRecordSize;
  record.file_size = static_cast<uint32_t>(entry.contents.size());
  const Bytes plain = encoder::FirstPlainBlock(0, record, entry.contents.data(), entry.contents.size());
  const Bytes stored = encoder::SealBlock(plain, encoder::BlockForm::kSmallest, encoder::KeyString(kPassword));
  FileSink sink(folder + "/block.exe");
  return sink.Append(encoder::ArchiveStart(test_support::SampleStub())) &&
         sink.Append(encoder::EntryHeaderBytes(entry.header)) && sink.Append(encoder::DataBlockBytes(stored));
}

// good.exe with one byte of its last data block changed: the last block
// (16 KiB of noise) ends the file; its checksum covers whole 16-byte rows,
// and a changed byte in one fails it.
bool WriteTampered(const std::string& folder, Bytes good) {
  good[good.size() - 1000] ^= 0x40;
  std::ofstream tampered(folder + "/tampered.exe", std::ios::binary);
  tampered.write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
  return static_cast<bool>(tampered);
}

}  // namespace

int main(int argc, char** argv) {
  const bool big = argc == 4 && strcmp(argv[2], "--big") == 0;
  const bool huge = argc == 3 && strcmp(argv[2], "--huge") == 0;
  const bool block = argc == 4 && strcmp(argv[2], "--block") == 0;
  if (argc != 2 && !big && !huge && !block) {
    fprintf(stderr, "usage: make_web_archives OUTDIR [--big MIB | --huge | --block MIB]\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::filesystem::create_directories(folder);
  std::vector<Archive> archives = SmallArchives();
  Bytes good;
  for (const Archive& archive : archives) {
    if (!Write(folder, archive, archive.file == "good.exe" ? &good : nullptr)) return 1;
  }
  if (!WriteTampered(folder, good) || !WriteExpected(folder, archives)) return 1;
  // The big archive's contents are compared with the native tool's output.
  if (big && !Write(folder, BigArchive(static_cast<size_t>(atoi(argv[3]))))) return 1;
  if (huge && !WriteHuge(folder)) return 1;
  if (block && !WriteOneBlock(folder, static_cast<size_t>(atoi(argv[3])))) return 1;
  return 0;
}
