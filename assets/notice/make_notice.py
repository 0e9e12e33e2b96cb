#!/usr/bin/env python3
"""Draws the notice dialog's picture: an exclamation sign in a circle,
48 x 48, 32-bit with alpha (anti-aliased by 4 x 4 supersampling).
Writes Notice.png beside this script; run it again after changing it."""
import os, struct, zlib

N, S = 48, 4
CX = CY = 23.5
R_OUT, R_IN = 22.5, 20.0
RING = (176, 96, 0)      # dark amber
FILL = (255, 196, 40)    # amber
MARK = (64, 40, 0)       # dark brown

def inside_mark(x, y):
    # The bar: a rounded slab from y 10 to 30; the dot: a disc at y 36.
    if 21.0 <= x <= 26.0 and 10.0 <= y <= 30.0:
        return True
    if abs(x - CX) <= 2.5 and y < 30.0:
        return False
    return (x - CX) ** 2 + (y - 36.0) ** 2 <= 3.2 ** 2

rows = []
for py in range(N):
    row = bytearray([0])
    for px in range(N):
        acc = [0.0, 0.0, 0.0]
        cov = 0
        for sy in range(S):
            for sx in range(S):
                x = px + (sx + 0.5) / S
                y = py + (sy + 0.5) / S
                d = ((x - CX - 0.5) ** 2 + (y - CY - 0.5) ** 2) ** 0.5
                if d > R_OUT:
                    continue
                if inside_mark(x - 0.5, y - 0.5):
                    c = MARK
                elif d > R_IN:
                    c = RING
                else:
                    c = FILL
                cov += 1
                for i in range(3):
                    acc[i] += c[i]
        if cov:
            rgb = [round(a / cov) for a in acc]
            alpha = round(255 * cov / (S * S))
        else:
            rgb, alpha = [0, 0, 0], 0
        row += bytes(rgb + [alpha])
    rows.append(bytes(row))

def chunk(tag, data):
    c = struct.pack(">I", len(data)) + tag + data
    return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

png = b"\x89PNG\r\n\x1a\n"
png += chunk(b"IHDR", struct.pack(">IIBBBBB", N, N, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
png += chunk(b"IEND", b"")
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "Notice.png"), "wb") as f:
    f.write(png)
