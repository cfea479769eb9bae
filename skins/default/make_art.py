#!/usr/bin/env python3
"""Draws the default skin's bitmaps at 100, 150 and 200 % scaling.

Every shape is described once in 96-dpi pixels and drawn at each scale from
that description, with 4 x 4 samples per pixel, so the larger bitmaps are as
sharp as the small one (nothing is resized). A cell at (l, t, r, b) lands on
the edges the skin's objects scale to (halves rounded up), so the links the
tool scales with `skin build --scale` meet their cells exactly.

Usage: make_art.py [FOLDER]   (default: this script's folder)
Only Python's standard library is used.
"""
import math
import os
import struct
import sys
import zlib

# The palette: warm greys and sand around the dialog's pale cream, one calm
# blue-teal accent.
CREAM = (255, 247, 231)
CAPTION = (241, 228, 204)
CAPTION_OFF = (249, 241, 226)
BORDER = (196, 182, 158)
BORDER_OFF = (216, 206, 188)
INK = (52, 58, 68)
INK_OFF = (140, 136, 128)
ACCENT = (46, 110, 142)
ACCENT_HOT = (62, 128, 162)
ACCENT_DOWN = (34, 88, 116)
WHITE = (255, 255, 255)
LINE = (226, 213, 190)
DISABLED_FILL = (246, 240, 229)
DISABLED_EDGE = (214, 205, 190)
CLOSE_HOT = (196, 64, 52)
CLOSE_DOWN = (162, 46, 38)
HOVER = (230, 215, 188)
DOWN = (214, 196, 164)

SAMPLES = 4


def edge(value, scale):
    """An edge at 96 dpi scaled as the skin's objects are (halves up)."""
    return int(math.floor(value * scale + 0.5))


class Canvas:
    def __init__(self, width, height, scale):
        self.scale = scale
        self.w = edge(width, scale)
        self.h = edge(height, scale)
        self.px = [[(0, 0, 0, 0)] * self.w for _ in range(self.h)]

    def cell(self, l, t, r, b):
        """The pixel rectangle of a cell given in 96-dpi pixels."""
        s = self.scale
        return edge(l, s), edge(t, s), edge(r, s), edge(b, s)

    def paint(self, box, inside, color, alpha=1.0):
        """Blends color over the pixels of box by the share of samples
        for which inside(x, y) holds (x, y in pixels)."""
        x0, y0, x1, y1 = box
        for y in range(max(y0, 0), min(y1, self.h)):
            for x in range(max(x0, 0), min(x1, self.w)):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES):
                            hits += 1
                if hits:
                    self.over(x, y, color, alpha * hits / (SAMPLES * SAMPLES))

    def over(self, x, y, color, a):
        r, g, b, da = self.px[y][x]
        da /= 255.0
        out = a + da * (1 - a)
        mix = [(c * a + d * da * (1 - a)) / out for c, d in zip(color, (r, g, b))]
        self.px[y][x] = tuple(int(round(v)) for v in mix) + (int(round(out * 255)),)

    def rrect(self, box, radius, color):
        """A rounded rectangle filling box (pixels), corner radius in pixels."""
        x0, y0, x1, y1 = box

        def inside(x, y):
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

        self.paint((int(x0), int(y0), int(math.ceil(x1)), int(math.ceil(y1))), inside, color)

    def framed(self, box, radius, edge_color, fill, width=None):
        """A rounded rectangle with a border of width pixels (1 at 96 dpi)."""
        w = width if width is not None else max(1.0, self.scale)
        self.rrect(box, radius, edge_color)
        x0, y0, x1, y1 = box
        self.rrect((x0 + w, y0 + w, x1 - w, y1 - w), max(radius - w, 0), fill)

    def stroke(self, points, color, width=None):
        """A polyline of round-capped segments; points in pixels."""
        w = (width if width is not None else 1.35 * self.scale) / 2
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        box = (int(min(xs) - w - 1), int(min(ys) - w - 1),
               int(max(xs) + w + 2), int(max(ys) + w + 2))
        segments = list(zip(points, points[1:]))

        def inside(x, y):
            for (ax, ay), (bx, by) in segments:
                dx, dy = bx - ax, by - ay
                t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy or 1)
                t = min(max(t, 0), 1)
                if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= w * w:
                    return True
            return False

        self.paint(box, inside, color)

    def save(self, path):
        rows = b''.join(b'\0' + bytes(v for p in row for v in p) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

        png = (b'\x89PNG\r\n\x1a\n'
               + chunk(b'IHDR', struct.pack('>IIBBBBB', self.w, self.h, 8, 6, 0, 0, 0))
               + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))
        with open(path, 'wb') as f:
            f.write(png)


