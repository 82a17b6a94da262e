// Stored names and passwords are bytes in the code page of the machine
// that made the archive: Shift-JIS (932) on Japanese systems, Windows-1252
// on most others. The `auto` rule picks one for a whole archive, as the
// command-line tool does; TextDecoder turns the bytes into text.

const decoders = {
  932: new TextDecoder('shift_jis'),
  1252: new TextDecoder('windows-1252'),
};
const strict932 = new TextDecoder('shift_jis', { fatal: true });

const isAscii = (bytes) => bytes.every((b) => b < 0x80);
const isLeadByte = (b) => (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);

function decodesAs932(bytes) {
  try {
    strict932.decode(bytes);
    return true;
  } catch (error) {
    return false;
  }
}

// Names that are all ASCII need no choice; otherwise 932 when every name
// decodes as Shift-JIS and one holds a double-byte character (a lead byte
// in a name that decodes cleanly always starts one), else 1252.
export function chooseCodePage(names) {
  if (names.every(isAscii)) return 1252;
  if (names.every(decodesAs932) && names.some((name) => name.some(isLeadByte))) return 932;
  return 1252;
}

export function decodeName(bytes, codePage) {
  return decoders[codePage].decode(bytes);
}

// A stored name spelled in UTF-8 from codePage, as the decoder checks
// and joins it.
export function spellName(bytes, codePage) {
  return new TextEncoder().encode(decodeName(bytes, codePage));
}

// The components of an output path as the decoder gives it ("./a/b.txt"
// in UTF-8, already checked to stay below its folder, '/' its only
// separator). Null when a component could not be a file or folder name.
export function outputComponents(path) {
  const names = new TextDecoder().decode(path).split('/');
  if (names.length < 2 || names.shift() !== '.') return null;
  const unusable = (name) => name === '' || name === '.' || name === '..' || /[\\/:\0]/.test(name);
  return names.some(unusable) ? null : names;
}

// A password's bytes in each code page that can write it, the page's
// language's first: ASCII has one form, other text may have two.
export function passwordForms(password, japanese) {
  const forms = [];
  for (const codePage of japanese ? [932, 1252] : [1252, 932]) {
    const bytes = encode(password, codePage);
    if (bytes && !forms.some((form) => form.length === bytes.length && form.every((b, i) => b === bytes[i]))) {
      forms.push(bytes);
    }
  }
  return forms;
}

// TextDecoder has no encoder for these code pages: the tables come from
// decoding every single and double byte once.
const encoders = {};
function encoderFor(codePage) {
  if (encoders[codePage]) return encoders[codePage];
  const table = new Map();
  const decoder = new TextDecoder(codePage === 932 ? 'shift_jis' : 'windows-1252');
  const add = (bytes) => {
    const text = decoder.decode(Uint8Array.from(bytes));
    if (text.length === 1 && text !== '\ufffd' && !table.has(text)) table.set(text, bytes);
  };
  for (let b = 1; b < 0x100; ++b) if (codePage !== 932 || !isLeadByte(b)) add([b]);
  if (codePage === 932) {
    for (let lead = 0x81; lead <= 0xfc; ++lead) {
      if (!isLeadByte(lead)) continue;
      for (let trail = 0x40; trail <= 0xfc; ++trail) if (trail !== 0x7f) add([lead, trail]);
    }
  }
  encoders[codePage] = table;
  return table;
}

function encode(text, codePage) {
  const table = encoderFor(codePage);
  const bytes = [];
  for (const character of text) {
    const form = table.get(character);
    if (!form) return null;
    bytes.push(...form);
  }
  return Uint8Array.from(bytes);
}
