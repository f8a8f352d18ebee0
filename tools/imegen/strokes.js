// Prints "character<TAB>stroke letters" (cnchar-order's stroke-kind letters)
// for every character read from stdin that it knows.
const order = require('cnchar-order').dict.orders;
const input = require('fs').readFileSync(0, 'utf8');
const out = [];
for (const ch of input.split('\n').map((s) => s.trim()).filter(Boolean)) {
  if (order[ch]) out.push(`${ch}\t${order[ch]}`);
}
process.stdout.write(out.join('\n') + '\n');
