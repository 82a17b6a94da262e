// What the WebAssembly side of the page asks of the worker's JavaScript:
// verdicts and entries to show, and the output of an extraction, which the
// page writes into the user's folder or a .zip. Output calls suspend the
// module (Asyncify) until the page has taken the bytes, so a fast decode
// never runs ahead of a slow disk by more than the page's window.
#pragma once

#include <cstdint>

#include "archive/file_record.h"
#include "decode/archive_reading.h"
#include "decode/name_problem.h"

namespace web {

// The name the worker registers the chosen File under.
constexpr const char* kArchiveName = "archive";

// Texts are bytes: ASCII in English, Shift-JIS in Japanese.
void ShowVerdict(bool no_problem, const char* text);
void ShowSkipped(uint64_t offset, uint64_t count);
// The entry whose record was just read; failures that follow concern it.
void ShowEntryStart(const archive::FileRecord& record);
// A whole entry decoded (listing).
void ShowEntry(const archive::FileRecord& record);
// How the archive's texts are read: the code page of the names and
// whether the names chose it, and how close their reading was.
void ShowReading(const decode::ArchiveReading& reading);
// The entry whose record was just read is passed over: its name cannot
// be used. ShowEntry follows when its blocks were read.
void ShowRefused(const archive::FileRecord& record, decode::NameProblem problem);

// path: the spelled name made a path below the page's folder ("./a/b.txt").
bool CreateOutput(const char* path);
// Bytes the page accepted: fewer than count when its output failed.
uint32_t WriteOutput(const unsigned char* bytes, uint32_t count);
void FinishOutput(const archive::FileRecord& record);
void AbandonOutput();

}  // namespace web
