#include "window_driver/system_dialogs.h"

#include <commctrl.h>
#include <shlobj.h>
#include <cstdio>
#include <vector>

#include "window_driver/window_search.h"

namespace window_driver {
namespace {

// A piece of memory in another process, for messages whose parameters
// point at memory of the window's own process.
class RemoteMemory {
 public:
  RemoteMemory(DWORD process_id, size_t size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id)) {
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  bool Write(const void* bytes, size_t size) {
    return address_ && WriteProcessMemory(process_, address_, bytes, size, nullptr);
  }
  bool Read(const void* from, void* bytes, size_t size) const {
    SIZE_T done = 0;
    return process_ && ReadProcessMemory(process_, from, bytes, size, &done) && done == size;
  }
  bool Read(void* bytes, size_t size) const { return Read(address_, bytes, size); }

 private:
  HANDLE process_;
  void* address_ = nullptr;
};

// Copies an item id list out of the other process: items of a 16-bit size
// (which counts itself) up to one of size 0.
bool ReadIdList(const RemoteMemory& memory, const BYTE* at, std::vector<BYTE>* list) {
  for (int items = 0; items < 64; ++items) {
    USHORT size = 0;
    if (!memory.Read(at, &size, sizeof size)) return false;
    if (size == 0) {
      list->insert(list->end(), {0, 0});
      return true;
    }
    if (size < sizeof size) return false;
    const size_t old = list->size();
    list->resize(old + size);
    if (!memory.Read(at, list->data() + old, size)) return false;
    at += size;
  }
  return false;
}

bool SameFolder(std::string a, std::string b) {
  while (a.size() > 3 && a.back() == '\\') a.pop_back();
  while (b.size() > 3 && b.back() == '\\') b.pop_back();
  return !a.empty() && lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Asks the browser to select the folder, as the decoder's callback does at
// its start, with the path placed in the browser's memory.
void RequestSelection(HWND browser, const std::string& folder) {
  RemoteMemory text(ProcessOf(browser), folder.size() + 1);
  if (text.Write(folder.c_str(), folder.size() + 1)) Ask(browser, BFFM_SETSELECTIONA, TRUE, text.address());
}

HWND FileNameEdit(HWND save_as) {
  // The file name edit sits in the combo box inside the ComboBoxEx32 1148.
  HWND extended = GetDlgItem(save_as, 1148);
  HWND combo = extended ? FindWindowExA(extended, nullptr, "ComboBox", nullptr) : nullptr;
  HWND edit = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
  if (!edit && extended) edit = FindWindowExA(extended, nullptr, "Edit", nullptr);
  return edit;
}

// What a dialog that did not close shows: its title and any message box
// of the same process in front of it.
std::string DescribeStuck(HWND dialog) {
  std::string out = "\"" + WindowText(dialog) + "\" is still open";
  if (HWND box = FindWindowWhere(MessageBoxOf(ProcessOf(dialog))))
    out += ", with a message: " + ControlText(box, 0xFFFF);
  return out;
}

}  // namespace

Outcome AnswerSaveAs(DWORD process_id, const std::string& title, HWND except, const std::string& path) {
  HWND dialog = WaitForDialog(process_id, title, 20000, except);
  if (!dialog) return Outcome::Failed("no Save-As dialog \"" + title + "\"");
  int button = IDCANCEL;
  if (!path.empty()) {
    HWND edit = nullptr;
    if (!PollUntil([&] { return (edit = FileNameEdit(dialog)) != nullptr; }, 10000, 50))
      return Outcome::Failed("the Save-As dialog has no file name edit");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    if (!PollUntil([&] { return ControlText(edit) == path; }, 5000, 50))
      return Outcome::Failed("the file name edit holds \"" + ControlText(edit) + "\", not \"" + path + "\"");
    button = IDOK;
  }
  ClickButton(dialog, button);
  if (!WaitForWindowGone(dialog)) return Outcome::Failed("after Save-As: " + DescribeStuck(dialog));
  return Outcome::Done();
}

HWND FindFolderBrowser(DWORD process_id) {
  const WindowTest of_process = DialogOf(process_id);
  return FindWindowWhere(
      [&](HWND w) { return of_process(w) && FindWindowExA(w, nullptr, "SysTreeView32", nullptr) != nullptr; });
}

std::string SelectedFolder(HWND browser) {
  HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
  const LRESULT item = tree ? Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) : 0;
  if (!item) return "";
  RemoteMemory memory(ProcessOf(browser), sizeof(TVITEMA));
  TVITEMA query{};
  query.mask = TVIF_HANDLE | TVIF_PARAM;
  query.hItem = reinterpret_cast<HTREEITEM>(item);
  if (!memory.Write(&query, sizeof query) || !Ask(tree, TVM_GETITEMA, 0, memory.address()) ||
      !memory.Read(&query, sizeof query))
    return "(unreadable item)";
  // Each item of the browser's tree points at its parent folder object,
  // its id list relative to that parent, and its full id list.
  const BYTE* item_data[3] = {};
  std::vector<BYTE> list;
  if (!memory.Read(reinterpret_cast<const void*>(query.lParam), item_data, sizeof item_data) ||
      !ReadIdList(memory, item_data[2], &list))
    return "(unreadable item data)";
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(list.data()), path)) return "(no file-system folder)";
  return path;
}

Outcome AnswerFolderBrowser(DWORD process_id, const std::string& expected,
                            const std::function<void(HWND)>& verified_hook) {
  HWND browser = nullptr;
  if (!PollUntil([&] { return (browser = FindFolderBrowser(process_id)) != nullptr; }, 30000, 50))
    return Outcome::Failed("no folder browser from process " + std::to_string(process_id));
  if (expected.empty()) {
    ClickButton(browser, IDCANCEL);
    if (!WaitForWindowGone(browser)) return Outcome::Failed("the folder browser stays after Cancel");
    return Outcome::Done();
  }
  auto shows_expected = [&] { return IsEnabled(browser, IDOK) && SameFolder(SelectedFolder(browser), expected); };
  bool verified = PollUntil(shows_expected, 5000, 50);
  if (!verified && SelectedFolder(browser).empty()) {
    // Wine's browser sometimes drops the start folder that the decoder's
    // callback asked for and then selects nothing at all. A user would
    // pick the folder; the same request stands in for that. A browser
    // that opened at another folder is never steered.
    printf("[folder browser] nothing selected after 5 s; selecting \"%s\"\n", expected.c_str());
    RequestSelection(browser, expected);
    verified = PollUntil(shows_expected, 10000, 50);
  }
  // The tree may still be filling: the selection must hold.
  if (verified) {
    Sleep(300);
    verified = shows_expected();
  }
  if (verified && verified_hook) {
    verified_hook(browser);
    verified = shows_expected();
  }
  if (!verified) {
    const std::string selected = SelectedFolder(browser);
    ClickButton(browser, IDCANCEL);
    return Outcome::Failed("the folder browser selected \"" + selected + "\", not \"" + expected + "\"; cancelled");
  }
  ClickButton(browser, IDOK);
  if (!WaitForWindowGone(browser)) return Outcome::Failed("after the folder browser: " + DescribeStuck(browser));
  return Outcome::Done();
}

}  // namespace window_driver