# ------------------------------------------------------------------ frame
# 17 x 56: the caption strip, active (rows 0-27) and inactive (28-55); the
# objects take columns 0-7 (TopLeft), 8 (TopCenter) and 9-16 (TopRight).
def frame(scale):
    c = Canvas(17, 56, scale)
    for row, (fill, border) in enumerate([(CAPTION, BORDER), (CAPTION_OFF, BORDER_OFF)]):
        x0, y0, x1, y1 = c.cell(0, 28 * row, 17, 28 * row + 28)
        radius = 6 * scale
        # The rounded top only: the shape runs on below the strip.
        clip = (x0, y0, x1, y1)
        c.paint(clip, lambda x, y, b=(x0, y0, x1, y1 + radius): rounded(x, y, b, radius), border)
        w = max(1.0, scale)
        inner = (x0 + w, y0 + w, x1 - w, y1 + radius)
        c.paint(clip, lambda x, y, b=inner: rounded(x, y, b, radius - w), fill)
        # A quiet divider between caption and client.
        c.paint((x0, y1 - edge(1, scale), x1, y1), lambda x, y: True, LINE if row == 0 else BORDER_OFF)
    return c


def rounded(x, y, box, radius):
    x0, y0, x1, y1 = box
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


# ------------------------------------------------------ system buttons
# 84 x 104: rows Close, Tray, RollUp, RollDown (28 x 22 cells: normal,
# hover, down), then the system menu's 16 x 16 icon at (0, 88).
def glyph(c, kind, box, color):
    x0, y0, x1, y1 = box
    cx, cy, u = (x0 + x1) / 2, (y0 + y1) / 2, c.scale
    if kind == 'close':
        c.stroke([(cx - 4 * u, cy - 4 * u), (cx + 4 * u, cy + 4 * u)], color)
        c.stroke([(cx - 4 * u, cy + 4 * u), (cx + 4 * u, cy - 4 * u)], color)
    elif kind == 'tray':
        c.stroke([(cx - 3.5 * u, cy - 3 * u), (cx, cy + 0.5 * u), (cx + 3.5 * u, cy - 3 * u)], color)
        c.stroke([(cx - 4.5 * u, cy + 4 * u), (cx + 4.5 * u, cy + 4 * u)], color)
    elif kind == 'up':
        c.stroke([(cx - 4.5 * u, cy + 2 * u), (cx, cy - 2.5 * u), (cx + 4.5 * u, cy + 2 * u)], color)
    else:
        c.stroke([(cx - 4.5 * u, cy - 2 * u), (cx, cy + 2.5 * u), (cx + 4.5 * u, cy - 2 * u)], color)


def sys_buttons(scale):
    c = Canvas(84, 104, scale)
    for row, kind in enumerate(['close', 'tray', 'up', 'down']):
        for col in range(3):
            box = c.cell(28 * col, 22 * row, 28 * col + 28, 22 * row + 22)
            ink = INK
            if col:
                hot = kind == 'close'
                bg = (CLOSE_HOT if col == 1 else CLOSE_DOWN) if hot else (HOVER if col == 1 else DOWN)
                x0, y0, x1, y1 = box
                c.rrect((x0 + 2 * scale, y0 + 2 * scale, x1 - 2 * scale, y1 - 2 * scale), 4 * scale, bg)
                ink = WHITE if hot else INK
            glyph(c, kind, box, ink)
    x0, y0, x1, y1 = c.cell(0, 88, 16, 104)
    c.rrect((x0, y0, x1, y1), 3.5 * scale, ACCENT)
    u = scale
    c.stroke([(x0 + 3 * u, y1 - 4 * u), (x0 + 6.5 * u, y0 + 7.5 * u), (x0 + 9 * u, y0 + 10 * u),
              (x0 + 10.5 * u, y0 + 8.5 * u), (x1 - 3 * u, y1 - 4 * u)], WHITE, 1.3 * u)
    c.rrect((x1 - 6 * u, y0 + 3 * u, x1 - 3.6 * u, y0 + 5.4 * u), 1.2 * u, WHITE)
    return c


