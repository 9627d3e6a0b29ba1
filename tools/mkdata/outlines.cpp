#include "tools/mkdata/outlines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "data/byte_writer.h"
#include "tools/mkdata/gb2312.h"

namespace {

constexpr std::size_t kPointBytes = kFixedPointSize;

constexpr std::int32_t kOne = 0x10000;     // 1.0 in 16.16 fixed point
constexpr std::int32_t kQuarter = 0x4000;  // the fitter's grid for control points
constexpr std::size_t kFirstControlPoints = 3;

struct FixedPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

std::int32_t FixedMid(std::int32_t a, std::int32_t b) {
    return (a + b) / 2;
}

// ---- fitting ----

// One stroke's target: its mask with row prefix sums for fast overlap counts.
struct Target {
    std::vector<int> prefix;  // (kCardWidth + 1) per row
    int count = 0;

    explicit Target(const CardMask& mask)
        : prefix(static_cast<std::size_t>((kCardWidth + 1) * kCardHeight), 0) {
        for (int y = 0; y < kCardHeight; ++y) {
            int* row = &prefix[static_cast<std::size_t>(y * (kCardWidth + 1))];
            for (int x = 0; x < kCardWidth; ++x) row[x + 1] = row[x] + (mask.at(x, y) ? 1 : 0);
            count += row[kCardWidth];
        }
    }
    int Overlap(int y, int x0, int x1) const {
        const int* row = &prefix[static_cast<std::size_t>(y * (kCardWidth + 1))];
        return row[x1] - row[x0];
    }
};

// A stroke as one spline record: its control points and the start point (an
// integer, since the program truncates it).
struct StrokeFit {
    std::vector<FixedPoint> control;
    FixedPoint start;
    int error = 0;  // pixels filled but not in the source, plus the reverse
};

std::size_t PolygonBytes(std::size_t controlPoints) {
    return kPolygonHeaderSize + kCurveHeaderSize + kPointBytes * controlPoints;
}

// One polygon of one spline record.
void AppendPolygon(const StrokeFit& fit, std::vector<std::uint8_t>& out) {
    PutU32(out, static_cast<std::uint32_t>(PolygonBytes(fit.control.size())));
    PutU32(out, kPolygonType);
    PutI32(out, fit.start.x);
    PutI32(out, fit.start.y);
    PutU16(out, kCurveSpline);
    PutU16(out, static_cast<std::uint16_t>(fit.control.size()));
    for (const FixedPoint& p : fit.control) {
        PutI32(out, p.x);
        PutI32(out, p.y);
    }
}

// The contour the program draws for a fit: its polygon as ParseOutline reads it;
// nothing when the program would reject it.
std::vector<Point> ExpandFit(const StrokeFit& fit) {
    std::vector<std::uint8_t> record;
    AppendPolygon(fit, record);
    OutlinePoints points;
    ContourCounts counts;
    std::uint16_t contours = 0;
    if (ParseOutline(record, points, counts, contours) != OutlineStatus::Ok || contours != 1)
        return {};
    return {points.begin(), points.begin() + counts[0]};
}

// Adds the pixels the program fills for contour to mask.
void FillInto(CardMask& mask, std::span<const Point> contour) {
    FillPolygonSpans(contour, kCardWidth, kCardHeight, [&](int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x) mask.inside[static_cast<std::size_t>(y * kCardWidth + x)] = 1;
    });
}

int Error(const StrokeFit& fit, const Target& target) {
    const std::vector<Point> points = ExpandFit(fit);
    if (points.empty()) return std::numeric_limits<int>::max();
    int filled = 0;
    int overlap = 0;
    FillPolygonSpans(points, kCardWidth, kCardHeight, [&](int y, int x0, int x1) {
        filled += x1 - x0;
        overlap += target.Overlap(y, x0, x1);
    });
    return filled + target.count - 2 * overlap;
}

