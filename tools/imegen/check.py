"""Independent check of the written method files and tables: it reads only
what was written under resources/ and recomputes every rule from it."""
import bz2
import collections
import os
import re

KEY_COUNTS = dict(zip('ABCDEFGHIJKLMNOPQRSTUVWXYZ',
                      [4, 9, 14, 13, 8, 8, 8, 6, 2, 6, 1, 9, 1, 6, 7, 5, 6, 7, 5, 4, 7, 9, 6, 9, 6, 10]))
FIXED_ROOTS = {'礻': 'Z', '土': 'T', '人': 'I', '二': 'D', '厶': 'Y'}
# name: (code length(s), minimum records, one character per record?)
TABLES = {
    'onechar': ((1,), 26, True), 'twochar': ((2,), 659, True),
    'threechar': ((3,), 5020, True), 'allchar': ((3, 4), 6727, True),
    'twocharsel': ((2,), 559, True), 'threecharSel': ((3,), 297, True),
    'allcharSel': ((3, 4), 199, True), 'keynameCharsel': ((3, 4), 26, True),
    'codeCharsel': ((3, 4), 49, True), 'hardcharsel': ((3, 4), 98, True),
    'word2': ((4,), 13432, False), 'word3': ((4,), 3383, False),
    'word4': ((4,), 3559, False), 'wordm': ((4,), 296, False),
}
WORD_LEN = {'word2': (2, 2), 'word3': (3, 3), 'word4': (4, 4), 'wordm': (5, 13)}
# Tables that repeat the records of frequent characters, so that their drills
# draw those more often.
REPEATING = {'twochar', 'threechar', 'allchar'}


def gb2312(text):
    try:
        b = text.encode('gb2312')
    except UnicodeEncodeError:
        return False
    return len(b) == 2 * len(text) and all(x >= 0xB0 for x in b[::2])


def read_lines(path):
    with open(path, encoding='utf-8', newline='') as f:
        raw = f.read()
    return raw, [l for l in raw.split('\n') if l and not l.startswith('#')]


def split_record(line):
    i = len(line)
    while i > 0 and 'a' <= line[i - 1] <= 'z':
        i -= 1
    return line[:i], line[i:]


def candidates(segments, typed):
    """The tutor's search: the first six different texts, in dictionary
    order, whose codes begin with the typed letters."""
    out = []
    for code, text in segments.get(typed[0], []):
        if code.startswith(typed) and text not in out:
            out.append(text)
            if len(out) == 6:
                break
    return out


UNIHAN = ('/usr/share/unicode/Unihan_IRGSources.txt', '/usr/share/unicode/Unihan_DictionaryLikeData.txt')


def total_strokes():
    """kTotalStrokes of Unihan (Debian unicode-data): character -> the first
    (mainland) count. Empty when the package is not installed."""
    out = {}
    for base in UNIHAN:
        for path in (base, base + '.bz2'):
            if not os.path.exists(path):
                continue
            opener = bz2.open if path.endswith('.bz2') else open
            with opener(path, 'rt', encoding='utf-8') as f:
                for line in f:
                    if '\tkTotalStrokes\t' in line:
                        cp, _, v = line.rstrip('\n').split('\t')
                        out.setdefault(chr(int(cp[2:], 16)), int(v.split()[0]))
            break
        if out:
            break
    return out


def decision_rows(method, heading):
    """The rows of the table under `heading` in decisions.md, as lists of
    cells."""
    out = []
    raw, _ = read_lines(os.path.join(method, 'decisions.md'))
    rows = raw.split('\n')
    inside = False
    for row in rows:
        if row.startswith('## '):
            inside = row[3:].strip() == heading
            continue
        if inside and row.startswith('|') and not row.startswith('|---'):
            out.append([c.strip() for c in row.strip('|').split('|')])
    return out[1:]


