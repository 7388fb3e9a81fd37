#!/usr/bin/env python3
"""Draws Quillomat's artwork and writes it into res/.

Everything is drawn here from simple shapes, with the Python standard library
only, and the output is deterministic: the same script writes the same bytes.

    res/banner.gif                    418 x 67 banner: a batter swinging at a
                                      ball, and "Quillomat" lettered by hand
                                      over a pale lavender ellipse, on white
    res/banner.png                    the banner's pixels as a PNG, for the Qt
                                      program, which reads PNG without plugins
    res/banner.bmp                    the same pixels as an 8-bit BMP with the
                                      same palette, which the Windows program
                                      loads through GDI at 96 dpi
    res/banner@2x.png                 the same banner drawn at 836 x 134 for
                                      screens of twice the density
    res/quillomat.ico                 the program icon: 32x32 in 2 colours,
                                      32x32 and 16x16 in the 16-colour palette
    res/icons/NxN/quillomat.png       the same window drawing as RGBA PNGs for
                                      the desktop's icon theme and the web
                                      app's manifest (192 and 512)

Usage:
    make_artwork.py            write the files into res/ (or --out DIR)
    make_artwork.py --check    draw everything again and compare with the files
                               on disk; exit 1 and name the files that differ

The generated files are committed, so building the program never needs Python.
"""

import argparse
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Rasteriser
#
# Shapes are painted, in order, onto a supersampled grid of colour ids (0 means
# "nothing painted here").  Each output pixel then looks at its ss x ss samples:
# an RGBA picture averages them, a palette picture picks from them.  A canvas
# drawn at scale 2 takes the same shapes and has twice the pixels each way.
# Sample centres sit at (j + 0.5) / (ss * scale), exact binary fractions since
# ss and scale are powers of two, and only + - * / and sqrt are used, so the
# result does not depend on the platform's maths library.
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, ss, scale=1):
        # Shapes are given in units of the picture at scale 1; the picture
        # itself is width * scale by height * scale pixels.
        self.width = width * scale
        self.height = height * scale
        self.ss = ss
        self.per_unit = ss * scale  # samples per unit of the shapes
        self.cols = self.width * ss
        self.rows = self.height * ss
        self.ids = bytearray(self.cols * self.rows)

    def _row_range(self, y0, y1):
        """Sample rows whose centres lie in [y0, y1]."""
        ss = self.per_unit
        r0 = max(0, math.ceil(y0 * ss - 0.5))
        r1 = min(self.rows - 1, math.floor(y1 * ss - 0.5))
        return range(r0, r1 + 1)

    def _span(self, row, x0, x1, cid):
        """Fills the samples of one row whose centres lie in [x0, x1)."""
        ss = self.per_unit
        j0 = max(0, math.ceil(x0 * ss - 0.5))
        j1 = min(self.cols, math.ceil(x1 * ss - 0.5))
        if j1 > j0:
            base = row * self.cols
            self.ids[base + j0:base + j1] = bytes((cid,)) * (j1 - j0)

    def polygon(self, pts, cid):
        """Even-odd scanline fill of a closed polygon."""
        ys = [p[1] for p in pts]
        n = len(pts)
        for r in self._row_range(min(ys), max(ys)):
            yc = (r + 0.5) / self.per_unit
            xs = []
            for i in range(n):
                ax, ay = pts[i]
                bx, by = pts[(i + 1) % n]
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for k in range(0, len(xs) - 1, 2):
                self._span(r, xs[k], xs[k + 1], cid)

    def ellipse(self, cx, cy, rx, ry, cid):
        for r in self._row_range(cy - ry, cy + ry):
            dy = ((r + 0.5) / self.per_unit - cy) / ry
            if dy * dy < 1.0:
                half = rx * math.sqrt(1.0 - dy * dy)
                self._span(r, cx - half, cx + half, cid)

    def stroke(self, pts, radii, cid):
        """A pen line through pts; the pen's radius goes from radii[i] to
        radii[i + 1] along each segment and the ends are round."""
        ss = self.per_unit
        cols = self.cols
        ids = self.ids
        for i in range(len(pts) - 1):
            (ax, ay), (bx, by) = pts[i], pts[i + 1]
            ra, rb = radii[i], radii[i + 1]
            rmax = max(ra, rb)
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            x0 = max(0, math.ceil((min(ax, bx) - rmax) * ss - 0.5))
            x1 = min(cols - 1, math.floor((max(ax, bx) + rmax) * ss - 0.5))
            for r in self._row_range(min(ay, by) - rmax, max(ay, by) + rmax):
                yc = (r + 0.5) / ss
                base = r * cols
                for j in range(x0, x1 + 1):
                    xc = (j + 0.5) / ss
                    if ll > 0.0:
                        t = ((xc - ax) * dx + (yc - ay) * dy) / ll
                        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
                    else:
                        t = 0.0
                    px = ax + t * dx - xc
                    py = ay + t * dy - yc
                    rad = ra + (rb - ra) * t
                    if px * px + py * py <= rad * rad:
                        ids[base + j] = cid

    def samples(self, x, y):
        """The colour ids of the samples of pixel (x, y)."""
        ss = self.ss
        out = []
        for k in range(ss):
            base = (y * ss + k) * self.cols + x * ss
            out.extend(self.ids[base:base + ss])
        return out


