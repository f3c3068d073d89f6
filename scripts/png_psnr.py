#!/usr/bin/env python3
"""PSNR of two PNG pictures of the same size, in dB over their colour channels
(alpha is left out), from the standard library alone: 8-bit greyscale, RGB or
RGBA, not interlaced, as vortel and libpng write them.

    scripts/png_psnr.py A.png B.png [--worst N] [--diff OUT.png]

Prints the PSNR ("inf" for identical pictures); with --worst also the N
pixels that differ most (x y, and the two colours); with --diff writes the
difference, eight times amplified, as an RGB picture."""
import math
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat, head = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = head
    channels = {0: 1, 2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit(f"{path}: only 8-bit grey, RGB or RGBA pictures without interlacing")
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - channels] if i >= channels else 0
                b = previous[i]
                c = previous[i - channels] if i >= channels else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line
    return width, height, channels, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + bytes(r) for r in rows)
    head = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    args = sys.argv[1:]
    worst = 0
    diff = None
    if "--diff" in args:
        i = args.index("--diff")
        diff = args[i + 1]
        del args[i:i + 2]
    if "--worst" in args:
        i = args.index("--worst")
        worst = int(args[i + 1])
        del args[i:i + 2]
    if len(args) != 2:
        sys.exit(__doc__)
    wa, ha, ca, a = read_png(args[0])
    wb, hb, cb, b = read_png(args[1])
    if (wa, ha) != (wb, hb):
        sys.exit(f"the pictures differ in size: {wa}x{ha} and {wb}x{hb}")
    colours = min(ca, cb, 3)
    total, count, pixels, diff_rows = 0, 0, [], []
    for y in range(ha):
        ra, rb = a[y], b[y]
        diff_row = bytearray(wa * 3)
        for x in range(wa):
            pa, pb = ra[x * ca:x * ca + colours], rb[x * cb:x * cb + colours]
            d = sum((p - q) * (p - q) for p, q in zip(pa, pb))
            total += d
            if worst and d:
                pixels.append((d, x, y, tuple(pa), tuple(pb)))
            if diff and d:
                for c, (p, q) in enumerate(zip(pa, pb)):
                    diff_row[x * 3 + c] = min(255, 8 * abs(p - q))
        diff_rows.append(diff_row)
        count += wa * colours
    if diff:
        write_png(diff, wa, ha, diff_rows)
    mse = total / count
    print("inf" if mse == 0 else "%.2f" % (10 * math.log10(255 * 255 / mse)))
    for d, x, y, pa, pb in sorted(pixels, reverse=True)[:worst]:
        print(x, y, pa, pb)


if __name__ == "__main__":
    main()
