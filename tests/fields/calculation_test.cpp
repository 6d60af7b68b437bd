// From typing to result: the calculator driven through its entry fields, by
// keyboard and by mouse, the way a person uses it.

#include <QLineEdit>
#include <QTest>

#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace tavolen {

class CalculationTest : public QObject {
    Q_OBJECT

  private slots:
    void theRoadOfOneCalculationEndsInItsSixResults();
    void aClickOnCalcularCommitsTheTextBeingTyped();
    void aClickOnCalcularRejectsAMalformedText();
    void enterInTheFactorFieldStopsOnCalcularWithoutPressingIt();
    void aWholeSittingByKeyboardAloneThenResetThenCalculate();
    void cleanup();
};

// State: the window just opened. Action: "2", Enter, "20", Enter, a click on
// " CALCULAR ". Expected: the texts and values of the road, and the six results.
void CalculationTest::theRoadOfOneCalculationEndsInItsSixResults() {
    VentanaAbierta c;
    QCOMPARE(c.enfocado(), "txtV1");
    c.escribir("2");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.texto("txtV1"), "2,000");
    QCOMPARE(c.ventana().estado().V1, 2.0);
    QCOMPARE(c.enfocado(), "txtV2");
    QVERIFY(c.todoSeleccionado("txtV2"));
    c.escribir("20");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.texto("txtV2"), "20,0000");
    QCOMPARE(c.ventana().estado().V2, 20.0);
    QCOMPARE(c.enfocado(), "txtP1");
    c.clic("cmdCalcular");
    QCOMPARE(c.texto("lblDbv"), "20,0000");
    QCOMPARE(c.texto("lblDbp"), "0,0000");
    QCOMPARE(c.texto("txtFv"), "1,00000000");
    QCOMPARE(c.texto("txtFp"), "1,00000000");
    QCOMPARE(c.texto("lblDbfv"), "INFINITO");
    QCOMPARE(c.texto("lblDbfp"), "INFINITO");
    QVERIFY(c.cajasCerradas().isEmpty());
}

// State: "20" typed into txtV2, no Enter. Action: a click on " CALCULAR ".
// Expected: the leave commit runs before the click, and the level uses 20.
void CalculationTest::aClickOnCalcularCommitsTheTextBeingTyped() {
    VentanaAbierta c;
    c.escribir("2");
    c.pulsar(Qt::Key_Tab);
    c.escribir("20");
    c.clic("cmdCalcular");
    QCOMPARE(c.texto("txtV2"), "20,0000");
    QCOMPARE(c.texto("lblDbv"), "20,0000");
    QCOMPARE(c.enfocado(), "cmdCalcular");
}

// State: V1 = 2 committed, "1,2,3" typed into txtV2. Action: a click on
// " CALCULAR ". Expected: the leave commit rejects the text: one box, the zero
// text, V2 still 0 and the focus back in txtV2 with its text selected.
void CalculationTest::aClickOnCalcularRejectsAMalformedText() {
    VentanaAbierta c;
    c.escribir("2");
    c.pulsar(Qt::Key_Return);
    c.escribir("1,2,3");
    c.clic("cmdCalcular");
    VerificarRechazo(c, "txtV2", "0,0000");
    QCOMPARE(c.ventana().estado().V2, 0.0);
}

// State: a factor typed into txtF1. Action: Enter. Expected: the focus on
// " CALCULAR ", F1 stored, no result changed; Space then presses the button.
void CalculationTest::enterInTheFactorFieldStopsOnCalcularWithoutPressingIt() {
    VentanaAbierta c;
    c.campo("txtF1").setFocus();
    c.escribir("2");
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.enfocado(), "cmdCalcular");
    QCOMPARE(c.ventana().estado().F1, 2.0);
    QCOMPARE(c.texto("lblDbfv"), "0,0000");
    QCOMPARE(c.ventana().estado().Dbfv, 0.0);
    c.pulsar(Qt::Key_Space);
    QCOMPARE(c.texto("lblDbfv"), "6,0206");
    QCOMPARE(c.texto("lblDbfp"), "3,0103");
}

// State: the window just opened. Action: a value typed into each field, moving
// on by Enter and by Tab, then Space on " CALCULAR ", "RESET" by mouse, and
// " CALCULAR " again. Expected: the six results, then the start-up window,
// then the results of all-zero inputs.
void CalculationTest::aWholeSittingByKeyboardAloneThenResetThenCalculate() {
    VentanaAbierta c;
    c.escribir("20");  // txtV1
    c.pulsar(Qt::Key_Return);
    c.escribir("2");  // txtV2
    c.pulsar(Qt::Key_Tab);
    c.escribir("1");  // txtP1
    c.pulsar(Qt::Key_Return);
    c.escribir("2");  // txtP2
    c.pulsar(Qt::Key_Return);
    c.escribir("30");  // txtDb1
    c.pulsar(Qt::Key_Tab);
    c.escribir("0.5");  // txtF1: the point enters as the comma
    c.pulsar(Qt::Key_Return);
    QCOMPARE(c.enfocado(), "cmdCalcular");
    c.pulsar(Qt::Key_Space);

    const char* campos[] = {"txtV1", "txtV2", "txtP1", "txtP2", "txtDb1", "txtF1"};
    const char* escritos[] = {"20,000", "2,0000", "1,000", "2,0000", "30,0000", "0,5000"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(c.texto(campos[i]), escritos[i]);
    }
    const char* resultados[] = {"lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"};
    const char* calculados[] = {"-20,0000",   "3,0103",  "31,622777",
                                "1.000,0000", "-6,0206", "-3,0103"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(c.texto(resultados[i]), calculados[i]);
    }

    c.clic("cmdReset");
    const char* ceros[] = {"0,000", "0,0000", "0,000", "0,0000", "0,0000", "0,0000"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(c.texto(campos[i]), ceros[i]);
        QCOMPARE(c.texto(resultados[i]), "0,0000");
    }
    QCOMPARE(c.enfocado(), "txtV1");
    QVERIFY(c.todoSeleccionado("txtV1"));

    c.clic("cmdCalcular");
    const char* deCeros[] = {"0,0000",     "0,0000",   "1,00000000",
                             "1,00000000", "INFINITO", "INFINITO"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(c.texto(resultados[i]), deCeros[i]);
    }
    QVERIFY(c.cajasCerradas().isEmpty());
}

void CalculationTest::cleanup() {
    // No window, box or menu survives into the next test.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::CalculationTest)
#include "calculation_test.moc"
