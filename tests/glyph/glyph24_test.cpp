#include "glyph/glyph24.h"

#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/runtime/runtime.h"
#include "tests/glyph/font_dir.h"
#include "tests/support/ink.h"

namespace {

using Record = std::array<std::uint8_t, kGlyph24RecordSize>;
using PixelSet = std::set<std::pair<int, int>>;

constexpr Colour kPaper = RGB(10, 200, 30);

Record FullRecord() {
    Record record;
    record.fill(0xFF);
    return record;
}

Record OneBit(std::size_t byte, int bit) {
    Record record{};
    record[byte] = static_cast<std::uint8_t>(1u << bit);
    return record;
}

// A canvas that shows kPaper; the pixels that differ from it are the ink.
struct Sheet {
    QImage image{60, 50, QImage::Format_RGB32};
    Canvas canvas{image};
    Sheet() { image.fill(QColor(kPaper.r, kPaper.g, kPaper.b)); }

    PixelSet PixelsNot(Colour colour) const {
        PixelSet pixels;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (PixelColour(image, x, y) != colour) pixels.insert({x, y});
        return pixels;
    }
    PixelSet Ink() const { return PixelsNot(kPaper); }
};

PixelSet Cell(int x, int y) {
    PixelSet pixels;
    for (int dy = 0; dy < 24; ++dy)
        for (int dx = 0; dx < 24; ++dx) pixels.insert({x + dx, y + dy});
    return pixels;
}

std::vector<std::uint8_t> Concat(std::initializer_list<Record> records) {
    std::vector<std::uint8_t> bytes;
    for (const Record& record : records) bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

}  // namespace

TEST(Glyph24RecordOffset, CountsRowsOf94CellsFromTheFirstHanzi) {
    EXPECT_EQ(Glyph24RecordOffset(0xB0, 0xA1), 0u);
    EXPECT_EQ(Glyph24RecordOffset(0xB0, 0xFE), 93u * 72);
    EXPECT_EQ(Glyph24RecordOffset(0xB1, 0xA1), 6768u);
    EXPECT_EQ(Glyph24RecordOffset(0xB4, 0xF3), (4u * 94 + 0x52) * 72);  // 大
    EXPECT_EQ(Glyph24RecordOffset(0xF7, 0xFE), 487296u - 72);
}

TEST(Glyph24RecordOffset, NoRecordForSymbolRowsOrBytesOutsideGb2312) {
    EXPECT_EQ(Glyph24RecordOffset(0xAF, 0xFE), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset(0xA1, 0xA1), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset('A', 'B'), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset(0xB0, 0xA0), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset(0xB0, 0xFF), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset(0xB0, 0x00), std::nullopt);
    EXPECT_EQ(Glyph24RecordOffset(0xFF, 0xA1), std::nullopt);
}

TEST(DrawGlyph24Record, FullRecordFillsExactlyTheCell) {
    Sheet sheet;
    DrawGlyph24Record(7, 5, FullRecord(), sheet.canvas, kBlue);
    EXPECT_EQ(sheet.Ink(), Cell(7, 5));
    for (const auto& [x, y] : Cell(7, 5)) ASSERT_EQ(PixelColour(sheet.image, x, y), kBlue);
}

TEST(DrawGlyph24Record, SingleBitsSetSinglePixels) {
    struct Case {
        std::size_t byte;
        int bit;
        std::pair<int, int> pixel;
    };
    // Byte 3i + j holds rows 8j..8j+7 of column i, bit 7 the topmost.
    const Case cases[] = {
        {0, 7, {3, 4}},       {71, 0, {3 + 23, 4 + 23}}, {0, 0, {3, 4 + 7}},
        {1, 7, {3, 4 + 8}},   {2, 0, {3, 4 + 23}},       {3, 7, {3 + 1, 4}},
        {69, 7, {3 + 23, 4}}, {37, 4, {3 + 12, 4 + 11}},
    };
    for (const Case& c : cases) {
        Sheet sheet;
        DrawGlyph24Record(3, 4, OneBit(c.byte, c.bit), sheet.canvas, kRed);
        EXPECT_EQ(sheet.Ink(), PixelSet{c.pixel}) << "byte " << c.byte << " bit " << c.bit;
        EXPECT_EQ(PixelColour(sheet.image, c.pixel.first, c.pixel.second), kRed);
    }
}

TEST(DrawGlyph24Record, SecondColourCoversTheFirstAndNothingElse) {
    Record record{};
    record[0] = 0xA5;
    record[40] = 0x3C;
    record[71] = 0x81;
    Sheet first;
    DrawGlyph24Record(10, 10, record, first.canvas, kRed);
    const PixelSet ink = first.Ink();
    ASSERT_EQ(ink.size(), 4u + 4 + 2);

    DrawGlyph24Record(10, 10, record, first.canvas, kBlue);
    EXPECT_EQ(first.Ink(), ink);
    for (const auto& [x, y] : ink) EXPECT_EQ(PixelColour(first.image, x, y), kBlue);
}

TEST(DrawGlyph24Record, BackgroundInsideTheCellIsUntouched) {
    Sheet sheet;
    // A picture already on the canvas: a diagonal through the cell.
    for (int i = 0; i < 40; ++i) sheet.canvas.SetPixel(i, i, kBlack);
    const QImage before = sheet.image.copy();
    Record record{};
    record[3 * 5 + 1] = 0xFF;  // column 5, rows 8..15
    DrawGlyph24Record(2, 2, record, sheet.canvas, kRed);

    for (int y = 0; y < sheet.image.height(); ++y) {
        for (int x = 0; x < sheet.image.width(); ++x) {
            const bool ink = x == 2 + 5 && y >= 2 + 8 && y <= 2 + 15;
            if (ink)
                EXPECT_EQ(PixelColour(sheet.image, x, y), kRed);
            else
                EXPECT_EQ(sheet.image.pixel(x, y), before.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(DrawGlyph24Record, CellPartlyOffTheCanvasDrawsTheVisiblePart) {
    Sheet sheet;
    DrawGlyph24Record(-20, 40, FullRecord(), sheet.canvas, kBlue);
    PixelSet visible;
    for (int y = 40; y < 50; ++y)
        for (int x = 0; x < 4; ++x) visible.insert({x, y});
    EXPECT_EQ(sheet.Ink(), visible);
}

// Font pixel (1, 1) on 1.5 device pixels a logical one covers device [1.5, 3)
// both ways: a quarter of (1, 1), half of (2, 1) and (1, 2), all of (2, 2). On a
// transparent picture the share is the alpha; drawn again, nothing changes.
TEST(DrawGlyph24Record, AtScaleOneAndAHalfEachDevicePixelTakesItsShareOfInk) {
    QImage image(30, 30, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(1.5);
    Canvas canvas(image);
    EXPECT_EQ(canvas.Width(), 20);
    for (int pass = 0; pass < 2; ++pass) {
        DrawGlyph24Record(0, 0, OneBit(3, 6), canvas, kBlue);              // column 1, row 1
        const int alpha[3][3] = {{0, 0, 0}, {0, 64, 128}, {0, 128, 255}};  // rows, columns 0-2
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                const int a = x < 3 && y < 3 ? alpha[y][x] : 0;
                EXPECT_EQ(image.pixel(x, y), a ? qRgba(0, 0, 255, a) : 0u) << x << "," << y;
            }
        }
    }
}

// At scale 2 a font pixel is an exact 2 x 2 block; the full record fills the
// cell's 48 x 48 device pixels at (2, 2) and nothing else.
TEST(DrawGlyph24Record, AtScaleTwoFontPixelsAreWholeBlocks) {
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(2);
    Canvas canvas(image);
    DrawGlyph24Record(1, 1, FullRecord(), canvas, kRed);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(image.pixel(x, y),
                      x >= 2 && x < 50 && y >= 2 && y < 50 ? qRgb(255, 0, 0) : qRgb(255, 255, 255))
                << x << "," << y;
}

TEST(DrawGlyph24Record, ShortRecordDrawsNothing) {
    Sheet sheet;
    const Record full = FullRecord();
    DrawGlyph24Record(0, 0, std::span<const std::uint8_t>(full).first(71), sheet.canvas, kBlue);
    EXPECT_TRUE(sheet.Ink().empty());
}

// The renderer reads dat/hzk24k.dat below the working directory.
class DrawGlyph24File : public testing::Test {
protected:
    FontDir dir;
    Sheet sheet;
};

TEST_F(DrawGlyph24File, DrawsTheRecordOfTheCode) {
    // Records 0 (B0A1), 1 (B0A2) and 94 (B1A1) differ.
    std::vector<std::uint8_t> bytes(95 * 72, 0);
    for (std::size_t i = 0; i < 72; ++i) bytes[i] = 0xFF;
    bytes[72] = 0x80;
    bytes[94 * 72 + 71] = 0x01;
    dir.WriteFont(bytes);

    DrawGlyph24(5, 6, "\xB0\xA1", sheet.canvas, kBlue);
    EXPECT_EQ(sheet.Ink(), Cell(5, 6));

    Sheet second;
    DrawGlyph24(5, 6, "\xB0\xA2", second.canvas, kBlue);
    EXPECT_EQ(second.Ink(), (PixelSet{{5, 6}}));

    Sheet third;
    DrawGlyph24(5, 6, "\xB1\xA1", third.canvas, kRed);
    EXPECT_EQ(third.Ink(), (PixelSet{{5 + 23, 6 + 23}}));
    EXPECT_EQ(PixelColour(third.image, 28, 29), kRed);
}

TEST_F(DrawGlyph24File, ReadsOnlyTheFirstCharacterOfALongerString) {
    dir.WriteFont(Concat({OneBit(0, 7), OneBit(71, 0)}));
    DrawGlyph24(0, 0, "\xB0\xA2\xB0\xA1", sheet.canvas, kBlue);
    EXPECT_EQ(sheet.Ink(), (PixelSet{{23, 23}}));
}

TEST_F(DrawGlyph24File, CodeWithoutARecordInTheFileDrawsNothing) {
    // Two records and part of a third.
    std::vector<std::uint8_t> bytes = Concat({FullRecord(), FullRecord(), FullRecord()});
    bytes.resize(2 * 72 + 30);
    dir.WriteFont(bytes);

    for (const char* code : {"\xB0\xA3", "\xB0\xA4", "\xB1\xA1", "\xF7\xFE", "\xFE\xFE", "\xAF\xFE",
                             "\xA1\xA1", "\xB0\xA0", "\xB0\x41", "AB", ""}) {
        DrawGlyph24(0, 0, code, sheet.canvas, kBlue);
        EXPECT_TRUE(sheet.Ink().empty()) << std::hex << +static_cast<unsigned char>(code[0]);
    }
    DrawGlyph24(0, 0, nullptr, sheet.canvas, kBlue);
    EXPECT_TRUE(sheet.Ink().empty());
    DrawGlyph24(0, 0, "\xB0\xA2", sheet.canvas, kBlue);
    EXPECT_EQ(sheet.Ink(), Cell(0, 0));
}

TEST_F(DrawGlyph24File, OpensTheFileOnEveryCall) {
    dir.WriteFont(Concat({OneBit(0, 7)}));
    DrawGlyph24(0, 0, "\xB0\xA1", sheet.canvas, kBlue);
    dir.WriteFont(Concat({OneBit(71, 0)}));
    DrawGlyph24(0, 0, "\xB0\xA1", sheet.canvas, kRed);
    EXPECT_EQ(sheet.Ink(), (PixelSet{{0, 0}, {23, 23}}));
    EXPECT_EQ(PixelColour(sheet.image, 23, 23), kRed);
}

// The message goes to stderr in the child, so the death test can read it.
void DrawWithMessagesOnStderr() {
    SetMessageSink(
        [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });
    QImage image(30, 30, QImage::Format_RGB32);
    Canvas canvas(image);
    DrawGlyph24(0, 0, "\xB4\xF3", canvas, kBlue);
    std::fprintf(stderr, "drawn\n");
    std::_Exit(3);  // not reached when the font is missing
}

TEST_F(DrawGlyph24File, MissingFontShowsTheMessageAndEndsWithStatus0) {
    EXPECT_EXIT(DrawWithMessagesOnStderr(), testing::ExitedWithCode(0),
                "^message: chinese font File not found,please check or "
                "e_mail:help@tallowfern\\.example\n$");
}

TEST_F(DrawGlyph24File, UnreadableFontShowsTheMessageAndEndsWithStatus0) {
    std::filesystem::create_directory(dir.path() / "dat" / "hzk24k.dat");
    EXPECT_EXIT(DrawWithMessagesOnStderr(), testing::ExitedWithCode(0),
                "^message: chinese font File not found,please check or e_mail:");
}

TEST_F(DrawGlyph24File, EmptyFontFileIsNotMissing) {
    dir.WriteFont({});
    EXPECT_EXIT(DrawWithMessagesOnStderr(), testing::ExitedWithCode(3), "^drawn\n$");
}
