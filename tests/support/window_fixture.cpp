#include "tests/support/window_fixture.h"

#include <QApplication>
#include <QTest>

namespace tavolen {

void PruebaConVentana::init() {
    abierta_ = std::make_unique<VentanaAbierta>();
}

void PruebaConVentana::cleanup() {
    const QList<CajaVista> cajas = abierta_->cajasCerradas();
    abierta_.reset();
    QVERIFY2(cajas.isEmpty(), qPrintable(Describir(cajas)));
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void VerificarRechazo(VentanaAbierta& abierta, const QString& campo, const QString& cero) {
    const QList<CajaVista> cajas = abierta.cajasCerradas();
    QVERIFY2(cajas.size() == 1, qPrintable(Describir(cajas)));
    QVERIFY(EsCajaDeCifraNoValida(cajas.first()));
    QCOMPARE(abierta.texto(campo), cero);
    QCOMPARE(abierta.enfocado(), campo);
    QVERIFY(abierta.todoSeleccionado(campo));
}

}  // namespace tavolen
