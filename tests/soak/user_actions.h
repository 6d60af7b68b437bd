#pragma once

#include <QString>

#include <cstdint>
#include <random>

#include "tests/support/known_controls.h"

namespace tavolen::soak {

// What one played action was, for the invariants and for the failure report.
struct PlayedAction {
    // kReturn: the window lost the activation to another program and the
    // desktop gave it back, nothing else happening.
    enum class Kind { kKey, kTab, kClick, kDoubleClick, kPaste, kReturn };
    Kind kind = Kind::kKey;
    QWidget* target = nullptr;  // the widget that received the keys or the click
    QString description;        // "key '5' into txtV1", "click on cmdReset at (10,4)"
    QString typed;              // the character of a plain character key, else empty
};

// Plays random user actions on the window, reproducibly from a seed: keystrokes
// of every kind into the control that has the focus, Tab and Shift+Tab, clicks
// and double clicks on every control, and pastes into the focused entry field
// from a clipboard holding numbers, malformed numbers, letters, numbers of 400
// digits, minus signs or nothing; switches to another program and back (the
// desktop giving the activation back, or a click into the window taking it);
// and an unreadable text put into the focused field just before a click on
// RESET or CALCULAR.
class UserActions {
  public:
    UserActions(VentanaAbierta& page, std::uint64_t seed);

    PlayedAction playOne();

  private:
    std::size_t pick(std::size_t count) { return static_cast<std::size_t>(random_() % count); }
    bool chance(int percent) { return pick(100) < static_cast<std::size_t>(percent); }

    PlayedAction pressKey();
    PlayedAction pressTab();
    PlayedAction click(bool twice);
    PlayedAction paste();
    PlayedAction switchAndBack();
    PlayedAction clickWithUnreadableText();
    QString pasteText();
    QString digits(std::size_t count);

    VentanaAbierta& page_;
    std::mt19937_64 random_;
};

}  // namespace tavolen::soak
