#include "encoder/stub_check.h"

#include <algorithm>

#include "archive/markers.h"
#include "base/little_endian.h"

namespace encoder {
namespace {

constexpr size_t kPeOffsetField = 0x3C;  // e_lfanew of the DOS header
constexpr size_t kBlock = 256;

bool IsWindowsProgram(const Bytes& stub) {
  if (stub.size() < kPeOffsetField + 4 || stub[0] != 'M' || stub[1] != 'Z') return false;
  const size_t pe = base::ReadLe32(stub.data() + kPeOffsetField);
  return pe <= stub.size() - 4 && stub[pe] == 'P' && stub[pe + 1] == 'E' && stub[pe + 2] == 0 && stub[pe + 3] == 0;
}

}  // namespace

StubProblem CheckStub(const Bytes& stub, size_t* offset) {
  if (!IsWindowsProgram(stub)) return StubProblem::kNotWindowsProgram;
  for (size_t at = 0; at < stub.size(); at += kBlock) {
    const unsigned available = static_cast<unsigned>(std::min(kBlock, stub.size() - at));
    *offset = at;
    if (archive::StartsWithCheckMarker(stub.data() + at, available)) return StubProblem::kHoldsCheckMarker;
    if (archive::StartsWithEntryMarker(stub.data() + at, available)) return StubProblem::kHoldsEntryMarker;
  }
  return StubProblem::kNone;
}

const char* StubProblemText(StubProblem problem) {
  switch (problem) {
    case StubProblem::kNone: return "a usable stub";
    case StubProblem::kNotWindowsProgram:
      return "is not a Windows program (no MZ and PE headers), so the archive would not be one";
    case StubProblem::kHoldsCheckMarker: return "holds a block that begins with the check block's marker";
    case StubProblem::kHoldsEntryMarker: return "holds a block that begins with an entry header's marker";
  }
  return "";
}

}  // namespace encoder
