// End-to-end tests of the browser page in headless Chromium: verdicts,
// passwords, extraction into a folder (bytes, names),
// Japanese names, names that try to leave the folder, a cancelled run, and
// the page's silence on the network. The folder the page extracts into is
// the browser's origin-private file system, handed to the page in place
// of the folder picker's answer: the same API as a folder a user picks.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { chooseArchive, fixtures, noSavePickerScript, openPage, pageDir, root, startTestBench, verdict }
  from '../../page_driver/page_driver.mjs';
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

// The picker answers with a folder "picked" below the private root, so
// that a name climbing out of it would land in the root, where the test
// looks. With stall, every write waits for ever.
function pickerScript(stall) {
  return `(() => {
    const stall = ${stall};
    const stalling = (folder) => ({
      kind: 'directory',
      name: folder.name,
      getDirectoryHandle: async (name, options) => stalling(await folder.getDirectoryHandle(name, options)),
      getFileHandle: async (name, options) => {
        const file = await folder.getFileHandle(name, options);
        return { createWritable: async () => {
          const stream = await file.createWritable();
          window.writing = true;
          return { write: () => new Promise(() => {}), close: () => stream.close(), abort: () => stream.abort() };
        } };
      },
      removeEntry: (name, options) => folder.removeEntry(name, options),
    });
    window.showDirectoryPicker = async () => {
      const picked = await (await navigator.storage.getDirectory()).getDirectoryHandle('picked', { create: true });
      return stall ? stalling(picked) : picked;
    };
  })();`;
}

// Everything in the private file system: path -> bytes (as arrays).
function privateFiles(page) {
  return page.evaluate(async () => {
    const files = {};
    const walk = async (folder, prefix) => {
      for await (const [name, handle] of folder.entries()) {
        if (handle.kind === 'directory') await walk(handle, `${prefix}${name}/`);
        else files[prefix + name] = Array.from(new Uint8Array(await (await handle.getFile()).arrayBuffer()));
      }
    };
    await walk(await navigator.storage.getDirectory(), '');
    return files;
  });
}

async function openArchive(file, options = {}) {
  const opened = await openPage(browser, server.url, options);
  await chooseArchive(opened.page, join(fixtures, file));
  return opened;
}

async function listEntries(page, password = manifest.password) {
  await page.fill('#password', password);
  await page.click('#show-entries');
  await page.waitForSelector('#entries-section:not([hidden])');
}

// An extraction ends with a line below the page or a problem verdict.
function extractionEnd(page) {
  return page.waitForFunction(() => document.querySelector('#messages li, #verdict.problem'));
}

const expected = (entry) => readFileSync(join(fixtures, entry.expected));
const zipName = (entry) => Buffer.from(entry.name.slice(1)).toString('latin1').replaceAll('\\', '/');

describe('the check verdict comes at once, without a password', () => {
  for (const [file, words, passwordShown] of [
    ['good.exe', 'No problem at fle.', true],
    ['tampered.exe', 'Anyone cooked this file.', true],
    ['manifest.json', 'This is not Kelvarin file.', false],
  ]) {
    test(file, async () => {
      const { context, page } = await openArchive(file);
      assert.equal(await verdict(page), words);
      assert.equal(await page.isVisible('#password'), passwordShown);
      await context.close();
    });
  }

  test('in Japanese when the browser speaks Japanese', async () => {
    const { context, page } = await openArchive('tampered.exe', { locale: 'ja-JP' });
    assert.equal(await verdict(page), 'このファイルはオリジナルと異なっています．');
    // The page's own words too, those of a run among them.
    assert.equal(await page.textContent('#cancel'), '中止');
    assert.match(await page.textContent('#progress-text'), /^検査中… +\d+ %$/);
    await context.close();
  });
});

test('a wrong password shows the verdict and no entries', async () => {
  const { context, page } = await openArchive('good.exe');
  await verdict(page);
  await page.fill('#password', 'not the password');
  await page.click('#show-entries');
  await page.waitForFunction(() => document.getElementById('verdict').textContent.startsWith('Wrong password'));
  assert.equal(await page.isVisible('#entries-section'), false);
  await context.close();
});

