// Code page conversion for the decoder's core (its platform seam), from
// the browser's own decoders: Shift-JIS as Windows writes it (code page
// 932), Windows-1252 and UTF-8. TextDecoder has no encoder for the first
// two, so their inverse tables come from decoding every one- and two-byte
// sequence once. Which code page to read, and in which order a password's
// forms are tried, are the core's to decide, not this file's.

const LABELS = { 932: 'shift_jis', 1252: 'windows-1252', 65001: 'utf-8' };
// Bytes that Windows-1252 leaves without a character; the browser's
// decoder turns them into C1 controls, the system's converters refuse them.
const UNDEFINED_1252 = /[\u0081\u008d\u008f\u0090\u009d]/;

const strict = {};
function decoder(codePage) {
  strict[codePage] ||= new TextDecoder(LABELS[codePage], { fatal: true });
  return strict[codePage];
}

export function knows(codePage) {
  return codePage in LABELS;
}

// The text of the bytes, or null when they are no text of the code page.
export function decode(codePage, bytes) {
  try {
    const text = decoder(codePage).decode(bytes);
    return codePage === 1252 && UNDEFINED_1252.test(text) ? null : text;
  } catch (error) {
    return null;
  }
}

const tables = {};
// Character -> bytes. Where Shift-JIS has a character twice, Windows
// writes the first form in this order, which leaves the NEC-selected
// extension rows (lead bytes ED and EE) for last.
function tableFor(codePage) {
  if (tables[codePage]) return tables[codePage];
  const table = new Map();
  const add = (bytes) => {
    const text = decode(codePage, Uint8Array.from(bytes));
    if (text !== null && [...text].length === 1 && !table.has(text)) table.set(text, bytes);
  };
  for (let byte = 0; byte < 0x100; ++byte) add([byte]);
  if (codePage === 932) {
    const leads = [];
    for (let lead = 0x81; lead <= 0xfc; ++lead) if (lead !== 0xed && lead !== 0xee) leads.push(lead);
    for (const lead of [...leads, 0xed, 0xee]) {
      for (let trail = 0x40; trail <= 0xfc; ++trail) add([lead, trail]);
    }
  }
  tables[codePage] = table;
  return table;
}

// The bytes of the text in the code page, or null when it cannot write it.
export function encode(codePage, text) {
  if (codePage === 65001) return new TextEncoder().encode(text);
  const table = tableFor(codePage);
  const bytes = [];
  for (const character of text) {
    const form = table.get(character);
    if (!form) return null;
    bytes.push(...form);
  }
  return Uint8Array.from(bytes);
}

export function convert(from, to, bytes) {
  const text = decode(from, bytes);
  return text === null ? null : encode(to, text);
}
