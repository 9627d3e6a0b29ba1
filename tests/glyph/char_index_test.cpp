#include "glyph/char_index.h"

#include <gtest/gtest.h>

namespace {

TEST(CharIndex, DecodesEntriesWrittenByHand) {
    struct Case {
        CharIndexEntry stored;
        std::int32_t code, size;
    };
    const Case cases[] = {
        // 4140 % 7 = 3: 138969 / 3 = 46323 (0xB4F3); 46323 % 9 = 0, so 4140 / 9.
        {{138969, 4140}, 0xB4F3, 460},
        // -10 % 7 = -3 (the dividend's sign): 100 / -3 = -33 (toward zero);
        // -33 % 9 = -6: -10 / -6 = 1. Floored arithmetic would give (25, -2).
        {{100, -10}, -33, 1},
        // 5600 % 7 = 0, so m7 = 7: 338366 / 7 = 48338 (0xBCD2); 48338 % 9 = 8: 5600 / 8.
        {{338366, 5600}, 0xBCD2, 700},
    };
    for (const Case& c : cases) {
        const CharIndexDecoded decoded = DecodeCharIndexEntry(c.stored);
        EXPECT_EQ(decoded.code, c.code) << c.stored.scaledCode;
        EXPECT_EQ(decoded.size, c.size) << c.stored.scaledCode;
    }
}

}  // namespace
