// The JavaScript behind page_calls.h; `Module.kelvarinPage` is the
// worker's object that forwards each call to the page.
#include "browser/page_calls.h"

#include <emscripten.h>

#include <cstring>

#include "base/little_endian.h"
#include "platform/file_time.h"

namespace browser {
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
// Writes the UTF-8 spelling with its terminator; -1 when it does not fit.
EM_JS(int, JsSpell, (const char* stored, size_t length, char* local, int capacity), {
  const spelled = Module.kelvarinPage.spell(HEAPU8.slice(stored, stored + length));
  if (spelled.length >= capacity) return -1;
  HEAPU8.set(spelled, local);
  HEAPU8[local + spelled.length] = 0;
  return spelled.length;
});
EM_JS(void, JsStoredName, (const char* name, size_t length), {
  Module.kelvarinPage.storedName(HEAPU8.slice(name, name + length));
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

void ShowStoredName(const char* name) { JsStoredName(name, strlen(name)); }

bool SpellName(const char* stored, char* local, int capacity) {
  return JsSpell(stored, strlen(stored), local, capacity) >= 0;
}

bool CreateOutput(const char* path) { return JsCreate(path, strlen(path)) == 1; }
uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) { return JsWrite(bytes, count); }
void FinishOutput(const archive::FileRecord& record) {
  JsFinish(Milliseconds(record.creation_time), Milliseconds(record.last_access_time),
           Milliseconds(record.last_write_time));
}
void AbandonOutput() { JsAbandon(); }

}  // namespace browser
