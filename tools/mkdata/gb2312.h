// GB2312 (EUC-CN) conversion of dictionary words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The GB2312 bytes of a UTF-8 text made only of GB2312 hanzi (rows 0xB0-0xF7),
// or nullopt for anything else (other characters, symbols, ASCII, empty text).
std::optional<std::string> Gb2312Hanzi(const std::string& utf8);

// The GB code (high * 256 + low) of the character at byte offset i of a GB string.
std::uint16_t GbCodeAt(const std::string& gb, std::size_t i);

// The UTF-8 form of the GB2312 character code (high * 256 + low); empty when
// the code is not a GB2312 character.
std::string Gb2312Utf8(std::uint16_t code);
