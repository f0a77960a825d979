#!/bin/sh
# Makes every fixture of this folder. ImageMagick 6 (Debian's imagemagick,
# called as /usr/bin/convert) and netpbm write the pictures; reheader.py only
# swaps a BMP's info header for the header sizes no tool here writes.
set -eu
C=/usr/bin/convert
python3 make_pictures.py

# BMP: ImageMagick (40-byte BMP3 and 124-byte BMP headers) and netpbm.
$C rich.ppm -type TrueColor BMP3:t_rich24_v3.bmp
$C rich.ppm -type TrueColor BMP:t_rich24_v5.bmp
$C rich.ppm -type Palette -compress None BMP3:t_rich8_v3.bmp
$C rich.ppm -type Palette -compress RLE BMP3:t_rich8_rle.bmp
$C sixteen.ppm -type Palette -compress None BMP3:t_sixteen4_v3.bmp
$C sixteen.ppm -define bmp:subtype=RGB565 BMP:t_sixteen_565.bmp
$C sixteen.ppm -define bmp:subtype=RGB555 BMP:t_sixteen_555.bmp
$C rich_alpha.pam BMP:t_rich32_v5.bmp
$C rich_alpha.pam -define bmp3:alpha=true BMP3:t_rich32b_v3.bmp
$C two.ppm -type Bilevel BMP3:t_two1_v3.bmp
ppmtobmp -windows -bpp 24 rich.ppm > n_rich24.bmp
ppmtobmp -windows -bpp 8 rich.ppm > n_rich8.bmp
ppmtobmp -windows -bpp 4 sixteen.ppm > n_sixteen4.bmp
ppmtobmp -windows -bpp 1 two.ppm > n_two1.bmp
python3 reheader.py t_rich24_v5.bmp r_rich24_v4.bmp 108 0
python3 reheader.py t_sixteen_555.bmp r_sixteen_555_plain.bmp 40 0
python3 reheader.py t_sixteen_565.bmp r_sixteen_565_v3.bmp 40 3 masks-after-header

# TGA: types 2 and 10 (24 and 32 bits, both row orders), 1 and 9 (colour
# map), and a 16-bit one. This ImageMagick stores rows top first even when
# its header says bottom-up (netpbm's tgatoppm and our reader agree on
# that), so bottom-up files come from netpbm and ImageMagick writes only
# top-down ones.
pamtotga -rgb -norle rich.ppm > n_rich24_bu.tga
pamtotga -rgb rich.ppm > n_rich24_rle.tga
pamtotga -cmap -norle rich.ppm > n_rich8_map.tga
pamtotga -cmap rich.ppm > n_rich8_map_rle.tga
pamtotga -norle rich_alpha.pam > n_rich32.tga
$C rich.ppm -orient TopLeft TGA:g_rich24_td.tga
$C rich_alpha.pam -compress RLE -orient TopLeft TGA:g_rich32_rle_td.tga
$C sixteen.ppm -depth 5 -orient TopLeft TGA:g_sixteen16_td.tga
# ImageMagick's own reading of its 16-bit file: the picture that file is
# compared with (its 5-bit rounding is its own).
$C g_sixteen16_td.tga -depth 8 g_sixteen16_td_read.ppm

# DDS: masks with and without alpha, DXT1 and DXT5 (this ImageMagick writes
# no DXT3: the tests make those blocks with libsquish), and a DXT5 with
# mipmaps (16 x 8: ImageMagick makes mipmaps for powers of two only).
$C rich_alpha.pam -define dds:compression=none DDS:d_rich32.dds
$C rich.ppm -define dds:compression=none DDS:d_rich24.dds
$C rich_alpha.pam -define dds:compression=dxt1 DDS:d_rich_dxt1.dds
$C rich.ppm -define dds:compression=dxt1 DDS:d_rich_dxt1_opaque.dds
$C rich_alpha.pam -define dds:compression=dxt5 DDS:d_rich_dxt5.dds
$C rich_alpha.pam -define dds:compression=dxt5 -define dds:mipmaps=3 -background none -extent 16x8 DDS:d_rich_dxt5_mips.dds

# PNG: grey with an alpha channel (8 bits from netpbm, 16 from ImageMagick)
# and grey with a transparent entry (netpbm; the grey 0x25 of pixel (2, 1)).
pnmtopng -force -alpha grey_alpha.pgm grey.pgm > n_grey_alpha.png
pnmtopng -transparent =rgb:25/25/25 grey.pgm > n_grey_trns.png
$C grey_alpha.pam -depth 16 -define png:color-type=4 -define png:bit-depth=16 PNG:t_grey_alpha16.png
