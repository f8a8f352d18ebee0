#!/usr/bin/env python3
"""Checks the compiled engine exports against the tutor's tables.

For each engine whose compiled file exists, a model of what the live engine
shows is built from the compiled file (fcitx5: the .main.dict dumped back with
libime_tabledict -d and the input method's .conf; IBus: the ibus-table sqlite
database, ranked as ibus-table 1.16 ranks it, a text as often as it has
matching lines; Rime: the schema typed through librime itself by
quorvel_rime_tests --dump). For every code a learner can type (each beginning
of a code of base.txt) it counts:
  * first pages equal to the tutor's (the same candidates in the same order);
  * code+digit choices equal to the tutor's, out of all of them;
  * codes the engine commits at once exactly when the tutor does (four
    letters and a single candidate);
and that every character and word of every drill table is offered under its
code. Every engine must show the tutor's first page for every code, and
fcitx5 and Rime must commit as the tutor does. ibus-table's AUTO_COMMIT
commits a lone candidate at any length, which would take a three-letter
code before its fourth letter, so the IBus export leaves it off and a lone
four-letter candidate waits for the next key: that figure is printed, not
required. Exits 1 on a miss, 77 when no export was built."""
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


def reach(name, drills, offered):
    reached = sum(1 for code, text in drills if text in offered(code))
    print(f'{name}: {reached}/{len(drills)} drill items reachable by their code')
    return reached == len(drills)


def compare(name, tutor, prefixes, codes, engine):
    """engine(code) -> (first page, committed at once). Prints the figures and
    returns (pages equal, choices equal, choices, commits as the tutor)."""
    pages = pages_of_codes = choices = total = commits = 0
    misses = []
    for code in prefixes:
        want = tutor.candidates(code)
        page, committed = engine(code)
        page = page[:PAGE]
        same = page == want
        pages += same
        pages_of_codes += same and code in codes
        total += len(want)
        choices += sum(1 for a, b in zip(page, want) if a == b)
        commits += committed == (len(code) == 4 and len(want) == 1)
        if not same and len(misses) < 3:
            misses.append(f'{code}: {" ".join(page)} (tutor: {" ".join(want)})')
    print(f'{name}: first page as in the tutor for {pages}/{len(prefixes)} typed codes '
          f'({pages_of_codes}/{len(codes)} codes of base.txt); code+digit as in the tutor for '
          f'{choices}/{total} choices; commits at once as the tutor for {commits}/{len(prefixes)}')
    for m in misses:
        print(f'  {name} differs: {m}')
    return pages == len(prefixes), choices, total, commits == len(prefixes)


def read_conf(path):
    conf = {}
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            for line in f:
                if '=' in line:
                    key, value = line.strip().split('=', 1)
                    conf[key] = value
    return conf


def fcitx5_model(data, conf):
    """fcitx5-table with OrderPolicy=No: the lines in dictionary order, a
    text listed once (at its first line); with ExactMatch only those under
    the typed code, otherwise every line whose code begins with it, and on a
    single letter the completions sorted by code length, as the live engine
    does whatever SortByCodeLength says. AutoSelect commits a lone candidate
    at four letters."""
    exact = conf.get('ExactMatch', 'False') == 'True'
    auto = conf.get('AutoSelect', 'False') == 'True'
    under = {}
    for code, text in data:
        under.setdefault(code, []).append(text)
    rows = sorted((code, i, text) for i, (code, text) in enumerate(data))
    keys = [r[0] for r in rows]

    def first_page(typed):
        if exact:
            found = under.get(typed, [])
        else:
            lo = bisect.bisect_left(keys, typed)
            hi = bisect.bisect_left(keys, typed + '{')
            by_length = len(typed) == 1
            found = []
            for _, _, text in sorted(rows[lo:hi], key=lambda r: (
                    len(r[0]) if by_length else 0, r[1])):
                if text not in found:
                    found.append(text)
        return found, auto and len(typed) == 4 and len(found) == 1

    return first_page


def ibus_model(db):
    """ibus-table 1.16 (tabsqlitedb.select_words and best_candidates, no user
    phrases, the database's own language filter cm4): the lines whose code is
    the typed one, or begins with it when auto_wildcard is on; a line is only
    merged with one of the same code and text; exact matches first, then
    frequency (highest first), code length, code. AUTO_COMMIT commits a lone
    candidate whose code is the typed one."""
    props = dict(db.execute('SELECT attr, val FROM ime').fetchall())
    wildcard = props.get('auto_wildcard', 'true').lower() == 'true'
    auto = props.get('auto_commit', 'false').lower() == 'true'
    merged = {}
    for code, phrase, freq in db.execute('SELECT tabkeys, phrase, freq FROM phrases'):
        merged[(code, phrase)] = max(freq, merged.get((code, phrase), freq))
    rows = sorted((c, p, f) for (c, p), f in merged.items())
    keys = [r[0] for r in rows]

    def prefix_rows(typed):
        lo = bisect.bisect_left(keys, typed)
        hi = bisect.bisect_left(keys, typed + '\U0010ffff') if wildcard else \
            bisect.bisect_right(keys, typed)
        return [r for r in rows[lo:hi] if wildcard or r[0] == typed]

    def first_page(typed):
        ranked = sorted(prefix_rows(typed),
                        key=lambda r: (r[0] != typed, -r[2], len(r[0]), r[0], ord(r[1][0])))
        one = len(ranked) == 1 and ranked[0][0] == typed
        return [r[1] for r in ranked[:PAGE]], auto and one

    return first_page, prefix_rows


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
    codes = set(c for c, _ in base)
    prefixes = sorted(tutor.begin)
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
        conf = read_conf(os.path.join(a.engines, 'fcitx5', a.id + '.conf'))
        engine = fcitx5_model(data, conf)
        ok = reach('fcitx5', drills, lambda c: engine(c)[0]) and ok
        pages, _, _, commits = compare('fcitx5', tutor, prefixes, codes, engine)
        ok = ok and pages and commits
    else:
        print('fcitx5: not built (libime_tabledict missing): skipped')

    db_file = os.path.join(a.engines, 'ibus', a.id + '.db')
    if os.path.exists(db_file):
        checked += 1
        engine, prefix_rows = ibus_model(sqlite3.connect(db_file))
        ok = reach('IBus', drills, lambda c: [r[1] for r in prefix_rows(c)]) and ok
        pages, _, _, _ = compare('IBus', tutor, prefixes, codes, engine)
        ok = ok and pages
    else:
        print('IBus: not built (ibus-table-createdb missing): skipped')

    schema = os.path.join(a.engines, 'rime', a.id + '.schema.yaml')
    if a.rime_tool and os.path.exists(a.rime_tool) and os.path.exists(schema):
        checked += 1
        out = subprocess.run([a.rime_tool, '--dump'], input='\n'.join(prefixes) + '\n',
                             capture_output=True, text=True, check=True).stdout
        typed = {}
        for line in out.splitlines():
            code, committed, cands = line.split('\t')
            typed[code] = ([committed], True) if committed else (cands.split(), False)
        ok = reach('Rime', drills, lambda c: typed.get(c, ([], False))[0]) and ok
        pages, _, _, commits = compare('Rime', tutor, prefixes, codes,
                                       lambda c: typed.get(c, ([], False)))
        ok = ok and pages and commits
    else:
        print('Rime: not built (librime-dev or rime_deployer missing): skipped')

    if checked == 0:
        return 77
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
