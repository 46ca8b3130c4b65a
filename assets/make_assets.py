#!/usr/bin/env python3
"""make_assets.py - draws every icon and picture used by Kelto Zelbo Break.

Run by hand from anywhere (./assets/make_assets.py) after changing one of the
drawings below; the files it writes are committed to the repository and the
build never runs this script.  The output is deterministic: running it again
with the same Pillow and fonts gives byte-identical files.

Needs Python 3 with Pillow (Debian: python3-pil) and the DejaVu fonts
(Debian: fonts-dejavu-core).

Writes, next to this script:
  stopwatch.ico  main window icon        32x32 + 16x16, 16 colours
  stopwatch.png  same stopwatch, 256x256 full colour (desktop integration)
  warning.ico    alarm pop-up icon       32x32 + 16x16, 16 colours
  note.ico       message editor icon     32x32 + 16x16, 16 colours
  about.ico      About window icon       32x32 + 16x16, 16 colours
  banner.gif     advertisement banner    468x60
  about.jpg      About window picture    271x83
  farewell.jpg   picture shown at exit   346x68
CMakeLists.txt compiles them in as Qt resources under :/assets/.
"""
import math
import os
import struct
import subprocess
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("make_assets.py: needs Python 3 with Pillow (apt-get install python3-pil)")

# The files are written next to this script, wherever it is run from.
os.chdir(os.path.dirname(os.path.abspath(__file__)))

# ---------------------------------------------------------------------------
# 16-colour icons
#
# The icons are hand-placed pixel art in the standard 16-colour Windows
# palette.  One character per pixel:
#   .  transparent
#   K black    m maroon   g green    o olive    n navy     p purple
#   t teal     s silver   G grey     R red      L lime     Y yellow
#   B blue     F fuchsia  C aqua     W white
# ---------------------------------------------------------------------------

PALETTE = [
    ('K', (0x00, 0x00, 0x00)), ('m', (0x80, 0x00, 0x00)),
    ('g', (0x00, 0x80, 0x00)), ('o', (0x80, 0x80, 0x00)),
    ('n', (0x00, 0x00, 0x80)), ('p', (0x80, 0x00, 0x80)),
    ('t', (0x00, 0x80, 0x80)), ('s', (0xC0, 0xC0, 0xC0)),
    ('G', (0x80, 0x80, 0x80)), ('R', (0xFF, 0x00, 0x00)),
    ('L', (0x00, 0xFF, 0x00)), ('Y', (0xFF, 0xFF, 0x00)),
    ('B', (0x00, 0x00, 0xFF)), ('F', (0xFF, 0x00, 0xFF)),
    ('C', (0x00, 0xFF, 0xFF)), ('W', (0xFF, 0xFF, 0xFF)),
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}

# Main window: stopwatch, crown on top, side button, hands at 12 and 1:30.
STOPWATCH_32 = """
............KKKKKKKK............
............KWssssGK............
............KKKKKKKK......KK....
..............KsGK.......KssK...
.............KKKKKK.....KssK....
..........KKKssssssKKKKKssK.....
........KKssssssssssssKKsK......
.......KssssWWWRRWWWssssK.......
......KsssWWWWWRRWWWWWsssK......
.....KsssWRWWWWWWWWWWRWsssK.....
....KsssWWWWWWWKKWWWWWWWsssK....
....KssWWWWWWWWKKWWWWWKWWssK....
...KssWRWWWWWWWKKWWWWKWWRWssK...
...KssWWWWWWWWWKKWWWKWWWWWsGK...
...KsWWWWWWWWWWKKWWKWWWWWWWGK...
..KssWWWWWWWWWWKKWKWWWWWWWWGGK..
..KssWWWWWWWWWWKKKWWWWWWWWWGGK..
..KssRRWWWWWWWKRRKWWWWWWWRRGGK..
..KssRRWWWWWWWKRRKWWWWWWWRRGGK..
..KssWWWWWWWWWWKKWWWWWWWWWWGGK..
..KssWWWWWWWWWWWWWWWWWWWWWWGGK..
...KsWWWWWWWWWWWWWWWWWWWWWWGK...
...KssWWWWWWWWWWWWWWWWWWWWGGK...
...KssWRWWWWWWWWWWWWWWWWRWGGK...
....KssWWWWWWWWWWWWWWWWWWGGK....
....KsssWWWWWWWWWWWWWWWWGGGK....
.....KsssWRWWWWWWWWWWRWGGGK.....
......KsssWWWWWRRWWWWWGGGK......
.......KssssWWWRRWWWGGGGK.......
........KKsGGGGGGGGGGGKK........
..........KKKGGGGGGKKK..........
.............KKKKKK.............
"""

