#!/usr/bin/env python3
"""Draws the program icon (a five-pointed star falling across a night-blue
disc, with a short trail) and writes it as a 64 x 64 RGBA PNG."""
import math
import struct
import sys
import zlib

SIZE = 64


def inside_star(x, y, cx, cy, outer, inner):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    hit = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def pixel(x, y):
    c = SIZE / 2
    d = math.hypot(x - c + 0.5, y - c + 0.5)
    if d > c - 1:
        return (0, 0, 0, 0)
    if inside_star(x + 0.5, y + 0.5, 38, 26, 17, 7):
        return (255, 214, 64, 255)
    # the trail: a band from the lower left towards the star
    t = (x - y) + 8
    if 14 < x < 34 and abs(t) < 4 and y > 28:
        return (255, 240, 180, 200)
    shade = int(40 + 50 * (y / SIZE))
    return (20, 30, shade + 60, 255)


def png(width, height, rows):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(sys.argv[1], "wb") as out:
        out.write(png(SIZE, SIZE, rows))
