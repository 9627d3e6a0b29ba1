// The product's home page, kept masked in the program.
#pragma once

#include <string>

inline constexpr int kHomePageLength = 25;
inline constexpr int kHomePageMaskLength = 30;

// Restores the working copy from the pristine masked string and unmasks it.
std::string UnmaskHomePage();
