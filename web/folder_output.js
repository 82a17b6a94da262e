// Extraction into a folder the user picked (File System Access API), with
// sub-folders. Each file is written through a writable stream that the
// browser puts in place only when it is closed, so a cancelled or failed
// run leaves no half-written file and keeps the one it would replace.
// The web offers no way to set a file's times; the listing shows them.
// As with `kelvarin extract`, a file is never replaced by a later entry of
// the same run (a duplicate name), and a file where a folder is wanted, or
// the other way round, is kept: the later entry is left out, and said.
import { outputComponents } from './names.js';

export class FolderOutput {
  // askReplace(name) decides about a file that existed before the run;
  // kept(name, why) hears of each entry not written: 'exists' (not to be
  // replaced), 'duplicate' or 'clash'.
  constructor(folder, askReplace, kept) {
    this.folder = folder;
    this.askReplace = askReplace;
    this.kept = kept;
    this.stream = null;
    this.writing = false;
    this.made = null;  // the folder and name of a file this run made, while it is written
    this.madeNames = new Set();  // the files this run made
    this.written = 0;  // files put in place
  }

  // False when the name cannot be made below the folder. Times cannot be
  // set here. An entry not written is still decoded, to check it.
  async create(path) {
    const names = outputComponents(path);
    if (!names) return false;
    this.name = names.join('/');
    this.writing = false;
    if (this.madeNames.has(this.name)) return this.keep('duplicate');
    let folder = this.folder;
    let existed;
    try {
      for (const name of names.slice(0, -1)) folder = await folder.getDirectoryHandle(name, { create: true });
      existed = await exists(folder, names[names.length - 1]);
    } catch (error) {
      if (error.name === 'TypeMismatchError') return this.keep('clash');
      throw error;
    }
    this.writing = !existed || (await this.askReplace(this.name));
    if (!this.writing) return this.keep('exists');
    await this.open(folder, names[names.length - 1], existed);
    return true;
  }

  keep(why) {
    this.kept(this.name, why);
    return true;
  }

  async open(folder, name, existed) {
    const file = await folder.getFileHandle(name, { create: true });
    this.made = { folder, name, existed, path: this.name };
    this.madeNames.add(this.name);
    this.stream = await file.createWritable();
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
    if (made) this.madeNames.delete(made.path);
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
    throw error;  // TypeMismatchError: a folder of that name; or no permission
  }
}
