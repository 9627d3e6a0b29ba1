// Reads a screenshot of the X screen (xwd -root) and checks what the program
// shows there. Positions are those of the forms (app/Main.cpp, phrase/Phrase.cpp)
// relative to a window's client area, whose screen origin the caller gives.
//
//   screen_check main-origin SHOT X Y    client origin of the main window at X,Y
//                                        (below its menu bar): prints "CX CY"
//   screen_check card-done SHOT CX CY    the stroke count is shown
//   screen_check card SHOT CX CY FONT    the card of 大 and the decoration
//   screen_check phrases SHOT PX PY FONT the phrase window's lines and a full page
//                                        of words of 大; prints a signature of the page
//   screen_check phrase-shown SHOT PX PY a selected phrase's pinyin is shown
//
// Exit status 0 when the check holds, 1 when it does not, 2 on bad input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/font_record.h"
#include "tests/support/window_glyphs.h"

namespace {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb kSeparator{255, 190, 125};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};

class Shot {
public:
    bool Load(const std::string& path) {
        const std::vector<std::uint8_t> f = ReadFileBytes(path);
        if (f.size() < 100) return false;
        auto u32 = [&f](std::size_t at) {
            return std::uint32_t{f[at]} << 24 | std::uint32_t{f[at + 1]} << 16 |
                   std::uint32_t{f[at + 2]} << 8 | std::uint32_t{f[at + 3]};
        };
        const std::uint32_t headerSize = u32(0);
        const std::uint32_t version = u32(4);
        const std::uint32_t format = u32(8);
        width_ = static_cast<int>(u32(16));
        height_ = static_cast<int>(u32(20));
        byteOrder_ = u32(28);
        bitsPerPixel_ = u32(44);
        bytesPerLine_ = u32(48);
        masks_[0] = u32(56);
        masks_[1] = u32(60);
        masks_[2] = u32(64);
        const std::uint32_t colours = u32(76);
        if (version != 7 || format != 2 || (bitsPerPixel_ != 32 && bitsPerPixel_ != 24))
            return false;
        data_ = headerSize + 12u * colours;
        if (f.size() < data_ + std::size_t{bytesPerLine_} * static_cast<std::size_t>(height_))
            return false;
        bytes_ = f;
        return true;
    }

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return {1, 2, 3};
        const std::size_t at = data_ + std::size_t{bytesPerLine_} * static_cast<std::size_t>(y) +
                               static_cast<std::size_t>(x) * (bitsPerPixel_ / 8);
        const std::uint32_t n = bitsPerPixel_ / 8;
        std::uint32_t v = 0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint32_t byte = bytes_[at + i];
            v |= byteOrder_ == 0 ? byte << (8 * i) : byte << (8 * (n - 1 - i));
        }
        Rgb c;
        std::uint8_t* out[3] = {&c.r, &c.g, &c.b};
        for (int k = 0; k < 3; ++k) {
            std::uint32_t m = masks_[k];
            if (m == 0) continue;
            int shift = 0;
            while (((m >> shift) & 1) == 0) ++shift;
            *out[k] = static_cast<std::uint8_t>((v & m) >> shift);
        }
        return c;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t data_ = 0;
    int width_ = 0, height_ = 0;
    std::uint32_t byteOrder_ = 0, bitsPerPixel_ = 0, bytesPerLine_ = 0;
    std::uint32_t masks_[3] = {};
};

int failures = 0;

void Fail(const std::string& what) {
    std::fprintf(stderr, "screen_check: %s\n", what.c_str());
    ++failures;
}

// A line of pen width 2 at row y covers rows y-1 and y, columns x1-1 to x2-1.
bool SeparatorAt(const Shot& s, int ox, int oy, int y, int x1, int x2) {
    for (int x = x1 - 1; x < x2; ++x) {
        if (!(s.At(ox + x, oy + y) == kSeparator) || !(s.At(ox + x, oy + y - 1) == kSeparator))
            return false;
    }
    return !(s.At(ox + x1 + 300, oy + y + 1) == kSeparator) &&
           !(s.At(ox + x1 + 300, oy + y - 2) == kSeparator);
}

