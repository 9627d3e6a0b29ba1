#include "tests/glyph/synthetic_lesson.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "data/des.h"
#include "data/descramble.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"

std::int32_t OutlineBuilder::Fixed(double value) {
    return static_cast<std::int32_t>(std::lround(value * 65536.0));
}

OutlineBuilder& OutlineBuilder::U16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    return *this;
}

OutlineBuilder& OutlineBuilder::U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return *this;
}

OutlineBuilder& OutlineBuilder::Polygon(double startX, double startY,
                                        const std::vector<Curve>& curves) {
    std::uint32_t size = 16;
    for (const Curve& c : curves) size += static_cast<std::uint32_t>(4 + 8 * c.points.size());
    U32(size).U32(24);
    U32(static_cast<std::uint32_t>(Fixed(startX))).U32(static_cast<std::uint32_t>(Fixed(startY)));
    for (const Curve& c : curves) {
        U16(c.type).U16(static_cast<std::uint16_t>(c.points.size()));
        for (const auto& [x, y] : c.points) {
            U32(static_cast<std::uint32_t>(Fixed(x))).U32(static_cast<std::uint32_t>(Fixed(y)));
        }
    }
    return *this;
}

OutlineBuilder& OutlineBuilder::Rectangle(double x0, double y0, double x1, double y1) {
    return Polygon(x0, y0, {{1, {{x1, y0}, {x1, y1}, {x0, y1}}}});
}

std::vector<CharIndexEntry> SyntheticLesson::Index() const {
    std::vector<CharIndexEntry> index;
    for (const SyntheticChar& c : chars) {
        index.push_back(EncodeCharIndexEntry(c.code, static_cast<std::int32_t>(c.outline.size())));
    }
    return index;
}

void SyntheticLesson::Write(const std::string& path) const {
    std::vector<std::uint8_t> file;
    for (const SyntheticChar& c : chars) {
        std::vector<std::uint8_t> blob = c.outline;
        DescrambleStream(blob.data(), blob.size(), kOutlineFirstKeyIndex);
        file.insert(file.end(), blob.begin(), blob.end());
    }
    if (file.size() > lesson_file::kStrokeOrderOffset) throw std::runtime_error("outlines too big");
    file.resize(lesson_file::kVoiceOffset, 0);
    DesSetKey(kStrokeOrderKey);
    for (const SyntheticChar& c : chars) {
        const int slot = StrokeOrderSlot(c.code);
        if (slot < 0) continue;
        std::uint8_t record[32] = {};
        for (std::size_t i = 0; i < c.order.size() && i < 32; ++i) record[i] = c.order[i];
        for (int b = 0; b < 32; b += 8) DesBlock(record + b, kDesEncrypt);
        std::copy(record, record + 32, file.begin() + lesson_file::kStrokeOrderOffset + 32 * slot);
    }
    if (!dictionaryLines.empty()) {
        file.resize(lesson_file::kDictionaryOffset, 0);
        for (const std::string& line : dictionaryLines) {
            std::string stored, error;
            if (!ScrambleDictionaryLine(line, stored, error)) throw std::runtime_error(error);
            file.insert(file.end(), stored.begin(), stored.end());
        }
    }
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
}
