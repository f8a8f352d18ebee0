"""Splits a character into roots by walking its cjk-decomp decomposition
top-down and stopping at the first component that is a root."""
import common

# Decomposition kinds that repeat their one part (林 = 木 twice).
REPEAT = {'ra': 2, 'rd': 2, 'rs': 2, 'r3tr': 3, 'r3a': 3, 'r3d': 3, 'r3gw': 3,
          'r4sq': 4, 'r4a': 4, 'r4dia': 4, 'r5x': 5, 'rrefl': 2, 'rrefr': 2,
          'rstl': 2, 'r4d': 4}
# Kinds that name a shape variant of their one part (钅 of 金, 丷 of 八).
VARIANT = {'refh', 'refv', 'msp', 'mt', 'ml', 'mb', 'mc', 'mo', 'mtl', 'mr', 'mbl', 'mbr'}
# Components written after what they enclose.
WRITTEN_LAST = {'辶', '廴', '凵'}
STROKE_ROOTS = ('一', '丨', '丿', '丶', '乙')
# Kinds whose second part sits over the top or top left of the first and is
# written first (自 = 丿 over 目, 生 = 丿 over 龶); a dot at the top right
# (术, 尤) is written last.
WRITTEN_FIRST_SECOND = {'wt', 'wtl'}


class Splitter:
    def __init__(self, roots, aliases, decomp=None, overrides=None, strokes=None):
        self.roots = set(roots)          # root characters
        self.aliases = aliases           # component -> list of roots
        self.decomp = decomp if decomp is not None else common.load_decomp()
        self.overrides = overrides or {}  # character -> list of roots
        self.unresolved = {}
        # character -> stroke roots in writing order, for components that
        # hold no root larger than a stroke
        self.strokes = strokes or {}
        self._memo = {}

    def split(self, c):
        """The roots of a character, in writing order."""
        return self._split(c)

    def _split(self, c):
        # A reviewed split wins, also where the character is a component.
        if c in self.overrides:
            return list(self.overrides[c])
        if c in self.roots:
            return [c]
        if c in self.aliases:
            return list(self.aliases[c])
        if c in self._memo:
            return list(self._memo[c])
        res = self._expand(c)
        if c in self.strokes and len(res) > 1 and all(r in STROKE_ROOTS for r in res):
            res = list(self.strokes[c])
        self._memo[c] = res
        return list(res)

    def _expand(self, c):
        entry = self.decomp.get(c)
        if entry is None:
            self.unresolved[c] = self.unresolved.get(c, 0) + 1
            return ['?' + c]
        kind, parts = entry
        base = kind.split('/')[0]
        if not parts or base in ('c', 'me') or (len(parts) == 1 and parts[0] == c):
            self.unresolved[c] = self.unresolved.get(c, 0) + 1
            return ['?' + c]
        if base in REPEAT and len(parts) == 1:
            return self._split(parts[0]) * REPEAT[base]
        if base in VARIANT and len(parts) == 1:
            return self._split(parts[0])
        if len(parts) == 1:
            # a rotation or other transform of one part: no sequence to follow
            self.unresolved[c] = self.unresolved.get(c, 0) + 1
            return ['?' + c]
        order = list(parts)
        if base in WRITTEN_FIRST_SECOND and len(order) == 2:
            # a stroke or part laid over the top of another is written first
            order.reverse()
        if base.startswith('s') and order[0] in WRITTEN_LAST:
            order = order[1:] + order[:1]
        out = []
        for p in order:
            out.extend(self._split(p))
        return out
