#pragma once

#include <cstdint>

namespace tavolen {

// The two keystroke filters of the entry fields. A filter looks at one keystroke
// at a time, never at the field's text: where a comma or a minus sign may stand,
// and how many of them, is settled when the field is committed.
enum class Filtro {
    Validar1,  // digits and the comma: txtV1, txtV2, txtP1, txtP2, txtF1
    Validar2,  // digits, the comma and the minus sign: txtDb1
};

// Rewrites the character code of a keystroke: 0 discards it, any other code is
// the character the field takes in. Both filters turn a typed "." (46) into the
// decimal comma (44) and let through Backspace (8), Enter (13), "," (44), the
// digits (48..57) and every code outside the 8-bit range; Validar2 also "-" (45).
// Everything else of 0..255 is discarded, among it the codes of the copy, paste,
// cut and undo shortcuts (3, 22, 24, 26).
//   46 -> 44     45 -> 0 (Validar1), 45 (Validar2)     97 ("a") -> 0     8364 ("€") -> 8364
void FiltrarTecla(Filtro filtro, std::int16_t& KeyAscii);

}  // namespace tavolen
