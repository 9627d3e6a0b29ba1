// The fitted outlines of the five lesson characters, read back from their records.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <stdexcept>

#include "data/byte_reader.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/outlines.h"

namespace {

constexpr std::size_t kBudget = 3504;
const std::string kData = TF_HANZI_WRITER_DATA_DIR;
const std::vector<std::uint16_t> kDefaultLesson = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};

std::vector<std::uint16_t> Codes(const std::string& utf8) {
    const std::string gb = Gb2312Hanzi(utf8).value();
    std::vector<std::uint16_t> codes;
    for (std::size_t i = 0; i < gb.size(); i += 2) codes.push_back(GbCodeAt(gb, i));
    return codes;
}

std::string RefusalOf(const std::string& dir, const std::vector<std::uint16_t>& codes,
                      std::size_t budget) {
    try {
        BuildOutlines(dir, codes, budget);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "built";
}

class FittedOutlines : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        build = new OutlineBuild(BuildOutlines(kData, kDefaultLesson, kBudget));
    }
    static void TearDownTestSuite() { delete build; }
    static OutlineBuild* build;
};
OutlineBuild* FittedOutlines::build = nullptr;

TEST_F(FittedOutlines, FiveRecordsInSlotOrderWithinTheBudget) {
    ASSERT_EQ(build->characters.size(), 5u);
    const std::vector<std::uint16_t> codes = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};
    const std::vector<std::size_t> strokes = {3, 10, 8, 4, 4};
    std::size_t total = 0;
    for (std::size_t c = 0; c < 5; ++c) {
        const CharacterOutline& outline = build->characters[c];
        EXPECT_EQ(outline.code, codes[c]);
        total += outline.record.size();

        // One polygon (type 24) of one spline record per stroke.
        ByteReader reader(outline.record);
        std::size_t polygons = 0;
        while (reader.remaining() > 0) {
            const std::size_t header = reader.position();
            const std::uint32_t size = reader.U32().value_or(0);
            EXPECT_EQ(reader.U32().value_or(0), 24u);
            reader.Skip(8);
            EXPECT_EQ(reader.U16().value_or(0), 2u);
            const std::uint16_t n = reader.U16().value_or(0);
            EXPECT_EQ(size, 16u + 4u + 8u * n);
            ASSERT_TRUE(reader.Seek(header + size));
            ++polygons;
        }
        EXPECT_EQ(polygons, strokes[c]);

        const auto contours = ExpandOutlineRecord(outline.record);
        ASSERT_TRUE(contours);
        ASSERT_EQ(contours->size(), strokes[c]);
        ASSERT_LE(contours->size(), kMaxStrokeSteps);
        std::size_t points = 0;
        for (const auto& contour : *contours) {
            EXPECT_LE(contour.size(), static_cast<std::size_t>(kMaxContourPoints));
            points += contour.size();
        }
        EXPECT_LE(points, static_cast<std::size_t>(kMaxOutlinePoints));
    }
    EXPECT_LE(total, kBudget);
    EXPECT_GT(total, kBudget - 64) << "the budget should be used";
    EXPECT_NE(build->report.find("outline section: " + std::to_string(total) + " of 3504 bytes"),
              std::string::npos);
}

TEST_F(FittedOutlines, ContoursInGeometricOrderStrokeOrderInWritingOrder) {
    for (const CharacterOutline& outline : build->characters) {
        const auto contours = *ExpandOutlineRecord(outline.record);
        std::vector<std::uint8_t> sorted = outline.strokeOrder;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::uint8_t> oneToN(contours.size());
        std::iota(oneToN.begin(), oneToN.end(), std::uint8_t{1});
        EXPECT_EQ(sorted, oneToN) << Gb2312Utf8(outline.code);

        std::vector<std::pair<int, int>> topLeft;
        for (const auto& contour : contours) {
            std::pair<int, int> box{kCardHeight, kCardWidth};
            for (const Point& p : contour)
                box = {std::min(box.first, p.y), std::min(box.second, p.x)};
            topLeft.push_back(box);
        }
        EXPECT_TRUE(std::is_sorted(topLeft.begin(), topLeft.end())) << Gb2312Utf8(outline.code);

        // Each writing step fills the contour closest to that source stroke.
        const std::vector<CardMask> source = SourceStrokeMasks(kData, outline.code);
        for (std::size_t s = 0; s < source.size(); ++s) {
            std::size_t closest = 0;
            double best = -1;
            for (std::size_t c = 0; c < contours.size(); ++c) {
                const double iou = IntersectionOverUnion(FillContour(contours[c]), source[s]);
                if (iou > best) best = iou, closest = c;
            }
            EXPECT_EQ(outline.strokeOrder[s], closest + 1)
                << Gb2312Utf8(outline.code) << " step " << s;
        }
    }
    // 大 is written horizontal first, but its contour starting highest is the vertical.
    EXPECT_NE(build->characters[0].strokeOrder[0], 1u);
}

TEST_F(FittedOutlines, FilledPixelsMatchTheSourceStrokes) {
    for (const CharacterOutline& outline : build->characters) {
        const CharacterQuality quality = MeasureOutline(outline, kData);
        const std::string name = Gb2312Utf8(outline.code);
        EXPECT_GE(quality.iou, 0.92) << name;
        for (std::size_t s = 0; s < quality.strokeIoU.size(); ++s)
            EXPECT_GE(quality.strokeIoU[s], 0.85) << name << " stroke " << s + 1;
    }
}