def cubic(p0, p1, p2, p3, steps):
    """Points along a cubic Bezier curve, both ends included."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1.0 - t
        a, b, c, d = u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return pts


KAPPA = 0.5522847498  # control distance of a cubic quarter circle


def oval(cx, cy, rx, ry, steps=10, start=0):
    """A closed oval as four cubic quarters, starting at the top (start=0),
    right (1), bottom (2) or left (3) and running clockwise on screen."""
    kx, ky = rx * KAPPA, ry * KAPPA
    quarters = [
        ((cx, cy - ry), (cx + kx, cy - ry), (cx + rx, cy - ky), (cx + rx, cy)),
        ((cx + rx, cy), (cx + rx, cy + ky), (cx + kx, cy + ry), (cx, cy + ry)),
        ((cx, cy + ry), (cx - kx, cy + ry), (cx - rx, cy + ky), (cx - rx, cy)),
        ((cx - rx, cy), (cx - rx, cy - ky), (cx - kx, cy - ry), (cx, cy - ry)),
    ]
    pts = []
    for q in range(4):
        seg = cubic(*quarters[(start + q) % 4], steps)
        pts.extend(seg if not pts else seg[1:])
    return pts


class Lcg:
    """A small linear congruential generator, so the 'hand' shakes the same
    way on every run."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def unit(self):
        """A number in [-1, 1)."""
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) / float(1 << 23) - 1.0


# ---------------------------------------------------------------------------
# Banner
# ---------------------------------------------------------------------------

BANNER_W, BANNER_H = 418, 67

# Flat colours of the banner, by id.  Id 0 (the white paper) comes first so
# that it is palette index 0 and the GIF's background colour.
BANNER_COLOURS = {
    0: (255, 255, 255),  # paper
    1: (226, 216, 250),  # lavender ellipse
    2: (196, 180, 238),  # the ellipse's rim and the lettering's shadow
    3: (44, 32, 84),     # ink of the lettering
    4: (20, 20, 28),     # outlines of the figure
    5: (252, 214, 172),  # skin
    6: (204, 36, 48),    # cap, stitches
    7: (52, 92, 178),    # jersey
    8: (214, 216, 226),  # trousers
    9: (176, 112, 52),   # bat
    10: (250, 250, 244),  # ball
    11: (150, 150, 170),  # speed lines
    12: (40, 40, 40),    # shoes
}


