// A folder held open, and the names inside it reached from it one
// component at a time without following a symbolic link (or, on Windows,
// a junction or other reparse point). Extracting below a folder this way
// cannot be turned elsewhere by a link that stands in it, nor by one put
// there while the work runs: what is held open is what was checked.
#pragma once

#include "platform/file.h"
#include "platform/os.h"
#include "platform/unique_handle.h"

namespace platform {

struct OsFolder {
  void* raw = nullptr;
};

// What a name inside a folder is, the name itself and not what it may
// point to.
enum class NameKind { kNone, kFile, kFolder, kLink, kOther };

// How the opening of a sub-folder went; the system's reason is kept for
// kFailed.
enum class FolderStep { kOpened, kLink, kNotFolder, kFailed };

// The folder at path, links in it followed: the one a user named.
OsFolder OsOpenFolder(const char* path);
// The sub-folder name (one component) of parent, made first when missing
// and create is set; never through a link.
FolderStep OsOpenSubfolder(OsFolder parent, const char* name, bool create, OsFolder* out);
void OsCloseFolder(OsFolder& folder);
NameKind OsNameKind(OsFolder folder, const char* name);
// A file that did not exist under any kind of name, link included.
OsFile OsCreateNewIn(OsFolder folder, const char* name);
// As OsRenameFile, both names in the folder; a link at `to` is replaced
// itself, never followed.
bool OsRenameIn(OsFolder folder, const char* from, const char* to, bool replace);
// The file name of folder (Windows: a read-only one too).
bool OsDeleteIn(OsFolder folder, const char* name);

class Folder {
 public:
  Folder() = default;
  static Folder Open(const char* path) { return Folder(OsOpenFolder(path)); }
  bool IsOpen() const { return os().raw != nullptr; }
  void Close() { os_.Reset(); }
  FolderStep OpenSub(const char* name, bool create, Folder* out) const {
    return OsOpenSubfolder(os(), name, create, out->os_.Replace());
  }
  NameKind KindOf(const char* name) const { return OsNameKind(os(), name); }
  File CreateNew(const char* name) const { return File::Adopt(OsCreateNewIn(os(), name)); }
  bool Rename(const char* from, const char* to, bool replace) const { return OsRenameIn(os(), from, to, replace); }
  bool Delete(const char* name) const { return OsDeleteIn(os(), name); }
  // The system's folder, still held here: for calls on the held folder.
  OsFolder os() const { return os_.get(); }

 private:
  explicit Folder(OsFolder os) : os_(os) {}
  UniqueHandle<OsFolder, OsCloseFolder> os_;
};

}  // namespace platform
