// The page: choose or drop an archive and see the check's verdict; enter
// the password and see the entries; extract them into a folder or as a
// .zip. Every long run shows progress and can be cancelled.
import { DecoderClient } from './decoder_client.js';
import { FolderOutput } from './folder_output.js';
import { chooseCodePage, decodeName, passwordForms } from './names.js';
import { formatPercent, pageTexts } from './page_texts.js';
import { BlobTarget, pickZipFile, ZipOutput } from './zip_output.js';

const japanese = (navigator.language || '').toLowerCase().startsWith('ja');
const t = pageTexts(japanese);
const $ = (id) => document.getElementById(id);

let archive = null;      // the chosen File
let password = null;     // the password's bytes that opened it
let entries = [];        // records of the last listing
let codePage = 1252;
let progressPattern = t.checking;
let runProblems = 0;     // output problems of the current extraction
let currentEntry = '';

// The progress line names the entry being decoded.
function showProgress(percent) {
  $('progress').value = percent;
  const line = formatPercent(progressPattern, percent);
  $('progress-text').textContent = currentEntry ? `${line}  ${currentEntry}` : line;
}

// Threads that decode: one per core, or ?threads=N in the page's address.
const threads = Number(new URLSearchParams(location.search).get('threads')) || navigator.hardwareConcurrency || 1;

const client = new DecoderClient({
  progress: showProgress,
  verdict(noProblem, text) {
    const verdict = $('verdict');
    verdict.textContent = currentEntry && !noProblem ? `${text}\n${t.entryOf(currentEntry)}` : text;
    verdict.className = 'verdict ' + (noProblem ? 'sound' : 'problem');
  },
  skipped(offset, count) { say(t.skipped(count, offset)); },
  entry(complete, entry) {
    currentEntry = decodeName(entry.name, codePage);
    if (complete) entries.push(entry);
    else showProgress($('progress').value);
  },
  outputProblem(error) {
    runProblems += 1;
    say(t.outputProblem(currentEntry, error.message || String(error)));
  },
}, threads);

function say(text) {
  const item = document.createElement('li');
  item.textContent = text;
  $('messages').append(item);
}

function showTexts() {
  document.documentElement.lang = japanese ? 'ja' : 'en';
  document.title = t.title;
  for (const [id, key] of Object.entries({
    title: 'title', intro: 'intro', 'archive-label': 'archiveLabel', 'drop-hint': 'dropHint',
    'password-label': 'passwordLabel', 'show-entries': 'showEntries', cancel: 'cancel',
    'entries-heading': 'entriesHeading', 'th-name': 'name', 'th-size': 'size', 'th-created': 'created',
    'th-accessed': 'accessed', 'th-written': 'written', 'extract-folder': 'extractFolder', 'extract-zip': 'extractZip',
  })) {
    $(id).textContent = t[key];
  }
  $('extract-folder').hidden = typeof window.showDirectoryPicker !== 'function';
}

// Every action starts on an empty verdict line and message list: what
// they show next is this action's.
function clearOutcome() {
  $('verdict').textContent = '';
  $('verdict').className = 'verdict';
  $('messages').replaceChildren();
}

// Runs one request with the progress bar up and every other control off.
// Cancel has the focus meanwhile; then the control that started the run
// has it again, unless the caller moves it on.
async function withProgress(pattern, work) {
  const starter = document.activeElement;
  progressPattern = pattern;
  showProgress(0);
  $('progress-area').hidden = false;
  for (const control of document.querySelectorAll('main input, main button')) control.disabled = control.id !== 'cancel';
  $('cancel').focus();
  try {
    return await work();
  } finally {
    $('progress-area').hidden = true;
    for (const control of document.querySelectorAll('main input, main button')) control.disabled = false;
    if (starter && starter !== document.body && !starter.closest('[hidden]')) starter.focus();
  }
}

function cancelled(result) {
  if (result.type !== 'cancelled') return false;
  $('verdict').textContent = t.cancelled;
  $('verdict').className = 'verdict';
  return true;
}

function stopped(result) {
  if (result.type !== 'error') return false;
  say(t.stopped(result.text));
  return true;
}

async function openArchive(file) {
  archive = file;
  password = null;
  entries = [];
  currentEntry = '';
  codePage = 1252;
  clearOutcome();
  $('archive-name').textContent = file.name;
  $('entries-section').hidden = true;
  $('password-form').hidden = true;
  const result = await withProgress(t.checking, () => client.open(file, japanese, true));
  if (cancelled(result) || stopped(result) || !result.archive) return;
  $('password-form').hidden = false;
  $('password').focus();
}

