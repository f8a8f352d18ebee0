"""Shared loaders for the table generator: GB2312 character set, component
decompositions, character and word frequencies."""
import os
import re
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
NODE = os.path.join(HERE, 'node_modules')
WORK = os.path.join(HERE, 'work')
ROOT = os.path.abspath(os.path.join(HERE, '..', '..'))
METHOD = os.path.join(ROOT, 'resources', 'method')
TABLES = os.path.join(ROOT, 'resources', 'tables')

DECOMP_JS = os.path.join(NODE, 'hanzi', 'lib', 'data', 'cjk-decomp.txt.js')
JIEBA_DICT = os.path.join(WORK, 'package', 'submodules', 'cppjieba', 'dict', 'jieba.dict.utf8')
RIME_PINYIN = '/usr/share/rime-data/pinyin_simp.dict.yaml'
RIME_ESSAY = '/usr/share/rime-data/essay.txt'


def gb2312_hanzi():
    """The 6,763 hanzi of GB2312 in code order (rows 16 to 87)."""
    out = []
    for hi in range(0xB0, 0xF8):
        for lo in range(0xA1, 0xFF):
            try:
                ch = bytes([hi, lo]).decode('gb2312')
            except UnicodeDecodeError:
                continue
            out.append(ch)
    return out


def is_gb2312(text):
    try:
        b = text.encode('gb2312')
    except UnicodeEncodeError:
        return False
    return all(x >= 0xA1 for x in b)


_DECOMP_LINE = re.compile(r'^([^:]+):([^(]*)\((.*)\)$')


def load_decomp():
    """cjk-decomp: char -> (type, [parts]). Parts are characters or the
    file's own numbered intermediate components (strings of digits)."""
    text = open(DECOMP_JS, encoding='utf-8').read()
    start = text.index('`') + 1
    end = text.rindex('`')
    table = {}
    for line in text[start:end].split('\n'):
        m = _DECOMP_LINE.match(line.strip())
        if not m:
            continue
        key, kind, parts = m.group(1), m.group(2), m.group(3)
        parts = [p for p in parts.split(',') if p]
        table[key] = (kind, parts)
    return table


def jieba_words():
    """(word, frequency) from jieba's dictionary, in file order."""
    out = []
    with open(JIEBA_DICT, encoding='utf-8') as f:
        for line in f:
            p = line.split()
            if len(p) >= 2:
                out.append((p[0], int(p[1])))
    return out


def char_frequency(words=None):
    """Character frequency: the sum of the frequencies of the jieba words it
    occurs in (single characters included)."""
    freq = {}
    for w, n in (words if words is not None else jieba_words()):
        for ch in w:
            freq[ch] = freq.get(ch, 0) + n
    return freq


def jieba_tags():
    """word -> jieba's part-of-speech tag (i 成语, l 习用语, nr person,
    ns place, nt institution, nz other proper name, m numeral, ...)."""
    out = {}
    with open(JIEBA_DICT, encoding='utf-8') as f:
        for line in f:
            p = line.split()
            if len(p) >= 3:
                out[p[0]] = p[2]
    return out
