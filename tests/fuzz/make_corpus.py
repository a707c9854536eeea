#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus from the game's own generated resources.

Usage: tests/fuzz/make_corpus.py BUILD/assets-raw tests/fuzz/corpus

The block pictures are cut down to a few pixels (header and palette kept) and
the sounds to a few frames, so that the committed seeds stay small."""
import os
import random
import struct
import sys


def cropped_bitmap(dib, width, height, top_down=False, colours=0):
    header = bytearray(dib[:40])
    entries = colours or 256
    palette = dib[40:40 + 4 * 256][:4 * entries]
    old_width, old_height = struct.unpack_from("<ii", dib, 4)
    old_stride = (old_width + 3) & ~3
    stride = (width + 3) & ~3
    pixels = bytearray()
    rows = range(old_height - height, old_height)  # the top rows of a bottom-up picture
    for row in (reversed(rows) if top_down else rows):
        start = 40 + 4 * 256 + row * old_stride
        line = bytes(b % entries for b in dib[start:start + width])
        pixels += line + bytes(stride - width)
    struct.pack_into("<ii", header, 4, width, -height if top_down else height)
    struct.pack_into("<I", header, 20, len(pixels))
    struct.pack_into("<I", header, 32, colours)
    return bytes(header) + palette + bytes(pixels)


def chunks(wave):
    at = 12
    while at + 8 <= len(wave):
        tag, size = wave[at:at + 4], struct.unpack_from("<I", wave, at + 4)[0]
        yield tag, wave[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)


def riff(parts):
    body = b"WAVE"
    for tag, data in parts:
        body += tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) & 1 else b"")
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main(raw, out):
    for sub in ("bitmap", "wave", "drawing"):
        os.makedirs(os.path.join(out, sub), exist_ok=True)

    def write(sub, name, data):
        with open(os.path.join(out, sub, name), "wb") as f:
            f.write(data)

    block = open(os.path.join(raw, "bitmap_130.dib"), "rb").read()
    write("bitmap", "block-8x8", cropped_bitmap(block, 8, 8))
    write("bitmap", "block-5x3-top-down", cropped_bitmap(block, 5, 3, top_down=True))
    write("bitmap", "block-6x2-16-colours", cropped_bitmap(block, 6, 2, colours=16))
    for icon in ("icon_128.dib", "icon_129.dib"):
        write("bitmap", icon.replace(".dib", ""), open(os.path.join(raw, icon), "rb").read())

    for sound in range(154, 160):
        wave = open(os.path.join(raw, "sound_%d.wav" % sound), "rb").read()
        parts = [(tag, data[:24] if tag == b"data" else data) for tag, data in chunks(wave)]
        write("wave", "sound-%d-short" % sound, riff(parts))
    fmt16 = struct.pack("<HHIIHH", 1, 2, 22050, 22050 * 4, 4, 16)
    write("wave", "stereo-16-odd-chunk",
          riff([(b"LIST", b"odd"), (b"fmt ", fmt16), (b"data", bytes(range(18)))]))

    rng = random.Random(504)
    small = cropped_bitmap(block, 4, 4)
    for n in range(6):
        ops = bytes(rng.randrange(256) for _ in range(96))
        write("drawing", "random-%d" % n, bytes([40, 30]) + ops)
    # A copy of a real picture: operation 7 with its length in eight-byte steps.
    copy = bytes([7, 1, 10, 0, 1, 5, 0, 1, 8, 0, 1, 8, 0, (len(small) + 7) // 8])
    write("drawing", "blit-block", bytes([40, 30]) + copy + small.ljust((len(small) + 7) // 8 * 8, b"\0"))
    text = bytes([9, 2, 10, 1, 0, 0, 1, 0, 0, 1, 60, 0, 1, 40, 0, 0x15, 20]) + b"THIS GAME WILL NOT R"
    write("drawing", "banner-text", bytes([60, 40]) + text)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
