"""The coding rules of the method: full codes from splits and readings, word
codes from character codes."""

# cnchar-order stroke letters -> the five stroke roots. The rising stroke
# (i) counts as horizontal, the vertical hook (g) as vertical, the falling
# stroke as a dot, and every other bend as the fold, the vertical with a rise
# (h, 竖提: the first stroke of 以, the left stroke of 收 and 叫) included.
STROKE_ROOT = {}
for _l in 'ji':
    STROKE_ROOT[_l] = '一'
for _l in 'fg':
    STROKE_ROOT[_l] = '丨'
STROKE_ROOT['s'] = '丿'
for _l in 'kdl':
    STROKE_ROOT[_l] = '丶'
for _l in 'abcehmnopqrtuvwxyz':
    STROKE_ROOT[_l] = '乙'


def initial(reading):
    """The sound code: the first letter of the pinyin (zh, ch, sh give z, c, s)."""
    r = reading.strip().lower().replace('ü', 'v')
    return r[0]


def full_code(roots, keys, sound, strokes=None):
    """roots: the split; keys: root -> key letter; sound: one letter;
    strokes: cnchar-order letters, used for a character that is one root."""
    k = [keys[r].lower() for r in roots]
    if len(k) >= 3:
        shape = k[0] + k[1] + k[-1]
    elif len(k) == 2:
        shape = k[0] + k[1]
    else:
        # A single root: its key, then the keys of its first and last strokes.
        if not strokes:
            raise ValueError('a single-root character needs its strokes')
        first = keys[STROKE_ROOT[strokes[0]]].lower()
        last = keys[STROKE_ROOT[strokes[-1]]].lower()
        shape = k[0] + first + last
    return shape + sound


def word_code(codes):
    """codes: the full codes of the word's characters, in order."""
    n = len(codes)
    if n == 2:
        return codes[0][:2] + codes[1][:2]
    if n == 3:
        return codes[0][0] + codes[1][0] + codes[2][:2]
    if n >= 4:
        return codes[0][0] + codes[1][0] + codes[2][0] + codes[-1][0]
    raise ValueError('a word has at least two characters')
