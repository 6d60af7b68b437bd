#pragma once

#include "engine/calculator_state.h"

namespace tavolen {

// The natural logarithm of x over the natural logarithm of 10, both computed on
// every call (so Log10(1000) is 2.9999999999999996, not 3). Log10(1) is 0.
// Callers pass x != 0.
double Log10(double x);

// Computes the six results from the six committed inputs of `estado` and writes
// all six, whatever they held before:
//   Dbv  = 20 Log10(V2 / V1), or 0 when V1 or V2 is 0
//   Dbp  = 10 Log10(P2 / P1), or 0 when P1 or P2 is 0
//   Fv   = 10^(Db1 / 20), Fp = 10^(Db1 / 10); both 1 when Db1 is 0 and both 0
//          when Db1 >= 400 or Db1 < -250 (the display shows "FULL" there)
//   Dbfv = 20 Log10(F1), Dbfp = 10 Log10(F1); both 0 when F1 is 0 or 1
//
// Special values:
// - a quotient V2 / V1 or P2 / P1 that overflows or underflows (inputs of over
//   300 digits) is not used: the level is then 20 (Log10(|V2|) - Log10(|V1|)),
//   finite and correct;
// - a negative quotient or a negative F1 has no level: the affected results are
//   0 (typed input never gives one; only a caller of the library can);
// - no NaN or infinity is ever stored: a result that would not be finite (for
//   instance from an infinite or NaN input) is 0.
void CalcularResultados(CalculatorState& estado);

}  // namespace tavolen