def root_strokes(method, keys, unihan):
    """Root -> the stroke counts it may stand for: its own (the stroke letters
    of stroke_overrides.tsv where given, else Unihan) and those of the shapes
    that count as it (the 兼作 column of roots_by_key.md)."""
    _, rows = read_lines(os.path.join(method, 'stroke_overrides.tsv'))
    letters = dict(r.split('\t')[:2] for r in rows)
    own = {}
    for r in keys:
        if r in letters:
            own[r] = len(letters[r])
        elif r in unihan:
            own[r] = unihan[r]
    counts = {r: {n} for r, n in own.items()}
    _, table = read_lines(os.path.join(method, 'roots_by_key.md'))
    for row in table:
        cells = [c.strip() for c in row.strip('|').split('|')]
        if len(cells) == 5 and cells[2] in counts:
            for shape in cells[4].split():
                n = len(letters[shape]) if shape in letters else unihan.get(shape)
                if n is not None and abs(n - own[cells[2]]) <= 1:
                    counts[cells[2]].add(n)
    return counts


STROKE_HEADING = '笔画数的核对'


def sums_of(roots, counts):
    sums = {0}
    for r in roots:
        sums = {s + n for s in sums for n in counts.get(r, {0})}
    return sums


def stroke_rules(method, counts, unihan):
    """The shapes decisions.md states are split with shared or left-out
    strokes: [(shape, roots, the strokes the roots give beyond the shape's)]."""
    out = []
    for cells in decision_rows(method, STROKE_HEADING):
        shape, roots = cells[0], cells[1].split()
        if shape not in unihan:
            continue
        out.append((shape, roots, {s - unihan[shape] for s in sums_of(roots, counts)}))
    out.sort(key=lambda r: -len(r[1]))
    return out


def stroke_mismatches(root, splits=None):
    """Characters whose roots do not add up to their kTotalStrokes, once the
    stated shared strokes are allowed: [(character, roots, sums, total)]
    and the stated shapes. Every root may stand for the shapes that count
    as it. None when Unihan is missing."""
    method = os.path.join(root, 'resources', 'method')
    unihan = total_strokes()
    if not unihan:
        return None, []
    _, rows = read_lines(os.path.join(method, 'roots.tsv'))
    keys = [r.split('\t')[2] for r in rows]
    counts = root_strokes(method, keys, unihan)
    rules = stroke_rules(method, counts, unihan)
    if splits is None:
        _, srows = read_lines(os.path.join(method, 'splits.tsv'))
        splits = {r.split('\t')[0]: r.split('\t')[1] for r in srows}
    out = []
    for c, roots in splits.items():
        if len(roots) < 2 or c not in unihan:
            continue
        sums = sums_of(roots, counts)
        # Each stated shape found in the split, leftmost and longest first,
        # may give its extra strokes (口 十 is also 叶, so it need not).
        extra, i, roots = {0}, 0, list(roots)
        while i < len(roots):
            for shape, pattern, more in rules:
                if roots[i:i + len(pattern)] == pattern:
                    extra = {e + m for e in extra for m in more | {0}}
                    i += len(pattern)
                    break
            else:
                i += 1
        if not any(s - e == unihan[c] for s in sums for e in extra):
            out.append((c, ''.join(roots), sorted(sums), unihan[c]))
    return out, rules


FAMILY_HEADING = '部件拆法的核对'
TEXTS = ('roottip.txt', 'chartip.txt', 'intro.txt')
_ROOT_MARK = re.compile(r'\[([^\]:]+)(?::[A-Z])?\]')
_CODE_MARK = re.compile(r'\{[^}]*\}')


def is_run(part, whole):
    n = len(part)
    return any(whole[i:i + n] == part for i in range(len(whole) - n + 1))


def gbk(text):
    try:
        text.encode('gbk')
        return True
    except UnicodeEncodeError:
        return False


