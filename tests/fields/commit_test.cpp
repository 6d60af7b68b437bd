// Committing the entry fields by Enter and by leaving them: what the field
// shows afterwards, what the calculator stores, where the focus goes, and the
// invalid-number message box.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <cmath>

#include "tests/support/known_controls.h"
#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace tavolen {

namespace {

constexpr double kSinCambio = NAN;  // the state variable keeps the value it had
constexpr double kPrevio = 7;       // the value each field holds before the row

// The value that the calculator stores for the field, found through the
// tests' own record of the fields rather than through the window's table.
double Guardado(VentanaAbierta& c, const QByteArray& nombre) {
    for (const EntryField& campo : kEntryFields) {
        if (nombre == campo.name) {
            return c.ventana().estado().*campo.input;
        }
    }
    qFatal("no entry field named %s", nombre.constData());
}

// Commits kPrevio in the field by leaving it, and gives the field the focus
// back, its text selected, so that the next keys replace it.
void ConValorPrevio(VentanaAbierta& c, const QByteArray& nombre) {
    c.campo(nombre).setFocus();
    c.escribir("7");
    c.pulsar(Qt::Key_Tab);
    QCOMPARE(Guardado(c, nombre), kPrevio);
    c.campo(nombre).setFocus();
    QVERIFY(c.todoSeleccionado(nombre));
}

// A rejection keeps the value committed before it.
void EsperarRechazo(VentanaAbierta& c, const QByteArray& nombre, const char* ceroEsperado) {
    VerificarRechazo(c, QString::fromLatin1(nombre), QString::fromLatin1(ceroEsperado));
    QCOMPARE(Guardado(c, nombre), kPrevio);
}

}  // namespace

class CommitTest : public QObject {
    Q_OBJECT

  private slots:
    void aTypedTextCommitted_data();
    void aTypedTextCommitted();
    void aRejectionFillsTheMessageVariables();
    void aSecondEnterAfterARejectionCommitsTheZeroText();
    void aClickIntoAnotherFieldCommitsOrBringsTheFocusBack();
    void aGroupedNumberCommitsAgainUnchanged();
    void aPastedTextThatIsNoNumberIsRejected_data();
    void aPastedTextThatIsNoNumberIsRejected();
    void theContextMenuNeitherCommitsNorSelects();
    void twoMalformedFieldsAreEachRejectedOnce();
    void leavingTheWholeWindowCommitsNothing();
    void cleanup();
};

