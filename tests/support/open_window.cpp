#include "tests/support/open_window.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "window/frm_principal.h"

namespace tavolen {

// Watches the whole application, so that it sees a dialog the moment it is
// shown, whatever window opened it, and closes it from a zero timer in the
// dialog's own event loop. A message box is closed with its OK button; any
// other dialog is rejected, and shows up in the record all the same.
class VigilanteDeCajas final : public QObject {
  public:
    VigilanteDeCajas() { qApp->installEventFilter(this); }
    ~VigilanteDeCajas() override { qApp->removeEventFilter(this); }

    QList<CajaVista> cajas;  // shown since the page last handed them out

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        auto* dialogo = evento->type() == QEvent::Show ? qobject_cast<QDialog*>(objeto) : nullptr;
        if (dialogo == nullptr) {
            return false;
        }
        auto* caja = qobject_cast<QMessageBox*>(dialogo);
        cajas.append(caja != nullptr ? CajaVista{caja->text(), caja->windowTitle(), caja->icon(),
                                                 caja->standardButtons()}
                                     : CajaVista{{}, dialogo->windowTitle(), {}, {}});
        QPointer<QDialog> vigilado(dialogo);
        QTimer::singleShot(0, dialogo, [vigilado] {
            auto* abierta = qobject_cast<QMessageBox*>(vigilado.data());
            if (QAbstractButton* ok = abierta ? abierta->button(QMessageBox::Ok) : nullptr) {
                ok->click();
            } else if (vigilado != nullptr) {
                vigilado->reject();
            }
        });
        return false;
    }
};

namespace {

template <class Control>
Control& DeClase(QWidget& control) {
    auto* deClase = qobject_cast<Control*>(&control);
    if (deClase == nullptr) {
        qFatal("%s is no %s", qPrintable(control.objectName()),
               Control::staticMetaObject.className());
    }
    return *deClase;
}

QWidget& Enfocado() {
    QWidget* foco = QApplication::focusWidget();
    if (foco == nullptr) {
        qFatal("nothing holds the focus to type into");
    }
    return *foco;
}

}  // namespace

VentanaAbierta::VentanaAbierta()
    : vigilante_(std::make_unique<VigilanteDeCajas>()), ventana_(std::make_unique<frmPrincipal>()) {
    ventana_->show();
    if (!QTest::qWaitForWindowActive(ventana_.get())) {
        qFatal("the window did not become active");
    }
}

VentanaAbierta::~VentanaAbierta() = default;

// Found once: the soak asks for the same controls after each of its actions.
QWidget& VentanaAbierta::control(const QString& nombre) {
    QWidget*& hijo = controles_[nombre];
    if (hijo == nullptr) {
        hijo = ventana_->findChild<QWidget*>(nombre);
    }
    if (hijo == nullptr) {
        qFatal("the window has no control named %s", qPrintable(nombre));
    }
    return *hijo;
}

QLineEdit& VentanaAbierta::campo(const QString& nombre) {
    return DeClase<QLineEdit>(control(nombre));
}

QLabel& VentanaAbierta::etiqueta(const QString& nombre) {
    return DeClase<QLabel>(control(nombre));
}

QPushButton& VentanaAbierta::boton(const QString& nombre) {
    return DeClase<QPushButton>(control(nombre));
}

QString VentanaAbierta::texto(const QString& nombre) {
    QWidget& hijo = control(nombre);
    if (auto* caja = qobject_cast<QLineEdit*>(&hijo)) {
        return caja->text();
    }
    if (auto* etiqueta = qobject_cast<QLabel*>(&hijo)) {
        return etiqueta->text();
    }
    if (auto* boton = qobject_cast<QPushButton*>(&hijo)) {
        return boton->text();
    }
    qFatal("%s shows no text", qPrintable(nombre));
}

QString VentanaAbierta::enfocado() const {
    const QWidget* foco = QApplication::focusWidget();
    return foco != nullptr ? foco->objectName() : QString();
}

bool VentanaAbierta::todoSeleccionado(const QString& nombre) {
    const QLineEdit& caja = campo(nombre);
    if (caja.text().isEmpty()) {
        return !caja.hasSelectedText() && caja.cursorPosition() == 0;
    }
    return caja.selectionStart() == 0 && caja.selectedText() == caja.text();
}

void VentanaAbierta::escribir(const QString& teclas) {
    for (const QChar c : teclas) {
        const qsizetype antes = vigilante_->cajas.size();
        QTest::keyClick(&Enfocado(), c.toLatin1());
        TrasAccion(antes);
    }
}

