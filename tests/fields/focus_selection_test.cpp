// Whenever an entry field receives the focus its whole text is selected, on
// every road by which the focus arrives, so that the next digit typed replaces
// the old number.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "tests/support/open_window.h"
#include "window/frm_principal.h"

namespace tavolen {

namespace {

enum class Camino { Tab, ShiftTab, Enter, RechazoAlSalir, RechazoConEnter, Reset };

}  // namespace

class FocusSelectionTest : public QObject {
    Q_OBJECT

  private slots:
    void theWindowOpensWithTheFirstFieldSelected();
    void aFieldReceivingTheFocus_data();
    void aFieldReceivingTheFocus();
    void anEmptyFieldPutsTheCaretInFront();
    void cleanup();
};

// State: the window just opened. Expected: txtV1 has the focus, "0,000"
// selected; a digit replaces it.
void FocusSelectionTest::theWindowOpensWithTheFirstFieldSelected() {
    VentanaAbierta c;
    QCOMPARE(c.enfocado(), "txtV1");
    QVERIFY(c.todoSeleccionado("txtV1"));
    c.escribir("5");
    QCOMPARE(c.texto("txtV1"), "5");
}

// State: "12" typed into the field the road starts from (for the rejections,
// "1,2,3" into the field itself). Action: the road. Expected: the focus in the
// field, its whole text selected, and a digit typed then replaces the text.
void FocusSelectionTest::aFieldReceivingTheFocus_data() {
    QTest::addColumn<Camino>("camino");
    QTest::addColumn<QByteArray>("desde");
    QTest::addColumn<QByteArray>("campo");
    QTest::addColumn<QString>("texto");  // the field's text when the focus arrives
    auto fila = [](const char* tag, Camino camino, const char* desde, const char* campo,
                   const char* texto) {
        QTest::newRow(tag) << camino << QByteArray(desde) << QByteArray(campo) << texto;
    };
    fila("Tab into txtV2", Camino::Tab, "txtV1", "txtV2", "0,0000");
    fila("Tab into txtP1", Camino::Tab, "txtV2", "txtP1", "0,000");
    fila("Tab into txtP2", Camino::Tab, "txtP1", "txtP2", "0,0000");
    fila("Tab into txtDb1", Camino::Tab, "txtP2", "txtDb1", "0,0000");
    fila("Tab into txtF1", Camino::Tab, "txtDb1", "txtF1", "0,0000");
    fila("Shift+Tab into txtV1", Camino::ShiftTab, "txtV2", "txtV1", "0,000");
    fila("Shift+Tab into txtDb1", Camino::ShiftTab, "txtF1", "txtDb1", "0,0000");
    fila("Shift+Tab back into a committed field", Camino::ShiftTab, "txtP1", "txtV2", "0,0000");
    fila("Enter into txtV2", Camino::Enter, "txtV1", "txtV2", "0,0000");
    fila("Enter into txtF1", Camino::Enter, "txtDb1", "txtF1", "0,0000");
    fila("back after a rejected Tab", Camino::RechazoAlSalir, "txtP1", "txtP1", "0,000");
    fila("kept after a rejected Enter", Camino::RechazoConEnter, "txtDb1", "txtDb1", "0,0000");
    fila("RESET into txtV1", Camino::Reset, "txtF1", "txtV1", "0,000");
}

void FocusSelectionTest::aFieldReceivingTheFocus() {
    QFETCH(Camino, camino);
    QFETCH(QByteArray, desde);
    QFETCH(QByteArray, campo);
    QFETCH(QString, texto);
    VentanaAbierta c;
    c.campo(desde).setFocus();
    const bool rechazo = camino == Camino::RechazoAlSalir || camino == Camino::RechazoConEnter;
    c.escribir(rechazo ? "1,2,3" : "12");
    switch (camino) {
        case Camino::Tab:
        case Camino::RechazoAlSalir:
            c.pulsar(Qt::Key_Tab);
            break;
        case Camino::ShiftTab:
            c.pulsar(Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Camino::Enter:
        case Camino::RechazoConEnter:
            c.pulsar(Qt::Key_Return);
            break;
        case Camino::Reset:
            c.clic("cmdReset");
            break;
    }
    QCOMPARE(c.cajasCerradas().size(), rechazo ? 1 : 0);
    QCOMPARE(c.enfocado(), QString::fromLatin1(campo));
    QCOMPARE(c.texto(campo), texto);
    QVERIFY(c.todoSeleccionado(campo));
    c.escribir("5");
    QCOMPARE(c.texto(campo), "5");
}

// State: txtV2 emptied from outside, as a drag and drop of its text away
// leaves it. Action: Tab from txtV1. Expected: nothing selected, the caret in
// front.
void FocusSelectionTest::anEmptyFieldPutsTheCaretInFront() {
    VentanaAbierta c;
    c.campo("txtV2").setText("");
    c.pulsar(Qt::Key_Tab);
    QCOMPARE(c.enfocado(), "txtV2");
    QVERIFY(!c.campo("txtV2").hasSelectedText());
    QCOMPARE(c.campo("txtV2").cursorPosition(), 0);
}

void FocusSelectionTest::cleanup() {
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::FocusSelectionTest)
#include "focus_selection_test.moc"
