// LeerCifra, grouped by what can go wrong: texts that are numbers, texts that
// are not, the double chosen for a decimal (correct rounding, never digit by
// digit accumulation), the edges of the double range and very long texts.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/number_text.h"

namespace tavolen {
namespace {

struct ReadCase {
    std::string_view text;
    double expected;
};

std::string Printable(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += c;
        }
    }
    return shown.size() > 80 ? shown.substr(0, 40) + "..." + shown.substr(shown.size() - 20)
                             : shown;
}

// Compares bit for bit: the nearest double, not merely a close one, and the
// sign of a zero.
void ExpectReads(const std::vector<ReadCase>& cases) {
    for (const ReadCase& c : cases) {
        const std::optional<double> read = LeerCifra(c.text);
        ASSERT_TRUE(read.has_value()) << "\"" << Printable(c.text) << "\" should be a number";
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*read), std::bit_cast<std::uint64_t>(c.expected))
            << "\"" << Printable(c.text) << "\" read " << std::hexfloat << *read << ", expected "
            << c.expected;
    }
}

void ExpectNotNumbers(const std::vector<std::string_view>& texts) {
    for (const std::string_view text : texts) {
        const std::optional<double> read = LeerCifra(text);
        EXPECT_FALSE(read.has_value()) << "\"" << Printable(text) << "\" read as " << *read;
    }
}

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kSmallestSubnormal = std::numeric_limits<double>::denorm_min();

TEST(LeerCifraNumbers, EveryShapeOfTheGrammarReads) {
    // clang-format off
    ExpectReads({
        {"1.234,500", 1234.5},  // groups and a decimal comma
        {"1234,5",    1234.5},  // grouping is optional
        {"5,",        5.0},     // empty decimal part
        {",5",        0.5},     // empty integer part
        {"-,5",       -0.5},
        {"-5",        -5.0},
        {".5",        5.0},     // "." only groups: this is five
        {"-.5",       -5.0},
        {"1..2",      12.0},    // any number of points, anywhere among the integer digits
        {"..1..,",    1.0},
        {"1.2.3.4",   1234.0},  // points need not stand every three digits
        {"1.,5",      1.5},     // a point right before the comma is still in the integer part
        {"000123",    123.0},   // leading zeros carry no value
        {"0,000",     0.0},     // the zero text of txtV1
        {"0,0000",    0.0},
        {"0",         0.0},
        {"0,1",       0.1},     // the double nearest to 0.1
        {"20,0000",   20.0},
        {"-1.234,5000", -1234.5},
    });
    // clang-format on
}

TEST(LeerCifraNegativeZero, AMinusZeroReadsAsZero) {
    for (const std::string_view text : {"-0", "-0,0000", "-,0", "-0,", "-.0"}) {
        const std::optional<double> read = LeerCifra(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(*read, 0.0) << text;  // -0.0 == 0.0: a zero for every test of the fields
    }
}

TEST(LeerCifraMalformedTexts, TextsOutsideTheGrammarAreNotNumbers) {
    // clang-format off
    ExpectNotNumbers({
        "",         // empty
        ",",        // no digit
        "-",
        "-,",
        ".",        // a point alone has no digit either
        "..",
        "-.",
        ".,",
        "1,2,3",    // a second comma
        "1,,2",
        "5-",       // a minus that is not first
        "1-2",
        "--1",      // a second minus
        "1,-2",
        "1,2.3",    // a point after the comma
        "5,.",
        ",.",
        "12a",      // a letter
        "a12",
    });
    // clang-format on
}

TEST(LeerCifraMalformedTexts, WhatLibraryParsersAcceptIsNotANumberHere) {
    // clang-format off
    ExpectNotNumbers({
        " 1",        // leading space (strtod skips it)
        "1 ",        // trailing space
        "1 000",     // a space as group separator
        "+1",        // plus sign
        "+,5",
        "1e5",       // exponents
        "1E5",
        "1,5e3",
        "inf",       // words that strtod and from_chars accept
        "-inf",
        "infinity",
        "nan",
        "NaN",
        "0x10",      // hexadecimal
        "0x1p3",
        "1.5f",      // a suffix
        "\t1",
        "1\n",
        "1_000",
    });
    // clang-format on
}

TEST(LeerCifraMalformedTexts, NonAsciiAndEmbeddedNulAreNotNumbers) {
    using namespace std::string_view_literals;
    // clang-format off
    ExpectNotNumbers({
        "\xef\xbc\x91"sv,        // FULLWIDTH DIGIT ONE
        "\xd9\xa3"sv,            // ARABIC-INDIC DIGIT THREE
        "1\xc2\xa0" "000"sv,     // a no-break space as group separator
        "1\xe2\x80\xaf" "000"sv, // a narrow no-break space
        "1,5\xe2\x82\xac"sv,     // a euro sign after the number
        "\xe2\x88\x92" "5"sv,    // MINUS SIGN instead of "-"
        "\xff"sv,                // not even UTF-8
        "1\x80"sv,
        "\0"sv,                  // NUL alone
        "1\0"sv,                 // NUL after a number: no C-string reading may stop there
        "1,\0" "5"sv,
        "\0" "1"sv,
    });
    // clang-format on
}

TEST(LeerCifraCorrectRounding, TheValueIsTheDoubleNearestToTheWholeDecimal) {
    // clang-format off
    ExpectReads({
        {"9007199254740993",          9007199254740992.0},  // 2^53 + 1: a tie, to the even 2^53
        {"9007199254740995",          9007199254740996.0},  // tie, to even upwards
        {"9.007.199.254.740.993,0000000000000000001", 9007199254740994.0},  // just past the tie
        {"0,1000000000000000055511151231257827021181583404541015625", 0.1},  // the exact value of 0.1
        {"1,00000000000000011102230246251565404236316680908203125", 1.0},  // exactly half an ulp above 1: to even
        {"1,00000000000000011102230246251565404236316680908203126", 1.0000000000000002},  // just past it
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"0,30000000000000004",       0.30000000000000004},  // 0.1 + 0.2
        {"2,2250738585072011",        2.2250738585072011},
        {"1.234.567,891",             1234567.891},
    });
    // clang-format on
}

