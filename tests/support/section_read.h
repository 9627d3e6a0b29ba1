// What any scan of the dictionary must do at least, for the benchmarks.
#pragma once

#include <cstdint>

struct SectionRead {
    std::int64_t bytes = 0;  // read from the section's start to the end of the file
    std::int64_t lines = 0;  // newlines among them
};

// Opens the lesson file at path, seeks to the dictionary section, reads it in
// 64 KiB blocks and counts its newlines. False when the file cannot be opened.
bool ReadDictionarySection(const char* path, SectionRead& read);
