// The glyphs the main window shows, in client coordinates of their 24 x 24 cells.
#pragma once

#include <string>
#include <vector>

// 大家学中文: the five character buttons, left to right.
inline const char* const kLessonCodes[] = {"\xB4\xF3", "\xBC\xD2", "\xD1\xA7", "\xD6\xD0",
                                           "\xCE\xC4"};

struct CaptionGlyph {
    std::string code;
    int x, y;
};

// The blue captions, a glyph at a time: each word's first glyph at x, y and
// the next ones step pixels to the right.
inline std::vector<CaptionGlyph> CaptionGlyphs() {
    struct Word {
        std::string codes;
        int x, y, step;
    };
    const Word words[] = {
        {"\xB1\xEA\xD7\xBC\xB7\xA2\xD2\xF4", 139, 48, 24},  // 标准发音
        {"\xC6\xB4\xD2\xF4", 139, 88, 72},                  // 拼音
        {"\xB1\xCA\xBB\xAE\xCA\xFD", 139, 128, 36},         // 笔划数
        {"\xD3\xA2\xD3\xEF", 10, 173, 25},                  // 英语
        {"\xD7\xE9\xB4\xCA", 10, 225, 25},                  // 组词
        {"\xB1\xB8\xD7\xA2", 10, 270, 25},                  // 备注
    };
    std::vector<CaptionGlyph> glyphs;
    for (const Word& w : words) {
        for (std::size_t i = 0; i < w.codes.size(); i += 2)
            glyphs.push_back({w.codes.substr(i, 2), w.x + w.step * static_cast<int>(i / 2), w.y});
    }
    return glyphs;
}
