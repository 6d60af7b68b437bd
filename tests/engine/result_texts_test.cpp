// TextosDeResultados: which pattern shows each factor for each level, where the
// words "FULL" and "INFINITO" stand, and the fixed "0,0000" of the factor 1.

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/calculator_state.h"
#include "engine/decibel_computation.h"
#include "engine/result_texts.h"

namespace tavolen {
namespace {

// A factor whose text tells the pattern by its number of decimals.
constexpr double kProbe = 1.23456789012345;
constexpr std::string_view k0 = "1";
constexpr std::string_view k2 = "1,23";
constexpr std::string_view k4 = "1,2346";
constexpr std::string_view k6 = "1,234568";
constexpr std::string_view k8 = "1,23456789";
constexpr std::string_view k12 = "1,234567890123";
constexpr std::string_view kFull = "FULL";

struct FactorRowCase {
    double db1;
    std::string_view fv;
    std::string_view fp;
};

TEST(TextosDeResultadosFactorRows, EachLevelChoosesItsRowAndEveryLowerBoundIsInclusive) {
    const double below = -std::numeric_limits<double>::infinity();
    // clang-format off
    const std::vector<FactorRowCase> cases = {
        {1e300,                          kFull, kFull},  // row 1, far above (Fv, Fp stored as 0 there)
        {400.0,                          kFull, kFull},  // row 1
        {300.0,                          kFull, kFull},  // row 1 starts at 300: Fv would be 10^15
        {std::nextafter(300.0, below),   k0,    kFull},  // row 2 right below 300
        {299.9999,                       k0,    kFull},  // row 2
        {150.0,                          k0,    kFull},  // row 2 starts at 150: Fp would be 10^15
        {std::nextafter(150.0, below),   k0,    k0},     // row 3
        {149.9999,                       k0,    k0},     // row 3
        {120.0,                          k0,    k0},     // row 3
        {119.9999,                       k2,    k0},     // row 4
        {100.0,                          k2,    k0},     // row 4
        {std::nextafter(100.0, below),   k4,    k0},     // row 5
        {60.0,                           k4,    k0},     // row 5
        {59.9999,                        k6,    k2},     // row 6
        {50.0,                           k6,    k2},     // row 6
        {49.9999,                        k6,    k4},     // row 7
        {30.0,                           k6,    k4},     // row 7
        {29.9999,                        k6,    k6},     // row 8
        {20.0,                           k6,    k6},     // row 8
        {19.9999,                        k8,    k6},     // row 9
        {10.0,                           k8,    k6},     // row 9
        {std::nextafter(10.0, below),    k8,    k8},     // row 10
        {9.9999,                         k8,    k8},     // row 10
        {0.0,                            k8,    k8},     // row 10 (factors exactly 1)
        {-0.0,                           k8,    k8},     // -0.0 >= 0 holds: row 10
        {std::nextafter(0.0, below),     k12,   k12},    // row 11: the first level below 0
        {-0.0001,                        k12,   k12},    // row 11
        {-123.0102,                      k12,   k12},    // row 11 down to -123.0102 inclusive
        {std::nextafter(-123.0102, below), k12, kFull},  // row 12 right below it
        {-123.0103,                      k12,   kFull},  // row 12: Fp would show as zero
        {-246.0205,                      k12,   kFull},  // row 12 down to -246.0205 inclusive
        {std::nextafter(-246.0205, below), kFull, kFull},  // row 13
        {-246.0206,                      kFull, kFull},  // row 13
        {-250.0,                         kFull, kFull},  // row 13
        {-1e300,                         kFull, kFull},  // row 13
    };
    // clang-format on
    for (const FactorRowCase& c : cases) {
        CalculatorState estado{.Db1 = c.db1, .Fv = kProbe, .Fp = kProbe};
        const TextosResultados textos = TextosDeResultados(estado);
        EXPECT_EQ(textos.txtFv, c.fv) << "Db1 = " << c.db1;
        EXPECT_EQ(textos.txtFp, c.fp) << "Db1 = " << c.db1;
    }
}

TEST(TextosDeResultadosFactorRows, FactorsComputedFromTheLevelShowAsDocumented) {
    // clang-format off
    const std::vector<FactorRowCase> cases = {
        {0.0,       "1,00000000",         "1,00000000"},         // row 10, factors exactly 1
        {20.0,      "10,000000",          "100,000000"},         // row 8
        {30.0,      "31,622777",          "1.000,0000"},         // row 7: 31.6227766...
        {60.0,      "1.000,0000",         "1.000.000"},          // row 5
        {100.0,     "100.000,00",         "10.000.000.000"},     // row 4
        {120.0,     "1.000.000",          "1.000.000.000.000"},  // row 3
        {150.0,     "31.622.777",         "FULL"},               // row 2: 31622776.6...
        {300.0,     "FULL",               "FULL"},               // row 1
        {400.0,     "FULL",               "FULL"},               // row 1; the factors are stored as 0
        {-20.0,     "0,100000000000",     "0,010000000000"},     // row 11
        {-60.0,     "0,001000000000",     "0,000001000000"},     // row 11
        {-123.0102, "0,000000707115",     "0,000000000001"},     // row 11: Fp 5.0001e-13, just visible
        {-123.0103, "0,000000707107",     "FULL"},               // row 12: Fp 4.99999995e-13 would be zero
        {-246.0205, "0,000000000001",     "FULL"},               // row 12: Fv 5.00006e-13
        {-246.0206, "FULL",               "FULL"},               // row 13
        {-250.0,    "FULL",               "FULL"},               // row 13
        {-250.0001, "FULL",               "FULL"},               // row 13; the factors are stored as 0
    };
    // clang-format on
    for (const FactorRowCase& c : cases) {
        CalculatorState estado{.Db1 = c.db1};
        CalcularResultados(estado);
        const TextosResultados textos = TextosDeResultados(estado);
        EXPECT_EQ(textos.txtFv, c.fv) << "Db1 = " << c.db1;
        EXPECT_EQ(textos.txtFp, c.fp) << "Db1 = " << c.db1;
    }
}

struct RatioCase {
    CalculatorState inputs;
    std::string_view dbv;
    std::string_view dbp;
};

TEST(TextosDeResultadosRatioLevels, AlwaysFourDecimalsWithoutSpecialCases) {
    // clang-format off
    const std::vector<RatioCase> cases = {
        {{.V1 = 2,  .V2 = 20, .P1 = 1,  .P2 = 2},    "20,0000",  "3,0103"},   // 3.0102999566...
        {{.V1 = 20, .V2 = 2,  .P1 = 1,  .P2 = 1000}, "-20,0000", "30,0000"},  // -19.999999999999996; 29.999999999999996
        {{.V1 = 0,  .V2 = 5,  .P1 = 5,  .P2 = 0},    "0,0000",   "0,0000"},   // a zero operand: level 0, not INFINITO
        {{.V1 = 1e-300, .V2 = 1e300},                "12.000,0000", "0,0000"},  // the quotient overflows
    };
    // clang-format on
    for (const RatioCase& c : cases) {
        CalculatorState estado = c.inputs;
        CalcularResultados(estado);
        const TextosResultados textos = TextosDeResultados(estado);
        EXPECT_EQ(textos.lblDbv, c.dbv) << c.inputs.V2 << " / " << c.inputs.V1;
        EXPECT_EQ(textos.lblDbp, c.dbp) << c.inputs.P2 << " / " << c.inputs.P1;
    }
}

TEST(TextosDeResultadosRatioLevels, ShowTheStoredResultsAsTheyAre) {
    // The texts come from the results, not from the inputs again.
    const TextosResultados stored = TextosDeResultados({.Dbv = 1.5, .Dbp = -1234.56785});
    EXPECT_EQ(stored.lblDbv, "1,5000");
    EXPECT_EQ(stored.lblDbp, "-1.234,5679");  // -1234.56785 is a half in 15 digits: away from zero
    const TextosResultados zeros = TextosDeResultados({.Dbv = -0.0, .Dbp = -0.00004});
    EXPECT_EQ(zeros.lblDbv, "0,0000");   // -0.0 is not negative
    EXPECT_EQ(zeros.lblDbp, "-0,0000");  // negative, rounds to zero
}

struct FactorLevelCase {
    double f1;
    double dbfv;  // the stored results; for F1 = 0 and 1 deliberately not 0, to
    double dbfp;  // show that those texts do not depend on them
    std::string_view voltage;
    std::string_view power;
};

TEST(TextosDeResultadosFactorLevels, InfinitoForZeroFixedZeroForOneElseFourDecimals) {
    // clang-format off
    const std::vector<FactorLevelCase> cases = {
        {0.0,  7.0,               7.0,               "INFINITO", "INFINITO"},  // the level of the factor 0
        {-0.0, 7.0,               7.0,               "INFINITO", "INFINITO"},  // -0.0 == 0
        {1.0,  7.0,               7.0,               "0,0000",   "0,0000"},    // fixed text, no formatting
        {2.0,  6.020599913279624, 3.010299956639812, "6,0206",   "3,0103"},
        {0.5,  -6.020599913279624, -3.010299956639812, "-6,0206", "-3,0103"},
        {10.0, 20.0,              10.0,              "20,0000",  "10,0000"},
    };
    // clang-format on
    for (const FactorLevelCase& c : cases) {
        const TextosResultados textos =
            TextosDeResultados({.F1 = c.f1, .Dbfv = c.dbfv, .Dbfp = c.dbfp});
        EXPECT_EQ(textos.lblDbfv, c.voltage) << "F1 = " << c.f1;
        EXPECT_EQ(textos.lblDbfp, c.power) << "F1 = " << c.f1;
    }
}

TEST(TextosDeResultadosFactorLevels, ComputedLevelsOfTheFactorShowAsDocumented) {
    for (const FactorLevelCase& c : std::vector<FactorLevelCase>{
             {0.0, 0, 0, "INFINITO", "INFINITO"},
             {1.0, 0, 0, "0,0000", "0,0000"},
             {2.0, 0, 0, "6,0206", "3,0103"},
             {0.5, 0, 0, "-6,0206", "-3,0103"},
             {10.0, 0, 0, "20,0000", "10,0000"},
         }) {
        CalculatorState estado{.F1 = c.f1};
        CalcularResultados(estado);
        const TextosResultados textos = TextosDeResultados(estado);
        EXPECT_EQ(textos.lblDbfv, c.voltage) << "F1 = " << c.f1;
        EXPECT_EQ(textos.lblDbfp, c.power) << "F1 = " << c.f1;
    }
}

TEST(TextosDeResultadosWholeCalculation, TheRoadOfOneCalculation) {
    // V1 = 2 and V2 = 20 committed, everything else cleared.
    CalculatorState estado{.V1 = 2, .V2 = 20};
    CalcularResultados(estado);
    const TextosResultados textos = TextosDeResultados(estado);
    EXPECT_EQ(textos.lblDbv, "20,0000");
    EXPECT_EQ(textos.lblDbp, "0,0000");     // its inputs are 0
    EXPECT_EQ(textos.txtFv, "1,00000000");  // the factors of 0 dB
    EXPECT_EQ(textos.txtFp, "1,00000000");
    EXPECT_EQ(textos.lblDbfv, "INFINITO");  // the level of the factor 0
    EXPECT_EQ(textos.lblDbfp, "INFINITO");
}

// The sentence a screen reader speaks: every result named, in the displays'
// order, each with its display's text to the last digit and word.
TEST(FraseDeResultados, NamesEachResultWithTheTextItsDisplayShows) {
    CalculatorState estado{.V1 = 2, .V2 = 20, .P1 = 1, .P2 = 5, .Db1 = -6, .F1 = 2};
    CalcularResultados(estado);
    EXPECT_EQ(FraseDeResultados(TextosDeResultados(estado)),
              "Decibelios de tensiones: 20,0000. Decibelios de potencias: 6,9897. "
              "Factor de tensiones: 0,501187233627. Factor de potencias: 0,251188643151. "
              "Decibelios del factor en tensiones: 6,0206. "
              "Decibelios del factor en potencias: 3,0103.");
    EXPECT_EQ(FraseDeResultados({"a", "b", "FULL", "FULL", "INFINITO", "INFINITO"}),
              "Decibelios de tensiones: a. Decibelios de potencias: b. Factor de tensiones: FULL. "
              "Factor de potencias: FULL. Decibelios del factor en tensiones: INFINITO. "
              "Decibelios del factor en potencias: INFINITO.");
}

}  // namespace
}  // namespace tavolen
