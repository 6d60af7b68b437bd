// What the entry fields make of real X11 key events (sent by xdotool through
// the X server), whose texts differ from those that Qt Test synthesises:
// Ctrl+C carries "\x03", Delete "\x7f", Shift+Tab nothing. Runs on the xcb
// platform, started by real_keys_test.sh.

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "window/frm_principal.h"

namespace tavolen {

namespace {

// Sends X key events (xdotool key names, separated by spaces) to the window
// that has the X input focus, and returns once the program has handled them
// all: a check made earlier could see a text that a later key changes again.
void Teclas(const QString& teclas) {
    QStringList argumentos{"key", "--delay", "20"};
    argumentos += teclas.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(QProcess::execute("xdotool", argumentos), 0);
    QGuiApplication::sync();
}

QString Enfocado() {
    const QWidget* foco = QApplication::focusWidget();
    return foco != nullptr ? foco->objectName() : QString();
}

// Watches for the message box and, the first time it is up, runs `alAbrirse`
// (which sends the X events that close it); `vista()` tells whether it came.
class AlAbrirseLaCaja {
  public:
    explicit AlAbrirseLaCaja(std::function<void()> alAbrirse) {
        temporizador_.setInterval(100);
        QObject::connect(&temporizador_, &QTimer::timeout, [this, alAbrirse] {
            if (QApplication::activeModalWidget() != nullptr && !vista_) {
                vista_ = true;
                alAbrirse();
            }
        });
        temporizador_.start();
    }
    bool vista() const { return vista_; }

  private:
    QTimer temporizador_;
    bool vista_ = false;
};

}  // namespace

class RealKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void keysTypedIntoAField_data();
    void keysTypedIntoAField();
    void aRejectedTabWithTheBoxClosedByReturn();
    void aClickOnCalcularThatARejectionInterruptsLeavesTheButtonUp();

  private:
    QLineEdit& Campo(const char* nombre) {
        return *ventana_->findChild<QLineEdit*>(QString::fromLatin1(nombre));
    }

    std::unique_ptr<frmPrincipal> ventana_;
};

void RealKeysTest::init() {
    ventana_ = std::make_unique<frmPrincipal>();
    ventana_->show();
    ventana_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
    // The X input focus, which xdotool types into, follows the activation.
    QCOMPARE(
        QProcess::execute("xdotool", {"windowfocus", "--sync", QString::number(ventana_->winId())}),
        0);
}

void RealKeysTest::cleanup() {
    ventana_.reset();
}

// State: the field has the focus, its zero text selected. Action: the keys.
// Expected: the field's text, and where the focus is.
void RealKeysTest::keysTypedIntoAField_data() {
    QTest::addColumn<QByteArray>("campo");
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("despues");
    QTest::addColumn<QString>("foco");
    auto fila = [](const char* tag, const char* campo, const char* teclas, const char* despues,
                   const char* foco) {
        QTest::newRow(tag) << QByteArray(campo) << teclas << despues << foco;
    };
    fila("a point enters the comma", "txtV1", "1 2 period 5", "12,5", "txtV1");
    fila("the editing shortcuts do nothing", "txtV2",
         "1 2 shift+Home ctrl+c ctrl+x ctrl+v ctrl+z ctrl+a", "12", "txtV2");
    fila("Delete reaches the field", "txtP1", "1 2 Home Delete", "2", "txtP1");
    fila("BackSpace passes", "txtF1", "1 2 BackSpace", "1", "txtF1");
    fila("space, letter, plus and slash do nothing", "txtP2", "1 space a plus slash", "1", "txtP2");
    fila("a minus in front in txtDb1", "txtDb1", "3 Home minus", "-3", "txtDb1");
    fila("no minus in txtV2", "txtV2", "minus 3", "3", "txtV2");
    fila("keypad Enter commits", "txtV1", "2 KP_Enter", "2,000", "txtV2");
    fila("Shift+Tab moves back", "txtV2", "4 shift+Tab", "4,0000", "txtV1");
}

void RealKeysTest::keysTypedIntoAField() {
    QFETCH(QByteArray, campo);
    QFETCH(QString, teclas);
    QFETCH(QString, despues);
    QFETCH(QString, foco);
    Campo(campo).setFocus();
    Teclas(teclas);
    QCOMPARE(Campo(campo).text(), despues);
    QCOMPARE(Enfocado(), foco);
    QLineEdit& enfocado = Campo(foco.toLatin1());
    if (foco != QString::fromLatin1(campo)) {
        QCOMPARE(enfocado.selectedText(), enfocado.text());
    }
}

// State: "1,2,3" typed into txtV1. Action: Tab, and Return on the message box
// once it is up. Expected: the window active again, txtV1 with the focus and
// its zero text selected.
void RealKeysTest::aRejectedTabWithTheBoxClosedByReturn() {
    Campo("txtV1").setFocus();
    Teclas("1 comma 2 comma 3");
    QCOMPARE(Campo("txtV1").text(), "1,2,3");
    const AlAbrirseLaCaja caja([] { Teclas("Return"); });
    Teclas("Tab");
    QTRY_VERIFY(caja.vista());
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QTRY_VERIFY(ventana_->isActiveWindow());
    QTRY_COMPARE(Enfocado(), "txtV1");
    QCOMPARE(Campo("txtV1").text(), "0,000");
    QCOMPARE(Campo("txtV1").selectedText(), "0,000");
}

// State: "1,2,3" typed into txtV1. Action: the mouse pressed on " CALCULAR ",
// and released while the message box is up, which Return then closes.
// Expected: txtV1 has the focus back with its zero text; the button is drawn up
// again and was not clicked, so nothing was calculated.
void RealKeysTest::aClickOnCalcularThatARejectionInterruptsLeavesTheButtonUp() {
    Campo("txtV1").setFocus();
    Teclas("1 comma 2 comma 3");
    auto* calcular = ventana_->findChild<QAbstractButton*>("cmdCalcular");
    const QPoint centro = calcular->mapTo(ventana_.get(), calcular->rect().center());
    QCOMPARE(QProcess::execute("xdotool", {"mousemove", "--window", QString::number(ventana_->winId()),
                                            QString::number(centro.x()), QString::number(centro.y())}),
             0);
    const AlAbrirseLaCaja caja([] {
        QCOMPARE(QProcess::execute("xdotool", {"mouseup", "1"}), 0);
        Teclas("Return");
    });
    QCOMPARE(QProcess::execute("xdotool", {"mousedown", "1"}), 0);
    QTRY_VERIFY(caja.vista());
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QTRY_COMPARE(Enfocado(), "txtV1");
    QCOMPARE(Campo("txtV1").text(), "0,000");
    QTRY_VERIFY(!calcular->isDown());
    // Db1 = 0 would show the factor 1,00000000 had the button been clicked.
    QCOMPARE(Campo("txtFv").text(), "0,0000");
}

}  // namespace tavolen

QTEST_MAIN(tavolen::RealKeysTest)
#include "real_keys_test.moc"
