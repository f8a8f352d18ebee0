"""Loading of the hand-kept method files and of the prepared source dumps."""
import os
import common

H = common.HERE


def _rows(path):
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line.strip() or line.startswith('#'):
                continue
            yield line


def load_layout():
    """[(key, root, name)] in key order; the first root of a key is its key-name root."""
    out = []
    for line in _rows(os.path.join(H, 'layout.txt')):
        key, *roots = line.split()
        for r in roots:
            ch, name = r.split('=', 1)
            out.append((key, ch, name))
    return out


def load_aliases():
    out = {}
    for line in _rows(os.path.join(H, 'aliases.tsv')):
        comp, roots = line.split('\t')
        out[comp] = roots.split()
    return out


def load_split_overrides():
    """character -> roots, reviewed by hand."""
    out = {}
    for line in _rows(os.path.join(common.METHOD, 'split_overrides.tsv')):
        p = line.split('\t')
        out[p[0]] = p[1].split()
    return out


def load_reading_overrides():
    out = {}
    for line in _rows(os.path.join(common.METHOD, 'reading_overrides.tsv')):
        p = line.split('\t')
        out[p[0]] = p[1]
    return out


def load_tsv2(path):
    out = {}
    for line in _rows(path):
        p = line.split('\t')
        if len(p) >= 2:
            out[p[0]] = p[1]
    return out


def load_readings():
    """pinyin-pro's most common reading of each GB2312 character."""
    return load_tsv2(os.path.join(common.WORK, 'pinyinpro.tsv'))


def load_strokes():
    return load_tsv2(os.path.join(common.WORK, 'strokes.tsv'))


def load_essay():
    out = {}
    for line in _rows(os.path.join(common.WORK, 'essay_simp.tsv')):
        p = line.split('\t')
        if len(p) == 2 and p[1].isdigit():
            out[p[0]] = out.get(p[0], 0) + int(p[1])
    return out


def load_rime_words():
    out = {}
    text = open(common.RIME_PINYIN, encoding='utf-8').read()
    body = text.split('\n...\n', 1)[1]
    for line in body.split('\n'):
        if not line or line.startswith('#'):
            continue
        p = line.split('\t')
        if len(p) >= 2:
            w = int(p[2]) if len(p) > 2 and p[2].strip().isdigit() else 0
            out[p[0]] = max(out.get(p[0], 0), w)
    return out