// State: the field has committed 7 and has the focus, its text selected.
// Action: a text typed over it ("" empties it with Backspace), then Enter or
// Tab. Expected: the field's text, the stored value, the focus (wholly
// selected when in a field) and a message box only for a rejected text.
void CommitTest::aTypedTextCommitted_data() {
    QTest::addColumn<QByteArray>("campo");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<bool>("conEnter");  // else Tab
    QTest::addColumn<QString>("despues");
    QTest::addColumn<double>("guardado");
    QTest::addColumn<QString>("foco");
    const bool Enter = true;
    const bool Tab = false;
    auto fila = [](const char* tag, const char* campo, const char* escrito, bool conEnter,
                   const char* despues, double guardado, const char* foco) {
        QTest::newRow(tag) << QByteArray(campo) << escrito << conEnter << despues << guardado
                           << foco;
    };
    fila("txtV1 empty, Enter", "txtV1", "", Enter, "0,000", 0, "txtV2");
    fila("txtV2 0, Enter", "txtV2", "0", Enter, "0,0000", 0, "txtP1");
    fila("txtV2 0,0, Enter", "txtV2", "0,0", Enter, "0,0000", 0, "txtP1");
    fila("txtV2 000, Enter", "txtV2", "000", Enter, "0,0000", 0, "txtP1");
    fila("txtV1 2,5, Enter", "txtV1", "2,5", Enter, "2,500", 2.5, "txtV2");
    fila("txtP2 2,5, Enter", "txtP2", "2,5", Enter, "2,5000", 2.5, "txtDb1");
    fila("txtV1 2,12345, Enter", "txtV1", "2,12345", Enter, "2,123", 2.123, "txtV2");
    fila("txtV1 2,12345, Tab", "txtV1", "2,12345", Tab, "2,123", 2.123, "txtV2");
    fila("txtV1 0,0004, Enter", "txtV1", "0,0004", Enter, "0,000", 0, "txtV2");
    fila("txtV1 typed point, Enter", "txtV1", "2.5", Enter, "2,500", 2.5, "txtV2");
    fila("txtP1 ,5, Enter", "txtP1", ",5", Enter, "0,500", 0.5, "txtP2");
    fila("txtP1 5, then Tab", "txtP1", "5,", Tab, "5,000", 5, "txtP2");
    fila("txtDb1 -3, Enter", "txtDb1", "-3", Enter, "-3,0000", -3, "txtF1");
    fila("txtDb1 -0, Enter", "txtDb1", "-0", Enter, "0,0000", 0, "txtF1");
    // The Enter commit writes "-0,0000"; the leave commit after it finds zero.
    fila("txtDb1 -0,00001, Enter", "txtDb1", "-0,00001", Enter, "0,0000", 0, "txtF1");
    fila("txtDb1 -0,00001, Tab", "txtDb1", "-0,00001", Tab, "-0,0000", 0, "txtF1");
    fila("txtF1 2, Enter", "txtF1", "2", Enter, "2,0000", 2, "cmdCalcular");
    fila("txtF1 2, Tab", "txtF1", "2", Tab, "2,0000", 2, "cmdCalcular");
    fila("txtV1 1,2,3, Enter", "txtV1", "1,2,3", Enter, "0,000", kSinCambio, "txtV1");
    fila("txtV1 1,2,3, Tab", "txtV1", "1,2,3", Tab, "0,000", kSinCambio, "txtV1");
    fila("txtV1 lone comma, Enter", "txtV1", ",", Enter, "0,000", kSinCambio, "txtV1");
    fila("txtV2 lone comma, Tab", "txtV2", ",", Tab, "0,0000", kSinCambio, "txtV2");
    fila("txtDb1 3-, Enter", "txtDb1", "3-", Enter, "0,0000", kSinCambio, "txtDb1");
    fila("txtDb1 --3, Enter", "txtDb1", "--3", Enter, "0,0000", kSinCambio, "txtDb1");
    fila("txtDb1 lone minus, Enter", "txtDb1", "-", Enter, "0,0000", kSinCambio, "txtDb1");
    fila("txtDb1 -, then Enter", "txtDb1", "-,", Enter, "0,0000", kSinCambio, "txtDb1");
    fila("txtDb1 lone comma, Enter", "txtDb1", ",", Enter, "0,0000", kSinCambio, "txtDb1");
    fila("txtDb1 3-, Tab", "txtDb1", "3-", Tab, "0,0000", kSinCambio, "txtDb1");
    fila("txtF1 1,2,3, Tab", "txtF1", "1,2,3", Tab, "0,0000", kSinCambio, "txtF1");
    fila("txtV2 beyond a double, Tab", "txtV2", QByteArray(310, '9'), Tab, "0,0000", kSinCambio,
         "txtV2");
}

void CommitTest::aTypedTextCommitted() {
    QFETCH(QByteArray, campo);
    QFETCH(QString, escrito);
    QFETCH(bool, conEnter);
    QFETCH(QString, despues);
    QFETCH(double, guardado);
    QFETCH(QString, foco);
    VentanaAbierta c;
    ConValorPrevio(c, campo);
    if (escrito.isEmpty()) {
        c.pulsar(Qt::Key_Backspace);
    } else {
        c.escribir(escrito);
    }
    c.pulsar(conEnter ? Qt::Key_Return : Qt::Key_Tab);

    QCOMPARE(c.texto(campo), despues);
    QCOMPARE(c.enfocado(), foco);
    if (std::isnan(guardado)) {
        EsperarRechazo(c, campo, qPrintable(despues));
        return;
    }
    QVERIFY(c.cajasCerradas().isEmpty());
    QCOMPARE(Guardado(c, campo), guardado);
    if (foco.startsWith("txt")) {
        QVERIFY(c.todoSeleccionado(foco.toLatin1()));
    }
}

