#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include <QWidget>

#include "engine/calculator_state.h"
#include "engine/result_texts.h"

class QShowEvent;

namespace tavolen {

namespace Ui {
class frmPrincipal;
}
struct VentanaDeCampos;

// The page that the banner opens: a Spanish reference on the decibel.
inline constexpr std::string_view kDireccionDelLogo = "https://es.wikipedia.org/wiki/Decibelio";

// The calculator's one window. Its controls come from frm_principal.ui, each a
// child whose objectName is its name there (txtV1, lblDbv, cmdCalcular...);
// all the numbers live in estado_.
class frmPrincipal : public QWidget {
    Q_OBJECT

  public:
    explicit frmPrincipal(QWidget* parent = nullptr);
    ~frmPrincipal() override;

    const CalculatorState& estado() const { return estado_; }

    // Entry fields: keystroke filters, field commit and focus selection.
    void Validar1(std::int16_t& KeyAscii);
    void Validar2(std::int16_t& KeyAscii);
    void txtV1_KeyPress(std::int16_t& KeyAscii);
    void txtV2_KeyPress(std::int16_t& KeyAscii);
    void txtP1_KeyPress(std::int16_t& KeyAscii);
    void txtP2_KeyPress(std::int16_t& KeyAscii);
    void txtDb1_KeyPress(std::int16_t& KeyAscii);
    void txtF1_KeyPress(std::int16_t& KeyAscii);
    void txtV1_LostFocus();
    void txtV2_LostFocus();
    void txtP1_LostFocus();
    void txtP2_LostFocus();
    void txtDb1_LostFocus();
    void txtF1_LostFocus();
    void txtV1_GotFocus();
    void txtV2_GotFocus();
    void txtP1_GotFocus();
    void txtP2_GotFocus();
    void txtDb1_GotFocus();
    void txtF1_GotFocus();

  protected:
    void showEvent(QShowEvent* evento) override;

  private:
    // The window's own procedures and its commands.
    void Form_Load();
    void LimpiarTodo();
    void Limpiar();
    void MostrarResultados();
    void EscribirResultados(const TextosResultados& textos);
    void cmdCalcular_Click();
    void cmdReset_Click();
    void imgLogo_Click();

    void CargarImagenes();
    void CentrarEnPantalla();

    // The entry fields: their events wired to their twenty procedures, and
    // what the code the six share uses of this window.
    void ConectarCampos();
    VentanaDeCampos Campos();

    std::unique_ptr<Ui::frmPrincipal> ui_;
    CalculatorState estado_;
    bool centrada_ = false;  // centred once, when first shown
};

}  // namespace tavolen