void VentanaAbierta::pulsar(Qt::Key tecla, Qt::KeyboardModifiers modificadores) {
    const qsizetype antes = vigilante_->cajas.size();
    QTest::keyClick(&Enfocado(), tecla, modificadores);
    TrasAccion(antes);
}

void VentanaAbierta::pulsarConTexto(Qt::Key tecla, const QString& texto,
                                    Qt::KeyboardModifiers modificadores) {
    const qsizetype antes = vigilante_->cajas.size();
    QTest::sendKeyEvent(QTest::Click, &Enfocado(), tecla, texto, modificadores);
    TrasAccion(antes);
}

void VentanaAbierta::clic(const QString& nombre) {
    QWidget& hijo = control(nombre);
    const qsizetype antes = vigilante_->cajas.size();
    QTest::mouseClick(&hijo, Qt::LeftButton, Qt::NoModifier, hijo.rect().center());
    TrasAccion(antes);
}

void VentanaAbierta::TrasAccion(qsizetype cajasAntes) {
    if (vigilante_->cajas.size() > cajasAntes && !QTest::qWaitForWindowActive(ventana_.get())) {
        QTest::qFail("the window did not become active again after its message box", __FILE__,
                     __LINE__);
    }
}

QMenu& VentanaAbierta::abrirMenu(const QString& nombre) {
    QWidget& hijo = control(nombre);
    const QPoint punto = hijo.rect().center();
    QContextMenuEvent evento(QContextMenuEvent::Mouse, punto, hijo.mapToGlobal(punto));
    QApplication::sendEvent(&hijo, &evento);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        qFatal("%s opened no context menu", qPrintable(nombre));
    }
    return *menu;
}

namespace {

// The menu's paste entry, whatever language Qt speaks. Qt 6.5 and later give
// the standard entries object names ("edit-paste"); Qt 6.4 names them by their
// (translatable) texts only, "&Paste\tCtrl+V", and there the entry is the one
// whose text ends in the paste shortcut that Qt writes after it.
QAction& EntradaPegar(QMenu& menu) {
    const QList<QAction*> acciones = menu.actions();
    const bool conNombres = std::any_of(acciones.begin(), acciones.end(), [](QAction* accion) {
        return !accion->objectName().isEmpty();
    });
    const QString atajo =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* accion : acciones) {
        if (conNombres ? accion->objectName() == QLatin1String("edit-paste")
                       : accion->text().endsWith(atajo)) {
            return *accion;
        }
    }
    qFatal("the context menu has no paste entry");
}

}  // namespace

void VentanaAbierta::pegarDesdeMenu(const QString& nombre, const QString& texto) {
    QApplication::clipboard()->setText(texto);
    QMenu& menu = abrirMenu(nombre);
    QAction& pegar = EntradaPegar(menu);
    if (!pegar.isEnabled()) {
        qFatal("the context menu's paste entry is disabled");
    }
    elegir(menu, pegar);
}

// A synthetic click alone is not enough since Qt 6.8: a menu triggers an entry
// on release only once the pointer has hovered it.
void VentanaAbierta::elegir(QMenu& menu, QAction& entrada) {
    for (qsizetype paso = 0; menu.activeAction() != &entrada; ++paso) {
        if (paso > menu.actions().size()) {
            qFatal("Down never reached the menu entry %s", qPrintable(entrada.text()));
        }
        QTest::keyClick(&menu, Qt::Key_Down);
    }
    QTest::keyClick(&menu, Qt::Key_Return);
}

QList<CajaVista> VentanaAbierta::cajasCerradas() {
    return std::exchange(vigilante_->cajas, {});
}

bool EsCajaDeCifraNoValida(const CajaVista& caja) {
    return caja.texto ==
               QStringLiteral("La cifra no es válida, por favor introdúzcala de nuevo.") &&
           caja.titulo == QStringLiteral("Error") && caja.icono == QMessageBox::Warning &&
           caja.botones == QMessageBox::StandardButtons(QMessageBox::Ok);
}

QString Describir(const QList<CajaVista>& cajas) {
    QStringList descritas;
    for (const CajaVista& caja : cajas) {
        descritas << caja.titulo + QStringLiteral(": ") + caja.texto;
    }
    return descritas.join(QStringLiteral("; "));
}

}  // namespace tavolen
