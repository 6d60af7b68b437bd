#pragma once

class QWidget;

namespace tavolen {

// Makes `ventana` the active window whenever the user works in it, and asks
// the desktop for the activation when it first opens.
//
// Qt moves the focus between the controls of a window with focus events only
// while it counts that window as active; in an inactive one setFocus merely
// records where the focus is to go, and no focus event, so no field commit,
// follows. Some desktops never tell Qt that the window is active: evilwm
// activates nothing by itself, and an X server without a window manager gives
// the keyboard to the window under the pointer without saying so. Keys and
// clicks reach the window all the same; the first of them now activates it
// before it is handled, so that Enter, Tab and a click on a button commit the
// field they leave on every desktop.
//
// Call it from the window's first show event (the native window exists then).
void ActivarConLaEntrada(QWidget& ventana);

// Tells Qt at once what a desktop reports when the activation moves: that
// `ventana` is now the active window, or, with nullptr, another program's.
void InformarActivacion(QWidget* ventana);

}  // namespace tavolen
