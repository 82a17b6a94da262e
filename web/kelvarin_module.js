// Loads the core (kelvarin.js and kelvarin.wasm, fetched beside this
// script, whatever the glue would guess), with the objects its calls
// into JavaScript reach as Module.<name>. Rejects with the reason when the
// module cannot be loaded, where the glue itself would wait for ever.
import KelvarinModule from './kelvarin.js';

export function loadKelvarin(objects) {
  return new Promise((resolve, reject) => {
    KelvarinModule({
      ...objects,
      instantiateWasm(imports, done) {
        WebAssembly.instantiateStreaming(fetch(new URL('kelvarin.wasm', import.meta.url)), imports)
          .then((result) => done(result.instance, result.module), reject);
        return {};
      },
    }).then(resolve, reject);
  });
}
