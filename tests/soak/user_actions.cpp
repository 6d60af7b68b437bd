#include "tests/soak/user_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>

#include "window/frm_principal.h"

namespace tavolen::soak {

namespace {

// One keystroke as the X server delivers it: the key, its modifiers and the text
// it types (Ctrl+letter types the control code, as on X11).
struct KeyStroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char16_t* text;
    const char* label;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

// Everything but digits, which are picked separately and more often, so that
// the run types numbers and not only noise.
const std::array<KeyStroke, 45> kOtherKeys{{
    {Qt::Key_Comma, kNone, u",", "','"},
    {Qt::Key_Comma, kNone, u",", "','"},
    {Qt::Key_Period, kNone, u".", "'.'"},
    {Qt::Key_Minus, kNone, u"-", "'-'"},
    {Qt::Key_Minus, kNone, u"-", "'-'"},
    {Qt::Key_A, kNone, u"a", "'a'"},
    {Qt::Key_E, kShift, u"E", "'E'"},
    {Qt::Key_X, kNone, u"x", "'x'"},
    {Qt::Key_Z, kShift, u"Z", "'Z'"},
    {Qt::Key_Ntilde, kNone, u"\u00f1", "'\u00f1'"},
    {Qt::Key_Space, kNone, u" ", "space"},
    {Qt::Key_Plus, kShift, u"+", "'+'"},
    {Qt::Key_Slash, kNone, u"/", "'/'"},
    {Qt::Key_Backspace, kNone, u"\b", "Backspace"},
    {Qt::Key_Backspace, kNone, u"\b", "Backspace"},
    {Qt::Key_Return, kNone, u"\r", "Enter"},
    {Qt::Key_Return, kNone, u"\r", "Enter"},
    {Qt::Key_Return, kNone, u"\r", "Enter"},
    {Qt::Key_Enter, Qt::KeypadModifier, u"\r", "keypad Enter"},
    {Qt::Key_Delete, kNone, u"\x7f", "Delete"},
    {Qt::Key_Escape, kNone, u"\x1b", "Escape"},
    {Qt::Key_Left, kNone, u"", "Left"},
    {Qt::Key_Right, kNone, u"", "Right"},
    {Qt::Key_Up, kNone, u"", "Up"},
    {Qt::Key_Down, kNone, u"", "Down"},
    {Qt::Key_Home, kNone, u"", "Home"},
    {Qt::Key_End, kShift, u"", "Shift+End"},
    {Qt::Key_Left, kShift, u"", "Shift+Left"},
    {Qt::Key_Insert, kNone, u"", "Insert"},
    {Qt::Key_A, kCtrl, u"\x01", "Ctrl+A"},
    {Qt::Key_C, kCtrl, u"\x03", "Ctrl+C"},
    {Qt::Key_V, kCtrl, u"\x16", "Ctrl+V"},
    {Qt::Key_X, kCtrl, u"\x18", "Ctrl+X"},
    {Qt::Key_Z, kCtrl, u"\x1a", "Ctrl+Z"},
    {Qt::Key_Y, kCtrl, u"\x19", "Ctrl+Y"},
    {Qt::Key_Z, kCtrl | kShift, u"\x1a", "Ctrl+Shift+Z"},
    {Qt::Key_Backspace, kCtrl, u"\b", "Ctrl+Backspace"},
    {Qt::Key_Return, kCtrl, u"\r", "Ctrl+Enter"},
    {Qt::Key_M, kCtrl, u"\r", "Ctrl+M"},
    {Qt::Key_H, kCtrl, u"\b", "Ctrl+H"},
    {Qt::Key_unknown, kNone, u"\u20ac", "'\u20ac' (above 255)"},
    {Qt::Key_unknown, kNone, u"\u0436", "'\u0436' (above 255)"},
    {Qt::Key_unknown, kNone, u"\u4e2d", "'\u4e2d' (above 255)"},
    {Qt::Key_unknown, kNone, u"\U0001F600", "an emoji (two UTF-16 units)"},
    {Qt::Key_unknown, kNone, u"\uff11", "fullwidth '1' (above 255)"},
}};

// Texts that are not numbers of the field, or are on its edge.
const std::array<const char16_t*, 40> kPastedTexts{{u"",
                                                    u",",
                                                    u",,",
                                                    u"-",
                                                    u"--",
                                                    u"---5",
                                                    u"-,",
                                                    u"5-",
                                                    u"5-5",
                                                    u"1,2,3",
                                                    u"1,2.3",
                                                    u"1.2,3.4",
                                                    u"1e5",
                                                    u"1E-3",
                                                    u" 12",
                                                    u"12 ",
                                                    u"+3",
                                                    u"0x1F",
                                                    u"inf",
                                                    u"nan",
                                                    u"abc",
                                                    u"\u00f1and\u00fa",
                                                    u"X",
                                                    u"..",
                                                    u"1..2",
                                                    u"-0",
                                                    u"-0,0000",
                                                    u"0,0004",
                                                    u"\u0663",
                                                    u"\uff11\uff12",
                                                    u"1\t2",
                                                    u"1\n2",
                                                    u"12,5",
                                                    u"1.234,5",
                                                    u"-3,25",
                                                    u"0,0001",
                                                    u"999.999,9999",
                                                    u"-,5",
                                                    u"5,",
                                                    u"\u20ac5"}};

// Texts that no field can read, whatever the field: each is rejected when the
// field holding it alone is committed.
const std::array<const char16_t*, 8> kUnreadableTexts{
    {u"1,2,3", u",", u"abc", u"1.2,3.4", u"-5-", u"5-", u"\u20ac5", u"--3"}};

// Another program taking the activation, or the desktop giving it back: the
// calls that Qt itself makes when the platform reports the change.
void SetActiveWindow(QWidget* window) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
}

QString FromUtf16(const char16_t* text) {
    return QString::fromUtf16(text);
}

}  // namespace

