// The decoder's worker: runs the core (kelvarin.wasm) off the page's
// thread. It reads the archive the page sent in slices, shows the page
// verdicts, entries and progress, and hands extracted bytes over in
// chunks, waiting whenever the page has not written enough of them yet.
// The page cancels a run by ending this worker.
import KelvarinModule from './kelvarin.js';
import { convert, knows } from './text_codes.js';

// Bytes collected before they go to the page, and bytes the page may hold
// unwritten before the decoder waits: together they bound the memory an
// extraction takes, whatever the archive's size.
const CHUNK_BYTES = 1 << 20;
const WINDOW_BYTES = 8 << 20;

let archive = null;  // the File the page chose
let textDecoder = new TextDecoder('windows-1252');
let reading = null;       // how the core reads the archive's texts, from kelvarin_read
const post = (message, transfer) => self.postMessage(message, transfer || []);

// Reading: one slice of the File per read; progress by archive position.
const reader = new FileReaderSync();
const openFiles = new Map();
let nextFile = 1;
let shownPercent = -1;
const files = {
  open(name) {
    if (name !== 'archive' || !archive) return 0;
    openFiles.set(nextFile, { position: 0 });
    return nextFile++;
  },
  close(number) { openFiles.delete(number); },
  read(number, target) {
    const file = openFiles.get(number);
    const end = Math.min(file.position + target.length, archive.size);
    if (end <= file.position) return 0;
    let bytes;
    try {
      bytes = new Uint8Array(reader.readAsArrayBuffer(archive.slice(file.position, end)));
    } catch (error) {
      return 0;  // the file went away or cannot be read: a short read
    }
    target.set(bytes);
    file.position += bytes.length;
    const percent = Math.floor((file.position * 100) / archive.size);
    if (percent !== shownPercent) {
      shownPercent = percent;
      post({ type: 'progress', percent });
    }
    return bytes.length;
  },
  seek(number, offset) {
    openFiles.get(number).position = offset;
    return true;
  },
  size() { return archive.size; },
};

// Output: replies from the page arrive while the decoder waits for them.
let replyWaiter = null;
let unwritten = 0;        // bytes sent that the page has not written yet
let outputFailed = false;
let pending = new Uint8Array(CHUNK_BYTES);
let pendingLength = 0;

function waitForReply() {
  return new Promise((resolve) => { replyWaiter = resolve; });
}

async function sendPending() {
  if (pendingLength === 0) return;
  const chunk = pending.slice(0, pendingLength);
  pendingLength = 0;
  unwritten += chunk.length;
  post({ type: 'write', bytes: chunk }, [chunk.buffer]);
  while (unwritten > WINDOW_BYTES && !outputFailed) await waitForReply();
}

const page = {
  verdict(noProblem, text) { post({ type: 'verdict', noProblem, text: textDecoder.decode(text) }); },
  reading(found) { reading = found; },
  refused(name, problem) { post({ type: 'refused', name, problem }, [name.buffer]); },
  skipped(offset, count) { post({ type: 'skipped', offset, count }); },
  entry(complete, entry) { post({ type: 'entry', complete, entry }, [entry.name.buffer]); },
  async create(path) {
    outputFailed = false;
    post({ type: 'create', path }, [path.buffer]);
    const reply = await waitForReply();
    return reply.ok;
  },
  async write(bytes) {
    if (outputFailed) return 0;
    for (let done = 0; done < bytes.length;) {
      const piece = Math.min(bytes.length - done, CHUNK_BYTES - pendingLength);
      pending.set(bytes.subarray(done, done + piece), pendingLength);
      pendingLength += piece;
      done += piece;
      if (pendingLength === CHUNK_BYTES) await sendPending();
    }
    return outputFailed ? 0 : bytes.length;
  },
  async finish(times) {
    await sendPending();
    post({ type: 'finish', times });
    while ((await waitForReply()).type !== 'finished');
  },
  abandon() {
    pendingLength = 0;
    post({ type: 'abandon' });
  },
};

// The module is fetched beside this script, whatever the glue would guess.
// When it cannot be loaded, every request is answered with the reason.
let failLoad;
const loadFailed = new Promise((resolve, reject) => { failLoad = reject; });
const modulePromise = KelvarinModule({
  kelvarinFiles: files,
  kelvarinPage: page,
  kelvarinTexts: { convert, knows },
  instantiateWasm(imports, done) {
    WebAssembly.instantiateStreaming(fetch(new URL('kelvarin.wasm', import.meta.url)), imports)
      .then((result) => done(result.instance, result.module), failLoad);
    return {};
  },
});

function passwordInHeap(module, bytes) {
  const pointer = module._malloc(bytes.length + 1);
  module.HEAPU8.set(bytes, pointer);
  return pointer;
}

async function run(message) {
  const module = await Promise.race([modulePromise, loadFailed]);
  const japanese = message.japanese ? 1 : 0;
  shownPercent = -1;
  switch (message.type) {
    case 'open': {
      archive = message.file;
      textDecoder = new TextDecoder(japanese ? 'shift_jis' : 'windows-1252');
      const offset = module.ccall('kelvarin_locate', 'number', ['number'], [japanese]);
      if (offset < 0) return { type: 'opened', archive: false };
      const sound = message.check ? module.ccall('kelvarin_check', 'number', ['number'], [japanese]) === 1 : true;
      return { type: 'opened', archive: true, sound };
    }
    case 'read': {
      const password = passwordInHeap(module, message.password);
      try {
        const verdict = module.ccall('kelvarin_read', 'number', ['number', 'number', 'number', 'number'],
                                     [password, message.password.length, message.codePage || 0, japanese]);
        return { type: 'read', verdict, reading };
      } finally {
        module._free(password);
      }
    }
    case 'decode': {
      const failure = await module.ccall('kelvarin_decode', 'number', ['number', 'number'],
                                         [message.extract ? 1 : 0, japanese], { async: true });
      return { type: 'decoded', failure };
    }
  }
  return { type: 'error', text: 'unknown request ' + message.type };
}

self.onmessage = (event) => {
  const message = event.data;
  if (message.type === 'written') {
    unwritten -= message.count;
    outputFailed = outputFailed || !message.ok;
  }
  if (message.type === 'written' || message.type === 'created' || message.type === 'finished') {
    if (replyWaiter) {
      const resolve = replyWaiter;
      replyWaiter = null;
      resolve(message);
    }
    return;
  }
  run(message).then(post, (error) => post({ type: 'error', text: String(error && error.message || error) }));
};
