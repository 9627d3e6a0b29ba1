#include "tools/mkdata/gb2312.h"

#include <iconv.h>

#include <stdexcept>
#include <vector>

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv: no ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Convert(const std::string& text) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> in(text.begin(), text.end());
        std::vector<char> out(text.size() * 2 + 8);
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        return std::string(out.data(), out.size() - outLeft);
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> Gb2312Hanzi(const std::string& utf8) {
    thread_local Converter converter("GB2312", "UTF-8");  // one a thread: iconv keeps state
    if (utf8.empty()) return std::nullopt;
    auto gb = converter.Convert(utf8);
    if (!gb || gb->size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < gb->size(); i += 2) {
        const auto high = static_cast<unsigned char>((*gb)[i]);
        const auto low = static_cast<unsigned char>((*gb)[i + 1]);
        if (high < 0xB0 || high > 0xF7 || low < 0xA1 || low > 0xFE) return std::nullopt;
    }
    return gb;
}

std::uint16_t GbCodeAt(const std::string& gb, std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(gb[i]) * 256 +
                                      static_cast<unsigned char>(gb[i + 1]));
}

std::string Gb2312Utf8(std::uint16_t code) {
    thread_local Converter converter("UTF-8", "GB2312");
    const char gb[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    return converter.Convert(std::string(gb, 2)).value_or("");
}