int Count(const Shot& s, int x0, int y0, int w, int h, bool (*match)(Rgb)) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (match(s.At(x, y))) ++n;
    return n;
}

bool IsBlack(Rgb c) {
    return c == kBlack;
}
bool IsRed(Rgb c) {
    return c == kRed;
}
// Text is antialiased: its darkest pixels are the pure colour.
bool IsBlueText(Rgb c) {
    return c.b > 200 && c.r < 90 && c.g < 90;
}

// The glyph of code drawn in colour with its cell at (x, y): exactly its ink.
void CheckGlyph(const Shot& s, const std::string& font, const std::string& code, int x, int y,
                Rgb colour, const std::string& what) {
    const std::vector<std::uint8_t> record = FontRecord(font, code);
    if (record.empty()) return Fail("no font record for " + what);
    int wrong = 0;
    int ink = 0;
    for (int column = 0; column < 24; ++column) {
        for (int row = 0; row < 24; ++row) {
            const bool painted = s.At(x + column, y + row) == colour;
            if (Ink(record, column, row)) {
                ++ink;
                if (!painted) ++wrong;
            } else if (painted) {
                ++wrong;
            }
        }
    }
    if (wrong > 0 || ink < 20)
        Fail(what + ": " + std::to_string(wrong) + " pixels differ from the font");
}

struct Row {
    int y, x1, x2;
};
constexpr Row kMainRows[] = {{80, 132, 627}, {120, 132, 627}, {160, 132, 627},
                             {215, 1, 627},  {260, 1, 627},   {300, 1, 627}};
constexpr Row kPhraseRows[] = {{50, 1, 552}, {100, 1, 552}, {155, 1, 552}};

// The card picture Image6 shows at client (0, 33), clipped by its 129 x 129 frame.
constexpr int kCardX = 0, kCardY = 33, kCardSize = 129;

int MainOrigin(const Shot& s, int wx, int wy) {
    for (int dy = 0; dy < 120; ++dy) {
        if (SeparatorAt(s, wx, wy + dy, 80, 132, 627) && SeparatorAt(s, wx, wy + dy, 215, 1, 627)) {
            std::printf("%d %d\n", wx, wy + dy);
            return 0;
        }
    }
    return 1;
}

int CardDone(const Shot& s, int cx, int cy) {
    // Label8, the stroke count, at (448, 133); empty while the strokes are drawn.
    return Count(s, cx + 448, cy + 133, 40, 24, IsBlueText) >= 8 ? 0 : 1;
}

