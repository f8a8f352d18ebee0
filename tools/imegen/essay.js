// Converts rime-essay (traditional script) to simplified script:
// prints "word<TAB>weight" for every line of the file named on the command line.
const OpenCC = require('opencc-js');
const conv = OpenCC.Converter({ from: 't', to: 'cn' });
const text = require('fs').readFileSync(process.argv[2], 'utf8');
const out = [];
for (const line of text.split('\n')) {
  const p = line.split('\t');
  if (p.length >= 2 && p[0]) out.push(`${conv(p[0])}\t${p[1].trim()}`);
}
process.stdout.write(out.join('\n') + '\n');
