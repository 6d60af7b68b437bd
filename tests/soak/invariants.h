#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QUrl>

#include <array>
#include <vector>

#include "engine/calculator_state.h"
#include "tests/support/known_controls.h"
#include "tests/soak/user_actions.h"

namespace tavolen::soak {

// Checks, after every action, what no sequence of user actions may break:
// - no message box is left open, and one shown was the invalid-number box of
//   the field that had the focus, which then shows its zero text;
// - every committed input equals the value LeerCifra reads from the text its
//   field showed when last accepted (the text of a field without the focus),
//   is finite, and only Db1 is ever negative;
// - right after each calculation, the six result texts are those the engine
//   gives for the committed inputs; between calculations they do not change;
// - after RESET, the state and the texts of start-up, and the focus in txtV1
//   with its whole text selected, whatever RESET's click had to commit first;
// - the window getting the activation back from another program leaves the
//   focus, the text, the selection and the caret as they were;
// - no control moves, resizes or hides; the banner alone opens the web page.
class InvariantChecker : public QObject {
    Q_OBJECT

  public:
    explicit InvariantChecker(VentanaAbierta& page);
    ~InvariantChecker() override;

    // What the window must show right after it opened; empty when it does.
    QString checkStartUp() const;

    void beforeAction();
    // Empty when every invariant holds after `action`, else what broke.
    QString afterAction(const PlayedAction& action);

    int calculations() const { return calculations_; }
    int resets() const { return resets_; }
    int nonZeroCalculations() const { return nonZeroCalculations_; }
    int messageBoxes() const { return messageBoxes_; }

  public slots:
    // Receives the web addresses the window asks the desktop to open.
    void openUrl(const QUrl& url);

  private:
    void onCalculated();
    void onReset();
    QString checkStartUpState(bool focusToo) const;
    QString checkEntryFields();
    QString checkMessageBox(const PlayedAction& action) const;
    QString checkResults() const;
    QString checkKeystrokeFilter(const PlayedAction& action) const;
    QString checkReturn() const;

    QLineEdit& field(std::size_t index) const;
    QString resultText(std::size_t index) const;

    VentanaAbierta& page_;
    std::array<QString, 6> lastAccepted_;
    std::array<QString, 6> resultTexts_;
    std::array<double, 6> results_{};
    std::vector<QRect> geometry_;

    // The moment before the action.
    CalculatorState stateBefore_;
    std::array<QString, 6> textsBefore_;
    QWidget* focusBefore_ = nullptr;
    int selectionStartBefore_ = -1;  // of the focused entry field
    QString selectedBefore_;
    int caretBefore_ = 0;
    int urlsBefore_ = 0;

    // What happened during the action.
    bool calculated_ = false;
    bool reset_ = false;
    QList<CajaVista> boxes_;  // the message boxes it showed
    QString duringAction_;    // what broke inside a click handler

    int urlsOpened_ = 0;
    QUrl lastUrl_;
    int calculations_ = 0;
    int resets_ = 0;
    int nonZeroCalculations_ = 0;
    int messageBoxes_ = 0;
};

}  // namespace tavolen::soak
