#!/usr/bin/env python3
"""Writes the replay corpus of the archive fuzz entry point: well-formed
archives and damaged or crafted ones (truncations at field boundaries, absurd
lengths, counts and sizes, foreign daughter types, deep nesting, bad
checksums). Run from anywhere; rewrites tests/fuzz/corpus/*.bin."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def i32(v):
    return struct.pack("<i", v)


def f32(v):
    return struct.pack("<f", v)


def header(kind, version=4, check=None):
    return bytes([0x4B, kind, version, (0x4B ^ kind ^ version) if check is None else check])


def texts(narrow=None, wide=None):
    """Eight (count, characters) pairs; narrow/wide map slot 0-3 to text."""
    out = b""
    for slot in range(4):
        n = (narrow or {}).get(slot, b"")
        out += u32(len(n)) + n
        w = (wide or {}).get(slot, "")
        out += u32(len(w)) + w.encode("utf-16-le")
    return out


def view(kind=47, body_texts=None, children=(), place=(0, 0, 1, 1, 2), count=None, version=4):
    kids = b"".join(children)
    return (header(kind, version) + (body_texts or texts()) + u32(len(children) if count is None else count) + kids
            + b"".join(i32(v) for v in place) + i32(0) + i32(0) + i32(0))


def record(value=1.0, flag=0, magnitude=1.0, name=b"None", version=3):
    out = f32(value)
    if version > 1:
        out += i32(flag)
    return out + f32(magnitude) + name.ljust(16, b"\0")[:16]


def image(kind=34, width=6, height=3, bpp=8, pitch=None, pixels=None, children=(), body_texts=None,
          version=4, records=None, count=None, place=None):
    if pitch is None:
        pitch = (bpp * width + 191) // 192 * 192
    if pixels is None:
        pixels = bytes((i * 7) & 0xFF for i in range(pitch // 8 * height))
    rv = 1 if version < 3 else (2 if version == 3 else 3)
    if records is None:
        records = record(0.5, version=rv) + record(0.25, version=rv)
    kids = b"".join(children)
    place = place or (0, 0, width, height, 2)
    return (header(kind, version) + (body_texts or texts()) + u32(len(children) if count is None else count) + kids
            + b"".join(i32(v) for v in place) + i32(0) + i32(0) + i32(0)
            + i32(bpp) + i32(pitch) + pixels + records)


def nested(depth):
    inner = view()
    for _ in range(depth - 1):
        inner = view(children=(inner,))
    return inner


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in os.listdir(OUT):
        # Inputs the fuzzer found are kept; the crafted ones are rewritten.
        if name.endswith(".bin") and not name.startswith("found_"):
            os.remove(os.path.join(OUT, name))
    files = {}

    a1 = view(body_texts=texts({0: b"a"}), place=(1, 0, 1, 1, 2))
    a = view(children=(a1,), place=(1, 1, 3, 2, 2))
    tree = image(children=(a,), body_texts=texts({3: b"t"}, {3: "T\u00e9"}))
    files["valid_tree"] = tree
    files["valid_view_root"] = view(children=(a1, a1), place=(2, 2, 5, 5, 2))
    files["valid_c24"] = image(kind=39, bpp=24, width=3, height=2, children=(view(kind=52, place=(0, 0, 2, 2, 4)),))
    files["valid_bw1"] = image(kind=33, bpp=1, width=13, height=2)
    files["valid_version0"] = image(version=0)
    files["valid_version3"] = image(version=3)

    # Truncations: every 4-byte boundary of the tree, and one byte short of
    # each end of the header.
    for cut in list(range(0, len(tree), 4)) + [1, 2, 3, len(tree) - 1]:
        files["truncated_tree_%04d" % cut] = tree[:cut]

    files["text_narrow_ffffffff"] = image(body_texts=u32(0xFFFFFFFF) + b"abc")
    files["text_wide_80000000"] = image(body_texts=u32(0) + u32(0x80000000) + b"ab")
    files["text_longer_than_stream"] = image(body_texts=u32(1000) + b"x" * 100)
    files["children_ffffffff"] = image(count=0xFFFFFFFF)
    files["children_one_too_many"] = image(children=(a,), count=2)
    files["children_many_failing"] = image(children=(view(kind=47, version=9),) * 4)
    files["size_70000_square"] = image(width=70000, height=70000, pixels=b"")
    files["size_60000_square_short"] = image(width=60000, height=60000, pixels=b"")
    files["size_width_max"] = image(width=0x7FFFFFFF, height=1, pitch=0, pixels=b"")
    files["size_bw1_width_max"] = image(kind=33, bpp=1, width=0x7FFFFFFF, height=3, pitch=0x7FFFFFF8, pixels=b"")
    files["size_negative_width"] = image(place=(0, 0, -6, 3, 2))
    files["size_negative_height"] = image(place=(0, 0, 6, -3, 2))
    files["origin_negative_daughter"] = image(children=(view(place=(-3, 0, 2, 2, 2)),))
    files["daughter_outside_image"] = image(children=(view(place=(50, 60, 20, 20, 2)),))
    files["daughter_huge_extent"] = image(children=(view(children=(view(place=(0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 2)),),
                                                          place=(5, 2, 0x7FFFFFFF, 9, 2)),))
    files["pitch_zero"] = image(pitch=0, pixels=b"")
    files["pitch_negative"] = image(pitch=-192)
    files["pitch_odd_bits"] = image(pitch=52)
    files["pitch_short"] = image(pitch=40)
    files["pitch_long"] = image(pitch=512)
    files["pitch_huge"] = image(pitch=0x7FFFFFF8, pixels=b"")
    files["bpp_wrong"] = image(bpp=16)
    files["empty_width_with_rows"] = image(width=0, height=4, pitch=192)
    for kind in (0, 34, 46, 52, 59, 255):
        files["daughter_type_%03d" % kind] = image(children=(view(kind=kind),))
    files["nested_300"] = image(children=(nested(299),))
    files["nested_1000"] = nested(1000)
    files["checksum_top"] = bytes([0x4B, 34, 4, 0]) + tree[4:]
    daughter_at = len(header(34)) + len(texts({3: b"t"}, {3: "T\u00e9"})) + 4
    bad = bytearray(tree)
    bad[daughter_at + 3] ^= 0x55
    files["checksum_daughter"] = bytes(bad)
    files["signature_wrong"] = b"\x4C" + tree[1:]
    files["version_5"] = image(version=5)
    files["version_0_with_new_records"] = header(34, 0) + image()[4:]
    files["record_flag_set"] = image(records=record(flag=1) + record())
    files["record_name_unterminated"] = image(records=record(name=b"x" * 16) + record(name=b"\xff" * 16))
    # Partial records for the KBW16 loader.
    files["partial_valid"] = i32(3) + i32(2) + i32(24) + bytes(range(48))
    files["partial_rows_negative"] = i32(3) + i32(2) + i32(-8) + bytes(48)
    files["partial_rows_huge"] = i32(3) + i32(2) + i32(0x7FFFFFFF) + bytes(48)
    files["partial_long_rows"] = i32(3) + i32(2) + i32(100) + bytes(200)
    files["partial_size_huge"] = i32(0x10000) + i32(0x10000) + i32(0x20000) + bytes(16)

    for name, data in files.items():
        with open(os.path.join(OUT, name + ".bin"), "wb") as out:
            out.write(data)
    print("wrote %d files" % len(files))


if __name__ == "__main__":
    main()
