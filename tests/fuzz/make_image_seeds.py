#!/usr/bin/env python3
"""Writes the seed images of the texture fuzz targets with FreeImage, the
library the texture manager reads them with: tiny PNGs and JPEGs in the pixel
layouts the loader converts between. Run from the repository root:

    python3 tests/fuzz/make_image_seeds.py tests/fuzz/corpus
"""
import ctypes
import os
import struct
import sys
import zlib

FIF_JPEG, FIF_PNG = 2, 13
FIT_UINT16, FIT_RGB16, FIT_RGBA16 = 2, 9, 10
PNG_Z_BEST_COMPRESSION, PNG_INTERLACED = 0x0009, 0x0200
JPEG_QUALITYGOOD, JPEG_QUALITYBAD = 0x0100, 0x0800
JPEG_PROGRESSIVE, JPEG_SUBSAMPLING_444, JPEG_BASELINE = 0x2000, 0x10000, 0x40000

fi = ctypes.CDLL("libfreeimage.so.3")
fi.FreeImage_Allocate.restype = ctypes.c_void_p
fi.FreeImage_Allocate.argtypes = [ctypes.c_int] * 6
fi.FreeImage_AllocateT.restype = ctypes.c_void_p
fi.FreeImage_AllocateT.argtypes = [ctypes.c_int] * 7
fi.FreeImage_GetScanLine.restype = ctypes.POINTER(ctypes.c_ubyte)
fi.FreeImage_GetScanLine.argtypes = [ctypes.c_void_p, ctypes.c_int]
fi.FreeImage_GetPalette.restype = ctypes.POINTER(ctypes.c_ubyte)
fi.FreeImage_GetPalette.argtypes = [ctypes.c_void_p]
fi.FreeImage_SetTransparencyTable.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_ubyte), ctypes.c_int]
fi.FreeImage_Save.argtypes = [ctypes.c_int, ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
fi.FreeImage_Unload.argtypes = [ctypes.c_void_p]


def image(width, height, bits, fill, kind=None):
    """fill(x, y) gives the bytes of one pixel as FreeImage stores them."""
    if kind is None:
        dib = fi.FreeImage_Allocate(width, height, bits, 0, 0, 0)
    else:
        dib = fi.FreeImage_AllocateT(kind, width, height, bits, 0, 0, 0)
    for y in range(height):
        row = fi.FreeImage_GetScanLine(dib, y)
        offset = 0
        for x in range(width):
            for byte in fill(x, y):
                row[offset] = byte
                offset += 1
    return dib


def packed(width, height, bits, level):
    """A 1- or 4-bit image: level(x, y) is the palette index of each pixel."""
    dib = fi.FreeImage_Allocate(width, height, bits, 0, 0, 0)
    per_byte = 8 // bits
    for y in range(height):
        row = fi.FreeImage_GetScanLine(dib, y)
        for x in range(width):
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= level(x, y) << shift
    return dib


def save(dib, fif, path, flags=0):
    if not fi.FreeImage_Save(fif, dib, path.encode(), flags):
        sys.exit("could not write " + path)
    fi.FreeImage_Unload(dib)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def add_png_chunks(path, chunks):
    """Puts the chunks right after IHDR (signature 8 bytes, IHDR 25)."""
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:33] + b"".join(png_chunk(kind, body) for kind, body in chunks) + data[33:])


def exif_segment():
    """An APP1 Exif segment: IFD0 with an orientation and a pointer to an
    Exif IFD that holds an exposure time (a rational stored past the IFD)."""
    ifd0 = struct.pack("<H", 2)
    ifd0 += struct.pack("<HHII", 0x0112, 3, 1, 1)           # Orientation = 1
    ifd0 += struct.pack("<HHII", 0x8769, 4, 1, 8 + 2 + 24 + 4)  # Exif IFD offset
    ifd0 += struct.pack("<I", 0)
    exif_ifd_start = 8 + len(ifd0)
    exif_ifd = struct.pack("<H", 1)
    exif_ifd += struct.pack("<HHII", 0x829A, 5, 1, exif_ifd_start + 2 + 12 + 4)  # ExposureTime
    exif_ifd += struct.pack("<I", 0)
    exif_ifd += struct.pack("<II", 1, 60)
    tiff = b"II*\x00" + struct.pack("<I", 8) + ifd0 + exif_ifd
    body = b"Exif\x00\x00" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body


def add_jpeg_segment(path, segment):
    """Puts the segment right after the start-of-image marker."""
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:2] + segment + data[2:])


