#include "glyph/strokes.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "app/runtime/canvas.h"
#include "app/runtime/runtime.h"
#include "data/des.h"
#include "data/descramble.h"
#include "data/lesson_file.h"
#include "glyph/outline.h"

namespace {

struct Located {
    bool found = false;
    bool valid = true;  // sizes of the entries passed over are sane
    std::int64_t offset = 0;
    std::int32_t size = 0;
};

Located FindOutline(std::span<const CharIndexEntry> index, std::uint16_t code) {
    Located at;
    const std::size_t entries = std::min<std::size_t>(index.size(), kMaxIndexEntries);
    for (std::size_t i = 0; i < entries; ++i) {
        const CharIndexDecoded entry = DecodeCharIndexEntry(index[i]);
        if (entry.size < 0) at.valid = false;
        if (entry.code == code) {
            at.found = true;
            at.size = entry.size;
            return at;
        }
        at.offset += entry.size;
    }
    return at;
}

// Reports a failed read and gives false.
bool ReadOk(const lesson_file::ReadResult& read) {
    if (read.status == lesson_file::ReadStatus::Ok) return true;
    ShowMessage(read.status == lesson_file::ReadStatus::CannotOpen ? kLessonFileNotFoundMessage
                                                                   : kLessonFileDamagedMessage);
    return false;
}

}  // namespace

int StrokeOrderSlot(const lesson_file::LessonCodes& codes, std::uint16_t code) {
    const auto at = std::find(codes.begin(), codes.end(), code);
    return at == codes.end() ? -1 : static_cast<int>(at - codes.begin());
}

int StrokeOrderSlot(std::uint16_t code) {
    return StrokeOrderSlot(lesson_file::kLessonCodes, code);
}

StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code,
                               const lesson_file::LessonCodes& codes,
                               std::span<const CharIndexEntry> index, const std::string& path,
                               const StrokePause& pause) {
    canvas.pen.style = PenStyle::Clear;
    canvas.pen.mode = PenMode::Black;
    canvas.pen.width = 1;
    canvas.pen.colour = kBlack;
    canvas.brush.colour = kBlack;
    canvas.brush.style = BrushStyle::Solid;

    const Located at = FindOutline(index, code);
    const int slot = StrokeOrderSlot(codes, code);
    if (!at.found || slot < 0) {
        ShowMessage(kCharNotFoundMessage);
        return {};
    }
    if (!at.valid || at.size < 0) {
        ShowMessage(kLessonFileDamagedMessage);
        return {};
    }

    lesson_file::ReadResult outline = lesson_file::ReadRange(
        path, static_cast<std::uint64_t>(at.offset), static_cast<std::size_t>(at.size));
    if (!ReadOk(outline)) return {};
    DescrambleStream(outline.bytes.data(), outline.bytes.size(), kOutlineFirstKeyIndex);

    OutlinePoints points;
    ContourCounts counts{};
    std::uint16_t contours = 0;
    if (ParseOutline(outline.bytes, points, counts, contours) != OutlineStatus::Ok ||
        contours > kMaxStrokeSteps) {
        ShowMessage(kLessonFileDamagedMessage);
        return {};
    }

    // Each contour's points in an array of its own.
    std::array<std::array<Point, kMaxContourPoints>, kMaxContours> contour;
    std::size_t next = 0;
    for (std::size_t c = 0; c < contours; ++c) {
        std::copy_n(points.begin() + static_cast<std::ptrdiff_t>(next), counts[c],
                    contour[c].begin());
        next += counts[c];
    }

    lesson_file::ReadResult order = lesson_file::ReadRange(
        path,
        lesson_file::kStrokeOrderOffset +
            static_cast<std::uint64_t>(slot) * lesson_file::kStrokeOrderRecordSize,
        lesson_file::kStrokeOrderRecordSize);
    if (!ReadOk(order)) return {};
    DesDecryptBuffer(order.bytes.data(), kStrokeOrderKey, order.bytes.size());

    // Every step must name a contour before the first one is drawn.
    for (std::size_t s = 0; s < contours; ++s) {
        if (order.bytes[s] < 1 || order.bytes[s] > contours) {
            ShowMessage(kLessonFileDamagedMessage);
            return {};
        }
    }

    StrokeAnimation result;
    result.strokes = contours;
    for (std::size_t s = 0; s < contours; ++s) {
        const std::size_t t = order.bytes[s] - 1u;
        canvas.Polygon(std::span<const Point>(contour[t].data(), counts[t]));
        if (pause && !pause()) return result;
    }
    result.finished = true;
    return result;
}

StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code,
                               std::span<const CharIndexEntry> index, const std::string& path,
                               const StrokePause& pause) {
    return AnimateStrokes(canvas, code, lesson_file::kLessonCodes, index, path, pause);
}

// The picture is alive at each pause: it was when the animation began, and a
// wait that returns true has just seen it alive and dispatched nothing since.
bool CardPicturePause(QWidget* picture) {
    Invalidate(picture);
    return WaitProcessingEvents(kStrokeWaitMs, picture);
}

StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code, QWidget* picture) {
    return AnimateStrokes(canvas, code, CharIndexTable, lesson_file::kPath,
                          [picture] { return CardPicturePause(picture); });
}
