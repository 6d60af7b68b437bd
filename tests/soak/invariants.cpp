#include "tests/soak/invariants.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>
#include <string>

#include "engine/decibel_computation.h"
#include "engine/number_text.h"
#include "engine/result_texts.h"
#include "window/frm_principal.h"

namespace tavolen::soak {

namespace {

const QString kInvalidNumber =
    QStringLiteral("La cifra no es válida, por favor introdúzcala de nuevo.");
const QString kZero = QStringLiteral("0,0000");

std::array<double, 6> ResultsOf(const CalculatorState& s) {
    return {s.Dbv, s.Dbp, s.Fv, s.Fp, s.Dbfv, s.Dbfp};
}

std::array<QString, 6> TextsOf(const TextosResultados& t) {
    return {QString::fromStdString(t.lblDbv),  QString::fromStdString(t.lblDbp),
            QString::fromStdString(t.txtFv),   QString::fromStdString(t.txtFp),
            QString::fromStdString(t.lblDbfv), QString::fromStdString(t.lblDbfp)};
}

QString Inputs(const CalculatorState& s) {
    return QStringLiteral("V1=%1 V2=%2 P1=%3 P2=%4 Db1=%5 F1=%6")
        .arg(s.V1, 0, 'g', 17)
        .arg(s.V2, 0, 'g', 17)
        .arg(s.P1, 0, 'g', 17)
        .arg(s.P2, 0, 'g', 17)
        .arg(s.Db1, 0, 'g', 17)
        .arg(s.F1, 0, 'g', 17);
}

// Long texts (pasted numbers of 400 digits) by their ends and their length.
QString Quoted(const QString& text) {
    if (text.size() <= 40)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return QStringLiteral("\"%1...%2\" (%3 characters)")
        .arg(text.left(16), text.right(16))
        .arg(text.size());
}

bool IsEnter(const PlayedAction& action) {
    return action.description.startsWith(QStringLiteral("key Enter")) ||
           action.description.startsWith(QStringLiteral("key keypad Enter"));
}

}  // namespace

InvariantChecker::InvariantChecker(VentanaAbierta& page) : page_(page) {
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        lastAccepted_[i] = QString::fromLatin1(kEntryFields[i].zeroText);
    }
    resultTexts_.fill(kZero);
    for (const char* name : kAllControls) geometry_.push_back(page_.control(name).geometry());
    // Connected after the window's own handlers, so these run right after them.
    connect(&page_.boton("cmdCalcular"), &QPushButton::clicked, this,
            &InvariantChecker::onCalculated);
    connect(&page_.boton("cmdReset"), &QPushButton::clicked, this, &InvariantChecker::onReset);
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
}

InvariantChecker::~InvariantChecker() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

QLineEdit& InvariantChecker::field(std::size_t index) const {
    return page_.campo(kEntryFields[index].name);
}

QString InvariantChecker::resultText(std::size_t index) const {
    return page_.texto(kResultDisplays[index]);
}

void InvariantChecker::openUrl(const QUrl& url) {
    ++urlsOpened_;
    lastUrl_ = url;
}

QString InvariantChecker::checkStartUp() const {
    return checkStartUpState(true);
}

QString InvariantChecker::checkStartUpState(bool focusToo) const {
    QString broken;
    const CalculatorState& s = page_.ventana().estado();
    const double numbers[] = {s.V1,  s.V2,  s.P1, s.P2, s.Db1,  s.F1,
                              s.Dbv, s.Dbp, s.Fv, s.Fp, s.Dbfv, s.Dbfp};
    for (double number : numbers) {
        if (number != 0) {
            broken +=
                QStringLiteral("a number of the state is not 0 (%1, results %2 %3 %4 %5 %6 %7); ")
                    .arg(Inputs(s))
                    .arg(s.Dbv)
                    .arg(s.Dbp)
                    .arg(s.Fv)
                    .arg(s.Fp)
                    .arg(s.Dbfv)
                    .arg(s.Dbfp);
            break;
        }
    }
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        if (field(i).text() != QString::fromLatin1(kEntryFields[i].zeroText)) {
            broken += QStringLiteral("%1 shows %2, not its zero text; ")
                          .arg(QString::fromLatin1(kEntryFields[i].name), Quoted(field(i).text()));
        }
    }
    for (std::size_t i = 0; i < kResultDisplays.size(); ++i) {
        if (resultText(i) != kZero) {
            broken += QStringLiteral("%1 shows %2, not 0,0000; ")
                          .arg(QString::fromLatin1(kResultDisplays[i]), Quoted(resultText(i)));
        }
    }
    if (focusToo) {
        QLineEdit* first = &field(0);
        if (QApplication::focusWidget() != first) {
            broken +=
                QStringLiteral("the focus is on %1, not on txtV1; ")
                    .arg(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                     : QStringLiteral("nothing"));
        } else if (first->selectedText() != first->text()) {
            broken += QStringLiteral("txtV1 has %1 selected, not its whole text; ")
                          .arg(Quoted(first->selectedText()));
        }
    }
    return broken;
}

