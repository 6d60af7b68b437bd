// FormatearCifra, grouped by what can go wrong. Every expected text is worked
// out from the rule: the double's nearest 15-significant-digit decimal (ties to
// even), then N decimals with halves away from zero, then grouping and sign.

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/number_text.h"
#include "tests/engine/number_text_reference.h"

namespace tavolen {
namespace {

struct FormatCase {
    double value;
    std::string_view pattern;
    std::string_view expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases) {
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatearCifra(c.value, c.pattern), c.expected)
            << "value " << c.value << " (" << std::hexfloat << c.value << std::defaultfloat
            << ") pattern \"" << c.pattern << "\"";
    }
}

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kSmallestSubnormal = std::numeric_limits<double>::denorm_min();

TEST(FormatearCifraZero, EachPatternWritesItsZeroText) {
    // clang-format off
    ExpectFormats({
        {0.0, kPatronEntero,      "0"},               // no decimals, not even the comma
        {0.0, kPatron2Decimales,  "0,00"},
        {0.0, kPatron3Decimales,  "0,000"},           // zero text of txtV1 and txtP1
        {0.0, kPatron4Decimales,  "0,0000"},          // zero text of every other control
        {0.0, kPatron6Decimales,  "0,000000"},
        {0.0, kPatron8Decimales,  "0,00000000"},
        {0.0, kPatron12Decimales, "0,000000000000"},
    });
    // clang-format on
}

TEST(FormatearCifraPatterns, OneValueUnderEachOfTheSevenPatterns) {
    // 1234567.891 is 1234567.89100000006...; its 15-digit form is 1234567.89100000.
    // clang-format off
    ExpectFormats({
        {1234567.891, kPatronEntero,      "1.234.568"},               // ,891 rounds up
        {1234567.891, kPatron2Decimales,  "1.234.567,89"},            // ,891 -> ,89
        {1234567.891, kPatron3Decimales,  "1.234.567,891"},
        {1234567.891, kPatron4Decimales,  "1.234.567,8910"},          // trailing zeros kept
        {1234567.891, kPatron6Decimales,  "1.234.567,891000"},
        {1234567.891, kPatron8Decimales,  "1.234.567,89100000"},
        {1234567.891, kPatron12Decimales, "1.234.567,891000000000"},  // the 6.1e-8 tail is past 15 digits
    });
    // clang-format on
}

TEST(FormatearCifraPatterns, AnyNumberOfDecimalsUpToTwenty) {
    // clang-format off
    ExpectFormats({
        {1.45,       "##,##0.0",                   "1,5"},                     // 1.4499999... is 1.45 in 15 digits
        {1.23456789, "##,##0.00000",               "1,23457"},                 // 5 decimals, ...789 rounds up
        {0.1,        "##,##0.000000000000000",     "0,100000000000000"},       // 15 decimals
        {0.1,        "##,##0.00000000000000000000", "0,10000000000000000000"}, // 0.1000000000000000055 shows no 55
        {1.0 / 3.0,  "##,##0.00000000000000000000", "0,33333333333333300000"}, // 15 significant threes, then zeros
        {1e-20,      "##,##0.00000000000000000000", "0,00000000000000000001"}, // 9.99...e-21 is 1e-20 in 15 digits
        {5e-21,      "##,##0.00000000000000000000", "0,00000000000000000001"}, // below the half as a double, a half in 15 digits
    });
    // clang-format on
}

TEST(FormatearCifraGrouping, PointsEveryThreeDigitsFromTheRight) {
    // clang-format off
    ExpectFormats({
        {999.0,       kPatronEntero,     "999"},          // three digits: no point
        {1000.0,      kPatronEntero,     "1.000"},        // the fourth digit opens a group
        {1234.0,      kPatronEntero,     "1.234"},
        {12345.678,   kPatron2Decimales, "12.345,68"},    // a first group of two
        {123456.0,    kPatronEntero,     "123.456"},      // a first group of three
        {1000000.0,   kPatronEntero,     "1.000.000"},
        {-1234.5,     kPatron4Decimales, "-1.234,5000"},  // the sign stands before the first group
        {0.5,         kPatron4Decimales, "0,5000"},       // a zero integer part is one "0"
    });
    // clang-format on
}

