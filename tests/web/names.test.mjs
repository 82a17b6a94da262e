// The page's name and password rules, run in Node (its TextDecoder knows
// the same code pages as the browser's): the `auto` choice of a code page,
// output paths that must stay below their folder, and the byte forms a
// typed password may have.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { chooseCodePage, outputComponents, passwordForms, spellName } from '../../web/names.js';

const bytes = (...values) => Uint8Array.from(values);
const ascii = (text) => new TextEncoder().encode(text);
const sjisSo = bytes(0x5c, 0x83, 0x5c, 0x2e, 0x74);  // "\ソ.t": ソ ends in 0x5C
const latin = bytes(0x5c, 0x63, 0x61, 0x66, 0xe9);    // "\café" in Windows-1252

test('auto: ASCII needs no choice, Shift-JIS only when every name decodes and one has a double-byte character', () => {
  assert.equal(chooseCodePage([ascii('\\a.txt'), ascii('b')]), 1252);
  assert.equal(chooseCodePage([ascii('\\a.txt'), sjisSo]), 932);
  // "é" alone is a lead byte without a valid trail: not Shift-JIS.
  assert.equal(chooseCodePage([sjisSo, latin]), 1252);
  // Half-width katakana (0xB1) decode as Shift-JIS but are single bytes.
  assert.equal(chooseCodePage([bytes(0x5c, 0xb1)]), 1252);
});

test('names are spelled in UTF-8 from the chosen code page, trail bytes kept inside their character', () => {
  assert.equal(new TextDecoder().decode(spellName(sjisSo, 932)), '\\ソ.t');
  assert.equal(new TextDecoder().decode(spellName(latin, 1252)), '\\café');
});

test('output paths: components below "./", never empty, "." or "..", nor with a separator', () => {
  assert.deepEqual(outputComponents(ascii('./a/b.txt')), ['a', 'b.txt']);
  assert.deepEqual(outputComponents(new TextEncoder().encode('./ソフト/表.txt')), ['ソフト', '表.txt']);
  for (const path of ['a/b', '/a', './', './a//b', './../a', './a/./b', './a\\b', './c:d', '../a']) {
    assert.equal(outputComponents(ascii(path)), null, path);
  }
});

test('a password has one form per code page that can write it, the page language first', () => {
  assert.deepEqual(passwordForms('abc', false), [ascii('abc')]);
  assert.deepEqual(passwordForms('ひみつ', false), [bytes(0x82, 0xd0, 0x82, 0xdd, 0x82, 0xc2)]);
  assert.deepEqual(passwordForms('é', true), [bytes(0xe9)]);
  // "×" exists in both: Windows-1252 D7, Shift-JIS 81 7E.
  assert.deepEqual(passwordForms('×', false), [bytes(0xd7), bytes(0x81, 0x7e)]);
  assert.deepEqual(passwordForms('×', true), [bytes(0x81, 0x7e), bytes(0xd7)]);
  assert.deepEqual(passwordForms('😀', false), []);
});