describe('a good archive', () => {
  test('lists its entries with names and sizes', async () => {
    const { context, page } = await openArchive('good.exe');
    await verdict(page);
    await listEntries(page);
    // A phone-sized screen shows the page without sideways scrolling.
    await page.setViewportSize({ width: 360, height: 740 });
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 360));
    const rows = await page.$$eval('#entries tbody tr', (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
    assert.deepEqual(rows.map((cells) => [cells[0], cells[1]]),
                     manifest.archives['good.exe'].map((e) => [`\\${zipName(e).replaceAll('/', '\\')}`, e.size.toLocaleString('en-US')]));
    await context.close();
  });

  test('extracts into the picked folder with sub-folders and exact bytes', async () => {
    const { context, page } = await openArchive('good.exe', { initScript: pickerScript(false) });
    await verdict(page);
    await listEntries(page);
    await page.click('#extract-folder');
    await extractionEnd(page);
    assert.equal(await page.textContent('#messages'), 'Extracted 3 file(s) into the chosen folder.');
    const files = await privateFiles(page);
    const wanted = manifest.archives['good.exe'];
    assert.deepEqual(Object.keys(files).sort(), wanted.map((e) => `picked/${zipName(e)}`).sort());
    for (const entry of wanted) assert.ok(Buffer.from(files[`picked/${zipName(entry)}`]).equals(expected(entry)));
    // Again into the same folder: one question for all existing files;
    // kept, each named.
    const asked = [];
    page.on('dialog', (dialog) => asked.push(dialog.message()) && dialog.dismiss());
    await page.click('#extract-folder');
    await page.waitForFunction(() => document.getElementById('messages').textContent.includes('Extracted'));
    assert.equal(asked.length, 1);
    assert.match(asked[0], /Replace every file that exists\?/);
    assert.equal((await page.textContent('#messages')).match(/kept, not replaced\./g).length, 3);
    assert.deepEqual(await privateFiles(page), files);
    // The button that started the run has the focus again.
    assert.equal(await page.evaluate(() => document.activeElement.id), 'extract-folder');
    await context.close();
  });
});

test('a Japanese archive shows and writes its names in Japanese', async () => {
  const { context, page } = await openArchive('japanese.exe', { locale: 'ja-JP', initScript: pickerScript(false) });
  assert.equal(await verdict(page), 'ファイルは正常です．');
  await listEntries(page, 'ひみつ');
  assert.equal(await page.textContent('#entries tbody td.name'), '\\ソフト\\表.txt');
  await page.click('#extract-folder');
  await extractionEnd(page);
  assert.match(await page.textContent('#messages'), /展開しました/);
  const files = await privateFiles(page);
  assert.deepEqual(Object.keys(files), ['picked/ソフト/表.txt']);
  assert.ok(Buffer.from(files['picked/ソフト/表.txt']).equals(expected(manifest.archives['japanese.exe'][0])));
  await context.close();
});

describe('an entry whose name would leave the folder is passed over, and the others go on', () => {
  async function listEscape(options) {
    const opened = await openArchive('escape.exe', options);
    await verdict(opened.page);
    await listEntries(opened.page);
    return opened;
  }
  const names = (page) => page.$$eval('#entries tbody td.name', (cells) => cells.map((td) => td.textContent));

  test('listed, marked and said', async () => {
    const { context, page } = await listEscape();
    assert.deepEqual(await names(page), ['\\safe.txt', '\\..\\evil.txt (left out)', '\\after.txt']);
    assert.match(await page.textContent('#messages'), /\\\.\.\\evil\.txt: the name is unsafe.*left out/);
    assert.equal(await page.textContent('#verdict'), '');
    await context.close();
  });

  test('into a folder: the others land, nothing outside', async () => {
    const { context, page } = await listEscape({ initScript: pickerScript(false) });
    await page.click('#extract-folder');
    await page.waitForFunction(() => document.getElementById('messages').textContent.includes('Extracted'));
    assert.match(await page.textContent('#messages'), /evil\.txt: the name is unsafe.*Extracted 2 file\(s\)/);
    assert.deepEqual(Object.keys(await privateFiles(page)).sort(), ['picked/after.txt', 'picked/safe.txt']);
    await context.close();
  });

  test('as a .zip: the others are in it', async () => {
    const { context, page } = await listEscape({ initScript: noSavePickerScript });
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#extract-zip')]);
    assert.deepEqual(readZip(readFileSync(await download.path())).map((e) => e.name), ['safe.txt', 'after.txt']);
    await context.close();
  });
});

