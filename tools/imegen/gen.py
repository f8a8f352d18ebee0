#!/usr/bin/env python3
"""Generates every code table of the resource library from the layout of the
roots, the component decompositions, the readings and the frequency lists.

Run prepare.sh once first (it writes the source dumps under work/); then
    python3 tools/imegen/gen.py
writes resources/method/splits.tsv, resources/method/roots.tsv,
resources/method/key_names.tsv and resources/tables/*.txt, and checks them.
"""
import collections
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402
import data  # noqa: E402
import method  # noqa: E402
import split as splitmod  # noqa: E402
import check  # noqa: E402
import words_filter  # noqa: E402

# How many records each drill table gets. A drill draws only from the first
# records of its table (as many as given here), so the selections hold exactly
# that many and every table lists its most useful records first.
TARGETS = {
    'twochar': 659, 'threechar': 5020, 'twocharsel': 559, 'threecharSel': 297,
    'allcharSel': 199, 'hardcharsel': 98,
    'word2': 14000, 'word3': 3600, 'word4': 3800, 'wordm': 296,
}
MAX_CANDIDATES = 6
# A word takes the full code of a frequent character that has no short code
# only when it is this many times as frequent as the character.
WORD_OVER_CHAR = 3
# A word of three or more characters ending in these is a fragment of a phrase.
FRAGMENT_ENDINGS = set('的地')
STROKE_ROOTS = set('一丨丿丶乙')
# Short codes the program's own coding-rule summary cites as examples.
RESERVED_LEVEL2 = {'zt': '社', 'id': '会'}
# The running-text frequency list the figures are weighed by holds this many
# characters; the useful characters of the drills are the first DRILL_TOP.
TEXT_TOP = 3500
DRILL_TOP = 3000
# Share of the drawn records of twochar, threechar and allchar that go to
# the DRILL_TOP most frequent characters at the least.
DRILL_SHARE = 0.7
# How many of the most frequent characters of a table take its repeated records.
REPEAT_POOL = 1000
# Well-known 成语 put into word4 ahead of the other four-character words, and
# sayings and set phrases put into wordm ahead of the other long words.
IDIOMS = 1000
WORDM_SAYINGS = 250
# Long words of these kinds (institutions, personal and brand names) are left
# to others.
LONG_LEFT_OUT = {'nt', 'nr', 'nrt', 'nz'}
# The drill of full codes draws from this many records.
ALLCHAR_DRAWN = 6727