def glyph_strokes():
    """The letters of "Quillomat" as pen strokes, in a design space with the
    baseline at y = 0, y growing downwards, x-height 18 and cap height 30.
    Returns (advance, strokes, dots) per letter; a stroke is a list of points,
    a dot is (x, y, r)."""
    Q = [oval(15, -15, 14, 15.5, steps=12, start=3)
         + [(1.2, -17.5)],
         cubic((14, -7), (19, -2), (24, 3), (31, 2), 8)]
    u = [[(1.5, -18)] + cubic((1.5, -10), (1.0, 1.5), (11.5, 1.5), (12.5, -8), 8),
         [(12.5, -18.5), (12.5, -3)] + cubic((12.5, -3), (12.5, 0.5), (14, 0.5), (15.5, -1), 4)]
    i = [[(2.5, -18), (2.5, -3)] + cubic((2.5, -3), (2.5, 0.5), (4, 0.5), (5.5, -1), 4)]
    l_ = [[(2.5, -31), (2.5, -4)] + cubic((2.5, -4), (2.5, 0.5), (4.5, 0.5), (6.5, -1.5), 4)]
    o = [oval(8.5, -9, 8, 9.2, steps=10, start=0) + [(9.8, -17.8)]]
    m = [[(1.5, -18), (1.5, 0)],
         cubic((1.5, -12), (2.5, -19.5), (9.5, -19.5), (9.5, -12), 8) + [(9.5, 0)],
         cubic((9.5, -12), (10.5, -19.5), (17.5, -19.5), (17.5, -12), 8)
         + [(17.5, -3)] + cubic((17.5, -3), (17.5, 0.5), (19, 0.5), (20.5, -1), 4)]
    a = [cubic((13, -14), (11, -19.5), (1, -19), (0.8, -8), 8)
         + cubic((0.8, -8), (0.6, 1.5), (11, 1.5), (13, -6), 8)[1:],
         [(13.5, -18.5), (13.5, -3)] + cubic((13.5, -3), (13.5, 0.5), (15, 0.5), (16.5, -1), 4)]
    t = [[(4.5, -28), (4.5, -4)] + cubic((4.5, -4), (4.5, 1), (8.5, 1), (10.5, -1.5), 4),
         [(0, -18), (6, -18.6), (11, -18.2)]]
    return [
        (33, Q, []),
        (18, u, []),
        (8, i, [(2.7, -25.5, 2.6)]),
        (9, [l_[0]], []),
        (9, [l_[0]], []),
        (19, o, []),
        (23, m, []),
        (19, a, []),
        (12, t, []),
    ]


def lettering(rng, x0, baseline, scale, pen, slant):
    """The word laid out and shaken a little: returns (strokes, dots) in banner
    pixels, each stroke with its own radii."""
    strokes, dots = [], []
    x = x0
    for advance, glyph, gdots in glyph_strokes():
        gdy = rng.unit() * 0.9  # each letter sits a little off the baseline
        gdx = rng.unit() * 0.6

        def place(px, py):
            return (x + (px - py * slant) * scale + gdx,
                    baseline + py * scale + gdy)

        for s in glyph:
            pts = []
            for (px, py) in s:
                qx, qy = place(px, py)
                pts.append((qx + rng.unit() * 0.35, qy + rng.unit() * 0.35))
            # A broad pen held at an angle: thick going down, thin going across.
            radii = []
            for k in range(len(pts)):
                a = pts[max(0, k - 1)]
                b = pts[min(len(pts) - 1, k + 1)]
                dx, dy = b[0] - a[0], b[1] - a[1]
                length = math.sqrt(dx * dx + dy * dy) or 1.0
                radii.append(pen * (0.72 + 0.42 * abs(dy) / length))
            strokes.append((pts, radii))
        for (px, py, pr) in gdots:
            qx, qy = place(px, py)
            dots.append((qx, qy, pr * scale * 0.55))
        x += advance * scale
    return strokes, dots


def thick(pts, r):
    return (pts, [r] * len(pts))


def draw_banner(scale=1):
    c = Canvas(BANNER_W, BANNER_H, 4, scale)

    # The lavender ellipse with a slightly darker rim.
    c.ellipse(259, 33.5, 153, 30.5, 2)
    c.ellipse(259, 33.5, 150.5, 28.5, 1)

    # The lettering: a soft shadow first, then the ink.
    strokes, dots = lettering(Lcg(20261208), 122, 49, 1.46, 2.3, 0.16)
    for dx, cid in ((1.6, 2), (0.0, 3)):
        for pts, radii in strokes:
            c.stroke([(px + dx, py + dx) for (px, py) in pts], radii, cid)
        for (px, py, pr) in dots:
            c.ellipse(px + dx, py + dx, pr, pr, cid)

    draw_batter(c)
    return c


