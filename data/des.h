// The DES variant of the stroke-order records: FIPS 46-3 with its own byte
// order (little-endian 32-bit halves), two changed S-box entries and round-key
// bits 25-48 taken one position further along the key register.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kDesEncrypt = 1;
inline constexpr int kDesDecrypt = 2;
inline constexpr const char* kStrokeOrderKey = "hijklmnPqrs";

// The S-boxes and round-key selection a key schedule is built with: the
// variant's, which the program uses, or those of FIPS 46-3, for checking the
// cipher against a reference.
enum class DesTables { Variant, Standard };

// Builds the module-level key schedule from the first 8 bytes of key (a shorter
// zero-terminated key counts as padded with zero bytes).
void DesSetKey(const char* key, DesTables tables = DesTables::Variant);
// Enciphers 8 bytes in place with the current schedule (kDesEncrypt or kDesDecrypt;
// any other direction leaves the block unchanged).
void DesBlock(std::uint8_t* block, int direction);
// DesSetKey(key), then decrypts each whole 8-byte block; a final partial block is
// left unchanged. Returns 0.
int DesDecryptBuffer(std::uint8_t* buffer, const char* key, std::size_t length);

// The current round keys, bit j (1-48) of key n (1-16) at bit 48 - j of
// DesRoundKey(n); 0 for any other n.
std::uint64_t DesRoundKey(int round);