TEST(FormatearCifraHalves, ExactHalvesGoAwayFromZero) {
    // clang-format off
    ExpectFormats({
        {0.5,   kPatronEntero,     "1"},      // not to even (0)
        {1.5,   kPatronEntero,     "2"},
        {2.5,   kPatronEntero,     "3"},      // to even would give 2
        {8.5,   kPatronEntero,     "9"},      // to even would give 8
        {-2.5,  kPatronEntero,     "-3"},     // away from zero on the negative side too
        {-0.5,  kPatronEntero,     "-1"},
        {0.125, kPatron2Decimales, "0,13"},   // exact binary half; to even would give 0,12
        {0.375, kPatron2Decimales, "0,38"},
    });
    // clang-format on
}

TEST(FormatearCifraHalves, DoublesJustBelowAHalfCountAsTheHalf) {
    // Each double lies below the decimal half, but its 15-digit form is the half
    // itself; printf("%.Nf") and round(x * 10^N) round these down.
    // clang-format off
    ExpectFormats({
        {2.00005,    kPatron4Decimales,  "2,0001"},          // 2.0000499999999998834...
        {1.005,      kPatron2Decimales,  "1,01"},            // 1.0049999999999998934...
        {2.675,      kPatron2Decimales,  "2,68"},            // 2.6749999999999998223...
        {0.045,      kPatron2Decimales,  "0,05"},            // 0.0449999999999999983...
        {1.0005,     kPatron3Decimales,  "1,001"},           // 1.0004999999999999449...
        {1.45,       "##,##0.0",         "1,5"},             // 1.4499999999999999555...
        {5e-13,      kPatron12Decimales, "0,000000000001"},  // 4.9999999999999998994e-13
        {-5e-13,     kPatron12Decimales, "-0,000000000001"}, // the same, negative
        {-1.005,     kPatron2Decimales,  "-1,01"},
    });
    // clang-format on
}

TEST(FormatearCifraHalves, FifteenDigitFormsJustBelowAHalfRoundDown) {
    // Here the 15th digit itself sits below the half: no double rounding through
    // fewer digits may push them up.
    // clang-format off
    ExpectFormats({
        {2.00004999999999,     kPatron4Decimales,  "2,0000"},          // 15-digit form 2.00004999999999
        {0.00049999999999,     kPatron3Decimales,  "0,000"},
        {4.99999999999999e-13, kPatron12Decimales, "0,000000000000"},  // just under the smallest nonzero text
        {0.49999999999999,     kPatronEntero,      "0"},
    });
    // clang-format on
}

TEST(FormatearCifraCarry, RoundingCarriesAcrossDigitsAndGroups) {
    // clang-format off
    ExpectFormats({
        {9.5,       kPatronEntero,     "10"},           // a new digit
        {999.5,     kPatronEntero,     "1.000"},        // a new group
        {-999.5,    kPatronEntero,     "-1.000"},
        {999999.5,  kPatronEntero,     "1.000.000"},    // carry through two groups
        {0.99995,   kPatron4Decimales, "1,0000"},       // carry from the decimals into the integer
        {999.99995, kPatron4Decimales, "1.000,0000"},   // 999.99995000000001...: carry into a new group
        {99999.995, kPatron2Decimales, "100.000,00"},   // 99999.994999999995...: a half in 15 digits
        {9.9999999, kPatron6Decimales, "10,000000"},
    });
    // clang-format on
}

TEST(FormatearCifraNegativeZero, TheSignFollowsTheValueNotTheDigits) {
    // clang-format off
    ExpectFormats({
        {-0.0,                kPatron4Decimales,  "0,0000"},           // -0.0 is not negative
        {-0.0,                kPatronEntero,      "0"},
        {-0.0,                kPatron12Decimales, "0,000000000000"},
        {-0.00004,            kPatron4Decimales,  "-0,0000"},          // negative, rounds to zero
        {-0.4,                kPatronEntero,      "-0"},
        {-4e-13,              kPatron12Decimales, "-0,000000000000"},
        {-1e-300,             kPatron4Decimales,  "-0,0000"},
        {-kSmallestSubnormal, kPatronEntero,      "-0"},               // the smallest negative double
        {kSmallestSubnormal,  kPatron12Decimales, "0,000000000000"},   // positive: no sign
    });
    // clang-format on
}

