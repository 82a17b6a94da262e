#include "test_support.h"

#include <iconv.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>

#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "platform/os.h"

namespace test_support {

TempDir::TempDir() {
  char pattern[] = "/tmp/kelvarin-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  path_ = made ? made : "/tmp";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  if (!bytes.empty()) {
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  }
  fclose(f);
}

archive::SharedState ArchiveState(const TempDir& dir, const encoder::Bytes& archive) {
  const std::string path = dir.File("archive.exe");
  WriteFileBytes(path, archive);
  archive::SharedState state;
  base::CopyText(state.archive_path, platform::kPathCapacity, path.c_str());
  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  EXPECT_NE(state.entry_offset, -1) << "no entry in the archive";
  return state;
}

std::string ToShiftJis(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = utf8, out(utf8.size() * 2 + 8, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t src_left = in.size(), dst_left = out.size();
  EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<size_t>(-1)) << utf8;
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace test_support
