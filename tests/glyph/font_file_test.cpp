// The font file the build makes with mkfont from the Kai face.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "glyph/glyph24.h"
#include "tests/glyph/font_dir.h"
#include "tests/support/files.h"
#include "tests/support/font_record.h"
#include "tests/support/ink.h"

namespace {

std::span<const std::uint8_t> RecordOf(const std::vector<std::uint8_t>& font, std::uint8_t hi,
                                       std::uint8_t lo) {
    const std::size_t offset = *Glyph24RecordOffset(hi, lo);
    if (offset + kGlyph24RecordSize > font.size()) return {};
    return std::span<const std::uint8_t>(font).subspan(offset, kGlyph24RecordSize);
}

bool Blank(std::span<const std::uint8_t> record) {
    for (std::uint8_t byte : record)
        if (byte != 0) return false;
    return true;
}

struct Box {
    int left = 24, top = 24, right = -1, bottom = -1;
};

// Bounds of the ink of a record: columns left..right, rows top..bottom.
Box InkBox(std::span<const std::uint8_t> record) {
    Box box;
    for (int column = 0; column < 24; ++column) {
        for (int row = 0; row < 24; ++row) {
            if (!Ink(record, column, row)) continue;
            box.left = std::min(box.left, column);
            box.right = std::max(box.right, column);
            box.top = std::min(box.top, row);
            box.bottom = std::max(box.bottom, row);
        }
    }
    return box;
}

int RunMkfont(const std::string& font, const std::filesystem::path& out) {
    const std::string command =
        std::string("'") + MKFONT_PATH + "' '" + font + "' '" + out.string() + "' > /dev/null 2>&1";
    return std::system(command.c_str());
}

class BuiltFont : public testing::Test {
protected:
    static void SetUpTestSuite() {
        font_ = new std::vector<std::uint8_t>(ReadFileBytes(BUILT_FONT_PATH));
    }
    static void TearDownTestSuite() {
        delete font_;
        font_ = nullptr;
    }
    static const std::vector<std::uint8_t>& font() { return *font_; }

private:
    static std::vector<std::uint8_t>* font_;
};

std::vector<std::uint8_t>* BuiltFont::font_ = nullptr;

}  // namespace

TEST_F(BuiltFont, HoldsAll6768RecordsOfTheHanziRows) {
    EXPECT_EQ(font().size(), 487296u);
    EXPECT_EQ(font().size(), 72u * 94 * 72);
}

TEST_F(BuiltFont, EveryHanziHasInkAndOnlyTheUnassignedCellsAreBlank) {
    ASSERT_EQ(font().size(), 487296u);
    std::vector<std::string> blank;
    for (int hi = 0xB0; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            if (Blank(
                    RecordOf(font(), static_cast<std::uint8_t>(hi), static_cast<std::uint8_t>(lo))))
                blank.push_back(std::to_string(hi) + ":" + std::to_string(lo));
        }
    }
    // GB2312 leaves D7FA-D7FE empty.
    const std::vector<std::string> unassigned = {"215:250", "215:251", "215:252", "215:253",
                                                 "215:254"};
    EXPECT_EQ(blank, unassigned);
}

TEST_F(BuiltFont, GlyphsFillTheCellAtOneSizeAndPlace) {
    // The size is the largest whose ink fits: together the glyphs reach nearly
    // every edge of the cell.
    Box all;
    for (std::size_t offset = 0; offset + kGlyph24RecordSize <= font().size();
         offset += kGlyph24RecordSize) {
        const Box box =
            InkBox(std::span<const std::uint8_t>(font()).subspan(offset, kGlyph24RecordSize));
        all = {std::min(all.left, box.left), std::min(all.top, box.top),
               std::max(all.right, box.right), std::max(all.bottom, box.bottom)};
    }
    EXPECT_LE(all.left, 1);
    EXPECT_GE(all.right, 22);
    EXPECT_LE(all.top, 1);
    EXPECT_GE(all.bottom, 22);

    // 大 spans most of the cell; 一 is a horizontal stroke in its middle rows,
    // both centred.
    const Box da = InkBox(RecordOf(font(), 0xB4, 0xF3));
    EXPECT_GE(da.right - da.left + 1, 17);
    EXPECT_GE(da.bottom - da.top + 1, 17);
    EXPECT_LE(std::abs(da.left - (23 - da.right)), 2);
    const Box yi = InkBox(RecordOf(font(), 0xD2, 0xBB));
    EXPECT_GE(yi.right - yi.left + 1, 17);
    EXPECT_LE(yi.bottom - yi.top + 1, 5);
    EXPECT_GT(yi.top, 7);
    EXPECT_LT(yi.bottom, 16);
    EXPECT_LE(std::abs(yi.left - (23 - yi.right)), 2);
}

TEST_F(BuiltFont, DrawGlyph24DrawsTheRecordOfDa) {
    FontDir dir;
    dir.WriteFont(font());
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas(image);
    DrawGlyph24(3, 2, "\xB4\xF3", canvas, kRed);

    const std::span<const std::uint8_t> record = RecordOf(font(), 0xB4, 0xF3);
    int ink = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const int column = x - 3, row = y - 2;
            const bool set =
                column >= 0 && column < 24 && row >= 0 && row < 24 && Ink(record, column, row);
            ink += set;
            EXPECT_EQ(PixelColour(image, x, y), set ? kRed : RGB(255, 255, 255)) << x << "," << y;
        }
    }
    EXPECT_GT(ink, 40);
}

TEST(Mkfont, SameFontGivesTheSameBytes) {
    FontDir dir;
    ASSERT_EQ(RunMkfont(FONT_SOURCE_PATH, dir.path() / "a.dat"), 0);
    ASSERT_EQ(RunMkfont(FONT_SOURCE_PATH, dir.path() / "b.dat"), 0);
    const std::vector<std::uint8_t> a = ReadFileBytes(dir.path() / "a.dat");
    EXPECT_EQ(a.size(), 487296u);
    EXPECT_TRUE(a == ReadFileBytes(dir.path() / "b.dat"));
    EXPECT_TRUE(a == ReadFileBytes(BUILT_FONT_PATH));
}

TEST(Mkfont, FontThatCannotBeOpenedFailsAndWritesNothing) {
    FontDir dir;
    EXPECT_NE(RunMkfont((dir.path() / "none.ttf").string(), dir.path() / "out.dat"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.dat"));
}
