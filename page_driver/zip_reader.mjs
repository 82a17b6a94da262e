// Reads a small stored zip as the page writes it, through its central
// directory: each entry's name, bytes, DOS date and time, the three
// FILETIMEs of its NTFS field (0x000A) and the Unix times of its central
// extended-timestamp field (0x5455), and the zip's comment.
export function readZip(zip) {
  const view = new DataView(zip.buffer, zip.byteOffset, zip.byteLength);
  let end = zip.length - 22;
  while (end >= 0 && view.getUint32(end, true) !== 0x06054b50) --end;
  if (end < 0) throw new Error('no end of central directory');
  const count = view.getUint16(end + 10, true);
  const comment = new TextDecoder().decode(zip.subarray(end + 22, end + 22 + view.getUint16(end + 20, true)));
  let at = view.getUint32(end + 16, true);
  const entries = [];
  for (let i = 0; i < count; ++i) {
    if (view.getUint32(at, true) !== 0x02014b50) throw new Error(`no central header at ${at}`);
    const method = view.getUint16(at + 10, true);
    const dos = { time: view.getUint16(at + 12, true), date: view.getUint16(at + 14, true) };
    const size = view.getUint32(at + 20, true);
    const nameLength = view.getUint16(at + 28, true);
    const extraLength = view.getUint16(at + 30, true);
    const commentLength = view.getUint16(at + 32, true);
    const local = view.getUint32(at + 42, true);
    const name = new TextDecoder().decode(zip.subarray(at + 46, at + 46 + nameLength));
    const fields = extraFields(view, at + 46 + nameLength, extraLength);
    const data = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
    entries.push({ name, method, dos, filetimes: ntfsTimes(view, fields[0x000a]), times: unixTimes(view, fields[0x5455]),
                   bytes: zip.subarray(data, data + size) });
    at += 46 + nameLength + extraLength + commentLength;
  }
  return Object.assign(entries, { comment });
}

// Extra fields by id: where each one's data starts and its length.
function extraFields(view, start, length) {
  const fields = {};
  for (let at = start; at + 4 <= start + length; at += 4 + view.getUint16(at + 2, true)) {
    fields[view.getUint16(at, true)] = { at: at + 4, size: view.getUint16(at + 2, true) };
  }
  return fields;
}

// Written, accessed, created, as decimal strings.
function ntfsTimes(view, field) {
  if (!field || view.getUint16(field.at + 4, true) !== 1) return null;
  return [0, 8, 16].map((offset) => view.getBigUint64(field.at + 8 + offset, true).toString());
}

function unixTimes(view, field) {
  if (!field) return null;
  const flags = view.getUint8(field.at);
  return { flags, written: field.size >= 5 ? view.getInt32(field.at + 1, true) : null };
}
