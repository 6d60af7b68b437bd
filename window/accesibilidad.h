#pragma once

namespace tavolen {

// Qt's accessible QLabel reports its accessible name in place of its text, so a
// result label named "Decibelios de la relación de tensiones" would never let a
// screen reader hear the number it shows. After this call every label that
// carries an accessible name reports its text as its accessible value and
// through the accessible text interface, as a read-only text box does:
//   lblDbv: name "Decibelios de la relación de tensiones", value "20,0000".
// The window calls it before it builds its controls; calling it again does nothing.
void InstalarAccesibilidad();

}  // namespace tavolen