// The page and kelvarin read names alike: the same code page for the same
// archive, Western names that are valid Shift-JIS as well as Japanese
// ones, and passwords typed in Japanese or with accents.
describe('the page chooses the code page kelvarin chooses', () => {
  for (const [file, password] of [['japanese.exe', 'ひみつ'], ['western.exe', 'Passwörter'],
                                  ['halfwidth.exe', 'web password'], ['utf8.exe', 'パス1']]) {
    test(file, async () => {
      const tool = spawnSync(join(root, 'build/native/kelvarin'),
                             ['list', join(fixtures, file), '--password', password], { encoding: 'utf8' });
      assert.equal(tool.status, 0, tool.stderr);
      const chosen = tool.stderr.match(/names read as (CP932|CP1252|UTF-8)/)[1];
      const { context, page } = await openArchive(file);
      await verdict(page);
      await listEntries(page, password);
      const note = await page.textContent('#encoding-note');
      assert.equal({ CP932: /Shift-JIS/, CP1252: /Windows-1252/, 'UTF-8': /UTF-8/ }[chosen].test(note), true, note);
      const names = await page.$$eval('#entries tbody td.name', (cells) => cells.map((td) => td.textContent));
      assert.deepEqual(names, tool.stdout.trim().split('\n').map((line) => line.split(/ {2,}/)[0].trim()));
      await context.close();
    });
  }
});

test('a cancelled extraction stops, leaves no file, and the page goes on working', async () => {
  const { context, page } = await openArchive('good.exe', { initScript: pickerScript(true) });
  await verdict(page);
  await listEntries(page);
  await page.click('#extract-folder');
  await page.waitForFunction(() => window.writing === true);
  assert.equal(await page.isVisible('#progress-area'), true);
  assert.match(await page.textContent('#progress-text'), /^Decoding\.\.\. +\d+ %  \\docs\\hello\.txt$/);
  await page.keyboard.press('Enter');  // Cancel has the focus while a run goes on
  await page.waitForFunction(() => document.getElementById('verdict').textContent === 'Cancelled.');
  assert.deepEqual(Object.keys(await privateFiles(page)), []);
  await listEntries(page);
  assert.equal(await page.$$eval('#entries tbody tr', (rows) => rows.length), 3);
  await context.close();
});

test('the page asks the network for nothing but its own files, and may not', async () => {
  const { context, page, requests } = await openArchive('good.exe', { initScript: noSavePickerScript });
  await verdict(page);
  await listEntries(page);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#extract-zip')]);
  await download.path();
  assert.deepEqual(requests.filter((url) => !url.startsWith(server.url) && !url.startsWith('blob:')), []);
  // Each of its own requests found a file of the page.
  assert.deepEqual(server.served.filter((path) => path !== '/' && !existsSync(join(pageDir, path))), []);
  // Its policy blocks a request elsewhere even when a script tries one.
  const blocked = await page.evaluate(() => new Promise((resolve) => {
    document.addEventListener('securitypolicyviolation', (event) => resolve(event.violatedDirective));
    fetch('http://127.0.0.2:9/').catch(() => {});
  }));
  assert.equal(blocked, 'connect-src');
  await context.close();
});

test('one thread or a pool of workers: the same files, the same verdict at damage', async () => {
  for (const threads of [1, 3]) {
    const { context, page } = await openPage(browser, `${server.url}?threads=${threads}`, { initScript: pickerScript(false) });
    await chooseArchive(page, join(fixtures, 'good.exe'));
    await verdict(page);
    await listEntries(page);
    await page.click('#extract-folder');
    await extractionEnd(page);
    const files = await privateFiles(page);
    for (const entry of manifest.archives['good.exe']) {
      assert.ok(Buffer.from(files[`picked/${zipName(entry)}`]).equals(expected(entry)), `${threads}: ${entry.expected}`);
    }
    await chooseArchive(page, join(fixtures, 'tampered.exe'));
    await verdict(page);
    await listEntries(page);
    assert.equal(await page.textContent('#verdict'), 'Anyone cooked this file.\n(entry \\noise.bin)');
    await context.close();
  }
});