def text_examples(text, named=None):
    """The split examples of a learner text: [(line, head, roots, examples)].
    A clause (up to ； 。 or the end of the line) that names roots as [根] or
    [根:键] gives them in order (a root GBK cannot write by its name in
    `named`, name -> root); a single character before ＝ (or = or ：)
    is split exactly so, the characters quoted “字” before them and the
    characters listed in （甲、乙） after them hold them in that order."""
    out = []
    for n, line in enumerate(text.split('\n'), 1):
        line = _CODE_MARK.sub('', line)
        for clause in re.split('[；。]', line):
            marks = [(m.start(), m.group(1)) for m in _ROOT_MARK.finditer(clause)]
            for nm, r in (named or {}).items():
                marks += [(m.start(), r) for m in re.finditer(re.escape(nm), clause)]
            marks.sort()
            if not marks:
                continue
            start = marks[0][0]
            paren = clause.find('（', start)
            end = paren if paren >= 0 else len(clause)
            roots = [r for at, r in marks if at < end]
            if not roots or any(len(r) != 1 for r in roots):
                continue
            lead = clause[:start]
            head = ''
            m = re.search(r'(?:^|[：，\s\u3000])([^\s\u3000：，“”]+?)\s*[＝=：]\s*$', lead)
            if m and len(m.group(1)) == 1:
                head = m.group(1)
            quoted = re.search('((?:“.”)+)的[^“”]*$', lead)
            examples = re.findall('“(.)”', quoted.group(1)) if quoted else []
            if paren >= 0:
                close = clause.find('）', paren)
                inner = clause[paren + 1:close if close >= 0 else len(clause)]
                tokens = inner.split('、')
                if all(len(t) == 1 for t in tokens):
                    examples += tokens
            out.append((n, head, roots, [e for e in examples if gb2312(e)]))
    return out


def text_problems(root, splits):
    """Examples of the learner texts that the splits contradict, and stated
    conventions the root tip does not name."""
    p = []
    texts = os.path.join(root, 'resources', 'texts')
    _, rows = read_lines(os.path.join(root, 'resources', 'method', 'roots.tsv'))
    named = {f[3]: f[2] for f in (r.split('\t') for r in rows) if not gbk(f[2])}
    for name in TEXTS:
        raw, _ = read_lines(os.path.join(texts, name))
        for n, head, roots, examples in text_examples(raw, named):
            if head and head in splits and list(splits[head]) != roots:
                p.append(f'{name}:{n}: {head} is said to be {" ".join(roots)}, '
                         f'the tables split it {" ".join(splits[head])}')
            for e in examples:
                if e in splits and not is_run(roots, list(splits[e])):
                    p.append(f'{name}:{n}: {e} is given as an example of {" ".join(roots)}, '
                             f'but it is {" ".join(splits[e])}')
    # Every fixed choice is named in the root tip, the help's split rules and
    # here: the shapes with shared strokes, the conventions of the overrides
    # and the shapes that count as a root.
    tip, _ = read_lines(os.path.join(texts, 'roottip.txt'))
    helptext, _ = read_lines(os.path.join(root, 'resources', 'help', 'quorvel.html'))
    a = helptext.find('<h3>拆分规则</h3>')
    rules_part = helptext[a:helptext.find('<h2>', a)] if a >= 0 else ''
    if not rules_part:
        p.append('the help has no section 拆分规则')
    method = os.path.join(root, 'resources', 'method')
    # A shape GBK cannot write is named by its first example.
    names = [cells[0] if gbk(cells[0]) else cells[2].split()[0]
             for cells in decision_rows(method, STROKE_HEADING)]
    _, rows = read_lines(os.path.join(method, 'split_overrides.tsv'))
    names += [r.split('\t')[2] for r in rows if len(r.split('\t')) > 2]
    _, rows = read_lines(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'aliases.tsv'))
    for r in rows:
        shape = r.split('\t')[0]
        if not '\u31c0' <= shape <= '\u31ef' and len(shape) == 1:
            try:
                shape.encode('gbk')
                names.append(shape)
            except UnicodeEncodeError:
                pass
    for nm in names:
        if nm not in tip:
            p.append(f'roottip.txt does not name the convention {nm}')
        if rules_part and nm not in rules_part:
            p.append(f'the help\'s 拆分规则 do not name the convention {nm}')
    return p


