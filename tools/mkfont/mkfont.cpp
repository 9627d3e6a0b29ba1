// mkfont FONT.ttf OUT.dat
//
// Writes the 24 x 24 bitmap font of the GB2312 hanzi rows 0xB0-0xF7 from a
// TrueType face: one 72-byte record per cell, column by column, three bytes a
// column, the most significant bit the top row. Cells with no character (or no
// glyph in the face) are blank records. Every glyph is rendered in monochrome at
// one pixel size and placed on one common baseline, centred by its advance; the
// size is the largest at which the ink of every glyph fits the cell.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "glyph/glyph24.h"

namespace {

// The program's record layout; the rows are those of the GB2312 hanzi.
constexpr int kCell = kGlyph24Size;
constexpr int kRecordSize = static_cast<int>(kGlyph24RecordSize);
constexpr int kFirstRow = kGlyph24FirstRow;
constexpr int kLastRow = 0xF7;
constexpr int kFirstCell = kGlyph24FirstCell;
constexpr int kLastCell = kGlyph24LastCell;
constexpr int kCellsPerRow = kLastCell - kFirstCell + 1;
constexpr int kRecords = (kLastRow - kFirstRow + 1) * kCellsPerRow;
constexpr int kLargestSize = 32;
constexpr int kSmallestSize = 12;

using Record = std::array<std::uint8_t, kRecordSize>;

// A rendered glyph: ink pixels relative to the pen origin on the baseline (y up).
struct Glyph {
    int left = 0;  // column of the bitmap's left edge
    int top = 0;   // row above the baseline of the bitmap's top edge
    int width = 0;
    int rows = 0;
    int advance = 0;        // pixels
    std::vector<bool> ink;  // rows * width, row by row from the top
    bool Ink(int column, int row) const {
        return ink[static_cast<std::size_t>(row * width + column)];
    }
};

class GbToUnicode {
public:
    GbToUnicode() : cd_(iconv_open("UTF-32LE", "GB2312")) {}
    ~GbToUnicode() {
        if (ok()) iconv_close(cd_);
    }
    GbToUnicode(const GbToUnicode&) = delete;
    GbToUnicode& operator=(const GbToUnicode&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The code point of one GB2312 character; nothing for an unassigned cell.
    std::optional<char32_t> operator()(int hi, int lo) {
        char in[2] = {static_cast<char>(hi), static_cast<char>(lo)};
        unsigned char out[8] = {};
        char* in_ptr = in;
        char* out_ptr = reinterpret_cast<char*>(out);
        std::size_t in_left = sizeof in;
        std::size_t out_left = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the state
        if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1))
            return std::nullopt;
        if (in_left != 0 || sizeof out - out_left != 4) return std::nullopt;
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
    }

private:
    iconv_t cd_;
};

// Renders glyph_index in monochrome at the face's current size.
std::optional<Glyph> Render(FT_Face face, FT_UInt glyph_index) {
    if (FT_Load_Glyph(face, glyph_index, FT_LOAD_TARGET_MONO) != 0) return std::nullopt;
    FT_GlyphSlot slot = face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return std::nullopt;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return std::nullopt;

    Glyph glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.ink.assign(static_cast<std::size_t>(glyph.width * glyph.rows), false);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const std::span<const unsigned char> bytes(bitmap.buffer,
                                               static_cast<std::size_t>(pitch * glyph.rows));
    for (int row = 0; row < glyph.rows; ++row) {
        const int line = bitmap.pitch < 0 ? glyph.rows - 1 - row : row;
        for (int column = 0; column < glyph.width; ++column) {
            const unsigned char byte = bytes[static_cast<std::size_t>(line * pitch + column / 8)];
            glyph.ink[static_cast<std::size_t>(row * glyph.width + column)] =
                (byte >> (7 - column % 8) & 1) != 0;
        }
    }
    return glyph;
}

// The ink's bounds: columns [x0, x1) from the pen origin, rows [bottom, top) above the baseline.
struct InkBox {
    int x0 = 0, x1 = 0, bottom = 0, top = 0;
    bool empty = true;
};

InkBox InkOf(const Glyph& glyph) {
    InkBox box;
    for (int row = 0; row < glyph.rows; ++row) {
        for (int column = 0; column < glyph.width; ++column) {
            if (!glyph.Ink(column, row)) continue;
            const int x = glyph.left + column;
            const int y = glyph.top - row;  // the pixel spans [y - 1, y)
            if (box.empty) {
                box = {x, x + 1, y - 1, y, false};
                continue;
            }
            box.x0 = std::min(box.x0, x);
            box.x1 = std::max(box.x1, x + 1);
            box.bottom = std::min(box.bottom, y - 1);
            box.top = std::max(box.top, y);
        }
    }
    return box;
}

// Left column of the pen origin in the cell: centred by the advance.
int PenColumn(const Glyph& glyph) {
    return (kCell - glyph.advance) / 2;
}

struct Cell {
    int hi = 0;
    int lo = 0;
    FT_UInt glyph_index = 0;  // 0: no character or no glyph
};

