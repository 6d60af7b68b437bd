#include "fields/keystroke_filters.h"

namespace tavolen {

void FiltrarTecla(Filtro filtro, std::int16_t& KeyAscii) {
    if (KeyAscii == 46) {
        KeyAscii = 44;
    }
    // The discarded ranges of the 8-bit codes, bounds included; the signed code
    // of a character beyond 255 (or of a negative code) lies in none of them.
    const int c = KeyAscii;
    const bool descartado = (c >= 0 && c <= 7) || (c >= 9 && c <= 12) || (c >= 14 && c <= 43) ||
                            (c == 45 && filtro == Filtro::Validar1) || c == 47 ||
                            (c >= 58 && c <= 255);
    if (descartado) {
        KeyAscii = 0;
    }
}

}  // namespace tavolen
