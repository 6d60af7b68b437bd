#include "fields/field_events.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

#include "fields/key_ascii.h"

namespace tavolen {

namespace {

// Owned by its field, so it goes with it; it is the context of its connection
// to QApplication::focusChanged, which goes with it too.
class EventosDeCampo final : public QObject {
  public:
    EventosDeCampo(QLineEdit& caja, ProcedimientosDeCampo procedimientos)
        : QObject(&caja), caja_(caja), procedimientos_(std::move(procedimientos)) {
        caja.installEventFilter(this);
        // The focus-out event is no place for LostFocus: QLineEdit handles it
        // after the filter and clears the selection that a rejected commit has
        // just made, and it cannot tell another control of the window from a
        // window that merely got deactivated. focusChanged comes after both the
        // focus-out and the focus-in, and names where the focus went. The call
        // is direct: a commit queued for later would run after the click of a
        // button whose press took the focus, and " CALCULAR " would compute
        // without the value just typed.
        connect(qApp, &QApplication::focusChanged, this, &EventosDeCampo::FocoCambiado);
    }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (objeto != &caja_) {
            return false;
        }
        switch (evento->type()) {
            case QEvent::KeyPress:
                return Tecla(*static_cast<QKeyEvent*>(evento));
            case QEvent::FocusIn:
                // QLineEdit selects all by itself only for Tab and Shift+Tab, and
                // then only when nothing is selected, so the selection made here
                // stands on every road by which the focus comes from another
                // control or from the program. Two returns are no arrival: the
                // window getting the activation back (from another program, or
                // from the message box), and the field's context menu closing.
                // The text, its selection and the caret then stay as the user
                // left them; selecting would let the next digit replace the
                // number being typed, or a paste the whole text.
                if (LlegaDeOtroControl(static_cast<QFocusEvent*>(evento)->reason())) {
                    procedimientos_.GotFocus();
                }
                seFueConLaVentana_ = false;
                return false;
            case QEvent::FocusOut:
                seFueConLaVentana_ =
                    static_cast<QFocusEvent*>(evento)->reason() == Qt::ActiveWindowFocusReason;
                if (seFueConLaVentana_) {
                    VigilarElFocoDeLaVentana();
                }
                return false;
            default:
                return false;
        }
    }

  private:
    // The activation brings the focus back to the field that had it when the
    // window lost it; a field that the program gave the focus to while the
    // window was inactive (setFocus only records it then) receives it with the
    // same reason, and that is an arrival.
    bool LlegaDeOtroControl(Qt::FocusReason motivo) const {
        switch (motivo) {
            case Qt::PopupFocusReason: return false;
            case Qt::ActiveWindowFocusReason: return !seFueConLaVentana_;
            default: return true;
        }
    }

    bool Tecla(QKeyEvent& tecla) {
        const std::optional<std::int16_t> codigo = KeyAsciiDe(tecla);
        if (!codigo) {
            return false;
        }
        std::int16_t KeyAscii = *codigo;
        procedimientos_.KeyPress(KeyAscii);
        if (KeyAscii == *codigo) {
            return false;
        }
        // A key event's character cannot be rewritten: the replacement goes in
        // through the field, and the key itself (Enter included, which would
        // otherwise travel on to the window) stops here.
        if (KeyAscii != 0) {
            caja_.insert(QString(QChar(static_cast<char16_t>(KeyAscii))));
        }
        tecla.accept();
        return true;
    }

    // Having left with the window does not make the next activation a return:
    // while the window is inactive the program may record the focus elsewhere
    // (the field that a rejected commit gives it back to, after its message box
    // took it from this one) or on this very field (RESET), and the activation
    // then brings it as an arrival. The window reports every focus it records
    // while inactive; the activation's own report comes once it is active.
    void VigilarElFocoDeLaVentana() {
        if (QWindow* nativa = caja_.window()->windowHandle()) {
            connect(nativa, &QWindow::focusObjectChanged, this, &EventosDeCampo::FocoRegistrado,
                    Qt::UniqueConnection);
        }
    }

    void FocoRegistrado(QObject* foco) {
        if (foco != nullptr && !caja_.window()->isActiveWindow()) {
            seFueConLaVentana_ = false;
        }
    }

    void FocoCambiado(QWidget* antes, QWidget* ahora) {
        // `ahora` is null when the window loses the activation, and belongs to
        // another window when a message box or a context menu takes the focus.
        if (antes == &caja_ && ahora != nullptr && ahora->window() == caja_.window()) {
            procedimientos_.LostFocus();
            SoltarBotonTrasCaja(ahora);
        }
    }

    // A press on a button moves the focus before the button sees the press. When
    // the commit that this runs rejects the text, its message box takes the
    // button's release, and the press that Qt delivers afterwards would leave the
    // button drawn down with no release to come. Once the press has been
    // delivered, a button still down with no mouse button held is let up again:
    // it is not clicked, just as the rejection did not let the focus reach it.
    static void SoltarBotonTrasCaja(QWidget* ahora) {
        auto* boton = qobject_cast<QAbstractButton*>(ahora);
        if (boton == nullptr) {
            return;
        }
        QTimer::singleShot(0, boton, [boton] {
            if (boton->isDown() && QGuiApplication::mouseButtons() == Qt::NoButton) {
                boton->setDown(false);
            }
        });
    }

    QLineEdit& caja_;
    ProcedimientosDeCampo procedimientos_;
    // The focus left with the window's activation, and the window has recorded
    // no focus since: the activation will bring it back.
    bool seFueConLaVentana_ = false;
};

}  // namespace

void ConectarCampo(QLineEdit& caja, ProcedimientosDeCampo procedimientos) {
    new EventosDeCampo(caja, std::move(procedimientos));
}

}  // namespace tavolen