def main(corpus):
    png = os.path.join(corpus, "texture_png")
    jpeg = os.path.join(corpus, "texture_jpeg")
    os.makedirs(png, exist_ok=True)
    os.makedirs(jpeg, exist_ok=True)

    rgb = lambda x, y: (30 + 60 * x, 40 * y, 200 - 50 * x)           # B, G, R
    rgba = lambda x, y: (30 + 60 * x, 40 * y, 200 - 50 * x, 255 - 80 * y)
    grey = lambda x, y: (17 * (x + 3 * y),)

    save(image(3, 2, 24, rgb), FIF_PNG, os.path.join(png, "rgb-3x2.png"), PNG_Z_BEST_COMPRESSION)
    save(image(2, 2, 32, rgba), FIF_PNG, os.path.join(png, "rgba-2x2.png"), PNG_Z_BEST_COMPRESSION)
    save(image(4, 3, 8, grey), FIF_PNG, os.path.join(png, "grey-4x3.png"), PNG_Z_BEST_COMPRESSION)
    save(image(5, 5, 24, rgb), FIF_PNG, os.path.join(png, "rgb-interlaced-5x5.png"), PNG_INTERLACED)

    # A palette of three colours, the last one half transparent.
    indexed = image(3, 3, 8, lambda x, y: ((x + y) % 3,))
    palette = fi.FreeImage_GetPalette(indexed)
    for index, (b, g, r) in enumerate([(0, 0, 255), (0, 255, 0), (255, 0, 0)]):
        palette[4 * index], palette[4 * index + 1], palette[4 * index + 2] = b, g, r
    alpha = (ctypes.c_ubyte * 3)(255, 255, 128)
    fi.FreeImage_SetTransparencyTable(indexed, alpha, 3)
    save(indexed, FIF_PNG, os.path.join(png, "palette-alpha-3x3.png"), PNG_Z_BEST_COMPRESSION)

    text = os.path.join(png, "rgb-text-chunks-2x2.png")
    save(image(2, 2, 24, rgb), FIF_PNG, text, PNG_Z_BEST_COMPRESSION)
    add_png_chunks(text, [
        (b"gAMA", struct.pack(">I", 45455)),
        (b"pHYs", struct.pack(">IIB", 2835, 2835, 1)),
        (b"tIME", struct.pack(">HBBBBB", 2024, 5, 17, 12, 30, 0)),
        (b"tEXt", b"Comment\x00a small test picture"),
        (b"zTXt", b"Author\x00\x00" + zlib.compress(b"the fuzz seeds")),
        (b"iTXt", b"Title\x00\x00\x00en\x00Titel\x00two by two"),
    ])

    save(packed(9, 2, 1, lambda x, y: (x + y) % 2), FIF_PNG, os.path.join(png, "bits1-9x2.png"))
    save(packed(3, 2, 4, lambda x, y: 5 * x + y), FIF_PNG, os.path.join(png, "bits4-3x2.png"))
    save(image(2, 2, 16, lambda x, y: (0x34, 0x12 + 0x40 * x + 0x20 * y), FIT_UINT16), FIF_PNG,
         os.path.join(png, "grey16-2x2.png"))
    save(image(2, 1, 48, lambda x, y: (0, 0x80 * x, 0xff, 0x10, 0, 0x40), FIT_RGB16), FIF_PNG,
         os.path.join(png, "rgb16-2x1.png"))
    save(image(1, 2, 64, lambda x, y: (0, 0xff, 0, 0x80, 0, 0x40 * y, 0xff, 0xff), FIT_RGBA16), FIF_PNG,
         os.path.join(png, "rgba16-1x2.png"))

    save(image(8, 8, 24, rgb), FIF_JPEG, os.path.join(jpeg, "rgb-8x8.jpg"), JPEG_QUALITYBAD | JPEG_BASELINE)
    save(image(16, 8, 24, rgb), FIF_JPEG, os.path.join(jpeg, "rgb-444-16x8.jpg"),
         JPEG_QUALITYGOOD | JPEG_SUBSAMPLING_444 | JPEG_BASELINE)
    save(image(9, 7, 24, rgb), FIF_JPEG, os.path.join(jpeg, "rgb-progressive-9x7.jpg"),
         JPEG_QUALITYBAD | JPEG_PROGRESSIVE | JPEG_BASELINE)
    save(image(8, 8, 8, grey), FIF_JPEG, os.path.join(jpeg, "grey-8x8.jpg"), JPEG_QUALITYBAD | JPEG_BASELINE)
    exif = os.path.join(jpeg, "rgb-exif-8x8.jpg")
    save(image(8, 8, 24, rgb), FIF_JPEG, exif, JPEG_QUALITYBAD | JPEG_BASELINE)
    add_jpeg_segment(exif, exif_segment())
    # With FreeImage's default markers (JFIF, comment), as most tools write them.
    save(image(4, 4, 24, rgb), FIF_JPEG, os.path.join(jpeg, "rgb-markers-4x4.jpg"), JPEG_QUALITYBAD)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tests/fuzz/corpus")
