// DrawGlyph24 from the built font: one open, seek, 72-byte read and close a glyph.
#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>

#include "glyph/glyph24.h"

namespace {

// The built run folder holds dat/hzk24k.dat.
void InRunFolder() {
    std::filesystem::current_path(
        std::filesystem::path(BUILT_FONT_PATH).parent_path().parent_path());
}

void BM_DrawGlyph24(benchmark::State& state) {
    InRunFolder();
    QImage image(26, 26, QImage::Format_RGB32);
    Canvas canvas(image);
    for (auto _ : state) DrawGlyph24(1, 1, "\xB4\xF3", canvas, kRed);  // 大
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawGlyph24);

// The twenty glyphs of one paint of the main window.
void BM_MainWindowGlyphs(benchmark::State& state) {
    InRunFolder();
    const char* codes =
        "\xB1\xEA\xD7\xBC\xB7\xA2\xD2\xF4\xC6\xB4\xD2\xF4\xB1\xCA\xBB\xAE\xCA\xFD"
        "\xD3\xA2\xD3\xEF\xD7\xE9\xB4\xCA\xB1\xB8\xD7\xA2"
        "\xB4\xF3\xBC\xD2\xD1\xA7\xD6\xD0\xCE\xC4";
    QImage image(632, 358, QImage::Format_RGB32);
    Canvas canvas(image);
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) DrawGlyph24(24 * (i % 20), 48, codes + 2 * i, canvas, kBlue);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainWindowGlyphs);

}  // namespace

BENCHMARK_MAIN();
