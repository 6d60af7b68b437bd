#include "tests/window/ventana_abierta.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "window/frm_principal.h"

// Q_INIT_RESOURCE names a function in the global namespace.
static void RegistrarRecursos() {
    Q_INIT_RESOURCE(ventana);
}

namespace tavolen {

void CargarRecursosDeVentana() {
    static const bool cargados = (RegistrarRecursos(), true);
    (void)cargados;
}

VentanaAbierta::VentanaAbierta() {
    CargarRecursosDeVentana();
    ventana_ = std::make_unique<frmPrincipal>();
    vigilante_.setInterval(100);
    QObject::connect(&vigilante_, &QTimer::timeout, [this] {
        if (QWidget* dialogo = QApplication::activeModalWidget()) {
            dialogos_ << dialogo->windowTitle();
            dialogo->close();
        }
    });
    vigilante_.start();
    ventana_->show();
    if (!QTest::qWaitForWindowActive(ventana_.get())) {
        qWarning("the window did not become active");
    }
}

VentanaAbierta::~VentanaAbierta() = default;

QWidget& VentanaAbierta::control(const QString& nombre) {
    auto* hijo = ventana_->findChild<QWidget*>(nombre);
    if (hijo == nullptr) {
        qFatal("the window has no control named %s", qPrintable(nombre));
    }
    return *hijo;
}

QLineEdit& VentanaAbierta::campo(const QString& nombre) {
    auto* campo = qobject_cast<QLineEdit*>(&control(nombre));
    if (campo == nullptr) {
        qFatal("%s is not a text box", qPrintable(nombre));
    }
    return *campo;
}

QLabel& VentanaAbierta::etiqueta(const QString& nombre) {
    auto* etiqueta = qobject_cast<QLabel*>(&control(nombre));
    if (etiqueta == nullptr) {
        qFatal("%s is not a label", qPrintable(nombre));
    }
    return *etiqueta;
}

QPushButton& VentanaAbierta::boton(const QString& nombre) {
    auto* boton = qobject_cast<QPushButton*>(&control(nombre));
    if (boton == nullptr) {
        qFatal("%s is not a button", qPrintable(nombre));
    }
    return *boton;
}

QString VentanaAbierta::texto(const QString& nombre) {
    QWidget& hijo = control(nombre);
    if (auto* campo = qobject_cast<QLineEdit*>(&hijo)) {
        return campo->text();
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
    return foco == nullptr ? QString() : foco->objectName();
}

void VentanaAbierta::clic(const QString& nombre) {
    QWidget& hijo = control(nombre);
    QTest::mouseClick(&hijo, Qt::LeftButton, Qt::NoModifier, hijo.rect().center());
}

}  // namespace tavolen
