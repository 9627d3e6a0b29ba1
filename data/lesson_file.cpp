#include "data/lesson_file.h"

#include <sys/types.h>

#include <cstdio>
#include <limits>
#include <memory>

namespace lesson_file {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

ReadResult ReadRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    ReadResult result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return result;
    result.status = ReadStatus::Short;

    // The size is known before anything is allocated, so a range beyond the
    // end never asks for its length in memory.
    if (fseeko(file.get(), 0, SEEK_END) != 0) return result;
    const off_t end = ftello(file.get());
    if (end < 0) return result;
    const auto size = static_cast<std::uint64_t>(end);
    if (offset > size || length > size - offset) return result;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return result;
    if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return result;

    std::vector<std::uint8_t> bytes(length);
    if (std::fread(bytes.data(), 1, length, file.get()) != length) return result;
    result.status = ReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace lesson_file
