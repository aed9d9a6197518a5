#!/usr/bin/env python3
"""Makes the TrueType fuzzer's first seeds (fuzz/seeds/truetype) from the
DejaVu fonts that scripts/setup.sh installs: small fonts of a few glyphs each,
renumbered from 0, so that the fuzzer mutates a whole font of a few hundred
bytes instead of half a megabyte. Between them they hold both character map
formats (4, with segments through the glyph list and by delta, and 12), short
and long glyph locations, composite glyphs, both kinds of name record, and
hinting tables.

    fuzz/truetype_seeds.py [OUTPUT_FOLDER]
"""
import os
import struct
import sys

DEJAVU = "/usr/share/fonts/truetype/dejavu/"


def u16(data, at):
    return struct.unpack(">H", data[at:at + 2])[0]


def u32(data, at):
    return struct.unpack(">I", data[at:at + 4])[0]


def read_tables(path):
    data = open(path, "rb").read()
    tables = {}
    for i in range(u16(data, 4)):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag.decode("latin-1")] = data[offset:offset + length]
    return tables


def glyph_of(cmap, code_point):
    """The glyph of a character by the font's format 12 or format 4 map."""
    for i in range(u16(cmap, 2)):
        platform, encoding, at = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (platform, encoding) == (3, 10) and u16(cmap, at) == 12:
            for g in range(u32(cmap, at + 12)):
                first, last, glyph = struct.unpack(">3I", cmap[at + 16 + 12 * g:at + 28 + 12 * g])
                if first <= code_point <= last:
                    return glyph + code_point - first
            return 0
    for i in range(u16(cmap, 2)):
        platform, encoding, at = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (platform, encoding) != (3, 1) or u16(cmap, at) != 4:
            continue
        segments = u16(cmap, at + 6) // 2
        ends, starts = at + 14, at + 16 + 2 * segments
        deltas, offsets = starts + 2 * segments, starts + 4 * segments
        for s in range(segments):
            first, last = u16(cmap, starts + 2 * s), u16(cmap, ends + 2 * s)
            if first <= code_point <= last:
                delta, offset = u16(cmap, deltas + 2 * s), u16(cmap, offsets + 2 * s)
                if offset == 0:
                    return (code_point + delta) & 0xFFFF
                glyph = u16(cmap, offsets + 2 * s + offset + 2 * (code_point - first))
                return (glyph + delta) & 0xFFFF if glyph else 0
    return 0


def glyph_data(tables, glyph):
    loca, long_offsets = tables["loca"], u16(tables["head"], 50) == 1
    if long_offsets:
        start, end = u32(loca, 4 * glyph), u32(loca, 4 * glyph + 4)
    else:
        start, end = 2 * u16(loca, 2 * glyph), 2 * u16(loca, 2 * glyph + 2)
    return tables["glyf"][start:end]


def components(data):
    """(position of the glyph number, glyph number) of each part of a composite."""
    parts = []
    if len(data) < 10 or struct.unpack(">h", data[0:2])[0] >= 0:
        return parts
    at, more = 10, True
    while more:
        flags = u16(data, at)
        parts.append((at + 2, u16(data, at + 2)))
        at += 4 + (4 if flags & 1 else 2)
        at += 2 if flags & 8 else 4 if flags & 0x40 else 8 if flags & 0x80 else 0
        more = bool(flags & 0x20)
    return parts


def format4(mapping):
    """Runs of consecutive characters and glyphs by delta, others through the glyph list."""
    runs = []
    for code_point, glyph in sorted(mapping.items()):
        if runs and runs[-1][1] + 1 == code_point:
            runs[-1][1] = code_point
            runs[-1][2].append(glyph)
        else:
            runs.append([code_point, code_point, [glyph]])
    runs.append([0xFFFF, 0xFFFF, [0]])
    count = len(runs)
    ends = b"".join(struct.pack(">H", r[1]) for r in runs)
    starts = b"".join(struct.pack(">H", r[0]) for r in runs)
    deltas, offsets, glyph_list = b"", b"", b""
    for s, (first, _, glyphs) in enumerate(runs):
        consecutive = all(g - glyphs[0] == k for k, g in enumerate(glyphs))
        if consecutive or first == 0xFFFF:
            delta = 1 if first == 0xFFFF else glyphs[0] - first  # 0xFFFF shows glyph 0
            deltas += struct.pack(">H", delta & 0xFFFF)
            offsets += struct.pack(">H", 0)
        else:
            deltas += struct.pack(">H", 0)
            offsets += struct.pack(">H", 2 * (count - s) + len(glyph_list))
            glyph_list += b"".join(struct.pack(">H", g) for g in glyphs)
    body = ends + b"\0\0" + starts + deltas + offsets + glyph_list
    return struct.pack(">7H", 4, 14 + len(body), 0, 2 * count, 0, 0, 0) + body