FixedPoint ScreenToOutlineFixed(RealPoint p) {
    // Snapped to the quarter-pixel grid.
    const double x = p.x + kOutlineShiftX, y = kOutlineBaseY - p.y;
    return {static_cast<std::int32_t>(std::lround(x * 4)) * kQuarter,
            static_cast<std::int32_t>(std::lround(y * 4)) * kQuarter};
}

FixedPoint ScreenToOutlineInteger(RealPoint p) {
    return {static_cast<std::int32_t>(std::lround(p.x + kOutlineShiftX)) * kOne,
            static_cast<std::int32_t>(std::lround(kOutlineBaseY - p.y)) * kOne};
}

double SegmentDistance(RealPoint p, RealPoint a, RealPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Top-down simplification of a closed ring to `count` of its points, in ring order.
std::vector<RealPoint> SimplifyRing(const Ring& ring, std::size_t count) {
    const std::size_t n = ring.size();
    RealPoint centre;
    for (const RealPoint& p : ring)
        centre = {centre.x + p.x / double(n), centre.y + p.y / double(n)};
    auto farthestFrom = [&](RealPoint c) {
        std::size_t best = 0;
        double bestD = -1;
        for (std::size_t i = 0; i < n; ++i) {
            const double d = std::hypot(ring[i].x - c.x, ring[i].y - c.y);
            if (d > bestD) bestD = d, best = i;
        }
        return best;
    };
    const std::size_t a = farthestFrom(centre);
    const std::size_t b = farthestFrom(ring[a]);
    std::vector<std::size_t> chosen = {std::min(a, b), std::max(a, b)};
    while (chosen.size() < std::min(count, n)) {
        double bestD = -1;
        std::size_t bestIndex = 0, bestSlot = 0;
        for (std::size_t s = 0; s < chosen.size(); ++s) {
            const std::size_t from = chosen[s];
            const std::size_t to = chosen[(s + 1) % chosen.size()];
            for (std::size_t i = (from + 1) % n; i != to; i = (i + 1) % n) {
                const double d = SegmentDistance(ring[i], ring[from], ring[to]);
                if (d > bestD) bestD = d, bestIndex = i, bestSlot = s + 1;
            }
        }
        if (bestD < 0) break;
        chosen.insert(chosen.begin() + static_cast<std::ptrdiff_t>(bestSlot), bestIndex);
    }
    std::vector<RealPoint> out;
    for (std::size_t i : chosen) out.push_back(ring[i]);
    return out;
}

// Deterministic hill climbing on the error of the rounded, filled contour: each
// coordinate of the control points takes the first of its steps (a quarter to
// two pixels, either way) that lowers the error, then those of the start point
// (one or two whole pixels); passes repeat while one improves.
void LocalSearch(StrokeFit& fit, const Target& target, std::size_t firstPoint,
                 std::size_t lastPoint, bool moveStart, int maxPasses) {
    static constexpr std::array<std::int32_t, 8> kSteps = {
        kQuarter, -kQuarter, 2 * kQuarter, -2 * kQuarter, kOne, -kOne, 2 * kOne, -2 * kOne};
    static constexpr std::array<std::int32_t, 4> kStartSteps = {kOne, -kOne, 2 * kOne, -2 * kOne};
    for (int pass = 0; pass < maxPasses; ++pass) {
        bool improved = false;
        auto tryMove = [&](std::int32_t& value, std::int32_t step) {
            value += step;
            const int e = Error(fit, target);
            if (e < fit.error) {
                fit.error = e;
                improved = true;
                return true;
            }
            value -= step;
            return false;
        };
        for (std::size_t i = firstPoint; i <= lastPoint && i < fit.control.size(); ++i) {
            for (std::int32_t* value : {&fit.control[i].x, &fit.control[i].y})
                for (std::int32_t step : kSteps)
                    if (tryMove(*value, step)) break;
        }
        if (moveStart) {
            for (std::int32_t* value : {&fit.start.x, &fit.start.y})
                for (std::int32_t step : kStartSteps)
                    if (tryMove(*value, step)) break;
        }
        if (!improved) break;
    }
}

constexpr int kFullPasses = 40;
constexpr int kInsertPasses = 12;

StrokeFit FreshFit(const Ring& ring, const Target& target, std::size_t controlPoints) {
    const std::vector<RealPoint> corners = SimplifyRing(ring, controlPoints + 1);
    StrokeFit fit;
    for (std::size_t i = 0; i + 1 < corners.size(); ++i)
        fit.control.push_back(ScreenToOutlineFixed(corners[i]));
    while (fit.control.size() < 2) fit.control.push_back(fit.control.back());
    fit.start = ScreenToOutlineInteger(corners.back());
    fit.error = Error(fit, target);
    LocalSearch(fit, target, 0, fit.control.size() - 1, true, kFullPasses);
    return fit;
}

FixedPoint Snap(FixedPoint p) {
    auto snap = [](std::int32_t v) {
        return static_cast<std::int32_t>(std::floor(v / double(kQuarter) + 0.5)) * kQuarter;
    };
    return {snap(p.x), snap(p.y)};
}

// The fit with one more control point: tried in every gap of the contour, starting
// on the gap's midpoint (which keeps the shape), pushed out by a local search; or a
// fresh fit from a finer simplification of the source, whichever is closer.
StrokeFit InsertPoint(const StrokeFit& fit, const Target& target, const Ring& ring) {
    StrokeFit best;
    best.error = -1;
    const std::size_t n = fit.control.size();
    for (std::size_t slot = 0; slot <= n; ++slot) {
        const FixedPoint before = slot == 0 ? fit.start : fit.control[slot - 1];
        const FixedPoint after = slot == n ? fit.start : fit.control[slot];
        StrokeFit trial = fit;
        trial.control.insert(trial.control.begin() + static_cast<std::ptrdiff_t>(slot),
                             Snap({FixedMid(before.x, after.x), FixedMid(before.y, after.y)}));
        trial.error = Error(trial, target);
        LocalSearch(trial, target, slot, slot, false, kInsertPasses);
        if (best.error < 0 || trial.error < best.error) best = std::move(trial);
    }
    LocalSearch(best, target, 0, best.control.size() - 1, true, kFullPasses);
    StrokeFit fresh = FreshFit(ring, target, n + 1);
    return fresh.error < best.error ? fresh : best;
}

struct StrokeWork {
    std::size_t character = 0;
    std::size_t stroke = 0;  // writing order
    Ring ring;
    Target target;
    StrokeFit current;
    StrokeFit next;  // the planned step: current with one to six more control points

    std::size_t added() const { return next.control.size() - current.control.size(); }
    // Differing pixels removed per control point added.
    double gain() const {
        return double(current.error - next.error) / double(std::max<std::size_t>(added(), 1));
    }
    // Plans the first step that improves: one more point, or, when that does
    // not, up to six more, each added to the last. (The step of the best gain
    // per point over all six fits 0.003 better and takes three times as long.)
    // next stays current when none improves.
    void PlanNext() {
        // Six, so that a stroke stuck for a point or three still improves when its
        // character is the worst.
        constexpr std::size_t kLookahead = 6;
        StrokeFit trial = current;
        next = current;
        for (std::size_t k = 1; k <= kLookahead; ++k) {
            trial = InsertPoint(trial, target, ring);
            if (trial.error<current.error&& double(current.error - trial.error) / double(k)> gain())
                next = trial;
            if (next.control.size() > current.control.size()) break;
        }
    }
};

std::string FormatIoU(double v) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string FormatFloor(double v) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string Thousands(std::size_t v) {
    std::string digits = std::to_string(v);
    for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
    return digits;
}

// The points ParseOutline makes of a spline contour: 2 (n - 1) for its n control
// points and the two closing points.
std::size_t ContourPoints(std::size_t controlPoints) {
    return 2 * controlPoints;
}

// The words for the teacher when the lesson's strokes are too many for the section.
std::string TooManyStrokes(std::span<const std::uint16_t> codes,
                           const std::vector<CharacterStrokes>& lesson, std::size_t byteBudget) {
    std::string names;
    std::size_t strokeTotal = 0;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        names += Gb2312Utf8(codes[c]);
        strokeTotal += lesson[c].size();
    }
    return names + " have " + std::to_string(strokeTotal) + " strokes together, too many for the " +
           Thousands(byteBudget) + "-byte outline section; choose characters with fewer strokes";
}

