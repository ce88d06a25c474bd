#!/usr/bin/env python3
"""Writes the Japanese font tables:

- PdfJpCMap.cpp: the code-to-CID ranges of the Adobe CMaps 90ms-RKSJ-H (fixed-pitch kinds)
  and 90msp-RKSJ-H (proportional kinds), in the order the CMap files list them;
- PdfJpWidths.cpp: the `W` groups of the proportional kinds (proportional Latin, half-width
  katakana and the full-width groups), in thousandths of the font size.

The CMaps come with Debian poppler-data. The proportional widths are the advance widths of
IPAPGothic (Debian fonts-ipafont-gothic, read from the file only, never installed), a free
proportional Gothic face; the CIDs listed in FIXED_WIDTHS keep the widths that the Windows
program's documents carry, so that text measured there and here lines up the same way.

    gen_jp_tables.py CMAP_DIR IPAPGOTHIC_TTF OUTPUT_DIR
"""
import os
import re
import struct
import sys

# Start CID and number of widths of each proportional group.
GROUPS = [(1, 95), (326, 64), (633, 63), (771, 8), (780, 10), (790, 26), (816, 26), (842, 83),
          (925, 63), (988, 23)]

FIXED_WIDTHS = {}
for cid, width in enumerate([305, 219, 500, 500, 500, 500, 594, 203, 305, 305, 500, 500], 1):
    FIXED_WIDTHS[cid] = width
for cid in range(633, 638):
    FIXED_WIDTHS[cid] = 664
for cid in range(780, 790):
    FIXED_WIDTHS[cid] = 684


def read_cmap(path):
    """The cidrange entries of a CMap file, in file order: (first, last, cid)."""
    ranges = []
    inside = False
    with open(path, encoding="latin-1") as f:
        for line in f:
            if line.strip().endswith("begincidrange"):
                inside = True
            elif line.strip() == "endcidrange":
                inside = False
            elif inside:
                m = re.match(r"\s*<([0-9a-fA-F]+)>\s*<([0-9a-fA-F]+)>\s*(\d+)", line)
                if m:
                    ranges.append((int(m.group(1), 16), int(m.group(2), 16), int(m.group(3))))
    return ranges


def read_ttf_advances(path):
    """Unicode code point -> advance width in thousandths of the em, from hmtx and cmap."""
    data = open(path, "rb").read()
    count = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag.decode()] = offset
    head, hhea, hmtx, cmap = tables["head"], tables["hhea"], tables["hmtx"], tables["cmap"]
    units = struct.unpack(">H", data[head + 18:head + 20])[0]
    metrics = struct.unpack(">H", data[hhea + 34:hhea + 36])[0]
    advances = [struct.unpack(">H", data[hmtx + 4 * i:hmtx + 4 * i + 2])[0]
                for i in range(metrics)]
    glyphs = {}
    for i in range(struct.unpack(">H", data[cmap + 2:cmap + 4])[0]):
        platform, encoding, offset = struct.unpack(">HHI", data[cmap + 4 + 8 * i:cmap + 12 + 8 * i])
        if (platform, encoding) != (3, 1):
            continue
        sub = cmap + offset
        assert struct.unpack(">H", data[sub:sub + 2])[0] == 4
        seg2 = struct.unpack(">H", data[sub + 6:sub + 8])[0]
        seg = seg2 // 2
        ends = struct.unpack(">%dH" % seg, data[sub + 14:sub + 14 + seg2])
        starts_at = sub + 16 + seg2
        starts = struct.unpack(">%dH" % seg, data[starts_at:starts_at + seg2])
        deltas = struct.unpack(">%dh" % seg, data[starts_at + seg2:starts_at + 2 * seg2])
        offsets_at = starts_at + 2 * seg2
        offsets = struct.unpack(">%dH" % seg, data[offsets_at:offsets_at + seg2])
        for k in range(seg):
            for c in range(starts[k], ends[k] + 1):
                if offsets[k] == 0:
                    g = (c + deltas[k]) & 0xFFFF
                else:
                    at = offsets_at + 2 * k + offsets[k] + 2 * (c - starts[k])
                    g = struct.unpack(">H", data[at:at + 2])[0]
                    if g:
                        g = (g + deltas[k]) & 0xFFFF
                glyphs[c] = g
    return {c: (advances[min(g, metrics - 1)] * 1000 + units // 2) // units
            for c, g in glyphs.items()}


def code_bytes(code):
    return bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])


