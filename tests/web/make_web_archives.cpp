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
//   big.exe       (with --big MIB) text-like and binary-like entries of that
//                 many MiB in all, for the benchmark and cancelled runs
// Usage: make_web_archives OUTDIR [--big MIB]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoder/archive_writer.h"
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
      auto seconds = [](uint64_t filetime) { return std::to_string(platform::FiletimeToUnix(filetime).seconds); };
      json += (e ? ",\n" : "\n") + std::string("      {\"name\": [") + name_bytes + "], \"size\": " +
              std::to_string(entry.contents.size()) + ", \"created\": " + seconds(entry.record.creation_time) +
              ", \"accessed\": " + seconds(entry.record.last_access_time) +
              ", \"written\": " + seconds(entry.record.last_write_time) + ", \"expected\": \"expected/" +
              std::to_string(file_number++) + "\"}";
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && strcmp(argv[2], "--big") == 0)) {
    fprintf(stderr, "usage: make_web_archives OUTDIR [--big MIB]\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::filesystem::create_directories(folder);
  std::vector<Archive> archives = {
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
  };
  if (argc == 4) {
    const size_t quarter = static_cast<size_t>(atoi(argv[3])) << 18;
    archives.push_back({"big.exe",
                        {TimedEntry("\\big\\text-1.txt", test_support::TextLikeBytes(quarter, 7), 0),
                         TimedEntry("\\big\\binary-1.bin", test_support::BinaryLikeBytes(quarter, 8), 1),
                         TimedEntry("\\big\\text-2.txt", test_support::TextLikeBytes(quarter, 9), 2),
                         TimedEntry("\\big\\binary-2.bin", test_support::BinaryLikeBytes(quarter, 10), 3)}});
  }
  Bytes good;
  for (const Archive& archive : archives) {
    if (!Write(folder, archive, archive.file == "good.exe" ? &good : nullptr)) return 1;
  }
  // The last data block (16 KiB of noise) ends the file; its checksum
  // covers whole 16-byte rows, and a changed byte in one fails it.
  good[good.size() - 1000] ^= 0x40;
  std::ofstream tampered(folder + "/tampered.exe", std::ios::binary);
  tampered.write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
  if (!tampered) return 1;
  // The big archive's contents are compared with the native tool's output.
  if (archives.back().file == "big.exe") archives.pop_back();
  if (!WriteExpected(folder, archives)) return 1;
  return 0;
}
