// The browser part of scripts/demo.sh: the demo archive opened on the
// page in headless Chromium, its check verdict, its entries, and its
// extraction as a .zip, whose files must equal the sample folder's byte
// for byte. Leaves a screenshot of the page in the demo's screenshots.
// Usage: node demo/web_demo.mjs ARCHIVE PASSWORD SAMPLE_DIR SCREENSHOT
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { chooseArchive, launchBrowser, noSavePickerScript, openPage, startServer, verdict } from '../page_driver/page_driver.mjs';
import { readZip } from '../page_driver/zip_reader.mjs';

const [archive, password, sample, screenshot] = process.argv.slice(2);
const server = await startServer();
const browser = await launchBrowser();
try {
  // The zip as a download, where the test can take it.
  const { page, requests } = await openPage(browser, server.url, { initScript: noSavePickerScript });
  await page.setViewportSize({ width: 900, height: 640 });
  await chooseArchive(page, archive);
  console.log(`check verdict: ${await verdict(page)}`);
  await page.fill('#password', password);
  await page.click('#show-entries');
  await page.waitForSelector('#entries-section:not([hidden])');
  const names = await page.$$eval('#entries tbody td.name', (cells) => cells.map((cell) => cell.textContent));
  console.log(`entries: ${names.join(', ')}`);
  await page.screenshot({ path: screenshot, fullPage: true });
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#extract-zip')]);
  const entries = readZip(readFileSync(await download.path()));
  for (const entry of entries) {
    assert.ok(Buffer.from(entry.bytes).equals(readFileSync(join(sample, entry.name))), `${entry.name} differs`);
  }
  console.log(`${entries.length} files from the page's .zip are identical to the sample`);
  const elsewhere = requests.filter((url) => !url.startsWith(server.url) && !url.startsWith('blob:'));
  assert.deepEqual(elsewhere, [], 'the page asked for something beyond its own files');
  console.log(`the page made ${requests.length} requests, all for its own files`);
} finally {
  await browser.close();
  server.close();
}
