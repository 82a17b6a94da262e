#!/usr/bin/env python3
"""Draws the application icon (a padlock) as win32/app.ico: one 32x32
and one 16x16 image of 16 colours each."""
import pathlib
import struct

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
TRANSPARENT, BLACK, GREY, YELLOW, DARK_YELLOW = None, 0, 8, 11, 3


def padlock(size):
    """Pixels top row first: None for transparent, else a palette index."""
    s = size / 32.0
    px = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            # Shackle: a ring between radii 6 and 9 around (16, 13), upper half.
            d = ((fx - 16) ** 2 + (fy - 13) ** 2) ** 0.5
            if fy <= 15 and 6 <= d <= 9.5:
                px[y][x] = GREY
            # Body: a rounded block from (6, 14) to (26, 30).
            if 6 <= fx <= 26 and 14 <= fy <= 30:
                edge = fx < 7.5 or fx > 24.5 or fy < 15.5 or fy > 28.5
                px[y][x] = BLACK if edge else YELLOW
                # Keyhole.
                if ((fx - 16) ** 2 + (fy - 20) ** 2) ** 0.5 < 2.2 or (15 <= fx <= 17 and 20 <= fy <= 26):
                    px[y][x] = BLACK
                elif fy > 26 and not edge:
                    px[y][x] = DARK_YELLOW
    return px


def image(size):
    px = padlock(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bottom-up
        row = px[y]
        nibbles = [(c if c is not None else 0) for c in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b"\0" * (-len(data) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def main():
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    path = pathlib.Path(__file__).resolve().parent.parent / "win32" / "app.ico"
    path.write_bytes(out)


if __name__ == "__main__":
    main()
