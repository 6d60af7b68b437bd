#pragma once

// The page object of every suite that drives the real window: it opens one
// frmPrincipal, shown and active, finds its controls by object name (failing
// the test when there is no such control), types into whatever holds the
// focus, and closes every dialog right after it opens, as a user pressing OK
// would, recording what it showed, so that no test can hang on a modal box.

#include <QHash>
#include <QList>
#include <QMessageBox>
#include <QString>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace tavolen {

class frmPrincipal;

// A dialog as it was on the screen; the text, icon and buttons are those of a
// message box, and empty for any other dialog.
struct CajaVista {
    QString texto;
    QString titulo;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    QMessageBox::StandardButtons botones;
};

class VigilanteDeCajas;

class VentanaAbierta {
  public:
    // Opens the window and waits until it is active (the window asks for the
    // activation itself): setFocus on an inactive window only records the
    // focus, so no focus test means anything before this.
    VentanaAbierta();
    ~VentanaAbierta();

    VentanaAbierta(const VentanaAbierta&) = delete;
    VentanaAbierta& operator=(const VentanaAbierta&) = delete;

    frmPrincipal& ventana() { return *ventana_; }
    QWidget& control(const QString& nombre);
    QLineEdit& campo(const QString& nombre);  // a text box: txtV1 ... txtFp
    QLabel& etiqueta(const QString& nombre);
    QPushButton& boton(const QString& nombre);
    QString texto(const QString& nombre);          // of a text box, a label or a button
    QString enfocado() const;                      // object name of the focus widget, or ""
    bool todoSeleccionado(const QString& nombre);  // the whole text, and only it, selected

    // Keys go to QApplication::focusWidget(), as a person's keys do, so that a
    // focus that went astray shows up as typing in the wrong place.
    void escribir(const QString& teclas);  // one character at a time
    void pulsar(Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier);
    void pulsarConTexto(Qt::Key tecla, const QString& texto,
                        Qt::KeyboardModifiers modificadores = Qt::NoModifier);
    void clic(const QString& nombre);  // a left click in the middle of a control

    // The context menu of a field or a result display, opened as a right
    // click opens it.
    QMenu& abrirMenu(const QString& nombre);
    // Chooses `entrada` of an open menu as a keyboard user does: Down until it
    // is highlighted, then Enter.
    static void elegir(QMenu& menu, QAction& entrada);
    // Pastes through that menu, as a person would.
    void pegarDesdeMenu(const QString& nombre, const QString& texto);

    // The dialogs shown (and closed) since the last call. An action that made
    // one open returns only once the window is active again (the window asks
    // for it; the offscreen platform, like some window managers, gives it to
    // nobody by itself), and fails the test if it does not become active.
    QList<CajaVista> cajasCerradas();

  private:
    void TrasAccion(qsizetype cajasAntes);

    std::unique_ptr<VigilanteDeCajas> vigilante_;
    std::unique_ptr<frmPrincipal> ventana_;
    QHash<QString, QWidget*> controles_;  // by object name
};

// The one message box the window may show.
bool EsCajaDeCifraNoValida(const CajaVista& caja);

// The dialogs, by title and text, for a failure message.
QString Describir(const QList<CajaVista>& cajas);

}  // namespace tavolen
