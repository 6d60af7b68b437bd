#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace tavolen {

// The character code that a key press hands to a field's keystroke handler, or
// nullopt when the key types no character and reaches the field untouched.
// Decided by the key first and by its text only after, because key texts differ
// between platforms (Ctrl+C comes as "c" with the Control modifier from Qt Test
// and as "\x03" from X11; Delete carries "\x7f" on X11, Shift+Tab "\x0b" in Qt
// Test and nothing on X11):
//   Return, keypad Enter -> 13         Backspace -> 8
//   Ctrl+A ... Ctrl+Z    -> 1 ... 26   (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24, Ctrl+Z 26)
//   Tab, Shift+Tab, Delete, arrows, Home, End, Shift -> nullopt
//   otherwise the first UTF-16 unit of the text: "." -> 46, "€" -> 8364
std::optional<std::int16_t> KeyAsciiDe(const QKeyEvent& tecla);

}  // namespace tavolen
