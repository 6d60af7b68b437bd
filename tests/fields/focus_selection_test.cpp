// Whenever the focus arrives in an entry field from another control or from
// the program, its whole text is selected, so that the next digit typed
// replaces the old number; when the focus merely comes back (with the window's
// activation, or from the field's context menu), nothing changes, so that the
// next digit goes on with the number being typed.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include "tests/support/open_window.h"
#include "window/frm_principal.h"

namespace tavolen {

namespace {

enum class Camino {
    Tab,
    ShiftTab,
    Enter,
    RechazoAlSalir,
    RechazoConEnter,
    Reset,
    // "1,2,3" left in txtV2 by Shift+Tab, so that txtV1 holds the focus while
    // the message box comes and gives it back; "1,2,3" again, and RESET.
    ResetTrasRechazos,
};

enum class Vuelta { PorElPrograma, PorElProgramaSinActivacion, Reactivacion, MenuContextual };

// Another program taking the activation, and giving it back: the calls that
// Qt itself makes when the platform reports the change.
void Activar(QWidget* ventana) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(ventana);
    QT_WARNING_POP
}

}  // namespace

class FocusSelectionTest : public QObject {
    Q_OBJECT

  private slots:
    void theWindowOpensWithTheFirstFieldSelected();
    void aFieldReceivingTheFocus_data();
    void aFieldReceivingTheFocus();
    void anEmptyFieldPutsTheCaretInFront();
    void aFocusThatComesBackOrArrives_data();
    void aFocusThatComesBackOrArrives();
    void keysThatReachAnInactiveWindowStillCommitAndSelect();
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
    fila("RESET rejecting the text, after a rejection that passed txtV1 by",
         Camino::ResetTrasRechazos, "txtV2", "txtV1", "0,000");
}

void FocusSelectionTest::aFieldReceivingTheFocus() {
    QFETCH(Camino, camino);
    QFETCH(QByteArray, desde);
    QFETCH(QByteArray, campo);
    QFETCH(QString, texto);
    VentanaAbierta c;
    c.campo(desde).setFocus();
    const bool rechazo = camino == Camino::RechazoAlSalir || camino == Camino::RechazoConEnter ||
                         camino == Camino::ResetTrasRechazos;
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
        case Camino::ResetTrasRechazos:
            c.pulsar(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(c.cajasCerradas().size(), 1);
            QCOMPARE(c.enfocado(), QString::fromLatin1(desde));
            c.escribir("1,2,3");
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

// State: "12" typed into txtV1, the caret after the 2 and nothing selected.
// Action: the road. Expected: where the focus is; on an arrival the whole text
// selected, on a return the text, selection and caret as they were. Then "3"
// is typed.
void FocusSelectionTest::aFocusThatComesBackOrArrives_data() {
    QTest::addColumn<Vuelta>("vuelta");
    QTest::addColumn<QString>("enfocado");
    QTest::addColumn<bool>("selecciona");
    QTest::addColumn<QString>("despues");  // the focused field's text after the "3"
    QTest::newRow("the program moves the focus") << Vuelta::PorElPrograma << "txtV2" << true << "3";
    QTest::newRow("the program moves the focus while the window is inactive")
        << Vuelta::PorElProgramaSinActivacion << "txtV2" << true << "3";
    QTest::newRow("the window deactivated and activated again")
        << Vuelta::Reactivacion << "txtV1" << false << "123";
    QTest::newRow("its context menu opened and closed")
        << Vuelta::MenuContextual << "txtV1" << false << "123";
}

void FocusSelectionTest::aFocusThatComesBackOrArrives() {
    QFETCH(Vuelta, vuelta);
    QFETCH(QString, enfocado);
    QFETCH(bool, selecciona);
    QFETCH(QString, despues);
    VentanaAbierta c;
    c.escribir("12");
    QLineEdit& txtV1 = c.campo("txtV1");
    QCOMPARE(txtV1.cursorPosition(), 2);
    QVERIFY(!txtV1.hasSelectedText());
    switch (vuelta) {
        case Vuelta::PorElPrograma:
            c.campo("txtV2").setFocus(Qt::OtherFocusReason);
            break;
        case Vuelta::PorElProgramaSinActivacion:
            Activar(nullptr);
            c.campo("txtV2").setFocus(Qt::OtherFocusReason);  // only recorded, while inactive
            Activar(&c.ventana());
            break;
        case Vuelta::Reactivacion:
            Activar(nullptr);
            Activar(&c.ventana());
            break;
        case Vuelta::MenuContextual:
            QTest::keyClick(&c.abrirMenu("txtV1"), Qt::Key_Escape);
            QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
            break;
    }
    QVERIFY(c.ventana().isActiveWindow());
    QCOMPARE(c.enfocado(), enfocado);
    if (selecciona) {
        QVERIFY(c.todoSeleccionado(enfocado));
    } else {
        QCOMPARE(txtV1.text(), "12");
        QVERIFY(!txtV1.hasSelectedText());
        QCOMPARE(txtV1.cursorPosition(), 2);
    }
    c.escribir("3");
    QCOMPARE(c.texto(enfocado), despues);
}

// State: the window just opened, then deactivated, as under a window manager
// that does not activate new windows. Action: "2" and Enter sent to the
// window, as the X server delivers them. Expected: the window active, V1
// stored, and txtV2 holding the focus with its text selected.
void FocusSelectionTest::keysThatReachAnInactiveWindowStillCommitAndSelect() {
    VentanaAbierta c;
    Activar(nullptr);
    QVERIFY(!c.ventana().isActiveWindow());
    QWindow* nativa = c.ventana().windowHandle();
    QTest::keyClick(nativa, Qt::Key_2);
    QTest::keyClick(nativa, Qt::Key_Return);
    QCOMPARE(c.ventana().estado().V1, 2.0);
    QCOMPARE(c.texto("txtV1"), "2,000");
    QCOMPARE(c.enfocado(), "txtV2");
    QVERIFY(c.todoSeleccionado("txtV2"));
    QVERIFY(c.ventana().isActiveWindow());
}

void FocusSelectionTest::cleanup() {
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::FocusSelectionTest)
#include "focus_selection_test.moc"
