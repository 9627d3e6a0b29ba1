#include "data/byte_reader.h"

bool ByteReader::Seek(std::size_t position) {
    if (!ok_ || position > bytes_.size()) return Fail();
    pos_ = position;
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    if (!ok_ || count > remaining()) return Fail();
    pos_ += count;
    return true;
}

std::optional<std::uint8_t> ByteReader::U8() {
    if (!ok_ || remaining() < 1) {
        Fail();
        return std::nullopt;
    }
    return bytes_[pos_++];
}

std::optional<std::uint16_t> ByteReader::U16() {
    const auto bytes = Bytes(2);
    if (!bytes) return std::nullopt;
    return static_cast<std::uint16_t>((*bytes)[0] | ((*bytes)[1] << 8));
}

std::optional<std::uint32_t> ByteReader::U32() {
    const auto bytes = Bytes(4);
    if (!bytes) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | (*bytes)[static_cast<std::size_t>(i)];
    return value;
}

std::optional<std::int32_t> ByteReader::I32() {
    const auto value = U32();
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);  // two's complement (C++20)
}

std::optional<std::span<const std::uint8_t>> ByteReader::Bytes(std::size_t count) {
    if (!ok_ || count > remaining()) {
        Fail();
        return std::nullopt;
    }
    const auto run = bytes_.subspan(pos_, count);
    pos_ += count;
    return run;
}
