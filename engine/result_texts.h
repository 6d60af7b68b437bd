#pragma once

#include <string>
#include <string_view>

#include "engine/calculator_state.h"

namespace tavolen {

inline constexpr std::string_view kTextoFull = "FULL";          // a factor too large or too small to show
inline constexpr std::string_view kTextoInfinito = "INFINITO";  // the level of the factor 0
inline constexpr std::string_view kTextoCero = "0,0000";        // zero under four decimals

// The six texts of a calculation, one per result display.
struct TextosResultados {
    std::string lblDbv;
    std::string lblDbp;
    std::string txtFv;
    std::string txtFp;
    std::string lblDbfv;
    std::string lblDbfp;
};

// The texts that show the results stored in `estado`:
// - the levels of the ratios always with four decimals;
// - the factors with a pattern chosen by Db1 (more decimals for smaller levels),
//   "FULL" where a factor reaches 10^15 or would show as zero;
// - the levels of the factor: "INFINITO" for F1 = 0, "0,0000" for F1 = 1,
//   else four decimals.
//   Db1 = 30   -> txtFv "31,622777",  txtFp "1.000,0000"
//   Db1 = 150  -> txtFv "31.622.777", txtFp "FULL"
//   Db1 = -20  -> txtFv "0,100000000000", txtFp "0,010000000000"
TextosResultados TextosDeResultados(const CalculatorState& estado);

}  // namespace tavolen
