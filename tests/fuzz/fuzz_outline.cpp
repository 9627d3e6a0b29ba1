// ParseOutline on arbitrary records, as read (descrambled) and as stored
// (descrambled first, as the animator does); parsed contours are filled.
#include <cstdint>
#include <numeric>
#include <vector>

#include "app/runtime/polygon_fill.h"
#include "data/descramble.h"
#include "glyph/outline.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr int kCardSize = 120;

void ParseAndFill(std::span<const std::uint8_t> record) {
    OutlinePoints points;
    ContourCounts counts;
    std::uint16_t contours = 0xFFFF;
    const OutlineStatus status = ParseOutline(record, points, counts, contours);
    FUZZ_CHECK(contours <= kMaxContours);
    if (status != OutlineStatus::Ok) return;

    std::size_t total = 0;
    for (int c = 0; c < contours; ++c) {
        // Every contour ends with its start point and its first point again.
        FUZZ_CHECK(counts[c] >= 2 && counts[c] <= kMaxContourPoints);
        total += counts[c];
    }
    FUZZ_CHECK(total <= kMaxOutlinePoints);

    std::size_t first = 0;
    long inside = 0;
    for (int c = 0; c < contours; ++c) {
        const std::span<const Point> contour(points.data() + first, counts[c]);
        FUZZ_CHECK(contour.front() == contour.back());
        FillPolygonSpans(contour, kCardSize, kCardSize, [&](int y, int x0, int x1) {
            FUZZ_CHECK(y >= 0 && y < kCardSize && 0 <= x0 && x0 < x1 && x1 <= kCardSize);
            inside += x1 - x0;
        });
        first += counts[c];
    }
    FUZZ_CHECK(inside <= long{kCardSize} * kCardSize * kMaxContours);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseAndFill({data, size});
    std::vector<std::uint8_t> stored(data, data + size);
    DescrambleStream(stored.data(), stored.size(), kOutlineFirstKeyIndex);
    ParseAndFill(stored);
    return 0;
}
