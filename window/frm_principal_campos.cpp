// The event procedures of the six entry fields. Each hands its field's row of
// the field table, the window, its state and its message box to the code that
// all six share.

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

}  // namespace

void frmPrincipal::Validar1(std::int16_t& KeyAscii) {
    FiltrarTecla(Filtro::Validar1, KeyAscii);
}
void frmPrincipal::Validar2(std::int16_t& KeyAscii) {
    FiltrarTecla(Filtro::Validar2, KeyAscii);
}

void frmPrincipal::txtV1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV1, KeyAscii);
}
void frmPrincipal::txtV2_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV2, KeyAscii);
}
void frmPrincipal::txtP1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP1, KeyAscii);
}
void frmPrincipal::txtP2_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP2, KeyAscii);
}
void frmPrincipal::txtDb1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtDb1, KeyAscii);
}
void frmPrincipal::txtF1_KeyPress(std::int16_t& KeyAscii) {
    CampoKeyPress(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtF1, KeyAscii);
}

void frmPrincipal::txtV1_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV1);
}
void frmPrincipal::txtV2_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV2);
}
void frmPrincipal::txtP1_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP1);
}
void frmPrincipal::txtP2_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP2);
}
void frmPrincipal::txtDb1_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtDb1);
}
void frmPrincipal::txtF1_LostFocus() {
    CampoLostFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtF1);
}

void frmPrincipal::txtV1_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV1);
}
void frmPrincipal::txtV2_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtV2);
}
void frmPrincipal::txtP1_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP1);
}
void frmPrincipal::txtP2_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtP2);
}
void frmPrincipal::txtDb1_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtDb1);
}
void frmPrincipal::txtF1_GotFocus() {
    CampoGotFocus(VentanaDeCampos{*this, estado_, &MsgBox}, kTxtF1);
}

}  // namespace tavolen
