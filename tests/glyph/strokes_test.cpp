#include "glyph/strokes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/runtime/canvas.h"
#include "app/runtime/runtime.h"
#include "tests/glyph/synthetic_lesson.h"
#include "tests/support/ink.h"

namespace {

constexpr std::uint16_t kDa = 0xB4F3;
constexpr std::uint16_t kJia = 0xBCD2;
constexpr std::uint16_t kXue = 0xD1A7;

// Outline squares (y up) and a pixel inside each on the screen.
constexpr Point kInFirst{17, 20};   // outline 10..30 x 80..100
constexpr Point kInSecond{67, 20};  // outline 60..80 x 80..100

std::vector<std::uint8_t> TwoSquares() {
    OutlineBuilder b;
    b.Rectangle(10, 80, 30, 100).Rectangle(60, 80, 80, 100);
    return b.bytes();
}

class Animator : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageSink([this](const std::string& text) { messages.push_back(text); });
        image.fill(Qt::white);
        path = ::testing::UnitTest::GetInstance()->current_test_info()->name() +
               std::string("/dat/zw.dat");
        std::filesystem::remove_all(std::filesystem::path(path).parent_path().parent_path());
    }
    void TearDown() override { SetMessageSink({}); }

    bool Black(Point p) const { return PixelColour(image, p.x, p.y) == kBlack; }
    int BlackPixels() const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    }
    StrokeAnimation Run(const SyntheticLesson& lesson, std::uint16_t code,
                        const StrokePause& pause) {
        return AnimateStrokes(canvas, code, lesson.Index(), path, pause);
    }

    QImage image{129, 133, QImage::Format_RGB32};
    Canvas canvas{image};
    std::vector<std::string> messages;
    std::string path;
};

TEST_F(Animator, FillsTheContoursInTheRecordsOrder) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {2, 1}});
    lesson.Write(path);

    std::vector<std::pair<bool, bool>> seen;  // (first, second) filled after each step
    const StrokeAnimation result = Run(lesson, kDa, [&] {
        seen.emplace_back(Black(kInFirst), Black(kInSecond));
        return true;
    });
    EXPECT_EQ(result.strokes, 2);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{false, true}, {true, true}}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(canvas.pen.style, PenStyle::Clear);
    EXPECT_EQ(canvas.brush.colour, kBlack);
    // Squares of 20 x 20 outline units, no outline drawn around them.
    EXPECT_EQ(BlackPixels(), 2 * 20 * 20);
}

TEST_F(Animator, FindsTheOutlineBehindTheEntriesBeforeIt) {
    SyntheticLesson lesson;
    OutlineBuilder one, three;
    one.Rectangle(0, 0, 5, 5);
    three.Rectangle(10, 0, 20, 10).Rectangle(30, 0, 40, 10).Rectangle(50, 0, 60, 10);
    lesson.chars.push_back({kDa, one.bytes(), {1}});
    lesson.chars.push_back({kJia, TwoSquares(), {1, 2}});
    lesson.chars.push_back({kXue, three.bytes(), {3, 1, 2}});
    lesson.Write(path);

    int pauses = 0;
    EXPECT_EQ(Run(lesson, kXue, [&] { return ++pauses, true; }).strokes, 3);
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(BlackPixels(), 3 * 10 * 10);
    EXPECT_EQ(PixelColour(image, 15, 105), kBlack);  // outline (18, 5)
}

TEST_F(Animator, CodeWithoutEntryOpensNoFile) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {1, 2}});
    // No file is written: opening one would report it missing.
    int pauses = 0;
    EXPECT_EQ(Run(lesson, kJia, [&] { return ++pauses, true; }).strokes, 0);
    EXPECT_EQ(messages, std::vector<std::string>{"the char you wanted not found"});
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(BlackPixels(), 0);
}

TEST_F(Animator, MissingOrShortFileIsReported) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {1, 2}});
    EXPECT_EQ(Run(lesson, kDa, {}).strokes, 0);
    EXPECT_EQ(messages, std::vector<std::string>{kLessonFileNotFoundMessage});

    lesson.Write(path);
    std::filesystem::resize_file(path, 3504 + 10);  // stroke-order record cut off
    messages.clear();
    EXPECT_EQ(Run(lesson, kDa, {}).strokes, 0);
    EXPECT_EQ(messages, std::vector<std::string>{kLessonFileDamagedMessage});

    std::filesystem::resize_file(path, 20);  // outline cut off
    messages.clear();
    EXPECT_EQ(Run(lesson, kDa, {}).strokes, 0);
    EXPECT_EQ(messages, std::vector<std::string>{kLessonFileDamagedMessage});
    EXPECT_EQ(BlackPixels(), 0);
}