STOPWATCH_16 = """
.....KKKKK......
.....KsssK......
......KsK...KK..
.....KKKKK.KsK..
...KKWWRWWKKK...
..KWWWWKWWWWK...
..KWWWWKWWKWK...
.KWWWWWKWKWWWK..
.KWWWWWKKWWWWK..
.KRWWWWKWWWWRK..
.KWWWWWWWWWWsK..
.KWWWWWWWWWWsK..
..KWWWWWWWWsK...
..KsWWWWWWssK...
...KKsWRWsKK....
.....KKKKK......
"""

# Alarm pop-up: warning triangle.
WARNING_32 = """
................................
................................
...............mm...............
..............mRRm..............
..............mRRm..............
.............mRRRRm.............
.............mRRRRm.............
............mRRRRRRm............
............mRRRRRRm............
...........mRRRWWRRRm...........
...........mRRWWWWRRm...........
..........mRRRWWWWRRRm..........
..........mRRRWWWWRRRm..........
.........mRRRRWWWWRRRRm.........
.........mRRRRWWWWRRRRm.........
........mRRRRRWWWWRRRRRm........
........mRRRRRWWWWRRRRRm........
.......mRRRRRRWWWWRRRRRRm.......
.......mRRRRRRWWWWRRRRRRm.......
......mRRRRRRRRWWRRRRRRRRm......
......mRRRRRRRRWWRRRRRRRRm......
.....mRRRRRRRRRRRRRRRRRRRRm.....
.....mRRRRRRRRRRRRRRRRRRRRm.....
....mRRRRRRRRRRWWRRRRRRRRRRm....
....mRRRRRRRRRWWWWRRRRRRRRRm....
...mRRRRRRRRRRWWWWRRRRRRRRRRm...
...mRRRRRRRRRRRWWRRRRRRRRRRRm...
..mRRRRRRRRRRRRRRRRRRRRRRRRRRm..
..mRRRRRRRRRRRRRRRRRRRRRRRRRRm..
.mRRRRRRRRRRRRRRRRRRRRRRRRRRRRm.
.mmmmmmmmmmmmmmmmmmmmmmmmmmmmmm.
................................
"""

WARNING_16 = """
................
.......mm.......
......mRRm......
......mRRm......
.....mRRRRm.....
.....mRWWRm.....
....mRRWWRRm....
....mRRWWRRm....
...mRRRWWRRRm...
...mRRRWWRRRm...
..mRRRRRRRRRRm..
..mRRRRWWRRRRm..
.mRRRRRWWRRRRRm.
mmRRRRRRRRRRRRmm
.mmmmmmmmmmmmmm.
................
"""

# Message editor: note card with a tab, three lines of "text".
NOTE_32 = """
................................
................................
.KKKKKKKKKK.....................
.KWYWYWYWYWK....................
.KYWYWYWYWYWK...................
.KWYWYWYWYWYWK..................
.KYWYWYWYWYWYWKKKKKKKKKKKKKKK...
.KWYWYWYWYWYWYWYWYWYWYWYWYWYK...
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWKKKKKKKKKKKKKKKKKKKKYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYKKKKKKKKKKKKKKKKKKKKWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWKKKKKKKKKKKKKKKKKKKKYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KYWYWYWYWYWYWYWYWYWYWYWYWYWKGG.
.KWYWYWYWYWYWYWYWYWYWYWYWYWYKGG.
.KKKKKKKKKKKKKKKKKKKKKKKKKKKKGG.
...GGGGGGGGGGGGGGGGGGGGGGGGGGGG.
...GGGGGGGGGGGGGGGGGGGGGGGGGGGG.
................................
"""

NOTE_16 = """
................
................
KKKKKK..........
KYWYWYK.........
KWYWYWYKKKKKKKK.
KYWYWYWYWYWYWYKG
KWYWYWYWYWYWYWKG
KYKKKKKKKKKKKYKG
KWYWYWYWYWYWYWKG
KYKKKKKKKKKKKYKG
KWYWYWYWYWYWYWKG
KYKKKKKKKKKKKYKG
KWYWYWYWYWYWYWKG
KYWYWYWYWYWYWYKG
KKKKKKKKKKKKKKKG
.GGGGGGGGGGGGGGG
"""

