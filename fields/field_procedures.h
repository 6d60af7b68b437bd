#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "engine/calculator_state.h"
#include "fields/field_table.h"

class QWidget;

namespace tavolen {

// The modal message box: owner, prompt, style code, title.
using MostrarMensaje = void (*)(QWidget*, std::string_view, std::int16_t, std::string_view);

// The window's keystroke filters, Validar1 and Validar2, called by the name
// that the field table gives.
using Filtros = std::function<void(Filtro, std::int16_t& KeyAscii)>;

// What the entry fields use of their window: its controls, found by object
// name, its calculator state, its message box and its keystroke filters.
struct VentanaDeCampos {
    QWidget& ventana;
    CalculatorState& estado;
    MostrarMensaje MsgBox;
    Filtros Validar;
};

// The keystroke handler of a field: its filter; then, on Enter, the Enter
// commit. An accepted text is reformatted and the focus moves on (whose leave
// commit stores the value); a rejected one gets the message box, the zero text
// wholly selected and keeps the focus. Enter goes no further (KeyAscii = 0).
void CampoKeyPress(const VentanaDeCampos& v, const CampoDeEntrada& campo, std::int16_t& KeyAscii);

// The leave commit: an accepted text is reformatted and its value stored; a
// rejected one gets the message box and the zero text, the state keeps its
// value, and the focus comes back to the field with its text selected.
void CampoLostFocus(const VentanaDeCampos& v, const CampoDeEntrada& campo);

// The focus selection: the whole text, so that typing replaces the old number.
void CampoGotFocus(const VentanaDeCampos& v, const CampoDeEntrada& campo);

}  // namespace tavolen
