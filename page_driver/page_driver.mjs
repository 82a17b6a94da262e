// What the browser tests, the demo and the browser benchmark share: a
// static server for the built page (the only origin the page may reach),
// Debian's Chromium driven headless through playwright-core, with its
// profile and caches under build/, and a record of every request the page
// makes.
import { execFileSync } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { extname, join, normalize, resolve } from 'node:path';
import { chromium } from 'playwright-core';

export const root = resolve(new URL('..', import.meta.url).pathname);
export const pageDir = join(root, 'build/web/page');
export const fixtures = join(root, 'build/web/fixtures');
export const makeArchives = join(root, 'build/native/make_web_archives');
const browserHome = join(root, 'build/web/browser-home');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

// The headers the page ships for static hosts (build/web/page/_headers):
// this server sends them as such a host would.
function pageHeaders() {
  const lines = readFileSync(join(pageDir, '_headers'), 'utf8').split('\n').filter((line) => line.startsWith('  '));
  return Object.fromEntries(lines.map((line) => line.trim().split(/: (.*)/s).slice(0, 2)));
}

// Serves pageDir on a free port; every response is counted by path.
// Without sendHeaders, as a host that sends none of the page's headers.
export async function startServer({ sendHeaders = true } = {}) {
  const served = [];
  const headers = sendHeaders ? pageHeaders() : {};
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(pageDir, path === '/' ? 'index.html' : path);
    served.push(path);
    if (!file.startsWith(pageDir) || !statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { ...headers, 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    response.end(readFileSync(file));
  });
  await new Promise((ready) => server.listen(0, '127.0.0.1', ready));
  return { url: `http://127.0.0.1:${server.address().port}/`, served, close: () => server.close() };
}

function launchOptions() {
  for (const folder of ['config', 'cache', 'data']) mkdirSync(join(browserHome, folder), { recursive: true });
  return {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-default-apps', '--disable-sync', '--no-first-run', '--metrics-recording-only'],
    env: { ...process.env, HOME: browserHome, XDG_CONFIG_HOME: join(browserHome, 'config'),
           XDG_CACHE_HOME: join(browserHome, 'cache'), XDG_DATA_HOME: join(browserHome, 'data') },
  };
}

// A browser whose contexts keep their storage in memory.
export function launchBrowser() {
  return chromium.launch(launchOptions());
}

// A browser of one context whose storage is on disk, in a new profile
// under build/: the private file system of large extractions lives there.
export async function launchWithProfile(name) {
  const profile = join(browserHome, 'profiles', name);
  rmSync(profile, { recursive: true, force: true });
  const context = await chromium.launchPersistentContext(profile, { ...launchOptions(), acceptDownloads: true });
  return { context, profile, close: async () => { await context.close(); rmSync(profile, { recursive: true, force: true }); } };
}

// A page in a fresh context (or in the given one) whose requests (the
// page's and its worker's) are all recorded, in the given language:
// their addresses, and the finished requests themselves.
export async function openPage(browser, url, { locale = 'en-US', initScript, context: given } = {}) {
  const context = given || await browser.newContext({ locale, acceptDownloads: true });
  const requests = [];
  const finished = [];
  context.on('request', (request) => requests.push(request.url()));
  context.on('requestfinished', (request) => finished.push(request));
  if (initScript) await context.addInitScript(initScript);
  const page = await context.newPage();
  page.on('worker', (worker) => worker.on('console', () => {}));
  await page.goto(url);
  return { page, context, requests, finished };
}

// Chooses an archive in the page's file input.
export async function chooseArchive(page, path) {
  await page.setInputFiles('#archive-input', path);
}

// Waits for the verdict line to hold text and returns it.
export async function verdict(page) {
  await page.waitForFunction(() => document.getElementById('verdict').textContent !== '', null, { timeout: 30000 });
  return page.textContent('#verdict');
}

// The save picker answers with a file in the browser's private file system,
// as a user's choice of a file would: the same API. `window.savePicked`
// says that it was asked.
export function savePickerScript(name) {
  return `window.showSaveFilePicker = async () => {
    window.savePicked = true;
    return (await navigator.storage.getDirectory()).getFileHandle(${JSON.stringify(name)}, { create: true });
  };`;
}

// A browser without the save picker, which downloads the zip instead.
export const noSavePickerScript = 'delete window.showSaveFilePicker;';

// The bytes of a file in the page's private file system.
export async function privateFileBytes(page, name) {
  const bytes = await page.evaluate(async (file) => {
    const handle = await (await navigator.storage.getDirectory()).getFileHandle(file);
    return Array.from(new Uint8Array(await (await handle.getFile()).arrayBuffer()));
  }, name);
  return Uint8Array.from(bytes);
}

// What a file of page tests starts from: the fixtures written afresh and
// their manifest, the page's server and one browser; end() closes them.
export async function startTestBench() {
  execFileSync(makeArchives, [fixtures]);
  const manifest = JSON.parse(readFileSync(join(fixtures, 'manifest.json'), 'utf8'));
  const server = await startServer();
  const browser = await launchBrowser();
  return { manifest, server, browser, end: async () => { await browser.close(); server.close(); } };
}
