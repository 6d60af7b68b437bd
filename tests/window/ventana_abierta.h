#pragma once

// A page object for the window suites: it opens one frmPrincipal, shown and
// active, finds its controls by object name and fails the test when a modal
// dialog appears (it closes the dialog, so that the test cannot hang).

#include <QString>
#include <QTimer>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tavolen {

class frmPrincipal;

class VentanaAbierta {
  public:
    VentanaAbierta();
    ~VentanaAbierta();

    VentanaAbierta(const VentanaAbierta&) = delete;
    VentanaAbierta& operator=(const VentanaAbierta&) = delete;

    frmPrincipal& ventana() { return *ventana_; }
    QWidget& control(const QString& nombre);  // fails the test when there is no such child
    QLineEdit& campo(const QString& nombre);
    QLabel& etiqueta(const QString& nombre);
    QPushButton& boton(const QString& nombre);
    QString texto(const QString& nombre);  // of a text box, a label or a button
    QString enfocado() const;              // object name of the focus widget, or ""

    // A press and a release of the left button at the centre of a control.
    void clic(const QString& nombre);

    // The titles of the modal dialogs that appeared (and were closed) so far.
    const QStringList& dialogosInesperados() const { return dialogos_; }

  private:
    std::unique_ptr<frmPrincipal> ventana_;
    QTimer vigilante_;
    QStringList dialogos_;
};

// The pictures are compiled into the window library; a test executable must
// register them as the application does.
void CargarRecursosDeVentana();

}  // namespace tavolen
