// A long seeded run of random user actions on the real window, with the
// invariants checked after every action (see invariants.h). The seed and the
// number of actions come from TAVOLEN_SOAK_SEED and TAVOLEN_SOAK_ACTIONS when
// set, so that any run can be repeated; a seed that once broke something stays
// below as a row of its own.

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <deque>

#include "tests/soak/invariants.h"
#include "tests/soak/user_actions.h"
#include "tests/support/open_window.h"
#include "window/frm_principal.h"

namespace tavolen::soak {
namespace {

constexpr int kDefaultActions = 20000;
constexpr std::size_t kActionsReported = 12;  // the last actions before a failure

// Lets the event loop deliver what the action posted: after a message box the
// activation comes back to the window through the event queue.
void SettleEvents(QWidget& window) {
    QCoreApplication::processEvents();
    for (int i = 0; i < 50 && !window.isActiveWindow(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// The offscreen platform warns each time a message box fixes its size; over
// thousands of boxes that would bury the report. Everything else goes through.
QtMessageHandler testLogHandler = nullptr;

void DropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg &&
        message == QStringLiteral("This plugin does not support propagateSizeHints()")) {
        return;
    }
    testLogHandler(type, context, message);
}

struct SizeHintWarningsDropped {
    SizeHintWarningsDropped() { testLogHandler = qInstallMessageHandler(DropSizeHintWarnings); }
    ~SizeHintWarningsDropped() { qInstallMessageHandler(testLogHandler); }
};

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void aLongRandomRunOfUserActionsBreaksNothing_data();
    void aLongRandomRunOfUserActionsBreaksNothing();
    void cleanup();
};

void SoakTest::aLongRandomRunOfUserActionsBreaksNothing_data() {
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("actions");
    bool seedGiven = false;
    const quint64 seed = qEnvironmentVariable("TAVOLEN_SOAK_SEED").toULongLong(&seedGiven);
    bool countGiven = false;
    const int actions = qEnvironmentVariableIntValue("TAVOLEN_SOAK_ACTIONS", &countGiven);
    if (seedGiven || countGiven) {
        const quint64 chosen = seedGiven ? seed : 1;
        const int count = countGiven ? actions : kDefaultActions;
        QTest::addRow("seed %llu, %d actions", static_cast<unsigned long long>(chosen), count)
            << chosen << count;
        return;
    }
    QTest::newRow("seed 20261208, 20000 actions") << quint64{20261208} << kDefaultActions;
}

void SoakTest::aLongRandomRunOfUserActionsBreaksNothing() {
    QFETCH(quint64, seed);
    QFETCH(int, actions);
    qInfo("soak: seed %llu, %d actions (TAVOLEN_SOAK_SEED=%llu TAVOLEN_SOAK_ACTIONS=%d repeats it)",
          static_cast<unsigned long long>(seed), actions, static_cast<unsigned long long>(seed),
          actions);

    const SizeHintWarningsDropped quieter;
    VentanaAbierta page;

    // The pastes are only worth something if the clipboard holds what is put there.
    QApplication::clipboard()->setText(QStringLiteral("-1,5"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("-1,5"));

    InvariantChecker checker(page);
    const QString startUp = checker.checkStartUp();
    QVERIFY2(startUp.isEmpty(), qPrintable(QStringLiteral("at start-up: ") + startUp));

    UserActions player(page, seed);
    std::deque<QString> recent;
    for (int n = 1; n <= actions; ++n) {
        checker.beforeAction();
        const PlayedAction action = player.playOne();
        SettleEvents(page.ventana());
        const QString broken = checker.afterAction(action);
        recent.push_back(action.description);
        if (recent.size() > kActionsReported)
            recent.pop_front();
        if (!broken.isEmpty()) {
            QString report =
                QStringLiteral("seed %1, action %2 of %3 (%4): %5\n  the last actions:")
                    .arg(seed)
                    .arg(n)
                    .arg(actions)
                    .arg(action.description, broken);
            for (const QString& earlier : recent) report += QStringLiteral("\n    ") + earlier;
            QFAIL(qPrintable(report));
        }
    }
    qInfo(
        "soak: seed %llu: %d actions, %d calculations (%d with inputs), %d resets, %d message "
        "boxes",
        static_cast<unsigned long long>(seed), actions, checker.calculations(),
        checker.nonZeroCalculations(), checker.resets(), checker.messageBoxes());
}

// No window of one run may outlive it.
void SoakTest::cleanup() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        QVERIFY2(!top->isVisible(),
                 qPrintable(QStringLiteral("left open: ") + top->metaObject()->className()));
    }
}

}  // namespace tavolen::soak

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tavolen::soak::SoakTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "soak_test.moc"
