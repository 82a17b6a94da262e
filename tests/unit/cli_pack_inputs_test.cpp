// `pack` walks its inputs as extract walks its output: what it cannot
// take faithfully stops it with a message that names the file and the
// true cause, and nothing is written. Grouped by fault: folders it cannot
// read, what is neither file nor folder, links, files with no relative
// name, two entries Windows would take for one, names no one code page
// holds, and names Windows cannot make as they are.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>
#include <string>

#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::CliTool;
using encoder::Bytes;

class PackInputs : public CliTool {
 protected:
  // Packs the arguments; expects status 1 and exactly this message, and
  // no archive, staged or in place.
  void ExpectRefused(const std::string& arguments, const std::string& message, const std::string& prefix = "") {
    std::string said;
    EXPECT_EQ(Shell(prefix + "'" KELVARIN_CLI "' pack --stub stub.exe --password-file password.txt --output a.exe " +
                        arguments + " </dev/null",
                    &said),
              1)
        << arguments;
    EXPECT_EQ(said, "kelvarin: " + message + "; nothing was packed\n") << arguments;
    EXPECT_FALSE(fs::exists(dir_.File("a.exe"))) << arguments;
    EXPECT_TRUE(TemporaryFiles().empty()) << arguments;
  }
  int Pack(const std::string& arguments, std::string* said = nullptr) {
    return Run("pack --stub stub.exe --password-file password.txt --output a.exe " + arguments, said);
  }
  std::string List() {
    std::string listed;
    EXPECT_EQ(Run("list a.exe --password-file password.txt", &listed), 0) << listed;
    return listed;
  }
};

// Used to end in an uncaught exception (status 134).
TEST_F(PackInputs, AFolderThatCannotBeReadIsNamedNotACrash) {
  Write("tree/a.txt", {'a'});
  Write("tree/locked/b.txt", {'b'});
  chmod(dir_.File("tree/locked").c_str(), 0);
  ExpectRefused("--relative tree", "tree/locked: cannot read the folder: Permission denied", AsPlainUser());
  chmod(dir_.File("tree/locked").c_str(), 0755);
}

TEST_F(PackInputs, WhatIsNeitherFileNorFolderIsNamed) {
  Write("tree/a.txt", {'a'});
  ASSERT_EQ(Shell("mkfifo tree/fifo"), 0);
  ExpectRefused("--relative tree", "tree/fifo: is a FIFO (named pipe), neither a file nor a folder");
  fs::remove(dir_.File("tree/fifo"));
  ASSERT_EQ(Shell("python3 -c \"import socket; socket.socket(socket.AF_UNIX).bind('tree/socket')\""), 0);
  ExpectRefused("--relative tree", "tree/socket: is a socket, neither a file nor a folder");
  ExpectRefused("/dev/null", "/dev/null: is a device, neither a file nor a folder");
  ExpectRefused("missing.txt", "missing.txt: No such file or directory");
}

TEST_F(PackInputs, LinksAreFollowedOnlyWithinThePackedFoldersAndNeverInALoop) {
  Write("outside/secret.txt", {'s'});
  Write("tree/a.txt", {'a'});
  Write("tree/sub/b.txt", {'b'});
  const std::pair<std::string, std::string> refused[] = {
      {"ln -s ../outside/secret.txt tree/leak", "tree/leak: is a symbolic link to ../outside/secret.txt, outside "
                                                "the folders being packed"},
      {"ln -s ../outside tree/leak", "tree/leak: is a symbolic link to ../outside, outside the folders being packed"},
      {"ln -s missing tree/leak", "tree/leak: is a symbolic link to missing, which does not exist"},
      {"ln -s leak tree/leak", "tree/leak: is a loop of symbolic links"},
      {"ln -s .. tree/sub/leak", "tree/sub/leak: leads back to " + fs::canonical(dir_.File("tree")).string() +
                                     ", a folder it is in: a loop"},
  };
  for (const auto& [link, message] : refused) {
    ASSERT_EQ(Shell(link), 0) << link;
    ExpectRefused("--relative tree", message);
    ASSERT_EQ(Shell("rm tree/leak tree/sub/leak 2>/dev/null; true"), 0);
  }
  // Within the folders packed a link is followed, to a file or a folder,
  // and stored under its own name; so is a link named as a FILE.
  ASSERT_EQ(Shell("ln -s a.txt tree/to-a && ln -s sub tree/to-sub && ln -s outside/secret.txt named-link"), 0);
  ASSERT_EQ(Pack("--relative tree named-link"), 0);
  const std::string listed = List();
  for (const char* name : {"\\tree\\to-a", "\\tree\\to-sub\\b.txt", "\\tree\\sub\\b.txt", "\\named-link"}) {
    EXPECT_NE(listed.find(name), std::string::npos) << name << " in " << listed;
  }
}

