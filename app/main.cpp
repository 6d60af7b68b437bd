#include <QApplication>

#include "window/frm_principal.h"

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    tavolen::frmPrincipal ventana;
    ventana.show();
    return QApplication::exec();
}
