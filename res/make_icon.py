#!/usr/bin/env python3
"""Draw Zanfor's application icon and write res/Zanfor.ico.

The icon is a blue rounded tile showing the five face of a die in white: a die
is the plainest picture of "random". Each of the three sizes (16, 32, 48) has
its own hand-set layout and is rendered at its own resolution, so the 16 px
image keeps pixel-aligned pips instead of being a blurred shrink of the 48.

Standard library only, so the build machine needs nothing but Python 3.
Run:  python3 res/make_icon.py      (writes Zanfor.ico next to this script)
"""

import math
import os
import struct

SUPERSAMPLE = 8  # samples per pixel along each axis; 64 per pixel is smooth enough

# Colours, sRGB 0..255.
TILE_TOP = (72, 146, 250)
TILE_BOTTOM = (28, 92, 204)
OUTLINE = (16, 58, 140)
PIP = (255, 255, 255)
PIP_SHADOW = (10, 40, 100)

# Per-size layout, in pixels of that size. Pip centres on whole or half pixels
# are chosen with the pip diameter so that the edges land on pixel boundaries.
#   tile:    left/top and right/bottom edge of the square (it is square)
#   radius:  corner radius of the tile
#   outline: width of the darker rim that keeps the tile apart from blue
#            or dark backgrounds
#   pips:    (near, middle, far) coordinate of the 3x3 pip grid, and pip radius
#   shadow:  offset of a soft shadow under each pip (0 = none; too muddy at 16)
#   gloss:   whether to draw a faint light band across the top half
LAYOUTS = {
    16: dict(tile=(0.0, 16.0), radius=3.5, outline=1.0,
             pips=((4.0, 8.0, 12.0), 1.85), shadow=0.0, gloss=False),
    32: dict(tile=(1.0, 31.0), radius=6.0, outline=1.0,
             pips=((9.0, 16.0, 23.0), 3.0), shadow=0.75, gloss=True),
    48: dict(tile=(1.0, 47.0), radius=9.0, outline=1.25,
             pips=((13.0, 24.0, 35.0), 4.6), shadow=1.0, gloss=True),
}


def rounded_box_distance(x, y, lo, hi, radius):
    """Signed distance from (x, y) to a rounded square [lo, hi]^2 (negative inside)."""
    centre = (lo + hi) / 2.0
    half = (hi - lo) / 2.0 - radius
    qx = abs(x - centre) - half
    qy = abs(y - centre) - half
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - radius


def over(dst, colour, alpha):
    """Composite a straight-alpha colour over a premultiplied (r, g, b, a) pixel."""
    if alpha <= 0.0:
        return dst
    r, g, b, a = dst
    keep = 1.0 - alpha
    return (colour[0] * alpha + r * keep,
            colour[1] * alpha + g * keep,
            colour[2] * alpha + b * keep,
            alpha + a * keep)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def sample(size, layout, x, y):
    """Colour of one sub-pixel sample, premultiplied (r, g, b, a) with a in 0..1."""
    lo, hi = layout["tile"]
    radius = layout["radius"]
    d_tile = rounded_box_distance(x, y, lo, hi, radius)
    if d_tile > 0.0:
        return (0.0, 0.0, 0.0, 0.0)

    px = (0.0, 0.0, 0.0, 0.0)
    px = over(px, OUTLINE, 1.0)

    rim = layout["outline"]
    if rounded_box_distance(x, y, lo + rim, hi - rim, radius - rim) <= 0.0:
        t = (y - lo) / (hi - lo)
        px = over(px, mix(TILE_TOP, TILE_BOTTOM, t), 1.0)
        if layout["gloss"]:
            # A faint lighter upper half reads as a slightly domed tile.
            if y < lo + (hi - lo) * 0.45:
                px = over(px, (255, 255, 255), 0.10)

    (near, mid, far), pip_r = layout["pips"]
    centres = ((near, near), (far, near), (mid, mid), (near, far), (far, far))
    shadow = layout["shadow"]
    if shadow:
        for cx, cy in centres:
            if math.hypot(x - cx - shadow * 0.5, y - cy - shadow) <= pip_r:
                px = over(px, PIP_SHADOW, 0.35)
                break
    for cx, cy in centres:
        if math.hypot(x - cx, y - cy) <= pip_r:
            px = over(px, PIP, 1.0)
            break
    return px


def render(size):
    """Return rows top to bottom of straight-alpha (r, g, b, a) bytes."""
    layout = LAYOUTS[size]
    n = SUPERSAMPLE
    weight = 1.0 / (n * n)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                y = py + (sy + 0.5) / n
                for sx in range(n):
                    x = px + (sx + 0.5) / n
                    s = sample(size, layout, x, y)
                    for i in range(4):
                        acc[i] += s[i]
            a = acc[3] * weight
            if a <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            # Averaged premultiplied colour back to straight alpha, as the DIB wants.
            r, g, b = (min(255, int(round(acc[i] / acc[3]))) for i in range(3))
            row.append((r, g, b, min(255, int(round(a * 255)))))
        rows.append(row)
    return rows


def dib_image(rows):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA pixels, then the 1-bit AND mask.

    The header height is doubled because it counts the pixels and the mask together.
    Both are stored bottom row first. Every loader reads the alpha channel; the mask
    is still written (set where a pixel is fully transparent) for those that need it.
    """
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII",
                         40, size, size * 2, 1, 32, 0,  # size, w, h*2, planes, bpp, BI_RGB
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def ico(images):
    """ICONDIR + one ICONDIRENTRY per image, then the images."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    images = [(size, dib_image(render(size))) for size in sorted(LAYOUTS)]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Zanfor.ico")
    with open(path, "wb") as f:
        f.write(ico(images))
    print("wrote %s (%s px)" % (path, ", ".join(str(s) for s, _ in images)))


if __name__ == "__main__":
    main()
