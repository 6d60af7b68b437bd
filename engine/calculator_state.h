#pragma once

#include <cstdint>
#include <string>

namespace tavolen {

// The window's one record of numbers. The inputs hold what the entry fields last
// committed; the results describe the inputs as they were at the last press of
// " CALCULAR ". The three message variables are written together, only when a
// field rejects its text, and no clearing touches them.
struct CalculatorState {
    // Committed inputs.
    double V1 = 0;   // first voltage (txtV1), at most three decimals
    double V2 = 0;   // second voltage (txtV2), at most four decimals
    double P1 = 0;   // first power (txtP1), at most three decimals
    double P2 = 0;   // second power (txtP2), at most four decimals
    double Db1 = 0;  // a level in dB (txtDb1), the only input that may be negative
    double F1 = 0;   // a factor (txtF1)

    // Results of the last calculation.
    double Dbv = 0;   // 20 log10(V2 / V1), dB
    double Dbp = 0;   // 10 log10(P2 / P1), dB
    double Fv = 0;    // 10^(Db1 / 20), voltage factor
    double Fp = 0;    // 10^(Db1 / 10), power factor
    double Dbfv = 0;  // 20 log10(F1), dB
    double Dbfp = 0;  // 10 log10(F1), dB

    // The invalid-number message box: prompt, title (UTF-8) and style code.
    std::string Mensaje;
    std::string Titulo;
    std::int16_t Estilo = 0;
};

}  // namespace tavolen
