#include "data/lesson_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace {

using lesson_file::ReadRange;
using lesson_file::ReadStatus;

class ReadRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One file per case: ctest may run the cases side by side.
        path_ = std::string("read_range_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
        bytes_.resize(1000);
        std::iota(bytes_.begin(), bytes_.end(), 0);
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(bytes_.data(), 1, bytes_.size(), file), bytes_.size());
        std::fclose(file);
    }
    void TearDown() override { std::remove(path_.c_str()); }

    std::string path_;
    std::vector<std::uint8_t> bytes_;
};

TEST_F(ReadRangeTest, ReadsExactlyTheRange) {
    const auto result = ReadRange(path_, 300, 40);
    ASSERT_EQ(result.status, ReadStatus::Ok);
    EXPECT_EQ(result.bytes, std::vector<std::uint8_t>(bytes_.begin() + 300, bytes_.begin() + 340));

    const auto tail = ReadRange(path_, 990, 10);
    ASSERT_EQ(tail.status, ReadStatus::Ok);
    EXPECT_EQ(tail.bytes.back(), bytes_.back());

    EXPECT_EQ(ReadRange(path_, 1000, 0).status, ReadStatus::Ok);
}

TEST_F(ReadRangeTest, ShortWhenTheFileEndsBeforeTheRange) {
    EXPECT_EQ(ReadRange(path_, 990, 11).status, ReadStatus::Short);
    EXPECT_EQ(ReadRange(path_, 1001, 0).status, ReadStatus::Short);
    EXPECT_EQ(ReadRange(path_, 662038, 1).status, ReadStatus::Short);
    // Neither a huge length nor a huge offset is attempted.
    EXPECT_EQ(ReadRange(path_, 0, std::numeric_limits<std::size_t>::max()).status,
              ReadStatus::Short);
    const auto far = ReadRange(path_, std::numeric_limits<std::uint64_t>::max(), 1);
    EXPECT_EQ(far.status, ReadStatus::Short);
    EXPECT_TRUE(far.bytes.empty());
}

TEST(ReadRange, CannotOpenAMissingFile) {
    const auto result = ReadRange("no_such_dir/zw.dat", 0, 1);
    EXPECT_EQ(result.status, ReadStatus::CannotOpen);
    EXPECT_TRUE(result.bytes.empty());
}

}  // namespace
