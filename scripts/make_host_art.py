#!/usr/bin/env python3
"""Draws the host's tab strip bitmaps and program icon into host/res/.

The outputs are committed; the build only reads them. Run again after
changing the art: python3 scripts/make_host_art.py
Bitmaps are 24-bit, cut by the tab strip into slices 34 rows high.
"""
import os
import struct

H = 34            # slice height
BASE_DARK = 29    # row of the strip's dark base line
BASE_LIGHT = 30   # row of its light base line
TOP = 3           # first row of a tab's outline

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host", "res")


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[list(fill) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, rgb, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            p = self.px[y][x]
            for i in range(3):
                p[i] = p[i] * (1 - a) + rgb[i] * a
            p[3] = p[3] + (1 - p[3]) * a

    def shape(self, inside, rgb, box=None, alpha=1.0, ss=4):
        """Fills where inside(x, y) holds, with 4x4 supersampled edges."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = sum(inside(x + (i + .5) / ss, y + (j + .5) / ss)
                           for i in range(ss) for j in range(ss))
                self.blend(x, y, rgb, alpha * hits / (ss * ss))

    def hline(self, y, x0, x1, rgb):
        for x in range(x0, x1):
            self.blend(x, y, rgb, 1)

    def vgrad(self, x0, x1, y0, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = [top[i] + (bottom[i] - top[i]) * t for i in range(3)]
            self.hline(y, x0, x1, c)


def rounded(x0, y0, x1, y1, r):
    """A rounded rectangle [x0, x1) x [y0, y1) with corner radius r."""
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def segment(ax, ay, bx, by, width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= (width / 2) ** 2
    return inside


def triangle(p, q, r):
    def side(a, b, x, y):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])
    def inside(x, y):
        s1, s2, s3 = side(p, q, x, y), side(q, r, x, y), side(r, p, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def write_bmp(name, canvases):
    """Stacks the slices top to bottom into one 24-bit bottom-up BMP."""
    w = canvases[0].w
    rows = [row for c in canvases for row in c.px]
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((round(b), round(g), round(r)))
        data += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, len(rows), 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 54) + header + data)


# --- the strip's background column and base lines -------------------------
STRIP_TOP, STRIP_BOTTOM = (246, 246, 248), (218, 220, 226)
LINE_DARK, LINE_LIGHT = (132, 136, 148), (255, 255, 255)


def strip_ground(w):
    c = Canvas(w, H)
    c.vgrad(0, w, 0, BASE_DARK, STRIP_TOP, STRIP_BOTTOM)
    c.hline(BASE_DARK, 0, w, LINE_DARK)
    for y in range(BASE_LIGHT, H):
        c.hline(y, 0, w, LINE_LIGHT)
    return c


FACES = {
    "normal": ((252, 234, 240), (240, 208, 220)),    # pale pink
    "selected": ((236, 236, 238), (214, 214, 218)),  # grey
    "hot": ((228, 240, 255), (196, 220, 248)),       # pale blue
}
OUTLINE = (150, 150, 162)


def tab_part(w, face, left_edge):
    """One part of a tab: the body (rounded top-left) or the end (top-right)."""
    c = strip_ground(w)
    top, bottom = FACES[face]
    selected = face == "selected"
    y1 = H if selected else BASE_DARK
    r = 5
    if left_edge:
        outer = rounded(0, TOP, w + r + 1, y1 + r + 1, r)
        inner = rounded(1, TOP + 1, w + r + 1, y1 + r + 1, r - 1)
    else:
        outer = rounded(-r - 1, TOP, w - 1, y1 + r + 1, r)
        inner = rounded(-r - 1, TOP + 1, w - 2, y1 + r + 1, r - 1)
    c.shape(outer, OUTLINE)
    grad = Canvas(w, H)
    grad.vgrad(0, w, TOP, H, top, bottom)
    c.shape(inner, (0, 0, 0), alpha=0)  # keeps the shape call symmetric
    for y in range(TOP + 1, y1):
        for x in range(w):
            cov = sum(inner(x + (i + .5) / 4, y + (j + .5) / 4) for i in range(4) for j in range(4)) / 16
            c.blend(x, y, grad.px[y][x][:3], cov)
    if selected:
        # Open at the bottom: the face runs into the document below.
        for y in range(BASE_DARK, H):
            c.hline(y, 1 if left_edge else 0, w - (0 if left_edge else 2), grad.px[y][w // 2][:3])
        # A white highlight under the top outline gives the raised look.
        c.hline(TOP + 1, 2 if left_edge else 0, w - (0 if left_edge else 3), (255, 255, 255))
    else:
        c.hline(BASE_DARK, 0, w, LINE_DARK)
    return c


def close_button(c, state):
    """state: faint, plain, lit, pressed. A rounded square with a cross."""
    x0, y0, size = 4, 10, 13
    shift = 1 if state == "pressed" else 0
    if state in ("lit", "pressed"):
        fill = (226, 76, 76) if state == "lit" else (168, 36, 40)
        c.shape(rounded(x0, y0, x0 + size, y0 + size, 3.5), (120, 24, 28))
        c.shape(rounded(x0 + 1, y0 + 1, x0 + size - 1, y0 + size - 1, 2.5), fill)
        cross = (255, 255, 255)
    elif state == "plain":
        cross = (92, 92, 104)
    else:
        cross = (196, 168, 180)
    a, b = x0 + 3.5 + shift, x0 + size - 3.5 + shift
    ya, yb = y0 + 3.5 + shift, y0 + size - 3.5 + shift
    c.shape(segment(a, ya, b, yb, 1.8), cross)
    c.shape(segment(a, yb, b, ya, 1.8), cross)


def scroll_button(direction, state):
    c = strip_ground(22)
    faces = {"normal": ((250, 250, 252), (222, 224, 230)),
             "lit": ((232, 242, 255), (198, 222, 250)),
             "pressed": ((176, 204, 240), (206, 226, 250))}
    top, bottom = faces[state]
    c.shape(rounded(1, 6, 21, 26, 4), OUTLINE)
    inner = rounded(2, 7, 20, 25, 3)
    grad = Canvas(22, H)
    grad.vgrad(0, 22, 7, 25, top, bottom)
    for y in range(7, 25):
        for x in range(22):
            cov = sum(inner(x + (i + .5) / 4, y + (j + .5) / 4) for i in range(4) for j in range(4)) / 16
            c.blend(x, y, grad.px[y][x][:3], cov)
    s = 1 if state == "pressed" else 0
    arrow = (48, 64, 96) if state != "normal" else (80, 84, 96)
    if direction == "left":
        c.shape(triangle((8 + s, 16 + s), (14 + s, 11 + s), (14 + s, 21 + s)), arrow)
    else:
        c.shape(triangle((14 + s, 16 + s), (8 + s, 11 + s), (8 + s, 21 + s)), arrow)
    return c


def icon_image(n):
    """The program icon at n x n: a blue tile holding rows of hex cells,
    one of them freshly changed (red)."""
    c = Canvas(n, n)
    k = n / 32
    c.shape(rounded(1 * k, 1 * k, 31 * k, 31 * k, 6 * k), (28, 56, 112))
    tile = rounded(2 * k, 2 * k, 30 * k, 30 * k, 5 * k)
    grad = Canvas(n, n)
    grad.vgrad(0, n, 0, n, (84, 140, 220), (36, 84, 168))
    for y in range(n):
        for x in range(n):
            cov = sum(tile(x + (i + .5) / 4, y + (j + .5) / 4) for i in range(4) for j in range(4)) / 16
            c.blend(x, y, grad.px[y][x][:3], cov)
    # Header bar, then three rows of three cells.
    c.shape(rounded(6 * k, 6 * k, 26 * k, 9 * k, 1 * k), (200, 220, 255))
    for row in range(3):
        for col in range(3):
            x, y = (6 + col * 7) * k, (12 + row * 5.5) * k
            colour = (236, 64, 64) if (row, col) == (1, 1) else (255, 255, 255)
            c.shape(rounded(x, y, x + 6 * k, y + 4 * k, 1 * k), colour)
    return c


def write_ico(name, sizes):
    images = []
    for n in sizes:
        c = icon_image(n)
        pixels = bytearray()
        for row in reversed(c.px):
            for r, g, b, a in row:
                pixels += bytes((round(b), round(g), round(r), round(a * 255)))
        mask_stride = ((n + 31) // 32) * 4
        mask = bytes(mask_stride * n)  # all opaque: the alpha channel decides
        header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        images.append((n, header + pixels + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp("strip_background.bmp", [strip_ground(4)])
    write_bmp("tab_body.bmp", [tab_part(84, f, True) for f in ("normal", "selected", "hot")])
    ends = []
    for face, state in (("hot", "lit"), ("hot", "pressed"), ("selected", "lit"), ("selected", "pressed"),
                        ("selected", "plain"), ("hot", "plain"), ("normal", "faint")):
        part = tab_part(22, face, False)
        close_button(part, state)
        ends.append(part)
    write_bmp("tab_end.bmp", ends)
    write_bmp("scroll_buttons.bmp", [scroll_button(d, s) for s in ("normal", "lit", "pressed")
                                     for d in ("left", "right")])
    write_ico("pelomar.ico", (16, 32, 48))


if __name__ == "__main__":
    main()
