#include "window/accesibilidad.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace tavolen {

namespace {

// A label that keeps Qt's name, description and role, and adds its text as
// the value.
class EtiquetaConValor : public QAccessibleWidget {
  public:
    explicit EtiquetaConValor(QLabel* etiqueta)
        : QAccessibleWidget(etiqueta, QAccessible::StaticText) {}

    QString text(QAccessible::Text tipo) const override {
        if (tipo == QAccessible::Value) {
            return static_cast<const QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(tipo);
    }
};

// Labels without an accessible name are left to Qt, which already reads their
// text as their name: the headings "VALOR 1", "DECIBELIOS"...
QAccessibleInterface* InterfazDeEtiqueta(const QString& /*clase*/, QObject* objeto) {
    auto* etiqueta = qobject_cast<QLabel*>(objeto);
    if (etiqueta == nullptr || etiqueta->accessibleName().isEmpty()) {
        return nullptr;
    }
    return new EtiquetaConValor(etiqueta);
}

}  // namespace

void InstalarAccesibilidad() {
    // Installing the same factory twice would only ask it twice.
    static const bool instalada = [] {
        QAccessible::installFactory(InterfazDeEtiqueta);
        return true;
    }();
    (void)instalada;
}

}  // namespace tavolen
