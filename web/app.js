// The page: choose or drop an archive and see the check's verdict; enter
// the password and see the entries; extract them into a folder or as a
// .zip. Every long run shows progress and can be cancelled.
import { DecoderClient } from './decoder_client.js';
import { FolderOutput } from './folder_output.js';
import { decodeName } from './names.js';
import { formatPercent, pageTexts } from './page_texts.js';
import { ZipOutput } from './zip_output.js';

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

const client = new DecoderClient({
  progress(percent) {
    $('progress').value = percent;
    $('progress-text').textContent = formatPercent(progressPattern, percent);
  },
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
    if (!complete) return;
    entry.refused = refusedName !== null;
    refusedName = null;
    entries.push(entry);
  },
  outputProblem(error) {
    runProblems += 1;
    say(t.outputProblem(currentEntry, error.message || String(error)));
  },
});

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
async function withProgress(pattern, work) {
  progressPattern = pattern;
  client.handlers.progress(0);
  $('progress-area').hidden = false;
  for (const control of document.querySelectorAll('main input, main button')) control.disabled = control.id !== 'cancel';
  $('cancel').focus();
  try {
    return await work();
  } finally {
    $('progress-area').hidden = true;
    for (const control of document.querySelectorAll('main input, main button')) control.disabled = false;
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
  const read = await withProgress(t.decoding, () => client.read(new TextEncoder().encode($('password').value)));
  if (cancelled(read) || stopped(read) || read.verdict !== 0) return;
  entries = [];
  currentEntry = '';
  refusedName = null;
  codePage = read.reading.codePage;
  const result = await withProgress(t.decoding, () => client.decode(null));
  if (cancelled(result) || stopped(result)) return;
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

async function extract(output) {
  entries = [];
  currentEntry = '';
  runProblems = 0;
  refusedName = null;
  const result = await withProgress(t.decoding, () => client.decode(output));
  if (cancelled(result) || stopped(result)) return null;
  if (result.failure !== 0 || runProblems !== 0) return null;
  return entries.length;
}

async function extractIntoFolder() {
  clearOutcome();
  let folder;
  try {
    folder = await window.showDirectoryPicker({ mode: 'readwrite' });
  } catch (error) {
    return;  // the user closed the picker
  }
  const output = new FolderOutput(folder, async (name) => {
    const replace = window.confirm(t.replace(name));
    if (!replace) say(t.kept(name));
    return replace;
  });
  if ((await extract(output)) !== null) say(t.extractedFolder(output.written));
}

async function extractAsZip() {
  clearOutcome();
  const output = new ZipOutput();
  const count = await extract(output);
  if (count === null) {
    say(t.noZip);
    return;
  }
  const link = document.createElement('a');
  link.href = URL.createObjectURL(await output.end());
  link.download = archive.name.replace(/\.exe$/i, '') + '.zip';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  say(t.extractedZip(count));
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
  if (event.target.files[0]) openArchive(event.target.files[0]);
});
$('password-form').addEventListener('submit', showEntries);
$('cancel').addEventListener('click', () => client.cancel());
$('extract-folder').addEventListener('click', extractIntoFolder);
$('extract-zip').addEventListener('click', extractAsZip);