// Refuses a lesson whose strokes do not fit the section even at their smallest.
void RefuseOverfullSection(std::span<const std::uint16_t> codes,
                           const std::vector<CharacterStrokes>& lesson, std::size_t byteBudget) {
    std::size_t strokeTotal = 0;
    for (const CharacterStrokes& strokes : lesson) strokeTotal += strokes.size();
    if (strokeTotal * PolygonBytes(kFirstControlPoints) > byteBudget)
        throw std::runtime_error(TooManyStrokes(codes, lesson, byteBudget) + " (it holds " +
                                 std::to_string(byteBudget / PolygonBytes(kFirstControlPoints)) +
                                 " at most)");
}

// The fits of every stroke of the lesson while the section's bytes are shared out.
class LessonFit {
public:
    // A first small fit of every stroke, and each character's IoU with it.
    explicit LessonFit(const std::vector<CharacterStrokes>& lesson) : characters_(lesson.size()) {
        for (std::size_t c = 0; c < lesson.size(); ++c) {
            for (std::size_t s = 0; s < lesson[c].size(); ++s) {
                const std::vector<Ring>& rings = lesson[c][s];
                const Ring& longest = *std::max_element(
                    rings.begin(), rings.end(),
                    [](const Ring& a, const Ring& b) { return a.size() < b.size(); });
                const CardMask mask = RasteriseRings(rings);
                for (std::size_t i = 0; i < mask.inside.size(); ++i)
                    characters_[c].source.inside[i] |= mask.inside[i];
                StrokeWork w{c, s, longest, Target(mask), {}, {}};
                w.current = FreshFit(w.ring, w.target, kFirstControlPoints);
                w.PlanNext();
                characters_[c].strokes.push_back(work_.size());
                work_.push_back(std::move(w));
            }
        }
        for (CharacterWork& character : characters_) Measure(character);
        for (const StrokeWork& w : work_) used_ += PolygonBytes(w.current.control.size());
    }

