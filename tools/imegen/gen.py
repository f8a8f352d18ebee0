#!/usr/bin/env python3
"""Generates every code table of the resource library from the layout of the
roots, the component decompositions, the readings and the frequency lists.

Run prepare.sh once first (it writes the source dumps under work/); then
    python3 tools/imegen/gen.py
writes resources/method/splits.tsv, resources/method/roots.tsv,
resources/method/key_names.tsv and resources/tables/*.txt, and checks them.
"""
import collections
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402
import data  # noqa: E402
import method  # noqa: E402
import split as splitmod  # noqa: E402
import check  # noqa: E402

# How many records each drill table gets. A drill draws only from the first
# records of its table (as many as given here), so the selections hold exactly
# that many and every table lists its most useful records first.
TARGETS = {
    'twochar': 659, 'threechar': 5020, 'twocharsel': 559, 'threecharSel': 297,
    'allcharSel': 199, 'hardcharsel': 98,
    'word2': 14000, 'word3': 3600, 'word4': 3800, 'wordm': 296,
}
MAX_CANDIDATES = 6
# A word of three or more characters ending in these is a fragment of a phrase.
FRAGMENT_ENDINGS = set('的地')
STROKE_ROOTS = set('一丨丿丶乙')
# Short codes the program's own coding-rule summary cites as examples.
RESERVED_LEVEL2 = {'zt': '社', 'id': '会'}


def frequencies(gb):
    """Character frequencies, and candidate words with their frequency and
    how many of the three lists (jieba, essay, rime pinyin) hold them."""
    jieba = dict(common.jieba_words())
    essay = data.load_essay()
    rime = data.load_rime_words()
    jt = float(sum(jieba.values()))
    et = float(sum(essay.values()))
    cf = collections.Counter()
    for src, tot in ((jieba, jt), (essay, et)):
        for w, n in src.items():
            for ch in w:
                cf[ch] += n / tot
    gbset = set(gb)
    words = {}
    for w in jieba:
        if len(w) < 2 or any(ch not in gbset for ch in w):
            continue
        sources = 1 + (w in essay) + (w in rime)
        if sources < 2:
            continue
        if len(w) >= 3 and (w[-1] in FRAGMENT_ENDINGS or w[0] == '的'):
            continue
        words[w] = (jieba[w] / jt + essay.get(w, 0) / et, sources)
    return cf, words