def family_problems(root, splits):
    """The family check of family.py, less the characters decisions.md
    lists; None without the decomposition data."""
    import sys
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import family
    found = family.inconsistent({c: list(r) for c, r in splits.items()})
    if found is None:
        return None
    listed = set()
    for cells in decision_rows(os.path.join(root, 'resources', 'method'), FAMILY_HEADING):
        listed.update(ch for ch in cells[0] if gb2312(ch))
    out = [f'{c}: its component {comp} splits as {" ".join(own)} on its own, '
           f'but the character is {" ".join(roots)}'
           for c, comp, own, roots in found if c not in listed]
    hit = {c for c, *_ in found}
    out += [f'decisions.md lists {c} for the family check, but its components agree'
            for c in sorted(listed - hit)]
    return out


def check_all(root):
    p = []
    method = os.path.join(root, 'resources', 'method')
    tabdir = os.path.join(root, 'resources', 'tables')

    # Roots
    _, rows = read_lines(os.path.join(method, 'roots.tsv'))
    keys, per_key, seen = {}, collections.Counter(), set()
    if len(rows) != 176:
        p.append(f'roots.tsv has {len(rows)} lines')
    last_key = 'A'
    for i, row in enumerate(rows, 1):
        f = row.split('\t')
        if len(f) != 4 or f[0] != str(i) or len(f[2]) != 1 or not f[3]:
            p.append(f'roots.tsv line {i} malformed: {row!r}')
            continue
        if f[1] < last_key:
            p.append(f'roots.tsv line {i} out of key order')
        last_key = f[1]
        if f[2] in seen:
            p.append(f'root {f[2]} listed twice')
        seen.add(f[2])
        keys[f[2]] = f[1].lower()
        per_key[f[1]] += 1
    for k, n in KEY_COUNTS.items():
        if per_key[k] != n:
            p.append(f'key {k} has {per_key[k]} roots, not {n}')
    for r, k in FIXED_ROOTS.items():
        if keys.get(r) != k.lower():
            p.append(f'root {r} is not on {k}')
    _, kn = read_lines(os.path.join(method, 'key_names.tsv'))
    key_names = dict(l.split('\t') for l in kn)
    if sorted(key_names) != sorted(KEY_COUNTS):
        p.append('key_names.tsv does not name one character per key')
    for k, c in key_names.items():
        if keys.get(c) != k.lower() or not gb2312(c):
            p.append(f'key-name {c} of {k} is not a GB2312 root on its key')

    # Splits and full codes
    _, srows = read_lines(os.path.join(method, 'splits.tsv'))
    full, splits = {}, {}
    for row in srows:
        c, roots, sound, strokes, code = row.split('\t')
        splits[c] = roots
        if any(r not in keys for r in roots) or len(sound) != 1:
            p.append(f'split of {c} uses a non-root or bad sound: {row}')
            continue
        k = [keys[r] for r in roots]
        if len(k) >= 3:
            shape = k[0] + k[1] + k[-1]
        elif len(k) == 2:
            shape = k[0] + k[1]
        else:
            if len(strokes) != 2 or any(s not in '一丨丿丶乙' for s in strokes):
                p.append(f'one-root character {c} lacks its strokes')
                continue
            shape = k[0] + keys[strokes[0]] + keys[strokes[1]]
        if shape + sound != code:
            p.append(f'{c}: code {code} does not follow from {roots} {sound}')
        full[c] = code
    if len(full) != 6763:
        p.append(f'splits.tsv covers {len(full)} characters, not 6763')
    if full.get('社') != 'zts' or splits.get('社') != '礻土':
        p.append('社 is not ZTS')
    if full.get('会') != 'idyh' or splits.get('会') != '人二厶':
        p.append('会 is not IDYH')

    # Strokes: the roots of a character add up to its stroke count, or the
    # character is listed with its reason in decisions.md.
    mism, rules = stroke_mismatches(root, splits)
    if mism is None:
        p.append('Unihan (Debian unicode-data) is not installed: strokes not checked')
    else:
        for c, roots, sums, total in mism:
            p.append(f'{c} = {" ".join(roots)}: the roots have {"/".join(map(str, sums))} '
                     f'strokes, the character {total}')
        for shape, pattern, more in rules:
            if 0 in more:
                p.append(f'decisions.md lists {shape} = {" ".join(pattern)}, whose strokes add up')

    p.extend(text_problems(root, splits))

    # Families: a component splits the same way wherever it occurs (run only
    # where the decomposition data has been fetched).
    bad = family_problems(root, splits)
    if bad is not None:
        p.extend(bad)

    # Tables
    tabs = {}
    for name, (lens, minimum, single) in TABLES.items():
        raw, rows = read_lines(os.path.join(tabdir, name + '.txt'))
        if '\r' in raw:
            p.append(f'{name}: CR in file')
        recs = [split_record(r) for r in rows]
        tabs[name] = recs
        if len(recs) < minimum or (name in ('onechar', 'keynameCharsel', 'wordm') and len(recs) != minimum):
            p.append(f'{name}: {len(recs)} records, needs {minimum}')
        items = set()
        for text, code in recs:
            if not gb2312(text) or len(code) not in lens:
                p.append(f'{name}: bad record {text}{code}')
                continue
            if (text, code) in items and name in REPEATING:
                continue
            if (text, code) in items or text in items:
                p.append(f'{name}: {text} repeated')
            items.add((text, code))
            items.add(text)
            if single:
                if len(text) != 1:
                    p.append(f'{name}: {text} is not one character')
                elif not full.get(text, '').startswith(code) or (len(code) >= 3 and name not in ('threechar', 'threecharSel') and code != full[text]):
                    p.append(f'{name}: {text}{code} disagrees with full code {full.get(text)}')
            else:
                lo, hi = WORD_LEN[name]
                if not lo <= len(text) <= hi:
                    p.append(f'{name}: {text} has the wrong length')
                    continue
                cs = [full[ch] for ch in text]
                n = len(cs)
                want = (cs[0][:2] + cs[1][:2] if n == 2 else
                        cs[0][0] + cs[1][0] + cs[2][:2] if n == 3 else
                        cs[0][0] + cs[1][0] + cs[2][0] + cs[-1][0])
                if code != want:
                    p.append(f'{name}: {text}{code} should be {want}')
    if sorted(c for _, c in tabs['onechar']) != list('abcdefghijklmnopqrstuvwxyz'):
        p.append('onechar does not give one character per letter')
    if sorted(c for c, _ in tabs['keynameCharsel']) != sorted(key_names.values()):
        p.append('keynameCharsel is not the key-name characters')
    for c, _ in tabs['codeCharsel']:
        if c not in keys:
            p.append(f'codeCharsel: {c} is not a root')
    total = sum(len(w) + 1 for w, _ in tabs['wordm'])
    if total >= 2625 - 125:
        p.append(f'wordm totals {total} items')
    for sub, whole in (('twocharsel', 'twochar'), ('threecharSel', 'threechar'), ('allcharSel', 'allchar')):
        if not set(tabs[sub]) <= set(tabs[whole]):
            p.append(f'{sub} holds records not in {whole}')

    # Dictionary
    raw, rows = read_lines(os.path.join(tabdir, 'base.txt'))
    segments = collections.defaultdict(list)
    order, prev, lineset = [], None, set()
    for row in rows:
        code, _, text = row.partition(' ')
        if not (1 <= len(code) <= 4 and code.isalpha() and code.islower()) or not text or len(text) > 13 or not gb2312(text):
            p.append(f'base: bad line {row!r}')
            continue
        if (code, text) in lineset:
            p.append(f'base: line {row} repeated')
        lineset.add((code, text))
        if prev is not None and code[0] < prev:
            p.append(f'base: {code} after the group of {prev}')
        prev = code[0]
        segments[code[0]].append((code, text))
    if sorted(segments) != list('abcdefghijklmnopqrstuvwxyz'):
        p.append('base: not every letter has a group')
    for c, code in full.items():
        if (code, c) not in lineset:
            p.append(f'base lacks the full code of {c}')
    for name, recs in tabs.items():
        for text, code in recs:
            if (code, text) not in lineset:
                p.append(f'base lacks {code} {text} of {name}')

    # The coding-rule summary's examples: 社 ZT, 会 ID, each the only one.
    for text, code in (('社', 'zt'), ('会', 'id')):
        if candidates(segments, code)[:1] != [text] or (text, code) not in set(tabs['twochar']):
            p.append(f'{text} is not the first candidate of its short code {code}')

    # Short codes: one character each, never two levels for one character.
    holder, level_of = {}, {}
    for name in ('onechar', 'twochar', 'threechar'):
        for text, code in tabs[name]:
            if holder.setdefault(code, text) != text:
                p.append(f'{name}: {code} is held by {holder[code]} and {text}')
            if level_of.setdefault(text, name) != name:
                p.append(f'{text} has short codes in {level_of[text]} and {name}')
    short_share = collections.Counter(holder.keys())

    # Typing: every drill item through the candidate search
    for name, recs in tabs.items():
        for text, code in recs:
            cands = candidates(segments, code)
            if text not in cands:
                p.append(f'{name}: typing {code} does not list {text} ({" ".join(cands)})')
            elif name in ('onechar', 'twochar', 'threechar', 'twocharsel', 'threecharSel') \
                    and short_share[code] == 1 and cands[0] != text:
                p.append(f'{name}: {text} is not the first candidate of {code}')
    return p


