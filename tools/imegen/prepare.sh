#!/usr/bin/env bash
# Fetches the source data of the table generator and writes the dumps that
# gen.py reads (tools/imegen/work/, not committed). Needs node and npm, and the
# Debian packages unicode-data, rime-data-pinyin-simp and rime-essay.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"
npm install --no-audit --no-fund
mkdir -p work
if [ ! -f work/package/submodules/cppjieba/dict/jieba.dict.utf8 ]; then
  # Only jieba's dictionary is needed: unpack the package, never build it.
  (cd work && npm pack nodejieba@3.5.8 >/dev/null && tar xzf nodejieba-3.5.8.tgz)
fi
for f in /usr/share/rime-data/pinyin_simp.dict.yaml /usr/share/rime-data/essay.txt; do
  [ -f "$f" ] || { echo "missing $f (apt-get install rime-data-pinyin-simp rime-essay)" >&2; exit 1; }
done
python3 -c 'import sys; sys.path.insert(0, "."); import common; print("\n".join(common.gb2312_hanzi()))' > work/gb2312.txt
node readings.js < work/gb2312.txt > work/pinyinpro.tsv
node strokes.js < work/gb2312.txt > work/strokes.tsv
node essay.js /usr/share/rime-data/essay.txt > work/essay_simp.tsv
echo "source dumps written to $here/work"