def main():
    layout = data.load_layout()
    keys = {r: k for k, r, _ in layout}
    key_names = {}
    for k, r, _ in layout:
        key_names.setdefault(k, r)
    aliases = data.load_aliases()
    sov = data.load_split_overrides()
    rov = data.load_reading_overrides()
    readings = data.load_readings()
    readings.update(rov)
    strokes = data.load_strokes()
    strokes.update(data.load_tsv2(os.path.join(common.METHOD, 'stroke_overrides.tsv')))
    gb = common.gb2312_hanzi()
    stroke_roots = {c: [method.STROKE_ROOT[x] for x in s] for c, s in strokes.items()}
    splitter = splitmod.Splitter(keys.keys(), aliases, overrides=sov, strokes=stroke_roots)

    splits, full, sound = {}, {}, {}
    bad = []
    for ch in gb:
        roots = splitter.split(ch)
        if any(r not in keys for r in roots):
            bad.append((ch, roots))
            continue
        splits[ch] = roots
        sound[ch] = method.initial(readings[ch])
        try:
            full[ch] = method.full_code(roots, keys, sound[ch], strokes.get(ch))
        except ValueError:
            bad.append((ch, ['(no strokes)']))
    if bad:
        for ch, roots in bad:
            print('unresolved split:', ch, ' '.join(roots), file=sys.stderr)
        sys.exit(1)

    cf, words = frequencies(gb)
    gb_index = {c: i for i, c in enumerate(gb)}
    by_freq = sorted(gb, key=lambda c: (-cf.get(c, 0), gb_index[c]))
    rank = {c: i for i, c in enumerate(by_freq)}

    # Level 1: one character per letter, the most frequent for its first letter.
    level1 = {}
    for c in by_freq:
        level1.setdefault(full[c][0], c)
    assert len(level1) == 26, sorted(level1)

    def assign(length, target, eligible, full3=None, reserved=None):
        """Unshared codes first, most frequent character first; then shared
        ones, most frequent first, until the table holds `target` records."""
        table = collections.OrderedDict()
        for code, c in (reserved or {}).items():
            assert full[c].startswith(code), (c, code)
            table[code] = [c]
        reserved_chars = set((reserved or {}).values())
        for c in by_freq:
            if c in reserved_chars:
                continue
            if eligible(c):
                table.setdefault(full[c][:length], [c])
        given = sum(len(v) for v in table.values())
        # Sharing goes in rounds, so that no code takes a third character
        # before every code that can has taken a second, and so on.
        for holders in range(2, MAX_CANDIDATES + 1):
            for c in by_freq:
                if given >= target:
                    break
                if not eligible(c):
                    continue
                p = full[c][:length]
                if c in table[p] or (reserved and p in reserved):
                    continue
                taken = len(table[p]) + (len(full3.get(p, [])) if full3 else 0)
                if len(table[p]) >= holders or taken >= MAX_CANDIDATES:
                    continue
                table[p].append(c)
                given += 1
        return table

    has_short = set(level1.values())
    level2 = assign(2, TARGETS['twochar'], lambda c: c not in has_short, reserved=RESERVED_LEVEL2)
    has_short |= {c for v in level2.values() for c in v}
    full3 = collections.defaultdict(list)
    for c in by_freq:
        if len(full[c]) == 3:
            full3[full[c]].append(c)
    level3 = assign(3, TARGETS['threechar'], lambda c: len(full[c]) == 4, full3)

    # Lines of the dictionary: (code, category, order, text); categories keep a
    # short code's character ahead of full codes and words of the same code.
    lines = []
    for code, c in level1.items():
        lines.append((code, 0, rank[c], c))
    for lvl in (level2, level3):
        for code, cs in lvl.items():
            for c in cs:
                lines.append((code, 0, rank[c], c))
    for c in gb:
        lines.append((full[c], 1, rank[c], c))
    # Lines already at each 4-letter code (a word code shares them with full codes).
    at_code = collections.Counter(full[c] for c in gb)

    # Words, most frequent first, kept only while their code lists them within
    # the first six candidates.
    wcodes = {}
    kept = collections.defaultdict(list)
    need = {2: TARGETS['word2'], 3: TARGETS['word3'], 4: TARGETS['word4']}
    longw = []
    # Words of two to four characters that all three lists hold come first;
    # the others only fill a table that would stay short. Longer words are
    # not in the rime list, so two lists suffice for them.
    ranked = sorted(words, key=lambda w: (-words[w][0], w))
    tiers = collections.Counter()
    for tier in (3, 2):
        for w in ranked:
            n = len(w)
            if w in wcodes:
                continue
            if n >= 5:
                if tier != 3 or n > 13 or len(longw) >= TARGETS['wordm']:
                    continue
            elif words[w][1] < tier or len(kept[n]) >= need[n]:
                continue
            code = method.word_code([full[c] for c in w])
            if at_code[code] >= MAX_CANDIDATES:
                continue
            at_code[code] += 1
            wcodes[w] = code
            tiers[tier] += 1
            if n <= 4:
                kept[n].append(w)
            else:
                longw.append(w)
    wrank = {}
    for i, w in enumerate(sorted(wcodes, key=lambda w: (-words[w][0], w))):
        wrank[w] = i
    for w, code in wcodes.items():
        lines.append((code, 2, wrank[w], w))
    lines.sort(key=lambda x: (x[0], x[1], x[2]))

    # Characters a full code lists within six candidates.
    typable_full = set()
    seen = collections.Counter()
    for code, cat, _, text in lines:
        seen[code] += 1
        if cat == 1 and seen[code] <= MAX_CANDIDATES:
            typable_full.add(text)

    tables = collections.OrderedDict()
    tables['onechar'] = [(c, code) for code, c in sorted(level1.items())]
    tables['twochar'] = [(c, code) for code, cs in sorted(level2.items()) for c in cs]
    tables['threechar'] = [(c, code) for code, cs in sorted(level3.items()) for c in cs]
    tables['allchar'] = [(c, full[c]) for c in by_freq if c in typable_full]
    tables['twocharsel'] = sorted(tables['twochar'], key=lambda r: rank[r[0]])[:TARGETS['twocharsel']]
    tables['threecharSel'] = sorted(tables['threechar'], key=lambda r: rank[r[0]])[:TARGETS['threecharSel']]
    plain = [c for c in by_freq if c not in has_short and c in typable_full]
    tables['allcharSel'] = [(c, full[c]) for c in plain[:TARGETS['allcharSel']]]
    tables['keynameCharsel'] = [(key_names[k], full[key_names[k]])
                                for k in sorted(key_names)]
    rootchars = [c for c in gb if len(splits[c]) == 1 and c in keys and c in typable_full]
    tables['codeCharsel'] = [(c, full[c]) for c in sorted(rootchars, key=lambda c: rank[c])]
    hard = [c for c in by_freq if c in typable_full and hard_reason(c, splits[c], splitter)]
    hard += [c for c in by_freq if c in typable_full and c not in hard and len(splits[c]) >= 4]
    tables['hardcharsel'] = [(c, full[c]) for c in hard[:TARGETS['hardcharsel']]]
    for n, name in ((2, 'word2'), (3, 'word3'), (4, 'word4')):
        tables[name] = [(w, wcodes[w]) for w in kept[n]]
    tables['wordm'] = [(w, wcodes[w]) for w in longw]

    print(f'words: {tiers[3]} from every list (two for five or more characters), '
          f'{tiers[2]} from two lists only')
    base = [(code, text) for code, _, _, text in lines]
    write(tables, base, splits, sound, full, strokes, layout)
    problems = check.check_all(common.ROOT)
    report(tables, level1, level2, level3, full, gb, problems)
    return 1 if problems else 0