// Both used to be stored; the archive then stopped extracting at the second.
TEST_F(PackInputs, TwoEntriesThatWindowsTakesForOneAreRefusedNamingBoth) {
  Write("a/x.txt", {'a'});
  Write("b/x.txt", {'b'});
  ExpectRefused("a/x.txt b/x.txt", "b/x.txt: would be stored as x.txt, as a/x.txt is: two entries of one name");
  Write("tree/Read.me", {'1'});
  Write("tree/READ.ME", {'2'});
  ExpectRefused("--relative tree",
                "tree/Read.me: would be stored as \\tree\\Read.me, and tree/READ.ME as \\tree\\READ.ME: one name to "
                "Windows, which ignores case");
  fs::remove(dir_.File("tree/READ.ME"));
  Write("tree/d", {'d'});
  Write("tree/D/e.txt", {'e'});
  ExpectRefused("--relative tree",
                "tree/D/e.txt: would be stored as \\tree\\D\\e.txt, below a folder where tree/d is stored as the "
                "file \\tree\\d");
  fs::remove(dir_.File("tree/d"));
  Write("tree/caf\xC3\xA9.txt", {'1'});
  Write("tree/CAF\xC3\x89.TXT", {'2'});
  std::string said;
  EXPECT_EQ(Pack("--relative tree", &said), 1) << "É and é are one letter to Windows";
  EXPECT_NE(said.find("which ignores case"), std::string::npos) << said;
}

// With --relative a file's name is its path from the current folder: a
// file elsewhere has none, even where the name rules would refuse it too.
TEST_F(PackInputs, AFileOutsideTheCurrentFolderHasNoRelativeName) {
  ExpectRefused("--relative /etc/hostname", "/etc/hostname: is not below the current folder, so it has no relative name");
}

// The names of an archive share one code page: a name that fits neither
// CP1252 nor CP932, or one that fits only each, is refused saying which.
TEST_F(PackInputs, NamesThatNoOneCodePageHoldsAreRefusedSayingWhy) {
  Write("mixed/\xC3\xA9\xE8\x83\xBD.txt", {'1'});  // é能
  ExpectRefused("--relative mixed", "mixed/\xC3\xA9\xE8\x83\xBD.txt: its name can be written neither in CP1252 nor "
                                    "in CP932; rename it, or name a code page that holds it with --encoding");
  Write("jp/\xE8\x83\xBD.txt", {'2'});
  Write("we/\xC3\xA9.txt", {'3'});
  ExpectRefused("we/\xC3\xA9.txt jp/\xE8\x83\xBD.txt",
                "jp/\xE8\x83\xBD.txt: its name fits only CP932, and that of we/\xC3\xA9.txt only CP1252; the names "
                "of an archive share one code page (--encoding)");
}

// Windows drops a final dot or space, cannot make < > : " | ? *, opens a
// device for CONIN$ or COM¹, and reads a backslash as a separator. One
// name for each reason (decode/name_rules has its own tests); COM¹ is
// stored in CP1252, as B9.
TEST_F(PackInputs, NamesThatWindowsChangesOrCannotMakeAreRefusedWithTheirReason) {
  const std::string dot_or_space = "ends in a dot or a space, which Windows drops";
  const std::string device = "is a device name on Windows (such as CON, NUL, COM1 or CONIN$, also with an extension)";
  const std::pair<const char*, std::string> refused[] = {
      {"f.", "its name, or a folder's in it, " + dot_or_space},
      {"dir./f", "its name, or a folder's in it, " + dot_or_space},
      {"a?b", "its name holds one of < > \" | ? *, which Windows does not allow in names"},
      {"a:b", "its name holds a colon, which Windows reads as a drive or a stream"},
      {"CONIN$", "its name, or a folder's in it, " + device},
      {"COM\xC2\xB9.txt", "its name, or a folder's in it, " + device},
      {"..\\..\\evil.txt", "its name holds a backslash, which Windows takes for a folder separator"},
  };
  for (const auto& [name, reason] : refused) {
    fs::remove_all(dir_.File("tree"));
    Write(std::string("tree/") + name, {'x'});
    ExpectRefused("--relative tree", "tree/" + std::string(name) + ": " + reason);
    if (std::string(name).find('/') == std::string::npos) {
      ExpectRefused("'tree/" + std::string(name) + "'", "tree/" + std::string(name) + ": " + reason);
    }
  }
}

}  // namespace
