// The deletion routine is machine code written as bytes; MinGW's i686
// disassembler reads them back, so a slip in an opcode or an offset shows
// up as a different instruction.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "win32/deletion_routine.h"
#include "test_support.h"

namespace {

constexpr char kObjdump[] = "i686-w64-mingw32-objdump";

struct Instruction {
  unsigned offset;
  std::string text;  // Intel syntax, blanks collapsed
};

std::vector<Instruction> Disassemble(const std::string& file) {
  const std::string command = std::string(kObjdump) + " -D -b binary -mi386 -Mintel " + file + " 2>/dev/null";
  std::vector<Instruction> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  // "  1d:\t5b                   \tpop    ebx"
  const std::regex line_form(R"(^\s*([0-9a-f]+):\t[0-9a-f ]+\t(.*?)\s*$)");
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    std::cmatch match;
    if (!std::regex_match(line, match, line_form)) continue;
    const std::string text = std::regex_replace(match[2].str(), std::regex(R"(\s+)"), " ");
    out.push_back({static_cast<unsigned>(std::stoul(match[1].str(), nullptr, 16)), text});
  }
  pclose(pipe);
  return out;
}

TEST(DeletionRoutine, DisassemblesToCallsThroughTheBlockInOrder) {
  if (system((std::string("command -v ") + kObjdump + " >/dev/null 2>&1").c_str()) != 0) {
    GTEST_SKIP() << kObjdump << " is not installed";
  }
  test_support::TempDir dir;
  const std::string file = dir.File("routine.bin");
  test_support::WriteFileBytes(file, {win32::kDeletionRoutine, win32::kDeletionRoutine + sizeof win32::kDeletionRoutine});

  const std::vector<Instruction> code = Disassemble(file);
  const std::vector<std::string> expected = {
      "push ebx",
      "mov ebx,DWORD PTR [esp+0x8]",      // the block, the only argument
      "push DWORD PTR [ebx]",             // module
      "call DWORD PTR [ebx+0x4]",         // FreeLibrary
      "lea eax,[ebx+0xc]",                // path
      "push eax",
      "call DWORD PTR [ebx+0x8]",         // DeleteFileA
      "push DWORD PTR [ebx+0x114]",       // exit code
      "call DWORD PTR [ebx+0x110]",       // ExitProcess
      "pop ebx",
      "ret 0x4",
  };
  ASSERT_GE(code.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(code[i].text, expected[i]) << "instruction " << i;

  // The rest up to 48 bytes is filler that traps if ever reached.
  size_t filler = expected.size();
  ASSERT_LT(filler, code.size());
  EXPECT_EQ(code[filler].offset, win32::kDeletionRoutineCodeLength);
  for (; filler < code.size(); ++filler) EXPECT_EQ(code[filler].text, "int3") << "at " << code[filler].offset;
  EXPECT_EQ(code.back().offset, win32::kDeletionRoutineSize - 1);
}

}  // namespace
