#!/usr/bin/python3
"""Compares two pictures as the golden tests do: a pixel differs when any
channel is more than TOLERANCE/255 off; the pictures match when at most
SHARE of the pixels differ. Prints the numbers; exit 1 when they do not match.

usage: image_diff.py EXPECTED ACTUAL [TOLERANCE] [SHARE]"""
import subprocess
import sys

import numpy


def pixels(path):
    probe = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "stream=width,height",
                            "-of", "csv=p=0", path], capture_output=True, text=True, check=True).stdout.split(",")
    width, height = int(probe[0]), int(probe[1])
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                         capture_output=True, check=True).stdout
    return numpy.frombuffer(raw, numpy.uint8).reshape(height, width, 3).astype(numpy.int16)


expected, actual = pixels(sys.argv[1]), pixels(sys.argv[2])
tolerance = int(sys.argv[3]) if len(sys.argv) > 3 else 5
share = float(sys.argv[4]) if len(sys.argv) > 4 else 0.005
if expected.shape != actual.shape:
    print(f"{sys.argv[2]}: size {actual.shape[1]}x{actual.shape[0]}, expected {expected.shape[1]}x{expected.shape[0]}")
    sys.exit(1)
difference = numpy.abs(expected - actual).max(axis=2)
beyond = float(numpy.count_nonzero(difference > tolerance)) / difference.size
print(f"{sys.argv[2]}: largest channel difference {int(difference.max())}/255, "
      f"{beyond * 100:.3f}% of pixels beyond {tolerance}/255")
sys.exit(0 if beyond <= share else 1)
