#pragma once

class QWidget;

namespace tavolen {

// Gives the window's controls their fonts, the result displays their colours
// and the whole window the classic light palette, whatever the desktop's theme.
// These stand in code rather than in the form: a form's fonts hold whole points
// only (9.75 and 14.25 are not), and a style sheet, which could hold them, costs
// the start-up a sixth more instructions in polishing every widget.
void AplicarApariencia(QWidget& ventana);

}  // namespace tavolen
