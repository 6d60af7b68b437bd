#include "engine/decibel_computation.h"

#include <cmath>

namespace tavolen {

namespace {

// Levels above the upper bound or below the lower bound have no factor to show.
constexpr double kDbMaximo = 400;   // exclusive
constexpr double kDbMinimo = -250;  // inclusive

// A result that is not a finite number is stored as 0: nothing downstream can
// show an infinity or a NaN.
double Finito(double x) { return std::isfinite(x) ? x : 0.0; }

// The level of the ratio b : a, `multiplicador` 20 for voltages and 10 for powers.
double NivelDeRelacion(double a, double b, double multiplicador) {
    if (a == 0 || b == 0) {
        return 0;
    }
    const double q = b / a;
    if (std::signbit(q) || std::isnan(q)) {
        return 0;  // a negative ratio has no level (-0.0: one that underflowed)
    }
    if (q == 0 || std::isinf(q)) {
        // The quotient left the range of doubles (operands of over 300 digits):
        // the difference of the logarithms is the same level and stays finite.
        // The ratio is positive here, so the operands share their sign.
        return Finito(multiplicador * (Log10(std::fabs(b)) - Log10(std::fabs(a))));
    }
    return Finito(multiplicador * Log10(q));
}

}  // namespace

double Log10(double x) { return std::log(x) / std::log(10.0); }

void CalcularResultados(CalculatorState& estado) {
    estado.Dbv = NivelDeRelacion(estado.V1, estado.V2, 20);
    estado.Dbp = NivelDeRelacion(estado.P1, estado.P2, 10);

    const double db = estado.Db1;
    if (db == 0) {
        estado.Fv = 1;
        estado.Fp = 1;
    } else if (db >= kDbMaximo || db < kDbMinimo || std::isnan(db)) {
        estado.Fv = 0;
        estado.Fp = 0;
    } else {
        estado.Fv = std::pow(10.0, db / 20);
        estado.Fp = std::pow(10.0, db / 10);
    }

    const double f = estado.F1;
    if (f == 0 || f == 1 || !(f > 0)) {
        // Includes a negative factor (and NaN), which has no level.
        estado.Dbfv = 0;
        estado.Dbfp = 0;
    } else {
        estado.Dbfv = Finito(20 * Log10(f));
        estado.Dbfp = Finito(10 * Log10(f));
    }
}

}  // namespace tavolen
