// Why an entry's stored name cannot be used on this system.
#pragma once

namespace decode {

enum class NameProblem {
  kNone,
  kUnspellable,  // no text of the code page the names are read in
  kUnsafe,       // it would leave the folder, names a device, holds a control character...
  kTooLong,      // longer than this system's names or paths may be
};

}  // namespace decode