# ------------------------------------------------------------ controls
# 210 x 56: check boxes (13 x 13 every 14 pixels: unchecked, checked, mixed,
# each normal, hot, focused, pressed, disabled), button faces (16 x 16 every
# 18 pixels at y 14: normal, hot, pressed, focused, disabled), the panel's
# frame (32 x 8 at y 32) and its roll and hide buttons (14 x 14 every 16
# pixels at y 42: up, down, hide; each normal, hot, pressed).
def check_box(c, box, mark, state):
    u = c.scale
    x0, y0, x1, y1 = box
    radius = 3 * u
    if mark == 'none':
        edge_color, fill = {
            'normal': ((138, 128, 112), WHITE), 'hot': (ACCENT, (250, 253, 255)),
            'focused': (ACCENT, WHITE), 'pressed': (ACCENT, (222, 234, 240)),
            'disabled': (DISABLED_EDGE, DISABLED_FILL)}[state]
        c.framed(box, radius, edge_color, fill)
        return
    fill = {'normal': ACCENT, 'hot': ACCENT_HOT, 'focused': ACCENT, 'pressed': ACCENT_DOWN,
            'disabled': DISABLED_EDGE}[state]
    c.rrect(box, radius, fill)
    if state == 'focused':
        c.framed(box, radius, ACCENT_DOWN, fill)
    if mark == 'check':
        c.stroke([(x0 + 3 * u, y0 + 6.8 * u), (x0 + 5.5 * u, y0 + 9.3 * u), (x1 - 3 * u, y0 + 3.8 * u)],
                 WHITE, 1.6 * u)
    else:
        c.stroke([(x0 + 3.5 * u, (y0 + y1) / 2), (x1 - 3.5 * u, (y0 + y1) / 2)], WHITE, 1.6 * u)


def button_face(c, box, state):
    u = c.scale
    radius = 4 * u
    if state == 'focused':
        c.framed(box, radius, ACCENT, WHITE, 2 * u)
        return
    edge_color, fill = {'normal': (BORDER, WHITE), 'hot': ((170, 152, 122), (255, 251, 243)),
                        'pressed': ((150, 132, 104), (240, 230, 212)),
                        'disabled': (DISABLED_EDGE, DISABLED_FILL)}[state]
    c.framed(box, radius, edge_color, fill)


def controls(scale):
    c = Canvas(210, 56, scale)
    states = ['normal', 'hot', 'focused', 'pressed', 'disabled']
    for k, mark in enumerate(['none', 'check', 'mixed']):
        for i, state in enumerate(states):
            l = 14 * (5 * k + i)
            check_box(c, c.cell(l, 0, l + 13, 13), mark, state)
    for i, state in enumerate(['normal', 'hot', 'pressed', 'focused', 'disabled']):
        button_face(c, c.cell(18 * i, 14, 18 * i + 16, 30), state)
    x0, y0, x1, y1 = c.cell(12, 32, 20, 40)
    c.paint((x0, y1 - edge(1, scale), x1, y1), lambda x, y: True, LINE)
    for k, kind in enumerate(['up', 'down', 'tray']):
        for i in range(3):
            l = 16 * (3 * k + i)
            box = c.cell(l, 42, l + 14, 56)
            if i:
                c.rrect(box, 3 * scale, HOVER if i == 1 else DOWN)
            x0, y0, x1, y1 = box
            # The glyphs of the frame's buttons, a little smaller.
            glyph_box = (x0 - 2 * scale, y0 - 2 * scale, x1 + 2 * scale, y1 + 2 * scale)
            glyph(c, kind if kind != 'tray' else 'close', glyph_box, INK)
    return c


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for percent in (100, 150, 200):
        suffix = '' if percent == 100 else f'@{percent}'
        for name, draw in [('frame', frame), ('sysbuttons', sys_buttons), ('controls', controls)]:
            draw(percent / 100).save(os.path.join(folder, f'{name}{suffix}.png'))


if __name__ == '__main__':
    main()
