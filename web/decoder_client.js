// The page's side of the decoder worker: one request at a time, the
// worker's reports passed to the page's handlers, and the output requests
// of an extraction carried out in order on the output the page chose.
// Cancelling ends the worker (the decode stops at once, wherever it is)
// and starts a fresh one that finds the archive again; so does a failure
// inside the module (out of memory).

export class DecoderClient {
  // handlers: progress(percent), verdict(noProblem, text),
  // skipped(offset, count), refused(name, problem), entry(complete, entry),
  // outputProblem(error).
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
    this.entryTimes = null;
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
      return this.send({ type: 'decode', extract: output !== null, japanese: this.japanese });
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
    if (output) await output.abandon();
    if (this.file) {
      this.reopening = true;
      // The fresh worker finds the archive, and reads its texts again
      // when a password was read.
      this.ready = this.send({ type: 'open', file: this.file, japanese: this.japanese, check: false })
        .then(() => this.password && this.send({ type: 'read', password: this.password, japanese: this.japanese }))
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
      case 'refused': return h.refused(message.name, message.problem);
      case 'entry':
        if (!message.complete) this.entryTimes = message.entry;
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
          case 'create': return reply({ type: 'created', ok: await output.create(message.path, this.entryTimes) });
          case 'write':
            await output.write(message.bytes);
            return reply({ type: 'written', count: message.bytes.length, ok: true });
          case 'finish':
            await output.finish(message.times);
            return reply({ type: 'finished' });
          case 'abandon': return await output.abandon();
        }
      } catch (error) {
        this.handlers.outputProblem(error);
        if (message.type === 'create') return reply({ type: 'created', ok: false });
        if (message.type === 'write') return reply({ type: 'written', count: message.bytes.length, ok: false });
        if (message.type === 'finish') return reply({ type: 'finished' });
      }
      return undefined;
    });
  }
}
