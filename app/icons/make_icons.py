#!/usr/bin/env python3
"""Draws the player's own icons as PNG files beside this script.

Run it again after changing a drawing; the PNGs are committed, so building the
player does not need Python. Only the standard library is used: each picture is
a list of layers (a shape, a paint and an opacity), sampled several times per
pixel for smooth edges and written as RGBA PNG.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# --- shapes: functions of a point in the picture's own units -> inside? ---

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry, degrees=0.0):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def ring(cx, cy, r_out, r_in, gap=None):
    """An annulus; `gap` = (from, to) in degrees, y pointing down, is left open."""
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if not (r_in * r_in <= d2 <= r_out * r_out):
            return False
        if gap is None:
            return True
        a = math.degrees(math.atan2(y - cy, x - cx))
        return not (gap[0] <= a <= gap[1])
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def capsule(x0, y0, x1, y1, width):
    half = width / 2.0
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# --- paints: functions of a point -> (r, g, b) in 0..1 ---

def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def solid(text):
    colour = hex_colour(text)
    return lambda x, y: colour


def vertical(top, bottom, y0, y1):
    a, b = hex_colour(top), hex_colour(bottom)

    def paint(x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))
    return paint


# --- rendering ---

def render(layers, units, size, samples):
    """Layers are (shape, paint, opacity) drawn in order over transparency."""
    scale = units / size
    rows = []
    step = 1.0 / samples
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) * step) * scale
                    y = (py + (sy + 0.5) * step) * scale
                    r = g = b = a = 0.0
                    for shape, paint, opacity in layers:
                        if shape(x, y):
                            cr, cg, cb = paint(x, y)
                            r = cr * opacity + r * (1 - opacity)
                            g = cg * opacity + g * (1 - opacity)
                            b = cb * opacity + b * (1 - opacity)
                            a = opacity + a * (1 - opacity)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                pixel = [acc[i] / n / alpha for i in range(3)] + [alpha]
            else:
                pixel = [0.0, 0.0, 0.0, 0.0]
            row.extend(min(255, int(round(v * 255))) for v in pixel)
        rows.append(bytes(row))
    return rows


def write_png(path, rows, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(data)


# --- the pictures ---

def program_icon():
    """A blue tile with a few spectrum bars and a white beamed pair of notes."""
    layers = [
        (rounded_rect(4, 4, 96, 96, 18), vertical("#4a9be6", "#1b4a8f", 4, 96), 1.0),
    ]
    heights = [20, 34, 26, 42, 30, 16]
    for i, h in enumerate(heights):
        x = 15 + i * 12
        layers.append((rect(x, 86 - h, x + 9, 86), solid("#bfe6ff"), 0.45))
    white = solid("#ffffff")
    layers += [
        (ellipse(35, 71, 11, 8, -22), white, 1.0),
        (ellipse(67, 63, 11, 8, -22), white, 1.0),
        (rect(40.5, 25, 46.5, 70), white, 1.0),
        (rect(72.5, 17, 78.5, 62), white, 1.0),
        (polygon([(40.5, 25), (78.5, 17), (78.5, 29), (40.5, 37)]), white, 1.0),
    ]
    return layers


BUTTON_UNITS = 12


def refresh_icon():
    green = solid("#2e7d32")
    end = math.radians(-80)
    cx, cy, mid = 6.0, 6.4, 3.75
    px, py = cx + mid * math.cos(end), cy + mid * math.sin(end)
    tx, ty = -math.sin(end), math.cos(end)  # clockwise tangent
    nx, ny = math.cos(end), math.sin(end)
    head = polygon([
        (px + 2.7 * tx, py + 2.7 * ty),
        (px + 2.3 * nx, py + 2.3 * ny),
        (px - 2.3 * nx, py - 2.3 * ny),
    ])
    return [(union(ring(cx, cy, 4.8, 2.7, gap=(-80, -5)), head), green, 1.0)]


def scan_icon():
    blue = solid("#1f5fa8")
    return [
        (ring(4.8, 4.8, 4.0, 2.3), blue, 1.0),
        (circle(4.8, 4.8, 2.3), solid("#cfe4fa"), 0.8),
        (capsule(7.6, 7.6, 10.6, 10.6, 2.4), blue, 1.0),
    ]


def add_icon():
    green = solid("#2e7d32")
    return [(union(rect(5, 1, 7, 11), rect(1, 5, 11, 7)), green, 1.0)]


def settings_icon():
    grey = solid("#4a4f57")
    teeth = []
    for k in range(6):
        a = math.radians(k * 60)
        c, s = math.cos(a), math.sin(a)
        # a tooth: a short thick spoke from the body outwards
        teeth.append(capsule(6 + 3.0 * c, 6 + 3.0 * s, 6 + 4.6 * c, 6 + 4.6 * s, 2.2))
    gear = minus(union(circle(6, 6, 3.7), *teeth), circle(6, 6, 1.6))
    return [(gear, grey, 1.0)]


def about_icon():
    return [
        (circle(6, 6, 5.6), solid("#1f5fa8"), 1.0),
        (rect(5, 2, 7, 4), solid("#ffffff"), 1.0),
        (rect(5, 5, 7, 10), solid("#ffffff"), 1.0),
    ]


def main():
    for size in (16, 24, 32, 48, 64, 88, 128, 256):
        samples = 6 if size <= 48 else 4 if size <= 128 else 3
        rows = render(program_icon(), 100, size, samples)
        write_png(os.path.join(HERE, "tunvell-%d.png" % size), rows, size)
    buttons = {
        "refresh": refresh_icon,
        "scan": scan_icon,
        "add": add_icon,
        "settings": settings_icon,
        "about": about_icon,
    }
    for name, draw in buttons.items():
        for scale in (1, 2):
            size = BUTTON_UNITS * scale
            suffix = "" if scale == 1 else "@2x"
            rows = render(draw(), BUTTON_UNITS, size, 8)
            write_png(os.path.join(HERE, "%s%s.png" % (name, suffix)), rows, size)


if __name__ == "__main__":
    main()
