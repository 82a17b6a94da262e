// A streaming zip writer for entries stored as they are (the archive's
// data is compressed already), valid at any size and count: Zip64 records
// stand in wherever a field would overflow 32 bits (a size or offset of
// 0xFFFFFFFF or more: that value itself is the Zip64 marker). An entry's
// size is known when it begins; its CRC-32 follows its bytes in a data
// descriptor, so nothing written is ever rewritten. Each entry carries its
// three Windows times exactly in the NTFS field, and beside it the
// extended timestamp and DOS time for readers that know only those, where
// those fields can hold the time.
import { crc32 } from './crc32.js';

const LIMIT32 = 0xffffffff;
const MOST_ENTRIES16 = 0xffff;
const VERSION_ZIP64 = 45;   // "version needed": 4.5, Zip64
const VERSION_PLAIN = 20;
const FLAGS = 0x0808;       // data descriptor follows; names in UTF-8
const CENTRAL_GATHER = 4 << 20;  // central records held before they join a Blob

// out: { write(bytes or Blob), truncate(position) } (both may be async).
export class ZipWriter {
  constructor(out) {
    this.out = out;
    this.position = 0;
    this.central = [];      // Blobs and records of the central directory
    this.centralHeld = 0;
    this.centralSize = 0;
    this.count = 0;
    this.entry = null;
  }

  // name: the entry's path ('/' between components); size: its bytes;
  // filetimes: { created, accessed, written } as BigInt FILETIMEs.
  async begin(name, size, filetimes, attributes = 0) {
    const zip64 = size >= LIMIT32;
    const entry = { name: new TextEncoder().encode(name), size, filetimes, attributes, zip64,
                    offset: this.position, crc: 0, written: 0, dos: dosDateTime(filetimes.written) };
    const extra = concat([zip64 ? zip64Field([size, size]) : null, ntfsField(filetimes),
                          unixTimesField(filetimes, true)]);
    const header = new DataView(new ArrayBuffer(30));
    header.setUint32(0, 0x04034b50, true);
    header.setUint16(4, zip64 ? VERSION_ZIP64 : VERSION_PLAIN, true);
    header.setUint16(6, FLAGS, true);
    header.setUint16(8, 0, true);  // stored
    header.setUint16(10, entry.dos.time, true);
    header.setUint16(12, entry.dos.date, true);
    header.setUint32(14, 0, true);  // the CRC comes in the descriptor
    header.setUint32(18, zip64 ? LIMIT32 : size, true);
    header.setUint32(22, zip64 ? LIMIT32 : size, true);
    header.setUint16(26, entry.name.length, true);
    header.setUint16(28, extra.length, true);
    this.entry = entry;
    await this.emit(concat([new Uint8Array(header.buffer), entry.name, extra]));
  }

  async add(bytes) {
    const entry = this.entry;
    if (entry.written + bytes.length > entry.size) throw new Error(`more bytes than the ${entry.size} announced`);
    entry.crc = crc32(entry.crc, bytes);
    entry.written += bytes.length;
    await this.emit(bytes);
  }

  // The entry is complete: its descriptor, and its central record kept.
  async end() {
    const entry = this.entry;
    if (entry.written !== entry.size) throw new Error(`${entry.written} bytes where ${entry.size} were announced`);
    const descriptor = new DataView(new ArrayBuffer(entry.zip64 ? 24 : 16));
    descriptor.setUint32(0, 0x08074b50, true);
    descriptor.setUint32(4, entry.crc, true);
    if (entry.zip64) {
      descriptor.setBigUint64(8, BigInt(entry.size), true);
      descriptor.setBigUint64(16, BigInt(entry.size), true);
    } else {
      descriptor.setUint32(8, entry.size, true);
      descriptor.setUint32(12, entry.size, true);
    }
    await this.emit(new Uint8Array(descriptor.buffer));
    this.keepCentral(centralRecord(entry));
    this.count += 1;
    this.entry = null;
  }

