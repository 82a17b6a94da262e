// Win32 answers to the questions about files beyond reading and writing
// them: the attributes and the type of what a path opens, and the file's
// basic information read and set through its handle.
#include <windows.h>

#include "platform/file_state.h"
#include "platform/win32/wide/wide_name.h"

namespace platform {
namespace {

HANDLE Handle(OsFile file) { return static_cast<HANDLE>(file.raw); }
uint64_t Value(LARGE_INTEGER value) { return static_cast<uint64_t>(value.QuadPart); }

}  // namespace

PathKind OsPathKind(const char* path) {
  const WideName name(path);
  const DWORD attributes = GetFileAttributesW(name);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return GetLastError() == ERROR_CANT_RESOLVE_FILENAME ? PathKind::kLinkLoop : PathKind::kNone;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kFolder;
  // Devices and pipes have attributes too; the type of what opens tells.
  // Opened for no access at all, so nothing is read or waited for.
  HANDLE handle = CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return PathKind::kFile;  // the open that follows says why
  const DWORD type = GetFileType(handle);
  CloseHandle(handle);
  if (type == FILE_TYPE_DISK) return PathKind::kFile;
  if (type == FILE_TYPE_CHAR) return PathKind::kDevice;
  return type == FILE_TYPE_PIPE ? PathKind::kFifo : PathKind::kOther;
}

bool OsFileStamp(OsFile file, FileStamp* stamp) {
  FILE_BASIC_INFO info;
  LARGE_INTEGER size;
  if (!GetFileInformationByHandleEx(Handle(file), FileBasicInfo, &info, sizeof info)) return false;
  if (!GetFileSizeEx(Handle(file), &size)) return false;
  stamp->size = Value(size);
  stamp->modified = Value(info.LastWriteTime);
  stamp->changed = Value(info.ChangeTime);
  return true;
}

bool OsSetOpenFileAttributes(OsFile file, uint32_t attributes) {
  FILE_BASIC_INFO info = {};  // times of 0 stay as they are
  // No attributes at all would mean "leave them"; NORMAL is the plain file.
  info.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileInformationByHandle(Handle(file), FileBasicInfo, &info, sizeof info) != 0;
}

}  // namespace platform
