#include "tests/glyph/font_dir.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

FontDir::FontDir() : previous_(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "tf_font_XXXXXX").string();
    if (!mkdtemp(name.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = name;
    std::filesystem::create_directory(path_ / "dat");
    std::filesystem::current_path(path_);
}

FontDir::~FontDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void FontDir::WriteFont(const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(path_ / "dat" / "hzk24k.dat", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
