#!/usr/bin/env python3
"""Mean colour of an X window dump (xwd's format, 24 or 32 bits a pixel) read
from standard input, printed as three numbers from 0 to 255."""
import struct
import sys

data = sys.stdin.buffer.read()
fields = struct.unpack(">25I", data[:100])
header_size, byte_order, bits_per_pixel, bytes_per_line = fields[0], fields[7], fields[11], fields[12]
red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
width, height, colours = fields[4], fields[5], fields[19]
pixels = data[header_size + 12 * colours:]
if bits_per_pixel != 32:
    sys.exit("window_colour.py: only 32-bit pixels are read")
order = "<" if byte_order == 0 else ">"


def shift(mask):
    return (mask & -mask).bit_length() - 1


sums = [0, 0, 0]
for y in range(height):
    row = pixels[y * bytes_per_line: y * bytes_per_line + 4 * width]
    for (value,) in struct.iter_unpack(order + "I", row):
        sums[0] += (value & red_mask) >> shift(red_mask)
        sums[1] += (value & green_mask) >> shift(green_mask)
        sums[2] += (value & blue_mask) >> shift(blue_mask)
count = max(width * height, 1)
print(" ".join(f"{s / count:.1f}" for s in sums))
