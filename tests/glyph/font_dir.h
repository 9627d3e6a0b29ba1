// A fresh folder the test works in, so the renderer's relative dat/hzk24k.dat is
// the test's own. Restores the working directory and removes the folder after.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

class FontDir {
public:
    FontDir();
    ~FontDir();
    FontDir(const FontDir&) = delete;
    FontDir& operator=(const FontDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes bytes as dat/hzk24k.dat.
    void WriteFont(const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
