#!/usr/bin/env python3
"""Keys a learner needs for the Chinese characters of texts, with the
candidate dictionary resources/tables/base.txt (or the one given):

    python3 tools/imegen/keystrokes.py [--base=FILE] text.txt ...

Per character: each character by its shortest code that lists it among the
first six candidates, then Space or a digit to commit it (nothing when a
four-letter code lists one candidate). With words: the longest word of the
dictionary that starts at the current character (greedy), typed by its code
the same way, where its code lists it; the other characters one by one.
Characters that are not hanzi (punctuation, digits, line ends) are left out
of both counts."""
import collections
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check  # noqa: E402


def load(path):
    _, rows = check.read_lines(path)
    segments = collections.defaultdict(list)
    codes = collections.defaultdict(set)
    for row in rows:
        code, _, text = row.partition(' ')
        segments[code[0]].append((code, text))
        codes[text].add(code)
    return segments, codes


def cost(text, segments, codes):
    """Keys to enter `text` by its cheapest listed code, or None."""
    best = None
    for code in codes.get(text, ()):
        cands = check.candidates(segments, code)
        if text in cands:
            auto = len(code) == 4 and len(cands) == 1
            k = len(code) + (0 if auto else 1)
            best = k if best is None else min(best, k)
    return best


def hanzi(ch):
    return '\u4e00' <= ch <= '\u9fff'


def figures(base, texts):
    segments, codes = load(base)
    longest = max(len(t) for t in codes)
    chars = per_char = with_words = 0
    memo = {}

    def keys(t):
        if t not in memo:
            memo[t] = cost(t, segments, codes)
        return memo[t]

    for path in texts:
        with open(path, encoding='utf-8') as f:
            body = f.read()
        runs, run = [], ''
        for ch in body:
            if hanzi(ch):
                run += ch
            elif run:
                runs.append(run)
                run = ''
        if run:
            runs.append(run)
        for r in runs:
            for ch in r:
                k = keys(ch)
                chars += 1
                per_char += k if k is not None else 0
            i = 0
            while i < len(r):
                for n in range(min(longest, len(r) - i), 0, -1):
                    k = keys(r[i:i + n])
                    if k is not None:
                        with_words += k
                        i += n
                        break
                else:
                    i += 1
    return chars, per_char, with_words


if __name__ == '__main__':
    args = sys.argv[1:]
    here = os.path.dirname(os.path.abspath(__file__))
    base = os.path.join(here, '..', '..', 'resources', 'tables', 'base.txt')
    if args and args[0].startswith('--base='):
        base = args.pop(0)[len('--base='):]
    n, pc, ww = figures(base, args)
    print(f'{n} characters: {pc / n:.3f} keys per character one by one, '
          f'{ww / n:.3f} with words by their codes (greedy longest match)')
