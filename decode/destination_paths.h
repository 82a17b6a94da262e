// Where output files go: parent folders, creating missing folders, and
// joining a stored name below a chosen folder.
//
// Paths and names are 8-bit texts read one whole character at a time (see
// base/lead_bytes.h): a trail byte 0x5C of a double-byte character is
// never a separator. The paths handed to the system are read with the lead
// bytes of its path code page (PathLeadBytes).
#pragma once

#include "base/lead_bytes.h"
#include "decode/name_problem.h"
#include "decode/name_rules.h"
#include "platform/os.h"

namespace decode {

// The lead bytes of the code page in which this system reads paths.
base::LeadBytes PathLeadBytes();

// The drive part and directory part of path (Windows: a drive letter and
// colon, then everything up to the last backslash or slash), joined, with
// one trailing backslash removed. Posix: everything up to the last slash,
// the root kept as "/". Returns false when the result would not fit.
bool ParentPath(const char* path, char* parent, int capacity, PathStyle style, const base::LeadBytes& lead);

int IsFolder(const char* path);
// 1 when the folder that is to hold path exists or was made, else 0.
int EnsureParentFolder(const char* path);
// Makes the folder and its missing ancestors, top-down (a relative path's
// from the current folder); 0 on failure, and 0 when the walk up reaches a
// path that is its own parent.
int CreateFolderPath(const char* path);

// (Which names are safe below a folder: decode/name_rules.h.)
// Why a spelled name cannot be used: by those rules, and by the system's
// limit on the length of one name (NameProblem::kNone when it can).
NameProblem CheckName(const char* name, bool relative, const base::LeadBytes& lead,
                      PathStyle style = kNativePathStyle);

// folder + relative name (its leading backslash included), separators
// made native. False when the result does not fit the path buffer.
bool JoinBelowFolder(const char* folder, const char* relative_name, char* out, int capacity,
                     const base::LeadBytes& lead);

}  // namespace decode
