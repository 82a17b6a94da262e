// `kelvarin` run as a program: `pack` makes archives that `check` passes
// and `extract` and `list` read back with their names, times and
// permissions; existing files are replaced only when asked; failures,
// interrupts and damage leave nothing half-written and say what happened
// in the exit status. (Installing is tests/install's.)
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/texts/text_encoding.h"
#include "decode/decode_walk.h"
#include "encoder/entry_encoder.h"
#include "cli_tool_fixture.h"
#include "tests/support/sample_data.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/recording_sink.h"

namespace {

namespace fs = std::filesystem;
using encoder::Bytes;
using test_support::MakeEntry;
using test_support::CliTool;
using test_support::kPassword;

using PackCommand = CliTool;
using ExtractCommand = CliTool;

// The words of a text with every run of blanks and line ends made one blank:
// help texts are wrapped to the terminal, the manual's paragraphs are not.
// A line may also end after a hyphen inside a word ("read-" "only").
std::string Words(const std::string& text) {
  std::string out;
  bool in_hyphen_break = false;
  for (char c : text) {
    if (c == '\n' && !out.empty() && out.back() == '-') in_hyphen_break = true;
    const bool blank = c == ' ' || c == '\n';
    if (!blank) {
      out += c;
      in_hyphen_break = false;
    } else if (!in_hyphen_break && !out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// What each help says, as cli/manual.txt has it: keyed by command, "" for
// the main help (the summary, the usages, then the sections marked
// "(help)"). Its format is in the file's opening comment.
std::map<std::string, std::string> HelpWordsFromManual() {
  const Bytes bytes = encoder::ReadWholeFile(KELVARIN_SOURCE_DIR "/cli/manual.txt");
  std::map<std::string, std::string> commands, groups;
  std::string summary, usages, sections, ignored;
  std::string* into = &summary;
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  for (std::string line; std::getline(lines, line);) {
    auto drop = [&](const std::string& prefix) { return line.substr(prefix.size()); };
    if (line.rfind("#", 0) == 0) continue;
    if (line.rfind("= command ", 0) == 0) {
      usages += " kelvarin " + drop("= command ");
      into = &commands[drop("= command ").substr(0, drop("= command ").find(' '))];
      *into = "usage: kelvarin " + drop("= command ");
    } else if (line.rfind("= options ", 0) == 0) {
      into = &groups[drop("= options ")];
    } else if (line.rfind("= ", 0) == 0) {
      const size_t mark = line.find(" (help)");
      std::string title = line.substr(2, mark == std::string::npos ? std::string::npos : mark - 2);
      std::transform(title.begin() + 1, title.end(), title.begin() + 1, [](unsigned char c) { return std::tolower(c); });
      sections += mark == std::string::npos ? "" : " " + title + ":";
      into = mark == std::string::npos ? &ignored : &sections;
    } else if (line.rfind("@", 0) == 0) {
      *into += " " + groups[drop("@")];
    } else {
      *into += " " + (line.rfind("- ", 0) == 0 ? drop("- ") : line);
    }
  }
  for (auto& [name, text] : commands) text = Words(text);
  commands[""] = Words("usage: kelvarin COMMAND [options] " + Words(summary) + ". Commands:" + usages + sections);
  return commands;
}

TEST_F(CliTool, HelpSaysWhatTheManualSaysAndVersionGoesToStdoutWithStatusZero) {
  const std::map<std::string, std::string> manual = HelpWordsFromManual();
  ASSERT_EQ(manual.size(), 5u) << "the main help and four commands";
  for (const auto& [command, arguments] : std::vector<std::pair<std::string, std::string>>{
           {"", "--help"}, {"", "-h"}, {"", "help"}, {"check", "check --help"}, {"list", "list -h"},
           {"extract", "extract a.exe --help"}, {"pack", "pack --help"}}) {
    std::string output, errors;
    EXPECT_EQ(Run(arguments, &output, &errors), 0) << arguments;
    EXPECT_EQ(Words(output), manual.at(command)) << arguments;
    EXPECT_EQ(errors, "") << arguments;
  }
  std::string output;
  EXPECT_EQ(Run("--version", &output), 0);
  EXPECT_EQ(output.rfind("kelvarin 1.", 0), 0u) << output;
}

TEST_F(PackCommand, PackedFilesComeBackWithTheirNamesTimesAndPermissions) {
  const Bytes text = test_support::TextLikeBytes(300000, 3), small = {'h', 'i', '\n'}, one = {'x'};
  Write("in/docs/deep/text.txt", text);
  Write("in/docs/a/small.txt", small);
  Write("in/one.bin", one);
  chmod(dir_.File("in/one.bin").c_str(), 0444);
  struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
  utimensat(AT_FDCWD, dir_.File("in/docs/deep/text.txt").c_str(), times, 0);
  struct timespec before_1970[2] = {{-400000000, 0}, {-315619200, 700}};
  utimensat(AT_FDCWD, dir_.File("in/one.bin").c_str(), before_1970, 0);
  ASSERT_EQ(Run("pack --stub stub.exe --output rel.exe --password-file password.txt --relative --block-size 4000 "
                "--serial 1234ABCD --time 1600000000 --suicide -128 in"),
            0);
  ASSERT_EQ(Run("pack --stub stub.exe --output plain.exe --password 'pass word' in/one.bin"), 0);
  EXPECT_EQ(Run("check rel.exe"), 0);

  std::string printed;
  ASSERT_EQ(Run("extract rel.exe --output out/made/here --password-file password.txt --threads 3", &printed), 0)
      << printed;
  // Times first: reading the file back would touch its access time.
  struct stat info;
  ASSERT_EQ(stat(dir_.File("out/made/here/in/docs/deep/text.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(info.st_atim.tv_sec, 1000000000);
  ASSERT_EQ(stat(dir_.File("out/made/here/in/one.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0222, 0u) << "read-only comes back as a cleared write bit";
  EXPECT_EQ(info.st_mtim.tv_sec, -315619200);
  EXPECT_EQ(info.st_mtim.tv_nsec, 700);
  EXPECT_EQ(info.st_atim.tv_sec, -400000000);
  EXPECT_EQ(Read("out/made/here/in/docs/deep/text.txt"), text);
  EXPECT_EQ(Read("out/made/here/in/docs/a/small.txt"), small);
  EXPECT_EQ(Read("out/made/here/in/one.bin"), one);

  ASSERT_EQ(Run("extract plain.exe --output out --password 'pass word'"), 0);
  EXPECT_EQ(Read("out/one.bin"), one) << "the base name alone without --relative";

  ASSERT_EQ(Run("list rel.exe --password-file password.txt", &printed), 0);
  EXPECT_LT(printed.find("\\in\\docs\\a\\small.txt"), printed.find("\\in\\docs\\deep\\text.txt")) << printed;
  EXPECT_NE(printed.find("300000"), std::string::npos) << printed;
  EXPECT_NE(printed.find("written 1960-01-01 00:00:00"), std::string::npos) << printed;

  // What only the record shows: the serial, the encoding time, the
  // attributes, and the creation time, which is the write time here;
  // and the headers and blocks: the caption (the archive's name by
  // default), the suicide mode and the block size.
  test_support::RecordingSink sink;
  archive::SharedState state = test_support::ArchiveState(dir_, Read("rel.exe"));
  ASSERT_EQ(decode::DecodeWalk(state, kPassword.data(), static_cast<uint32_t>(kPassword.size()), sink), 1);
  EXPECT_STREQ(state.caption, "rel");
  EXPECT_EQ(state.suicide_mode, -128);
  size_t blocks = 0;
  for (const Bytes* file : {&text, &small, &one}) blocks += encoder::PlanBlocks(file->size(), 4000).size();
  EXPECT_EQ(sink.blocks, blocks);
  const archive::FileRecord& record = sink.records["/out/in/one.bin"];
  EXPECT_EQ(record.encoder_serial, 0x1234ABCDu);
  EXPECT_EQ(record.encoding_time, 1600000000u);
  EXPECT_EQ(record.attributes, 0x01u);
  EXPECT_EQ(sink.records["/out/in/docs/a/small.txt"].attributes, 0x20u);
  EXPECT_EQ(record.creation_time, record.last_write_time);
}

TEST_F(PackCommand, RefusesWhatItCannotPackFaithfully) {
  Write("a.txt", Bytes(10, 'a'));
  Write("folder/b.txt", Bytes(10, 'b'));
  for (const char* arguments : {"--password abc a.txt",    // too short
                                "--password abcd folder",  // a folder without --relative
                                "--password abcd --relative /etc/hostname"}) {
    EXPECT_EQ(Run(std::string("pack --stub stub.exe --output o.exe ") + arguments), 1) << arguments;
  }
  // Said once, as what it is: not packed with some other password.
  std::string said;
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --encoding CP1252 --password パスワード a.txt", &said), 1);
  EXPECT_EQ(said, "kelvarin: the password: cannot be written in CP1252, the archive's code page (--encoding)\n");
  EXPECT_EQ(Run("pack --stub missing.exe --output o.exe --password abcd a.txt"), 1);
  EXPECT_FALSE(fs::exists(dir_.File("o.exe")));
  for (const char* arguments : {"--password abcd a.txt", "--stub stub.exe --block-size 1 --password abcd a.txt",
                                "--stub stub.exe --suicide 200 --password abcd a.txt",
                                "--stub stub.exe --password abcd a.txt --caption"}) {  // no value at the end
    EXPECT_EQ(Run(std::string("pack --output o.exe ") + arguments), 2) << arguments;
  }
}

TEST_F(ExtractCommand, ArchiveFailuresNameTheArchiveWithExitStatusOne) {
  // The second entry's header lost its caption's NUL. Its caption is the
  // longest there is, so no NUL follows within the limit: there is no
  // header there, and the scan skips to the third entry's.
  const std::vector<encoder::Entry> entries = {MakeEntry("a.txt", {'a'}), MakeEntry("b.txt", {'b'}, std::string(259, 'c')),
                                               MakeEntry("c.txt", {'c'})};
  const size_t b_offset = WriteArchive("a.exe", {entries[0]}).size();
  const size_t c_offset = WriteArchive("a.exe", {entries[0], entries[1]}).size();
  Bytes archive = WriteArchive("a.exe", entries);
  archive[b_offset + encoder::EntryHeaderBytes({}).size() - 1 + 259] = 'c';
  Write("a.exe", archive);
  fs::create_directory(dir_.File("out"));
  Write("wrong.txt", {'n', 'o', 'p', 'e', '\n'});
  std::string printed;
  EXPECT_EQ(Run("extract a.exe --output out --password-file wrong.txt", &printed), 1);
  EXPECT_NE(printed.find("Wrong password"), std::string::npos) << printed;
  EXPECT_FALSE(fs::exists(dir_.File("out/a.txt")));
  const std::string skipped =
      "a.exe: skipped " + std::to_string(c_offset - b_offset) + " bytes at offset " + std::to_string(b_offset);
  for (const char* command : {"extract a.exe --output out --threads 2", "list a.exe --threads 1"}) {
    EXPECT_EQ(Run(command + std::string(" --password-file password.txt"), &printed), 1) << command;
    EXPECT_NE(printed.find(skipped), std::string::npos) << printed;
  }
  EXPECT_EQ(Read("out/a.txt"), Bytes{'a'});
  EXPECT_EQ(Read("out/c.txt"), Bytes{'c'});
  EXPECT_FALSE(fs::exists(dir_.File("out/b.txt")));

  EXPECT_EQ(Run("extract stub.exe --output out --password-file password.txt", &printed), 1);
  EXPECT_NE(printed.find("stub.exe: This is not Kelvarin file."), std::string::npos) << printed;
  EXPECT_EQ(Run("check missing.exe", &printed), 1);
  EXPECT_NE(printed.find("missing.exe: No such file or directory"), std::string::npos) << printed;
  EXPECT_EQ(Run("extract a.exe --password-file password.txt"), 2) << "no output folder";
  EXPECT_EQ(Run("extract a.exe --output out --keep --overwrite --password-file password.txt"), 2);
  EXPECT_EQ(Run("list"), 2);
  EXPECT_EQ(Run("list a.exe"), 2) << "no password and no terminal to ask";
  for (const char* count : {"0", "257", "2x", ""}) {
    EXPECT_EQ(Run(std::string("list a.exe --password-file password.txt --threads '") + count + "'"), 2) << count;
  }
}

TEST_F(ExtractCommand, ExistingFilesAreReplacedOnlyWhenAsked) {
  const Bytes old_bytes = {'o', 'l', 'd'}, a = {'n', 'e', 'w'}, b = {'n', 'e', 'w', '!'};
  WriteArchive("a.exe", {MakeEntry("a.txt", a), MakeEntry("b.txt", b)});
  Write("out/a.txt", old_bytes);
  Write("out/b.txt", old_bytes);
  chmod(dir_.File("out/a.txt").c_str(), 0444);
  const std::string extract = "extract a.exe --output out --password-file password.txt";
  std::string printed;
  EXPECT_EQ(Run(extract, &printed), 3) << "no terminal to ask on: kept, and said";
  EXPECT_NE(printed.find("out/a.txt: exists"), std::string::npos) << printed;
  EXPECT_NE(printed.find("out/b.txt: exists"), std::string::npos) << printed;
  EXPECT_EQ(Read("out/a.txt"), old_bytes);
  EXPECT_EQ(Read("out/b.txt"), old_bytes);

  EXPECT_EQ(Run(extract + " --keep", &printed), 0);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(Read("out/b.txt"), old_bytes);

  // On a pseudo-terminal that is given the answers.
  EXPECT_EQ(Shell("printf 'n\\ny\\n' | script -qec \"'" KELVARIN_CLI "' " + extract + "\" /dev/null", &printed), 0)
      << printed;
  EXPECT_EQ(Read("out/a.txt"), old_bytes) << "answered no";
  EXPECT_EQ(Read("out/b.txt"), b) << "answered yes";
  // The end of input answers the question, and every later one unasked.
  EXPECT_EQ(Shell("script -qec \"'" KELVARIN_CLI "' " + extract + "\" /dev/null </dev/null", &printed), 0) << printed;
  EXPECT_EQ(printed.find("replace "), printed.rfind("replace ")) << "asked once: " << printed;
  EXPECT_EQ(Read("out/a.txt"), old_bytes);
  EXPECT_EQ(Read("out/b.txt"), b);

  EXPECT_EQ(Run(extract + " --overwrite"), 0);
  EXPECT_EQ(Read("out/a.txt"), a) << "read-only, replaced all the same";
  EXPECT_TRUE(TemporaryFiles().empty());
}

// What stands where the output folder, an entry's folder or a file goes
// is named as what it is: a file at the folder's name was "cannot make the
// folder: File exists", and a folder at a file's name was offered to
// --overwrite, which cannot replace it.
TEST_F(ExtractCommand, SomethingElseWhereAFolderOrAFileGoesIsNamedAsWhatItIs) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'a'}), MakeEntry("b.txt", {'b'})});
  Write("file", {'f'});
  const std::string extract = " --password-file password.txt";
  std::string said;
  EXPECT_EQ(Run("extract a.exe --output file" + extract, &said), 3);
  EXPECT_EQ(said, "kelvarin: file: is a file, not a folder\n");
  EXPECT_EQ(Run("extract a.exe --output /dev/null" + extract, &said), 3);
  EXPECT_EQ(said, "kelvarin: /dev/null: is a device, not a folder\n");
  fs::create_directories(dir_.File("out/a.txt"));
  for (const char* policy : {" --overwrite", "", " --keep"}) {
    std::string errors;
    EXPECT_EQ(Run("extract a.exe --quiet --output out" + extract + policy, &said, &errors), 3) << policy;
    EXPECT_EQ(errors.rfind("kelvarin: out/a.txt: is a folder, so the file cannot be put in its place\n", 0), 0u)
        << policy << ": " << errors;
  }
  EXPECT_EQ(Read("out/b.txt"), Bytes{'b'}) << "the other entries go on";
  EXPECT_TRUE(fs::is_directory(dir_.File("out/a.txt")));
  // A file where an entry's folder goes: the entry is left out, saying why.
  WriteArchive("d.exe", {MakeEntry("\\d\\c.txt", {'c'}), MakeEntry("e.txt", {'e'})});
  Write("out/d", {'f'});
  EXPECT_EQ(Run("extract d.exe --quiet --output out" + extract, &said), 3);
  EXPECT_EQ(said, "kelvarin: out/d: is not a folder, so nothing can be put in it\n");
  EXPECT_EQ(Read("out/e.txt"), Bytes{'e'});
}

// On a terminal the run of a big archive shows how far it is; a small
// one's would only flicker.
TEST_F(ExtractCommand, ShowsProgressOnATerminalForBigArchivesOnly) {
  WriteArchive("small.exe", {MakeEntry("small.bin", test_support::RandomBytes(100000, 1))}, {4000});
  WriteArchive("big.exe", {MakeEntry("big.bin", test_support::RandomBytes(5 << 20, 2))});
  std::string printed;
  for (const char* name : {"small", "big"}) {
    const std::string extract = std::string("extract ") + name + ".exe --output out --password-file password.txt";
    ASSERT_EQ(Shell("script -qec \"'" KELVARIN_CLI "' " + extract + "\" /dev/null </dev/null", &printed), 0) << printed;
    EXPECT_EQ(printed.find("Decoding... 100 %") != std::string::npos, std::string(name) == "big") << name << printed;
  }
}

TEST_F(ExtractCommand, AFailedExtractKeepsTheFileItWouldReplaceAndLeavesNoTemporaryFile) {
  Bytes archive = WriteArchive("a.exe", {MakeEntry("data.bin", test_support::RandomBytes(60000, 4))}, {4000});
  archive[archive.size() - 30000] ^= 0x55;  // inside a block in the middle of the file
  Write("a.exe", archive);
  Write("out/data.bin", {'o', 'l', 'd'});
  std::string printed;
  EXPECT_EQ(Run("extract a.exe --output out --overwrite --password-file password.txt", &printed), 1);
  EXPECT_NE(printed.find("a.exe (entry data.bin): Anyone cooked this file."), std::string::npos) << printed;
  EXPECT_EQ(Read("out/data.bin"), (Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// The decode walk refuses relative and plain names alike; nothing is made,
// not even the folders of a "." component.
TEST_F(ExtractCommand, NamesThatWouldLeaveTheOutputFolderAreRefusedAndMakeNothing) {
  for (const char* name : {"..", "sub/escaped.txt", "\\a\\.\\b.txt", "\\a\\..\\..\\b.txt"}) {
    WriteArchive("evil.exe", {MakeEntry(name, {'b', 'a', 'd'})});
    fs::remove_all(dir_.File("out"));
    fs::create_directory(dir_.File("out"));
    std::string printed;
    EXPECT_EQ(Run("extract evil.exe --output out --password-file password.txt", &printed), 1) << name;
    EXPECT_NE(printed.find("the stored name is unsafe"), std::string::npos) << name << ": " << printed;
    EXPECT_TRUE(fs::is_empty(dir_.File("out"))) << name;
  }
}

// Names, captions and passwords are stored in the code page of the
// Windows that made the archive; here they are UTF-8.
using CodePages = CliTool;

// Shift-JIS bytes: ソフト, 表 (95 5C), 能力 (94 5C ...), 申告書, 十月, 予定表, パスワード.
#define SJ_SOFT "\x83\x5C\x83\x74\x83\x67"
#define SJ_HYO "\x95\x5C"
const std::string kShiftJisPassword = "\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68";

std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    found.push_back(fs::relative(item.path(), folder).string() + (item.is_directory() ? "/" : ""));
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST_F(CodePages, AShiftJisArchiveIsListedAndExtractedUnderUtf8NamesWithAUtf8Password) {
  // The ASCII entry spans many compressed blocks: the names behind it are
  // found only when the look ahead sizes every block right.
  const Bytes hyo = {'h', 'y', 'o'}, october = {'c', 's', 'v'}, plan = {'p'}, ascii = test_support::TextLikeBytes(60000, 9);
  const std::vector<encoder::Entry> entries = {
      MakeEntry("\\plain\\ascii.txt", ascii), MakeEntry("\\" SJ_SOFT "\\" SJ_HYO ".txt", hyo),
      MakeEntry("\\\x94\x5C\x97\xCD\\\x90\x5C\x8D\x90\x8F\x91\\\x8F\x5C\x8C\x8E.csv", october),
      MakeEntry("\x97\x5C\x92\xE8\x95\x5C.txt", plan)};
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(512), entries, kShiftJisPassword, {4000})
                  .WriteTo(dir_.File("j.exe")));
  std::string printed, said;
  ASSERT_EQ(Run("list j.exe --password パスワード", &printed, &said), 0) << said;
  for (const char* name : {"\\ソフト\\表.txt", "\\能力\\申告書\\十月.csv", "予定表.txt"}) {
    EXPECT_NE(printed.find(name), std::string::npos) << name << "\n" << printed;
  }
  EXPECT_NE(said.find("names read as CP932"), std::string::npos) << said;

  ASSERT_EQ(Run("extract j.exe --output out --password パスワード --threads 2", &printed), 0) << printed;
  EXPECT_EQ(FilesBelow(dir_.File("out")),
            (std::vector<std::string>{"plain/", "plain/ascii.txt", "ソフト/", "ソフト/表.txt", "予定表.txt", "能力/",
                                      "能力/申告書/", "能力/申告書/十月.csv"}));
  EXPECT_EQ(Read("out/ソフト/表.txt"), hyo);
  EXPECT_EQ(Read("out/能力/申告書/十月.csv"), october);
  EXPECT_EQ(Read("out/予定表.txt"), plan);
  EXPECT_EQ(Read("out/plain/ascii.txt"), ascii);

  // Named outright, the code page must hold the password.
  EXPECT_EQ(Run("list j.exe --encoding cp932 --password パスワード"), 0);
  EXPECT_EQ(Run("list j.exe --encoding CP1252 --password パスワード", &printed), 2);
  EXPECT_NE(printed.find("cannot be written in CP1252"), std::string::npos) << printed;
  EXPECT_EQ(Run("list j.exe --encoding KLINGON --password パスワード"), 2);
}

TEST_F(CodePages, WesternNamesAreReadAsCp1252AndNoNameIsEverPrintedRaw) {
  WriteArchive("w.exe", {MakeEntry("caf\xE9.txt", {'c'}), MakeEntry("\\a\x1b[2Jb.txt", {'e'})});
  std::string printed;
  EXPECT_EQ(Run("extract w.exe --output out --password-file password.txt", &printed), 1);
  EXPECT_EQ(Read("out/café.txt"), Bytes{'c'});
  EXPECT_NE(printed.find("\\a\\x1b[2Jb.txt"), std::string::npos) << printed;
  EXPECT_EQ(printed.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
  EXPECT_EQ(FilesBelow(dir_.File("out")), std::vector<std::string>{"café.txt"});

  // Read as UTF-8: DEL, and the C1 controls, which terminals obey as
  // they do C0 ones (U+009B is the escape sequence's CSI alone).
  WriteArchive("u.exe", {MakeEntry("\\c\xC2\x9B" "2Jd.txt", {'c'}), MakeEntry("\\d\x7F" "e.txt", {'d'})});
  EXPECT_EQ(Run("extract u.exe --encoding UTF-8 --output u --password-file password.txt", &printed), 1);
  EXPECT_NE(printed.find("u/c\\xc2\\x9b2Jd.txt"), std::string::npos) << printed;
  EXPECT_NE(printed.find("\\d\\x7fe.txt"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("\xC2\x9B"), std::string::npos) << "a raw CSI reached the terminal";
  EXPECT_EQ(printed.find('\x7F'), std::string::npos) << "a raw DEL reached the terminal";
}

TEST_F(CodePages, PackStoresNamesCaptionAndPasswordInTheCodePageThatHoldsThem) {
  Write("in/ソフト/表.txt", {'1'});
  Write("in/能力.txt", {'2'});
  ASSERT_EQ(Run("pack --stub stub.exe --output j.exe --password パスワード --caption 申告 --relative in"), 0);
  // The names as stored, keyed by output name.
  auto stored_names = [&](const std::string& archive_name, const std::string& password, archive::SharedState* state) {
    test_support::RecordingSink sink;
    *state = test_support::ArchiveState(dir_, Read(archive_name));
    EXPECT_EQ(decode::DecodeWalk(*state, password.data(), static_cast<uint32_t>(password.size()), sink), 1);
    std::vector<std::string> names;
    for (const auto& [path, record] : sink.records) names.push_back(record.output_name);
    std::sort(names.begin(), names.end());
    return names;
  };
  archive::SharedState state;
  EXPECT_EQ(stored_names("j.exe", kShiftJisPassword, &state),
            (std::vector<std::string>{"\\in\\" SJ_SOFT "\\" SJ_HYO ".txt", "\\in\\\x94\x5C\x97\xCD.txt"}));
  EXPECT_EQ(std::string(state.caption), "\x90\x5C\x8D\x90");
  std::string printed;
  ASSERT_EQ(Run("extract j.exe --output out --password パスワード", &printed), 0) << printed;
  EXPECT_EQ(Read("out/in/ソフト/表.txt"), Bytes{'1'});
  EXPECT_EQ(Read("out/in/能力.txt"), Bytes{'2'});

  Write("latin/café.txt", {'3'});
  ASSERT_EQ(Run("pack --stub stub.exe --output w.exe --password-file password.txt --relative latin"), 0);
  EXPECT_EQ(stored_names("w.exe", kPassword, &state), std::vector<std::string>{"\\latin\\caf\xE9.txt"})
      << "CP1252 holds it";

  Write("mixed/é能.txt", {'4'});
  Write("ctl/a\x1b" "b.txt", {'5'});
  for (const char* folder : {"mixed", "ctl"}) {
    EXPECT_EQ(Run(std::string("pack --stub stub.exe --output x.exe --password-file password.txt --relative ") + folder,
                  &printed),
              1)
        << folder;
    EXPECT_NE(printed.find(folder), std::string::npos) << printed;
  }
  EXPECT_EQ(Run("pack --stub stub.exe --output x.exe --password-file password.txt --encoding CP1252 --relative in",
                &printed),
            1);
  EXPECT_FALSE(fs::exists(dir_.File("x.exe")));
}

// Every spelling the manual gives for a code page is taken, in any case.
TEST(EncodingOption, TakesEveryNameOfACodePage) {
  const std::pair<const char*, uint32_t> names[] = {
      {"auto", 0},       {"UTF-8", platform::kUtf8CodePage}, {"utf8", platform::kUtf8CodePage},
      {"Shift_JIS", 932}, {"sjis", 932},                       {"Windows-31J", 932},
      {"cp1252", 1252},  {"WINDOWS-1252", 1252}};
  for (const auto& [name, code_page] : names) {
    cli::Encoding encoding;
    encoding.code_page = 1;
    EXPECT_TRUE(cli::ParseEncoding(name, &encoding)) << name;
    EXPECT_EQ(encoding.code_page, code_page) << name;
  }
  for (const char* name : {"KLINGON", "CP", "CP0", "SJIS2", "WINDOWS-"}) {
    cli::Encoding encoding;
    EXPECT_FALSE(cli::ParseEncoding(name, &encoding)) << name;
  }
}

// A name that is no text of its code page is shown byte by byte: the
// ASCII kept, the rest escaped.
TEST(DisplayedNames, KeepTheAsciiAroundBytesNoCodePageReads) {
  EXPECT_EQ(cli::DisplayStored(932, "x\x81.txt"), "x\\x81.txt");
  EXPECT_EQ(cli::DisplayStored(932, "a\x1b\x81"), "a\\x1b\\x81");
}

}  // namespace
