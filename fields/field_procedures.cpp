#include "fields/field_procedures.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "fields/field_commit.h"

namespace tavolen {

namespace {

QString DesdeUtf8(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

template <class Control>
Control& Buscar(const VentanaDeCampos& v, std::string_view nombre) {
    auto* control = v.ventana.findChild<Control*>(DesdeUtf8(nombre));
    Q_ASSERT_X(control != nullptr, "VentanaDeCampos", "the window lacks an entry control");
    return *control;
}

void SeleccionarTodo(QLineEdit& caja) {
    caja.setSelection(0, static_cast<int>(caja.text().length()));
}

std::optional<TextoConfirmado> Confirmar(const CampoDeEntrada& campo, const QLineEdit& caja) {
    return ConfirmarTexto(campo, caja.text().toStdString());
}

// The message box is modal: until it is closed no other handler of the window
// runs. The field gets its zero text only afterwards.
void CifraNoValida(const VentanaDeCampos& v, const CampoDeEntrada& campo, QLineEdit& caja) {
    PrepararCifraNoValida(v.estado);
    v.MsgBox(&v.ventana, v.estado.Mensaje, v.estado.Estilo, v.estado.Titulo);
    // Not every desktop hands the activation back to the window when its modal
    // box goes away (the offscreen platform and some X11 window managers leave
    // no window active), and until it has it back the focus cannot return to
    // the field. The activation arrives later; the focus goes where the window
    // last recorded it, which is where the steps below put it.
    v.ventana.activateWindow();
    caja.setText(DesdeUtf8(campo.textoCero));
}

}  // namespace

void CampoKeyPress(const VentanaDeCampos& v, const CampoDeEntrada& campo, std::int16_t& KeyAscii) {
    v.Validar(campo.filtro, KeyAscii);
    if (KeyAscii != 13) {
        return;
    }
    QLineEdit& caja = Buscar<QLineEdit>(v, campo.control);
    if (const auto aceptado = Confirmar(campo, caja)) {
        caja.setText(DesdeUtf8(aceptado->texto));
        // The focus move runs this field's leave commit, which stores the value.
        Buscar<QWidget>(v, campo.siguiente).setFocus();
    } else {
        CifraNoValida(v, campo, caja);
        SeleccionarTodo(caja);
    }
    KeyAscii = 0;
}

void CampoLostFocus(const VentanaDeCampos& v, const CampoDeEntrada& campo) {
    QLineEdit& caja = Buscar<QLineEdit>(v, campo.control);
    if (const auto aceptado = Confirmar(campo, caja)) {
        caja.setText(DesdeUtf8(aceptado->texto));
        v.estado.*campo.variable = aceptado->valor;
    } else {
        CifraNoValida(v, campo, caja);
        caja.setFocus();
        // The focus selection does this too when the focus really arrives; but
        // while the window is not yet active again after the message box,
        // setFocus only records the focus, and the selection must already stand
        // when the window gets it back.
        SeleccionarTodo(caja);
    }
}

void CampoGotFocus(const VentanaDeCampos& v, const CampoDeEntrada& campo) {
    SeleccionarTodo(Buscar<QLineEdit>(v, campo.control));
}

}  // namespace tavolen
