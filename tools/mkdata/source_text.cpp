#include "tools/mkdata/source_text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return out.str();
}

std::optional<std::string> TemplateStringText(const std::string& module) {
    const std::size_t open = module.find('`');
    if (open == std::string::npos) return std::nullopt;
    std::string text;
    for (std::size_t i = open + 1; i < module.size(); ++i) {
        const char c = module[i];
        if (c == '`') return text;
        if (c == '\\' && i + 1 < module.size()) {
            const char next = module[++i];
            switch (next) {
                case 'n':
                    text += '\n';
                    break;
                case 't':
                    text += '\t';
                    break;
                case '\n':
                    break;  // line continuation
                default:
                    text += next;
                    break;
            }
            continue;
        }
        text += c;
    }
    return std::nullopt;  // unterminated
}

std::optional<std::string> CommandOutput(const std::string& command) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    if (status != 0) return std::nullopt;
    return out;
}

std::vector<char32_t> DecodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    auto refuse = [&text](std::size_t at, std::size_t count, const std::string& why) {
        std::string bytes;
        char hex[4];
        for (std::size_t k = at; k < at + count; ++k) {
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(text[k]));
            bytes += (k == at ? "" : " ") + std::string(hex);
        }
        throw std::runtime_error("invalid UTF-8: " + bytes + " at byte " + std::to_string(at) +
                                 " " + why);
    };
    auto name = [](char32_t code) {
        char buffer[12];
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
        return std::string(buffer);
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC0 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF8 ? 4
                                                 : 0;
        if (length == 0)
            refuse(i, 1,
                   lead < 0xC0 ? "is a continuation byte without a lead byte"
                               : "never occurs in UTF-8");
        char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k == text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                refuse(i, k, "is cut short");
            code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length]) refuse(i, length, "is an overlong form of " + name(code));
        if (code >= 0xD800 && code <= 0xDFFF) refuse(i, length, "is the surrogate " + name(code));
        if (code > 0x10FFFF) refuse(i, length, "is " + name(code) + ", past U+10FFFF");
        out.push_back(code);
        i += length;
    }
    return out;
}

std::string EncodeUtf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (end < text.size() || !line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

void WriteWholeFile(const std::string& path, const void* bytes, std::size_t size) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        if (!out) throw std::runtime_error("cannot write " + temporary);
    }
    std::filesystem::rename(temporary, path);
}
