// Decode throughput of the browser page in headless Chromium against the
// native tool (`kelvarin extract --threads 1`) on the same archive, in one
// run, and the peak memory of each. The browser lists the archive (the
// look-ahead for names, then a decode that writes nothing) and extracts it
// into a folder (one decode with writes, into the origin-private file
// system handed to the page as the picked folder); the native tool reads
// the names ahead too and extracts into a folder on disk. Rounds
// alternate, medians are shown.
// Usage: node bench/web_throughput.mjs [PAYLOAD_MIB] (default 150, an archive of
// about 64 MiB; needs build/native and build/web). Environment: ROUNDS (3),
// BENCH_DIR (/tmp/kelvarin-web-bench).
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { chooseArchive, launchWithProfile, openPage, root, startServer, verdict } from '../tests/web/harness.mjs';

const payloadMib = Number(process.argv[2] || 150);
const rounds = Number(process.env.ROUNDS || 3);
const work = process.env.BENCH_DIR || '/tmp/kelvarin-web-bench';
const kelvarin = join(root, 'build/native/kelvarin');

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
execFileSync(join(root, 'build/native/make_web_archives'), [work, '--big', String(payloadMib)]);
const archive = join(work, 'big.exe');
const { password } = JSON.parse(readFileSync(join(work, 'manifest.json'), 'utf8'));
writeFileSync(join(work, 'password.txt'), `${password}\n`);
const archiveMib = statSync(archive).size / 1048576;
const payload = payloadMib * 1048576;

// Seconds and peak resident memory (KiB) of one native extraction.
function nativeRound() {
  const out = join(work, 'native-out');
  rmSync(out, { recursive: true, force: true });
  const run = spawnSync('/usr/bin/time', ['-f', '%e %M', kelvarin, 'extract', archive, '--output', out,
                                         '--threads', '1', '--password-file', join(work, 'password.txt')],
                        { stdio: ['ignore', 'ignore', 'pipe'] });
  if (run.status !== 0) throw new Error(`kelvarin extract failed: ${run.stderr}`);
  const report = run.stderr.toString();
  const [seconds, kib] = report.trim().split('\n').pop().split(' ').map(Number);
  rmSync(out, { recursive: true, force: true });
  return { seconds, kib };
}

// The largest peak resident memory (KiB) of the browser's processes.
function chromiumPeaks() {
  const peaks = { renderer: 0, other: 0 };
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const command = readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      if (!command.startsWith('/usr/lib/chromium/chromium')) continue;
      const kib = Number(/VmHWM:\s+(\d+)/.exec(readFileSync(`/proc/${pid}/status`, 'utf8'))[1]);
      const kind = command.includes('--type=renderer') ? 'renderer' : 'other';
      peaks[kind] = Math.max(peaks[kind], kib);
    } catch {
      // the process ended meanwhile
    }
  }
  return peaks;
}

const picker = `window.showDirectoryPicker = async () =>
  (await navigator.storage.getDirectory()).getDirectoryHandle('picked', { create: true });`;

// One fresh browser: seconds to list and to extract, and its peaks. Its
// profile is on disk, as a user's is, so that the extracted files are too.
async function browserRound(server) {
  const browser = await launchWithProfile('bench');
  try {
    const { page, finished } = await openPage(null, server.url, { initScript: picker, context: browser.context });
    await chooseArchive(page, archive);
    await verdict(page);
    let transfer = 0;
    for (const request of finished) {
      const sizes = await request.sizes();
      transfer += sizes.responseBodySize + sizes.responseHeadersSize;
    }
    await page.fill('#password', password);
    let start = Date.now();
    await page.click('#show-entries');
    await page.waitForSelector('#entries-section:not([hidden])', { timeout: 0 });
    const list = (Date.now() - start) / 1000;
    start = Date.now();
    await page.click('#extract-folder');
    await page.waitForFunction(() => document.querySelector('#messages li, #verdict.problem'), null,
                               { timeout: 0, polling: 50 });
    const extract = (Date.now() - start) / 1000;
    const said = await page.textContent('#messages');
    if (!said.startsWith('Extracted 4')) {
      throw new Error(`the page's extraction failed: ${said} ${await page.textContent('#verdict')}`);
    }
    return { list, extract, transfer, ...chromiumPeaks() };
  } finally {
    await browser.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const server = await startServer();
const native = [];
const web = [];
try {
  for (let round = 0; round < rounds; ++round) {
    native.push(nativeRound());
    web.push(await browserRound(server));
  }
} finally {
  server.close();
}
const mibPerSecond = (seconds) => (payload / 1048576 / seconds).toFixed(1);
const nativeSeconds = median(native.map((r) => r.seconds));
const listSeconds = median(web.map((r) => r.list));
const extractSeconds = median(web.map((r) => r.extract));
console.log(`archive ${archiveMib.toFixed(1)} MiB holding ${payloadMib} MiB of files; ${rounds} rounds, medians`);
console.log(`kelvarin extract --threads 1   ${nativeSeconds.toFixed(2)} s  ${mibPerSecond(nativeSeconds)} MiB/s  ` +
            `peak ${(Math.max(...native.map((r) => r.kib)) / 1024).toFixed(0)} MiB`);
console.log(`Chromium: list (names, decode)  ${listSeconds.toFixed(2)} s  ${mibPerSecond(listSeconds)} MiB/s  ` +
            `ratio to native ${(nativeSeconds / listSeconds).toFixed(2)}`);
console.log(`Chromium: extract into folder  ${extractSeconds.toFixed(2)} s  ${mibPerSecond(extractSeconds)} MiB/s  ` +
            `ratio to native ${(nativeSeconds / extractSeconds).toFixed(2)}`);
console.log(`Chromium peak resident memory: renderer (page and worker) ` +
            `${(Math.max(...web.map((r) => r.renderer)) / 1024).toFixed(0)} MiB, largest other process ` +
            `${(Math.max(...web.map((r) => r.other)) / 1024).toFixed(0)} MiB`);
console.log(`page transfer (uncompressed, headers included): ${web[0].transfer} bytes; ` +
            `kelvarin.wasm ${statSync(join(root, 'build/web/page/kelvarin.wasm')).size} bytes`);
rmSync(work, { recursive: true, force: true });
