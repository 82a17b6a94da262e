// The page's side of the decoder worker (its messages: worker_protocol.md):
// one request at a time, the worker's reports passed to the page's
// handlers, and the output requests of an extraction carried out in order
// on the output the page chose. Cancelling ends the worker (the decode
// stops at once, wherever it is) and starts a fresh one that finds the
// archive again; so does a failure inside the module (out of memory).

import { blobWorker } from './blob_worker.js';

export class DecoderClient {
  // handlers: progress(percent), verdict(noProblem, text),
  // skipped(offset, count), refused(name, problem), entry(complete, entry),
  // outputProblem(error). threads: how many threads decode (the worker's
  // among them).
  constructor(handlers, threads) {
    this.handlers = handlers;
    this.threads = threads;
    this.file = null;
    this.lastId = 0;
    this.ready = Promise.resolve();  // a fresh worker finding the archive again
    this.start();
  }

  start() {
    this.worker = blobWorker('worker.js');
    this.listening = new Promise((resolve) => { this.heard = resolve; });
    this.worker.onmessage = (event) => this.receive(event.data);
    this.worker.onerror = (event) => this.fail(event.message || 'the decoder stopped');
    this.request = null;  // { id, resolve } of the request in progress
    this.loadFailure = null;
    this.output = null;
    this.queue = Promise.resolve();
    this.entryStarted = null;  // the record of the entry being decoded
    this.entryFailed = false;
  }

  // Registers the archive; with check, the check walk's verdict follows.
  open(file, japanese, check) {
    this.file = file;
    this.password = null;
    this.japanese = japanese;
    return this.ready.then(() => this.send({ type: 'open', file, japanese, check }));
  }

  // The archive's texts read ahead of the runs with the password (its
  // UTF-8 bytes): { verdict, reading }, verdict 0 when the password opens
  // the archive, reading the code page of its names and how it was chosen.
  read(password) {
    this.password = password;
    return this.ready.then(() => this.send({ type: 'read', password, japanese: this.japanese }));
  }

  // A listing (output null) or an extraction into output, with what the
  // last read found.
  decode(output) {
    return this.ready.then(() => {
      this.output = output;
      return this.send({ type: 'decode', extract: output !== null, japanese: this.japanese, threads: this.threads });
    });
  }

  cancel() {
    return this.restart({ type: 'cancelled' });
  }

  // Ends the worker, drops the output it was writing, and answers the
  // request in progress with result.
  async restart(result) {
    this.worker.terminate();
    const output = this.output;
    const request = this.request;
    this.start();
    if (output) await output.cancel();
    if (this.file) {
      // The fresh worker finds the archive, and reads its texts again
      // when a password was read.
      this.ready = this.send({ type: 'open', file: this.file, japanese: this.japanese, check: false }, true)
        .then(() => this.password && this.send({ type: 'read', password: this.password, japanese: this.japanese }, true));
    }
    if (request) request.resolve(result);
  }

  // The answer to the request: its result, { type: 'cancelled' }, or
  // { type: 'error', text } when the decoder stopped. A reopening request
  // that stops is answered so, not retried.
  async send(message, reopening = false) {
    await this.listening;
    if (this.loadFailure) return { type: 'error', text: this.loadFailure };
    return new Promise((resolve) => {
      this.lastId += 1;
      this.request = { id: this.lastId, resolve, reopening };
      this.worker.postMessage({ ...message, id: this.lastId });
    });
  }

  // The worker could not load, or stopped: a module that cannot load
  // answers every request with its failure; one that stopped mid-run is
  // replaced.
  fail(text) {
    if (!this.request) {
      this.loadFailure = text;
      this.heard();
    } else if (this.request.reopening) {
      this.settle({ type: 'error', text });
    } else {
      this.restart({ type: 'error', text });
    }
  }

  settle(result) {
    const { resolve } = this.request;
    this.request = null;
    resolve(result);
  }

  receive(message) {
    if (message.type === 'ready') return this.heard();
    if (message.type === 'failed') return this.fail(message.text);
    if (!this.request || message.id !== this.request.id) return undefined;  // of a cancelled request
    const h = this.handlers;
    switch (message.type) {
      case 'progress': return h.progress(message.percent);
      case 'verdict': return h.verdict(message.noProblem, message.text);
      case 'skipped': return h.skipped(message.offset, message.count);
      case 'refused': return h.refused(message.name, message.problem);
      case 'entry':
        if (!message.complete) this.entryStarted = message.entry;
        return h.entry(message.complete, message.entry);
      case 'create': case 'write': case 'finish': case 'abandon':
        return this.carryOut(message);
      case 'stopped': return this.fail(message.text);
      case 'done': return this.settle(message.result);
      default: return undefined;
    }
  }

  // Output requests run one after another; the worker hears of each.
  carryOut(message) {
    const output = this.output;
    const worker = this.worker;
    const reply = (answer) => worker.postMessage({ ...answer, id: message.id });
    this.queue = this.queue.then(async () => {
      try {
        switch (message.type) {
          case 'create':
            this.entryFailed = false;
            return reply({ type: 'created', ok: await output.create(message.path, this.entryStarted) });
          case 'write':
            // After a failed write, the writes already sent fail quietly.
            if (this.entryFailed) return reply({ type: 'written', count: message.bytes.length, ok: false });
            await output.write(message.bytes);
            return reply({ type: 'written', count: message.bytes.length, ok: true });
          case 'finish':
            await output.finish();
            return reply({ type: 'finished' });
          default:
            return await output.abandon();
        }
      } catch (error) {
        this.entryFailed = true;
        this.handlers.outputProblem(error);
        if (message.type === 'create') return reply({ type: 'created', ok: false });
        if (message.type === 'write') return reply({ type: 'written', count: message.bytes.length, ok: false });
        if (message.type === 'finish') return reply({ type: 'finished' });
      }
      return undefined;
    });
  }
}
