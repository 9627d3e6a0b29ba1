// Fixed texts that name the product.
#pragma once

inline constexpr const char* kSupportEmail = "help@tallowfern.example";
inline constexpr const char* kCopyright = "Copyright (C) 2026 The TallowFern developers";
