#include "tests/fields/calculadora.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "window/frm_principal.h"

namespace tavolen {

namespace {

template <class Control>
Control& Hijo(QWidget& ventana, const char* nombre) {
    auto* control = ventana.findChild<Control*>(QString::fromLatin1(nombre));
    if (control == nullptr) {
        qFatal("the window has no control %s of the expected kind", nombre);
    }
    return *control;
}

QWidget& Enfocado() {
    QWidget* foco = QApplication::focusWidget();
    if (foco == nullptr) {
        qFatal("nothing holds the focus to type into");
    }
    return *foco;
}

}  // namespace

Calculadora::Calculadora() : ventana_(std::make_unique<frmPrincipal>()) {
    vigilante_.setInterval(20);
    QObject::connect(&vigilante_, &QTimer::timeout, [this] { CerrarCajas(); });
    vigilante_.start();
    ventana_->show();
    ventana_->activateWindow();
    if (!QTest::qWaitForWindowActive(ventana_.get())) {
        qFatal("the window did not become active");
    }
}

Calculadora::~Calculadora() = default;

QLineEdit& Calculadora::campo(const char* nombre) {
    return Hijo<QLineEdit>(*ventana_, nombre);
}

QString Calculadora::texto(const char* nombre) {
    QWidget& control = Hijo<QWidget>(*ventana_, nombre);
    if (auto* caja = qobject_cast<QLineEdit*>(&control)) {
        return caja->text();
    }
    return Hijo<QLabel>(*ventana_, nombre).text();
}

QString Calculadora::enfocado() const {
    const QWidget* foco = QApplication::focusWidget();
    return foco != nullptr ? foco->objectName() : QString();
}

bool Calculadora::todoSeleccionado(const char* nombre) {
    const QLineEdit& caja = campo(nombre);
    if (caja.text().isEmpty()) {
        return !caja.hasSelectedText() && caja.cursorPosition() == 0;
    }
    return caja.selectionStart() == 0 && caja.selectedText() == caja.text();
}

void Calculadora::escribir(const QString& teclas) {
    for (const QChar c : teclas) {
        const qsizetype antes = cajas_.size();
        QTest::keyClick(&Enfocado(), c.toLatin1());
        TrasAccion(antes);
    }
}

void Calculadora::pulsar(Qt::Key tecla, Qt::KeyboardModifiers modificadores) {
    const qsizetype antes = cajas_.size();
    QTest::keyClick(&Enfocado(), tecla, modificadores);
    TrasAccion(antes);
}

void Calculadora::pulsarConTexto(Qt::Key tecla, const QString& texto,
                                 Qt::KeyboardModifiers modificadores) {
    const qsizetype antes = cajas_.size();
    QTest::sendKeyEvent(QTest::Click, &Enfocado(), tecla, texto, modificadores);
    TrasAccion(antes);
}

void Calculadora::clic(const char* nombre) {
    QWidget& control = Hijo<QWidget>(*ventana_, nombre);
    const qsizetype antes = cajas_.size();
    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, control.rect().center());
    TrasAccion(antes);
}

void Calculadora::TrasAccion(qsizetype cajasAntes) {
    if (cajas_.size() > cajasAntes && !QTest::qWaitForWindowActive(ventana_.get())) {
        QTest::qFail("the window did not become active again after its message box", __FILE__,
                     __LINE__);
    }
}

void Calculadora::pegarDesdeMenu(const char* nombre, const QString& texto) {
    QApplication::clipboard()->setText(texto);
    QLineEdit& caja = campo(nombre);
    const QPoint punto = caja.rect().center();
    QContextMenuEvent evento(QContextMenuEvent::Mouse, punto, caja.mapToGlobal(punto));
    QApplication::sendEvent(&caja, &evento);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        qFatal("the field opened no context menu");
    }
    // Qt names the entries by their (untranslated) texts only: "&Paste\tCtrl+V".
    for (QAction* accion : menu->actions()) {
        if (accion->text().remove(QLatin1Char('&')).startsWith(QLatin1String("Paste"))) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(accion).center());
            return;
        }
    }
    qFatal("the context menu has no paste entry");
}

QList<CajaVista> Calculadora::cajasCerradas() {
    return std::exchange(cajas_, {});
}

void Calculadora::CerrarCajas() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        if (caja == nullptr || !caja->isVisible()) {
            continue;
        }
        cajas_.append({caja->text(), caja->windowTitle(), caja->icon(), caja->standardButtons()});
        if (QAbstractButton* ok = caja->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            caja->reject();  // not the expected box; the test sees it in cajas_
        }
    }
}

bool EsCajaDeCifraNoValida(const CajaVista& caja) {
    return caja.texto ==
               QStringLiteral("La cifra no es válida, por favor introdúzcala de nuevo.") &&
           caja.titulo == QStringLiteral("Error") && caja.icono == QMessageBox::Warning &&
           caja.botones == QMessageBox::StandardButtons(QMessageBox::Ok);
}

}  // namespace tavolen
