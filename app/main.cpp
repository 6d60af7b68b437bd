#include <QApplication>

#include "window/escritorio.h"
#include "window/frm_principal.h"

int main(int argc, char* argv[]) {
    tavolen::PrepararEscritorio();
    QApplication aplicacion(argc, argv);
    tavolen::frmPrincipal ventana;
    ventana.show();
    return QApplication::exec();
}
