#include "win32/folder_browser.h"

#include <shlobj.h>

namespace win32 {
namespace {

// Opens the browser at the folder passed as its data.
int CALLBACK StartAtFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  return 1;
}

}  // namespace

bool BrowseForFolder(HWND owner, const char* title, char* folder) {
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;
  browse.pszDisplayName = folder;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = StartAtFolder;
  browse.lParam = reinterpret_cast<LPARAM>(folder);
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  if (!chosen) return false;
  if (!SHGetPathFromIDListA(chosen, folder)) folder[0] = '\0';
  CoTaskMemFree(chosen);
  return true;
}

}  // namespace win32