def draw_batter(c):
    """A cartoon batter at the left, swinging at a ball that flies in."""
    ink = 4
    # Speed lines behind the ball.
    for (y, x0, x1) in ((25.5, 96, 106), (30.5, 98, 110), (35.5, 96, 106)):
        c.stroke(*thick([(x0, y), (x1, y)], 0.9), 11)
    # The ball.
    c.ellipse(90, 30.5, 6.6, 6.6, ink)
    c.ellipse(90, 30.5, 5.4, 5.4, 10)
    c.stroke(*thick(cubic((86.5, 25.8), (88.6, 28.5), (88.6, 32.5), (86.5, 35.2), 6), 0.55), 6)
    c.stroke(*thick(cubic((93.5, 25.8), (91.4, 28.5), (91.4, 32.5), (93.5, 35.2), 6), 0.55), 6)

    # Legs, in a wide stance, with shoes.
    for pts in ([(30, 45), (25, 55), (21, 61)], [(37, 45), (42, 54), (45, 61)]):
        c.stroke(*thick(pts, 3.6), ink)
        c.stroke(*thick(pts, 2.5), 8)
    c.ellipse(18.5, 62, 5.2, 3.0, ink)
    c.ellipse(18.5, 62, 4.1, 2.0, 12)
    c.ellipse(47.5, 62, 5.2, 3.0, ink)
    c.ellipse(47.5, 62, 4.1, 2.0, 12)

    # The bat, held up behind the head and swinging forward.
    bat = [(48, 27), (60, 15), (73, 4)]
    c.stroke(bat, [1.9, 3.0, 4.2], ink)
    c.stroke(bat, [1.0, 2.0, 3.1], 9)

    # Body: a round jersey.
    c.ellipse(33.5, 36, 10.4, 12.4, ink)
    c.ellipse(33.5, 36, 9.2, 11.2, 7)
    # A white stripe down the jersey's front.
    c.stroke(*thick([(37.5, 27), (38.5, 46)], 0.8), 10)

    # Arms reaching to the handle, and the hands.
    for pts in ([(27, 31), (38, 33), (47, 28)], [(38, 30), (45, 26)]):
        c.stroke(*thick(pts, 2.9), ink)
        c.stroke(*thick(pts, 1.9), 7)
    c.ellipse(48, 27.5, 3.4, 3.4, ink)
    c.ellipse(48, 27.5, 2.4, 2.4, 5)

    # Head with cap, eye and smile.
    c.ellipse(33, 15.5, 9.6, 9.6, ink)
    c.ellipse(33, 15.5, 8.5, 8.5, 5)
    cap_top = oval(32.5, 11, 9.2, 7.6, steps=8, start=3)[:17]  # left, top, right
    c.polygon(cap_top + [(41.7, 12.5), (23.3, 12.5)], ink)
    c.polygon(oval(32.5, 11.2, 8.1, 6.5, steps=8, start=3)[:17]
              + [(40.6, 11.4), (24.4, 11.4)], 6)
    c.stroke(*thick([(24, 12.2), (46, 12.2)], 1.6), ink)  # the brim
    c.stroke(*thick([(38, 12.2), (45.5, 12.2)], 0.7), 6)
    c.ellipse(37.5, 16.5, 1.3, 1.6, ink)
    c.stroke(*thick(cubic((33.5, 20.5), (35, 22.5), (38.5, 22.5), (40, 20), 6), 0.65), ink)
    c.ellipse(27.5, 17, 2.0, 2.6, ink)  # ear
    c.ellipse(27.5, 17, 1.2, 1.8, 5)


def banner_indices(canvas):
    """Quantises the supersampled banner to at most 256 colours: each pixel
    takes its most common colour, blended a quarter or a half of the way
    towards the runner-up where the runner-up covers enough of the pixel.
    Returns (palette, index bytes)."""
    n = canvas.ss * canvas.ss
    palette = [BANNER_COLOURS[0]]
    index_of = {(0, 0, 0): 0}
    out = bytearray(canvas.width * canvas.height)
    for y in range(canvas.height):
        for x in range(canvas.width):
            counts = {}
            for cid in canvas.samples(x, y):
                counts[cid] = counts.get(cid, 0) + 1
            ranked = sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))
            first = ranked[0][0]
            key = (first, first, 0)
            if len(ranked) > 1:
                second, m = ranked[1]
                share = m / n
                if share >= 0.375:
                    key = (min(first, second), max(first, second), 2)
                elif share >= 0.125:
                    key = (first, second, 1)
            if key not in index_of:
                a, b, q = key
                ca, cb = BANNER_COLOURS[a], BANNER_COLOURS[b]
                w = q / 4
                palette.append(tuple(int(ca[k] + (cb[k] - ca[k]) * w + 0.5) for k in range(3)))
                index_of[key] = len(palette) - 1
            out[y * canvas.width + x] = index_of[key]
    if len(palette) > 256:
        raise RuntimeError("banner needs %d colours" % len(palette))
    return palette, bytes(out)


