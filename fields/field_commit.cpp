#include "fields/field_commit.h"

#include "engine/number_text.h"

namespace tavolen {

namespace {

// The number a field text stands for. Only txtDb1 holds a signed number; its
// typed "-" can only stand in front, which the shape check has made sure of.
std::optional<double> NumeroDelCampo(std::string_view texto, ReglaForma regla) {
    if (regla == ReglaForma::Simple && texto.find('-') != std::string_view::npos) {
        return std::nullopt;
    }
    return LeerCifra(texto);
}

}  // namespace

std::optional<TextoConfirmado> ConfirmarTexto(const CampoDeEntrada& campo, std::string_view texto) {
    if (!FormaAceptada(texto, campo.regla)) {
        return std::nullopt;
    }
    if (texto.empty()) {
        return TextoConfirmado{std::string(campo.textoCero), 0.0};
    }
    const std::optional<double> valor = NumeroDelCampo(texto, campo.regla);
    if (!valor) {
        return std::nullopt;
    }
    std::string mostrado =
        *valor == 0 ? std::string(campo.textoCero) : FormatearCifra(*valor, campo.patron);
    // The value stored is that of the text shown. Rounding to 15 digits can carry
    // the largest doubles past the range, and such a text would not read back.
    const std::optional<double> valorMostrado = LeerCifra(mostrado);
    if (!valorMostrado) {
        return std::nullopt;
    }
    return TextoConfirmado{std::move(mostrado), *valorMostrado};
}

void PrepararCifraNoValida(CalculatorState& estado) {
    estado.Mensaje = kMensajeCifraNoValida;
    estado.Estilo = kEstiloCifraNoValida;
    estado.Titulo = kTituloCifraNoValida;
}

}  // namespace tavolen
