#pragma once

#include <QIcon>

namespace tavolen {

// The window's icon: its own 16 px drawing and the icon theme's pictures of 32
// to 256 px, each decoded the first time a size needs it rather than when the
// window is built.
QIcon IconoDeVentana();

}  // namespace tavolen
