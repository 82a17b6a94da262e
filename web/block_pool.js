// The pool of Web Workers that decode data blocks for the walk's worker;
// browser/pool_decoders.cpp calls it as Module.kelvarinPool. Each pool
// worker (block_worker.js) runs a module of its own and takes a batch of
// jobs at a time (about BATCH_BYTES of stored bytes: a message costs
// about as much as decoding a small block), in the order they were
// started. Jobs without bytes, and those no worker has taken, are left to
// the walk's worker, which takes queued jobs itself while it waits.
//
// The walk's worker hears from the pool only when its module yields to
// the event loop, so it yields at least every YIELD_MS while a batch is
// out: to take results in and hand the next batch over.
import { blobWorker } from './blob_worker.js';

const BATCH_BYTES = 1 << 20;
const YIELD_MS = 2;

export class BlockPool {
  constructor(size) {
    this.queue = [];           // { id, bytes, key } not yet taken
    this.results = new Map();  // id -> decoded bytes
    this.idle = [];
    this.out = 0;              // batches in pool workers
    this.resultCame = null;
    this.lastYield = performance.now();
    const ready = [];
    for (let i = 0; i < size; ++i) ready.push(this.add(blobWorker('block_worker.js')));
    // A worker that cannot load takes no job; the walk's worker does them.
    this.ready = Promise.all(ready);
  }

  add(worker) {
    return new Promise((resolve) => {
      worker.onmessage = ({ data }) => {
        if (data.type === 'ready') {
          this.becomeIdle(worker);
          resolve();
        } else if (data.type === 'decoded') {
          this.finish(worker, data.results);
        } else {
          resolve();  // 'failed'
        }
      };
    });
  }

  start(id, bytes, key) {
    this.queue.push({ id, bytes, key });
    this.dispatch();
  }

  // The oldest job no pool worker took, forgotten here; 0 when none.
  takeQueued() {
    const job = this.queue.shift();
    return job ? job.id : 0;
  }

  resultLength(id) {
    const bytes = this.results.get(id);
    return bytes ? bytes.length : -1;
  }

  take(id, heap, target) {
    heap.set(this.results.get(id), target);
    this.results.delete(id);
  }

  shouldYield() {
    return this.out > 0 && performance.now() - this.lastYield >= YIELD_MS;
  }

  // Until a batch comes back, or (with a batch out but work queued) for
  // one turn of the event loop.
  async yieldToPool() {
    if (this.out > 0 && this.queue.length > 0) {
      await new Promise((resolve) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
      });
    } else if (this.out > 0) {
      await new Promise((resolve) => { this.resultCame = resolve; });
    }
    this.lastYield = performance.now();
  }

  dispatch() {
    while (this.idle.length > 0) {
      const batch = [];
      let bytes = 0;
      for (let i = 0; i < this.queue.length && bytes < BATCH_BYTES;) {
        if (this.queue[i].bytes === null) {
          ++i;
        } else {
          const [job] = this.queue.splice(i, 1);
          batch.push(job);
          bytes += job.bytes.length;
        }
      }
      if (batch.length === 0) return;
      const worker = this.idle.pop();
      worker.batch = batch;
      this.out += 1;
      worker.postMessage(batch, batch.map((job) => job.bytes.buffer));
    }
  }

  // Jobs that failed in a pool worker (out of memory there) go back to
  // the queue, for the walk's worker.
  finish(worker, results) {
    this.out -= 1;
    worker.batch.forEach((job, i) => {
      if (results[i]) this.results.set(job.id, results[i]);
      else this.queue.unshift({ id: job.id, bytes: null });
    });
    worker.batch = null;
    this.becomeIdle(worker);
    const resolve = this.resultCame;
    this.resultCame = null;
    if (resolve) resolve();
  }

  becomeIdle(worker) {
    this.idle.push(worker);
    this.dispatch();
  }
}
