#include "tests/support/stored_lines.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "data/scramble_key.h"

std::string ScrambledByHand(const std::string& plain) {
    std::string stored = plain;
    for (std::size_t j = 0; j < stored.size(); ++j)
        stored[j] = static_cast<char>(static_cast<std::uint8_t>(plain[j]) -
                                      static_cast<std::uint8_t>(ScrambleKey[j]));
    if (stored.find('\n') != std::string::npos)
        throw std::invalid_argument("a plain byte stored as a newline");
    return stored;
}

std::string Record(const std::string& plain) {
    std::string record = plain;
    record.resize(kLineBufferSize - 1, '\0');
    return record;
}

void WriteLessonFile(const std::filesystem::path& path, const std::string& section) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << std::string(lesson_file::kDictionaryOffset, '\0') << section;
    if (!file.flush()) throw std::runtime_error("cannot write " + path.string());
}
