#pragma once

#include <cstdint>
#include <string_view>

class QWidget;

namespace tavolen {

// The few services of the desktop that the calculator calls, each done here and
// nowhere else.

// Message box style codes: the exclamation icon with a single OK button.
inline constexpr std::int16_t kEstiloExclamacion = 48;

// Shows a modal message box owned by `propietario` with the prompt, the title and
// the icon of `estilo`, and returns when the user has dismissed it.
void MsgBox(QWidget* propietario, std::string_view mensaje, std::int16_t estilo,
            std::string_view titulo);

// Asks the desktop to open `direccion` with its default handler. A failure shows
// nothing: there is nothing the user could do about it.
void AbrirDireccion(std::string_view direccion);

}  // namespace tavolen
