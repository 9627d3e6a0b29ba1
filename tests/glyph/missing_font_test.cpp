// A missing font ends a running Qt program at its first paint, with status 0.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "app/runtime/runtime.h"
#include "glyph/glyph24.h"
#include "tests/glyph/font_dir.h"

namespace {

class GlyphWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(26, 26, QImage::Format_RGB32);
        Canvas canvas(image);
        DrawGlyph24(1, 1, "\xB4\xF3", canvas, kRed);
        std::fprintf(stderr, "painted\n");
    }
};

void RunWindow() {
    SetMessageSink(
        [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });
    int argc = 1;
    char name[] = "test_font";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    GlyphWindow window;
    window.resize(100, 100);
    window.show();
    QApplication::exec();
    std::_Exit(3);  // the window was never painted
}

}  // namespace

TEST(MissingFont, FirstPaintShowsTheMessageAndEndsTheProgramWithStatus0) {
    FontDir dir;
    EXPECT_EXIT(RunWindow(), testing::ExitedWithCode(0),
                "message: chinese font File not found,please check or "
                "e_mail:help@tallowfern\\.example\n$");
}

TEST(MissingFont, UnderAnExitHandlerTheHandlerHasStatus0AndNothingIsDrawn) {
    FontDir dir;
    std::vector<std::string> messages;
    std::vector<int> exits;
    SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    SetExitHandler([&](int status) { exits.push_back(status); });
    QImage image(26, 26, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas(image);
    DrawGlyph24(1, 1, "\xB4\xF3", canvas, kRed);
    SetExitHandler({});
    SetMessageSink({});
    EXPECT_EQ(exits, std::vector<int>{0});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("chinese font File not found", 0), 0u) << messages[0];
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 26; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    }
}