TEST(FormatearCifraRoundToEvenTies, ExactSixteenDigitHalvesGoToTheEvenFifteenDigitForm) {
    // These doubles are exact decimals of 16 significant digits ending in 5, so
    // the first step has a true tie; it goes to the even neighbour.
    // clang-format off
    ExpectFormats({
        {100000000000000.5,  kPatronEntero,     "100.000.000.000.000"},      // ...000 is even, not ...001
        {100000000000001.5,  kPatronEntero,     "100.000.000.000.002"},      // ...002 is even
        {100000000000002.5,  kPatron4Decimales, "100.000.000.000.002,0000"}, // stays at ...002
        {-100000000000000.5, kPatronEntero,     "-100.000.000.000.000"},
        {12345678901234.25,  kPatron4Decimales, "12.345.678.901.234,2000"},  // ,25 -> ,2 in 15 digits, not ,3
        {12345678901234.75,  kPatron4Decimales, "12.345.678.901.234,8000"},  // ,75 -> ,8 (even)
        {1000000000000005.0, kPatronEntero,     "1.000.000.000.000.000"},    // tie between ...000 and ...010
        {1000000000000015.0, kPatronEntero,     "1.000.000.000.000.020"},    // tie between ...010 and ...020
        {1000000000000025.0, kPatronEntero,     "1.000.000.000.000.020"},    // tie between ...020 and ...030
        {999999999999999.5,  kPatronEntero,     "1.000.000.000.000.000"},    // 999...999 is odd: up to 10^15
    });
    // clang-format on
}

TEST(FormatearCifraHugeValues, EveryIntegerDigitIsWrittenAndPositionsPastFifteenAreZeros) {
    // clang-format off
    ExpectFormats({
        {1e20,                 kPatron3Decimales,  "100.000.000.000.000.000.000,000"},
        {123456789012345678.0, kPatronEntero,      "123.456.789.012.346.000"},       // 15th digit rounded up
        {9007199254740992.0,   kPatronEntero,      "9.007.199.254.740.990"},         // 2^53: the 16th digit 2 drops
        {1e15,                 kPatronEntero,      "1.000.000.000.000.000"},
        {-1e40,                kPatron12Decimales, "-10.000.000.000.000.000.000.000.000.000.000.000.000.000,000000000000"},  // 41 digits
    });
    // clang-format on
}

TEST(FormatearCifraHugeValues, TheLargestDoublesAreWrittenInFull) {
    // 1.7976931348623157e308 has 309 integer digits; its 15-digit form is
    // 179769313486232 followed by 294 zeros.
    const std::string max_digits = "179769313486232" + std::string(294, '0');
    const std::string max_grouped = reference::GroupThousands(max_digits);
    ASSERT_EQ(max_grouped.size(), 309u + 102u);  // 309 digits and 102 points
    // clang-format off
    ExpectFormats({
        {kMax,  kPatronEntero,      max_grouped},
        {kMax,  kPatron12Decimales, max_grouped + ",000000000000"},
        {-kMax, kPatron4Decimales,  "-" + max_grouped + ",0000"},
        {1e308, kPatronEntero,      reference::GroupThousands("1" + std::string(308, '0'))},
    });
    // clang-format on
}

TEST(FormatearCifraPatternsOutsideTheFamilyDeathTest, AreCaughtByAnAssertionInDebugBuilds) {
    // Only "##,##0" with optionally "." and up to twenty zeros is a pattern; a
    // caller passing anything else has made a programming error.
    EXPECT_DEBUG_DEATH(FormatearCifra(1.5, "0.00"), "");
    EXPECT_DEBUG_DEATH(FormatearCifra(1.5, "##,##0,00"), "");
    EXPECT_DEBUG_DEATH(FormatearCifra(1.5, "##,##0.0#"), "");
    EXPECT_DEBUG_DEATH(FormatearCifra(1.5, "##,##0." + std::string(21, '0')), "");
}

}  // namespace
}  // namespace tavolen