UserActions::UserActions(VentanaAbierta& page, std::uint64_t seed) : page_(page), random_(seed) {}

PlayedAction UserActions::playOne() {
    const std::size_t roll = pick(100);
    if (roll < 56)
        return pressKey();
    if (roll < 66)
        return pressTab();
    if (roll < 83)
        return click(false);
    if (roll < 87)
        return click(true);
    if (roll < 94)
        return paste();
    if (roll < 97)
        return switchAndBack();
    return clickWithUnreadableText();
}

PlayedAction UserActions::pressKey() {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = &page_.ventana();
    PlayedAction action{PlayedAction::Kind::kKey, target, {}, {}};
    const QString where = target->objectName();
    if (chance(45)) {
        const int digit = static_cast<int>(pick(10));
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + digit);
        QTest::sendKeyEvent(QTest::Click, target, key, QString::number(digit), Qt::NoModifier);
        action.description = QStringLiteral("key '%1' into %2").arg(digit).arg(where);
        action.typed = QString::number(digit);
        return action;
    }
    const KeyStroke& stroke = kOtherKeys[pick(kOtherKeys.size())];
    QTest::sendKeyEvent(QTest::Click, target, stroke.key, FromUtf16(stroke.text), stroke.modifiers);
    action.description =
        QStringLiteral("key %1 into %2").arg(QString::fromUtf8(stroke.label), where);
    const QString text = FromUtf16(stroke.text);
    if ((stroke.modifiers & kCtrl) == 0 && text.size() == 1 && text[0].unicode() >= 32 &&
        text[0].unicode() != 127) {
        action.typed = text;
    }
    return action;
}

PlayedAction UserActions::pressTab() {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = &page_.ventana();
    const bool back = chance(35);
    if (back) {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    } else {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Tab, QStringLiteral("\t"),
                            Qt::NoModifier);
    }
    return {PlayedAction::Kind::kTab,
            target,
            QStringLiteral("%1 from %2").arg(back ? "Shift+Tab" : "Tab", target->objectName()),
            {}};
}