# About window: wheelchair symbol on a rounded blue square.
ABOUT_32 = """
...nnnnnnnnnnnnnnnnnnnnnnnnnn...
.nnBBBBBBBBBBBBBBBBBBBBBBBBBBnn.
.nBBBBBBBBBBBBBBBBBBBBBBBBBBBBn.
nBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBBWWBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWWBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWWBBBBBBBBBBBBBBn
nBBBBBBBBBBBBBWWBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWBBBBBBBBBBBBBBBn
nBBBBBBBBBBBBWWWWWWWWWBBBBBBBBBn
nBBBBBBBBBBBBWWWWWWWWWBBBBBBBBBn
nBBBBBBBBBBBBWWWBBBBBBBBBBBBBBBn
nBBBBBBBBWWWWWWWBBBBBBBBBBBBBBBn
nBBBBBBBWWWWWWWWWWWWWWWWBBBBBBBn
nBBBBBBWWWBBBWWWWWWWWWWWBBBBBBBn
nBBBBBBWWBBBBWWWWWWWWWWWBBBBBBBn
nBBBBBWWBBBBBBBBBBWWBWWWBBBBBBBn
nBBBBBWWBBBBBBBBBBWWBWWWBBBBBBBn
nBBBBBWWBBBBBBBBBBWWBWWWBBBBBBBn
nBBBBBWWBBBBBBBBBBWWBWWWBBBBBBBn
nBBBBBWWBBBBBBBBBBWWBWWWWWWBBBBn
nBBBBBBWWBBBBBBBBWWBBWWWWWWBBBBn
nBBBBBBWWWBBBBBBWWWBBBBBBBBBBBBn
nBBBBBBBWWWWWWWWWWBBBBBBBBBBBBBn
nBBBBBBBBWWWWWWWWBBBBBBBBBBBBBBn
nBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBn
.nBBBBBBBBBBBBBBBBBBBBBBBBBBBBn.
.nnBBBBBBBBBBBBBBBBBBBBBBBBBBnn.
...nnnnnnnnnnnnnnnnnnnnnnnnnn...
"""

ABOUT_16 = """
.nnnnnnnnnnnnnn.
nBBBBBBBBBBBBBBn
nBBBBBWWBBBBBBBn
nBBBBBWWBBBBBBBn
nBBBBBBBBBBBBBBn
nBBBBBWWBBBBBBBn
nBBBBBWWBBBBBBBn
nBBBBBWWWWWBBBBn
nBBBBBWWBBBBBBBn
nBBBBWWWBBBBBBBn
nBBBWBWWWWWWWBBn
nBBBWBBBBBWBWBBn
nBBBWBBBBBWBWBBn
nBBBBWBBBWBBWWBn
nBBBBBWWWBBBBBBn
.nnnnnnnnnnnnnn.
"""

def parse(art, size):
    rows = art.split()
    if len(rows) != size or any(len(r) != size for r in rows):
        raise SystemExit('drawing is not %dx%d' % (size, size))
    for r in rows:
        for ch in r:
            if ch != '.' and ch not in INDEX:
                raise SystemExit('unknown colour %r' % ch)
    return rows


