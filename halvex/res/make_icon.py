#!/usr/bin/env python3
"""Writes Halvex.ico: the application icon of both programs, a network adapter card in 32x32
and 16x16 pixels, 16 colours (4 bits per pixel, one plane). Run it from any directory."""
import os
import struct

# The standard 16-colour palette, as RGB.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN, GREY, YELLOW, SILVER, TRANSPARENT = 0, 2, 8, 11, 7, None


def card(size):
    """Rows top to bottom of palette indices (None: transparent): a green board with a black
    edge, a silver chip, a grey connector bracket at the left and gold contacts below."""
    s = size / 32
    pixels = [[TRANSPARENT] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y1 * s), int(y0 * s) + 1)):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                pixels[y][x] = colour

    fill(2, 6, 6, 28, GREY)          # bracket
    fill(6, 8, 30, 24, BLACK)        # board edge
    fill(7, 9, 29, 23, GREEN)        # board
    fill(14, 11, 24, 19, SILVER)     # chip
    for x in range(10, 28, 4):       # contacts
        fill(x, 24, x + 2, 28, YELLOW)
    return pixels


def image(size):
    """One icon image: BITMAPINFOHEADER (double height), palette, colour rows, mask rows,
    both bottom-up and padded to 32 bits."""
    pixels = card(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour, mask = b"", b""
    for row in reversed(pixels):
        nibbles = [0 if p is None else p for p in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour += line.ljust(colour_stride, b"\0")
        bits = 0
        for p in row:
            bits = (bits << 1) | (p is None)
        mask += bits.to_bytes(size // 8, "big").ljust(mask_stride, b"\0")
    return header + palette + colour + mask


def main():
    sizes = (32, 16)
    images = [image(size) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, body in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    data += b"".join(images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "Halvex.ico"), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