def format12(mapping):
    groups = []
    for code_point, glyph in sorted(mapping.items()):
        if groups and groups[-1][1] + 1 == code_point and groups[-1][2] + code_point - groups[-1][0] == glyph:
            groups[-1][1] = code_point
        else:
            groups.append([code_point, code_point, glyph])
    body = b"".join(struct.pack(">3I", *g) for g in groups)
    return struct.pack(">HHIII", 12, 0, 16 + len(body), 0, len(groups)) + body


def character_map(mapping, full):
    subtables = [((3, 1), format4({c: g for c, g in mapping.items() if c < 0xFFFF}))]
    if full:
        subtables += [((0, 4), format12(mapping)), ((3, 10), None)]
    records, bodies, at = b"", b"", 4 + 8 * len(subtables)
    full_at = None
    for (platform, encoding), body in subtables:
        if body is None:
            records += struct.pack(">HHI", platform, encoding, full_at)
            continue
        if u16(body, 0) == 12:
            full_at = at + len(bodies)
        records += struct.pack(">HHI", platform, encoding, at + len(bodies))
        bodies += body
    return struct.pack(">HH", 0, len(subtables)) + records + bodies


def name_table(name, windows):
    records, strings = [], b""
    if windows:
        text = name.encode("utf-16-be")
        records.append((3, 1, 0x409, 6, len(text), len(strings)))
        strings += text
    records.append((1, 0, 0, 6, len(name), len(strings)))
    strings += name.encode("ascii")
    head = struct.pack(">3H", 0, len(records), 6 + 12 * len(records))
    return head + b"".join(struct.pack(">6H", *r) for r in records) + strings


def font_file(tables):
    tags = sorted(tables)
    out = struct.pack(">IHHHH", 0x00010000, len(tags), 0, 0, 0)
    offset, body = 12 + 16 * len(tags), b""
    for tag in tags:
        data = tables[tag]
        words = data + b"\0" * (-len(data) % 4)
        checksum = sum(struct.unpack(">%dI" % (len(words) // 4), words)) & 0xFFFFFFFF
        out += tag.encode("latin-1") + struct.pack(">III", checksum, offset + len(body), len(data))
        body += words
    return out + body


def small_font(source, characters, name, long_offsets, full_map, windows_name, hinting):
    tables = read_tables(DEJAVU + source)
    wanted = {ord(c): glyph_of(tables["cmap"], ord(c)) for c in characters}
    old_glyphs = [0]
    for glyph in wanted.values():
        pending = [glyph]
        while pending:
            g = pending.pop()
            if g and g not in old_glyphs:
                old_glyphs.append(g)
                pending += [part for _, part in components(glyph_data(tables, g))]
    number = {old: new for new, old in enumerate(old_glyphs)}
    glyf, loca = b"", []
    for old in old_glyphs:
        data = bytearray(glyph_data(tables, old))
        for at, part in components(bytes(data)):
            data[at:at + 2] = struct.pack(">H", number[part])
        loca.append(len(glyf))
        glyf += bytes(data) + b"\0" * (-len(data) % 4)
    loca.append(len(glyf))
    metrics = tables["hmtx"]
    hmtx = b"".join(metrics[4 * old:4 * old + 4] for old in old_glyphs)
    head = bytearray(tables["head"])
    head[50:52] = struct.pack(">h", 1 if long_offsets else 0)
    hhea = bytearray(tables["hhea"])
    hhea[34:36] = struct.pack(">H", len(old_glyphs))
    maxp = bytearray(tables["maxp"])
    maxp[4:6] = struct.pack(">H", len(old_glyphs))
    result = {
        "head": bytes(head), "hhea": bytes(hhea), "maxp": bytes(maxp), "hmtx": hmtx,
        "loca": b"".join(struct.pack(">I" if long_offsets else ">H", o if long_offsets else o // 2)
                         for o in loca),
        "glyf": glyf,
        "cmap": character_map({c: number[g] for c, g in wanted.items() if g}, full_map),
        "name": name_table(name, windows_name),
    }
    for tag in hinting:
        result[tag] = tables[tag][:64]
    return font_file(result)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "seeds", "truetype")
    os.makedirs(out, exist_ok=True)
    seeds = {
        "sans-basic-plane.ttf": small_font("DejaVuSans.ttf", "AÉéŁł€", "DejaVuSans", False, False, False, []),
        "sans-every-plane.ttf": small_font("DejaVuSans.ttf", "aąęĳ→\U00010300\U00010301", "DejaVuSans-Subset", True, True, True,
                                           ["fpgm", "prep"]),
        "serif-composites.ttf": small_font("DejaVuSerif.ttf", "ÅǺǻṏ", "DejaVuSerif", True, False, True, ["cvt "]),
        "mono-list.ttf": small_font("DejaVuSansMono.ttf", "BCA0zy", "DejaVuSansMono", False, True, False, []),
    }
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(name, len(data), "bytes")


if __name__ == "__main__":
    main()
