#include "window/desktop_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QShowEvent>
#include <QString>
#include <QTimer>
#include <QUrl>

namespace tavolen {

namespace {

QString DesdeUtf8(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QMessageBox::Icon IconoDeEstilo(std::int16_t estilo) {
    // The icon is the 16s digit group of the style code: 16 critical, 32 question,
    // 48 exclamation, 64 information.
    switch (estilo & 0x70) {
        case 16: return QMessageBox::Critical;
        case 32: return QMessageBox::Question;
        case 48: return QMessageBox::Warning;
        case 64: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// A message box over the middle of its window. Qt places a dialog before it is
// shown, but a message box takes its final size only as it is shown, smaller
// than the one it was placed by: a window manager that keeps a program's
// placement (KWin on X11) showed it higher than the middle. Placed again here,
// after the size and before the box reaches the screen. A compositor that
// places windows itself (on Wayland) centres it over its parent by its own rule.
class CajaCentrada final : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* evento) override {
        QMessageBox::showEvent(evento);
        if (const QWidget* ventana = parentWidget(); ventana != nullptr && !evento->spontaneous()) {
            QRect caja = geometry();
            caja.moveCenter(ventana->geometry().center());
            move(caja.topLeft() - (geometry().topLeft() - pos()));
        }
    }
};

}  // namespace

void MsgBox(QWidget* propietario, std::string_view mensaje, std::int16_t estilo,
            std::string_view titulo) {
    CajaCentrada caja(IconoDeEstilo(estilo), DesdeUtf8(titulo), DesdeUtf8(mensaje),
                     QMessageBox::Ok, propietario);
    // The box asks for the keyboard once it is up, so that Enter closes it on a
    // desktop that activates no new window by itself (no window manager, or
    // evilwm), where the keys would otherwise still go to the blocked window.
    QTimer::singleShot(0, &caja, [&caja] { caja.activateWindow(); });
    caja.exec();
}

void AbrirDireccion(std::string_view direccion) {
    QDesktopServices::openUrl(QUrl(DesdeUtf8(direccion)));
}

}  // namespace tavolen
