// Win32 folders of a program whose paths are UTF-8: directory
// handles opened through the wide calls without delete sharing,
// so that nobody can rename, remove or replace a folder (by a junction,
// say) while it is held; a name whose attributes carry a reparse point is
// met as a link, never entered.
#include <windows.h>

#include <new>
#include <cstring>

#include "platform/folder.h"
#include "platform/win32/wide/held_folder.h"
#include "platform/win32/wide/wide_name.h"

namespace platform {
namespace {

// The folder's path and name joined; false (with the system's reason)
// when that does not fit.
bool Join(OsFolder folder, const char* name, char* out) {
  const size_t folder_length = strlen(Held(folder)->path), name_length = strlen(name);
  if (folder_length + 1 + name_length >= static_cast<size_t>(MAX_PATH)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  memcpy(out, Held(folder)->path, folder_length);
  out[folder_length] = '\\';
  memcpy(out + folder_length + 1, name, name_length + 1);
  return true;
}

// Opens path as a folder; with no_follow the handle is the reparse point
// itself when there is one.
OsFolder Hold(const char* path, bool no_follow) {
  OsFolder folder;
  if (strlen(path) >= static_cast<size_t>(MAX_PATH)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return folder;
  }
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (no_follow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE handle = CreateFileW(WideName(path), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return folder;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (no_follow && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))) {
    CloseHandle(handle);
    SetLastError(ERROR_DIRECTORY);
    return folder;
  }
  auto* held = new (std::nothrow) HeldFolder{handle, {}};
  if (!held) {
    CloseHandle(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return folder;
  }
  memcpy(held->path, path, strlen(path) + 1);  // shorter than MAX_PATH, as checked above
  folder.raw = held;
  return folder;
}

}  // namespace

OsFolder OsOpenFolder(const char* path) { return Hold(path, false); }

FolderStep OsOpenSubfolder(OsFolder parent, const char* name, bool create, OsFolder* out) {
  char path[MAX_PATH];
  if (!Join(parent, name, path)) return FolderStep::kFailed;
  if (create && OsNameKind(parent, name) == NameKind::kNone) CreateDirectoryW(WideName(path), nullptr);
  switch (OsNameKind(parent, name)) {
    case NameKind::kLink:
      return FolderStep::kLink;
    case NameKind::kFile:
    case NameKind::kOther:
      SetLastError(ERROR_DIRECTORY);
      return FolderStep::kNotFolder;
    case NameKind::kNone:
      return FolderStep::kFailed;
    case NameKind::kFolder:
      break;
  }
  // Checked again on the handle: a junction put there since is refused.
  *out = Hold(path, true);
  if (out->raw) return FolderStep::kOpened;
  return OsNameKind(parent, name) == NameKind::kLink ? FolderStep::kLink : FolderStep::kFailed;
}

void OsCloseFolder(OsFolder& folder) {
  if (!folder.raw) return;
  CloseHandle(Held(folder)->handle);
  delete Held(folder);
  folder.raw = nullptr;
}

NameKind OsNameKind(OsFolder folder, const char* name) {
  char path[MAX_PATH];
  if (!Join(folder, name, path)) return NameKind::kNone;
  const DWORD attributes = GetFileAttributesW(WideName(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return NameKind::kNone;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return NameKind::kLink;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? NameKind::kFolder : NameKind::kFile;
}

OsFile OsCreateNewIn(OsFolder folder, const char* name) {
  char path[MAX_PATH];
  return Join(folder, name, path) ? OsCreateNew(path) : OsFile{};
}

bool OsRenameIn(OsFolder folder, const char* from, const char* to, bool replace) {
  char from_path[MAX_PATH], to_path[MAX_PATH];
  return Join(folder, from, from_path) && Join(folder, to, to_path) && OsRenameFile(from_path, to_path, replace);
}

bool OsDeleteIn(OsFolder folder, const char* name) {
  char path[MAX_PATH];
  if (!Join(folder, name, path)) return false;
  if (OsDeleteFile(path)) return true;
  // A staged file is marked read-only before it is renamed into place;
  // Windows deletes no read-only file, so the mark goes first.
  const DWORD error = GetLastError();
  const WideName wide(path);
  const DWORD attributes = GetFileAttributesW(wide);
  if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
      !SetFileAttributesW(wide, attributes & ~FILE_ATTRIBUTE_READONLY)) {
    SetLastError(error);
    return false;
  }
  return OsDeleteFile(path);
}

}  // namespace platform
