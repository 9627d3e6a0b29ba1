// Bounds-checked reading of the program's binary formats.
//
// The parsers of the binary records (font glyphs, glyph outlines, WAV images)
// read through ByteReader; the dictionary lines and the whole-range reads of
// the lesson data file check their own bounds. A read past the end never
// touches memory outside the span; it fails, returns std::nullopt and leaves
// the reader in the failed state (ok() == false). A failed reader stays failed:
// every later call fails too and the position stays where it was, so a parser
// may check ok() once after a run of reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool ok() const { return ok_; }

    // Moves to an absolute position; fails beyond the end.
    bool Seek(std::size_t position);
    bool Skip(std::size_t count);

    std::optional<std::uint8_t> U8();
    std::optional<std::uint16_t> U16();  // little-endian
    std::optional<std::uint32_t> U32();  // little-endian
    std::optional<std::int32_t> I32();   // little-endian, two's complement
    // The next count bytes, without copying; fails if fewer remain.
    std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count);

private:
    bool Fail() {
        ok_ = false;
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};
