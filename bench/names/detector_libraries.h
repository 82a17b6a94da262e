// Two well-kept charset detectors, asked the same question as the name
// reader for comparison: uchardet and ICU's charset detector. Built only
// where their development files are found (bench/name_reading.sh installs
// them); the product links neither.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct Detector {
  const char* name;
  // The code page (932, 1252, 65001) the library names for the texts, 0
  // when it names none of the three.
  uint32_t (*choose)(const std::vector<std::string>& texts);
};

// The detectors this build has.
std::vector<Detector> DetectorLibraries();

}  // namespace bench