    // Max-min: the next control points go to the character drawn worst so far
    // (IoU of all its strokes), to its stroke whose planned step removes the
    // most differing pixels per point. A character none of whose strokes can
    // still improve within the budget and the animator's limits leaves the
    // turn to the next worst, so no character is starved for the sake of the
    // others' gains.
    // With `enough`, it stops once every character is drawn at that IoU.
    void ShareBudget(std::size_t byteBudget, double enough = 2) {
        while (true) {
            if (std::all_of(characters_.begin(), characters_.end(),
                            [&](const CharacterWork& c) { return c.iou >= enough; }))
                return;
            StrokeWork* best = nullptr;
            CharacterWork* worst = nullptr;
            for (CharacterWork& character : characters_) {
                if (worst && character.iou >= worst->iou) continue;
                StrokeWork* candidate = nullptr;
                for (std::size_t i : character.strokes)
                    if (CanGrow(work_[i], byteBudget) &&
                        (!candidate || work_[i].gain() > candidate->gain()))
                        candidate = &work_[i];
                if (candidate) worst = &character, best = candidate;
            }
            if (!best) return;
            used_ += kPointBytes * best->added();
            best->current = std::move(best->next);
            best->PlanNext();
            Measure(*worst);
        }
    }

    // Character c's record, its contours in geometric order (top, then left,
    // of their bounding boxes), and the stroke order mapping writing steps to them.
    CharacterOutline Outline(std::size_t c, std::uint16_t code) const {
        std::vector<const StrokeWork*> strokes;
        for (std::size_t i : characters_[c].strokes) strokes.push_back(&work_[i]);
        std::vector<std::pair<int, int>> corners;  // top, left
        for (const StrokeWork* w : strokes) {
            std::pair<int, int> corner{kCardHeight, kCardWidth};
            for (const Point& p : ExpandFit(w->current))
                corner = {std::min(corner.first, p.y), std::min(corner.second, p.x)};
            corners.push_back(corner);
        }
        std::vector<std::size_t> order(strokes.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return corners[a] < corners[b]; });
        CharacterOutline outline;
        outline.code = code;
        outline.strokeOrder.resize(strokes.size());
        for (std::size_t contour = 0; contour < order.size(); ++contour) {
            AppendPolygon(strokes[order[contour]]->current, outline.record);
            outline.strokeOrder[order[contour]] = static_cast<std::uint8_t>(contour + 1);
        }
        return outline;
    }

    // The points ParseOutline makes of character c's contours.
    std::size_t CharacterPoints(std::size_t c) const {
        std::size_t points = 0;
        for (std::size_t i : characters_[c].strokes)
            points += ContourPoints(work_[i].current.control.size());
        return points;
    }