def typing_figures(root, weights):
    """A learner types each character of `weights` (character -> frequency)
    by its shortest code that lists it within six candidates and commits it:
    Space or a digit, or nothing when a four-letter code lists one candidate.
    Returns the weighed share of characters that are not the first candidate
    there and the weighed keys per character."""
    _, rows = read_lines(os.path.join(root, 'resources', 'tables', 'base.txt'))
    segments = collections.defaultdict(list)
    codes = collections.defaultdict(set)
    for row in rows:
        code, _, text = row.partition(' ')
        segments[code[0]].append((code, text))
        if len(text) == 1:
            codes[text].add(code)
    total = not_first = keys = 0.0
    unlisted = 0
    for c, w in weights.items():
        for code in sorted(codes[c], key=lambda k: (len(k), k)):
            cands = candidates(segments, code)
            if c in cands:
                auto = len(code) == 4 and len(cands) == 1
                keys += w * (len(code) + (0 if auto else 1))
                not_first += w * (cands[0] != c)
                total += w
                break
        else:
            unlisted += 1
    return {'not_first': not_first / total, 'keys': keys / total, 'unlisted': unlisted}


if __name__ == '__main__':
    import sys
    here = os.path.dirname(os.path.abspath(__file__))
    top = os.path.abspath(os.path.join(here, '..', '..'))
    problems = check_all(top)
    for x in problems:
        print(x)
    _, srows = read_lines(os.path.join(top, 'resources', 'method', 'splits.tsv'))
    mism, rules = stroke_mismatches(top)
    fam = family_problems(top, {r.split('\t')[0]: r.split('\t')[1] for r in srows})
    print('strokes:', 'not checked (no Unihan)' if mism is None else
          f'{len(mism)} unexplained mismatches ({len(rules)} shapes with shared strokes stated)')
    print('families:', 'not checked (no decomposition data; run prepare.sh)' if fam is None else
          f'{len(fam)} inconsistent')
    print('check:', 'FAILED %d' % len(problems) if problems else 'passed')
    sys.exit(1 if problems else 0)
