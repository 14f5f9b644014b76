#!/usr/bin/env python3
"""Generates pdf/text/standard_widths.cpp, the advance widths of the five
standard font families the writer measures text with.

The widths are those of the standard Type 1 fonts as published in their font
metrics; Debian's fonts-urw-base35 ships metric-compatible AFM files
(Nimbus Sans = Helvetica, Nimbus Roman = Times, Standard Symbols PS = Symbol,
D050000L = ZapfDingbats). The rows where the writer's tables deliberately
differ (controls, unassigned WinAnsi codes, a few mathematical signs) are
applied on top. The program itself never reads a font file.

Run once and commit the result:
    python3 tools/fonts/make_width_tables.py [AFM folder] > pdf/text/standard_widths.cpp
"""

import os
import sys

AFM_DIR = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/type1/urw-base35"

# Glyph names of WinAnsiEncoding, codes 32 to 255 (None = no glyph).
WIN_ANSI = {}
_ascii = ("space exclam quotedbl numbersign dollar percent ampersand quotesingle "
          "parenleft parenright asterisk plus comma hyphen period slash zero one two "
          "three four five six seven eight nine colon semicolon less equal greater "
          "question at A B C D E F G H I J K L M N O P Q R S T U V W X Y Z bracketleft "
          "backslash bracketright asciicircum underscore grave a b c d e f g h i j k l "
          "m n o p q r s t u v w x y z braceleft bar braceright asciitilde").split()
for i, n in enumerate(_ascii):
    WIN_ANSI[32 + i] = n
_high = {
    128: "Euro", 130: "quotesinglbase", 131: "florin", 132: "quotedblbase",
    133: "ellipsis", 134: "dagger", 135: "daggerdbl", 136: "circumflex",
    137: "perthousand", 138: "Scaron", 139: "guilsinglleft", 140: "OE",
    142: "Zcaron", 145: "quoteleft", 146: "quoteright", 147: "quotedblleft",
    148: "quotedblright", 149: "bullet", 150: "endash", 151: "emdash",
    152: "tilde", 153: "trademark", 154: "scaron", 155: "guilsinglright",
    156: "oe", 158: "zcaron", 159: "Ydieresis", 160: "space",
}
WIN_ANSI.update(_high)
_latin1 = ("exclamdown cent sterling currency yen brokenbar section dieresis copyright "
           "ordfeminine guillemotleft logicalnot hyphen registered macron degree "
           "plusminus twosuperior threesuperior acute mu paragraph periodcentered "
           "cedilla onesuperior ordmasculine guillemotright onequarter onehalf "
           "threequarters questiondown Agrave Aacute Acircumflex Atilde Adieresis "
           "Aring AE Ccedilla Egrave Eacute Ecircumflex Edieresis Igrave Iacute "
           "Icircumflex Idieresis Eth Ntilde Ograve Oacute Ocircumflex Otilde "
           "Odieresis multiply Oslash Ugrave Uacute Ucircumflex Udieresis Yacute "
           "Thorn germandbls agrave aacute acircumflex atilde adieresis aring ae "
           "ccedilla egrave eacute ecircumflex edieresis igrave iacute icircumflex "
           "idieresis eth ntilde ograve oacute ocircumflex otilde odieresis divide "
           "oslash ugrave uacute ucircumflex udieresis yacute thorn ydieresis").split()
for i, n in enumerate(_latin1):
    WIN_ANSI[161 + i] = n
assert len(WIN_ANSI) == 95 + 27 + 1 + 95

UNASSIGNED = (127, 129, 141, 143, 144, 157)


def read_afm(name):
    """Returns ({glyph name: width}, {code: width}) of one AFM file."""
    by_name, by_code = {}, {}
    with open(os.path.join(AFM_DIR, name + ".afm"), encoding="latin-1") as f:
        for line in f:
            if not line.startswith("C "):
                continue
            fields = {}
            for part in line.split(";"):
                bits = part.split()
                if len(bits) >= 2:
                    fields[bits[0]] = bits[1]
            code, width, glyph = int(fields["C"]), int(fields["WX"]), fields.get("N")
            if glyph is not None:
                by_name[glyph] = width
            if code >= 0:
                by_code[code] = width
    return by_name, by_code


def text_table(afm, controls, unassigned, rows):
    by_name, _ = read_afm(afm)
    table = [None] * 256
    for c in range(32):
        table[c] = controls
    for c in UNASSIGNED:
        table[c] = unassigned
    for c, glyph in WIN_ANSI.items():
        table[c] = by_name[glyph]
    for c, w in rows.items():
        table[c] = w
    return table


def builtin_table(afm, rows):
    _, by_code = read_afm(afm)
    table = [None] * 256
    for c, w in by_code.items():
        if 0 <= c <= 255:
            table[c] = w
    for c, w in rows.items():
        table[c] = w
    return table


def arial(afm, controls):
    return text_table(afm, controls, 750, {175: 552, 177: 549, 181: 576, 247: 549})


def times(afm):
    return text_table(afm, 333, 778, {175: 500, 177: 549, 181: 576, 247: 549})


def main():
    tables = []
    tables.append(("kArialWidths", [
        arial("NimbusSans-Regular", 272),
        arial("NimbusSans-Bold", 311),
        arial("NimbusSans-Italic", 259),
        arial("NimbusSans-BoldItalic", 311),
    ]))
    tables.append(("kTimesNewRomanWidths", [
        times("NimbusRoman-Regular"),
        times("NimbusRoman-Bold"),
        times("NimbusRoman-Italic"),
        times("NimbusRoman-BoldItalic"),
    ]))
    tables.append(("kCourierNewWidths", [[600] * 256]))
    symbol_rows = {c: 332 for c in range(30)}
    symbol_rows.update({c: 600 for c in [30, 31, 240, 255] + list(range(127, 161))})
    tables.append(("kSymbolWidths", [builtin_table("StandardSymbolsPS", symbol_rows)]))
    dingbat_rows = {c: 600 for c in range(32)}
    dingbat_rows.update({c: 0 for c in [127, 240, 255] + list(range(142, 161))})
    tables.append(("kZapfDingbatsWidths", [builtin_table("D050000L", dingbat_rows)]))

    for name, group in tables:
        for t in group:
            missing = [c for c in range(256) if t[c] is None]
            if missing:
                sys.exit(f"{name}: no width for codes {missing}")

    out = []
    out.append("// Generated by tools/fonts/make_width_tables.py; do not edit by hand.")
    out.append("// Advance widths of the standard fonts in thousandths of the font size,")
    out.append("// indexed by character code (WinAnsi for the text families, the fonts'")
    out.append("// own encodings for Symbol and ZapfDingbats).")
    out.append("")
    out.append('#include "pdf/text/standard_widths.h"')
    out.append("")
    out.append("namespace pdf::standard_widths {")
    for name, group in tables:
        out.append("")
        if len(group) == 1:
            out.append(f"const WidthTable {name} = {{")
            rows = group[0]
            for r in range(0, 256, 16):
                out.append("    " + ", ".join(f"{w:4d}" for w in rows[r:r + 16]) + ",")
            out.append("};")
        else:
            out.append(f"const WidthTable {name}[{len(group)}] = {{")
            for rows in group:
                out.append("    {")
                for r in range(0, 256, 16):
                    out.append("        " + ", ".join(f"{w:4d}" for w in rows[r:r + 16]) + ",")
                out.append("    },")
            out.append("};")
    out.append("")
    out.append("}  // namespace pdf::standard_widths")
    print("\n".join(out))


if __name__ == "__main__":
    main()
