"""fontTools as the TrueType tests' oracle: metrics FONT (for codes 0-255) | broken KIND SRC OUT."""
import os
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable


def metrics(path):
    f = TTFont(path)
    scale = lambda v: round(v * 1000 / f['head'].unitsPerEm)  # halves to even
    sub = next(t for t in f['cmap'].tables if t.platformID == 3 and t.format == 4)
    order = f.getGlyphOrder()
    def glyph(c):
        if sub.platEncID == 0:
            return sub.cmap.get(0xF000 + c) or sub.cmap.get(c) or order[0]
        return sub.cmap.get(ord(bytes([c]).decode('cp1252', errors='ignore') or chr(c)), order[0])
    names = [glyph(c) for c in range(256)]
    simple = [g for g in (f['glyf'][n] for n in names) if g.numberOfContours >= 0 and hasattr(g, 'xMin')]
    box = [min([0] + [g.xMin for g in simple]), min([0] + [g.yMin for g in simple]),
           max([0] + [g.xMax for g in simple]), max([0] + [g.yMax for g in simple])]
    full, first = '', True  # the first record, then the first later English one
    for rec in f['name'].names:
        if (rec.platformID, rec.platEncID, rec.nameID) != (3, 0 if sub.platEncID == 0 else 1, 4):
            continue
        if not first and rec.langID not in (1033, 2057, 3081, 4105, 5129, 6153):
            continue
        full = ''.join(chr(ord(ch) & 255) for ch in rec.toUnicode() if ch not in ' \0')
        if not first:
            break
        first = False
    os2, post = f['OS/2'], f['post']
    print(*[scale(f['hmtx'][n][0]) for n in names], *[scale(v) for v in box], scale(os2.xAvgCharWidth),
          scale(os2.usWinAscent), scale(-os2.usWinDescent), scale(f['hhea'].advanceWidthMax),
          scale(f['hmtx'][order[0]][0]), f'{round(post.italicAngle, 2):g}', os2.usWeightClass,
          int(sub.platEncID == 0), int(post.isFixedPitch != 0), full)


def broken(kind, src, out):
    f = TTFont(src)
    at = {t: f.reader.tables[t].offset for t in ('head', 'hhea')}
    patches = {'otto': (0, b'OTTO'), 'ttcf': (0, b'ttcf'), 'upem-0': (at['head'] + 18, b'\0\0'),
               'long-loca-flag': (at['head'] + 50, b'\0\1'), 'hmetrics-0': (at['hhea'] + 34, b'\0\0'),
               'half': (os.path.getsize(src) // 2, None)}
    if kind in patches:
        data = bytearray(open(src, 'rb').read())
        where, value = patches[kind]
        data[where:] = value + data[where + len(value):] if value else b''
        return open(out, 'wb').write(data)
    if kind == 'no-os2':
        del f['OS/2']
    elif kind == 'no-format-4':  # a platform-1 subtable and a Windows one of format 12
        windows = CmapSubtable.newSubtable(12)
        windows.platformID, windows.platEncID, windows.language, windows.cmap = 3, 10, 0, f.getBestCmap()
        f['cmap'].tables = [t for t in f['cmap'].tables if t.platformID == 1] + [windows]
    elif kind == 'delimiter-name':  # only an Italian full name: the first record is read
        f['name'].removeNames(nameID=4, platformID=3)
        f['name'].setName('Test (Font)/X', 4, 3, 1, 0x410)
    f.save(out)


if __name__ == '__main__':
    metrics(sys.argv[2]) if sys.argv[1] == 'metrics' else broken(*sys.argv[2:5])