void InvariantChecker::beforeAction() {
    stateBefore_ = page_.ventana().estado();
    focusBefore_ = QApplication::focusWidget();
    if (auto* focused = qobject_cast<QLineEdit*>(focusBefore_)) {
        selectionStartBefore_ = focused->selectionStart();
        selectedBefore_ = focused->selectedText();
        caretBefore_ = focused->cursorPosition();
    }
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) textsBefore_[i] = field(i).text();
    urlsBefore_ = urlsOpened_;
    calculated_ = false;
    reset_ = false;
    duringAction_.clear();
}

void InvariantChecker::onCalculated() {
    calculated_ = true;
    ++calculations_;
    const CalculatorState& actual = page_.ventana().estado();
    CalculatorState expected = actual;
    CalcularResultados(expected);
    const std::array<QString, 6> texts = TextsOf(TextosDeResultados(expected));
    const std::array<double, 6> want = ResultsOf(expected);
    const std::array<double, 6> got = ResultsOf(actual);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (resultText(i) != texts[i]) {
            duringAction_ +=
                QStringLiteral("after the calculation %1 shows %2, the engine gives %3 for %4; ")
                    .arg(QString::fromLatin1(kResultDisplays[i]), Quoted(resultText(i)),
                         Quoted(texts[i]), Inputs(actual));
        }
        if (!(got[i] == want[i])) {
            duringAction_ +=
                QStringLiteral(
                    "after the calculation result %1 is %2, the engine gives %3 for %4; ")
                    .arg(i)
                    .arg(got[i], 0, 'g', 17)
                    .arg(want[i], 0, 'g', 17)
                    .arg(Inputs(actual));
        }
        resultTexts_[i] = resultText(i);
    }
    results_ = got;
    if (actual.V1 != 0 || actual.V2 != 0 || actual.P1 != 0 || actual.P2 != 0 || actual.Db1 != 0 ||
        actual.F1 != 0) {
        ++nonZeroCalculations_;
    }
}

void InvariantChecker::onReset() {
    reset_ = true;
    ++resets_;
    const QString broken = checkStartUpState(false);
    if (!broken.isEmpty())
        duringAction_ += QStringLiteral("after RESET: ") + broken;
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        lastAccepted_[i] = QString::fromLatin1(kEntryFields[i].zeroText);
    }
    resultTexts_.fill(kZero);
    results_.fill(0);
}

QString InvariantChecker::afterAction(const PlayedAction& action) {
    QString broken = duringAction_;
    boxes_ = page_.cajasCerradas();
    messageBoxes_ += static_cast<int>(boxes_.size());
    if (QWidget* modal = QApplication::activeModalWidget()) {
        broken += QStringLiteral("a modal window (%1) is still open; ")
                      .arg(modal->metaObject()->className());
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(top) != nullptr && top->isVisible()) {
            broken += QStringLiteral("a message box is still shown; ");
        }
    }
    if (!page_.ventana().isActiveWindow())
        broken += QStringLiteral("the window is not the active window; ");

    broken += checkMessageBox(action);
    broken += checkEntryFields();
    broken += checkResults();
    broken += checkKeystrokeFilter(action);

    QWidget* focus = QApplication::focusWidget();
    const bool boxShown = !boxes_.isEmpty();
    if (reset_) {
        const QString startUp = checkStartUpState(true);
        if (!startUp.isEmpty())
            broken += QStringLiteral("after RESET: ") + startUp;
    }
    if (action.kind == PlayedAction::Kind::kReturn)
        broken += checkReturn();
    // Entering a field from the keyboard selects its whole text.
    const int focusedField = EntryFieldIndex(page_, focus);
    if (!boxShown && focus != focusBefore_ && focusedField >= 0 &&
        (action.kind == PlayedAction::Kind::kTab || action.kind == PlayedAction::Kind::kKey)) {
        const QLineEdit& entered = field(static_cast<std::size_t>(focusedField));
        if (entered.selectedText() != entered.text()) {
            broken += QStringLiteral("%1 took the focus from the keyboard with %2 selected of %3; ")
                          .arg(entered.objectName(), Quoted(entered.selectedText()),
                               Quoted(entered.text()));
        }
    }
    // An accepted Enter moves along txtV1 -> ... -> txtF1 -> cmdCalcular and computes nothing.
    const int enteredField = EntryFieldIndex(page_, focusBefore_);
    if (IsEnter(action) && !boxShown && enteredField >= 0 && action.target == focusBefore_) {
        QWidget* next = enteredField + 1 < static_cast<int>(kEntryFields.size())
                            ? &field(static_cast<std::size_t>(enteredField) + 1)
                            : static_cast<QWidget*>(&page_.boton("cmdCalcular"));
        if (focus != next) {
            broken += QStringLiteral("Enter in %1 left the focus on %2, not on %3; ")
                          .arg(focusBefore_->objectName(),
                               focus ? focus->objectName() : QStringLiteral("nothing"),
                               next->objectName());
        }
        if (calculated_)
            broken +=
                QStringLiteral("Enter in %1 pressed CALCULAR; ").arg(focusBefore_->objectName());
    }
    // Nothing creates, moves, resizes or hides a control.
    for (std::size_t i = 0; i < kAllControls.size(); ++i) {
        const QWidget& control = page_.control(kAllControls[i]);
        if (control.geometry() != geometry_[i] || !control.isVisible()) {
            broken += QStringLiteral("%1 moved, resized or hid; ").arg(control.objectName());
        }
    }
    // Only the banner opens the web page, once per click.
    const int opened = urlsOpened_ - urlsBefore_;
    if (opened > 0 && action.target != &page_.control("imgLogo")) {
        broken += QStringLiteral("a web page was opened; ");
    }
    if (opened > 0 &&
        lastUrl_ != QUrl(QString::fromUtf8(kDireccionDelLogo.data(), kDireccionDelLogo.size()))) {
        broken += QStringLiteral("the banner opened %1; ").arg(lastUrl_.toString());
    }
    if (action.kind == PlayedAction::Kind::kClick && action.target == &page_.control("imgLogo") &&
        opened != 1) {
        broken += QStringLiteral("a click on the banner opened %1 pages; ").arg(opened);
    }
    return broken;
}