def frequencies(gb):
    """Character frequencies, and candidate words with their frequency, how
    many of the three lists (jieba, essay, rime pinyin) hold them and their
    jieba part-of-speech tag.

    The character frequency is the standard list the tables are ranked by:
    each word of jieba's dictionary and of rime-essay adds its share of its
    list's total to every character it holds (single characters included)."""
    jieba = dict(common.jieba_words())
    tags = common.jieba_tags()
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
    blocked = words_filter.load_blocklist()
    halves = words_filter.half_sayings(tags)
    idioms = set(words_filter.load_idioms())
    words = {}
    dropped = collections.Counter()
    for w in jieba:
        if len(w) < 2 or any(ch not in gbset for ch in w):
            continue
        sources = 1 + (w in essay) + (w in rime)
        if sources < 2 or (w in idioms and w not in essay):
            continue
        tag = tags.get(w, '')
        if len(w) >= 3 and (w[-1] in FRAGMENT_ENDINGS or w[0] == '的'):
            continue
        why = words_filter.reject(w, tag, jieba[w], blocked, halves, w in idioms)
        if why:
            dropped[why] += 1
            continue
        words[w] = (jieba[w] / jt + essay.get(w, 0) / et, sources, 'i' if w in idioms else tag)
    return cf, words, dropped


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

    cf, words, dropped = frequencies(gb)
    gb_index = {c: i for i, c in enumerate(gb)}
    by_freq = sorted(gb, key=lambda c: (-cf.get(c, 0), gb_index[c]))
    rank = {c: i for i, c in enumerate(by_freq)}

    level1, level2, level3, own3 = short_codes(by_freq, full, set(by_freq[:TEXT_TOP]))
    has_short = set(level1.values()) | set(level2.values())

    # Lines of the dictionary: (code, sort key, text). Within a letter's
    # group, each character's shortest line comes first (its short code, or its
    # full code when it has none), the more frequent first and the examples of
    # the coding-rule summary ahead of all; then the full codes of characters
    # that have a short code; then words, the more frequent first. A code of
    # three letters or fewer goes before a four-letter one, so that a rare
    # character's three-letter full code stays among the first six lines. As
    # each short code's character is the most frequent one without a shorter
    # code, a typed code lists first the character whose code it is, then the
    # others by frequency.
    shortest = {}
    lines = []
    # An example goes just ahead of the more frequent character it keeps the
    # code from (社 ahead of 等).
    ahead = {}
    for code, c in RESERVED_LEVEL2.items():
        best = next(x for x in by_freq if x not in level1.values() and full[x].startswith(code))
        ahead[c] = min(rank[c], rank[best] - 0.5)
    for lvl in (level1, level2, level3):
        for code, c in lvl.items():
            if code in own3:
                continue  # the holder's full code: its full line serves
            lines.append((code, (0, 0, ahead.get(c, rank[c]), len(code)), c))
            shortest.setdefault(c, code)
    for c in gb:
        code = full[c]
        if c in shortest and len(code) == 3:
            # A three-letter full code of a character with a short code goes
            # right behind the character that holds that code, so that it
            # stays among the first six lines.
            at = rank[c]
            for h in (level2.get(code[:2]), level3.get(code)):
                if h is not None and h != c:
                    at = max(at, ahead.get(h, rank[h]) + 0.25)
            lines.append((code, (0, 0, at, 3), c))
            continue
        first = 1 if c in shortest else 0
        lines.append((code, (first, len(code) // 4, rank[c], len(code)), c))
    at_code = collections.Counter(full[c] for c in gb)

    # A frequent character typed by its four-letter full code is entered as
    # soon as its code is complete when no word shares the code.
    # The code is left to the character unless a word of it is far more
    # frequent (因为 is not left out for 咧): code -> the character's frequency.
    typed_full = {full[c]: cf.get(c, 0) for c in by_freq[:TEXT_TOP]
                  if len(full[c]) == 4 and c not in has_short
                  and (full[c][:3] not in level3 or level3.get(full[c][:3]) != c)}
    wcodes, kept, longw, tiers = choose_words(words, full, at_code, typed_full)
    wrank = {w: i for i, w in enumerate(sorted(wcodes, key=lambda w: (-words[w][0], w)))}
    for w, code in wcodes.items():
        lines.append((code, (2, 1, wrank[w], 4), w))
    lines.sort(key=lambda x: (x[0][0], x[1], x[0]))

    # Characters a full code lists within six candidates.
    typable_full = typable(lines, full)

    top = set(by_freq[:DRILL_TOP])
    tables = collections.OrderedDict()
    tables['onechar'] = [(c, code) for code, c in sorted(level1.items())]
    two = sorted(((c, code) for code, c in level2.items()), key=lambda r: rank[r[0]])
    three = sorted(((c, code) for code, c in level3.items() if code not in own3),
                   key=lambda r: rank[r[0]])
    allc = [(c, full[c]) for c in by_freq if c in typable_full]
    tables['twochar'] = drill_records(two, TARGETS['twochar'], top)
    tables['threechar'] = drill_records(three, TARGETS['threechar'], top)
    tables['allchar'] = drill_records(allc, ALLCHAR_DRAWN, top)
    tables['twocharsel'] = two[:TARGETS['twocharsel']]
    tables['threecharSel'] = three[:TARGETS['threecharSel']]
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
          f'{tiers["idiom"]} 成语 and set phrases from jieba and essay, '
          f'{tiers[2]} from two lists only; left out: '
          + ', '.join(f'{n} {why}' for why, n in sorted(dropped.items())))
    base = [(code, text) for code, _, text in lines]
    write(tables, base, splits, sound, full, strokes, layout)
    problems = check.check_all(common.ROOT)
    report(tables, level1, level2, level3, own3, full, gb, by_freq, cf, top, problems)
    return 1 if problems else 0


def short_codes(by_freq, full, common_chars):
    """Level 1, 2 and 3: each code goes to one character, the most frequent
    one whose full code begins with it among those without a shorter short
    code (the coding-rule summary's examples 社 ZT and 会 ID excepted). A
    level-3 code that is its holder's own three-letter full code is not a
    short code; it is listed in own3."""
    level1 = {}
    for c in by_freq:
        level1.setdefault(full[c][0], c)
    assert len(level1) == 26, sorted(level1)
    taken = set(level1.values())
    level2 = dict(RESERVED_LEVEL2)
    for code, c in RESERVED_LEVEL2.items():
        assert full[c].startswith(code) and c not in taken, (c, code)
    taken |= set(RESERVED_LEVEL2.values())
    # A level-2 code whose most frequent character is a rare one is left
    # unassigned: a learner would learn it for a character he hardly meets.
    unassigned = set()
    for c in by_freq:
        if c not in taken and full[c][:2] not in level2 and full[c][:2] not in unassigned:
            if c in common_chars:
                level2[full[c][:2]] = c
            else:
                unassigned.add(full[c][:2])
    taken |= set(level2.values())
    level3 = {}
    for c in by_freq:
        if c not in taken:
            level3.setdefault(full[c][:3], c)
    own3 = {code for code, c in level3.items() if full[c] == code}
    print(f'level 2: {len(unassigned)} codes left unassigned (their most frequent character is '
          f'not among the {len(common_chars)} most frequent): '
          + ' '.join(sorted(c.upper() for c in unassigned)))
    return level1, level2, level3, own3


def choose_words(words, full, at_code, typed_full):
    """Words, most frequent first, kept only while their code lists them
    within the first six candidates and leaves alone the codes in typed_full
    (unless far more frequent than their character);
    well-known 成语 first in word4, sayings
    and set phrases first in wordm; then the words all three lists hold."""
    wcodes = {}
    kept = collections.defaultdict(list)
    need = {2: TARGETS['word2'], 3: TARGETS['word3'], 4: TARGETS['word4']}
    longw = []
    ranked = sorted(words, key=lambda w: (-words[w][0], w))
    # The IDIOMS best-known 成语 of the hand-made list come first (were it
    # shorter, the other words jieba tags 成语 that rime-essay holds too, most
    # frequent first, would fill up to IDIOMS); the rest of the list competes
    # with the other words by frequency, so that frequent four-character words
    # keep their place in the dictionary.
    known = [w for w in words_filter.load_idioms() if w in words]
    idioms = [w for w in known if len(w) == 4][:IDIOMS]
    idioms += [w for w in ranked if len(w) == 4 and words[w][2] == 'i' and words[w][1] >= 2
               and w not in idioms][:max(0, IDIOMS - len(idioms))]
    sayings = [w for w in known if 5 <= len(w) <= 13]
    sayings += [w for w in ranked if 5 <= len(w) <= 13 and words[w][2] in ('i', 'l')
                and w not in sayings]
    tiers = collections.Counter()

    def take(w, tier):
        n = len(w)
        if w in wcodes:
            return
        if n >= 5:
            if n > 13 or len(longw) >= TARGETS['wordm'] or words[w][2] in LONG_LEFT_OUT:
                return
        elif len(kept[n]) >= need[n]:
            return
        code = method.word_code([full[c] for c in w])
        if at_code[code] >= MAX_CANDIDATES or (
                code in typed_full and words[w][0] <= WORD_OVER_CHAR * typed_full[code]):
            return
        at_code[code] += 1
        wcodes[w] = code
        tiers[tier] += 1
        if n <= 4:
            kept[n].append(w)
        else:
            longw.append(w)

    for w in idioms + sayings[:WORDM_SAYINGS]:
        take(w, 'idiom')
    # Words of two to four characters that all three lists hold come next;
    # the others only fill a table that would stay short. Longer words are
    # not in the rime list, so two lists suffice for them.
    for tier in (3, 2):
        for w in ranked:
            if len(w) <= 4 and words[w][1] < tier:
                continue
            if len(w) >= 5 and tier != 3:
                continue
            take(w, tier)
    # The order of taking is kept: the drills draw from the first records,
    # and the 成语 must be among them.
    return wcodes, kept, longw, tiers


def typable(lines, full):
    """Characters whose full code lists them within the first six candidates."""
    out = set()
    firsts = collections.defaultdict(list)
    for code, _, text in lines:
        for n in range(1, len(code) + 1):
            f = firsts[code[:n]]
            if len(f) < MAX_CANDIDATES:
                f.append(text)
    for c, code in full.items():
        if c in firsts[code]:
            out.add(c)
    return out


def drill_records(unique, drawn, top):
    """The records of a drill table: every record of `unique` (most useful
    first) at least once. The drill draws uniformly from the first `drawn`
    records, so these hold at least DRILL_SHARE records of the frequent
    characters `top`: every frequent record, as many of the others as the
    share leaves room for, and, to reach the count, second copies of the
    records of the most frequent characters. The other records follow."""
    tops = [r for r in unique if r[0] in top]
    rares = [r for r in unique if r[0] not in top]
    top_slots = max(math.ceil(DRILL_SHARE * drawn), min(len(tops), drawn))
    rare_in = min(len(rares), drawn - top_slots)
    head = tops[:top_slots] + rares[:rare_in]
    pool = tops[:REPEAT_POOL]
    repeats = [pool[i % len(pool)] for i in range(max(0, drawn - len(head)))]
    return head + repeats + tops[top_slots:] + rares[rare_in:]


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


def report(tables, level1, level2, level3, own3, full, gb, by_freq, cf, top, problems):
    for name, recs in tables.items():
        print(f'{name:15s} {len(recs):6d}')
    by_code = collections.Counter(full.values())
    shared = sum(n for n in by_code.values() if n > 1)
    print(f'full codes: {len(by_code)} distinct; {shared} of {len(gb)} characters '
          f'({100.0 * shared / len(gb):.1f}%) share theirs; '
          f'{sum(1 for n in by_code.values() if n > 1)} codes shared; largest {max(by_code.values())}')

    # Short codes: one character each, the most frequent one whose full code
    # begins with the code among those without a shorter short code.
    print(f'short codes: level 1 {len(level1)}, level 2 {len(level2)}, '
          f'level 3 {len(level3) - len(own3)} (and {len(own3)} three-letter codes whose most '
          f'frequent character has them as its full code); every one held by one character')
    taken = set(level1.values())
    for lvl, t in ((2, level2), (3, level3)):
        for code, c in sorted(t.items()):
            best = next(x for x in by_freq if x not in taken and full[x].startswith(code))
            if best != c:
                print(f'  level {lvl} {code.upper()}: {c} by the coding-rule example, '
                      f'not the more frequent {best}')
        taken |= set(t.values())
    top500 = by_freq[:500]
    print(f'top 500 characters: {len({full[c][:2] for c in top500})} distinct two-letter '
          f'prefixes; {sum(1 for c in top500 if c in taken)} hold a short code')

    weights = {c: cf.get(c, 0) for c in by_freq[:TEXT_TOP]}
    fig = check.typing_figures(common.ROOT, weights)
    print(f'typing the shortest code of the {TEXT_TOP} most frequent characters, weighed by '
          f'their frequency: {100 * fig["not_first"]:.2f}% not the first candidate, '
          f'{fig["keys"]:.3f} keys per character ({fig["unlisted"]} with no listed code)')

    for name, drawn in (('twochar', TARGETS['twochar']), ('threechar', TARGETS['threechar']),
                        ('allchar', ALLCHAR_DRAWN)):
        recs = tables[name]
        head = recs[:drawn]
        share = sum(1 for c, _ in head if c in top) / len(head)
        whole = sum(1 for c, _ in recs if c in top) / len(recs)
        chars = {c for c, _ in recs}
        drawn_chars = {c for c, _ in head}
        print(f'{name}: {len(recs)} records for {len(chars)} characters; of the {drawn} '
              f'the drill draws from, {100 * share:.1f}% are among the {DRILL_TOP} most frequent '
              f'characters ({100 * whole:.1f}% of the whole table); '
              f'{len(chars - drawn_chars)} rarer characters only after them')
    for p in problems[:40]:
        print('CHECK:', p)
    print('check:', 'FAILED %d' % len(problems) if problems else 'passed')


if __name__ == '__main__':
    sys.exit(main())
