"""The family check: a component splits the same way in every character
that holds it. Needs the decomposition data (prepare.sh); the check of the
committed files runs it when that data is there."""
import os

import common
import data
import split as splitmod


def is_run(part, whole):
    n = len(part)
    return any(whole[i:i + n] == part for i in range(len(whole) - n + 1))


def is_subsequence(part, whole):
    it = iter(whole)
    return all(r in it for r in part)


def inconsistent(splits):
    """[(character, component, the component's own split, the character's
    split)] where a component of the decomposition is split otherwise inside
    the character than on its own: not a run of the character's roots (or,
    for the enclosing 辶 廴 凵 and strokes laid over the top, not in order)."""
    if not os.path.exists(common.DECOMP_JS):
        return None
    layout = data.load_layout()
    keys = {r for _, r, _ in layout}
    strokes = data.load_strokes()
    strokes.update(data.load_tsv2(os.path.join(common.METHOD, 'stroke_overrides.tsv')))
    import method
    stroke_roots = {c: [method.STROKE_ROOT[x] for x in s] for c, s in strokes.items()}
    sp = splitmod.Splitter(keys, data.load_aliases(), overrides=data.load_split_overrides(),
                           strokes=stroke_roots)
    agree, differ = {}, {}
    for c, roots in splits.items():
        entry = sp.decomp.get(c)
        if not entry or len(roots) < 2:
            continue
        kind, parts = entry
        base = kind.split('/')[0]
        if len(parts) < 2:
            continue
        for p in parts:
            own = sp.split(p)
            if any(r.startswith('?') for r in own) or len(own) >= len(roots):
                continue
            loose = base in splitmod.WRITTEN_FIRST_SECOND or base.startswith('s')
            if is_run(own, roots) or (loose and is_subsequence(own, roots)):
                agree.setdefault(p, []).append(c)
            else:
                differ.setdefault(p, []).append((c, own, roots))
    # A component a learner meets on its own (a character), or one that other
    # characters split the usual way, must split so in every character.
    gb = set(splits)
    return [(c, p, own, roots) for p, rows in sorted(differ.items())
            if p in gb or agree.get(p) for c, own, roots in rows]
