// The encoder information dialog: who made an entry, when, and how often
// archives from that encoder were decoded here. Modal over the owner.
#pragma once

#include <windows.h>

#include "archive/file_record.h"

namespace win32 {

void ShowEncoderInformationDialog(HWND owner, const archive::FileRecord& record);

}  // namespace win32
