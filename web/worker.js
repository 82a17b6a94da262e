// The decoder's worker: runs the core (kelvarin.wasm) off the page's
// thread; its messages are those of worker_protocol.md. It reads the
// archive the page sent (archive_files.js), has its blocks decoded by a
// pool of workers (block_pool.js), shows the page verdicts, entries and
// progress, and hands extracted bytes over in chunks, waiting whenever
// the page has not written enough of them yet. The page cancels a run by
// ending this worker, which ends the pool's workers too.
import { ArchiveFiles } from './archive_files.js';
import { BlockPool } from './block_pool.js';
import { loadKelvarin } from './kelvarin_module.js';
import { convert, knows } from './text_codes.js';

// Bytes collected before they go to the page, and bytes the page may hold
// unwritten before the decoder waits: together they bound the memory an
// extraction takes, whatever the archive's size.
const CHUNK_BYTES = 1 << 20;
const WINDOW_BYTES = 8 << 20;

let textDecoder = new TextDecoder('windows-1252');
let reading = null;       // how the core reads the archive's texts, from kelvarin_read
let requestId = 0;        // the request in progress; every message names it
const post = (message, transfer) => self.postMessage({ ...message, id: requestId }, transfer || []);

const files = new ArchiveFiles((percent) => post({ type: 'progress', percent }));

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
  entry(complete, entry) { post({ type: 'entry', complete, entry }, [entry.name.buffer, entry.filetimes.buffer]); },
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

const modulePromise = loadKelvarin({ kelvarinFiles: files.calls(), kelvarinPage: page,
                                    kelvarinTexts: { convert, knows } });

function passwordInHeap(module, bytes) {
  const pointer = module._malloc(bytes.length + 1);
  module.HEAPU8.set(bytes, pointer);
  return pointer;
}

async function run(message, module) {
  const japanese = message.japanese ? 1 : 0;
  files.newRun();
  switch (message.type) {
    case 'open': {
      files.register(message.file);
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
      const threads = Math.max(1, message.threads || 1);
      // The pool of block decoders is made for the first run on more than
      // one thread, and kept: threads - 1 workers besides this one.
      if (threads > 1 && !module.kelvarinPool) module.kelvarinPool = new BlockPool(threads - 1);
      if (threads > 1) await module.kelvarinPool.ready;
      const failure = await module.ccall('kelvarin_decode', 'number', ['number', 'number', 'number'],
                                         [message.extract ? 1 : 0, japanese, threads], { async: true });
      return { type: 'decoded', failure };
    }
  }
  return { type: 'error', text: 'unknown request ' + message.type };
}

// A module that cannot load answers each request with the reason; one
// that stops mid-run (out of memory) cannot go on, and says so.
async function answer(message) {
  let module;
  try {
    module = await modulePromise;
  } catch (error) {
    return post({ type: 'done', result: { type: 'error', text: String(error && error.message || error) } });
  }
  try {
    return post({ type: 'done', result: await run(message, module) });
  } catch (error) {
    return post({ type: 'stopped', text: String(error && error.message || error) });
  }
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
  requestId = message.id;
  answer(message);
};
self.postMessage({ type: 'ready' });