def proportional_widths(ranges, advances):
    cid_to_code = {}
    for first, last, cid in ranges:
        for code in range(first, last + 1):
            cid_to_code.setdefault(cid + code - first, code)
    groups = []
    for start, count in GROUPS:
        widths = []
        for cid in range(start, start + count):
            if cid in FIXED_WIDTHS:
                widths.append(FIXED_WIDTHS[cid])
                continue
            try:
                ch = code_bytes(cid_to_code[cid]).decode("cp932")
            except (KeyError, UnicodeDecodeError):
                ch = None
            # A half-width code without a glyph of its own (0xA0) takes half the em.
            widths.append(advances.get(ord(ch), 500) if ch else 500)
        groups.append((start, widths))
    return groups


def write_ranges(name, ranges, lines):
    lines.append("const CidRange %s[%d] = {" % (name, len(ranges)))
    for first, last, cid in ranges:
        lines.append("    {0x%04X, 0x%04X, %d}," % (first, last, cid))
    lines.append("};")
    lines.append("")


def main():
    cmap_dir, ttf, out_dir = sys.argv[1:4]
    fixed = read_cmap(os.path.join(cmap_dir, "90ms-RKSJ-H"))
    proportional = read_cmap(os.path.join(cmap_dir, "90msp-RKSJ-H"))

    lines = [
        "// Generated by gen/gen_jp_tables.py from the Adobe CMaps 90ms-RKSJ-H and",
        "// 90msp-RKSJ-H; do not edit. Each range is first code, last code, first CID.",
        '#include "pdf/PdfJpCMap.h"',
        "",
        "namespace pendlar {",
        "",
        "// clang-format off",
    ]
    write_ranges("k90msRksjHRanges", fixed, lines)
    write_ranges("k90mspRksjHRanges", proportional, lines)
    lines.append("const std::span<const CidRange> k90msRksjH(k90msRksjHRanges);")
    lines.append("const std::span<const CidRange> k90mspRksjH(k90mspRksjHRanges);")
    lines.append("")
    lines.append("// clang-format on")
    lines.append("} // namespace pendlar")
    with open(os.path.join(out_dir, "PdfJpCMap.cpp"), "w") as f:
        f.write("\n".join(lines) + "\n")

    groups = proportional_widths(proportional, read_ttf_advances(ttf))
    lines = [
        "// Generated by gen/gen_jp_tables.py (IPAPGothic advances through 90msp-RKSJ-H);",
        "// do not edit.",
        '#include "pdf/PdfJpWidths.h"',
        "",
        "namespace pendlar {",
        "",
        "// clang-format off",
    ]
    for start, widths in groups:
        lines.append("static const std::uint16_t kGroup%d[%d] = {" % (start, len(widths)))
        for row in range(0, len(widths), 16):
            lines.append("    " + ", ".join(str(w) for w in widths[row:row + 16]) + ",")
        lines.append("};")
    lines.append("")
    lines.append("const ProportionalWidthGroup kProportionalWidthGroups[%d] = {" % len(groups))
    for start, widths in groups:
        lines.append("    {%d, kGroup%d}," % (start, start))
    lines.append("};")
    lines.append("")
    lines.append("// clang-format on")
    lines.append("} // namespace pendlar")
    with open(os.path.join(out_dir, "PdfJpWidths.cpp"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