int Card(const Shot& s, int cx, int cy, const std::string& font) {
    for (const Row& r : kMainRows) {
        if (!SeparatorAt(s, cx, cy, r.y, r.x1, r.x2))
            Fail("orange line at y " + std::to_string(r.y) + " missing or misplaced");
    }
    for (const CaptionGlyph& c : CaptionGlyphs()) {
        CheckGlyph(s, font, c.code, cx + c.x, cy + c.y, kBlue,
                   "blue caption at " + std::to_string(c.x) + "," + std::to_string(c.y));
    }
    // Character buttons: Image i at (1, 1) in its 28 x 28 frame at (left, 1) in Panel1.
    const int frameLefts[] = {0, 44, 88, 132, 177};
    for (int i = 0; i < 5; ++i) {
        CheckGlyph(s, font, kLessonCodes[i], cx + frameLefts[i] + 2, cy + 3, kRed,
                   "red button glyph " + std::to_string(i + 1));
    }

    const int strokes = Count(s, cx + kCardX, cy + kCardY, kCardSize, kCardSize, IsBlack);
    if (strokes < 300) Fail("only " + std::to_string(strokes) + " stroke pixels in the card");
    // Nothing black around the frame: the strokes stay inside it.
    const int around = Count(s, cx + kCardSize, cy + kCardY, 3, kCardSize, IsBlack) +
                       Count(s, cx, cy + kCardY + kCardSize, kCardSize + 3, 2, IsBlack);
    if (around > 0) Fail(std::to_string(around) + " black pixels just outside the card frame");
    // The strokes of 大 reach across the card: ink in each half, left and right.
    const int half = kCardSize / 2;
    if (Count(s, cx + kCardX, cy + kCardY, half, kCardSize, IsBlack) < 50 ||
        Count(s, cx + kCardX + half, cy + kCardY, kCardSize - half, kCardSize, IsBlack) < 50)
        Fail("the strokes do not cover both halves of the card");

    // Pinyin (Label7 at 348, 88), stroke count (Label8 at 448, 133), meaning (Memo1 at 135, 164).
    if (Count(s, cx + 348, cy + 88, 120, 24, IsBlueText) < 15) Fail("no blue pinyin");
    if (CardDone(s, cx, cy) != 0) Fail("no blue stroke count");
    if (Count(s, cx + 135, cy + 164, 441, 49, IsBlueText) < 30) Fail("no blue meaning");
    return failures == 0 ? 0 : 1;
}

int Phrases(const Shot& s, int px, int py, const std::string& font) {
    for (const Row& r : kPhraseRows) {
        if (!SeparatorAt(s, px, py, r.y, r.x1, r.x2))
            Fail("phrase window line at y " + std::to_string(r.y) + " missing or misplaced");
    }
    // Word buttons: Image r at (1, 1) in panels at (left, 6); glyphs at x 1, 26 (, 51), y 1.
    const int lefts[] = {40, 135, 230, 327, 426};
    std::uint64_t signature = 1469598103934665603u;
    for (int r = 0; r < 5; ++r) {
        const int x0 = px + lefts[r] + 1, y0 = py + 6 + 1;
        // Every word begins with the card's character, 大.
        CheckGlyph(s, font, kLessonCodes[0], x0 + 1, y0 + 1, kRed,
                   "first character of word " + std::to_string(r + 1));
        if (Count(s, x0 + 26, y0 + 1, 24, 24, IsRed) < 20)
            Fail("word button " + std::to_string(r + 1) + " lacks a second red character");
        for (int y = 0; y < 27; ++y) {
            for (int x = 0; x < 81; ++x) {
                signature = (signature ^ (IsRed(s.At(x0 + x, y0 + y)) ? 1u : 0u)) * 1099511628211u;
            }
        }
    }
    std::printf("%016llx\n", static_cast<unsigned long long>(signature));
    return failures == 0 ? 0 : 1;
}

int PhraseShown(const Shot& s, int px, int py) {
    // Label4 (pinyin) at (103, 116), Memo1 (meaning) in Panel1 at (99, 164).
    const bool pinyin = Count(s, px + 103, py + 116, 200, 24, IsBlueText) >= 15;
    const bool meaning = Count(s, px + 100, py + 165, 420, 50, IsBlueText) >= 15;
    return pinyin && meaning ? 0 : 1;
}

std::optional<int> Int(const char* text) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0') return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::string mode = argv[1];
    Shot shot;
    if (!shot.Load(argv[2])) {
        std::fprintf(stderr, "screen_check: cannot read %s\n", argv[2]);
        return 2;
    }
    const auto x = Int(argv[3]);
    const auto y = Int(argv[4]);
    if (!x || !y) return 2;
    if (mode == "main-origin") return MainOrigin(shot, *x, *y);
    if (mode == "card-done") return CardDone(shot, *x, *y);
    if (mode == "phrase-shown") return PhraseShown(shot, *x, *y);
    if (argc < 6) return 2;
    if (mode == "card") return Card(shot, *x, *y, argv[5]);
    if (mode == "phrases") return Phrases(shot, *x, *y, argv[5]);
    return 2;
}
