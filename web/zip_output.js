// Extraction as a .zip download, for browsers without the File System
// Access API. fflate (npm) writes the zip as a stream; its pieces gather
// in a Blob, which the browser keeps on disk when it grows large, and the
// finished Blob is offered as a download. Entries are stored as decoded
// (the data is compressed already, or was not worth it); each carries its
// three stored times in an extended-timestamp field, and the last write
// time as its DOS time too.
/* global fflate */
import { outputComponents } from './names.js';

const GATHER_BYTES = 16 << 20;  // zip bytes held in memory before they join the Blob

export class ZipOutput {
  constructor() {
    this.parts = [];
    this.held = 0;
    this.failure = null;
    this.zip = new fflate.Zip((error, chunk) => {
      if (error) this.failure = error;
      else this.hold(chunk);
    });
  }

  hold(chunk) {
    this.parts.push(chunk);
    this.held += chunk.length;
    if (this.held >= GATHER_BYTES) {
      this.parts = [new Blob(this.parts)];
      this.held = 0;
    }
  }

  // times: the entry's stored times, which go into its local header.
  async create(path, times) {
    const names = outputComponents(path);
    if (!names) return false;
    this.name = names.join('/');
    this.entry = new fflate.ZipPassThrough(this.name);
    this.entry.mtime = dosTime(times.written);
    this.entry.extra = { 0x5455: extendedTimestamp(times) };
    this.zip.add(this.entry);
    return true;
  }

  async write(bytes) {
    this.entry.push(bytes);
    if (this.failure) throw this.failure;
  }

  async finish() {
    this.entry.push(new Uint8Array(0), true);
    this.entry = null;
  }

  async abandon() {
    this.entry = null;
  }

  // The whole zip, once every entry is finished.
  async end() {
    this.zip.end();
    if (this.failure) throw this.failure;
    return new Blob(this.parts, { type: 'application/zip' });
  }
}

// DOS times span 1980 to 2107 in local time; outside that the field holds
// the nearest end and the extended field the real time.
function dosTime(milliseconds) {
  const earliest = new Date(1980, 0, 1, 0, 0, 2).getTime();
  const latest = new Date(2099, 11, 31, 23, 59, 58).getTime();
  return new Date(Math.min(Math.max(milliseconds, earliest), latest));
}

// Info-ZIP's extended timestamp: flags (write, access, creation present),
// then each as signed 32-bit seconds since 1970 (UTC).
function extendedTimestamp(times) {
  const field = new Uint8Array(13);
  const view = new DataView(field.buffer);
  field[0] = 7;
  const seconds = (ms) => Math.min(Math.max(Math.floor(ms / 1000), -0x80000000), 0x7fffffff);
  view.setInt32(1, seconds(times.written), true);
  view.setInt32(5, seconds(times.accessed), true);
  view.setInt32(9, seconds(times.created), true);
  return field;
}
