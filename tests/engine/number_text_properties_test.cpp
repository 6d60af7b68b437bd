// Properties of FormatearCifra and LeerCifra over seeded random corpora of
// 100,000 values each, across everything the window can produce (magnitudes
// from 1e-13 to 1e40, both signs), compared with the slow reference of
// number_text_reference.h and checked for the shape of every text.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/number_text.h"
#include "tests/engine/number_text_reference.h"

namespace tavolen {
namespace {

constexpr int kCorpusSize = 100000;
// The corpora of formatted values give each value one of the seven patterns in
// turn, 20,000 values per pattern, which keeps the suite fast under the sanitizers.
constexpr int kFormattedCorpusSize = 140000;

struct Pattern {
    std::string_view text;
    int decimals;
};
constexpr std::array<Pattern, 7> kPatterns = {{
    {kPatronEntero, 0},
    {kPatron2Decimales, 2},
    {kPatron3Decimales, 3},
    {kPatron4Decimales, 4},
    {kPatron6Decimales, 6},
    {kPatron8Decimales, 8},
    {kPatron12Decimales, 12},
}};

// Log-uniform magnitudes from 1e-13 to 1e40, each sign half the time.
std::vector<double> WindowRangeCorpus(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> exponent(-13.0, 40.0);
    std::bernoulli_distribution negative(0.5);
    std::vector<double> values(kFormattedCorpusSize);
    for (double& v : values) {
        v = std::pow(10.0, exponent(random));
        if (negative(random)) {
            v = -v;
        }
    }
    return values;
}

bool IsZeroText(std::string_view text) {
    return text.find_first_not_of("-0.,") == std::string_view::npos;
}

// Digits past the 15th significant one are all zeros.
bool HasAtMostFifteenSignificantDigits(std::string_view text) {
    int significant = 0;
    for (const char c : text) {
        if (!reference::IsDigit(c)) {
            continue;
        }
        if (significant > 0 || c != '0') {
            ++significant;
        }
        if (significant > 15 && c != '0') {
            return false;
        }
    }
    return true;
}

TEST(NumberTextProperties, EveryTextMatchesTheReferenceAndHasTheShapeOfADisplayText) {
    const std::vector<double> corpus = WindowRangeCorpus(1);
    int failures = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        const double value = corpus[i];
        const Pattern& p = kPatterns[i % kPatterns.size()];
        const std::string text = FormatearCifra(value, p.text);
        const bool ok = text == reference::Format(value, p.decimals) &&
                        reference::IsDisplayText(text, p.decimals) &&
                        (text[0] == '-') == (value < 0) && HasAtMostFifteenSignificantDigits(text);
        if (!ok && ++failures <= 10) {
            ADD_FAILURE() << std::hexfloat << value << std::defaultfloat << " (" << value
                          << ") with \"" << p.text << "\" gave \"" << text << "\", the reference \""
                          << reference::Format(value, p.decimals) << "\"";
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(NumberTextProperties, ReadingATextGivesTheValueItShowsAndFormattingThatGivesTheTextAgain) {
    const std::vector<double> corpus = WindowRangeCorpus(2);
    int failures = 0;
    for (std::size_t i = 0; i < corpus.size(); ++i) {
        const double value = corpus[i];
        const Pattern& p = kPatterns[i % kPatterns.size()];
        const std::string text = FormatearCifra(value, p.text);
        const std::optional<double> read = LeerCifra(text);
        const std::optional<double> expected = reference::Read(text);
        // "-0,0000" shows a negative value that rounds to zero; it reads as
        // zero, whose text has no sign.
        const std::string_view again_expected = IsZeroText(text) && text[0] == '-'
                                                    ? std::string_view(text).substr(1)
                                                    : std::string_view(text);
        const bool ok =
            read.has_value() && expected.has_value() &&
            std::bit_cast<std::uint64_t>(*read) == std::bit_cast<std::uint64_t>(*expected) &&
            FormatearCifra(*read, p.text) == again_expected;
        if (!ok && ++failures <= 10) {
            ADD_FAILURE() << value << " with \"" << p.text << "\" -> \"" << text << "\" read as "
                          << (read ? std::to_string(*read) : "nothing") << ", expected "
                          << (expected ? std::to_string(*expected) : "nothing");
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(NumberTextProperties, DecimalHalvesJustBelowAsDoublesStillRoundAwayFromZero) {
    // Values typed as d...d5 with one decimal more than the pattern shows: the
    // double nearest to them lies above or below the half at random, but the
    // 15-digit form is the half itself, so the text always rounds away from zero.
    std::mt19937_64 random(3);
    std::uniform_int_distribution<std::int64_t> mantissa(0, 99999999999);
    std::uniform_int_distribution<std::size_t> which_pattern(0, kPatterns.size() - 1);
    int failures = 0;
    for (int i = 0; i < kCorpusSize; ++i) {
        const Pattern& p = kPatterns[which_pattern(random)];
        std::string digits = std::to_string(mantissa(random));
        digits = std::string(static_cast<std::size_t>(p.decimals) + 1, '0') + digits;
        const std::size_t point = digits.size() - static_cast<std::size_t>(p.decimals);
        // Built by appending: g++ 12 warns falsely (-Wrestrict) on "literal" + string here.
        const std::string sign = i % 2 ? "-" : "";
        std::string typed = sign;
        typed.append(digits, 0, point).append(",").append(digits, point).append("5");
        const std::optional<double> value = reference::Read(typed);
        ASSERT_TRUE(value.has_value());
        // The expected text: the typed digits without the 5, plus one unit.
        std::string rounded = digits;
        reference::IncrementDigits(rounded);
        const std::size_t rounded_point = rounded.size() - static_cast<std::size_t>(p.decimals);
        std::string integer_digits = rounded.substr(0, rounded_point);
        integer_digits.erase(
            0, std::min(integer_digits.find_first_not_of('0'), integer_digits.size() - 1));
        std::string expected = sign;
        expected += reference::GroupThousands(integer_digits);
        if (p.decimals > 0) {
            expected.append(",").append(rounded, rounded_point);
        }
        const std::string text = FormatearCifra(*value, p.text);
        if (text != expected && ++failures <= 10) {
            ADD_FAILURE() << "\"" << typed << "\" with \"" << p.text << "\" gave \"" << text
                          << "\", expected \"" << expected << "\"";
        }
    }
    EXPECT_EQ(failures, 0);
}

// A random number text: sign, integer digits with points anywhere, optionally
// a comma and decimals; from 1 to 40 digits, so sometimes far past the 17 that
// decide a double.
std::string RandomNumberText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> digit('0', '9');
    std::uniform_int_distribution<int> count(0, 20);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text = percent(random) < 30 ? "-" : "";
    const int integer_digits = count(random);
    for (int i = 0; i < integer_digits; ++i) {
        text += static_cast<char>(digit(random));
        if (percent(random) < 15) {
            text += '.';
        }
    }
    if (percent(random) < 70 || integer_digits == 0) {
        text += ',';
        const int decimal_digits = count(random) + (integer_digits == 0 ? 1 : 0);
        for (int i = 0; i < decimal_digits; ++i) {
            text += static_cast<char>(digit(random));
        }
    }
    return text;
}

TEST(NumberTextProperties, ReadingRandomNumberTextsGivesTheNearestDouble) {
    std::mt19937_64 random(4);
    int failures = 0;
    for (int i = 0; i < kCorpusSize; ++i) {
        const std::string text = RandomNumberText(random);
        const std::optional<double> read = LeerCifra(text);
        const std::optional<double> expected = reference::Read(text);
        ASSERT_TRUE(expected.has_value()) << text;
        const bool ok = read.has_value() && std::bit_cast<std::uint64_t>(*read) ==
                                                std::bit_cast<std::uint64_t>(*expected);
        if (!ok && ++failures <= 10) {
            ADD_FAILURE() << "\"" << text << "\" read as "
                          << (read ? std::to_string(*read) : "nothing");
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(NumberTextProperties, OneMisplacedCharacterAnywhereMakesANumberTextFail) {
    using namespace std::string_view_literals;
    // Characters that never belong to a number text.
    constexpr std::string_view kForeign = " +eExXabfinINF\t\n_'\0\x80\xc2\xff"sv;
    std::mt19937_64 random(5);
    std::uniform_int_distribution<std::size_t> which(0, kForeign.size() - 1);
    int failures = 0;
    const auto expect_not_a_number = [&](const std::string& text) {
        if (LeerCifra(text).has_value() && ++failures <= 10) {
            ADD_FAILURE() << "\"" << text << "\" read as a number";
        }
    };
    const auto anywhere_from = [&](std::size_t first, std::size_t last) {
        return std::uniform_int_distribution<std::size_t>(first, last)(random);
    };
    for (int i = 0; i < kCorpusSize; ++i) {
        const std::string number = RandomNumberText(random);
        const std::size_t comma = number.find(',');

        std::string foreign = number;
        foreign.insert(anywhere_from(0, number.size()), 1, kForeign[which(random)]);
        expect_not_a_number(foreign);

        std::string late_minus = number;  // a minus anywhere but first
        late_minus.insert(anywhere_from(1, number.size()), 1, '-');
        expect_not_a_number(late_minus);

        if (comma == std::string::npos) {
            expect_not_a_number(number + ",1,");
            continue;
        }
        std::string second_comma = number;
        second_comma.insert(anywhere_from(0, number.size()), 1, ',');
        expect_not_a_number(second_comma);

        std::string point_after_comma = number;
        point_after_comma.insert(anywhere_from(comma + 1, number.size()), 1, '.');
        expect_not_a_number(point_after_comma);
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tavolen
