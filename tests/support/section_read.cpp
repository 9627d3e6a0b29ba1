#include "tests/support/section_read.h"

#include <cstdio>
#include <cstring>

#include "data/lesson_file.h"

bool ReadDictionarySection(const char* path, SectionRead& read) {
    static char block[64 << 10];
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return false;
    std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET);
    read = {};
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, stream)) > 0) {
        read.bytes += static_cast<std::int64_t>(got);
        const char* at = block;
        const char* end = block + got;
        while ((at = static_cast<const char*>(
                    std::memchr(at, '\n', static_cast<std::size_t>(end - at)))) != nullptr) {
            ++read.lines;
            ++at;
        }
    }
    std::fclose(stream);
    return true;
}
