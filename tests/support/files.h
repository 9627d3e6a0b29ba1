// Whole files as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// The bytes of the file at path; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
