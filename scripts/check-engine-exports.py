#!/usr/bin/env python3
"""Checks the compiled engine exports against the tutor's tables.

For each engine whose compiled file exists (fcitx5 .main.dict dumped back with
libime_tabledict -d, the ibus-table sqlite database, the Rime schema typed
through librime by quorvel_rime_tests --dump):
  * every character and word of every drill table is offered under its code;
  * fcitx5: the dictionary holds every line of base.txt in its order;
  * IBus: for every code, the first page of candidates (six) equals the
    tutor's: the first six different texts whose codes begin with the typed
    letters, in dictionary order;
  * Rime: for every code, the texts under exactly that code come first, in
    the tutor's order (the figure for whole pages is printed too).
Prints the figures; exits 1 on a miss, 77 when no export was built."""
import argparse
import bisect
import os
import re
import sqlite3
import subprocess
import sys
import tempfile

PAGE = 6


def read_base(tables):
    lines = []
    with open(os.path.join(tables, 'base.txt'), encoding='utf-8') as f:
        for line in f:
            if line.strip():
                code, text = line.split()
                lines.append((code, text))
    return lines


def read_drills(tables):
    pairs = []
    for name in sorted(os.listdir(tables)):
        if name == 'base.txt' or not name.endswith('.txt'):
            continue
        with open(os.path.join(tables, name), encoding='utf-8') as f:
            for line in f:
                m = re.fullmatch(r'(.+?)([a-z]{1,4})', line.strip())
                if m:
                    pairs.append((m.group(2), m.group(1)))
    return pairs


class Tutor:
    """The tutor's candidate search over base.txt: the first six different
    texts, in dictionary order, whose codes begin with the typed letters.
    The dictionary is grouped by first letter; the order inside a group is
    the method's own, so every prefix is indexed in one pass."""

    def __init__(self, base):
        self.base = base
        self.under = {}
        self.begin = {}
        for code, text in base:
            for n in range(1, len(code) + 1):
                self._add(self.begin, code[:n], text)
            self._add(self.under, code, text)

    @staticmethod
    def _add(index, key, text):
        found = index.setdefault(key, [])
        if len(found) < PAGE and text not in found:
            found.append(text)

    def exactly(self, typed):
        return list(self.under.get(typed, []))

    def candidates(self, typed):
        return list(self.begin.get(typed, []))


def ranked_by_table(rows, typed, key):
    """Candidates an engine that ranks by `key` offers for a prefix."""
    found = [r for r in rows if r[0].startswith(typed)]
    return [r[1] for r in sorted(found, key=key)]


def reach(name, drills, offered):
    reached = sum(1 for code, text in drills if text in offered(code))
    print(f'{name}: {reached}/{len(drills)} drill items reachable by their code')
    return reached == len(drills)


def order(name, tutor, codes, first_page):
    """Counts the codes whose first page is the tutor's, and those whose lines
    under exactly the typed code come first in the tutor's order."""
    same = exact = 0
    for code in codes:
        page = first_page(code)
        same += page == tutor.candidates(code)
        under = tutor.exactly(code)
        exact += page[:len(under)] == under
    print(f'{name}: first page as in the tutor for {same}/{len(codes)} codes; '
          f'the lines under the typed code first and in order for {exact}/{len(codes)}')
    return same, exact


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--tables', required=True)
    ap.add_argument('--engines', required=True, help='the build folder of the exports')
    ap.add_argument('--rime-tool', help='quorvel_rime_tests')
    ap.add_argument('--id', default='lanchuan')
    a = ap.parse_args()

    base = read_base(a.tables)
    drills = read_drills(a.tables)
    tutor = Tutor(base)
    codes = sorted(set(c for c, _ in base))
    ok, checked = True, 0

    dict_file = os.path.join(a.engines, 'fcitx5', a.id + '.main.dict')
    if os.path.exists(dict_file):
        checked += 1
        with tempfile.TemporaryDirectory() as tmp:
            dumped = os.path.join(tmp, 'dump.txt')
            subprocess.run(['libime_tabledict', '-d', dict_file, dumped], check=True)
            with open(dumped, encoding='utf-8') as f:
                text = f.read()
        data = [tuple(l.split(' ', 1)) for l in text.split('[Data]\n', 1)[1].splitlines() if l]
        if data != base:
            print(f'fcitx5: the dumped dictionary differs from base.txt '
                  f'({len(data)} lines against {len(base)})')
            ok = False
        else:
            print(f'fcitx5: the dumped dictionary holds all {len(base)} lines of base.txt '
                  f'in their order')
        index = {}
        for code, text in data:
            index.setdefault(code, []).append(text)
        ok = reach('fcitx5', drills, lambda c: index.get(c, [])) and ok
    else:
        print('fcitx5: not built (libime_tabledict missing): skipped')

    db_file = os.path.join(a.engines, 'ibus', a.id + '.db')
    if os.path.exists(db_file):
        checked += 1
        db = sqlite3.connect(db_file)
        rows = sorted(db.execute('SELECT tabkeys, phrase, freq FROM phrases').fetchall())
        keys = [r[0] for r in rows]

        def prefix_rows(typed):
            lo = bisect.bisect_left(keys, typed)
            hi = bisect.bisect_left(keys, typed + '{')
            return rows[lo:hi]

        # ibus-table: exact matches first, then by frequency, highest first.
        def first_page(typed):
            ranked = sorted(prefix_rows(typed), key=lambda r: (r[0] != typed, -r[2]))
            page = []
            for r in ranked:
                if r[1] not in page:
                    page.append(r[1])
            return page[:PAGE]

        ok = reach('IBus', drills, lambda c: [r[1] for r in prefix_rows(c) if r[0] == c]) and ok
        # ibus-table can rank every prefix as the tutor does.
        same, _ = order('IBus', tutor, codes, first_page)
        ok = ok and same == len(codes)
    else:
        print('IBus: not built (ibus-table-createdb missing): skipped')

    schema = os.path.join(a.engines, 'rime', a.id + '.schema.yaml')
    if a.rime_tool and os.path.exists(a.rime_tool) and os.path.exists(schema):
        checked += 1
        out = subprocess.run([a.rime_tool, '--dump'], input='\n'.join(codes) + '\n',
                             capture_output=True, text=True, check=True).stdout
        typed = {}
        for line in out.splitlines():
            code, committed, cands = line.split('\t')
            typed[code] = [committed] if committed else cands.split()
        ok = reach('Rime', drills, lambda c: typed.get(c, [])) and ok
        # Rime completes shorter codes before longer ones; the lines under the
        # typed code itself must still come first, in the tutor's order.
        _, exact = order('Rime', tutor, codes, lambda c: typed.get(c, [])[:PAGE])
        ok = ok and exact == len(codes)
    else:
        print('Rime: not built (librime-dev or rime_deployer missing): skipped')

    if checked == 0:
        return 77
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
