// The fitted outlines of the five lesson characters, read back from their records.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "data/byte_reader.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/outlines.h"

namespace {

constexpr std::size_t kBudget = 3504;
const std::string kData = TF_HANZI_WRITER_DATA_DIR;
const std::vector<std::uint16_t> kDefaultLesson = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0, 0xCEC4};

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
    EXPECT_THROW(BuildOutlines(kData, kDefaultLesson, 200), std::runtime_error);
}

}  // namespace