QString InvariantChecker::checkMessageBox(const PlayedAction& action) const {
    Q_UNUSED(action);
    QString broken;
    const CalculatorState& s = page_.ventana().estado();
    const auto shown = boxes_.size();
    if (shown == 0) {
        if (s.Mensaje != stateBefore_.Mensaje || s.Titulo != stateBefore_.Titulo ||
            s.Estilo != stateBefore_.Estilo) {
            broken += QStringLiteral("the message variables changed without a message box; ");
        }
        return broken;
    }
    if (shown > 1)
        broken += QStringLiteral("%1 message boxes for one action; ").arg(shown);
    const CajaVista& box = boxes_.last();
    if (!EsCajaDeCifraNoValida(box)) {
        broken += QStringLiteral("the message box showed %1 titled %2 with icon %3; ")
                      .arg(Quoted(box.texto), Quoted(box.titulo))
                      .arg(static_cast<int>(box.icono));
    }
    if (QString::fromStdString(s.Mensaje) != kInvalidNumber || s.Titulo != "Error" ||
        s.Estilo != 48) {
        broken += QStringLiteral("the message variables are %1 %2 %3; ")
                      .arg(Quoted(QString::fromStdString(s.Mensaje)),
                           Quoted(QString::fromStdString(s.Titulo)))
                      .arg(s.Estilo);
    }
    // Only the field that had the focus commits, so only it can be rejected.
    const int rejected = EntryFieldIndex(page_, focusBefore_);
    if (rejected < 0) {
        broken += QStringLiteral(
                      "a message box opened while the focus was on %1, not in an entry field; ")
                      .arg(focusBefore_ ? focusBefore_->objectName() : QStringLiteral("nothing"));
        return broken;
    }
    const auto index = static_cast<std::size_t>(rejected);
    QLineEdit* rejectedField = &field(index);
    const QString zero = QString::fromLatin1(kEntryFields[index].zeroText);
    if (rejectedField->text() != zero) {
        broken += QStringLiteral("%1 shows %2 after the message box, not its zero text; ")
                      .arg(rejectedField->objectName(), Quoted(rejectedField->text()));
    }
    if (!reset_) {
        if (s.*kEntryFields[index].input != stateBefore_.*kEntryFields[index].input) {
            broken += QStringLiteral("the rejected %1 changed its value; ")
                          .arg(rejectedField->objectName());
        }
        if (QApplication::focusWidget() != rejectedField) {
            broken +=
                QStringLiteral("the focus is on %1 after %2 was rejected; ")
                    .arg(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                     : QStringLiteral("nothing"),
                         rejectedField->objectName());
        } else if (rejectedField->selectedText() != rejectedField->text()) {
            broken += QStringLiteral("the rejected %1 has %2 selected, not its whole text; ")
                          .arg(rejectedField->objectName(), Quoted(rejectedField->selectedText()));
        }
    }
    return broken;
}

