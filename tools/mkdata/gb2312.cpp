#include "tools/mkdata/gb2312.h"

#include <iconv.h>

#include <stdexcept>
#include <vector>

namespace {

class Utf8ToGb2312 {
public:
    Utf8ToGb2312() : cd_(iconv_open("GB2312", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no GB2312");
    }
    ~Utf8ToGb2312() { iconv_close(cd_); }
    Utf8ToGb2312(const Utf8ToGb2312&) = delete;
    Utf8ToGb2312& operator=(const Utf8ToGb2312&) = delete;

    std::optional<std::string> Convert(const std::string& utf8) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> in(utf8.begin(), utf8.end());
        std::vector<char> out(utf8.size() * 2 + 8);
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
    static Utf8ToGb2312 converter;
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
