// Prints "character<TAB>reading" for every character read from stdin, one per
// line; the reading is pinyin-pro's most common one, without tone marks.
const { pinyin } = require('pinyin-pro');
const input = require('fs').readFileSync(0, 'utf8');
const out = [];
for (const ch of input.split('\n').map((s) => s.trim()).filter(Boolean)) {
  const all = pinyin(ch, { toneType: 'none', type: 'array', multiple: true });
  const first = pinyin(ch, { toneType: 'none', type: 'array' });
  out.push(`${ch}\t${first[0]}\t${all.join(' ')}`);
}
process.stdout.write(out.join('\n') + '\n');
