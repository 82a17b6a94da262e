// The archive as the core's file seam reads it (web/wasm/system_seam.cpp
// calls it as Module.kelvarinFiles): the File the page chose, registered
// under one name. Reads come in pieces of the core's read-ahead buffer
// (256 KiB); each File read costs a round trip to the browser, so the
// File is read in large slices and the pieces are copied out of them.
// Progress is the position in the archive.
const SLICE_BYTES = 8 << 20;

export class ArchiveFiles {
  // onProgress(percent): called when the percentage read changes.
  constructor(onProgress) {
    this.file = null;
    this.onProgress = onProgress;
    this.reader = new FileReaderSync();
    this.open = new Map();  // number -> { position, slice, sliceStart }
    this.next = 1;
    this.shownPercent = -1;
  }

  register(file) {
    this.file = file;
  }

  newRun() {
    this.shownPercent = -1;
  }

  // The seam's calls.
  calls() {
    return {
      open: (name) => this.openFile(name),
      close: (number) => { this.open.delete(number); },
      read: (number, target) => this.read(this.open.get(number), target),
      seek: (number, offset) => {
        this.open.get(number).position = offset;
        return true;
      },
      size: () => this.file.size,
    };
  }

  openFile(name) {
    if (name !== 'archive' || !this.file) return 0;
    this.open.set(this.next, { position: 0, slice: null, sliceStart: 0 });
    return this.next++;
  }

  // Fills target from the position on; fewer bytes only at the end of the
  // file, or when it cannot be read (went away): a short read.
  read(state, target) {
    let done = 0;
    while (done < target.length) {
      const offset = state.position - state.sliceStart;
      if (!state.slice || offset < 0 || offset >= state.slice.length) {
        if (!this.readSlice(state)) break;
        continue;
      }
      const piece = state.slice.subarray(offset, offset + target.length - done);
      target.set(piece, done);
      done += piece.length;
      state.position += piece.length;
    }
    this.showProgress(state.position);
    return done;
  }

  readSlice(state) {
    const end = Math.min(state.position + SLICE_BYTES, this.file.size);
    state.slice = null;
    if (end <= state.position) return false;
    try {
      state.slice = new Uint8Array(this.reader.readAsArrayBuffer(this.file.slice(state.position, end)));
    } catch (error) {
      return false;
    }
    state.sliceStart = state.position;
    return state.slice.length > 0;
  }

  showProgress(position) {
    const percent = Math.floor((position * 100) / this.file.size);
    if (percent === this.shownPercent) return;
    this.shownPercent = percent;
    this.onProgress(percent);
  }
}