# ---------------------------------------------------------------------------
# GIF writer
# ---------------------------------------------------------------------------


def lzw_encode(indices, min_code_size=8):
    """GIF flavour of LZW: variable code width from min_code_size + 1 up to 12
    bits, codes packed least significant bit first, a clear code when the
    table is full."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    width = min_code_size + 1
    table = {}
    next_code = eoi + 1
    emit(clear, width)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix << 8) | k
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        table[key] = next_code
        next_code += 1
        # The decoder adds each entry one code later than we do, so it
        # widens its codes when our next free code passes 2**width.
        if next_code > (1 << width) and width < 12:
            width += 1
        if next_code == 4096:
            emit(clear, width)
            table = {}
            next_code = eoi + 1
            width = min_code_size + 1
        prefix = k
    emit(prefix, width)
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif89a(width, height, palette, indices):
    if len(palette) > 256:
        raise ValueError("too many colours")
    table = b"".join(bytes(c) for c in palette) + b"\0" * (3 * (256 - len(palette)))
    # Global colour table present, 8 bits of colour resolution, not sorted,
    # 2**(7+1) = 256 entries; background index 0; no aspect ratio.
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0) + table
    # One image descriptor covering the whole screen: no local colour table,
    # not interlaced.  No extension blocks at all.
    desc = b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data = lzw_encode(indices)
    blocks = bytearray([8])
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks.append(len(chunk))
        blocks.extend(chunk)
    blocks.append(0)
    return head + desc + bytes(blocks) + b";"


# ---------------------------------------------------------------------------
# The icon: a window seen in perspective
# ---------------------------------------------------------------------------

# The standard 16-colour Windows palette, in its usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, AQUA, WHITE = 0, 8, 14, 15

# Colour ids of the window drawing (0 is transparent) and their colours.
W_SHADOW, W_CLIENT, W_TITLE, W_OUTLINE = 1, 2, 3, 4
WINDOW_VGA = {W_SHADOW: GREY, W_CLIENT: WHITE, W_TITLE: AQUA, W_OUTLINE: BLACK}
WINDOW_RGB = {cid: VGA16[v] for cid, v in WINDOW_VGA.items()}

# The window's corners on the pixel grids of the small icons: top left, top
# right, bottom right, bottom left, then the two ends of the title bar's lower
# edge, and how far the shadow is offset.  The left edge is nearer the viewer,
# so it is taller than the right edge, and the title bar narrows the same way.
PIXEL_WINDOWS = {
    32: ([(2, 3), (26, 7), (26, 23), (2, 27)], [(2, 8), (26, 10)], 3),
    16: ([(1, 2), (12, 4), (12, 11), (1, 13)], [(1, 5), (12, 6)], 2),
}


def lerp(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)


def pixel_line(grid, p0, p1, cid):
    """Bresenham's line between two pixel centres, one pixel wide."""
    (x0, y0), (x1, y1) = p0, p1
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    while True:
        grid[y0][x0] = cid
        if (x0, y0) == (x1, y1):
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def majority(canvas):
    """Each pixel takes the colour id that covers most of its samples."""
    out = []
    for y in range(canvas.height):
        row = []
        for x in range(canvas.width):
            counts = {}
            for cid in canvas.samples(x, y):
                counts[cid] = counts.get(cid, 0) + 1
            row.append(sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))[0][0])
        out.append(row)
    return out


def window_pixels(n):
    """The window as pixel art for the 16- and 32-pixel icons: areas filled by
    majority, then a crisp one-pixel outline."""
    quad, title, off = PIXEL_WINDOWS[n]
    centre = [(x + 0.5, y + 0.5) for (x, y) in quad]
    tl, tr = centre[0], centre[1]
    tbl, tbr = [(x + 0.5, y + 0.5) for (x, y) in title]
    c = Canvas(n, n, 8)
    c.polygon([(x + off, y + off) for (x, y) in centre], W_SHADOW)
    c.polygon(centre, W_CLIENT)
    c.polygon([tl, tr, tbr, tbl], W_TITLE)
    grid = majority(c)
    for i in range(4):
        pixel_line(grid, quad[i], quad[(i + 1) % 4], W_OUTLINE)
    pixel_line(grid, title[0], title[1], W_OUTLINE)
    return grid


