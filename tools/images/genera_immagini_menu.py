#!/usr/bin/env python3
"""Writes app/shell/intro_images.cpp: the two pictures of the start-up menu,
drawn here pixel by pixel for this program.

- the municipality's emblem: a 79 x 78 Windows bitmap (24 bits per pixel),
  a shield under a mural crown;
- the programme's logo: a 90 x 47 GIF image, a house and the words
  "ORTESA" and "3".

Run from the project folder:

    python3 tools/images/genera_immagini_menu.py
"""

import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "app", "shell", "intro_images.cpp")

# The menu's background (the forms' default &HC0C0C0), so the emblem's
# corners blend with the window.
GREY = (192, 192, 192)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
RED = (178, 24, 36)
BLUE = (20, 60, 140)
GOLD = (214, 170, 40)
DARK_GOLD = (140, 100, 20)
ORANGE = (230, 110, 20)
LIGHT_BLUE = (200, 220, 245)


# ---------------------------------------------------------------- emblem (BMP)

def emblem_pixel(x, y):
    """79 x 78: a mural crown (rows 2-17) over a shield (rows 20-75)."""
    cx = 39
    # Mural crown: a gold band with five merlons and dark "windows".
    if 8 <= y <= 17 and 14 <= x <= 64:
        if y <= 10:
            # merlons: 5 teeth, 6 pixels wide, 4 apart
            tooth = (x - 14) % 10
            if tooth < 6:
                return DARK_GOLD if tooth in (0, 5) or y == 8 else GOLD
            return GREY
        if 13 <= y <= 15 and (x - 16) % 8 in (2, 3):
            return DARK_GOLD
        if y in (11, 17):
            return DARK_GOLD
        return GOLD
    if 2 <= y <= 7 and 14 <= x <= 64:
        # merlon tops
        tooth = (x - 14) % 10
        if y >= 5 and tooth < 6:
            return DARK_GOLD if tooth in (0, 5) or y == 5 else GOLD
        return GREY
    # Shield: straight sides from row 20 to 50, then curving to a point at 75.
    top, side_end, bottom = 20, 50, 75
    left, right = 12, 66
    if top <= y <= bottom:
        if y <= side_end:
            half = (right - left) / 2
        else:
            t = (y - side_end) / (bottom - side_end)
            half = (right - left) / 2 * (1 - t * t) ** 0.5
        dx = abs(x - cx)
        if dx <= half:
            if dx > half - 2 or y <= top + 1:
                return DARK_GOLD  # border
            # Field: red, with a white band from upper left to lower right and
            # a gold star in the upper right.
            band = (x - left) - (y - top)
            if -6 <= band <= 6:
                return WHITE
            sx, sy = 50, 31
            if abs(x - sx) + abs(y - sy) <= 5 or (abs(x - sx) <= 1 and abs(y - sy) <= 7) or (
                    abs(y - sy) <= 1 and abs(x - sx) <= 7):
                return GOLD
            return BLUE if band > 6 else RED
    return GREY


