// fontpreview OUT.png [TEXT | row:HH]...
//
// Run in the run folder (beside dat/). Draws each UTF-8 TEXT, or every cell of
// GB2312 row HH (hex), through DrawGlyph24 into white 24 x 24 cells on a grey
// grid, enlarged, and saves the picture. Without arguments: the twenty glyphs of
// the main window and rows B0, B4, D7 and F7.
#include <iconv.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/runtime/canvas.h"
#include "app/runtime/runtime.h"
#include "glyph/glyph24.h"

namespace {

constexpr int kPitch = 26;  // a cell and its grid line on each side
constexpr int kPerLine = 24;
constexpr int kScale = 2;

using Line = std::vector<std::string>;  // two-byte GB codes; empty: a gap

std::vector<std::string> GbCodes(const std::string& utf8) {
    std::vector<std::string> codes;
    iconv_t cd = iconv_open("GB2312", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return codes;
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* in_ptr = in.data();
    char* out_ptr = out.data();
    std::size_t in_left = in.size(), out_left = out.size();
    iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    out.resize(out.size() - out_left);
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) codes.push_back(out.substr(i, 2));
    return codes;
}

std::vector<std::string> Row(int hi) {
    std::vector<std::string> codes;
    for (int lo = kGlyph24FirstCell; lo <= kGlyph24LastCell; ++lo)
        codes.push_back({static_cast<char>(hi), static_cast<char>(lo)});
    return codes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fontpreview OUT.png [TEXT | row:HH]...\n");
        return 2;
    }
    SetMessageSink([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });

    std::vector<std::string> items(argv + 2, argv + argc);
    if (items.empty())
        items = {
            "标准发音拼音笔划数英语组词备注", "大家学中文", "row:B0", "row:B4", "row:D7", "row:F7"};
    std::vector<std::vector<std::string>> lines;
    for (const std::string& item : items) {
        const std::vector<std::string> codes = item.rfind("row:", 0) == 0
                                                   ? Row(std::stoi(item.substr(4), nullptr, 16))
                                                   : GbCodes(item);
        for (std::size_t i = 0; i < codes.size(); i += kPerLine)
            lines.emplace_back(
                codes.begin() + static_cast<long>(i),
                codes.begin() + static_cast<long>(std::min(i + kPerLine, codes.size())));
    }

    QImage image(kPerLine * kPitch, static_cast<int>(lines.size()) * kPitch, QImage::Format_RGB32);
    image.fill(QColor(160, 160, 160));
    Canvas canvas(image);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        for (std::size_t cell = 0; cell < lines[line].size(); ++cell) {
            const int x = static_cast<int>(cell) * kPitch + 1;
            const int y = static_cast<int>(line) * kPitch + 1;
            for (int dy = 0; dy < kGlyph24Size; ++dy)
                for (int dx = 0; dx < kGlyph24Size; ++dx)
                    canvas.SetPixel(x + dx, y + dy, RGB(255, 255, 255));
            DrawGlyph24(x, y, lines[line][cell].c_str(), canvas, kBlack);
        }
    }
    const QImage large =
        image.scaled(image.size() * kScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!large.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "fontpreview: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