// Names are checked by the core's rules for Windows, where the files are
// likely to end up; a name twice, and a file and a folder of one name,
// keep what came first, as `kelvarin extract` does, and say so.
describe('names as Windows takes them, none twice, no file where a folder is', () => {
  const kept = [['ok.txt', 'o'], ['dup.txt', '1'], ['x', 'x']];
  const saidKept = /dup\.txt: an earlier entry has this name.*x\/y\.txt: a file and a folder would have this name/;

  async function listWindowsNames(options) {
    const opened = await openArchive('windows.exe', options);
    await verdict(opened.page);
    await listEntries(opened.page);
    return opened;
  }

  test('listed, the names Windows refuses left out', async () => {
    const { context, page } = await listWindowsNames();
    const left = await page.$$eval('#entries tbody td.name', (cells) => cells.map((td) => td.textContent)
      .filter((name) => name.endsWith('(left out)')));
    assert.deepEqual(left, ['\\CON', '\\sub\\NUL.txt', '\\trail.', '\\a<b>c|d?e*f"g.txt'].map((name) => `${name} (left out)`));
    await context.close();
  });

  test('into a folder', async () => {
    const { context, page } = await listWindowsNames({ initScript: pickerScript(false) });
    await page.click('#extract-folder');
    await page.waitForFunction(() => document.getElementById('messages').textContent.includes('Extracted'));
    assert.match(await page.textContent('#messages'), saidKept);
    const files = await privateFiles(page);
    assert.deepEqual(Object.keys(files).sort(), kept.map(([name]) => `picked/${name}`).sort());
    for (const [name, byte] of kept) assert.equal(Buffer.from(files[`picked/${name}`]).toString(), byte);
    await context.close();
  });

  test('as a .zip', async () => {
    const { context, page } = await listWindowsNames({ initScript: noSavePickerScript });
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#extract-zip')]);
    const entries = readZip(readFileSync(await download.path()));
    assert.deepEqual(entries.map((e) => [e.name, Buffer.from(e.bytes).toString()]), kept);
    assert.match(await page.textContent('#messages'), saidKept);
    await context.close();
  });
});

describe('smaller faults', () => {
  test('the same file chosen again is checked again', async () => {
    const { context, page } = await openArchive('good.exe');
    await verdict(page);
    await page.evaluate(() => { document.getElementById('verdict').textContent = ''; });
    await chooseArchive(page, join(fixtures, 'good.exe'));
    assert.equal(await verdict(page), 'No problem at fle.');
    await context.close();
  });

  test('a listing fills one progress bar, which never goes back', async () => {
    const { context, page } = await openArchive('good.exe');
    await verdict(page);
    await page.evaluate(() => {
      const bar = document.getElementById('progress');
      window.progressSeen = [];
      new MutationObserver(() => window.progressSeen.push(bar.value))
        .observe(bar, { attributes: true, attributeFilter: ['value'] });
    });
    await listEntries(page);
    const seen = await page.evaluate(() => window.progressSeen);
    assert.ok(seen.some((value) => value > 10), `the decode's share is shown: ${seen}`);
    for (let i = 1; i < seen.length; ++i) assert.ok(seen[i] >= seen[i - 1], `back from ${seen[i - 1]} to ${seen[i]}`);
    await context.close();
  });

  test('opened as a file, the page says how to serve it', async () => {
    for (const [locale, words] of [['en-US', /served over HTTP\(S\)[^]*http\.server/], ['ja-JP', /HTTP\(S\) で配信[^]*http\.server/]]) {
      const { context, page } = await openPage(browser, `file://${pageDir}/index.html`, { locale });
      assert.match(await page.textContent('#served-note'), words);
      await context.close();
    }
  });
});
