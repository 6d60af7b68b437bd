#include "fields/shape_rules.h"

namespace tavolen {

namespace {

// Two or more occurrences: the first found from the left is not the last.
bool Repetido(std::string_view texto, char c) {
    return texto.find(c) != texto.rfind(c);
}

}  // namespace

bool FormaAceptada(std::string_view texto, ReglaForma regla) {
    if (Repetido(texto, ',') || texto == ",") {
        return false;
    }
    if (regla == ReglaForma::Simple) {
        return true;
    }
    const auto menos = texto.find('-');
    const bool menosDetras = menos != std::string_view::npos && menos > 0;
    return !(Repetido(texto, '-') || menosDetras || texto == "-," || texto == "-");
}

}  // namespace tavolen