TEST(LeerCifraRangeLimits, BeyondTheLargestDoubleFailsAndBelowTheSmallestRoundsToNearest) {
    const std::string max_text =
        "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558"
        "632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245"
        "490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168"
        "738177180919299881250404026184124858368";
    ASSERT_EQ(max_text.size(), 309u);
    const std::string zeros_292(292, '0');
    const std::string below_smallest =
        "0," + std::string(323, '0');  // 10^-324 after one more digit
    // clang-format off
    ExpectReads({
        {max_text,                                  kMax},   // exactly the largest double
        {max_text + ",999",                         kMax},   // a little above, still nearest to it
        {"17976931348623158" + zeros_292,           kMax},   // below the midpoint to 2^1024
        {"-17976931348623158" + zeros_292,          -kMax},
        {below_smallest + "5",                      kSmallestSubnormal},   // 5e-324
        {below_smallest + "3",                      kSmallestSubnormal},   // 3e-324: above half of it
        {"-" + below_smallest + "5",                -kSmallestSubnormal},
        {below_smallest + "2",                      0.0},     // 2e-324: below half, the nearest is 0
        {"-" + below_smallest + "2",                -0.0},    // negated: the nearest is -0
        {"0," + std::string(400, '0') + "1",        0.0},     // 1e-401
        {"0," + std::string(307, '0') + "22250738585072011", 0x0.fffffffffffffp-1022},  // largest subnormal
        {"0," + std::string(307, '0') + "22250738585072014", 0x1p-1022},                // smallest normal
    });
    // clang-format on
    // clang-format off
    ExpectNotNumbers({
        "17976931348623159" + zeros_292,        // past the midpoint: it would round to infinity
        "-17976931348623159" + zeros_292,
        "1" + std::string(309, '0'),            // 10^309
        "179769313486232" + std::string(294, '0'),  // the 15-digit text of the largest double lies past it
        "1" + std::string(400, '0') + ",5",
    });
    // clang-format on
}

TEST(LeerCifraLongTexts, ThousandsOfDigitsAreReadExactly) {
    const std::string many_zeros(100000, '0');
    std::string grouped_ones = "1";
    for (int i = 0; i < 100; ++i) {
        grouped_ones += ".000";  // 10^300 written with 100 groups
    }
    // clang-format off
    ExpectReads({
        {many_zeros + "1",                               1.0},     // 100,000 leading zeros
        {many_zeros + "," + many_zeros,                  0.0},
        {"1," + many_zeros,                              1.0},     // 100,000 trailing zeros
        {"1," + std::string(5000, '9'),                  2.0},     // 1.999...9 is nearest to 2
        {"9007199254740993," + many_zeros + "1",         9007199254740994.0},  // the last digit breaks the tie
        {"9007199254740993," + many_zeros,               9007199254740992.0},  // without it, a tie: to even
        {grouped_ones,                                   1e300},
        {"0," + many_zeros + "5",                        0.0},     // far below the smallest double
        {std::string(200000, '.') + "7",                 7.0},     // points carry no value, however many
    });
    // clang-format on
    // clang-format off
    ExpectNotNumbers({
        "1" + many_zeros,                 // 10^100000
        many_zeros + "," + many_zeros + ",",
        many_zeros + "x",
    });
    // clang-format on
}

}  // namespace
}  // namespace tavolen