// State: the window just opened. Action: a malformed text and Enter.
// Expected: the three message variables hold what the box showed.
void CommitTest::aRejectionFillsTheMessageVariables() {
    VentanaAbierta c;
    QCOMPARE(c.ventana().estado().Estilo, 0);
    c.escribir("1,2,3");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.cajasCerradas().size(), 1);
    const CalculatorState& estado = c.ventana().estado();
    QCOMPARE(QString::fromStdString(estado.Mensaje),
             QStringLiteral("La cifra no es válida, por favor introdúzcala de nuevo."));
    QCOMPARE(QString::fromStdString(estado.Titulo), "Error");
    QCOMPARE(estado.Estilo, 48);
}

// State: txtV1 has committed 7 and rejected "1,2,3" by Enter. Action: Enter
// again. Expected: the zero text is committed, 0 stored, the focus moves on.
void CommitTest::aSecondEnterAfterARejectionCommitsTheZeroText() {
    VentanaAbierta c;
    ConValorPrevio(c, "txtV1");
    c.escribir("1,2,3");
    c.pulsar(Qt::Key_Return);
    EsperarRechazo(c, "txtV1", "0,000");
    c.pulsar(Qt::Key_Return);
    QVERIFY(c.cajasCerradas().isEmpty());
    QCOMPARE(c.texto("txtV1"), "0,000");
    QCOMPARE(c.ventana().estado().V1, 0.0);
    QCOMPARE(c.enfocado(), "txtV2");
}

// State: txtP1 has committed 7 and holds a typed text. Action: a click into
// txtP2. Expected: "2,5" is committed and the focus stays in txtP2; "1,2,3"
// is rejected and the focus comes back to txtP1, its zero text selected.
void CommitTest::aClickIntoAnotherFieldCommitsOrBringsTheFocusBack() {
    VentanaAbierta c;
    ConValorPrevio(c, "txtP1");
    c.escribir("2,5");
    c.clic("txtP2");
    QCOMPARE(c.texto("txtP1"), "2,500");
    QCOMPARE(c.ventana().estado().P1, 2.5);
    QCOMPARE(c.enfocado(), "txtP2");

    ConValorPrevio(c, "txtP1");
    c.escribir("1,2,3");
    c.clic("txtP2");
    EsperarRechazo(c, "txtP1", "0,000");
}

// State: "1234" committed in txtV2 by Enter. Action: back with Shift+Tab,
// then Enter; back again, then Tab. Expected: the grouped text passes the
// check again and gives the same text and value each time.
void CommitTest::aGroupedNumberCommitsAgainUnchanged() {
    VentanaAbierta c;
    c.campo("txtV2").setFocus();
    c.escribir("1234");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.texto("txtV2"), "1.234,0000");
    for (const Qt::Key salida : {Qt::Key_Return, Qt::Key_Tab}) {
        c.pulsar(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(c.enfocado(), "txtV2");
        c.pulsar(salida);
        QCOMPARE(c.texto("txtV2"), "1.234,0000");
        QCOMPARE(c.ventana().estado().V2, 1234.0);
        QCOMPARE(c.enfocado(), "txtP1");
    }
    QVERIFY(c.cajasCerradas().isEmpty());
}

// State: the field has committed 7; its whole text is replaced by a paste from
// its context menu. Action: Enter or Tab. Expected: rejected like a malformed
// number, since no negative voltage, power or factor may be computed with.
void CommitTest::aPastedTextThatIsNoNumberIsRejected_data() {
    QTest::addColumn<QByteArray>("campo");
    QTest::addColumn<QString>("pegado");
    QTest::addColumn<bool>("conEnter");
    QTest::addColumn<QString>("cero");
    QTest::newRow("letters, Enter") << QByteArray("txtV1") << "12a" << true << "0,000";
    QTest::newRow("letters, Tab") << QByteArray("txtV1") << "12a" << false << "0,000";
    QTest::newRow("a word in txtDb1") << QByteArray("txtDb1") << "diez" << true << "0,0000";
    QTest::newRow("spaces around") << QByteArray("txtP2") << " 5 " << false << "0,0000";
    QTest::newRow("point after the comma") << QByteArray("txtV2") << "1,234.5" << true << "0,0000";
    QTest::newRow("minus in txtV1, Enter") << QByteArray("txtV1") << "-2" << true << "0,000";
    QTest::newRow("minus in txtP1, Tab") << QByteArray("txtP1") << "-2,5" << false << "0,000";
    QTest::newRow("minus zero in txtF1") << QByteArray("txtF1") << "-0" << true << "0,0000";
    QTest::newRow("beyond a double")
        << QByteArray("txtF1") << "1" + QString(400, '0') << false << "0,0000";
}

