// Reading the source files of the lesson data: whole files, the text held in
// a JavaScript module's template string, and UTF-8 decoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The text of the first template string (`...`) of a JavaScript module such as
// "module.exports = `...`;", with the escapes \\, \` and \$ resolved.
std::optional<std::string> TemplateStringText(const std::string& module);

// The output of a shell command, or nullopt when it fails.
std::optional<std::string> CommandOutput(const std::string& command);

// UTF-8 text as code points. Throws std::runtime_error, naming the bytes and
// their offset, at a stray or never-used byte, a sequence cut short, an
// overlong form, a surrogate or a code point past U+10FFFF.
std::vector<char32_t> DecodeUtf8(const std::string& text);
std::string EncodeUtf8(char32_t code);

// Splits text at '\n' (a '\r' before it is dropped).
std::vector<std::string> SplitLines(const std::string& text);
// The parts of text between separators, empty ones included ("a\t\tb" has three).
std::vector<std::string> Split(const std::string& text, char separator);

// Writes the file whole through a temporary beside it, so that a failed run
// leaves no half-written file; throws std::runtime_error when it cannot.
void WriteWholeFile(const std::string& path, const void* bytes, std::size_t size);
