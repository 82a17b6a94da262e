// The JavaScript behind page_calls.h; `Module.kelvarinPage` is the
// worker's object (web/worker.js) that forwards each call to the page.
#include "web/wasm/page_calls.h"

#include <emscripten.h>

#include <cstring>

#include "base/little_endian.h"
#include "platform/file_time.h"

namespace web {
namespace {

// Texts and names go over as (pointer, length): they are bytes, not UTF-8.
EM_JS(void, JsVerdict, (int no_problem, const char* text, size_t length), {
  Module.kelvarinPage.verdict(!!no_problem, HEAPU8.slice(text, text + length));
});
EM_JS(void, JsSkipped, (double offset, double count), { Module.kelvarinPage.skipped(offset, count); });
// Times arrive as milliseconds since 1970 (UTC), for showing them, and as
// the stored FILETIMEs (written, accessed, created: 8 bytes each, little-
// endian), which a double cannot hold exactly; sizes as plain numbers.
EM_JS(void, JsEntry, (int complete, const char* name, size_t length, uint32_t size, uint32_t attributes, double created,
                      double accessed, double written, const unsigned char* filetimes), {
  Module.kelvarinPage.entry(!!complete, {
    name: HEAPU8.slice(name, name + length),
    size: size >>> 0, attributes: attributes >>> 0, created: created, accessed: accessed, written: written,
    filetimes: HEAPU8.slice(filetimes, filetimes + 24)
  });
});
EM_JS(void, JsReading, (int verdict, uint32_t code_page, uint32_t runner_up, int close, int by_names), {
  Module.kelvarinPage.reading({
    verdict: verdict, codePage: code_page, runnerUp: runner_up, close: !!close, chosenByNames: !!by_names
  });
});
// problem: 1 the name is no text of the code page, 2 unsafe, 3 too long.
EM_JS(void, JsRefused, (const char* name, size_t length, int problem), {
  Module.kelvarinPage.refused(HEAPU8.slice(name, name + length), problem);
});
EM_ASYNC_JS(int, JsCreate, (const char* path, size_t length), {
  return await Module.kelvarinPage.create(HEAPU8.slice(path, path + length)) ? 1 : 0;
});
// A view, not a copy: the module stays suspended, its memory unchanged,
// until the page has copied the bytes.
EM_ASYNC_JS(uint32_t, JsWrite, (const unsigned char* bytes, uint32_t count), {
  return await Module.kelvarinPage.write(HEAPU8.subarray(bytes, bytes + count));
});
EM_ASYNC_JS(void, JsFinish, (double created, double accessed, double written), {
  await Module.kelvarinPage.finish({ created: created, accessed: accessed, written: written });
});
EM_JS(void, JsAbandon, (), { Module.kelvarinPage.abandon(); });

double Milliseconds(uint64_t filetime) {
  const platform::UnixTime time = platform::FiletimeToUnix(filetime);
  return static_cast<double>(time.seconds) * 1000.0 + static_cast<double>(time.nanoseconds / 1000000u);
}

void Entry(bool complete, const archive::FileRecord& record) {
  unsigned char filetimes[24];
  base::WriteLe64(filetimes, record.last_write_time);
  base::WriteLe64(filetimes + 8, record.last_access_time);
  base::WriteLe64(filetimes + 16, record.creation_time);
  JsEntry(complete ? 1 : 0, record.output_name, strlen(record.output_name), record.file_size, record.attributes,
          Milliseconds(record.creation_time), Milliseconds(record.last_access_time),
          Milliseconds(record.last_write_time), filetimes);
}

}  // namespace

void ShowVerdict(bool no_problem, const char* text) { JsVerdict(no_problem ? 1 : 0, text, strlen(text)); }
void ShowSkipped(uint64_t offset, uint64_t count) {
  JsSkipped(static_cast<double>(offset), static_cast<double>(count));
}
void ShowEntryStart(const archive::FileRecord& record) { Entry(false, record); }
void ShowEntry(const archive::FileRecord& record) { Entry(true, record); }

void ShowReading(const decode::ArchiveReading& reading) {
  JsReading(static_cast<int>(reading.verdict), reading.code_page, reading.by_names.runner_up,
            reading.by_names.close ? 1 : 0, reading.chosen_by_names ? 1 : 0);
}

void ShowRefused(const archive::FileRecord& record, decode::NameProblem problem) {
  JsRefused(record.output_name, strlen(record.output_name), static_cast<int>(problem));
}

bool CreateOutput(const char* path) { return JsCreate(path, strlen(path)) == 1; }
uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) { return JsWrite(bytes, count); }
void FinishOutput(const archive::FileRecord& record) {
  JsFinish(Milliseconds(record.creation_time), Milliseconds(record.last_access_time),
           Milliseconds(record.last_write_time));
}
void AbandonOutput() { JsAbandon(); }

}  // namespace web