  // The entry in progress goes: the zip is cut back to where it began.
  async drop() {
    if (!this.entry) return;
    this.position = this.entry.offset;
    this.entry = null;
    await this.out.truncate(this.position);
  }

  // The central directory and its end records; a comment of at most
  // 65535 bytes.
  async close(comment = '') {
    const start = this.position;
    const size = this.centralSize;
    await this.emit(new Blob(this.central));
    this.central = [];
    const zip64 = this.count >= MOST_ENTRIES16 || size >= LIMIT32 || start >= LIMIT32;
    if (zip64) await this.emit(zip64End(this.count, size, start, this.position));
    await this.emit(plainEnd(this.count, size, start, new TextEncoder().encode(comment)));
  }

  keepCentral(record) {
    this.central.push(record);
    this.centralHeld += record.length;
    this.centralSize += record.length;
    if (this.centralHeld >= CENTRAL_GATHER) {
      this.central = [new Blob(this.central)];
      this.centralHeld = 0;
    }
  }

  async emit(piece) {
    this.position += piece instanceof Blob ? piece.size : piece.length;
    await this.out.write(piece);
  }
}

// Where the offset overflows, the sizes go into the Zip64 field too, as
// markers in the record: Info-ZIP's unzip 6.0 reads the field by the
// previous entry's local sizes, and misreads an offset that stands alone
// after a large entry.
function centralRecord(entry) {
  const offsetOver = entry.offset >= LIMIT32;
  const sizeOver = entry.size >= LIMIT32 || offsetOver;
  const large = [...(sizeOver ? [entry.size, entry.size] : []), ...(offsetOver ? [entry.offset] : [])];
  const extra = concat([large.length ? zip64Field(large) : null, ntfsField(entry.filetimes),
                        unixTimesField(entry.filetimes, false)]);
  const record = new DataView(new ArrayBuffer(46));
  record.setUint32(0, 0x02014b50, true);
  record.setUint16(4, VERSION_ZIP64, true);  // made by: MS-DOS attributes, 4.5
  record.setUint16(6, entry.zip64 || offsetOver ? VERSION_ZIP64 : VERSION_PLAIN, true);
  record.setUint16(8, FLAGS, true);
  record.setUint16(10, 0, true);
  record.setUint16(12, entry.dos.time, true);
  record.setUint16(14, entry.dos.date, true);
  record.setUint32(16, entry.crc, true);
  record.setUint32(20, sizeOver ? LIMIT32 : entry.size, true);
  record.setUint32(24, sizeOver ? LIMIT32 : entry.size, true);
  record.setUint16(28, entry.name.length, true);
  record.setUint16(30, extra.length, true);
  // comment length, disk number and internal attributes stay 0
  record.setUint32(38, entry.attributes & DOS_FILE_ATTRIBUTES, true);
  record.setUint32(42, offsetOver ? LIMIT32 : entry.offset, true);
  return concat([new Uint8Array(record.buffer), entry.name, extra]);
}

// Read-only, hidden, system and archive: what a file's entry may carry.
const DOS_FILE_ATTRIBUTES = 0x27;

function zip64End(count, size, start, at) {
  const view = new DataView(new ArrayBuffer(56 + 20));
  view.setUint32(0, 0x06064b50, true);
  view.setBigUint64(4, 44n, true);  // the record's size after this field
  view.setUint16(12, VERSION_ZIP64, true);
  view.setUint16(14, VERSION_ZIP64, true);
  // this disk and the central directory's disk stay 0
  view.setBigUint64(24, BigInt(count), true);
  view.setBigUint64(32, BigInt(count), true);
  view.setBigUint64(40, BigInt(size), true);
  view.setBigUint64(48, BigInt(start), true);
  view.setUint32(56, 0x07064b50, true);  // the locator
  view.setBigUint64(64, BigInt(at), true);
  view.setUint32(72, 1, true);  // disks in all
  return new Uint8Array(view.buffer);
}