void CommitTest::aPastedTextThatIsNoNumberIsRejected() {
    QFETCH(QByteArray, campo);
    QFETCH(QString, pegado);
    QFETCH(bool, conEnter);
    QFETCH(QString, cero);
    VentanaAbierta c;
    ConValorPrevio(c, campo);
    c.pegarDesdeMenu(campo, pegado);
    QCOMPARE(c.texto(campo), pegado);
    c.pulsar(conEnter ? Qt::Key_Return : Qt::Key_Tab);
    EsperarRechazo(c, campo, qPrintable(cero));
}

// State: "12" typed into txtV2, the caret moved to the front. Action: paste
// "3" from the context menu, then Enter. Expected: neither the menu's opening
// nor its closing committed or selected: the paste went in at the caret.
void CommitTest::theContextMenuNeitherCommitsNorSelects() {
    VentanaAbierta c;
    c.campo("txtV2").setFocus();
    c.escribir("12");
    c.pulsar(Qt::Key_Home);
    c.pegarDesdeMenu("txtV2", "3");
    QCOMPARE(c.texto("txtV2"), "312");
    QCOMPARE(c.enfocado(), "txtV2");
    QCOMPARE(c.ventana().estado().V2, 0.0);
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.texto("txtV2"), "312,0000");
    QCOMPARE(c.ventana().estado().V2, 312.0);
    QVERIFY(c.cajasCerradas().isEmpty());
}

// State: "1,2,3" typed into txtP1, and "4,5,6" left in txtP2 the way a drag
// and drop leaves it. Action: Tab three times. Expected: txtP1 rejects its
// text and gets the focus back, zero text selected; the next Tab commits that
// and enters txtP2, which keeps its text until it is left in turn, and then
// rejects it and gets the focus back itself. One box each: the returns of the
// focus do not set off one another.
void CommitTest::twoMalformedFieldsAreEachRejectedOnce() {
    VentanaAbierta c;
    ConValorPrevio(c, "txtP1");
    c.escribir("1,2,3");
    c.campo("txtP2").setText("4,5,6");
    c.pulsar(Qt::Key_Tab);
    QTest::qWait(100);  // time for any further box to open
    EsperarRechazo(c, "txtP1", "0,000");
    QCOMPARE(c.texto("txtP2"), "4,5,6");

    c.pulsar(Qt::Key_Tab);
    QCOMPARE(c.ventana().estado().P1, 0.0);  // its zero text, committed
    QCOMPARE(c.enfocado(), "txtP2");
    QVERIFY(c.todoSeleccionado("txtP2"));
    QVERIFY(c.cajasCerradas().isEmpty());

    c.pulsar(Qt::Key_Tab);
    QTest::qWait(100);
    VerificarRechazo(c, "txtP2", "0,0000");
}

// State: "12" typed into txtV2. Action: another window takes the activation,
// and then gives it back. Expected: nothing committed meanwhile; Enter then
// commits as usual.
void CommitTest::leavingTheWholeWindowCommitsNothing() {
    VentanaAbierta c;
    c.campo("txtV2").setFocus();
    c.escribir("12");
    {
        QWidget otra;
        otra.show();
        otra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otra));
        QCOMPARE(c.texto("txtV2"), "12");
        QCOMPARE(c.ventana().estado().V2, 0.0);
    }
    c.ventana().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&c.ventana()));
    QCOMPARE(c.enfocado(), "txtV2");
    QCOMPARE(c.texto("txtV2"), "12");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.texto("txtV2"), "12,0000");
    QCOMPARE(c.ventana().estado().V2, 12.0);
    QVERIFY(c.cajasCerradas().isEmpty());
}

void CommitTest::cleanup() {
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::CommitTest)
#include "commit_test.moc"
