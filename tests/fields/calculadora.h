#pragma once

// A page object for the tests that drive the real window: it opens one
// frmPrincipal, finds its controls by object name, types into whatever holds
// the focus, and closes every message box the window shows, recording what it
// showed.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <memory>

class QLabel;
class QLineEdit;
class QWidget;

namespace tavolen {

class frmPrincipal;

// A message box as it was on the screen.
struct CajaVista {
    QString texto;
    QString titulo;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    QMessageBox::StandardButtons botones;
};

class Calculadora {
  public:
    // Opens the window, shown and active: setFocus on an inactive window only
    // records the focus, so no focus test means anything before this.
    Calculadora();
    ~Calculadora();

    frmPrincipal& ventana() { return *ventana_; }
    QLineEdit& campo(const char* nombre);       // a text box: txtV1 ... txtFp
    QString texto(const char* nombre);          // of a text box or a label
    QString enfocado() const;                   // object name of the focus widget, or ""
    bool todoSeleccionado(const char* nombre);  // the whole text, and only it, selected

    // Keys go to QApplication::focusWidget(), as a person's keys do, so that a
    // focus that went astray shows up as typing in the wrong place.
    void escribir(const QString& teclas);  // one character at a time
    void pulsar(Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier);
    void pulsarConTexto(Qt::Key tecla, const QString& texto,
                        Qt::KeyboardModifiers modificadores = Qt::NoModifier);
    void clic(const char* nombre);  // a left click in the middle of a control

    // Pastes through the field's own context menu, as a person would.
    void pegarDesdeMenu(const char* nombre, const QString& texto);

    // The message boxes closed since the last call. A box is closed with its OK
    // button a moment after it opens. An action that made a box open returns
    // only once the window is active again (the window asks for it; the
    // offscreen platform, like some window managers, gives it to nobody by
    // itself), and fails the test if it does not become active.
    QList<CajaVista> cajasCerradas();

  private:
    void CerrarCajas();
    void TrasAccion(qsizetype cajasAntes);

    std::unique_ptr<frmPrincipal> ventana_;
    QTimer vigilante_;
    QList<CajaVista> cajas_;
};

// The one message box the window may show.
bool EsCajaDeCifraNoValida(const CajaVista& caja);

}  // namespace tavolen
