// The event procedures of the six entry fields, and their wiring. Each
// procedure hands its field's row of the field table to the code that all six
// share; that code calls back the field's filter, Validar1 or Validar2.

#include <QLineEdit>

#include "fields/field_events.h"
#include "fields/field_procedures.h"
#include "fields/field_table.h"
#include "fields/keystroke_filters.h"
#include "window/desktop_services.h"
#include "window/frm_principal.h"

namespace tavolen {

namespace {

constexpr const CampoDeEntrada& kTxtV1 = CampoLlamado("txtV1");
constexpr const CampoDeEntrada& kTxtV2 = CampoLlamado("txtV2");
constexpr const CampoDeEntrada& kTxtP1 = CampoLlamado("txtP1");
constexpr const CampoDeEntrada& kTxtP2 = CampoLlamado("txtP2");
constexpr const CampoDeEntrada& kTxtDb1 = CampoLlamado("txtDb1");
constexpr const CampoDeEntrada& kTxtF1 = CampoLlamado("txtF1");

using KeyPress = void (frmPrincipal::*)(std::int16_t&);
using Evento = void (frmPrincipal::*)();

// One row of the window's event wiring: the three procedures of a field.
void Conectar(frmPrincipal& ventana, const CampoDeEntrada& campo, KeyPress keyPress,
              Evento lostFocus, Evento gotFocus) {
    auto* caja = ventana.findChild<QLineEdit*>(
        QString::fromUtf8(campo.control.data(), static_cast<qsizetype>(campo.control.size())));
    Q_ASSERT(caja != nullptr);
    ConectarCampo(*caja, {[&ventana, keyPress](std::int16_t& k) { (ventana.*keyPress)(k); },
                          [&ventana, lostFocus] { (ventana.*lostFocus)(); },
                          [&ventana, gotFocus] { (ventana.*gotFocus)(); }});
}

}  // namespace

VentanaDeCampos frmPrincipal::Campos() {
    return {*this, estado_, &MsgBox, [this](Filtro filtro, std::int16_t& KeyAscii) {
                if (filtro == Filtro::Validar1) {
                    Validar1(KeyAscii);
                } else {
                    Validar2(KeyAscii);
                }
            }};
}

void frmPrincipal::ConectarCampos() {
    Conectar(*this, kTxtV1, &frmPrincipal::txtV1_KeyPress, &frmPrincipal::txtV1_LostFocus,
             &frmPrincipal::txtV1_GotFocus);
    Conectar(*this, kTxtV2, &frmPrincipal::txtV2_KeyPress, &frmPrincipal::txtV2_LostFocus,
             &frmPrincipal::txtV2_GotFocus);
    Conectar(*this, kTxtP1, &frmPrincipal::txtP1_KeyPress, &frmPrincipal::txtP1_LostFocus,
             &frmPrincipal::txtP1_GotFocus);
    Conectar(*this, kTxtP2, &frmPrincipal::txtP2_KeyPress, &frmPrincipal::txtP2_LostFocus,
             &frmPrincipal::txtP2_GotFocus);
    Conectar(*this, kTxtDb1, &frmPrincipal::txtDb1_KeyPress, &frmPrincipal::txtDb1_LostFocus,
             &frmPrincipal::txtDb1_GotFocus);
    Conectar(*this, kTxtF1, &frmPrincipal::txtF1_KeyPress, &frmPrincipal::txtF1_LostFocus,
             &frmPrincipal::txtF1_GotFocus);
}

void frmPrincipal::Validar1(std::int16_t& KeyAscii) {
    FiltrarTecla(Filtro::Validar1, KeyAscii);
}
void frmPrincipal::Validar2(std::int16_t& KeyAscii) {
    FiltrarTecla(Filtro::Validar2, KeyAscii);
}

void frmPrincipal::txtV1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtV1, KeyAscii);
}
void frmPrincipal::txtV2_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtV2, KeyAscii);
}
void frmPrincipal::txtP1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtP1, KeyAscii);
}
void frmPrincipal::txtP2_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtP2, KeyAscii);
}
void frmPrincipal::txtDb1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtDb1, KeyAscii);
}
void frmPrincipal::txtF1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(Campos(), kTxtF1, KeyAscii);
}

void frmPrincipal::txtV1_LostFocus() {
    CampoLostFocus(Campos(), kTxtV1);
}
void frmPrincipal::txtV2_LostFocus() {
    CampoLostFocus(Campos(), kTxtV2);
}
void frmPrincipal::txtP1_LostFocus() {
    CampoLostFocus(Campos(), kTxtP1);
}
void frmPrincipal::txtP2_LostFocus() {
    CampoLostFocus(Campos(), kTxtP2);
}
void frmPrincipal::txtDb1_LostFocus() {
    CampoLostFocus(Campos(), kTxtDb1);
}
void frmPrincipal::txtF1_LostFocus() {
    CampoLostFocus(Campos(), kTxtF1);
}

void frmPrincipal::txtV1_GotFocus() {
    CampoGotFocus(Campos(), kTxtV1);
}
void frmPrincipal::txtV2_GotFocus() {
    CampoGotFocus(Campos(), kTxtV2);
}
void frmPrincipal::txtP1_GotFocus() {
    CampoGotFocus(Campos(), kTxtP1);
}
void frmPrincipal::txtP2_GotFocus() {
    CampoGotFocus(Campos(), kTxtP2);
}
void frmPrincipal::txtDb1_GotFocus() {
    CampoGotFocus(Campos(), kTxtDb1);
}
void frmPrincipal::txtF1_GotFocus() {
    CampoGotFocus(Campos(), kTxtF1);
}

}  // namespace tavolen
