#pragma once

class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace tavolen {

// Qt's accessible QLabel reports its accessible name in place of its text, so a
// result label named "Decibelios de la relación de tensiones" would never let a
// screen reader hear the number it shows. After this call every label that
// carries an accessible name reports its text as its accessible value and
// through the accessible text interface, as a read-only text box does:
//   lblDbv: name "Decibelios de la relación de tensiones", value "20,0000".
// The banner becomes a link whose press action opens its page, as a click
// does, and the three lines separators.
// The window calls it once, before it builds its first controls.
void InstalarAccesibilidad();

// Tells assistive technology that the result display `resultado` (a label or a
// read-only text box) has just been written, even with the text it had:
// a text update from `anterior` to its text and a value change to it, so that
// a screen reader or braille display that follows changes hears every result
// of a calculation and of a clearing, whatever the kind of widget.
void AnunciarTexto(QLabel& resultado, const QString& anterior);
void AnunciarTexto(QLineEdit& resultado, const QString& anterior);

// Has a screen reader speak `frase` now, wherever the focus is: the six results
// after " CALCULAR ", the clearing after RESET. A display's text change alone is
// not enough: Orca speaks changes only of the control that holds the focus.
// With Qt 6.8 and later, an announcement event of `ventana`. Before it, a
// notification named `frase` that becomes showing, which Orca speaks: a child of
// `ventana` of no size, so that nothing is drawn, and a new one each time, since
// Orca speaks an object that shows again with another name only once.
void Anunciar(QWidget& ventana, const QString& frase);

}  // namespace tavolen
