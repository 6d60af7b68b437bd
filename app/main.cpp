#include <QApplication>

#include "window/accesibilidad.h"
#include "window/frm_principal.h"

int main(int argc, char* argv[]) {
    // The pictures are compiled into the static window library, whose resource
    // object the linker would otherwise leave out.
    Q_INIT_RESOURCE(ventana);

    QApplication aplicacion(argc, argv);
    tavolen::InstalarAccesibilidad();
    tavolen::frmPrincipal ventana;
    ventana.show();
    return QApplication::exec();
}
