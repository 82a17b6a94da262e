// Reads a stored (uncompressed) zip as the page writes it, through its
// central directory: each entry's name, bytes, DOS time and the Unix
// times of its extended-timestamp field (0x5455).
export function readZip(zip) {
  const view = new DataView(zip.buffer, zip.byteOffset, zip.byteLength);
  let end = zip.length - 22;
  while (end >= 0 && view.getUint32(end, true) !== 0x06054b50) --end;
  if (end < 0) throw new Error('no end of central directory');
  const count = view.getUint16(end + 10, true);
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
    const times = extendedTimes(view, at + 46 + nameLength, extraLength);
    const data = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
    entries.push({ name, method, dos, times, bytes: zip.subarray(data, data + size) });
    at += 46 + nameLength + extraLength + commentLength;
  }
  return entries;
}

function extendedTimes(view, start, length) {
  for (let at = start; at + 4 <= start + length;) {
    const id = view.getUint16(at, true);
    const size = view.getUint16(at + 2, true);
    if (id === 0x5455) {
      const flags = view.getUint8(at + 4);
      const times = [];
      for (let i = 0; i < 3 && 1 + 4 * i + 4 <= size; ++i) times.push(view.getInt32(at + 5 + 4 * i, true));
      return { flags, written: times[0], accessed: times[1], created: times[2] };
    }
    at += 4 + size;
  }
  return null;
}
