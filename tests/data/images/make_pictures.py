#!/usr/bin/env python3
"""Writes the source pictures the fixtures are made from. The tests
recompute the same pictures (image_test_support.h)."""

W, H = 13, 7
# Sixteen colours; the tests list the same table.
TABLE16 = [
    (0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0x00, 0xFF, 0xFF), (0xFF, 0x00, 0xFF),
    (0x84, 0x41, 0x10), (0x10, 0x84, 0x41), (0x41, 0x10, 0x84), (0xC6, 0xC3, 0x39),
    (0x39, 0xC6, 0xC3), (0xC3, 0x39, 0xC6), (0x63, 0x82, 0xA5), (0xA5, 0x63, 0x82),
]


def rich(x, y):
    return ((x * 17 + y * 3) & 0xFF, (y * 31 + x * 5 + 40) & 0xFF, (x * y * 7 + 9) & 0xFF)


def sixteen(x, y):
    return TABLE16[(x * 3 + y * 5) % 16]


def two(x, y):
    return (0xFF, 0xFF, 0xFF) if (x + (y // 2)) % 3 == 0 else (0, 0, 0)


def write_ppm(name, f):
    with open(name, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (W, H))
        for y in range(H):
            for x in range(W):
                out.write(bytes(f(x, y)))


def alpha(x, y):
    return (x * 19 + y * 11) & 0xFF


def write_pam_rgba(name, f):
    with open(name, "wb") as out:
        out.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (W, H))
        for y in range(H):
            for x in range(W):
                out.write(bytes(f(x, y) + (alpha(x, y),)))


def grey(x, y):
    return rich(x, y)[0]


def write_pgm(name, f):
    with open(name, "wb") as out:
        out.write(b"P5\n%d %d\n255\n" % (W, H))
        for y in range(H):
            for x in range(W):
                out.write(bytes((f(x, y),)))


def write_pam_grey_alpha(name):
    with open(name, "wb") as out:
        out.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n" % (W, H))
        for y in range(H):
            for x in range(W):
                out.write(bytes((grey(x, y), alpha(x, y))))


write_ppm("rich.ppm", rich)
write_ppm("sixteen.ppm", sixteen)
write_ppm("two.ppm", two)
write_pam_rgba("rich_alpha.pam", rich)
write_pgm("grey.pgm", grey)
write_pgm("grey_alpha.pgm", alpha)
write_pam_grey_alpha("grey_alpha.pam")
