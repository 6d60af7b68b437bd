#pragma once

namespace tavolen {

// The launcher's id: the name of the installed .desktop file and AppStream id.
inline constexpr char kIdDelLanzador[] = "org.tavolen.Tavolen";

// What the program tells the desktop before the toolkit starts: who it is (the
// launcher's id, which docks, switchers and title bars look its name and icon
// up by) and, on a desktop whose compositor draws no title bars, the platform
// that gives the window a title bar in the desktop's own look. main() calls it
// before it builds the QApplication, which chooses its platform as it starts.
void PrepararEscritorio();

}  // namespace tavolen
