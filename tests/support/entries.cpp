#include "tests/support/entries.h"

#include <gtest/gtest.h>

#include "base/bounded_text.h"

namespace test_support {

encoder::Entry MakeEntry(const std::string& name, Bytes contents, const std::string& caption, unsigned char flags,
                         int8_t suicide_mode) {
  encoder::Entry entry;
  entry.header.caption = caption;
  entry.header.flags = flags;
  entry.header.suicide_mode = suicide_mode;
  base::CopyText(entry.record.output_name, archive::kOutputNameCapacity, name.c_str());
  entry.record.attributes = kAttributes;
  entry.record.creation_time = kCreationTime;
  entry.record.last_access_time = kLastAccessTime;
  entry.record.last_write_time = kLastWriteTime;
  entry.contents = std::move(contents);
  return entry;
}

encoder::ArchiveWriter ArchiveOf(const Bytes& stub, const std::vector<encoder::Entry>& entries,
                                 const std::string& password, const encoder::EntryOptions& options) {
  encoder::ArchiveWriter writer(stub);
  for (const encoder::Entry& entry : entries) {
    EXPECT_EQ(encoder::AddEntry(writer, entry, password, options), encoder::EncodeError::kNone)
        << entry.record.output_name;
  }
  return writer;
}

}  // namespace test_support
