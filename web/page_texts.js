// The page's own words, in English and in Japanese (chosen by the
// browser's language). The verdicts of checks and decode runs are not
// here: they are the decoder's own texts, which come from the core.

const TEXTS = {
  en: {
    checking: 'Checking... %3d %%',
    decoding: 'Decoding... %3d %%',
    title: 'Open a Kelvarin archive',
    intro: 'The archive is decoded on this device. Neither the file nor the password leaves it.',
    archiveLabel: 'Archive (.exe)',
    dropHint: 'or drop it anywhere on this page',
    passwordLabel: 'Password',
    showEntries: 'Show entries',
    cancel: 'Cancel',
    entriesHeading: 'Entries',
    name: 'Name', size: 'Size', created: 'Created', accessed: 'Accessed', written: 'Written',
    names932: 'Names decoded as Japanese (Shift-JIS).',
    names1252: 'Names decoded as Western (Windows-1252).',
    namesUtf8: 'Names decoded as UTF-8.',
    namesClose: 'Another code page reads them nearly as well: if they look wrong, the archive was made elsewhere.',
    leftOut: '(left out)',
    refused: (name, problem) => `${name}: ${['', 'the name is no text of the code page the names are read in',
      'the name is unsafe: it would leave the folder, names a device, or holds a control character',
      'the name is too long'][problem]}; left out.`,
    extractFolder: 'Extract into a folder…',
    extractZip: 'Download as .zip',
    cancelled: 'Cancelled.',
    extractedFolder: (n) => `Extracted ${n} file(s) into the chosen folder.`,
    extractedZip: (n) => `${n} file(s) in the .zip download.`,
    savedZip: (n) => `${n} file(s) saved in the .zip.`,
    noZip: 'The run ended early, so no .zip was made.',
    partialZip: (n) => `The archive is damaged: the .zip is partial, with the ${n} file(s) decoded before the damage.`,
    partialComment: 'Partial: the archive is damaged; this holds the entries decoded before the damage.',
    partialSuffix: ' (partial).zip',
    replaceAll: (name) => `${name} and maybe other files exist in that folder already. Replace every file that exists? (Cancel keeps them all.)`,
    kept: (name, why) => ({
      exists: `${name} exists; kept, not replaced.`,
      duplicate: `${name}: an earlier entry has this name; it is kept, this one is left out.`,
      clash: `${name}: a file and a folder would have this name; the one that came first is kept, this one is left out.`,
    })[why],
    skipped: (count, offset) => `Skipped ${count} bytes at offset ${offset} to find the next entry header; any entry stored there is lost.`,
    outputProblem: (name, reason) => `${name}: ${reason}`,
    stopped: (reason) => `The decoder stopped: ${reason}`,
    entryOf: (name) => `(entry ${name})`,
  },
  ja: {
    checking: '検査中… %3d %%',
    decoding: '解除中… %3d %%',
    title: 'Kelvarin 暗号ファイルを開く',
    intro: '暗号ファイルはこの端末の中で解除されます。ファイルもパスワードも外部へ送られません。',
    archiveLabel: '暗号ファイル (.exe)',
    dropHint: 'またはこのページにドロップしてください',
    passwordLabel: 'パスワード',
    showEntries: '内容を表示',
    cancel: '中止',
    entriesHeading: '内容',
    name: '名前', size: 'サイズ', created: '作成日時', accessed: 'アクセス日時', written: '更新日時',
    names932: '名前を日本語 (Shift-JIS) として表示しています。',
    names1252: '名前を西欧 (Windows-1252) として表示しています。',
    namesUtf8: '名前を UTF-8 として表示しています。',
    namesClose: '別の文字コードでもほぼ同じように読めます。名前がおかしい場合は、別の環境で作られた暗号ファイルです。',
    leftOut: '(展開しません)',
    refused: (name, problem) => `${name}: ${['', '名前がこの文字コードの文字として読めません',
      '名前が安全ではありません (フォルダの外を指すか、デバイス名か、制御文字を含みます)',
      '名前が長すぎます'][problem]}。このエントリは展開しません。`,
    extractFolder: 'フォルダに展開…',
    extractZip: '.zip でダウンロード',
    cancelled: '中止しました。',
    extractedFolder: (n) => `${n} 個のファイルを選んだフォルダに展開しました。`,
    extractedZip: (n) => `${n} 個のファイルを .zip に入れました。`,
    savedZip: (n) => `${n} 個のファイルを .zip に保存しました。`,
    noZip: '途中で終わったため .zip は作られていません。',
    partialZip: (n) => `暗号ファイルが壊れています。.zip は一部だけで、壊れた箇所の前に解除できた ${n} 個のファイルが入っています。`,
    partialComment: 'Partial: the archive is damaged; this holds the entries decoded before the damage.',
    partialSuffix: ' (一部).zip',
    replaceAll: (name) => `${name} などのファイルがそのフォルダに既にあります。既にあるファイルをすべて置き換えますか? (キャンセルですべて残します。)`,
    kept: (name, why) => ({
      exists: `${name} はあるため、置き換えずに残しました。`,
      duplicate: `${name}: 同じ名前のエントリが先にあります。先のものを残し、これは除外しました。`,
      clash: `${name}: ファイルとフォルダが同じ名前になります。先のものを残し、これは除外しました。`,
    })[why],
    skipped: (count, offset) => `次のエントリを探すためオフセット ${offset} から ${count} バイトを読み飛ばしました。そこのエントリは失われています。`,
    outputProblem: (name, reason) => `${name}: ${reason}`,
    stopped: (reason) => `解除処理が止まりました: ${reason}`,
    entryOf: (name) => `(${name})`,
  },
};

export function pageTexts(japanese) {
  return TEXTS[japanese ? 'ja' : 'en'];
}

// The decoder's progress texts are printf patterns ("%3d %%").
export function formatPercent(pattern, percent) {
  return pattern.replace('%3d', String(percent).padStart(3, ' ')).replace('%%', '%');
}
