#include "engine/result_texts.h"

#include <array>
#include <limits>
#include <utility>

#include "engine/number_text.h"

namespace tavolen {

namespace {

// One row of the factor display: from `desde` dB (inclusive) upwards, up to the
// row above. An empty pattern shows "FULL": a factor of 10^15 or more, or one
// that twelve decimals would show as zero.
struct FilaFactores {
    double desde;
    std::string_view patron_fv;
    std::string_view patron_fp;
};

constexpr std::string_view kFull{};

// Tried from the top; the first row whose lower bound Db1 reaches decides.
// At 300 dB Fv is 10^15 and at 150 dB Fp is; at -246.0205 dB Fv, and at
// -123.0102 dB Fp, is just above 5e-13, the smallest that twelve decimals show.
constexpr std::array<FilaFactores, 13> kFilasFactores{{
    {300, kFull, kFull},
    {150, kPatronEntero, kFull},
    {120, kPatronEntero, kPatronEntero},
    {100, kPatron2Decimales, kPatronEntero},
    {60, kPatron4Decimales, kPatronEntero},
    {50, kPatron6Decimales, kPatron2Decimales},
    {30, kPatron6Decimales, kPatron4Decimales},
    {20, kPatron6Decimales, kPatron6Decimales},
    {10, kPatron8Decimales, kPatron6Decimales},
    {0, kPatron8Decimales, kPatron8Decimales},
    {-123.0102, kPatron12Decimales, kPatron12Decimales},
    {-246.0205, kPatron12Decimales, kFull},
    {-std::numeric_limits<double>::infinity(), kFull, kFull},
}};

const FilaFactores& FilaDe(double db1) {
    for (const FilaFactores& fila : kFilasFactores) {
        if (db1 >= fila.desde) {
            return fila;
        }
    }
    return kFilasFactores.back();  // NaN reaches no bound
}

std::string TextoDeFactor(double factor, std::string_view patron) {
    return patron.empty() ? std::string(kTextoFull) : FormatearCifra(factor, patron);
}

}  // namespace

TextosResultados TextosDeResultados(const CalculatorState& estado) {
    TextosResultados t;
    t.lblDbv = FormatearCifra(estado.Dbv, kPatron4Decimales);
    t.lblDbp = FormatearCifra(estado.Dbp, kPatron4Decimales);

    const FilaFactores& fila = FilaDe(estado.Db1);
    t.txtFv = TextoDeFactor(estado.Fv, fila.patron_fv);
    t.txtFp = TextoDeFactor(estado.Fp, fila.patron_fp);

    if (estado.F1 == 0) {
        t.lblDbfv = kTextoInfinito;
        t.lblDbfp = kTextoInfinito;
    } else if (estado.F1 == 1) {
        t.lblDbfv = kTextoCero;
        t.lblDbfp = kTextoCero;
    } else {
        t.lblDbfv = FormatearCifra(estado.Dbfv, kPatron4Decimales);
        t.lblDbfp = FormatearCifra(estado.Dbfp, kPatron4Decimales);
    }
    return t;
}

namespace {

// The six results in the displays' order, each with its spoken name.
std::array<std::pair<std::string_view, const std::string&>, 6> Nombrados(
    const TextosResultados& textos) {
    return {{
        {"Decibelios de tensiones", textos.lblDbv},
        {"Decibelios de potencias", textos.lblDbp},
        {"Factor de tensiones", textos.txtFv},
        {"Factor de potencias", textos.txtFp},
        {"Decibelios del factor en tensiones", textos.lblDbfv},
        {"Decibelios del factor en potencias", textos.lblDbfp},
    }};
}

}  // namespace

std::string FraseDeResultados(const TextosResultados& textos) {
    std::string frase;
    for (const auto& [que, texto] : Nombrados(textos)) {
        frase.append(frase.empty() ? "" : " ").append(que).append(": ").append(texto).append(".");
    }
    return frase;
}

std::string ListaDeResultados(const TextosResultados& textos) {
    std::string lista;
    for (const auto& [que, texto] : Nombrados(textos)) {
        lista.append(lista.empty() ? "" : "\n").append(que).append(": ").append(texto);
    }
    return lista;
}

}  // namespace tavolen
