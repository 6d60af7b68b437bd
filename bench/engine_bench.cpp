// The engine's hot paths side by side with the C library doing the nearest
// simpler job on the same inputs in the same run:
//   FormatearCifra vs snprintf("%.*f")  (goal: at most 0.6x snprintf's time)
//   LeerCifra      vs strtod            (goal: at most 0.8x strtod's time)
//   CalcularResultados per call, for the record.
// Every benchmark cycles through a fixed, seeded corpus of 10,000 inputs, one
// call per iteration, so the reported time is the time per call.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calculator_state.h"
#include "engine/decibel_computation.h"
#include "engine/number_text.h"

namespace tavolen {
namespace {

constexpr std::size_t kCorpusSize = 10000;

// Everything the window can show: magnitudes from 1e-13 to 1e40, both signs.
const std::vector<double>& WindowRangeValues() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(2026);
        std::uniform_real_distribution<double> exponent(-13.0, 40.0);
        std::bernoulli_distribution negative(0.5);
        std::vector<double> v(kCorpusSize);
        for (double& x : v) {
            x = std::pow(10.0, exponent(random));
            x = negative(random) ? -x : x;
        }
        return v;
    }();
    return values;
}

// What people type: 0.001 to 1e7 with up to four decimals, a few negative.
const std::vector<double>& TypedValues() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(1208);
        std::uniform_real_distribution<double> exponent(-3.0, 7.0);
        std::bernoulli_distribution negative(0.2);
        std::vector<double> v(kCorpusSize);
        for (double& x : v) {
            x = std::round(std::pow(10.0, exponent(random)) * 1e4) / 1e4;
            x = negative(random) ? -x : x;
        }
        return v;
    }();
    return values;
}

using Corpus = const std::vector<double>& (*)();

void BM_FormatearCifra(benchmark::State& state, std::string_view pattern, Corpus corpus) {
    const std::vector<double>& values = corpus();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = FormatearCifra(values[i], pattern);
        benchmark::DoNotOptimize(text.data());
        i = i + 1 == values.size() ? 0 : i + 1;
    }
}

void BM_snprintf(benchmark::State& state, int decimals, Corpus corpus) {
    const std::vector<double>& values = corpus();
    char text[512];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.*f", decimals, values[i]));
        benchmark::DoNotOptimize(text);
        i = i + 1 == values.size() ? 0 : i + 1;
    }
}

BENCHMARK_CAPTURE(BM_FormatearCifra, 4_decimals_window_range, kPatron4Decimales, WindowRangeValues);
BENCHMARK_CAPTURE(BM_snprintf, 4_decimals_window_range, 4, WindowRangeValues);
BENCHMARK_CAPTURE(BM_FormatearCifra, 12_decimals_window_range, kPatron12Decimales,
                  WindowRangeValues);
BENCHMARK_CAPTURE(BM_snprintf, 12_decimals_window_range, 12, WindowRangeValues);
BENCHMARK_CAPTURE(BM_FormatearCifra, 4_decimals_typed, kPatron4Decimales, TypedValues);
BENCHMARK_CAPTURE(BM_snprintf, 4_decimals_typed, 4, TypedValues);
BENCHMARK_CAPTURE(BM_FormatearCifra, 12_decimals_typed, kPatron12Decimales, TypedValues);
BENCHMARK_CAPTURE(BM_snprintf, 12_decimals_typed, 12, TypedValues);

// The same numbers twice: as a field shows them ("1.234,5678") and as strtod
// reads them ("1234.5678").
struct Texts {
    std::vector<std::string> field;
    std::vector<std::string> c_locale;
};

Texts TextsOf(const std::vector<double>& values) {
    Texts texts;
    for (const double v : values) {
        texts.field.push_back(FormatearCifra(v, kPatron4Decimales));
        char c_text[512];
        std::snprintf(c_text, sizeof c_text, "%.4f", v);
        texts.c_locale.emplace_back(c_text);
    }
    return texts;
}

const Texts& TypedTexts() {
    static const Texts texts = TextsOf(TypedValues());
    return texts;
}

const Texts& WindowRangeTexts() {
    static const Texts texts = TextsOf(WindowRangeValues());
    return texts;
}

using TextCorpus = const Texts& (*)();

void BM_LeerCifra(benchmark::State& state, TextCorpus corpus) {
    const std::vector<std::string>& texts = corpus().field;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LeerCifra(texts[i]));
        i = i + 1 == texts.size() ? 0 : i + 1;
    }
}

void BM_strtod(benchmark::State& state, TextCorpus corpus) {
    const std::vector<std::string>& texts = corpus().c_locale;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtod(texts[i].c_str(), nullptr));
        i = i + 1 == texts.size() ? 0 : i + 1;
    }
}

BENCHMARK_CAPTURE(BM_LeerCifra, typed_field_texts, TypedTexts);
BENCHMARK_CAPTURE(BM_strtod, typed_field_texts, TypedTexts);
BENCHMARK_CAPTURE(BM_LeerCifra, window_range_texts, WindowRangeTexts);
BENCHMARK_CAPTURE(BM_strtod, window_range_texts, WindowRangeTexts);

void BM_CalcularResultados(benchmark::State& state) {
    const std::vector<double>& values = TypedValues();
    std::vector<CalculatorState> states(kCorpusSize);
    for (std::size_t k = 0; k < kCorpusSize; ++k) {
        const auto at = [&](std::size_t offset) {
            return std::fabs(values[(k + offset) % kCorpusSize]);
        };
        states[k].V1 = at(0);
        states[k].V2 = at(1);
        states[k].P1 = at(2);
        states[k].P2 = at(3);
        states[k].Db1 = std::fmod(values[(k + 4) % kCorpusSize], 300.0);
        states[k].F1 = at(5);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        CalcularResultados(states[i]);
        benchmark::DoNotOptimize(states[i]);
        i = i + 1 == states.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_CalcularResultados);

}  // namespace
}  // namespace tavolen

BENCHMARK_MAIN();
