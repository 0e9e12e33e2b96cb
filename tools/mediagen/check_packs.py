#!/usr/bin/env python3
"""An independent reading of the shipped style packs and cursors.

    check_packs.py MEDIA_DIR [CURSOR_DIR]

Written with Python's standard library only, apart from the program and the
generator: for every pack it reads the tail (layout A: L in the last four
bytes; layout B: L before seven more bytes), the table text, every length
cell against the bytes that follow, inflates every zlib blob and reads each
picture's format and size from its own header (JPEG frame header, PNG image
header, BMP header). The table text must split into the same cells whether
it is read as GBK (code page 936) or byte for byte (code page 1252). It also
checks what the program relies on of each pack (row counts, frame modes,
sizes) and the cursor files. Prints one line per fault and exits 1 when there
is any.
"""
import os
import struct
import sys
import zlib

faults = []


def fault(where, message):
    faults.append("%s: %s" % (where, message))


class Bad(Exception):
    pass


# --- pictures -----------------------------------------------------------------

def picture_header(data):
    """(format, width, height) from the file's own header."""
    if data[:3] == b"\xff\xd8\xff":
        pos = 2
        while pos + 4 <= len(data):
            if data[pos] != 0xFF:
                raise Bad("JPEG: a marker expected at byte %d" % pos)
            while pos < len(data) and data[pos] == 0xFF:
                pos += 1
            marker = data[pos]
            pos += 1
            if marker == 0x01 or 0xD0 <= marker <= 0xD7:
                continue
            if marker in (0xD9, 0xDA):
                raise Bad("JPEG: image data before the frame header")
            (length,) = struct.unpack_from(">H", data, pos)
            if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
                height, width = struct.unpack_from(">HH", data, pos + 3)
                return "JPEG", width, height
            pos += length
        raise Bad("JPEG: no frame header")
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        if data[12:16] != b"IHDR":
            raise Bad("PNG: no image header")
        width, height = struct.unpack_from(">II", data, 16)
        return "PNG", width, height
    if data[:2] == b"BM":
        (header,) = struct.unpack_from("<I", data, 14)
        if header < 40:
            raise Bad("BMP: header of %d bytes" % header)
        width, height, planes, bits = struct.unpack_from("<iiHH", data, 18)
        (offset,) = struct.unpack_from("<I", data, 10)
        stride = (width * bits // 8 + 3) & ~3
        if offset + stride * abs(height) > len(data):
            raise Bad("BMP: %d x %d x %d bits needs more than %d bytes" % (width, height, bits, len(data)))
        return "BMP%d" % bits, width, abs(height)
    raise Bad("not a picture file")


def inflate(blob):
    d = zlib.decompressobj()
    out = d.decompress(blob)
    if not d.eof or d.unused_data:
        raise Bad("a damaged zlib stream")
    return out


# --- the container --------------------------------------------------------------

def split(data, layout_b):
    tail = 11 if layout_b else 4
    if len(data) < tail:
        raise Bad("shorter than its tail")
    (length,) = struct.unpack_from("<i", data, len(data) - tail)
    if length < 0 or length > len(data) - tail:
        raise Bad("table text length %d out of range" % length)
    end = len(data) - tail - length
    return data[:end], data[end:end + length]


def cells_of(text):
    """(properties, rows) of a table text given as str."""
    if not text:
        return [], [[""]]
    props = []
    body = text
    if text[0] == "#":
        p = text.find("#", 1)
        if p >= 0:
            props = text[1:p].split(",")
            body = text[p + 1:]
            if not body:
                return props, []
    return props, [r.split(",") for r in body.split("|")]


def table(text_bytes, where):
    gbk = cells_of(text_bytes.decode("gbk"))
    cp1252 = cells_of(text_bytes.decode("latin-1"))  # 1252 and Latin-1 agree on the separators
    shape = lambda t: ([len(t[0])], [len(r) for r in t[1]])
    if shape(gbk) != shape(cp1252):
        fault(where, "the table text splits differently under code pages 936 and 1252")
    for a, b in zip(gbk[1], cp1252[1]):
        for x, y in zip(a, b):
            if x.isascii() != y.isascii() or (x.isascii() and x != y):
                fault(where, "cell %r reads %r under code page 1252" % (x, y))
    return gbk


def cell(row, i):
    return row[i] if i < len(row) else ""


def number(text):
    try:
        return int(text) if text.lstrip("-").isdigit() else 0
    except ValueError:
        return 0


class Walk:
    def __init__(self, blobs, where):
        self.blobs, self.pos, self.where = blobs, 0, where

    def take(self, length, required, place):
        if length < 0 or (required and length == 0):
            raise Bad("%s: length %d" % (place, length))
        if self.pos + length > len(self.blobs):
            raise Bad("%s: a blob of %d bytes runs past the blob area" % (place, length))
        b = self.blobs[self.pos:self.pos + length]
        self.pos += length
        return b

    def picture(self, row, i, c, zipped, required=True, formats=("JPEG", "PNG", "BMP24", "BMP32")):
        n = number(cell(row, c))
        if n == 0 and not required:
            return None
        b = self.take(n, required, "row %d, cell %d" % (i, c))
        data = inflate(b) if zipped else b
        fmt, w, h = picture_header(data)
        if fmt not in formats:
            raise Bad("row %d, cell %d: a %s picture where %s belongs" % (i, c, fmt, "/".join(formats)))
        if w <= 0 or h <= 0 or w * h > 30000000:
            raise Bad("row %d, cell %d: %d x %d pixels" % (i, c, w, h))
        return fmt, w, h, data

    def done(self):
        if self.pos != len(self.blobs):
            raise Bad("%d bytes of the blob area belong to no row" % (len(self.blobs) - self.pos))


def check_size(where, pic, min_w, max_w, min_h, max_h, square=False):
    fmt, w, h, _ = pic
    if not (min_w <= w <= max_w and min_h <= h <= max_h) or (square and w != h):
        fault(where, "%s of %d x %d" % (fmt, w, h))


def layer_table(data, where):
    blobs, text = split(data, False)
    props, rows = table(text, where)
    walk = Walk(blobs, where)
    enabled = 0
    if len(rows) < 3:
        fault(where, "%d layers; the frames dialog edits rows 0 to 2" % len(rows))
    for i, r in enumerate(rows):
        enabled += number(cell(r, 0)) != 0
        if number(cell(r, 1)) == 0:
            walk.picture(r, i, 19, True, formats=("BMP32",))
        if not 1 <= number(cell(r, 6)) <= 9:
            fault(where, "row %d: shade count %s" % (i, cell(r, 6)))
    if enabled > 6:
        fault(where, "%d enabled layers" % enabled)
    preview = walk.picture(props, -1, 9, True, formats=("JPEG",))
    check_size(where + " preview", preview, 1, 78, 1, 71)
    walk.done()


def check_pack(media, name, kind):
    where = os.path.join(media, name)
    data = open(where, "rb").read()
    layout_b = kind.startswith("frame")
    blobs, text = split(data, layout_b)
    props, rows = table(text, where)
    walk = Walk(blobs, where)
    modes = []
    for i, r in enumerate(rows):
        w = "%s row %d" % (where, i)
        set14 = cell(r, 14) != ""
        if kind == "effects":
            if set14:
                tex = walk.picture(r, i, 15, True, formats=("JPEG",))
                if max(tex[1], tex[2]) < 1024:
                    fault(w, "a texture of %d x %d" % tex[1:3])
                scene = os.path.join(media, cell(r, 14))
                if not os.path.exists(scene) or open(scene, "rb").read() != tex[3]:
                    fault(w, "%s beside the pack is not the row's texture" % cell(r, 14))
                walk.picture(r, i, 16, True, required=False, formats=("JPEG",))
            modes.append(number(cell(r, 5)))
        elif kind == "pattern":
            if set14:
                check_size(w, walk.picture(r, i, 15, True, formats=("JPEG",)), 64, 128, 64, 128, True)
        elif kind == "brush":
            if set14:
                check_size(w, walk.picture(r, i, 15, True, formats=("BMP24",)), 256, 4096, 256, 4096, True)
                check_size(w, walk.picture(r, i, 16, False, required=False, formats=("PNG",)), 1, 32, 1, 32)
            if number(cell(r, 9)) <= 0 or number(cell(r, 10)) < 1:
                fault(w, "spacing cells %s and %s" % (cell(r, 9), cell(r, 10)))
        elif kind == "shadow":
            if set14:
                pic = walk.picture(r, i, 16, False, required=False, formats=("PNG",))
                if pic:
                    check_size(w, pic, 32, 32, 32, 32)
        elif kind in ("frame0", "frame1"):
            check_size(w, walk.picture(r, i, 15, True, formats=("BMP32",)), 1, 78, 1, 66)
            walk.picture(r, i, 17, True, required=False, formats=("JPEG",))
            modes.append(number(cell(r, 5)))
            if number(cell(r, 1)) != int(kind[-1]):
                fault(w, "tab %s" % cell(r, 1))
        elif kind == "frame2":
            if set14:
                n = number(cell(r, 15))
                layer_table(inflate(walk.take(n, True, "row %d, cell 15" % i)), w + " layer table")
            modes.append(number(cell(r, 5)))
        elif kind == "frame3":
            if set14:
                check_size(w, walk.picture(r, i, 15, True), 256, 4096, 256, 4096)
            modes.append(number(cell(r, 5)))
    walk.done()
    # What the program relies on.
    if kind == "effects":
        if len(rows) != 31 or sorted(set(number(cell(r, 1)) for r in rows)) != [0, 1, 2, 3]:
            fault(where, "%d rows" % len(rows))
        if len(set(modes)) != len(modes):
            fault(where, "an effect kind twice")
        if props[:1] != ["基本.风格.色彩.场景"] or cell(props, 2) != " Basic.Stylize. Color.Scene" or cell(props, 9) != "-1":
            fault(where, "catalogue properties %r" % props)
    elif kind == "pattern" and len(rows) < 6:
        fault(where, "%d rows" % len(rows))
    elif kind == "brush" and len(rows) < 2:
        fault(where, "%d rows" % len(rows))
    elif kind == "shadow" and len(rows) != 8:
        fault(where, "%d rows" % len(rows))
    elif kind in ("frame0", "frame1"):
        last = 10 if kind == "frame0" else 16
        if sorted(modes) != list(range(1, last + 1)):
            fault(where, "frame modes %s" % sorted(modes))
    elif kind in ("frame2", "frame3") and len(set(modes)) != len(modes):
        fault(where, "a frame number twice")


PACKS = [("Effects.dat", "effects"), ("Pattern.dat", "pattern"), ("Brush.dat", "brush"), ("Shadow.dat", "shadow"),
         ("Reflection.dat", "shadow"), ("frame0.dat", "frame0"), ("frame1.dat", "frame1"), ("frame2.dat", "frame2"),
         ("frame3.dat", "frame3")]

CURSORS = ["Zoom", "Pencil", "Fill", "ColorPick", "Hand", "Rotate", "FreeShape_AddNode", "FreeShape_AddNode_P",
           "Selection_Cross", "Selection_Cross_P", "Selection_Cross_M", "Selection_Lasso", "Selection_Lasso_P",
           "Selection_Lasso_M", "Selection_PolyLasso", "Selection_PolyLasso_P", "Selection_PolyLasso_M",
           "Selection_NodeLasso", "Selection_Wand", "Selection_Wand_P", "Selection_Wand_M", "Selection_MoveCut",
           "Selection_Move", "Selection_MoveCopy"]


def check_cursor(path):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    w, h, colours, _, hx, hy, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    if (reserved, kind, count, w, h) != (0, 2, 1, 32, 32) or offset + size != len(data):
        raise Bad("not one 32 x 32 cursor image")
    if not (0 <= hx < 32 and 0 <= hy < 32):
        raise Bad("hot spot (%d, %d)" % (hx, hy))
    hs, bw, bh, planes, bits = struct.unpack_from("<IiiHH", data, offset)
    if (hs, bw, bh, bits) != (40, 32, 64, 32) or size != 40 + 32 * 32 * 4 + 32 * 4:
        raise Bad("not a 32-bit colour image with its mask")
    colour = data[offset + 40:offset + 40 + 4096]
    mask = data[offset + 40 + 4096:offset + size]
    for y in range(32):
        bits_row = struct.unpack_from(">I", mask, y * 4)[0]
        for x in range(32):
            alpha = colour[(y * 32 + x) * 4 + 3]
            transparent = (bits_row >> (31 - x)) & 1
            if transparent != (alpha < 128):
                raise Bad("the mask disagrees with the alpha at (%d, %d)" % (x, 31 - y))


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    media = argv[1]
    for name, kind in PACKS:
        try:
            check_pack(media, name, kind)
        except (Bad, OSError, struct.error, UnicodeDecodeError, zlib.error) as e:
            fault(os.path.join(media, name), str(e))
    if len(argv) == 3:
        rc = open(os.path.join(argv[2], "Cursors.rc")).read()
        for c in CURSORS:
            name = "Cursor_" + c
            if '%s CURSOR "%s.cur"' % (name, name) not in rc:
                fault(name, "not in Cursors.rc")
            try:
                check_cursor(os.path.join(argv[2], name + ".cur"))
            except (Bad, OSError, struct.error) as e:
                fault(name, str(e))
    for f in faults:
        print(f)
    print("%d packs, %d faults" % (len(PACKS), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
