// Entries and archives as the tests write them, for the unit tests and the
// Windows end-to-end tests alike: a name and contents, the flags a test
// cares about, and fixed, recognisable values for the rest of the record.
#pragma once

#include <string>
#include <vector>

#include "encoder/entry_encoder.h"
#include "tests/support/sample_data.h"  // the contents tests give their entries

namespace test_support {

using encoder::Bytes;

// Record fields every test entry carries unless a test changes them.
constexpr uint32_t kAttributes = 0x21;  // read-only and archive
constexpr uint64_t kCreationTime = 0x01C8000011112222ull;
constexpr uint64_t kLastAccessTime = 0x01D2000033334444ull;
constexpr uint64_t kLastWriteTime = 0x01D5000055556666ull;

// An entry under `caption` storing `name` ("\\..." for a relative name).
encoder::Entry MakeEntry(const std::string& name, Bytes contents, const std::string& caption = "Test archive",
                         unsigned char flags = 0, int8_t suicide_mode = 2);

// The stub followed by the entries, each encoded with the password; the
// test fails when the encoder refuses one.
encoder::ArchiveWriter ArchiveOf(const Bytes& stub, const std::vector<encoder::Entry>& entries,
                                 const std::string& password, const encoder::EntryOptions& options = {});

}  // namespace test_support