struct Placement {
    int pixel_size = 0;
    int baseline = 0;  // cell row just below the baseline
};

// The largest size at which every glyph's ink fits the cell on one baseline.
std::optional<Placement> ChoosePlacement(FT_Face face, const std::vector<Cell>& cells) {
    for (int size = kLargestSize; size >= kSmallestSize; --size) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) continue;
        bool fits = true;
        int top = 0, bottom = 0;
        bool any = false;
        for (const Cell& cell : cells) {
            if (cell.glyph_index == 0) continue;
            const std::optional<Glyph> glyph = Render(face, cell.glyph_index);
            if (!glyph) continue;
            const InkBox box = InkOf(*glyph);
            if (box.empty) continue;
            const int pen = PenColumn(*glyph);
            if (pen + box.x0 < 0 || pen + box.x1 > kCell) {
                fits = false;
                break;
            }
            top = any ? std::max(top, box.top) : box.top;
            bottom = any ? std::min(bottom, box.bottom) : box.bottom;
            any = true;
            if (top - bottom > kCell) {
                fits = false;
                break;
            }
        }
        if (fits && any) return Placement{size, (kCell - (top - bottom)) / 2 + top};
    }
    return std::nullopt;
}

struct Figures {
    int records = 0;
    int blank = 0;
    int unassigned = 0;
    int missing = 0;  // assigned cells the face has no glyph (or no ink) for
    int clipped = 0;
    int touching = 0;  // ink on the cell's outermost rows or columns
};

// Places glyph in a record; returns false if any ink fell outside the cell.
bool Place(const Glyph& glyph, const Placement& placement, Record& record, bool& touching) {
    bool whole = true;
    const int pen = PenColumn(glyph);
    for (int row = 0; row < glyph.rows; ++row) {
        for (int column = 0; column < glyph.width; ++column) {
            if (!glyph.Ink(column, row)) continue;
            const int x = pen + glyph.left + column;
            const int y = placement.baseline - glyph.top + row;
            if (x < 0 || x >= kCell || y < 0 || y >= kCell) {
                whole = false;
                continue;
            }
            if (x == 0 || y == 0 || x == kCell - 1 || y == kCell - 1) touching = true;
            record[static_cast<std::size_t>(3 * x + y / 8)] |=
                static_cast<std::uint8_t>(0x80u >> (y % 8));
        }
    }
    return whole;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkfont FONT.ttf OUT.dat\n");
        return 2;
    }
    GbToUnicode to_unicode;
    if (!to_unicode.ok()) {
        std::fprintf(stderr, "mkfont: no GB2312 converter in iconv\n");
        return 1;
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &face) != 0) {
        std::fprintf(stderr, "mkfont: cannot open the font %s\n", argv[1]);
        return 1;
    }
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        std::fprintf(stderr, "mkfont: the font has no Unicode character map\n");
        return 1;
    }

    Figures figures;
    std::vector<Cell> cells;
    cells.reserve(kRecords);
    for (int hi = kFirstRow; hi <= kLastRow; ++hi) {
        for (int lo = kFirstCell; lo <= kLastCell; ++lo) {
            Cell cell{hi, lo, 0};
            if (const std::optional<char32_t> code_point = to_unicode(hi, lo)) {
                cell.glyph_index = FT_Get_Char_Index(face, *code_point);
                if (cell.glyph_index == 0) ++figures.missing;
            } else {
                ++figures.unassigned;
            }
            cells.push_back(cell);
        }
    }

    const std::optional<Placement> placement = ChoosePlacement(face, cells);
    if (!placement || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(placement->pixel_size))) {
        std::fprintf(stderr, "mkfont: no pixel size fits the %d x %d cell\n", kCell, kCell);
        return 1;
    }

    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(kRecords * kRecordSize));
    for (const Cell& cell : cells) {
        Record record{};
        if (cell.glyph_index != 0) {
            const std::optional<Glyph> glyph = Render(face, cell.glyph_index);
            bool touching = false;
            if (!glyph) {
                ++figures.missing;
                std::fprintf(stderr, "mkfont: cannot render %02X%02X\n", cell.hi, cell.lo);
            } else if (!Place(*glyph, *placement, record, touching)) {
                ++figures.clipped;
                std::fprintf(stderr, "mkfont: %02X%02X clipped\n", cell.hi, cell.lo);
            }
            if (touching) ++figures.touching;
        }
        if (std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0; }))
            ++figures.blank;
        bytes.insert(bytes.end(), record.begin(), record.end());
        ++figures.records;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    if (!WriteFile(argv[2], bytes)) {
        std::fprintf(stderr, "mkfont: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("mkfont: pixel size %d, baseline at row %d\n", placement->pixel_size,
                placement->baseline);
    std::printf(
        "mkfont: records written %d (%zu bytes), blank records %d (unassigned cells %d,"
        " glyphs missing %d), glyphs clipped %d, glyphs touching the cell border %d\n",
        figures.records, bytes.size(), figures.blank, figures.unassigned, figures.missing,
        figures.clipped, figures.touching);
    return figures.clipped == 0 ? 0 : 1;
}
