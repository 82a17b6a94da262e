// Extraction into a folder the user picked (File System Access API), with
// sub-folders. Each file is written through a writable stream that the
// browser puts in place only when it is closed, so a cancelled or failed
// run leaves no half-written file and keeps the one it would replace.
// The web offers no way to set a file's times; the listing shows them.
import { outputComponents } from './names.js';

export class FolderOutput {
  // askReplace(name) decides about a file that exists already.
  constructor(folder, askReplace) {
    this.folder = folder;
    this.askReplace = askReplace;
    this.stream = null;
    this.writing = false;
    this.made = null;  // the folder and name of a file this run made, while it is written
    this.written = 0;  // files put in place
  }

  // False when the name cannot be made below the folder. Times cannot be
  // set here.
  async create(path) {
    const names = outputComponents(path);
    if (!names) return false;
    let folder = this.folder;
    for (const name of names.slice(0, -1)) folder = await folder.getDirectoryHandle(name, { create: true });
    const name = names[names.length - 1];
    this.name = names.join('/');
    const existed = await exists(folder, name);
    this.writing = !existed || (await this.askReplace(this.name));
    if (!this.writing) return true;  // kept: the entry is still decoded, to check it
    const file = await folder.getFileHandle(name, { create: true });
    this.made = { folder, name, existed };
    this.stream = await file.createWritable();
    return true;
  }

  async write(bytes) {
    if (this.writing) await this.stream.write(bytes);
  }

  async finish() {
    if (this.writing) {
      await this.stream.close();
      this.written += 1;
    }
    this.stream = null;
    this.made = null;
  }

  // Drops what was written; a file that did not exist before goes again
  // (opening it for writing made it, empty).
  async abandon() {
    const stream = this.stream;
    const made = this.made;
    this.stream = null;
    this.made = null;
    if (stream) await stream.abort().catch(() => {});
    if (made && !made.existed) await made.folder.removeEntry(made.name).catch(() => {});
  }

  // A cancelled run keeps the files already in place.
  cancel() { return this.abandon(); }

  async end() {}
}

async function exists(folder, name) {
  try {
    await folder.getFileHandle(name);
    return true;
  } catch (error) {
    if (error.name === 'NotFoundError') return false;
    throw error;  // a folder of that name, or no permission: creating it fails too
  }
}
