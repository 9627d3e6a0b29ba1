// Dictionary lines stored by hand, as the builder would store them but of any
// length and without the builder's checks, and lesson files that hold them.
#pragma once

#include <filesystem>
#include <string>

// The stored bytes of a plain line, without a newline: column j holds the
// plain byte minus the key's low byte. Throws when a byte would be stored as a
// newline.
std::string ScrambledByHand(const std::string& plain);

// A plain line as a line buffer holds its record: its bytes, then zeros up to
// the buffer's last byte (kLineBufferSize - 1 bytes in all).
std::string Record(const std::string& plain);

// A lesson file of zero bytes up to the dictionary offset, then section.
// Throws when it cannot be written.
void WriteLessonFile(const std::filesystem::path& path, const std::string& section);