async function showEntries(event) {
  event.preventDefault();
  const forms = passwordForms($('password').value, japanese);
  if (forms.length === 0) forms.push(new TextEncoder().encode($('password').value));  // no code page writes it
  clearOutcome();
  $('entries-section').hidden = true;
  // The names, read ahead, tell which form opens the archive and in which
  // code page its names are; a wrong password is then said by the run.
  const listing = await withProgress(t.decoding, async () => {
    let scan = null;
    for (const form of forms) {
      scan = await client.scan(form);
      if (scan.type !== 'scanned') return scan;
      if (scan.right) return { form, codePage: chooseCodePage(scan.names) };
    }
    return { form: forms[0], codePage: 1252 };
  });
  if (cancelled(listing) || stopped(listing)) return;
  entries = [];
  currentEntry = '';
  codePage = listing.codePage;
  const result = await withProgress(t.decoding, () => client.decode(listing.form, null, codePage));
  if (cancelled(result) || stopped(result)) return;
  // A run that failed later still shows the entries before the failure
  // (its verdict stays), which can be extracted as far as they go.
  if (entries.length === 0 && result.failure !== 0) return;
  password = listing.form;
  showEntryTable();
}

function showEntryTable() {
  const format = (ms) => new Date(ms).toLocaleString(japanese ? 'ja-JP' : undefined);
  const rows = entries.map((entry) => {
    const row = document.createElement('tr');
    const cells = [decodeName(entry.name, codePage), entry.size.toLocaleString(), format(entry.created),
                   format(entry.accessed), format(entry.written)];
    cells.forEach((text, i) => {
      const cell = document.createElement('td');
      cell.textContent = text;
      cell.className = ['name', 'size', 'time', 'time', 'time'][i];
      row.append(cell);
    });
    return row;
  });
  $('entries').tBodies[0].replaceChildren(...rows);
  $('encoding-note').textContent = codePage === 932 ? t.names932 : t.names1252;
  $('entries-section').hidden = false;
  $('entries-heading').focus();
}

// An extraction into output: how many entries it wrote, and whether the
// run went through the whole archive; null when it was cancelled or the
// decoder stopped.
async function extract(output) {
  entries = [];
  currentEntry = '';
  runProblems = 0;
  const result = await withProgress(t.decoding, () => client.decode(password, output, codePage));
  if (cancelled(result) || stopped(result)) return null;
  return { count: entries.length, whole: result.failure === 0 && runProblems === 0 };
}

async function extractIntoFolder() {
  clearOutcome();
  let folder;
  try {
    folder = await window.showDirectoryPicker({ mode: 'readwrite' });
  } catch (error) {
    return;  // the user closed the picker
  }
  // One question per run, at the first file that exists: replace them
  // all, or keep them all; each kept file is named.
  let replaceAll = null;
  const output = new FolderOutput(folder, async (name) => {
    if (replaceAll === null) replaceAll = window.confirm(t.replaceAll(name));
    if (!replaceAll) say(t.kept(name));
    return replaceAll;
  });
  const run = await extract(output);
  if (run && run.whole) say(t.extractedFolder(output.written));
}

// The zip goes into a file the user picks where the browser can write
// one, else it is a download. A run that ended at damage still gives the
// entries before it, in a zip marked partial (its name where it is a
// download, its comment, the line below the page).
async function extractAsZip() {
  clearOutcome();
  const name = archive.name.replace(/\.exe$/i, '') + '.zip';
  let target;
  try {
    target = (await pickZipFile(name)) || new BlobTarget();
  } catch (error) {
    if (error.name !== 'AbortError') say(t.stopped(error.message));
    return;  // the user closed the picker, or the file cannot be written
  }
  const output = new ZipOutput(target);
  const run = await extract(output);
  if (!run) return;
  if (runProblems !== 0 || (run.count === 0 && !run.whole)) {
    await output.cancel();
    say(t.noZip);
    return;
  }
  const zip = await output.end(run.whole ? '' : t.partialComment);
  if (zip) offerDownload(zip, run.whole ? name : name.replace(/\.zip$/, t.partialSuffix));
  if (!run.whole) say(t.partialZip(run.count));
  else say(zip ? t.extractedZip(run.count) : t.savedZip(run.count));
}

// The link stays valid until the next download replaces it: the browser
// may still be saving the file long after the click.
let offeredUrl = null;
function offerDownload(blob, name) {
  if (offeredUrl) URL.revokeObjectURL(offeredUrl);
  offeredUrl = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = offeredUrl;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
}

function acceptDrops() {
  const body = document.body;
  body.addEventListener('dragover', (event) => {
    event.preventDefault();
    body.classList.add('dragging');
  });
  body.addEventListener('dragleave', () => body.classList.remove('dragging'));
  body.addEventListener('drop', (event) => {
    event.preventDefault();
    body.classList.remove('dragging');
    const file = event.dataTransfer.files[0];
    if (file && $('progress-area').hidden) openArchive(file);
  });
}

showTexts();
acceptDrops();
$('archive-input').addEventListener('change', (event) => {
  const file = event.target.files[0];
  // Emptied, so that choosing the same file again (after a cancelled
  // check, or once it changed) is a change too; the page names the file.
  event.target.value = '';
  if (file) openArchive(file);
});
$('password-form').addEventListener('submit', showEntries);
$('cancel').addEventListener('click', () => client.cancel());
$('extract-folder').addEventListener('click', extractIntoFolder);
$('extract-zip').addEventListener('click', extractAsZip);