def bmp(width, height, pixel):
    row_bytes = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes([b, g, r])
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = bytearray(b"BM")
    header += (14 + 40 + len(data)).to_bytes(4, "little") + b"\0\0\0\0" + (14 + 40).to_bytes(4, "little")
    info = bytearray()
    info += (40).to_bytes(4, "little") + width.to_bytes(4, "little") + height.to_bytes(4, "little")
    info += (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + (0).to_bytes(4, "little")
    info += len(data).to_bytes(4, "little") + (3780).to_bytes(4, "little") * 2 + (0).to_bytes(4, "little") * 2
    return bytes(header + info + data)


# ---------------------------------------------------------------- logo (GIF)

# A 5 x 7 font for the few letters the logo needs.
FONT = {
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
}


def glyph_at(text, x0, y0, scale, x, y):
    """Whether pixel (x, y) is inked by `text` drawn at (x0, y0)."""
    if y < y0 or y >= y0 + 7 * scale:
        return False
    gy = (y - y0) // scale
    for i, ch in enumerate(text):
        gx0 = x0 + i * 6 * scale
        if gx0 <= x < gx0 + 5 * scale:
            return FONT[ch][gy][(x - gx0) // scale] == "1"
    return False


LOGO_PALETTE = [WHITE, BLUE, ORANGE, LIGHT_BLUE, BLACK, GREY, WHITE, WHITE]


def logo_pixel(x, y):
    """90 x 47: a house on the left, "ORTESA" and a large "3" on the right."""
    # Frame.
    if x in (0, 89) or y in (0, 46):
        return 1
    # House: roof (triangle, rows 6-20), walls (rows 20-40), door and window.
    hx, roof_top, roof_base = 20, 6, 20
    if roof_top <= y <= roof_base:
        half = (y - roof_top) * 14 // (roof_base - roof_top)
        if abs(x - hx) <= half:
            return 2
    if 21 <= y <= 40 and 9 <= x <= 31:
        if 29 <= y <= 40 and 17 <= x <= 22:
            return 2  # door
        if 24 <= y <= 29 and 11 <= x <= 15:
            return 3  # window
        if 24 <= y <= 29 and 25 <= x <= 29:
            return 3
        return 1 if x in (9, 31) or y == 40 else 3 if y == 21 else 1
    if y == 41 and 4 <= x <= 36:
        return 2  # ground line
    if glyph_at("ORTESA", 41, 7, 1, x, y):
        return 1
    if glyph_at("3", 58, 19, 3, x, y):
        return 2
    if 41 <= x <= 75 and y == 16:
        return 2  # rule under the name
    return 0


def lzw(indices, min_code_size):
    """GIF's variable-length LZW, codes up to 12 bits."""
    clear = 1 << min_code_size
    end = clear + 1
    codes = []
    widths = []
    width = min_code_size + 1

    def reset():
        return {(i,): i for i in range(clear)}, end + 1

    table, next_code = reset()
    codes.append(clear)
    widths.append(width)
    current = (indices[0],)
    for k in indices[1:]:
        candidate = current + (k,)
        if candidate in table:
            current = candidate
            continue
        codes.append(table[current])
        widths.append(width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            codes.append(clear)
            widths.append(width)
            table, next_code = reset()
            width = min_code_size + 1
        current = (k,)
    codes.append(table[current])
    widths.append(width)
    codes.append(end)
    widths.append(width)
    bits, nbits, out = 0, 0, bytearray()
    for c, w in zip(codes, widths):
        bits |= c << nbits
        nbits += w
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(width, height, pixel, palette):
    out = bytearray(b"GIF89a")
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out += bytes([0x80 | 0x70 | 2, 0, 0])  # global table of 8 colours
    for r, g, b in palette:
        out += bytes([r, g, b])
    out += b","
    out += (0).to_bytes(2, "little") * 2 + width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out += b"\x00"
    indices = [pixel(x, y) for y in range(height) for x in range(width)]
    data = lzw(indices, 3)
    out += b"\x03"
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes([len(chunk)]) + chunk
    out += b"\x00;"
    return bytes(out)


def cpp_bytes(name, data):
    lines = []
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02X" % b for b in data[i:i + 16]) + ",")
    return ("constexpr unsigned char %s[] = {\n" % name) + "\n".join(lines) + "\n};\n"


def main():
    emblem = bmp(79, 78, emblem_pixel)
    logo = gif(90, 47, logo_pixel, LOGO_PALETTE)
    with open(OUT, "w") as f:
        f.write("// Generated by tools/images/genera_immagini_menu.py; do not edit.\n")
        f.write('#include "app/shell/intro_images.h"\n\n')
        f.write("namespace sevrina {\nnamespace {\n\n")
        f.write(cpp_bytes("kEmblema", emblem))
        f.write("\n")
        f.write(cpp_bytes("kLogo", logo))
        f.write("\n}  // namespace\n\n")
        f.write("std::string_view emblema_comune() {\n"
                "  return {reinterpret_cast<const char*>(kEmblema), sizeof kEmblema};\n}\n\n")
        f.write("std::string_view logo_progetto() {\n"
                "  return {reinterpret_cast<const char*>(kLogo), sizeof kLogo};\n}\n\n")
        f.write("}  // namespace sevrina\n")


if __name__ == "__main__":
    main()