def window_canvas(n, ss):
    """The window drawn smoothly at any size, for the larger PNG icons; the
    same shape as the 32-pixel icon, scaled."""
    quad, title, off = PIXEL_WINDOWS[32]
    s = n / 32.0
    tl, tr, br, bl = [((x + 0.5) * s, (y + 0.5) * s) for (x, y) in quad]
    tbl, tbr = [((x + 0.5) * s, (y + 0.5) * s) for (x, y) in title]
    off *= s
    pen = 0.28 * s + 0.2  # half the outline's width
    c = Canvas(n, n, ss)
    c.polygon([(x + off, y + off) for (x, y) in (tl, tr, br, bl)], W_SHADOW)
    c.polygon([tl, tr, br, bl], W_CLIENT)
    c.polygon([tl, tr, tbr, tbl], W_TITLE)
    outline = [tl, tr, br, bl, tl]
    c.stroke(outline, [pen] * len(outline), W_OUTLINE)
    c.stroke([tbl, tbr], [pen, pen], W_OUTLINE)
    # A close box at the right end of the title bar, in the same perspective.
    vt0 = (tbl[1] - tl[1]) / (bl[1] - tl[1])
    vt1 = (tbr[1] - tr[1]) / (br[1] - tr[1])

    def at(u, v):
        vt = vt0 + (vt1 - vt0) * u
        return lerp(lerp(tl, tr, u), lerp(bl, br, u), v * vt)
    box = [at(0.80, 0.28), at(0.90, 0.28), at(0.90, 0.72), at(0.80, 0.72)]
    c.polygon(box, W_CLIENT)
    c.stroke(box + [box[0]], [pen * 0.7] * 5, W_OUTLINE)
    return c