PlayedAction UserActions::click(bool twice) {
    // The buttons and the fields are where the user clicks most.
    // RESET less often, so that runs of commits build up between two of them.
    QWidget* target = nullptr;
    const std::size_t roll = pick(20);
    if (roll < 4) {
        target = &page_.boton("cmdCalcular");
    } else if (roll < 5) {
        target = &page_.boton("cmdReset");
    } else if (roll < 11) {
        target = &page_.campo(kEntryFields[pick(kEntryFields.size())].name);
    } else {
        target = &page_.control(kAllControls[pick(kAllControls.size())]);
    }
    const QPoint at(static_cast<int>(pick(static_cast<std::size_t>(target->width()))),
                    static_cast<int>(pick(static_cast<std::size_t>(target->height()))));
    if (twice) {
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
    } else {
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    }
    return {twice ? PlayedAction::Kind::kDoubleClick : PlayedAction::Kind::kClick,
            target,
            QStringLiteral("%1 on %2 at (%3,%4)")
                .arg(twice ? "double click" : "click", target->objectName())
                .arg(at.x())
                .arg(at.y()),
            {}};
}

PlayedAction UserActions::paste() {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (field == nullptr || EntryFieldIndex(page_, field) < 0) {
        // The user can only paste where the caret is: go into a field first.
        return click(false);
    }
    const QString text = pasteText();
    if (text.isEmpty() && chance(50)) {
        QApplication::clipboard()->clear();
    } else {
        QApplication::clipboard()->setText(text);
    }
    field->paste();
    QString shown =
        text.size() > 24 ? text.left(20) + QStringLiteral("...(%1)").arg(text.size()) : text;
    return {PlayedAction::Kind::kPaste,
            field,
            QStringLiteral("paste \"%1\" into %2").arg(shown, field->objectName()),
            {}};
}

PlayedAction UserActions::switchAndBack() {
    QWidget& window = page_.ventana();
    SetActiveWindow(nullptr);
    if (chance(50)) {
        SetActiveWindow(&window);
        return {PlayedAction::Kind::kReturn,
                QApplication::focusWidget(),
                QStringLiteral("switch to another program and back"),
                {}};
    }
    // The click reaches the window as the desktop delivers it, through its
    // native window, while the window is not yet active.
    const QPoint at(static_cast<int>(pick(static_cast<std::size_t>(window.width()))),
                    static_cast<int>(pick(static_cast<std::size_t>(window.height()))));
    QWidget* under = window.childAt(at);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    return {PlayedAction::Kind::kClick,
            under != nullptr ? under : &window,
            QStringLiteral("switch to another program, then click into the window on %1 at "
                           "(%2,%3)")
                .arg(under != nullptr ? under->objectName() : QStringLiteral("the form"))
                .arg(at.x())
                .arg(at.y()),
            {}};
}

PlayedAction UserActions::clickWithUnreadableText() {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (field == nullptr || EntryFieldIndex(page_, field) < 0) {
        return click(false);
    }
    const QString text = FromUtf16(kUnreadableTexts[pick(kUnreadableTexts.size())]);
    QApplication::clipboard()->setText(text);
    field->selectAll();
    field->paste();
    QPushButton& button = page_.boton(chance(50) ? "cmdReset" : "cmdCalcular");
    const QPoint at(static_cast<int>(pick(static_cast<std::size_t>(button.width()))),
                    static_cast<int>(pick(static_cast<std::size_t>(button.height()))));
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, at);
    return {PlayedAction::Kind::kClick,
            &button,
            QStringLiteral("paste \"%1\" over all of %2, then click on %3 at (%4,%5)")
                .arg(text, field->objectName(), button.objectName())
                .arg(at.x())
                .arg(at.y()),
            {}};
}

QString UserActions::pasteText() {
    switch (pick(6)) {
        case 0:
            return digits(400);  // beyond every double
        case 1:
            return QStringLiteral("-") + digits(1 + pick(400));  // a minus where none may be
        case 2:
            return QStringLiteral("0,") + digits(400);  // 400 decimals
        case 3:
            return digits(1 + pick(12)) + QStringLiteral(",") + digits(pick(6));
        case 4:
            return digits(300 + pick(20));  // around the largest double
        default:
            return FromUtf16(kPastedTexts[pick(kPastedTexts.size())]);
    }
}

QString UserActions::digits(std::size_t count) {
    QString text;
    text.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) text += QChar(u'0' + static_cast<char16_t>(pick(10)));
    return text;
}

}  // namespace tavolen::soak