QString InvariantChecker::checkEntryFields() {
    QString broken;
    const CalculatorState& s = page_.ventana().estado();
    QWidget* focus = QApplication::focusWidget();
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        const EntryField& known = kEntryFields[i];
        const QString name = QString::fromLatin1(known.name);
        // A field without the focus has been committed: what it shows was accepted.
        if (&field(i) != focus)
            lastAccepted_[i] = field(i).text();
        const double value = s.*known.input;
        if (!std::isfinite(value))
            broken += QStringLiteral("the input of %1 is %2; ").arg(name).arg(value);
        if (!known.mayBeNegative && value < 0) {
            broken += QStringLiteral("the input of %1 is negative (%2); ")
                          .arg(name)
                          .arg(value, 0, 'g', 17);
        }
        const std::optional<double> read = LeerCifra(lastAccepted_[i].toStdString());
        if (!read) {
            broken += QStringLiteral("%1 was accepted showing %2, which is not a number; ")
                          .arg(name, Quoted(lastAccepted_[i]));
        } else if (!(*read == value)) {
            broken +=
                QStringLiteral("the input of %1 is %2, but it was last accepted showing %3 (%4); ")
                    .arg(name)
                    .arg(value, 0, 'g', 17)
                    .arg(Quoted(lastAccepted_[i]))
                    .arg(*read, 0, 'g', 17);
        }
    }
    return broken;
}

// A character of the 8-bit range that its field cannot hold changes nothing:
// only digits, "," and "." (which becomes ",") pass, and "-" in txtDb1 alone.
QString InvariantChecker::checkKeystrokeFilter(const PlayedAction& action) const {
    const int index = EntryFieldIndex(page_, action.target);
    if (action.kind != PlayedAction::Kind::kKey || action.typed.size() != 1 || index < 0)
        return {};
    const char16_t code = action.typed[0].unicode();
    const auto row = static_cast<std::size_t>(index);
    const bool passes = (code >= u'0' && code <= u'9') || code == u',' || code == u'.' ||
                        (code == u'-' && kEntryFields[row].mayBeNegative) || code > 255;
    if (passes || field(row).text() == textsBefore_[row])
        return {};
    return QStringLiteral("typing %1 into %2 changed its text from %3 to %4; ")
        .arg(Quoted(action.typed), field(row).objectName(), Quoted(textsBefore_[row]),
             Quoted(field(row).text()));
}

QString InvariantChecker::checkReturn() const {
    QWidget* focus = QApplication::focusWidget();
    if (focus != focusBefore_) {
        return QStringLiteral("the activation came back with the focus on %1, not on %2; ")
            .arg(focus ? focus->objectName() : QStringLiteral("nothing"),
                 focusBefore_ ? focusBefore_->objectName() : QStringLiteral("nothing"));
    }
    const int index = EntryFieldIndex(page_, focus);
    if (index < 0)
        return {};
    const QLineEdit& kept = field(static_cast<std::size_t>(index));
    if (kept.text() != textsBefore_[static_cast<std::size_t>(index)] ||
        kept.selectionStart() != selectionStartBefore_ || kept.selectedText() != selectedBefore_ ||
        kept.cursorPosition() != caretBefore_) {
        return QStringLiteral(
                   "%1 came back with the activation showing %2, %3 selected from %4, the caret "
                   "at %5; it had %6, %7 from %8, the caret at %9; ")
            .arg(kept.objectName(), Quoted(kept.text()), Quoted(kept.selectedText()))
            .arg(kept.selectionStart())
            .arg(kept.cursorPosition())
            .arg(Quoted(textsBefore_[static_cast<std::size_t>(index)]), Quoted(selectedBefore_))
            .arg(selectionStartBefore_)
            .arg(caretBefore_);
    }
    return {};
}

QString InvariantChecker::checkResults() const {
    QString broken;
    const std::array<double, 6> now = ResultsOf(page_.ventana().estado());
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!std::isfinite(now[i]))
            broken += QStringLiteral("result %1 is %2; ").arg(i).arg(now[i]);
        // Only a calculation or RESET (which update the reference) touches them.
        if (!(now[i] == results_[i])) {
            broken += QStringLiteral("result %1 changed without a calculation; ").arg(i);
        }
        if (resultText(i) != resultTexts_[i]) {
            broken += QStringLiteral("%1 changed from %2 to %3 without a calculation; ")
                          .arg(QString::fromLatin1(kResultDisplays[i]), Quoted(resultTexts_[i]),
                               Quoted(resultText(i)));
        }
    }
    return broken;
}

}  // namespace tavolen::soak