function plainEnd(count, size, start, comment) {
  const view = new DataView(new ArrayBuffer(22));
  view.setUint32(0, 0x06054b50, true);
  view.setUint16(8, Math.min(count, MOST_ENTRIES16), true);
  view.setUint16(10, Math.min(count, MOST_ENTRIES16), true);
  view.setUint32(12, Math.min(size, LIMIT32), true);
  view.setUint32(16, Math.min(start, LIMIT32), true);
  view.setUint16(20, comment.length, true);
  return concat([new Uint8Array(view.buffer), comment]);
}

// The Zip64 extended information field: the 64-bit values whose 32-bit
// fields hold the marker, in the format's order.
function zip64Field(values) {
  const view = new DataView(new ArrayBuffer(4 + 8 * values.length));
  view.setUint16(0, 0x0001, true);
  view.setUint16(2, 8 * values.length, true);
  values.forEach((value, i) => view.setBigUint64(4 + 8 * i, BigInt(value), true));
  return new Uint8Array(view.buffer);
}

// The NTFS field: one attribute (tag 1) of three FILETIMEs, exactly as the
// archive stores them: last write, last access, creation.
function ntfsField(filetimes) {
  const view = new DataView(new ArrayBuffer(36));
  view.setUint16(0, 0x000a, true);
  view.setUint16(2, 32, true);
  view.setUint16(8, 0x0001, true);
  view.setUint16(10, 24, true);
  view.setBigUint64(12, filetimes.written, true);
  view.setBigUint64(20, filetimes.accessed, true);
  view.setBigUint64(28, filetimes.created, true);
  return new Uint8Array(view.buffer);
}

const FILETIME_1970 = 116444736000000000n;
const FILETIME_STEPS_PER_SECOND = 10000000n;

// Whole seconds since 1970, rounded down.
function unixSeconds(filetime) {
  const steps = filetime - FILETIME_1970;
  const seconds = steps / FILETIME_STEPS_PER_SECOND;
  return Number(steps < 0n && seconds * FILETIME_STEPS_PER_SECOND !== steps ? seconds - 1n : seconds);
}

const fitsInt32 = (seconds) => seconds >= -0x80000000 && seconds <= 0x7fffffff;

// The extended timestamp (0x5455): signed 32-bit seconds, so only the
// times it can hold, flagged (1 written, 2 accessed, 4 created). The local
// field carries each of them, the central one the write time alone. No
// field when none fits: a wrong time is worse than none.
function unixTimesField(filetimes, local) {
  const times = [filetimes.written, filetimes.accessed, filetimes.created].map(unixSeconds);
  let flags = 0;
  times.forEach((seconds, i) => { if (fitsInt32(seconds)) flags |= 1 << i; });
  if (flags === 0) return null;
  const carried = times.filter((seconds, i) => (flags & (1 << i)) && (local || i === 0));
  const view = new DataView(new ArrayBuffer(5 + 4 * carried.length));
  view.setUint16(0, 0x5455, true);
  view.setUint16(2, 1 + 4 * carried.length, true);
  view.setUint8(4, flags);
  carried.forEach((seconds, i) => view.setInt32(5 + 4 * i, seconds, true));
  return new Uint8Array(view.buffer);
}

// DOS time and date in local time, which spans 1980 to 2107; outside that
// the nearest end (the NTFS field holds the real time).
function dosDateTime(filetime) {
  const earliest = new Date(1980, 0, 1, 0, 0, 0).getTime();
  const latest = new Date(2107, 11, 31, 23, 59, 58).getTime();
  const at = new Date(Math.min(Math.max(unixSeconds(filetime) * 1000, earliest), latest));
  return {
    time: (at.getHours() << 11) | (at.getMinutes() << 5) | (at.getSeconds() >> 1),
    date: ((at.getFullYear() - 1980) << 9) | ((at.getMonth() + 1) << 5) | at.getDate(),
  };
}

function concat(pieces) {
  const present = pieces.filter(Boolean);
  const whole = new Uint8Array(present.reduce((sum, piece) => sum + piece.length, 0));
  let at = 0;
  for (const piece of present) {
    whole.set(piece, at);
    at += piece.length;
  }
  return whole;
}
