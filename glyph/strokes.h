// The stroke-order animator: writes a character stroke by stroke on a canvas,
// one filled contour per step of its stroke-order record, pausing after each.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "data/lesson_file.h"
#include "glyph/char_index.h"

class Canvas;
class QWidget;

// The animator's messages; the phrase search shows the file-not-found one too.
inline constexpr const char* kCharNotFoundMessage = "the char you wanted not found";
inline constexpr const char* kLessonFileNotFoundMessage = "lesson data file not found";
inline constexpr const char* kLessonFileDamagedMessage = "lesson data file damaged";

inline constexpr int kMaxStrokeSteps = 32;            // bytes of a stroke-order record
inline constexpr int kMaxIndexEntries = 6763;         // GB2312 hanzi: the search never goes further
inline constexpr std::uint32_t kStrokeWaitMs = 1000;  // the pause after each stroke

// The card's stroke picture the outlines are drawn on (Image6), one row above
// the top of its square frame (Panel2).
inline constexpr int kStrokeFrameSize = 129;
inline constexpr int kStrokePictureTop = -1;
inline constexpr int kStrokePictureWidth = 129;
inline constexpr int kStrokePictureHeight = 133;

// Slot of the character's stroke-order record among a lesson's codes, or -1
// when it has none.
int StrokeOrderSlot(const lesson_file::LessonCodes& codes, std::uint16_t code);
// The same among the built-in lesson_file::kLessonCodes.
int StrokeOrderSlot(std::uint16_t code);

// Called after each filled contour (the canvas holds it); false stops the animation.
using StrokePause = std::function<bool()>;

struct StrokeAnimation {
    int strokes = 0;        // contours of the character; 0 when nothing was drawn
    bool finished = false;  // every step drawn and waited for
};

// The animator over a lesson's codes (their slots), its index table and its
// data file. Outlines that break the limits of the working arrays, or a
// stroke-order record that does not name each contour's step, are reported and
// nothing is drawn.
StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code,
                               const lesson_file::LessonCodes& codes,
                               std::span<const CharIndexEntry> index, const std::string& path,
                               const StrokePause& pause);
// The same with the slots of the built-in lesson_file::kLessonCodes.
StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code,
                               std::span<const CharIndexEntry> index, const std::string& path,
                               const StrokePause& pause);

// The pause of the card picture's animation: picture is repainted and the
// window served for kStrokeWaitMs through the runtime's wait; false when the
// picture has gone away.
bool CardPicturePause(QWidget* picture);

// The card picture's animation over CharIndexTable and dat/zw.dat: after each
// stroke, picture is repainted and the window served for kStrokeWaitMs through
// the runtime's wait; stops early when the picture goes away.
StrokeAnimation AnimateStrokes(Canvas& canvas, std::uint16_t code, QWidget* picture);
