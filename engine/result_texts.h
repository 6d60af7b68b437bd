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

// What a screen reader says after a calculation: the six results in the order
// of the displays, each named for what it is and with the very text its
// display shows. For 2 and 20 V, 1 and 5 W, -6 dB and the factor 2:
//   "Decibelios de tensiones: 20,0000. Decibelios de potencias: 6,9897.
//    Factor de tensiones: 0,501187233627. Factor de potencias: 0,251188643151.
//    Decibelios del factor en tensiones: 6,0206. Decibelios del factor en
//    potencias: 3,0103." (one line, a space after each full stop)
std::string FraseDeResultados(const TextosResultados& textos);

// The six results as plain text to copy elsewhere: one line each, named as
// FraseDeResultados names them, with the very text of its display; lines end
// in "\n" but the last, which ends in nothing. For the example above:
//   "Decibelios de tensiones: 20,0000\nDecibelios de potencias: 6,9897\n...
//    Decibelios del factor en potencias: 3,0103"
std::string ListaDeResultados(const TextosResultados& textos);

// What it says after RESET has put every field and result back to zero.
inline constexpr std::string_view kFraseTodoACero =
    "Todas las cifras y todos los resultados vuelven a cero.";

}  // namespace tavolen
