#pragma once

#include <cstdint>
#include <functional>

class QLineEdit;

namespace tavolen {

// The three event procedures of one entry field.
struct ProcedimientosDeCampo {
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    std::function<void()> LostFocus;
    std::function<void()> GotFocus;
};

// Delivers the events of `caja` to its procedures, for as long as the field
// lives:
// - KeyPress: every key press that types a character (see KeyAsciiDe), before
//   the field sees it. On return 0 swallows the key, a changed code is inserted
//   in its place, an unchanged one lets the field take the key as usual.
// - LostFocus: the focus has moved from the field to another control of the
//   same window, by whatever means. Not when the window itself loses the focus
//   (another program, a message box) nor when the field's context menu opens.
// - GotFocus: the field has received the focus from another control or from
//   the program (Tab, Shift+Tab, a click, setFocus). Not when the focus merely
//   comes back with the window's activation (from another program or a message
//   box) to the field that had it, with no focus recorded meanwhile, or from the
//   field's own context menu: the text and its selection stay.
void ConectarCampo(QLineEdit& caja, ProcedimientosDeCampo procedimientos);

}  // namespace tavolen
