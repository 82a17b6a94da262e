// The page: choose or drop an archive and see the check's verdict; enter
// the password and see the entries; extract them into a folder or as a
// .zip. Every long run shows progress and can be cancelled.
import { DecoderClient } from './decoder_client.js';
import { FolderOutput } from './folder_output.js';
import { decodeName } from './names.js';
import { formatPercent, pageTexts } from './page_texts.js';
import { BlobTarget, pickZipFile, ZipOutput } from './zip_output.js';

const japanese = (navigator.language || '').toLowerCase().startsWith('ja');
const t = pageTexts(japanese);
const $ = (id) => document.getElementById(id);

let archive = null;      // the chosen File
let entries = [];        // records of the last listing
let codePage = 1252;     // of the stored names, as the core chose it
let refusedName = null;  // the entry being passed over, when one is
let progressPattern = t.checking;
let runProblems = 0;     // output problems of the current extraction
let currentEntry = '';

// The progress line names the entry being decoded.
function showProgress(percent) {
  $('progress').value = percent;
  const line = formatPercent(progressPattern, percent);
  $('progress-text').textContent = currentEntry ? `${line}  ${currentEntry}` : line;
}

// One bar per run: a listing is two requests, the proof of the password
// (one light pass over the archive) and the decode, so each request's
// 0-100 % fills its own span of the bar.
const PROOF_SPAN = [0, 10];
const DECODE_SPAN = [10, 100];
let progressSpan = [0, 100];
function showRequestProgress(percent) {
  const [from, to] = progressSpan;
  showProgress(from + Math.floor((percent * (to - from)) / 100));
}

// Threads that decode: one per core, or ?threads=N in the page's address.
const threads = Number(new URLSearchParams(location.search).get('threads')) || navigator.hardwareConcurrency || 1;

const client = new DecoderClient({
  progress: showRequestProgress,
  verdict(noProblem, text) {
    const verdict = $('verdict');
    verdict.textContent = currentEntry && !noProblem ? `${text}\n${t.entryOf(currentEntry)}` : text;
    verdict.className = 'verdict ' + (noProblem ? 'sound' : 'problem');
  },
  skipped(offset, count) { say(t.skipped(count, offset)); },
  refused(name, problem) {
    refusedName = decodeName(name, codePage);
    say(t.refused(refusedName, problem));
  },
  entry(complete, entry) {
    currentEntry = decodeName(entry.name, codePage);
    if (!complete) {
      showProgress($('progress').value);
      return;
    }
    entry.refused = refusedName !== null;
    refusedName = null;
    entries.push(entry);
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
  progressSpan = [0, 100];
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
  clearOutcome();
  $('entries-section').hidden = true;
  // The core proves the password over the whole archive and chooses the
  // code page of its names; a wrong password is said then, and nothing runs.
  entries = [];
  currentEntry = '';
  refusedName = null;
  let read;
  const result = await withProgress(t.decoding, async () => {
    progressSpan = PROOF_SPAN;
    read = await client.read(new TextEncoder().encode($('password').value));
    if (read.type !== 'read' || read.verdict !== 0) return read;
    codePage = read.reading.codePage;
    progressSpan = DECODE_SPAN;
    return client.decode(null);
  });
  if (cancelled(result) || stopped(result) || read.verdict !== 0) return;
  // A run that failed later still shows the entries before the failure
  // (its verdict stays), which can be extracted as far as they go.
  if (entries.length === 0 && result.failure !== 0) return;
  showEntryTable(read.reading);
}

function showEntryTable(reading) {
  const format = (ms) => new Date(ms).toLocaleString(japanese ? 'ja-JP' : undefined);
  const rows = entries.map((entry) => {
    const row = document.createElement('tr');
    const name = decodeName(entry.name, codePage) + (entry.refused ? ` ${t.leftOut}` : '');
    const cells = [name, entry.size.toLocaleString(), format(entry.created),
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
  const note = { 932: t.names932, 1252: t.names1252, 65001: t.namesUtf8 }[codePage];
  $('encoding-note').textContent = reading.chosenByNames && reading.close ? `${note} ${t.namesClose}` : note;
  $('entries-section').hidden = false;
  $('entries-heading').focus();
}

// An entry not written (see FolderOutput, ZipOutput): named, with why.
function keptSaid(name, why) {
  say(t.kept(name, why));
}

// An extraction into output: how many entries it wrote, and whether the
// run went through the whole archive; null when it was cancelled or the
// decoder stopped.
async function extract(output) {
  entries = [];
  currentEntry = '';
  runProblems = 0;
  refusedName = null;
  const result = await withProgress(t.decoding, () => client.decode(output));
  if (cancelled(result) || stopped(result)) return null;
  // Entries passed over (their names cannot be used) are not written.
  return { count: entries.filter((entry) => !entry.refused).length, whole: result.failure === 0 && runProblems === 0 };
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
    return replaceAll;
  }, keptSaid);
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
  const output = new ZipOutput(target, keptSaid);
  const run = await extract(output);
  if (!run) return;
  if (runProblems !== 0 || (run.count === 0 && !run.whole)) {
    await output.cancel();
    say(t.noZip);
    return;
  }
  const zip = await output.end(run.whole ? '' : t.partialComment);
  if (zip) offerDownload(zip, run.whole ? name : name.replace(/\.zip$/, t.partialSuffix));
  if (!run.whole) say(t.partialZip(output.count));
  else say(zip ? t.extractedZip(output.count) : t.savedZip(output.count));
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
