#include "window/escritorio.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

namespace tavolen {

namespace {

bool EnLaLista(const char* variable, QByteArrayView nombre) {
    return qgetenv(variable).split(':').contains(nombre);
}

// GNOME's compositor, mutter, leaves every Wayland window to draw its own title
// bar, and Qt draws it with a decoration plugin that cannot honour a fixed
// window: Qt 6.4's "bradient" shows minimise, maximise and close whatever the
// window asks, in no desktop's look, and its maximise moves the window to the
// screen's corner; Qt 6.8's "adwaita" takes its buttons from the desktop's
// layout setting (none at all without the settings portal) and maximises on a
// double click of the title bar, whatever the window's flags say. On XWayland,
// the session's X server, mutter draws the title bar itself, in GNOME's look,
// with only the buttons the window's flags allow, and centres the message box
// over its window, which it knows as the box's transient parent. So on GNOME
// the window goes there, unless whoever started it chose a platform himself
// (QT_QPA_PLATFORM) or the session has no XWayland (no DISPLAY): Wayland is
// then the road, as it is when XWayland refuses the connection. Plasma's KWin
// draws its own title bars on Wayland: Qt stays there.
bool ConvieneXWayland() {
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           !qEnvironmentVariableIsEmpty("DISPLAY") && EnLaLista("XDG_CURRENT_DESKTOP", "GNOME");
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
