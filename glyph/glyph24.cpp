#include "glyph/glyph24.h"

#include <array>
#include <cstdio>
#include <string>

#include "app/runtime/product.h"
#include "app/runtime/runtime.h"
#include "data/byte_reader.h"
#include "data/lesson_file.h"

namespace {

constexpr std::uint64_t kCellsPerRow = kGlyph24LastCell - kGlyph24FirstCell + 1;

// Shows the message and ends the process (under a test's exit handler, the
// caller draws nothing).
void FontMissing() {
    ShowMessage(std::string("chinese font File not found,please check or e_mail:") + kSupportEmail);
    ExitProgram(0);
}

}  // namespace

std::optional<std::uint64_t> Glyph24RecordOffset(std::uint8_t hi, std::uint8_t lo) {
    if (hi < kGlyph24FirstRow || hi > kGlyph24LastCell || lo < kGlyph24FirstCell ||
        lo > kGlyph24LastCell)
        return std::nullopt;
    return ((hi - kGlyph24FirstRow) * kCellsPerRow + (lo - kGlyph24FirstCell)) * kGlyph24RecordSize;
}

void DrawGlyph24Record(int x, int y, std::span<const std::uint8_t> record, Canvas& canvas,
                       Colour colour) {
    if (record.size() < kGlyph24RecordSize) return;
    // Row by row, a byte a pixel, for the canvas to lay on its device pixels.
    std::array<std::uint8_t, kGlyph24Size * kGlyph24Size> ink{};
    ByteReader reader(record);
    for (int column = 0; column < kGlyph24Size; ++column) {
        for (int band = 0; band < 3; ++band) {
            const std::uint8_t byte = reader.U8().value_or(0);
            for (int k = 0; k < 8; ++k) {
                ink[static_cast<std::size_t>((8 * band + k) * kGlyph24Size + column)] =
                    static_cast<std::uint8_t>(byte >> (7 - k) & 1);
            }
        }
    }
    canvas.Bitmap(x, y, kGlyph24Size, kGlyph24Size, ink, colour);
}

void DrawGlyph24(int x, int y, const char* code, Canvas& canvas, Colour colour) {
    std::FILE* file = std::fopen(lesson_file::kFontPath, "rb");
    if (!file) {
        FontMissing();
        return;
    }

    // The low byte is read only after a valid high byte, so "" reads one byte.
    std::optional<std::uint64_t> offset;
    if (code && static_cast<std::uint8_t>(code[0]) >= kGlyph24FirstRow)
        offset = Glyph24RecordOffset(static_cast<std::uint8_t>(code[0]),
                                     static_cast<std::uint8_t>(code[1]));

    std::array<std::uint8_t, kGlyph24RecordSize> record{};
    std::size_t read = 0;
    bool failed = false;
    if (offset && std::fseek(file, static_cast<long>(*offset), SEEK_SET) == 0) {
        read = std::fread(record.data(), 1, record.size(), file);
        failed = std::ferror(file) != 0;
    }
    std::fclose(file);
    if (failed) {
        FontMissing();  // e.g. a folder in the font file's place
        return;
    }
    if (read == record.size()) DrawGlyph24Record(x, y, record, canvas, colour);
}
