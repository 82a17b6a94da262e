// FILETIME values (100-ns steps since 1601-01-01 UTC, as archives store
// them) and Unix times (seconds since 1970), both ways. Times before 1970
// are negative seconds with a nanosecond part counted forwards, as
// timespec holds them.
#pragma once

#include <cstdint>

namespace platform {

struct UnixTime {
  int64_t seconds = 0;
  uint32_t nanoseconds = 0;
};

constexpr uint64_t kFiletimeUnixEpoch = 116444736000000000ull;  // 1970-01-01 as a FILETIME
constexpr uint64_t kFiletimeStepsPerSecond = 10000000ull;

constexpr UnixTime FiletimeToUnix(uint64_t filetime) {
  // Windows itself takes no FILETIME of 2^63 or more; those stay at the last one.
  constexpr uint64_t kLargest = static_cast<uint64_t>(INT64_MAX);
  const int64_t steps = static_cast<int64_t>(filetime < kLargest ? filetime : kLargest) -
                        static_cast<int64_t>(kFiletimeUnixEpoch);
  const int64_t per_second = static_cast<int64_t>(kFiletimeStepsPerSecond);
  int64_t seconds = steps / per_second;
  int64_t rest = steps % per_second;
  if (rest < 0) {
    rest += per_second;
    --seconds;
  }
  return {seconds, static_cast<uint32_t>(rest * 100)};
}

constexpr uint64_t UnixToFiletime(int64_t seconds, uint32_t nanoseconds) {
  return kFiletimeUnixEpoch + static_cast<uint64_t>(seconds) * kFiletimeStepsPerSecond + nanoseconds / 100;
}

}  // namespace platform
