// Decode throughput of the browser page in headless Chromium against the
// native tool on the same archive, in one run, at one thread and at one
// per core, and the peak memory of each. The page checks the archive (the
// verdict on choosing it), lists it (the look-ahead for names, then a
// decode that writes nothing) and extracts it into a folder (one decode
// with writes, into the origin-private file system handed to the page as
// the picked folder); the native tool checks it, and extracts it with the
// names read ahead too, into a folder on disk. Rounds alternate, medians
// are shown.
// Usage: node bench/web_throughput.mjs [PAYLOAD_MIB] (default 150, an archive of
// about 64 MiB; needs build/native and build/web). Environment: ROUNDS (3),
// BENCH_DIR (/tmp/kelvarin-web-bench), BLOCK_MIB (an archive of one entry
// in one data block of that many MiB instead, for the memory a big block
// takes).
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { availableParallelism, loadavg } from 'node:os';
import { join } from 'node:path';
import { chooseArchive, launchWithProfile, openPage, root, startServer, verdict } from '../page_driver/page_driver.mjs';

const payloadMib = Number(process.argv[2] || 150);
const rounds = Number(process.env.ROUNDS || 3);
const work = process.env.BENCH_DIR || '/tmp/kelvarin-web-bench';
const kelvarin = join(root, 'build/native/kelvarin');

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const blockMib = Number(process.env.BLOCK_MIB || 0);
execFileSync(join(root, 'build/native/make_web_archives'),
             blockMib ? [work, '--block', String(blockMib)] : [work, '--big', String(payloadMib)]);
const archive = join(work, blockMib ? 'block.exe' : 'big.exe');
const entryCount = blockMib ? 1 : 4;
const { password } = JSON.parse(readFileSync(join(work, 'manifest.json'), 'utf8'));
writeFileSync(join(work, 'password.txt'), `${password}\n`);
const archiveMib = statSync(archive).size / 1048576;
const payload = (blockMib || payloadMib) * 1048576;

const cores = availableParallelism();

// Seconds (to the microsecond: a check takes milliseconds) and peak
// resident memory (KiB) of one run of the tool.
function timed(args) {
  const start = process.hrtime.bigint();
  const run = spawnSync('/usr/bin/time', ['-f', '%M', kelvarin, ...args], { stdio: ['ignore', 'ignore', 'pipe'] });
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  if (run.status !== 0) throw new Error(`kelvarin ${args[0]} failed: ${run.stderr}`);
  return { seconds, kib: Number(run.stderr.toString().trim().split('\n').pop()) };
}

function nativeRound(threads) {
  const out = join(work, 'native-out');
  rmSync(out, { recursive: true, force: true });
  const extract = timed(['extract', archive, '--output', out, '--threads', String(threads),
                         '--password-file', join(work, 'password.txt')]);
  rmSync(out, { recursive: true, force: true });
  return { extract: extract.seconds, kib: extract.kib, check: timed(['check', archive]).seconds };
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
async function browserRound(server, threads) {
  const browser = await launchWithProfile('bench');
  try {
    const { page, finished } = await openPage(null, `${server.url}?threads=${threads}`,
                                              { initScript: picker, context: browser.context });
    let start = Date.now();
    await chooseArchive(page, archive);
    await verdict(page);
    const check = (Date.now() - start) / 1000;
    let transfer = 0;
    for (const request of finished) {
      const sizes = await request.sizes();
      transfer += sizes.responseBodySize + sizes.responseHeadersSize;
    }
    await page.fill('#password', password);
    start = Date.now();
    await page.click('#show-entries');
    await page.waitForSelector('#entries-section:not([hidden])', { timeout: 0 });
    const list = (Date.now() - start) / 1000;
    start = Date.now();
    await page.click('#extract-folder');
    await page.waitForFunction(() => document.querySelector('#messages li, #verdict.problem'), null,
                               { timeout: 0, polling: 50 });
    const extract = (Date.now() - start) / 1000;
    const said = await page.textContent('#messages');
    if (!said.startsWith(`Extracted ${entryCount}`)) {
      throw new Error(`the page's extraction failed: ${said} ${await page.textContent('#verdict')}`);
    }
    return { check, list, extract, transfer, ...chromiumPeaks() };
  } finally {
    await browser.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const server = await startServer();
const results = { 1: { native: [], web: [] }, [cores]: { native: [], web: [] } };
try {
  for (let round = 0; round < rounds; ++round) {
    for (const threads of Object.keys(results).map(Number)) {
      results[threads].native.push(nativeRound(threads));
      results[threads].web.push(await browserRound(server, threads));
    }
  }
} finally {
  server.close();
}
const rate = (seconds) => `${seconds.toFixed(2)} s  ${(payload / 1048576 / seconds).toFixed(1)} MiB/s`;
const mib = (kib) => `${(kib / 1024).toFixed(0)} MiB`;
console.log(`archive ${archiveMib.toFixed(1)} MiB holding ${blockMib || payloadMib} MiB of files${blockMib ? ' in one block' : ''}; ${cores} cores; ` +
            `load ${loadavg()[0].toFixed(2)} at the end; ${rounds} rounds, medians`);
for (const [threads, { native, web }] of Object.entries(results)) {
  const nativeExtract = median(native.map((r) => r.extract));
  const webExtract = median(web.map((r) => r.extract));
  const nativeCheck = median(native.map((r) => r.check));
  const webCheck = median(web.map((r) => r.check));
  console.log(`--threads ${threads}:`);
  console.log(`  kelvarin extract             ${rate(nativeExtract)}  peak ${mib(Math.max(...native.map((r) => r.kib)))}`);
  console.log(`  page: extract into a folder  ${rate(webExtract)}  ratio to the tool ${(nativeExtract / webExtract).toFixed(2)}`);
  console.log(`  page: list (names, decode)   ${rate(median(web.map((r) => r.list)))}`);
  console.log(`  check: tool ${nativeCheck.toFixed(3)} s, page ${webCheck.toFixed(3)} s (from choosing the file to the ` +
              `verdict), ratio ${(nativeCheck / webCheck).toFixed(2)}`);
  console.log(`  page peak resident memory: renderer (page and workers) ${mib(Math.max(...web.map((r) => r.renderer)))}, ` +
              `largest other process ${mib(Math.max(...web.map((r) => r.other)))}`);
}
const web = results[1].web;
console.log(`page transfer (uncompressed, headers included): ${web[0].transfer} bytes; ` +
            `kelvarin.wasm ${statSync(join(root, 'build/web/page/kelvarin.wasm')).size} bytes`);
rmSync(work, { recursive: true, force: true });
