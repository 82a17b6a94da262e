// Extraction as a .zip. Where the browser lets the page write a file the
// user picks (showSaveFilePicker), the zip streams into it as it is made,
// and memory stays flat at any size. Elsewhere it gathers in a Blob,
// offered as a download at the end: the browser's limit on Blobs is the
// zip's (Chromium keeps large Blobs on disk; others may hold them in
// memory). Entries are stored as decoded (the data is compressed already).
//
// The zip never holds two entries of one name, nor a file where a folder
// is wanted or the other way round: as on extraction into a folder, the
// entry that came first is kept and a later one is left out, and said.
// Names are compared as Windows compares them, whatever their case: that
// is where most zips are unpacked.
import { outputComponents } from './names.js';
import { ZipWriter } from './zip_writer.js';

export class ZipOutput {
  // target: a PickedFileTarget or a BlobTarget; kept(name, why) hears of
  // each entry left out: 'duplicate' or 'clash'.
  constructor(target, kept) {
    this.target = target;
    this.kept = kept;
    this.writer = new ZipWriter(target);
    this.files = new Set();    // the entries' names, folded
    this.folders = new Set();  // the folders they imply, folded
    this.skipping = false;
  }

  get count() { return this.writer.count; }

  // entry: the record the decoder showed when the entry began.
  async create(path, entry) {
    const names = outputComponents(path);
    if (!names) return false;
    const name = names.join('/');
    const folded = names.map((component) => component.toLowerCase());
    const key = folded.join('/');
    const parents = folded.slice(0, -1).map((component, i) => folded.slice(0, i + 1).join('/'));
    this.skipping = this.files.has(key) || this.folders.has(key) || parents.some((parent) => this.files.has(parent));
    if (this.skipping) {
      this.kept(name, this.files.has(key) ? 'duplicate' : 'clash');
      return true;  // still decoded, to check it
    }
    this.files.add(key);
    for (const parent of parents) this.folders.add(parent);
    this.key = key;
    await this.writer.begin(name, entry.size, filetimesOf(entry.filetimes), entry.attributes);
    return true;
  }

  write(bytes) { return this.skipping ? undefined : this.writer.add(bytes); }
  finish() { return this.skipping ? undefined : this.writer.end(); }

  // The entry in progress is left out.
  abandon() {
    if (this.skipping) return undefined;
    this.files.delete(this.key);
    return this.writer.drop();
  }

  // The zip completed with what it holds; a Blob where one was gathered.
  async end(comment) {
    await this.writer.close(comment);
    return this.target.close();
  }

  // Nothing of the zip stays.
  cancel() { return this.target.abort(); }
}

// A file the user picked; null when the browser has no picker. Throws
// AbortError when the user closes the picker.
export async function pickZipFile(suggestedName) {
  if (typeof window.showSaveFilePicker !== 'function') return null;
  const file = await window.showSaveFilePicker({
    suggestedName, types: [{ description: 'Zip', accept: { 'application/zip': ['.zip'] } }],
  });
  return new PickedFileTarget(await file.createWritable());
}

// The browser puts what was written in place only when the stream is
// closed: an aborted zip leaves the file as it was.
class PickedFileTarget {
  constructor(stream) { this.stream = stream; }
  write(piece) { return this.stream.write(piece); }
  truncate(position) { return this.stream.truncate(position); }
  async close() {
    await this.stream.close();
    return null;
  }
  abort() { return this.stream.abort().catch(() => {}); }
}

const GATHER_BYTES = 16 << 20;  // zip bytes held in memory before they join the Blob

export class BlobTarget {
  constructor() {
    this.parts = [];
    this.held = 0;
  }

  write(piece) {
    this.parts.push(piece);
    this.held += piece instanceof Blob ? 0 : piece.length;
    if (this.held >= GATHER_BYTES) this.gather();
  }

  truncate(position) {
    this.parts = [new Blob(this.parts).slice(0, position)];
    this.held = 0;
  }

  close() { return new Blob(this.parts, { type: 'application/zip' }); }
  abort() { this.parts = []; }

  gather() {
    this.parts = [new Blob(this.parts)];
    this.held = 0;
  }
}

// Three little-endian FILETIMEs (written, accessed, created) as BigInts.
function filetimesOf(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  return { written: view.getBigUint64(0, true), accessed: view.getBigUint64(8, true),
           created: view.getBigUint64(16, true) };
}
