#include "window/activation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tavolen {

namespace {

bool EsEntrada(QEvent::Type tipo) {
    switch (tipo) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            return true;
        default:
            return false;
    }
}

void Activar(QWidget& ventana) {
    // Qt's own bookkeeping first, at once, so that the focus events of this
    // very key or click already flow; then the desktop's, which arrives later.
    // setActiveWindow is what Qt itself calls when the platform reports the
    // activation; it gives the focus back to the control that last had it.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&ventana);
    QT_WARNING_POP
    ventana.activateWindow();
}

// Watches the native window, which sees every key and click before the
// controls do. A window blocked by a modal box receives none of them.
class ActivacionPorEntrada final : public QObject {
  public:
    explicit ActivacionPorEntrada(QWidget& ventana) : QObject(&ventana), ventana_(ventana) {}

  protected:
    bool eventFilter(QObject* /*objeto*/, QEvent* evento) override {
        if (EsEntrada(evento->type()) && !ventana_.isActiveWindow()) {
            Activar(ventana_);
        }
        return false;
    }

  private:
    QWidget& ventana_;
};

}  // namespace

void ActivarConLaEntrada(QWidget& ventana) {
    if (QWindow* nativa = ventana.windowHandle()) {
        nativa->installEventFilter(new ActivacionPorEntrada(ventana));
    }
    // A window the user has just started is the one they mean to type into.
    ventana.activateWindow();
}

}  // namespace tavolen
