#pragma once

// What the suites that drive the real window share besides the page object:
// a fresh window for every test function, and the check of a rejected text.

#include <QObject>
#include <QString>

#include <memory>

#include "tests/support/open_window.h"

namespace tavolen {

// The base of a suite whose every test function starts on a window just
// opened. Its cleanup fails the test when a dialog opened that the test did
// not take with cajasCerradas(), or when any window outlives the test.
class PruebaConVentana : public QObject {
    Q_OBJECT

  protected:
    std::unique_ptr<VentanaAbierta> abierta_;

  protected slots:
    // A suite with its own init() or cleanup() calls these from it.
    void init();
    void cleanup();
};

// After a commit of a malformed text in `campo`: exactly one box was shown and
// it was the invalid-number message; the field shows `cero`, holds the focus
// and has its whole text selected, so that the next keys replace it.
void VerificarRechazo(VentanaAbierta& abierta, const QString& campo, const QString& cero);

}  // namespace tavolen
