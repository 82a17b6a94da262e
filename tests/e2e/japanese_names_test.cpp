// Names stored in Shift-JIS whose characters end in the byte of the
// backslash (ソ 83 5C, 表 95 5C, 能 94 5C, 申 90 5C, 十 8F 5C, 予 97 5C):
// the program on a Japanese system, and kelvarin.exe on any system, write
// them under their own names, in the folders they name, and nothing else.
#include <set>

#include "decoder_session.h"

namespace {

using encoder::Bytes;
using test_support::MakeEntry;

#define SJ_SOFT_HYO "\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C.txt"                          // \ソフト\表.txt
#define SJ_OCTOBER "\\\x94\x5C\x97\xCD\\\x90\x5C\x8D\x90\x8F\x91\\\x8F\x5C\x8C\x8E.csv"  // \能力\申告書\十月.csv
#define SJ_PLAN "\x97\x5C\x92\xE8\x95\x5C.txt"                                           // 予定表.txt

const std::vector<encoder::Entry>& Entries() {
  static const std::vector<encoder::Entry> entries = {
      MakeEntry(SJ_SOFT_HYO, test_support::TextLikeBytes(7000, 1)), MakeEntry(SJ_OCTOBER, {'1', '0', '\n'}),
      MakeEntry(SJ_PLAN, test_support::RandomBytes(3000, 2))};
  return entries;
}

// Everything below the folder, by the wide calls, so that the names are
// read as the file system holds them whatever the ANSI code page.
void ListBelow(const std::wstring& folder, const std::wstring& prefix, std::set<std::wstring>* found) {
  WIN32_FIND_DATAW item;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &item);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = item.cFileName;
    if (name == L"." || name == L"..") continue;
    found->insert(prefix + name);
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListBelow(folder + L"\\" + name, prefix + name + L"\\", found);
  } while (FindNextFileW(search, &item));
  FindClose(search);
}

std::wstring Wide(const std::string& text, UINT code_page = CP_ACP) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(code_page, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

Bytes ReadWide(const std::wstring& path) {
  Bytes bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  unsigned char buffer[4096];
  DWORD done = 0;
  while (ReadFile(file, buffer, sizeof buffer, &done, nullptr) && done > 0) bytes.insert(bytes.end(), buffer, buffer + done);
  CloseHandle(file);
  return bytes;
}

// The relative entries below `folder`, with their folders, the names in
// `also`, and nothing else there.
void ExpectRelativeEntriesBelow(const std::wstring& folder, std::set<std::wstring> also = {}) {
  std::set<std::wstring> found;
  ListBelow(folder, L"", &found);
  also.insert({L"ソフト", L"ソフト\\表.txt", L"能力", L"能力\\申告書", L"能力\\申告書\\十月.csv"});
  EXPECT_EQ(found, also);
  EXPECT_EQ(ReadWide(folder + L"\\ソフト\\表.txt"), Entries()[0].contents);
  EXPECT_EQ(ReadWide(folder + L"\\能力\\申告書\\十月.csv"), Entries()[1].contents);
}

using JapaneseNames = e2e::DecoderSession;

// The chosen folder's own name ends in 表, so its last byte is 0x5C too:
// the browser opens at it as the current folder, and the walk takes it
// whole.
TEST_F(JapaneseNames, TheProgramWritesThemThroughTheFolderBrowserAndSaveAs) {
  if (GetACP() != 932) GTEST_SKIP() << "the program reads names in the ANSI code page: this runs where it is 932";
  WriteArchive(Entries());
  const std::string target = folder_.File("\x8F\x6F\x97\xCD\x95\x5C");  // 出力表
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  ASSERT_NE(OpenDialog(target), nullptr) << "started there, the browser opens there";
  TypeAndOk();
  ASSERT_TRUE(ChooseFolder(target));
  ASSERT_TRUE(SaveAs(folder_.File(SJ_PLAN)));
  ExpectExitZero();
  // Times first: reading a file would touch its access time.
  e2e::ExpectFileAsRecorded(target + SJ_SOFT_HYO, Entries()[0]);
  e2e::ExpectFileAsRecorded(folder_.File(SJ_PLAN), Entries()[2]);
  ExpectRelativeEntriesBelow(Wide(target));
}

// On a system whose ANSI code page is not 932, --encoding says it.
TEST(JapaneseNamesCli, KelvarinExeWritesThemInAnyCodePage) {
  e2e::TempFolder folder;
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(), Entries(), "pw-1234").WriteTo(folder.File("j.exe")));
  const std::string encoding = GetACP() == 932 ? "" : " --encoding CP932";
  e2e::Process tool(e2e::Quoted(e2e::WindowsPath(KELVARIN_CLI_EXE)) + " extract j.exe --output out --password pw-1234" +
                        encoding,
                    folder.path(), DETACHED_PROCESS);
  DWORD status = 0;
  ASSERT_TRUE(tool.WaitForExit(60000, &status));
  EXPECT_EQ(status, 0u);
  const std::wstring out = Wide(folder.File("out"));
  ExpectRelativeEntriesBelow(out, {L"予定表.txt"});
  EXPECT_EQ(ReadWide(out + L"\\予定表.txt"), Entries()[2].contents);
}

// --encoding auto chooses by the names, whatever the ANSI code page: the
// Shift-JIS names above, and Western names that are valid Shift-JIS too,
// each under its own name in both runs, Japanese and English.
TEST(JapaneseNamesCli, KelvarinExeAutoChoosesByTheNamesNotTheSystem) {
  e2e::TempFolder folder;
  const std::vector<encoder::Entry> western = {MakeEntry("fa\xE7" "ade.txt", {'f'}), MakeEntry("Gr\xF6\xDF" "e.txt", {'g'})};
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(), Entries(), "pw-1234").WriteTo(folder.File("j.exe")));
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(), western, "pw-1234").WriteTo(folder.File("w.exe")));
  for (const char* archive : {"j.exe", "w.exe"}) {
    e2e::Process tool(e2e::Quoted(e2e::WindowsPath(KELVARIN_CLI_EXE)) + " extract " + archive +
                          " --output out --encoding auto --password pw-1234",
                      folder.path(), DETACHED_PROCESS);
    DWORD status = 0;
    ASSERT_TRUE(tool.WaitForExit(60000, &status));
    EXPECT_EQ(status, 0u) << archive;
  }
  const std::wstring out = Wide(folder.File("out"));
  ExpectRelativeEntriesBelow(out, {L"予定表.txt", L"façade.txt", L"Größe.txt"});
  EXPECT_EQ(ReadWide(out + L"\\façade.txt"), Bytes{'f'});
}

}  // namespace