private:
    struct CharacterWork {
        std::vector<std::size_t> strokes;  // into work_
        CardMask source;
        double iou = 0;  // of the current fits
    };

    void Measure(CharacterWork& character) const {
        CardMask filled;
        for (std::size_t i : character.strokes) FillInto(filled, ExpandFit(work_[i].current));
        character.iou = IntersectionOverUnion(filled, character.source);
    }

    // Whether w's planned step fits the budget, a contour's and a character's points.
    bool CanGrow(const StrokeWork& w, std::size_t byteBudget) const {
        return w.added() > 0 && used_ + kPointBytes * w.added() <= byteBudget &&
               ContourPoints(w.next.control.size()) <=
                   static_cast<std::size_t>(kMaxContourPoints) &&
               CharacterPoints(w.character) + ContourPoints(w.added()) <=
                   static_cast<std::size_t>(kMaxOutlinePoints);
    }

    std::vector<StrokeWork> work_;
    std::vector<CharacterWork> characters_;
    std::size_t used_ = 0;  // bytes of the current fits' polygons
};

// One character's line of the report: its size, IoU and each stroke's.
std::string ReportLine(const CharacterOutline& outline, const CharacterQuality& quality,
                       std::size_t points) {
    const auto worstStroke = std::min_element(quality.strokeIoU.begin(), quality.strokeIoU.end());
    std::string line = Gb2312Utf8(outline.code) + " " + std::to_string(outline.strokeOrder.size()) +
                       " strokes, " + std::to_string(outline.record.size()) + " bytes, " +
                       std::to_string(points) + " points, IoU " + FormatIoU(quality.iou) +
                       ", worst stroke " + FormatIoU(*worstStroke) + " (stroke " +
                       std::to_string(worstStroke - quality.strokeIoU.begin() + 1) + "); strokes";
    for (double v : quality.strokeIoU) line += " " + FormatIoU(v);
    return line + "\n";
}

}  // namespace

std::optional<std::vector<std::vector<Point>>> ExpandOutlineRecord(
    std::span<const std::uint8_t> record) {
    OutlinePoints points;
    ContourCounts counts;
    std::uint16_t contourCount = 0;
    if (ParseOutline(record, points, counts, contourCount) != OutlineStatus::Ok)
        return std::nullopt;
    std::vector<std::vector<Point>> contours;
    std::size_t first = 0;
    for (std::size_t c = 0; c < contourCount; ++c) {
        contours.emplace_back(points.begin() + static_cast<std::ptrdiff_t>(first),
                              points.begin() + static_cast<std::ptrdiff_t>(first + counts[c]));
        first += counts[c];
    }
    return contours;
}

