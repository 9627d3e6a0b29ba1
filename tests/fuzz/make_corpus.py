#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets from a built run/dat folder.

    tests/fuzz/make_corpus.py build/run/dat

Cuts outline records, stroke-order records, dictionary lines and font records
from dat/zw.dat and dat/hzk24k.dat, adds the worked outline example, and
writes them below tests/fuzz/corpus/<target>/seed-*. Kept small on purpose.
"""
import pathlib
import re
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
STROKE_ORDER_OFFSET = 3504
DICTIONARY_OFFSET = 662038


def scramble_key():
    text = (ROOT / "data/scramble_key.cpp").read_text()
    body = text[text.index("{") + 1:text.rindex("}")]
    key = [int(v) for v in re.findall(r"-?\d+", body)]
    assert len(key) == 272, len(key)
    return key


def scramble_pad():
    return [((k & 0xFF) * (k & 0xFF)) & 0xFF for k in scramble_key()]


def descramble(blob, first):
    pad = scramble_pad()
    return bytes(b ^ pad[(first + i) % 272] for i, b in enumerate(blob))


def outline_sizes():
    """Sizes of the index table entries, from the generated tables."""
    for base in [ROOT / "build", *sorted(ROOT.glob("build*"))]:
        tables = base / "generated/lesson_tables.cpp"
        if tables.exists():
            return [int(s) for s in re.findall(r"// 0x[0-9A-F]{4}, (\d+) bytes", tables.read_text())]
    sys.exit("no generated/lesson_tables.cpp in a build folder")


def fixed(v):
    return struct.pack("<i", round(v * 65536))


def worked_example():
    def polygon(start, curves):
        body = b"".join(struct.pack("<HH", t, len(p)) + b"".join(fixed(x) + fixed(y) for x, y in p)
                        for t, p in curves)
        return struct.pack("<II", 16 + len(body), 24) + fixed(start[0]) + fixed(start[1]) + body
    return (polygon((10.75, 20.25), [(1, [(30.5, 20.25), (30.4, 40.6)]),
                                    (2, [(20, 50), (10, 45.5), (10.75, 20.25)])]) +
            polygon((-2.5, -0.25), [(1, [(-2.5, 5.5), (-0.25, -0.25)])]))


def write(target, name, data):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / f"seed-{name}").write_bytes(data)


def main(dat):
    zw = (dat / "zw.dat").read_bytes()
    font = (dat / "hzk24k.dat").read_bytes()

    # Outline records, descrambled, one per character; the worked example.
    at = 0
    for i, size in enumerate(outline_sizes()):
        write("outline", f"char{i}", descramble(zw[at:at + size], 33))
        at += size
    write("outline", "worked-example", worked_example())

    # Stroke-order records under the lesson key; the whole table; odd lengths.
    key = b"hijklmnPqrs"
    table = zw[STROKE_ORDER_OFFSET:STROKE_ORDER_OFFSET + 160]
    for r in range(5):
        write("des", f"record{r}", bytes([len(key)]) + key + table[32 * r:32 * r + 32])
    write("des", "table", bytes([len(key)]) + key + table)
    write("des", "odd-length", bytes([8]) + key[:8] + table[:13])
    write("des", "short-key", bytes([3]) + b"hij" + table[:8])

    # Dictionary lines as stored: the first lines, the lesson characters' lines.
    lines = zw[DICTIONARY_OFFSET:].split(b"\n")
    write("dictionary", "first", b"\n".join(lines[:12]) + b"\n")
    write("dictionary", "last", b"\n".join(lines[-8:]))
    step = max(1, len(lines) // 6)
    for n in range(1, 6):
        write("dictionary", f"lines{n}", b"\n".join(lines[n * step:n * step + 6]) + b"\n")
    dictionary_scan(lines)

    # Font: code, x, y, then a short font file.
    def record(hi, lo):
        at = ((hi - 0xB0) * 94 + (lo - 0xA1)) * 72
        return font[at:at + 72]
    write("glyph24", "first-row", bytes([0xB0, 0xA1, 0, 0]) + font[:72 * 4])
    write("glyph24", "cell93", bytes([0xB0, 0xFE, 3, 5]) + font[:72 * 94])
    write("glyph24", "da-as-first", bytes([0xB0, 0xA1, 0xFE, 30]) + record(0xB4, 0xF3))
    write("glyph24", "short", bytes([0xB0, 0xA2, 1, 1]) + font[:100])
    write("glyph24", "symbol-row", bytes([0xA1, 0xA1, 0, 0]) + record(0xD6, 0xD0))

    voices(zw)


def dictionary_scan(lines):
    """Head (where a read ends, matches to take, character), then stored lines."""
    key = scramble_key()

    def begins(line, character):
        return len(line) >= 2 and bytes((line[j] + key[j]) & 0xFF for j in (0, 1)) == character
    # Lines of words with 大 (three of them longer than the head of 7 bytes)
    # and the line before each, from across the section.
    da = [i for i, line in enumerate(lines) if begins(line, bytes([0xB4, 0xF3]))]

    def word_length(line):
        return len(bytes((line[j] + key[j]) & 0xFF for j in range(min(24, len(line)))).split(b" ")[0])
    longer = [i for i in da if word_length(lines[i]) >= 7][:3]
    da_words = b"".join(lines[i - 1] + b"\n" + lines[i] + b"\n" for i in da[2:40:2] + longer)

    def cut(start, size):
        text = b""
        for line in lines[start:]:
            if len(text) >= size:
                break
            text += line + b"\n"
        return text

    def scan(name, head, text):
        write("dictionary_scan", name, bytes(head) + text)
    scan("first", [0, 0, 0xB4, 0xF3], cut(0, 1500))
    scan("da-words", [0, 0, 0xB4, 0xF3], da_words)
    scan("da-words-read-end", [40, 5, 0xB4, 0xF3], da_words)
    scan("read-ends-late", [120, 3, 0xBC, 0xD2], cut(len(lines) // 3, 4000))
    scan("second-read", [130, 0, 0xD6, 0xD0], cut(len(lines) // 2, 1000))
    scan("long-line", [2, 0, 0xB4, 0xF3], cut(0, 20) + bytes(300) + b"\n" + cut(2, 20))
    scan("last-without-newline", [0, 0, 0xCE, 0xC4], b"\n".join(lines[-4:-1]))
    # A character whose second byte is stored as a newline, and a line of its first byte alone.
    odd = [0xB4, (0x0A + key[1]) & 0xFF]
    scan("one-byte-line", [0, 0] + odd, lines[0] + b"\n" + bytes([(odd[0] - key[0]) & 0xFF]) + b"\n")


def voice_entry(name, length):
    divisor = (7 * len(name)) % 9 or 9
    code = length * divisor
    key = code % 4 or 4
    stored = bytes(b ^ key for b in name.encode()) + bytes(8 - len(name))
    return stored + struct.pack("<i", code)


def voices(zw):
    """Directories of the real names with short recordings cut from the real ones."""
    tables = next(b / "generated/lesson_tables.cpp" for b in [ROOT / "build", *sorted(ROOT.glob("build*"))]
                  if (b / "generated/lesson_tables.cpp").exists()).read_text()
    tables = tables[tables.index("VoiceDirectory"):]
    real = [(n, int(l)) for n, l in re.findall(r"// (\w+), (\d+) bytes", tables)]
    starts, at = {}, 3664
    for name, length in real:
        starts[name] = (at, length)
        at += length

    def short_recording(name, length):
        start, _ = starts[name]
        image = bytearray(descramble(zw[start:start + length], 0))
        assert image[:4] == b"RIFF" and image[36:40] == b"data", name
        struct.pack_into("<I", image, 4, length - 8)
        struct.pack_into("<I", image, 40, length - 44)
        return descramble(bytes(image), 0)

    names = [n for n, _ in real]
    short = 300
    directory = b"".join(voice_entry(n, short) for n in names)
    section = b"".join(short_recording(n, short) for n in names[:3])
    write("voice", "first", bytes([26]) + directory + bytes([0]) + section[:short])
    write("voice", "third", bytes([26]) + directory + bytes([2]) + section)
    write("voice", "missing-name", bytes([26]) + directory + bytes([0x23]) + b"qu4" + section)
    write("voice", "truncated", bytes([3]) + directory[:36] + bytes([2]) + section[:700])
    write("voice", "raw-file", bytes([1]) + directory[:12] + bytes([0x80]) + section[:short])
    de = names.index("de5")
    start, length = starts["de5"]
    write("voice", "real-de5", bytes([1]) + voice_entry("de5", length) + bytes([0]) +
          zw[start:start + length])


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/run/dat"))
