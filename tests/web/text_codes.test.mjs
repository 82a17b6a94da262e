// The page's code page conversion, run in Node (its TextDecoder knows the
// same code pages as the browser's): what the core's text seam gets back
// for names and passwords. Which code page is read is the core's choice,
// tested with the core.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { convert, encode } from '../../web/text_codes.js';
import { outputComponents } from '../../web/names.js';

const bytes = (...values) => Uint8Array.from(values);
const utf8 = (text) => new TextEncoder().encode(text);

test('stored names turn into UTF-8, trail bytes 0x5C kept inside their character', () => {
  assert.deepEqual(convert(932, 65001, bytes(0x5c, 0x83, 0x5c, 0x2e, 0x74)), utf8('\\ソ.t'));
  assert.deepEqual(convert(932, 65001, bytes(0xb6, 0xc0, 0xb6, 0xc5)), utf8('ｶﾀｶﾅ'));
  assert.deepEqual(convert(1252, 65001, bytes(0x63, 0x61, 0x66, 0xe9)), utf8('café'));
  assert.deepEqual(convert(65001, 65001, utf8('日本.txt')), utf8('日本.txt'));
});

test('bytes that are no text of the code page do not convert', () => {
  assert.equal(convert(932, 65001, bytes(0x82)), null, 'a lead byte alone');
  assert.equal(convert(932, 65001, bytes(0x81, 0x20)), null, 'a lead byte before a byte that is no trail');
  assert.equal(convert(1252, 65001, bytes(0x41, 0x81)), null, 'a byte Windows-1252 leaves undefined');
  assert.equal(convert(65001, 65001, bytes(0xe6, 0x97)), null, 'a cut UTF-8 sequence');
});

test('a password is written in each code page that can hold it', () => {
  assert.deepEqual(encode(932, 'ひみつ'), bytes(0x82, 0xd0, 0x82, 0xdd, 0x82, 0xc2));
  assert.deepEqual(encode(1252, 'é'), bytes(0xe9));
  assert.deepEqual(encode(932, '×'), bytes(0x81, 0x7e));
  assert.deepEqual(encode(1252, '×'), bytes(0xd7));
  assert.equal(encode(1252, 'ひみつ'), null);
  assert.equal(encode(932, '😀'), null);
  // Characters Shift-JIS has twice take the form Windows writes.
  assert.deepEqual(encode(932, '∵'), bytes(0x81, 0xe6));
  assert.deepEqual(encode(932, '纊'), bytes(0xfa, 0x5c));
});

test('output paths: components below "./", never empty, "." or "..", nor with a separator', () => {
  assert.deepEqual(outputComponents(utf8('./a/b.txt')), ['a', 'b.txt']);
  assert.deepEqual(outputComponents(utf8('./ソフト/表.txt')), ['ソフト', '表.txt']);
  for (const path of ['a/b', '/a', './', './a//b', './../a', './a/./b', './a\\b', './c:d', '../a']) {
    assert.equal(outputComponents(utf8(path)), null, path);
  }
});
