#include "window/activation.h"

#include <qpa/qwindowsysteminterface.h>
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
    // very key or click already flow; then the desktop's, which arrives later
    // and then changes nothing. Qt gives the focus back to the control that
    // last had it.
    InformarActivacion(&ventana);
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

void InformarActivacion(QWidget* ventana) {
    // The platform's own report, delivered before this returns; the public
    // QApplication::setActiveWindow that did this is deprecated since Qt 6.5.
    // Qt 6.7 renamed the report.
    using Entrega = QWindowSystemInterface::SynchronousDelivery;
    QWindow* nativa = ventana != nullptr ? ventana->windowHandle() : nullptr;
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QWindowSystemInterface::handleFocusWindowChanged<Entrega>(nativa, Qt::ActiveWindowFocusReason);
#else
    QWindowSystemInterface::handleWindowActivated<Entrega>(nativa, Qt::ActiveWindowFocusReason);
#endif
}

void ActivarConLaEntrada(QWidget& ventana) {
    if (QWindow* nativa = ventana.windowHandle()) {
        nativa->installEventFilter(new ActivacionPorEntrada(ventana));
    }
    // A window the user has just started is the one they mean to type into.
    ventana.activateWindow();
}

}  // namespace tavolen
