// The page loads its own files and nothing else, wherever it is hosted:
// its worker, where the decoding runs, is under the page's policy even
// when no header says so, and with the headers it ships no other site can
// frame it.
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { after, before, test } from 'node:test';
import { launchBrowser, openPage, startServer } from '../../page_driver/page_driver.mjs';

let server;
let plainServer;  // the page from a host that sends no header
let browser;
let elsewhere;     // a listener of another origin
let reached = 0;   // requests it saw
let framer;        // a site of another origin that frames the page

before(async () => {
  server = await startServer();
  plainServer = await startServer({ sendHeaders: false });
  browser = await launchBrowser();
  elsewhere = createServer((request, response) => {
    reached += 1;
    response.writeHead(200, { 'Access-Control-Allow-Origin': '*' }).end('reached');
  });
  await new Promise((ready) => elsewhere.listen(0, '127.0.0.1', ready));
  framer = createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html' }).end(`<iframe src="${server.url}"></iframe>`);
  });
  await new Promise((ready) => framer.listen(0, '127.0.0.1', ready));
});
after(async () => {
  await browser?.close();
  server?.close();
  plainServer?.close();
  elsewhere?.close();
  framer?.close();
});

const otherOrigin = () => `http://127.0.0.1:${elsewhere.address().port}/x`;

// The decoder's worker, once the page has started it.
async function decoderWorker(page) {
  if (page.workers().length === 0) await page.waitForEvent('worker');
  return page.workers()[0];
}

test('a request from inside the worker to another origin is blocked', async () => {
  for (const host of [server, plainServer]) {
    const { context, page } = await openPage(browser, host.url);
    const worker = await decoderWorker(page);
    const outcome = await worker.evaluate((url) => fetch(url).then(() => 'reached', () => 'blocked'), otherOrigin());
    assert.equal(outcome, 'blocked', host === server ? 'with headers' : 'without headers');
    await context.close();
  }
  assert.equal(reached, 0);
});

test('no other page can frame it', async () => {
  const { context, page } = await openPage(browser, `http://127.0.0.1:${framer.address().port}/`);
  const frame = page.frames()[1];
  await frame.waitForLoadState('load');
  // A framed page would show its title; a refused one is the browser's error page.
  const title = await frame.evaluate(() => document.getElementById('title')?.textContent ?? null).catch(() => null);
  assert.equal(title, null);
  await context.close();
});
