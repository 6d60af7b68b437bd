#pragma once

// A second, deliberately different way of writing and reading number texts, for
// the property tests and the fuzzer to compare the engine against. It takes the
// 15 significant digits from glibc's printf (exact, ties to even, "C" locale as
// long as nobody calls setlocale) and reads through strtod (correctly rounded),
// and does the rest on decimal digit strings. It is slow and simple on purpose.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace tavolen::reference {

// "1234567" -> "1.234.567".
inline std::string GroupThousands(std::string_view digits) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += digits[i];
    }
    return grouped;
}

// Adds one unit in the last place of a string of decimal digits.
inline void IncrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The display text of a finite `value` with `decimals` decimals.
inline std::string Format(double value, int decimals) {
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
    // "d.dddddddddddddde[+-]XX": 15 significant digits and a power of ten.
    std::string significant(1, scientific[0]);
    significant.append(scientific + 2, 14);
    const int point = std::atoi(scientific + 17) + 1;  // digits before the decimal point

    std::string integer_part;
    std::string fraction;
    if (point <= 0) {
        integer_part = "0";
        fraction = std::string(static_cast<std::size_t>(-point), '0') + significant;
    } else if (point >= 15) {
        integer_part = significant + std::string(static_cast<std::size_t>(point - 15), '0');
    } else {
        integer_part = significant.substr(0, static_cast<std::size_t>(point));
        fraction = significant.substr(static_cast<std::size_t>(point));
    }
    const auto kept_decimals = static_cast<std::size_t>(decimals);
    if (fraction.size() < kept_decimals + 1) {
        fraction.resize(kept_decimals + 1, '0');
    }
    // The 15-digit form is an exact decimal, so a first dropped digit of 5 or more
    // means "half or above": round away from zero.
    const bool round_up = fraction[kept_decimals] >= '5';
    std::string kept = integer_part + fraction.substr(0, kept_decimals);
    if (round_up) {
        IncrementDigits(kept);
    }
    std::string integer_digits = kept.substr(0, kept.size() - kept_decimals);
    const std::string decimal_digits = kept.substr(kept.size() - kept_decimals);
    const std::size_t first_nonzero = integer_digits.find_first_not_of('0');
    integer_digits =
        first_nonzero == std::string::npos ? "0" : integer_digits.substr(first_nonzero);

    std::string text = value < 0 ? "-" : "";
    text += GroupThousands(integer_digits);
    if (decimals > 0) {
        text += ',';
        text += decimal_digits;
    }
    return text;
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether `text` has the shape of a display text with `decimals` decimals: an
// optional "-", groups of three digits after a first group of one to three,
// no leading zero except "0" itself, then "," and exactly `decimals` digits.
inline bool IsDisplayText(std::string_view text, int decimals) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    const std::size_t first_group_start = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::size_t first_group_length = i - first_group_start;
    if (first_group_length < 1 || first_group_length > 3) {
        return false;
    }
    if (text[first_group_start] == '0' &&
        (first_group_length > 1 || (i < text.size() && text[i] == '.'))) {
        return false;
    }
    while (i < text.size() && text[i] == '.') {
        for (std::size_t k = 1; k <= 3; ++k) {
            if (i + k >= text.size() || !IsDigit(text[i + k])) {
                return false;
            }
        }
        i += 4;
    }
    if (decimals == 0) {
        return i == text.size();
    }
    if (i >= text.size() || text[i] != ',') {
        return false;
    }
    ++i;
    const std::size_t decimal_start = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i == text.size() && i - decimal_start == static_cast<std::size_t>(decimals);
}

// Reads a field text: the grammar checked character by character, then the
// digits handed to strtod as "[-]integer.decimals".
inline std::optional<double> Read(std::string_view text) {
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        plain += '-';
        ++i;
    }
    bool seen_comma = false;
    bool seen_digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            plain += c;
            seen_digit = true;
        } else if (c == '.' && !seen_comma) {
            // a group separator: no value
        } else if (c == ',' && !seen_comma) {
            plain += '.';
            seen_comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (!seen_digit) {
        return std::nullopt;
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    if (std::isinf(value)) {
        return std::nullopt;  // beyond the largest double
    }
    return value;
}

}  // namespace tavolen::reference