CardMask FillContour(std::span<const Point> contour) {
    CardMask mask;
    FillInto(mask, contour);
    return mask;
}

double IntersectionOverUnion(const CardMask& a, const CardMask& b) {
    std::size_t both = 0, either = 0;
    for (std::size_t i = 0; i < a.inside.size(); ++i) {
        both += (a.inside[i] && b.inside[i]) ? 1 : 0;
        either += (a.inside[i] || b.inside[i]) ? 1 : 0;
    }
    return either == 0 ? 1.0 : double(both) / double(either);
}

CharacterQuality MeasureOutline(const CharacterOutline& outline, const std::string& dir) {
    const std::vector<CardMask> source = SourceStrokeMasks(dir, outline.code);
    const auto contours = ExpandOutlineRecord(outline.record);
    if (!contours) throw std::runtime_error("malformed outline record");
    CharacterQuality quality;
    CardMask fitted, reference;
    for (std::size_t s = 0; s < source.size(); ++s) {
        CardMask stroke;
        if (s < outline.strokeOrder.size() && outline.strokeOrder[s] >= 1 &&
            outline.strokeOrder[s] <= contours->size())
            stroke = FillContour((*contours)[outline.strokeOrder[s] - 1u]);
        quality.strokeIoU.push_back(IntersectionOverUnion(stroke, source[s]));
        for (std::size_t i = 0; i < stroke.inside.size(); ++i) {
            fitted.inside[i] |= stroke.inside[i];
            reference.inside[i] |= source[s].inside[i];
        }
    }
    quality.iou = IntersectionOverUnion(fitted, reference);
    return quality;
}

OutlineBuild BuildOutlines(const std::string& dir, std::span<const std::uint16_t> codes,
                           std::size_t byteBudget, double floor) {
    const std::vector<CharacterStrokes> lesson = ReadLessonStrokes(dir, codes);
    RefuseOverfullSection(codes, lesson, byteBudget);
    LessonFit fit(lesson);
    fit.ShareBudget(byteBudget);

    OutlineBuild build;
    std::size_t total = 0;
    std::size_t worst = 0;
    double worstIoU = 2;
    for (std::size_t c = 0; c < codes.size(); ++c) {
        CharacterOutline outline = fit.Outline(c, codes[c]);
        const CharacterQuality quality = MeasureOutline(outline, dir);
        build.report += ReportLine(outline, quality, fit.CharacterPoints(c));
        total += outline.record.size();
        if (quality.iou < worstIoU) worst = c, worstIoU = quality.iou;
        build.characters.push_back(std::move(outline));
    }
    const std::string worstName = Gb2312Utf8(codes[worst]);
    build.report += "outline section: " + std::to_string(total) + " of " +
                    std::to_string(byteBudget) + " bytes; worst character " + worstName +
                    " at IoU " + FormatIoU(worstIoU) + " (floor " + FormatFloor(floor) + ")\n";
    if (worstIoU < floor)
        throw std::runtime_error(worstName + " would be drawn at " + FormatIoU(worstIoU) +
                                 " (floor " + FormatFloor(floor) +
                                 "): " + TooManyStrokes(codes, lesson, byteBudget));
    return build;
}

double FitAlone(const std::string& dir, std::uint16_t code, std::size_t byteBudget, double floor) {
    const std::uint16_t codes[] = {code};
    const std::vector<CharacterStrokes> lesson = ReadLessonStrokes(dir, codes);
    RefuseOverfullSection(codes, lesson, byteBudget);
    LessonFit fit(lesson);
    fit.ShareBudget(byteBudget, floor);
    double iou = MeasureOutline(fit.Outline(0, code), dir).iou;
    if (iou < floor) {  // the record's rounding can cost a little: fit on
        fit.ShareBudget(byteBudget);
        iou = MeasureOutline(fit.Outline(0, code), dir).iou;
    }
    return iou;
}
