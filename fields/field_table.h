#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

#include "engine/calculator_state.h"
#include "engine/number_text.h"
#include "fields/keystroke_filters.h"
#include "fields/shape_rules.h"

namespace tavolen {

// Everything in which the six entry fields differ. The keystroke handler, both
// commits and the focus selection are one piece of code driven by this row.
struct CampoDeEntrada {
    std::string_view control;           // object name of the field's QLineEdit
    Filtro filtro;                      // keystroke filter
    ReglaForma regla;                   // shape check of a committed text
    std::string_view textoCero;         // the text of zero under `patron`
    std::string_view patron;            // display pattern of the committed text
    double CalculatorState::*variable;  // where an accepted leave commit stores
    std::string_view siguiente;         // control that Enter moves the focus to
};

// In tab order; the "siguiente" of each row is the next row's field, and Enter in
// the last one stops on the calculate button without pressing it. The first of
// each ratio shows three decimals, everything else four.
inline constexpr std::array<CampoDeEntrada, 6> kCamposDeEntrada{{
    {"txtV1", Filtro::Validar1, ReglaForma::Simple, "0,000", kPatron3Decimales,
     &CalculatorState::V1, "txtV2"},
    {"txtV2", Filtro::Validar1, ReglaForma::Simple, "0,0000", kPatron4Decimales,
     &CalculatorState::V2, "txtP1"},
    {"txtP1", Filtro::Validar1, ReglaForma::Simple, "0,000", kPatron3Decimales,
     &CalculatorState::P1, "txtP2"},
    {"txtP2", Filtro::Validar1, ReglaForma::Simple, "0,0000", kPatron4Decimales,
     &CalculatorState::P2, "txtDb1"},
    {"txtDb1", Filtro::Validar2, ReglaForma::ConSigno, "0,0000", kPatron4Decimales,
     &CalculatorState::Db1, "txtF1"},
    {"txtF1", Filtro::Validar1, ReglaForma::Simple, "0,0000", kPatron4Decimales,
     &CalculatorState::F1, "cmdCalcular"},
}};

// The row of a field, found at compile time: a misspelt name does not build.
consteval const CampoDeEntrada& CampoLlamado(std::string_view control) {
    for (const CampoDeEntrada& campo : kCamposDeEntrada) {
        if (campo.control == control) {
            return campo;
        }
    }
    throw std::logic_error("no entry field has this name");
}

}  // namespace tavolen
