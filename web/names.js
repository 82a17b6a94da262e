// Stored names are bytes in the code page the core chose for the archive
// (932 Shift-JIS, 1252 Windows-1252 or 65001 UTF-8); the browser's
// decoders turn them into text for display.

const decoders = {
  932: new TextDecoder('shift_jis'),
  1252: new TextDecoder('windows-1252'),
  65001: new TextDecoder('utf-8'),
};

export function decodeName(bytes, codePage) {
  return decoders[codePage].decode(bytes);
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
