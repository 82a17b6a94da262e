// The page's side of the decoder worker: one request at a time, the
// worker's reports passed to the page's handlers, and the output requests
// of an extraction carried out in order on the output the page chose.
// Cancelling ends the worker (the decode stops at once, wherever it is)
// and starts a fresh one that finds the archive again; so does a failure
// inside the module (out of memory).

export class DecoderClient {
  // handlers: progress(percent), verdict(noProblem, text),
  // skipped(offset, count), entry(complete, entry), outputProblem(error).
  constructor(handlers) {
    this.handlers = handlers;
    this.file = null;
    this.ready = Promise.resolve();  // a fresh worker finding the archive again
    this.start();
  }

  start() {
    this.worker = new Worker('worker.js', { type: 'module' });
    this.worker.onmessage = (event) => this.receive(event.data);
    this.worker.onerror = (event) => {
      if (this.done) this.restart({ type: 'error', text: event.message || 'the decoder stopped' });
    };
    this.done = null;
    this.output = null;
    this.queue = Promise.resolve();
    this.entryStarted = null;  // the record of the entry being decoded
  }

  // Registers the archive; with check, the check walk's verdict follows.
  open(file, japanese, check) {
    this.file = file;
    this.japanese = japanese;
    return this.ready.then(() => this.send({ type: 'open', file, japanese, check }));
  }

  // The stored names, read ahead of a run: { right, names }, right when
  // the password opens the archive.
  scan(password) {
    return this.ready.then(() => this.send({ type: 'scan', password }));
  }

  // A listing (output null) or an extraction into output, with the
  // stored names read in codePage.
  decode(password, output, codePage) {
    return this.ready.then(() => {
      this.output = output;
      return this.send({ type: 'decode', password, extract: output !== null, japanese: this.japanese, codePage });
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
    const settle = this.done;
    this.start();
    if (output) await output.cancel();
    if (this.file) {
      this.reopening = true;
      this.ready = this.send({ type: 'open', file: this.file, japanese: this.japanese, check: false })
        .finally(() => { this.reopening = false; });
    }
    if (settle) settle(result);
  }

  send(message) {
    return new Promise((resolve) => {
      this.done = resolve;
      this.worker.postMessage(message);
    });
  }

  settle(result) {
    const resolve = this.done;
    this.done = null;
    if (resolve) resolve(result);
  }

  receive(message) {
    const h = this.handlers;
    switch (message.type) {
      case 'progress': return h.progress(message.percent);
      case 'verdict': return h.verdict(message.noProblem, message.text);
      case 'skipped': return h.skipped(message.offset, message.count);
      case 'entry':
        if (!message.complete) this.entryStarted = message.entry;
        return h.entry(message.complete, message.entry);
      case 'create': case 'write': case 'finish': case 'abandon':
        return this.carryOut(message);
      case 'error':  // the module stopped mid-run: only a fresh one can go on
        // (unless a fresh one failed already: a module that cannot load
        // answers every request with its error instead)
        return this.reopening ? this.settle(message) : this.restart(message);
      default:
        return this.settle(message);
    }
  }

  // Output requests run one after another; the worker hears of each.
  carryOut(message) {
    const output = this.output;
    const worker = this.worker;
    const reply = (answer) => worker.postMessage(answer);
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
            await output.finish(message.times);
            return reply({ type: 'finished' });
          case 'abandon': return await output.abandon();
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
