// Where the program keeps its settings in the current user's registry,
// written once for the program and the tests that look at its keys.
#pragma once

namespace win32 {

constexpr char kSoftwareKey[] = "Software";
// The program's key below kSoftwareKey; its parent is the vendor's key.
constexpr char kSettingsBelowSoftware[] = "By Mobrae\\kelvarin";

}  // namespace win32