TEST_F(Animator, RejectsMalformedOutlinesAndRecords) {
    struct Case {
        const char* what;
        SyntheticChar c;
    };
    OutlineBuilder zeroSize;
    zeroSize.Rectangle(10, 80, 30, 100).U32(0).U32(24).U32(0).U32(0);
    OutlineBuilder past;
    past.Rectangle(10, 80, 30, 100).U32(400).U32(24).U32(0).U32(0);
    OutlineBuilder spline;
    spline.Rectangle(10, 80, 30, 100).Polygon(0, 0, {{2, {{1, 1}}}});
    OutlineBuilder thirtyThree;
    std::vector<std::uint8_t> steps;
    for (int c = 0; c < 33; ++c) {
        thirtyThree.Rectangle(c, 0, c + 1, 1);
        steps.push_back(static_cast<std::uint8_t>(c + 1));
    }
    const std::vector<Case> cases = {
        {"polygon size 0", {kDa, zeroSize.bytes(), {1, 2}}},
        {"polygon past the record", {kDa, past.bytes(), {1, 2}}},
        {"spline of one point", {kDa, spline.bytes(), {1, 2}}},
        {"33 contours", {kDa, thirtyThree.bytes(), steps}},
        {"step naming contour 3 of 2", {kDa, TwoSquares(), {1, 3}}},
        {"step naming contour 0", {kDa, TwoSquares(), {0, 1}}},
    };
    for (const Case& c : cases) {
        SyntheticLesson lesson;
        lesson.chars.push_back(c.c);
        lesson.Write(path);
        messages.clear();
        int pauses = 0;
        EXPECT_EQ(Run(lesson, kDa, [&] { return ++pauses, true; }).strokes, 0) << c.what;
        EXPECT_EQ(messages, std::vector<std::string>{kLessonFileDamagedMessage}) << c.what;
        EXPECT_EQ(pauses, 0) << c.what;
        EXPECT_EQ(BlackPixels(), 0) << c.what;
    }
}

TEST_F(Animator, SetsPenAndBrushWhateverTheCanvasHad) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {1, 2}});
    lesson.Write(path);
    for (const std::uint16_t code : {kDa, kJia}) {  // drawn, and not in the table
        canvas.pen = {RGB(0, 255, 0), PenStyle::Solid, PenMode::Copy, 3};
        canvas.brush = {RGB(255, 0, 0), BrushStyle::Clear};
        Run(lesson, code, [] { return true; });
        EXPECT_EQ(canvas.pen.colour, kBlack) << code;
        EXPECT_EQ(canvas.pen.style, PenStyle::Clear) << code;
        EXPECT_EQ(canvas.pen.mode, PenMode::Black) << code;
        EXPECT_EQ(canvas.pen.width, 1) << code;
        EXPECT_EQ(canvas.brush.colour, kBlack) << code;
        EXPECT_EQ(canvas.brush.style, BrushStyle::Solid) << code;
    }
    EXPECT_EQ(BlackPixels(), 2 * 20 * 20);
}

// Entries of size 0 ahead of the character: s' = 0, so m7 = 7 and c' = 7 * code.
TEST_F(Animator, SearchGoesNoFurtherThan6763Entries) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {1, 2}});
    lesson.Write(path);
    for (const int ahead : {6762, 6763}) {
        std::vector<CharIndexEntry> index;
        for (int i = 1; i <= ahead; ++i) index.push_back({7 * i, 0});
        index.push_back(lesson.Index()[0]);
        messages.clear();
        int pauses = 0;
        const int strokes =
            AnimateStrokes(canvas, kDa, index, path, [&] { return ++pauses, true; }).strokes;
        EXPECT_EQ(strokes, ahead == 6762 ? 2 : 0) << ahead;
        EXPECT_EQ(pauses, strokes) << ahead;
        EXPECT_EQ(messages, ahead == 6762 ? std::vector<std::string>{}
                                          : std::vector<std::string>{kCharNotFoundMessage});
    }
}

TEST_F(Animator, StopsWhenThePauseSaysSo) {
    SyntheticLesson lesson;
    lesson.chars.push_back({kDa, TwoSquares(), {1, 2}});
    lesson.Write(path);
    const StrokeAnimation result = Run(lesson, kDa, [] { return false; });
    EXPECT_FALSE(result.finished);
    EXPECT_TRUE(Black(kInFirst));
    EXPECT_FALSE(Black(kInSecond));
}

}  // namespace
