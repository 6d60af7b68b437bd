#include "window/escritorio.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace tavolen {

namespace {

bool EnLaLista(const char* variable, QByteArrayView nombre) {
    return qgetenv(variable).split(':').contains(nombre);
}

// GNOME's compositor, mutter, leaves every Wayland window to draw its own title
// bar. Qt draws it with a decoration plugin: from Qt 6.8 on it ships one in
// GNOME's look, Adwaita, which it prefers on GNOME and which shows only the
// buttons the window asks for. Before it there is only "bradient", which draws
// minimise, maximise and close whatever the window asks, in no desktop's look,
// and whose maximise moves a fixed-size window to the screen's corner.
bool QtDibujaBarrasDeGnome() {
    const QDir complementos(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                            QStringLiteral("/wayland-decoration-client"));
    return !complementos.entryList({QStringLiteral("*adwaita*")}, QDir::Files).isEmpty();
}

// On a GNOME Wayland session without Qt's Adwaita title bar, the window goes to
// the session's X server, XWayland, as a Qt expert would send it: there mutter
// draws the title bar itself, in GNOME's look, with only the buttons that the
// window's flags allow, and it centres the message box over its window, which
// it knows as the box's transient parent. Whoever chose a platform himself
// (QT_QPA_PLATFORM) keeps it; without XWayland (no DISPLAY) Wayland is the
// only road, as it is when XWayland refuses the connection. Plasma's KWin
// draws its own title bars on Wayland: Qt stays there.
bool ConvieneXWayland() {
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           !qEnvironmentVariableIsEmpty("DISPLAY") && EnLaLista("XDG_CURRENT_DESKTOP", "GNOME") &&
           !QtDibujaBarrasDeGnome();
}

// Runs once the QApplication has its platform, so that the programs that the
// window starts (the browser of the banner's page) choose their own.
void OlvidarPlataformaElegida() {
    qunsetenv("QT_QPA_PLATFORM");
}

}  // namespace

void PrepararEscritorio() {
    // The Wayland app id and, on X11, the desktop file properties that KDE and
    // GNOME read; the application name becomes the class of X11's WM_CLASS,
    // which they fall back to.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kIdDelLanzador));
    QCoreApplication::setApplicationName(QString::fromLatin1(kIdDelLanzador));
    if (ConvieneXWayland()) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
        qAddPreRoutine(OlvidarPlataformaElegida);
    }
}

}  // namespace tavolen
