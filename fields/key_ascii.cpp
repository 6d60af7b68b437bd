#include "fields/key_ascii.h"

#include <QKeyEvent>

namespace tavolen {

std::optional<std::int16_t> KeyAsciiDe(const QKeyEvent& tecla) {
    const int key = tecla.key();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return std::nullopt;
        default:
            break;
    }
    if ((tecla.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    }
    const QString texto = tecla.text();
    if (texto.isEmpty()) {
        return std::nullopt;
    }
    // A unit above 32767 wraps to a negative code; the filters let those pass.
    return static_cast<std::int16_t>(texto.at(0).unicode());
}

}  // namespace tavolen
