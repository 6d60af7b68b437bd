#pragma once

#include <QKeySequence>

class QWidget;

namespace tavolen {

// The key that copies all six results at once, from anywhere in the window:
// Ctrl+Shift+C (Control+Mayúsculas+C), the copy key of terminals. It is no
// platform's copy key (those are Ctrl+C, Ctrl+Insert and the Copy key), so a
// focused entry field leaves it to the window, where its filter would have
// discarded it anyway (code 3, as Ctrl+C); and no global key of GNOME, KDE
// Plasma, Windows, sway's default configuration, Orca or NVDA is bound to it.
QKeySequence AtajoCopiarResultados();

// Lets the user take the results of `ventana` elsewhere:
// - each of the six result displays (lblDbv, lblDbp, txtFv, txtFp, lblDbfv,
//   lblDbfp) selects its text with the mouse, the four labels too, which still
//   never take the keyboard focus;
// - a right click on one opens a menu in the window's language: "Copiar" puts
//   on the clipboard the part of its text selected with the mouse, or else its
//   whole text, exactly as shown ("20,0000", "1.000.000", "INFINITO"); and
//   "Copiar todos los resultados", with its key shown beside it;
// - that key copies the six displays' texts, one line each, named as a screen
//   reader hears them after a calculation:
//     "Decibelios de tensiones: 20,0000\n...\nDecibelios del factor en potencias: 3,0103"
// Nothing else changes: a click on a result label writes no text and moves no
// focus; txtFv and txtFp take it on a click as before.
// The window calls it once, after its controls exist.
void PrepararCopiaDeResultados(QWidget& ventana);

}  // namespace tavolen
