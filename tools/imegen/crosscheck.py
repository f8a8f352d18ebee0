#!/usr/bin/env python3
"""Lists the characters whose sound code (first letter of the reading) is not
agreed by the three reading sources: pinyin-pro (what gen.py uses), Unihan
kMandarin, and the most weighted reading of rime's pinyin_simp. Each line is a
candidate for resources/method/reading_overrides.tsv; a reviewer decides."""
import bz2
import os
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402
import data  # noqa: E402
import method  # noqa: E402

UNIHAN = '/usr/share/unicode/Unihan_Readings.txt.bz2'


def plain(reading):
    s = unicodedata.normalize('NFD', reading)
    return ''.join(ch for ch in s if not unicodedata.combining(ch))


def unihan_readings():
    out = {}
    with bz2.open(UNIHAN, 'rt', encoding='utf-8') as f:
        for line in f:
            p = line.rstrip('\n').split('\t')
            if len(p) == 3 and p[1] == 'kMandarin':
                out[chr(int(p[0][2:], 16))] = plain(p[2].split()[0])
    return out


def rime_top():
    best = {}
    text = open(common.RIME_PINYIN, encoding='utf-8').read().split('\n...\n', 1)[1]
    for line in text.split('\n'):
        p = line.split('\t')
        if len(p) >= 2 and len(p[0]) == 1:
            w = int(p[2]) if len(p) > 2 and p[2].strip().isdigit() else 0
            if p[0] not in best or w > best[p[0]][1]:
                best[p[0]] = (p[1], w)
    return {c: r for c, (r, _) in best.items()}


def main():
    pp = data.load_readings()
    ov = data.load_reading_overrides()
    uh = unihan_readings()
    rt = rime_top()
    n = 0
    for c in common.gb2312_hanzi():
        used = ov.get(c, pp[c])
        letters = {method.initial(used)}
        others = [(name, src[c]) for name, src in (('unihan', uh), ('rime', rt)) if c in src]
        if any(method.initial(r) not in letters for _, r in others):
            n += 1
            mark = 'reviewed' if c in ov else 'open'
            print(c, used, ' '.join(f'{a}={b}' for a, b in others), mark, sep='\t')
    print(f'{n} characters with disagreeing sources', file=sys.stderr)


if __name__ == '__main__':
    main()
