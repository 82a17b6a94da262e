// CRC-32 as zip files use it (reflected polynomial 0xEDB88320), eight
// bytes a step: every byte of a .zip passes through it, so it must keep
// up with the decoder.
const TABLES = makeTables();

function makeTables() {
  const tables = new Uint32Array(8 * 256);
  for (let n = 0; n < 256; ++n) {
    let c = n;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    tables[n] = c;
  }
  for (let n = 0; n < 256; ++n) {
    for (let t = 1; t < 8; ++t) tables[t * 256 + n] = tables[tables[(t - 1) * 256 + n] & 0xff] ^ (tables[(t - 1) * 256 + n] >>> 8);
  }
  return tables;
}

// The CRC of everything so far (start with 0) followed by bytes.
export function crc32(crc, bytes) {
  const t = TABLES;
  let c = ~crc;
  let i = 0;
  for (const whole = bytes.length - 7; i < whole; i += 8) {
    const low = c ^ (bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) | (bytes[i + 3] << 24));
    c = t[1792 + (low & 0xff)] ^ t[1536 + ((low >>> 8) & 0xff)] ^ t[1280 + ((low >>> 16) & 0xff)] ^
        t[1024 + (low >>> 24)] ^ t[768 + bytes[i + 4]] ^ t[512 + bytes[i + 5]] ^ t[256 + bytes[i + 6]] ^ t[bytes[i + 7]];
  }
  for (; i < bytes.length; ++i) c = t[(c ^ bytes[i]) & 0xff] ^ (c >>> 8);
  return ~c >>> 0;
}