def bmp_entry(rows):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colours, 1-bit mask."""
    size = len(rows)
    # the height counts colour bitmap and mask together
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         0, 0, 0, 0, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0)
                       for _, (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for r in reversed(rows):               # bitmaps are stored bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, ch in enumerate(r):
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)   # transparent; colour 0
            else:
                line[x // 2] |= INDEX[ch] << (0 if x % 2 else 4)
        xor += line
        mask += bits
    image = bytes(xor + mask)
    header = header[:20] + struct.pack('<I', len(image)) + header[24:]
    return header + palette + image


def write_ico(path, art32, art16):
    images = [(32, bmp_entry(parse(art32, 32))),
              (16, bmp_entry(parse(art16, 16)))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


write_ico('stopwatch.ico', STOPWATCH_32, STOPWATCH_16)
write_ico('warning.ico', WARNING_32, WARNING_16)
write_ico('note.ico', NOTE_32, NOTE_16)
write_ico('about.ico', ABOUT_32, ABOUT_16)

# ---------------------------------------------------------------------------
# Full-colour pictures.  Everything is drawn SS times larger and scaled down,
# which gives clean anti-aliased edges.
# ---------------------------------------------------------------------------

SS = 4


def font_file(bold):
    name = 'DejaVuSans-Bold.ttf' if bold else 'DejaVuSans.ttf'
    path = '/usr/share/fonts/truetype/dejavu/' + name
    if os.path.exists(path):
        return path
    pattern = 'DejaVu Sans:bold' if bold else 'DejaVu Sans'
    return subprocess.check_output(['fc-match', '-f', '%{file}', pattern],
                                   text=True)


def font(px, bold=True):
    """DejaVu Sans at px output pixels (drawn SS times larger)."""
    return ImageFont.truetype(font_file(bold), int(round(px * SS)))


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def gradient(w, h, c0, c1, horizontal=False):
    """Linear gradient from c0 to c1, top to bottom or left to right."""
    n = w if horizontal else h
    strip = Image.new('RGB', (n, 1) if horizontal else (1, n))
    strip.putdata([lerp(c0, c1, i / max(1, n - 1)) for i in range(n)])
    return strip.resize((w, h), Image.NEAREST)


def diagonal_gradient(size, c0, c1):
    """Square gradient from c0 at the top left to c1 at the bottom right."""
    img = Image.new('RGB', (size, size))
    img.putdata([lerp(c0, c1, (x + y) / (2.0 * (size - 1)))
                 for y in range(size) for x in range(size)])
    return img


def blend(img, paint, blur=0, base=(0, 0, 0)):
    """Draw semi-transparent shapes: paint(draw) works on a clear layer that
    is then (optionally blurred and) composited over img.  base is the colour
    of the clear layer, which a blur drags into the edges of the shapes."""
    layer = Image.new('RGBA', img.size, base + (0,))
    paint(ImageDraw.Draw(layer))
    if blur:
        layer = layer.filter(ImageFilter.GaussianBlur(blur))
    return Image.alpha_composite(img, layer)


def ink_box(fnt, text):
    """Width, height and offset of the inked part of text, in output px."""
    x0, y0, x1, y1 = fnt.getbbox(text)
    return (x1 - x0) / SS, (y1 - y0) / SS, x0 / SS, y0 / SS


def put_text(img, fnt, text, x, y, fill, shadow=None, offset=1.0, soft=0):
    """Draw text with its ink starting at (x, y), optionally with a shadow
    offset down and right (soft: blur radius in output px)."""
    _, _, ox, oy = ink_box(fnt, text)
    if shadow:
        img = blend(img, lambda d: d.text(((x - ox + offset) * SS,
                                           (y - oy + offset) * SS),
                                          text, font=fnt, fill=shadow),
                    blur=soft * SS)
    img = blend(img, lambda d: d.text(((x - ox) * SS, (y - oy) * SS), text,
                                      font=fnt, fill=fill))
    return img


def scaled_box(x0, y0, x1, y1):
    return [x0 * SS, y0 * SS, x1 * SS, y1 * SS]


def disc(x, y, r):
    return scaled_box(x - r, y - r, x + r, y + r)


def stopwatch_image(size):
    """The stopwatch in full colour on a transparent square of side size.

    Laid out on a 256-unit grid, the same layout as the 32x32 icon scaled
    by eight: crown on top, side button at half past one, white dial with
    twelve red marks, hands at twelve and half past one."""
    S = size * SS
    k = S / 256.0
    img = Image.new('RGBA', (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    ink = (24, 24, 28, 255)
    silver_hi = (246, 246, 248)
    silver_lo = (128, 130, 138)
    line = 7
    cx, cy, R = 128, 145, 109

    def box(x0, y0, x1, y1):
        return [x0 * k, y0 * k, x1 * k, y1 * k]

    def circle(r):
        return box(cx - r, cy - r, cx + r, cy + r)

    def shaded(shape_mask_draw, c0, c1):
        """Fill the shape drawn by shape_mask_draw with a diagonal gradient."""
        mask = Image.new('L', (S, S), 0)
        shape_mask_draw(ImageDraw.Draw(mask))
        img.paste(diagonal_gradient(S, c0, c1), (0, 0), mask)

    # crown: knob and stem
    d.rounded_rectangle(box(94, 4, 162, 30), radius=7 * k, fill=ink)
    shaded(lambda m: m.rounded_rectangle(box(94 + line, 4 + line, 162 - line,
                                             30 - line), radius=3 * k,
                                         fill=255),
           silver_hi, silver_lo)
    d.rectangle(box(111, 26, 145, 46), fill=ink)
    shaded(lambda m: m.rectangle(box(111 + line, 30, 145 - line, 46),
                                 fill=255),
           silver_hi, silver_lo)

    # side button, pointing out at 45 degrees
    ux, uy = math.sqrt(0.5), -math.sqrt(0.5)
    vx, vy = math.sqrt(0.5), math.sqrt(0.5)

    def rotated(t0, t1, s0, s1):
        return [((cx + t * ux + s * vx) * k, (cy + t * uy + s * vy) * k)
                for t, s in ((t0, s0), (t1, s0), (t1, s1), (t0, s1))]
    d.polygon(rotated(95, 142, -16, 16), fill=ink)
    shaded(lambda m: m.polygon(rotated(95, 142 - line, -16 + line, 16 - line),
                               fill=255),
           silver_hi, silver_lo)

    # case: black rim, shaded bezel, thin inner ring, white dial
    d.ellipse(circle(R), fill=ink)
    shaded(lambda m: m.ellipse(circle(R - line), fill=255),
           silver_hi, silver_lo)
    d.ellipse(circle(R - line - 17), fill=(110, 112, 120, 255))
    d.ellipse(circle(R - line - 19), fill=(255, 255, 255, 255))

    # twelve red marks, bigger at the quarters
    red = (222, 28, 36, 255)
    for i in range(12):
        a = math.radians(i * 30)
        sx, sy = math.sin(a), -math.cos(a)
        px, py = -sy, sx
        if i % 3 == 0:
            r0, r1, w = 63, 82, 8
        else:
            r0, r1, w = 70, 81, 5
        pts = [((cx + r * sx + s * px) * k, (cy + r * sy + s * py) * k)
               for r, s in ((r0, -w), (r1, -w), (r1, w), (r0, w))]
        d.polygon(pts, fill=red)

    # hands: a broad one up to twelve, a slim one to half past one
    def hand(angle, length, tail, w_base, w_tip):
        a = math.radians(angle)
        sx, sy = math.sin(a), -math.cos(a)
        px, py = -sy, sx
        pts = [(-tail, -w_base), (length, -w_tip), (length, w_tip),
               (-tail, w_base)]
        d.polygon([((cx + r * sx + s * px) * k, (cy + r * sy + s * py) * k)
                   for r, s in pts], fill=ink)
    hand(0, 58, 10, 9, 5.5)
    hand(45, 68, 16, 4.5, 3)
    d.ellipse(circle(13), fill=ink)
    d.ellipse(circle(6), fill=red)

    return img.resize((size, size), Image.LANCZOS)


stopwatch_image(256).save('stopwatch.png', optimize=False)


# --- advertisement banner, 468x60 -------------------------------------------

def banner():
    W, H = 468, 60
    img = gradient(W * SS, H * SS, (40, 22, 96), (214, 52, 98),
                   horizontal=True).convert('RGBA')
    # a soft sheen over the upper half
    sheen = Image.new('RGBA', (W * SS, H * SS // 2), (255, 255, 255, 0))
    sheen.putalpha(gradient(W * SS, H * SS // 2, (30, 30, 30), (0, 0, 0))
                   .convert('L'))
    img.alpha_composite(sheen)
    # a few faint rings in the free space between the text and the button
    img = blend(img, lambda d: [
        d.ellipse(disc(x, y, r), outline=(255, 255, 255, 48), width=2 * SS)
        for (x, y, r) in ((298, 44, 17), (316, 11, 7), (252, 53, 7),
                          (464, 6, 13))])

    # logo: two overlapping speech bubbles
    def logo(d):
        d.ellipse(disc(21, 24, 13), fill=(255, 204, 0, 255))
        d.polygon([(12 * SS, 32 * SS), (7 * SS, 41 * SS), (19 * SS, 35 * SS)],
                  fill=(255, 204, 0, 255))
        d.ellipse(disc(36, 33, 11.5), fill=(40, 22, 96, 255))
        d.ellipse(disc(36, 33, 10), fill=(255, 255, 255, 255))
        d.polygon([(41 * SS, 40 * SS), (46 * SS, 47 * SS), (35 * SS, 42 * SS)],
                  fill=(255, 255, 255, 255))
        for xx in (31.5, 36, 40.5):
            d.ellipse(disc(xx, 33, 1.7), fill=(214, 52, 98, 255))
    img = blend(img, logo)

    # advertiser name and slogan
    img = put_text(img, font(26), 'Rud Irivezodo', 58, 10,
                   (255, 255, 255, 255), shadow=(16, 4, 40, 150),
                   offset=1.5, soft=0.6)
    img = put_text(img, font(12, bold=False), 'Meet people, share stories.',
                   59, 42, (255, 234, 186, 255))

    # call to action
    bx0, by0, bx1, by1 = 330, 13, 456, 47
    img = blend(img, lambda d: d.rounded_rectangle(
        scaled_box(bx0 + 1.5, by0 + 2, bx1 + 1.5, by1 + 2), radius=9 * SS,
        fill=(24, 6, 36, 120)), blur=1.2 * SS)
    img = blend(img, lambda d: d.rounded_rectangle(
        scaled_box(bx0, by0, bx1, by1), radius=9 * SS,
        fill=(255, 204, 0, 255), outline=(255, 240, 180, 255), width=SS))
    cta = font(13)
    label = 'Join free today!'
    w, h, _, _ = ink_box(cta, label)
    img = put_text(img, cta, label, (bx0 + bx1) / 2 - w / 2,
                   (by0 + by1) / 2 - h / 2, (100, 22, 60, 255))

    img = img.convert('RGB').resize((W, H), Image.LANCZOS)
    img.quantize(colors=256, method=Image.MEDIANCUT).save('banner.gif')


banner()


# --- About window picture, 271x83 -------------------------------------------

def stopwatch_card(W, H, top, bottom, halo, halo_blur, watch, watch_at):
    """The About and farewell pictures' ground: a vertical gradient from
    top to bottom, a soft white halo (x, y, r) and the stopwatch of size
    watch at watch_at, all in design pixels."""
    img = gradient(W * SS, H * SS, top, bottom).convert('RGBA')
    img = blend(img, lambda d: d.ellipse(disc(*halo),
                                         fill=(255, 255, 255, 170)),
                blur=halo_blur * SS, base=(255, 255, 255))
    img.alpha_composite(stopwatch_image(watch * SS),
                        (watch_at[0] * SS, watch_at[1] * SS))
    return img


def save_jpeg(img, W, H, name):
    img.convert('RGB').resize((W, H), Image.LANCZOS).save(
        name, quality=92, subsampling=0, optimize=False)


def about_picture():
    W, H = 271, 83
    img = stopwatch_card(W, H, (238, 246, 255), (186, 213, 243),
                         (43, 44, 46), 8, 70, (8, 7))

    title = font(25)
    navy, red = (28, 52, 104, 255), (206, 32, 42, 255)
    img = put_text(img, title, 'Kelto Zelbo', 88, 14, navy,
                   shadow=(255, 255, 255, 230), offset=1.2)
    img = put_text(img, title, 'Break', 88, 44, red,
                   shadow=(255, 255, 255, 230), offset=1.2)
    # a thin rule after "Break", ending in a red dot
    bw, _, _, _ = ink_box(title, 'Break')
    y = 56

    def rule(d):
        d.line(scaled_box(88 + bw + 8, y, W - 14, y), fill=(28, 52, 104, 150),
               width=2 * SS)
        d.ellipse(disc(W - 13, y, 3), fill=red)
    img = blend(img, rule)

    save_jpeg(img, W, H, 'about.jpg')


about_picture()


# --- farewell picture, 346x68 -----------------------------------------------

def farewell_picture():
    W, H = 346, 68
    img = stopwatch_card(W, H, (255, 248, 230), (250, 216, 166),
                         (36, 34, 38), 7, 56, (8, 6))
    img = put_text(img, font(12.5, bold=False),
                   'Thank you for using Kelto Zelbo Break', 74, 12,
                   (96, 58, 22, 255))
    img = put_text(img, font(24), 'Take a break!', 74, 32,
                   (200, 40, 36, 255), shadow=(255, 255, 255, 230),
                   offset=1.2)
    save_jpeg(img, W, H, 'farewell.jpg')


farewell_picture()

for name in ('stopwatch.ico', 'stopwatch.png', 'warning.ico', 'note.ico',
             'about.ico', 'banner.gif', 'about.jpg', 'farewell.jpg'):
    print('wrote %-14s %6d bytes' % (name, os.path.getsize(name)))
