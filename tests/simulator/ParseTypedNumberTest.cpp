#include "simulator/ParseTypedNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseTypedNumber, PrefixesSignsAndWholeTextRule) {
    struct Row {
        const char* text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"", std::nullopt},
        {"0", 0},
        {"0x", 0},
        {"19", 19},
        {"0x1F", 31},
        {"0xff", 255},
        {"0X1F", std::nullopt}, // only a lower-case x makes hexadecimal
        {"017", 15},
        {"08", std::nullopt},
        {"0x1G", std::nullopt},
        {"12ab", std::nullopt},
        {"1.5", std::nullopt},
        {" 12", 12},
        {"12 ", std::nullopt},
        {"-5", -5},
        {"+7", 7},
        {"-", std::nullopt},
        {" ", std::nullopt},
        {"0x-10", -16},
        {"0 12", 10}, // blanks after the octal prefix are skipped like any leading blanks
        {"abc", std::nullopt},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"0x7fffffff", 2147483647},
        {"0xffffffff", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"0177777", 65535},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseTypedNumber(row.text), row.value) << '"' << row.text << '"';
    }
}

} // namespace