def hard_reason(c, roots, splitter):
    """Why learners tend to split a character wrongly, or '' when they do not:
    a component written last but seen first, components that interlock or
    sit inside another, or a single stroke that counts as a coded root beside
    larger ones. Characters of four or more roots follow these."""
    entry = splitter.decomp.get(c)
    if any(r in splitmod.WRITTEN_LAST for r in roots):
        return 'written last'
    if entry and entry[0].split('/')[0] in ('lock', 'w', 'wt', 'wb', 'wl', 'wr',
                                            'wtl', 'wtr', 'wbl', 'wbr') and len(roots) > 1:
        return 'interlocked'
    if len(roots) > 2 and any(r in STROKE_ROOTS for r in roots[:2] + roots[-1:]):
        return 'stroke root'
    return ''


def write(tables, base, splits, sound, full, strokes, layout):
    os.makedirs(common.TABLES, exist_ok=True)
    for name, recs in tables.items():
        with open(os.path.join(common.TABLES, name + '.txt'), 'w', encoding='utf-8', newline='\n') as f:
            for text, code in recs:
                f.write(text + code + '\n')
    with open(os.path.join(common.TABLES, 'base.txt'), 'w', encoding='utf-8', newline='\n') as f:
        for code, text in base:
            f.write(code + ' ' + text + '\n')
    with open(os.path.join(common.METHOD, 'splits.tsv'), 'w', encoding='utf-8', newline='\n') as f:
        f.write('# character\troots in writing order\tsound code\tfirst and last stroke (one-root characters)\tfull code\n')
        for c in common.gb2312_hanzi():
            r = splits[c]
            st = '-'
            if len(r) == 1:
                s = strokes[c]
                st = method.STROKE_ROOT[s[0]] + method.STROKE_ROOT[s[-1]]
            f.write(f'{c}\t{"".join(r)}\t{sound[c]}\t{st}\t{full[c]}\n')
    with open(os.path.join(common.METHOD, 'roots.tsv'), 'w', encoding='utf-8', newline='\n') as f:
        for i, (k, r, name) in enumerate(layout, 1):
            f.write(f'{i}\t{k}\t{r}\t{name}\n')
    write_root_table(layout)
    with open(os.path.join(common.METHOD, 'key_names.tsv'), 'w', encoding='utf-8', newline='\n') as f:
        done = set()
        for k, r, _ in layout:
            if k not in done:
                done.add(k)
                f.write(f'{k}\t{r}\n')


def write_root_table(layout):
    """The learners' table of roots by key, with the shapes each root also
    stands for."""
    aliases = data.load_aliases()
    also = collections.defaultdict(list)
    for comp, roots in aliases.items():
        if len(roots) == 1 and not ('\u31c0' <= comp <= '\u31ef'):
            also[roots[0]].append(comp)
    decomp = common.load_decomp()
    names = {r for _, r, _ in layout}
    for comp, (kind, parts) in decomp.items():
        base = kind.split('/')[0]
        if (base in splitmod.VARIANT and len(parts) == 1 and parts[0] in names
                and comp not in names and comp not in aliases and not comp.isdigit()
                and len(comp) == 1):
            also[parts[0]].append(comp)
    lines = ['# 岚川形音输入法字根表', '',
             '本表由 tools/imegen/gen.py 按 tools/imegen/layout.txt 生成，请勿手改。',
             '每键第一个字根是键名字根。“兼作”列出按同一字根处理的变形。', '',
             '| 键 | 序号 | 字根 | 名称 | 兼作 |', '|---|---|---|---|---|']
    for i, (k, r, name) in enumerate(layout, 1):
        lines.append(f'| {k} | {i} | {r} | {name} | {" ".join(sorted(set(also.get(r, []))))} |')
    with open(os.path.join(common.METHOD, 'roots_by_key.md'), 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')


def report(tables, level1, level2, level3, full, gb, problems):
    for name, recs in tables.items():
        print(f'{name:15s} {len(recs):6d}')
    by_code = collections.Counter(full.values())
    shared = sum(n for n in by_code.values() if n > 1)
    print(f'full codes: {len(by_code)} distinct; {shared} of {len(gb)} characters '
          f'({100.0 * shared / len(gb):.1f}%) share theirs; '
          f'{sum(1 for n in by_code.values() if n > 1)} codes shared; largest {max(by_code.values())}')
    for lvl, t in ((2, level2), (3, level3)):
        sh = [k for k, v in t.items() if len(v) > 1]
        print(f'level {lvl}: {len(t)} codes, {len(sh)} shared, '
              f'{sum(len(t[k]) for k in sh)} characters on shared codes')
    for p in problems[:40]:
        print('CHECK:', p)
    print('check:', 'FAILED %d' % len(problems) if problems else 'passed')


if __name__ == '__main__':
    sys.exit(main())
