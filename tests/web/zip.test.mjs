// The page's .zip as other readers see it, grouped by what went wrong
// before: offsets and sizes past 4 GiB, times after 2038 and before 1980,
// a damaged archive's good entries, and browsers without a save picker.
// The zip goes into a file "picked" in the browser's private file system.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { chooseArchive, fixtures, launchWithProfile, makeArchives, noSavePickerScript, openPage, privateFileBytes,
         root, savePickerScript, startTestBench, verdict } from '../../page_driver/page_driver.mjs';
import { readZip } from '../../page_driver/zip_reader.mjs';

let bench;
let server;
let browser;
let manifest;

before(async () => {
  bench = await startTestBench();
  ({ server, browser, manifest } = bench);
});
after(() => bench?.end());

// A run of gigabytes takes minutes; one that hangs fails.
const LONG_RUN = { timeout: 10 * 60 * 1000 };

// Opens the archive, lists it with the password and asks for the zip;
// resolves once the page has said how it went.
async function zipOf(page, archive) {
  await chooseArchive(page, archive);
  await verdict(page);
  await page.fill('#password', manifest.password);
  await page.click('#show-entries');
  // The entries, or what stopped the listing.
  await page.waitForFunction(() => !document.getElementById('entries-section').hidden ||
                                   document.querySelector('#messages li'), null, LONG_RUN);
  assert.equal(await page.textContent('#messages'), '');
  await page.click('#extract-zip');
  await page.waitForSelector('#messages li', LONG_RUN);
  return page.textContent('#messages');
}

const zipName = (entry) => Buffer.from(entry.name.slice(1)).toString('latin1').replaceAll('\\', '/');

// The file of the private file system that holds size bytes, on disk.
function fileOnDisk(profile, size) {
  const found = [];
  const walk = (folder) => {
    for (const entry of readdirSync(folder, { withFileTypes: true })) {
      const path = join(folder, entry.name);
      if (entry.isDirectory()) walk(path);
      else if (statSync(path).size === size) found.push(path);
    }
  };
  walk(join(profile, 'Default/File System'));
  assert.equal(found.length, 1);
  return found[0];
}

const PYTHON_CHECK = `
import json, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    print(json.dumps({"bad": z.testzip(),
                      "entries": [[i.filename, i.file_size, i.header_offset] for i in z.infolist()]}))`;

test('a zip over 4 GiB, one entry of 4 GiB - 1 bytes: Python and unzip -t accept it', async () => {
  const folder = join(root, 'build/web/huge');
  execFileSync(makeArchives, [folder, '--huge']);
  const zip64 = await launchWithProfile('zip64');
  try {
    const { page } = await openPage(null, server.url, { context: zip64.context, initScript: savePickerScript('huge.zip') });
    assert.equal(await zipOf(page, join(folder, 'huge.exe')), '2 file(s) saved in the .zip.');
    const size = await page.evaluate(async () =>
      (await (await (await navigator.storage.getDirectory()).getFileHandle('huge.zip')).getFile()).size);
    assert.ok(size > 2 ** 32, `${size} bytes`);
    const path = fileOnDisk(zip64.profile, size);
    const python = JSON.parse(execFileSync('python3', ['-c', PYTHON_CHECK, path]).toString());
    assert.equal(python.bad, null);
    assert.deepEqual(python.entries.map(([name, bytes]) => [name, bytes]), [['huge.bin', 2 ** 32 - 1], ['tail.txt', 1000]]);
    assert.ok(python.entries[1][2] > 2 ** 32, 'the second entry starts past 4 GiB');
    const unzip = execFileSync('unzip', ['-t', path]).toString();
    assert.match(unzip, /No errors detected/);
  } finally {
    await zip64.close();
  }
});

test('times after 2038 and before 1980 come back exactly from the NTFS field', async () => {
  const { context, page } = await openPage(browser, server.url, { initScript: savePickerScript('times.zip') });
  assert.equal(await zipOf(page, join(fixtures, 'times.exe')), '2 file(s) saved in the .zip.');
  const entries = readZip(await privateFileBytes(page, 'times.zip'));
  const wanted = manifest.archives['times.exe'];
  assert.deepEqual(entries.map((e) => e.name), wanted.map(zipName));
  assert.deepEqual(entries.map((e) => e.filetimes), wanted.map((e) => e.filetimes));
  // The extended timestamp carries only what 32-bit seconds can hold: no
  // write time of 2040 wrapped or stopped at 2038.
  assert.deepEqual(entries.map((e) => e.times?.written ?? null), [null, wanted[1].written]);
  // DOS dates stop at 1980.
  assert.equal(entries[1].dos.date, (0 << 9) | (1 << 5) | 1);
  await context.close();
});

test("a damaged archive's entries before the damage are saved in a zip marked partial", async () => {
  const { context, page } = await openPage(browser, server.url, { initScript: savePickerScript('damaged.zip') });
  assert.match(await zipOf(page, join(fixtures, 'tampered.exe')), /damaged: the \.zip is partial, with the 2 file/);
  const entries = readZip(await privateFileBytes(page, 'damaged.zip'));
  const wanted = manifest.archives['good.exe'].slice(0, 2);
  assert.deepEqual(entries.map((e) => e.name), wanted.map(zipName));
  entries.forEach((entry, i) => assert.ok(Buffer.from(entry.bytes).equals(readFileSync(join(fixtures, wanted[i].expected)))));
  assert.match(entries.comment, /^Partial/);
  await context.close();
});

test('without a save picker the zip is a download, named partial when it is', async () => {
  for (const [archive, name, count] of [['good.exe', 'good.zip', 3], ['tampered.exe', 'tampered (partial).zip', 2]]) {
    const { context, page } = await openPage(browser, server.url, { initScript: noSavePickerScript });
    const [download] = await Promise.all([page.waitForEvent('download', LONG_RUN), zipOf(page, join(fixtures, archive))]);
    assert.equal(download.suggestedFilename(), name);
    const entries = readZip(readFileSync(await download.path()));
    const wanted = manifest.archives['good.exe'];
    assert.equal(entries.length, count);
    entries.forEach((entry, i) => {
      assert.equal(entry.method, 0);
      assert.ok(Buffer.from(entry.bytes).equals(readFileSync(join(fixtures, wanted[i].expected))), entry.name);
      assert.deepEqual(entry.filetimes, wanted[i].filetimes);
      assert.deepEqual(entry.times, { flags: 7, written: wanted[i].written });
    });
    await context.close();
  }
});
