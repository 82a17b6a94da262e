// A worker of the block pool (block_pool.js): deciphers and decompresses
// the batches of data blocks it is handed, with a module of its own, and
// hands the decoded bytes back ({ bytes, broken }: broken when the
// block's stream did not hold up; for a block it could not decode, out of
// memory here, { stored } with the stored bytes, for the walk's worker) in
// groups of about RESULT_BYTES: a highly compressed batch decodes to many
// times its size, and the worker holds no more than one group of it.
import { loadKelvarin } from './kelvarin_module.js';

const RESULT_BYTES = 1 << 20;
const modulePromise = loadKelvarin({});

function decode(module, { bytes, key }) {
  const keyAt = module._malloc(key.length + 1);
  try {
    module.HEAPU8.set(key, keyAt);
    module.HEAPU8[keyAt + key.length] = 0;
    const at = module._kelvarin_block_buffer(bytes.length) >>> 0;
    module.HEAPU8.set(bytes, at);
    const length = module._kelvarin_decode_block(keyAt) >>> 0;
    const decoded = module._kelvarin_decoded_block() >>> 0;
    return { bytes: module.HEAPU8.slice(decoded, decoded + length), broken: module._kelvarin_decoded_block_broken() === 1 };
  } catch (error) {
    return { stored: bytes, reason: String(error && error.message || error) };
  } finally {
    module._free(keyAt);
  }
}

self.onmessage = async ({ data: batch }) => {
  const module = await modulePromise;
  let results = [];
  let held = 0;
  batch.forEach((job, i) => {
    const result = decode(module, job);
    results.push(result);
    held += result.bytes ? result.bytes.length : 0;
    const last = i === batch.length - 1;
    if (held < RESULT_BYTES && !last) return;
    self.postMessage({ type: 'decoded', results, last }, results.map((result) => (result.stored || result.bytes).buffer));
    results = [];
    held = 0;
  });
};
modulePromise.then(() => self.postMessage({ type: 'ready' }),
                   (error) => self.postMessage({ type: 'failed', text: String(error && error.message || error) }));
