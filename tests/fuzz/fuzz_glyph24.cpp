// DrawGlyph24 on a short or arbitrary font file. Input: two code bytes, a
// position byte each for x and y, then the font file's contents, written to
// dat/hzk24k.dat in a private working folder. The canvas must show exactly the
// record's ink when the file holds the code's record and nothing otherwise;
// DrawGlyph24Record draws the leading bytes of the file the same way.
#include <unistd.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/runtime/canvas.h"
#include "glyph/glyph24.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr int kCanvasSize = 48;
constexpr Colour kInk = RGB(255, 0, 0);

// The font path is relative to the working directory: work in a folder of our own.
void EnterWorkFolder() {
    static const bool entered = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "tf-fuzz-glyph-XXXXXX");
        FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
        std::filesystem::create_directory(std::filesystem::path(folder) / "dat");
        FUZZ_CHECK(chdir(folder.c_str()) == 0);
        return true;
    }();
    (void)entered;
}

bool Ink(const std::uint8_t* record, int column, int row) {
    return (record[3 * column + row / 8] >> (7 - row % 8) & 1) != 0;
}

// The canvas holds the record's ink at (x, y) and white everywhere else.
void CheckCanvas(const QImage& image, const std::uint8_t* record, int x, int y) {
    for (int py = 0; py < kCanvasSize; ++py) {
        for (int px = 0; px < kCanvasSize; ++px) {
            const int column = px - x;
            const int row = py - y;
            const bool inCell =
                record && column >= 0 && column < kGlyph24Size && row >= 0 && row < kGlyph24Size;
            const bool ink = inCell && Ink(record, column, row);
            FUZZ_CHECK(image.pixel(px, py) == (ink ? qRgb(255, 0, 0) : qRgb(255, 255, 255)));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    EnterWorkFolder();
    const char code[2] = {static_cast<char>(data[0]), static_cast<char>(data[1])};
    const int x = static_cast<std::int8_t>(data[2]) % 32;
    const int y = static_cast<std::int8_t>(data[3]) % 32;
    const std::uint8_t* font = data + 4;
    const std::size_t fontSize = size - 4;

    std::FILE* file = std::fopen("dat/hzk24k.dat", "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(font, 1, fontSize, file) == fontSize);
    FUZZ_CHECK(std::fclose(file) == 0);

    QImage image(kCanvasSize, kCanvasSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas(image);
    DrawGlyph24(x, y, code, canvas, kInk);
    const auto offset = Glyph24RecordOffset(data[0], data[1]);
    const bool held = offset && *offset + kGlyph24RecordSize <= fontSize;
    CheckCanvas(image, held ? font + *offset : nullptr, x, y);

    image.fill(Qt::white);
    DrawGlyph24Record(x, y, {font, fontSize}, canvas, kInk);
    CheckCanvas(image, fontSize >= kGlyph24RecordSize ? font : nullptr, x, y);
    return 0;
}
