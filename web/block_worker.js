// A worker of the block pool (block_pool.js): deciphers and decompresses
// the batches of data blocks it is handed, with a module of its own, and
// hands the decoded bytes back (null for a block it could not decode).
import { loadKelvarin } from './kelvarin_module.js';

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
    return module.HEAPU8.slice(decoded, decoded + length);
  } catch (error) {
    return null;  // out of memory: the walk's worker decodes the block
  } finally {
    module._free(keyAt);
  }
}

self.onmessage = async ({ data: batch }) => {
  const module = await modulePromise;
  const results = batch.map((job) => decode(module, job));
  self.postMessage({ type: 'decoded', results }, results.filter(Boolean).map((bytes) => bytes.buffer));
};
modulePromise.then(() => self.postMessage({ type: 'ready' }),
                   (error) => self.postMessage({ type: 'failed', text: String(error && error.message || error) }));