TEST_F(FittedOutlines, SameInputGivesTheSameBytes) {
    const OutlineBuild again = BuildOutlines(kData, kDefaultLesson, kBudget);
    ASSERT_EQ(again.characters.size(), build->characters.size());
    for (std::size_t c = 0; c < again.characters.size(); ++c) {
        EXPECT_EQ(again.characters[c].record, build->characters[c].record);
        EXPECT_EQ(again.characters[c].strokeOrder, build->characters[c].strokeOrder);
    }
    EXPECT_EQ(again.report, build->report);
}

TEST(OutlineSource, CharacterSitsCentredInTheCardSquare) {
    // 中's long vertical stroke: centred across, the source box top near row 5.5.
    const std::vector<CardMask> zhong = SourceStrokeMasks(kData, 0xD6D0);
    ASSERT_EQ(zhong.size(), 4u);
    int left = kCardWidth, right = -1, top = kCardHeight, bottom = -1;
    for (int y = 0; y < kCardHeight; ++y)
        for (int x = 0; x < kCardWidth; ++x)
            if (zhong[3].at(x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR((left + right) / 2.0, 64.5, 2.0);
    EXPECT_GE(top, 5);
    EXPECT_LE(bottom, 126);
    EXPECT_GT(bottom - top, 95);  // the stroke spans most of the 120-pixel square
}

TEST(OutlineSource, GbCodesNameTheirSourceFiles) {
    EXPECT_EQ(Gb2312Utf8(0xB4F3), "大");
    EXPECT_EQ(Gb2312Utf8(0xCEC4), "文");
    EXPECT_EQ(Gb2312Utf8(0xB0A1), "啊");  // the first GB2312 hanzi
    EXPECT_EQ(Gb2312Utf8(0xF7FE), "齄");  // the last
    EXPECT_EQ(Gb2312Utf8(0xD7FA), "");    // a gap at the end of row 0xD7
}

TEST(OutlineSource, MissingDataOrTooSmallBudgetIsAnError) {
    EXPECT_THROW(BuildOutlines("/nonexistent", kDefaultLesson, kBudget), std::runtime_error);
    // A stroke takes 44 bytes at first: 200 bytes hold 4 of the 29.
    EXPECT_EQ(RefusalOf(kData, kDefaultLesson, 200),
              "大家学中文 have 29 strokes together, too many for the 200-byte outline section; "
              "choose characters with fewer strokes (it holds 4 at most)");
}

TEST(OutlineBudget, TheWorstCharacterGetsNoLessThanAnEqualShareWouldGiveIt) {
    // 大中文天马: 18 strokes take 792 of 1,000 bytes at first, 26 points are left. Spent
    // where they win the most pixels, they went to broad strokes and left 大 (three thin
    // strokes) at 0.864, where alone with 200 bytes it reaches 0.917. Shared max-min,
    // the worst character is drawn at least as well as alone with a fifth of the budget.
    const std::vector<std::uint16_t> codes = Codes("大中文天马");
    const OutlineBuild lesson = BuildOutlines(kData, codes, 1000, 0.0);
    std::size_t worst = 0;
    double worstIoU = 2;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        const double iou = MeasureOutline(lesson.characters[c], kData).iou;
        if (iou < worstIoU) worstIoU = iou, worst = c;
    }
    const OutlineBuild alone = BuildOutlines(kData, {{codes[worst]}}, 200, 0.0);
    EXPECT_GE(worstIoU, MeasureOutline(alone.characters[0], kData).iou) << Gb2312Utf8(codes[worst]);
}

TEST(OutlineRefusals, TooManyStrokesTogetherNamesTheWorstCharacter) {
    // 15 + 13 + 10 + 12 + 19 strokes.
    EXPECT_EQ(RefusalOf(kData, Codes("题数旅游警"), kBudget),
              "题 would be drawn at 0.887 (floor 0.92): 题数旅游警 have 69 strokes together, "
              "too many for the 3,504-byte outline section; choose characters with fewer "
              "strokes");
}

class StrokeDataFolder : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    // A character of `count` squares.
    void WriteSquares(const std::string& name, int count) {
        std::ofstream out(dir / (name + ".json"));
        out << R"({"strokes": [)";
        for (int i = 0; i < count; ++i)
            out << (i ? "," : "") << R"("M 100 100 L 300 100 L 300 300 L 100 300 Z")";
        out << "]}";
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tf-outline-test-" + std::to_string(getpid()));
};

TEST_F(StrokeDataFolder, CharacterWithoutStrokeDataIsRefused) {
    std::filesystem::copy_file(kData + "/大.json", dir / "大.json");
    EXPECT_EQ(RefusalOf(dir, Codes("大中"), kBudget),
              "中 has no stroke data in hanzi-writer-data, so its strokes cannot be drawn; "
              "choose another character");
}

TEST_F(StrokeDataFolder, ThirtyTwoStrokesAreBuiltThirtyThreeRefused) {
    WriteSquares("大", 32);
    EXPECT_EQ(BuildOutlines(dir, Codes("大"), kBudget, 0.0).characters[0].strokeOrder.size(), 32u);
    WriteSquares("大", 33);
    EXPECT_EQ(RefusalOf(dir, Codes("大"), kBudget),
              "大 has 33 strokes, more than the 32 steps a stroke-order record holds; choose a "
              "character with fewer strokes");
}

}  // namespace
