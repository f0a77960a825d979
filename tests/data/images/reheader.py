#!/usr/bin/env python3
"""Copies a BMP with another info header, the pixel bytes untouched:
reheader.py IN OUT SIZE COMPRESSION [masks-after-header]
SIZE 40 or 108 takes the first SIZE bytes of IN's header; with
masks-after-header the three bit-field masks of IN follow the header."""
import struct
import sys

src, dst, size, compression = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
masks_after = len(sys.argv) > 5
data = open(src, "rb").read()
offset = struct.unpack("<I", data[10:14])[0]
old_size = struct.unpack("<I", data[14:18])[0]
header = bytearray(data[14:14 + old_size])
masks = bytes(header[40:52])
header = header[:size]
struct.pack_into("<I", header, 0, size)
struct.pack_into("<I", header, 16, compression)
extra = masks if masks_after else b""
pixels = data[offset:]
new_offset = 14 + size + len(extra)
out = bytearray(b"BM" + struct.pack("<IHHI", new_offset + len(pixels), 0, 0, new_offset))
out += header + extra + pixels
open(dst, "wb").write(out)
