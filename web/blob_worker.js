// Workers of the page's own scripts, made so that the page's policy holds
// in them.

// A module worker made from a blob: URL, so that it lives under the
// page's own policy (a worker loaded from its URL takes its policy from
// that response's headers, which many hosts do not send). Chromium loads
// no static import in such a worker; a dynamic one it does. A script that
// cannot be loaded says { type: 'failed', text }.
export function blobWorker(script) {
  const url = URL.createObjectURL(new Blob([
    `import(${JSON.stringify(new URL(script, import.meta.url).href)})
       .catch((error) => postMessage({ type: 'failed', text: String(error && error.message || error) }));`,
  ], { type: 'text/javascript' }));
  const worker = new Worker(url, { type: 'module' });
  URL.revokeObjectURL(url);
  return worker;
}
