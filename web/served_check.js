// Opened as a file (file://), the browser runs neither the page's modules
// nor its worker, and the page would stay half-drawn and silent. This
// plain script runs there too, and says how to serve the page instead.
// Its texts stand here because the page's text table is a module.
(() => {
  if (location.protocol !== 'file:') return;
  const japanese = (navigator.language || '').toLowerCase().startsWith('ja');
  const text = japanese
    ? ['このページはファイルとして開いても動きません。ブラウザーは HTTP(S) で配信されたページでしか解除処理を動かさないためです。',
       'このフォルダを配信してから開いてください。例:',
       'python3 -m http.server --bind 127.0.0.1 --directory このフォルダ 8000',
       'その後 http://127.0.0.1:8000/ を開きます。']
    : ['This page does not work opened as a file: browsers run its decoder only for pages served over HTTP(S).',
       'Serve this folder, then open it. For example:',
       'python3 -m http.server --bind 127.0.0.1 --directory THIS_FOLDER 8000',
       'then open http://127.0.0.1:8000/.'];
  document.addEventListener('DOMContentLoaded', () => {
    const note = document.createElement('section');
    note.id = 'served-note';
    note.setAttribute('role', 'alert');
    for (const [i, line] of text.entries()) {
      const paragraph = document.createElement(i === 2 ? 'pre' : 'p');
      paragraph.textContent = line;
      note.append(paragraph);
    }
    document.querySelector('main').replaceWith(note);
  });
})();
