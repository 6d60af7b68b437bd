#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/calculator_state.h"
#include "fields/field_table.h"

namespace tavolen {

// The invalid-number message box.
inline constexpr std::string_view kMensajeCifraNoValida =
    "La cifra no es válida, por favor introdúzcala de nuevo.";
inline constexpr std::string_view kTituloCifraNoValida = "Error";
inline constexpr std::int16_t kEstiloCifraNoValida = 48;  // exclamation icon, one OK button

// An accepted field text: what the field shows afterwards and the value of that
// text, which a leave commit stores (so the stored value keeps only the decimals
// the field shows).
struct TextoConfirmado {
    std::string texto;
    double valor;
};

// Decides a commit of `texto` in `campo`, the same for Enter and for leaving the
// field. Accepted: the empty text and every text that reads as zero become the
// zero text, every other number its text under the field's pattern. Rejected
// (nullopt), besides the texts that fail the shape check:
// - a text that does not read as a number (pasted letters, a "." after the ",",
//   a number beyond the largest double, or one whose display rounds beyond it);
// - any "-" in a field other than txtDb1: only pasting puts one there, and no
//   negative voltage, power or factor may reach the logarithms.
//   txtV1 "2,12345"  -> "2,123", 2.123      txtV1 "0,0004"  -> "0,000", 0
//   txtV2 ""         -> "0,0000", 0         txtDb1 "-3"     -> "-3,0000", -3
//   txtDb1 "-0,00001" -> "-0,0000", -0.0 (and committed again -> "0,0000", 0)
//   txtV1 "1,2,3" "," "12a" "-2"  -> rejected
std::optional<TextoConfirmado> ConfirmarTexto(const CampoDeEntrada& campo, std::string_view texto);

// Fills the message variables of the invalid-number message box.
void PrepararCifraNoValida(CalculatorState& estado);

}  // namespace tavolen