def dib(width, height, bpp, palette, pixels, opaque):
    """A BITMAPINFOHEADER image as an icon stores it: the height field counts
    the colour rows and the mask rows together, rows go bottom-up, each row is
    padded to 4 bytes, and the AND mask has 1 for a transparent pixel."""
    def pack_rows(values, bits):
        stride = ((width * bits + 31) // 32) * 4
        data = bytearray()
        for y in range(height - 1, -1, -1):
            row = bytearray(stride)
            for x in range(width):
                bitpos = x * bits
                row[bitpos // 8] |= values[y][x] << (8 - bits - bitpos % 8)
            data += row
        return bytes(data)

    xor = pack_rows(pixels, bpp)
    mask = pack_rows([[0 if o else 1 for o in row] for row in opaque], 1)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + pal + xor + mask


def icon_images():
    images = []
    # 32 x 32 in two colours, black and white: the title bar turns black and
    # the shadow a checkerboard of black and transparency.
    pixels, opaque = [], []
    for y, row in enumerate(window_pixels(32)):
        prow, orow = [], []
        for x, cid in enumerate(row):
            see = cid != 0 and not (cid == W_SHADOW and (x + y) % 2)
            prow.append(1 if (see and cid == W_CLIENT) else 0)
            orow.append(see)
        pixels.append(prow)
        opaque.append(orow)
    images.append((32, 32, 2, 1, dib(32, 32, 1, [(0, 0, 0), (255, 255, 255)], pixels, opaque)))
    # 32 x 32 and 16 x 16 in the 16-colour palette.
    for n in (32, 16):
        grid = window_pixels(n)
        pixels = [[WINDOW_VGA.get(cid, BLACK) for cid in row] for row in grid]
        opaque = [[cid != 0 for cid in row] for row in grid]
        images.append((n, n, 16, 4, dib(n, n, 4, VGA16, pixels, opaque)))
    return images


def ico(images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (w, h, colours, bpp, data) in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    for (_, _, _, _, data) in images:
        out += data
    return bytes(out)


PNG_SIZES = (16, 32, 48, 64, 128, 192, 256, 512)


def png_from_grid(grid, colours):
    """A PNG of pixel art: id 0 transparent, every other id opaque."""
    raw = bytearray()
    for row in grid:
        raw.append(0)  # filter type: none
        for cid in row:
            raw += bytes(colours[cid]) + b"\xff" if cid else b"\0\0\0\0"
    return png(len(grid[0]), len(grid), bytes(raw))


def png_from_canvas(canvas, colours):
    """A PNG that averages each pixel's samples; id 0 is fully transparent."""
    n = canvas.ss * canvas.ss
    raw = bytearray()
    for y in range(canvas.height):
        raw.append(0)  # filter type: none
        for x in range(canvas.width):
            r = g = b = a = 0
            for cid in canvas.samples(x, y):
                if cid:
                    cr, cg, cb = colours[cid]
                    r += cr
                    g += cg
                    b += cb
                    a += 1
            if a:
                raw += bytes(((r + a // 2) // a, (g + a // 2) // a, (b + a // 2) // a,
                              (255 * a + n // 2) // n))
            else:
                raw += b"\0\0\0\0"
    return png(canvas.width, canvas.height, bytes(raw))


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, raw_rows, colour_type=6, palette=None):
    """An 8-bit PNG: RGBA rows by default, palette indices with colour_type 3."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    plte = png_chunk(b"PLTE", b"".join(bytes(c) for c in palette)) if palette else b""
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + plte
            + png_chunk(b"IDAT", zlib.compress(raw_rows, 9)) + png_chunk(b"IEND", b""))


def png_from_indices(width, height, palette, indices):
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # filter type: none
        raw += indices[y * width:(y + 1) * width]
    return png(width, height, bytes(raw), 3, palette)


def bmp_from_indices(width, height, palette, indices):
    """An 8-bit BMP file of palette indices: BITMAPFILEHEADER, BITMAPINFOHEADER
    naming only the colours used, the palette as blue, green, red, 0, then the
    rows bottom-up, each padded to 4 bytes."""
    stride = (width + 3) // 4 * 4
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        rows += indices[y * width:(y + 1) * width] + b"\0" * (stride - width)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    # 2835 pixels per metre is 72 dpi, what most writers put there; readers ignore it.
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(colours)
    head = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    return head + info + colours + bytes(rows)


def png_pixels(data):
    """Header, palette and decompressed rows of one of our PNGs, for comparing
    two of them without depending on the zlib version that compressed them."""
    pos, ihdr, plte, idat = 8, b"", b"", b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            ihdr = body
        elif kind == b"PLTE":
            plte = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return ihdr, plte, zlib.decompress(idat)


# ---------------------------------------------------------------------------


def build_all():
    """Every generated file, as {path relative to res/: bytes}."""
    files = {}
    palette, indices = banner_indices(draw_banner())
    files["banner.gif"] = gif89a(BANNER_W, BANNER_H, palette, indices)
    # The same pixels as PNG, which the Qt program reads without an image plugin.
    files["banner.png"] = png_from_indices(BANNER_W, BANNER_H, palette, indices)
    # And as a BMP, which the Windows program loads through GDI, with no
    # imaging component and so no COM at start-up.
    files["banner.bmp"] = bmp_from_indices(BANNER_W, BANNER_H, palette, indices)
    # Drawn again from the shapes rather than pixel-doubled, and quantised the
    # same way, so that it keeps the look of the GIF at twice the detail.
    palette, indices = banner_indices(draw_banner(2))
    files["banner@2x.png"] = png_from_indices(2 * BANNER_W, 2 * BANNER_H, palette, indices)
    files["quillomat.ico"] = ico(icon_images())
    for n in PNG_SIZES:
        if n in PIXEL_WINDOWS:
            data = png_from_grid(window_pixels(n), WINDOW_RGB)
        else:
            data = png_from_canvas(window_canvas(n, 8 if n <= 64 else 4), WINDOW_RGB)
        files["icons/%dx%d/quillomat.png" % (n, n)] = data
    return files


def same(name, a, b):
    if name.endswith(".png"):
        try:
            return png_pixels(a) == png_pixels(b)
        except (zlib.error, struct.error):
            return False
    return a == b


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, os.pardir, "res"),
                        help="directory to write into (default: res/ of this checkout)")
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out instead of writing")
    args = parser.parse_args(argv)
    files = build_all()
    if args.check:
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(args.out, name)
            try:
                with open(path, "rb") as f:
                    old = f.read()
            except OSError:
                old = None
            if old is None or not same(name, old, data):
                stale.append(name)
        for name in stale:
            print("out of date: %s" % os.path.join(args.out, name))
        print("%d of %d generated files up to date" % (len(files) - len(stale), len(files)))
        return 1 if stale else 0
    for name, data in sorted(files.items()):
        path = os.path.join(args.out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("%6d  %s" % (len(data), os.path.normpath(path)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
