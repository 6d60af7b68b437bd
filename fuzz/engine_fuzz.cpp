// libFuzzer target over the two number-text conversions. The first byte picks
// what the rest means:
//   even: a field text, arbitrary bytes, for LeerCifra;
//   odd:  eight bytes of a double and one byte choosing the pattern (one of
//         the seven, or "##,##0" with any number of decimals up to 20), for
//         FormatearCifra.
// Every result is checked against the slow reference conversions and for the
// shape of a display text; any disagreement aborts, which libFuzzer reports.

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "engine/number_text.h"
#include "tests/engine/number_text_reference.h"

namespace tavolen {
namespace {

[[noreturn]] void Fail(const char* what, std::string_view input, std::string_view output) {
    std::fprintf(stderr, "%s\n  input:  \"%.*s\"\n  output: \"%.*s\"\n", what,
                 static_cast<int>(input.size()), input.data(), static_cast<int>(output.size()),
                 output.data());
    std::abort();
}

struct Pattern {
    std::string text;
    int decimals;
};

Pattern PatternFor(std::uint8_t choice) {
    static constexpr std::array<std::string_view, 7> kSeven = {
        kPatronEntero,     kPatron2Decimales, kPatron3Decimales,  kPatron4Decimales,
        kPatron6Decimales, kPatron8Decimales, kPatron12Decimales,
    };
    static constexpr std::array<int, 7> kDecimals = {0, 2, 3, 4, 6, 8, 12};
    if (choice < 128) {
        return {std::string(kSeven[choice % 7]), kDecimals[choice % 7]};
    }
    const int decimals = choice % 21;
    return {
        decimals == 0 ? "##,##0" : "##,##0." + std::string(static_cast<std::size_t>(decimals), '0'),
        decimals};
}

bool IsZeroText(std::string_view text) {
    return text.find_first_not_of("-0.,") == std::string_view::npos;
}

void CheckFormat(double value, const Pattern& pattern) {
    char shown_value[64];
    std::snprintf(shown_value, sizeof shown_value, "%a with %d decimals", value, pattern.decimals);
    const std::string text = FormatearCifra(value, pattern.text);
    if (text != reference::Format(value, pattern.decimals)) {
        Fail("FormatearCifra differs from the reference", shown_value, text);
    }
    if (!reference::IsDisplayText(text, pattern.decimals)) {
        Fail("FormatearCifra wrote no display text", shown_value, text);
    }
    if ((text[0] == '-') != (value < 0)) {
        Fail("FormatearCifra got the sign wrong", shown_value, text);
    }
    const std::optional<double> read = LeerCifra(text);
    const std::optional<double> expected = reference::Read(text);
    if (read.has_value() != expected.has_value() ||
        (read && std::bit_cast<std::uint64_t>(*read) != std::bit_cast<std::uint64_t>(*expected))) {
        Fail("LeerCifra does not read back the value a text shows", shown_value, text);
    }
    if (!read) {
        // Only the very largest doubles (from about 1.797693134862316e308) show
        // a 15-digit text beyond the largest double, which then reads as no number.
        return;
    }
    const std::string again = FormatearCifra(*read, pattern.text);
    const std::string_view again_expected = IsZeroText(text) && text[0] == '-'
                                                ? std::string_view(text).substr(1)
                                                : std::string_view(text);
    if (again != again_expected) {
        Fail("formatting the value a text shows changes the text", text, again);
    }
}

void CheckRead(std::string_view text) {
    const std::optional<double> read = LeerCifra(text);
    const std::optional<double> expected = reference::Read(text);
    if (read.has_value() != expected.has_value()) {
        Fail(read ? "LeerCifra accepts what is not a number" : "LeerCifra rejects a number", text,
             "");
    }
    if (!read) {
        return;
    }
    if (!std::isfinite(*read) ||
        std::bit_cast<std::uint64_t>(*read) != std::bit_cast<std::uint64_t>(*expected)) {
        char shown[128];
        std::snprintf(shown, sizeof shown, "%a instead of %a", *read, *expected);
        Fail("LeerCifra gives another double than the nearest", text, shown);
    }
    CheckFormat(*read, PatternFor(static_cast<std::uint8_t>(text.size())));
}

}  // namespace
}  // namespace tavolen

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool format = data[0] & 1;
    ++data;
    --size;
    if (!format) {
        tavolen::CheckRead(std::string_view(reinterpret_cast<const char*>(data), size));
        return 0;
    }
    if (size < 9) {
        return 0;
    }
    double value;
    std::memcpy(&value, data, sizeof value);
    if (std::isfinite(value)) {
        tavolen::CheckFormat(value, tavolen::PatternFor(data[8]));
    }
    return 0;
}
