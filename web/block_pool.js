// The pool of Web Workers that decode data blocks for the walk's worker;
// web/wasm/pool_decoders.cpp calls it as Module.kelvarinPool. Each pool
// worker (block_worker.js) runs a module of its own and takes a batch of
// jobs at a time (about BATCH_BYTES of stored bytes: a message costs
// about as much as decoding a small block), in the order they were
// started. Jobs without bytes, and those no worker has taken, are left to
// the walk's worker, which takes queued jobs itself while it waits.
//
// The walk's worker hears from the pool only when its module yields to
// the event loop, so it yields at least every YIELD_MS while a batch is
// out: to take results in and hand the next batch over. No batch goes out
// while HELD_BYTES of decoded bytes wait for the walk: a fast pool and a
// slow output must not fill the memory.
import { blobWorker } from './blob_worker.js';

const BATCH_BYTES = 1 << 20;
const YIELD_MS = 2;
const HELD_BYTES = 64 << 20;
const WAIT_MS = 50;

export class BlockPool {
  constructor(size) {
    this.queue = [];           // { id, bytes, key, local } not yet taken
    this.results = new Map();  // id -> { bytes, broken }
    this.held = 0;             // their bytes
    this.reclaimed = null;
    this.idle = [];
    this.out = 0;              // batches in pool workers
    this.resultCame = null;
    this.lastYield = performance.now();
    // One channel for every turn of the event loop: a channel made for one
    // turn and dropped may be collected before its message comes.
    this.turn = new MessageChannel();
    this.turnCame = null;
    this.turn.port1.onmessage = () => this.turnCame?.();
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
          this.receive(worker, data);
        } else {
          resolve();  // 'failed'
        }
      };
    });
  }

  start(id, bytes, key) {
    this.queue.push({ id, bytes, key, local: bytes === null });
    this.dispatch();
  }

  // The oldest job no pool worker took, forgotten here; 0 when none. Its
  // stored bytes, if it had any here, are `reclaimed` until reclaim.
  takeQueued() {
    const job = this.queue.shift();
    this.reclaimed = job && job.bytes;
    return job ? job.id : 0;
  }

  reclaimedLength() {
    return this.reclaimed.length;
  }

  reclaim(heap, target) {
    heap.set(this.reclaimed, target);
    this.reclaimed = null;
  }

  resultLength(id) {
    const result = this.results.get(id);
    return result ? result.bytes.length : -1;
  }

  broken(id) {
    return this.results.get(id).broken;
  }

  take(id, heap, target) {
    const { bytes } = this.results.get(id);
    heap.set(bytes, target);
    this.results.delete(id);
    this.held -= bytes.length;
    this.dispatch();
  }

  shouldYield() {
    return this.out > 0 && performance.now() - this.lastYield >= YIELD_MS;
  }

  // For one turn of the event loop, with a batch out but work queued
  // here; else until results come (or WAIT_MS, should a result have come
  // unseen).
  async yieldToPool() {
    if (this.out > 0 && this.queue.length > 0) {
      await new Promise((resolve) => {
        this.turnCame = resolve;
        this.turn.port2.postMessage(null);
      });
      this.turnCame = null;
    } else if (this.out > 0) {
      await new Promise((resolve) => {
        this.resultCame = resolve;
        setTimeout(resolve, WAIT_MS);
      });
      this.resultCame = null;
    }
    this.lastYield = performance.now();
  }

  dispatch() {
    while (this.idle.length > 0 && this.held < HELD_BYTES) {
      const batch = [];
      let bytes = 0;
      for (let i = 0; i < this.queue.length && bytes < BATCH_BYTES;) {
        if (this.queue[i].local) {
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

  // A group of results, in the batch's order. Jobs that failed in a pool
  // worker (out of memory there) come back with their stored bytes and go
  // back to the queue, for the walk's worker.
  receive(worker, { results, last }) {
    for (const result of results) {
      const job = worker.batch.shift();
      if (result.stored) {
        console.warn(`a pool worker could not decode a block (${result.reason}); this worker will`);
        this.queue.unshift({ id: job.id, bytes: result.stored, local: true });
      } else {
        this.results.set(job.id, result);
        this.held += result.bytes.length;
      }
    }
    if (last) {
      this.out -= 1;
      this.becomeIdle(worker);
    }
    const resolve = this.resultCame;
    this.resultCame = null;
    if (resolve) resolve();
  }

  becomeIdle(worker) {
    this.idle.push(worker);
    this.dispatch();
  }
}
