// What each entry field lets through, keystroke by keystroke, with real key
// events typed into the field that holds the focus.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "tests/support/open_window.h"

namespace tavolen {

class KeystrokesTest : public QObject {
    Q_OBJECT

  private slots:
    void aCharacterKeyAfter12_data();
    void aCharacterKeyAfter12();
    void theEditingShortcutsDoNothing_data();
    void theEditingShortcutsDoNothing();
    void keysThatTypeNoCharacterReachTheField_data();
    void keysThatTypeNoCharacterReachTheField();
    void cleanup();
};

// State: the field has the focus and holds "12", the caret at its end.
// Action: one key, with the text it carries. Expected: the text the field
// holds then; the focus stays.
void KeystrokesTest::aCharacterKeyAfter12_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("texto");  // the key's text
    QTest::addColumn<QString>("despues");
    struct Fila {
        const char* etiqueta;
        const char* campo;
        Qt::Key tecla;
        const char* texto;
        const char* despues;
    };
    const Fila filas[] = {
        {"txtV1 digit 0 (48)", "txtV1", Qt::Key_0, "0", "120"},
        {"txtV1 digit 9 (57)", "txtV1", Qt::Key_9, "9", "129"},
        {"txtV1 comma (44)", "txtV1", Qt::Key_Comma, ",", "12,"},
        {"txtV1 point becomes comma (46)", "txtV1", Qt::Key_Period, ".", "12,"},
        {"txtDb1 point becomes comma (46)", "txtDb1", Qt::Key_Period, ".", "12,"},
        {"txtV1 minus discarded (45)", "txtV1", Qt::Key_Minus, "-", "12"},
        {"txtV2 minus discarded (45)", "txtV2", Qt::Key_Minus, "-", "12"},
        {"txtP1 minus discarded (45)", "txtP1", Qt::Key_Minus, "-", "12"},
        {"txtP2 minus discarded (45)", "txtP2", Qt::Key_Minus, "-", "12"},
        {"txtF1 minus discarded (45)", "txtF1", Qt::Key_Minus, "-", "12"},
        {"txtDb1 minus taken behind (45)", "txtDb1", Qt::Key_Minus, "-", "12-"},
        {"txtV1 plus (43)", "txtV1", Qt::Key_Plus, "+", "12"},
        {"txtV1 slash (47)", "txtV1", Qt::Key_Slash, "/", "12"},
        {"txtV1 colon (58)", "txtV1", Qt::Key_Colon, ":", "12"},
        {"txtV1 space (32)", "txtV1", Qt::Key_Space, " ", "12"},
        {"txtF1 letter a (97)", "txtF1", Qt::Key_A, "a", "12"},
        {"txtDb1 letter E (69)", "txtDb1", Qt::Key_E, "E", "12"},
        {"txtV2 n tilde (241)", "txtV2", Qt::Key_Ntilde, "ñ", "12"},
        {"txtV2 y diaeresis (255)", "txtV2", Qt::Key_ydiaeresis, "ÿ", "12"},
        {"txtV1 A macron (256) passes", "txtV1", Qt::Key_unknown, "Ā", "12Ā"},
        {"txtV1 euro above 255 passes", "txtV1", Qt::Key_unknown, "€", "12€"},
        {"txtDb1 Greek alpha above 255", "txtDb1", Qt::Key_unknown, "α", "12α"},
        {"txtP1 Backspace (8)", "txtP1", Qt::Key_Backspace, "\b", "1"},
        {"txtV1 Escape (27)", "txtV1", Qt::Key_Escape, "\x1b", "12"},
    };
    // Control codes typed with Ctrl and a letter, as X11 sends them.
    const Fila controles[] = {
        {"txtV2 Ctrl+G (7)", "txtV2", Qt::Key_G, "\x07", "12"},
        {"txtV2 Ctrl+I (9)", "txtV2", Qt::Key_I, "\x09", "12"},
        {"txtV2 Ctrl+L (12)", "txtV2", Qt::Key_L, "\x0c", "12"},
        {"txtV2 Ctrl+N (14)", "txtV2", Qt::Key_N, "\x0e", "12"},
        {"txtDb1 Ctrl+Y (25)", "txtDb1", Qt::Key_Y, "\x19", "12"},
    };
    QTest::addColumn<int>("modificadores");
    for (const Fila& f : filas) {
        QTest::newRow(f.etiqueta) << f.campo << int(f.tecla) << QString::fromUtf8(f.texto)
                                  << QString::fromUtf8(f.despues) << int(Qt::NoModifier);
    }
    for (const Fila& f : controles) {
        QTest::newRow(f.etiqueta) << f.campo << int(f.tecla) << QString::fromUtf8(f.texto)
                                  << QString::fromUtf8(f.despues) << int(Qt::ControlModifier);
    }
}

void KeystrokesTest::aCharacterKeyAfter12() {
    QFETCH(QString, campo);
    QFETCH(int, tecla);
    QFETCH(QString, texto);
    QFETCH(QString, despues);
    QFETCH(int, modificadores);
    VentanaAbierta c;
    const QByteArray nombre = campo.toLatin1();
    c.campo(nombre).setFocus();
    c.escribir("12");
    c.pulsarConTexto(Qt::Key(tecla), texto, Qt::KeyboardModifiers(modificadores));
    QCOMPARE(c.texto(nombre), despues);
    QCOMPARE(c.enfocado(), campo);
}

// State: the field has the focus and holds "12", wholly selected (for Ctrl+A
// the caret at its end, nothing selected); the clipboard holds "99". Action: a
// shortcut. Expected: text, selection and clipboard unchanged: the codes of
// copy, paste, cut, undo and select-all are discarded.
void KeystrokesTest::theEditingShortcutsDoNothing_data() {
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("seleccion");
    QTest::newRow("Ctrl+C (3)") << int(Qt::Key_C) << "12";
    QTest::newRow("Ctrl+V (22)") << int(Qt::Key_V) << "12";
    QTest::newRow("Ctrl+X (24)") << int(Qt::Key_X) << "12";
    QTest::newRow("Ctrl+Z (26)") << int(Qt::Key_Z) << "12";
    QTest::newRow("Ctrl+A (1)") << int(Qt::Key_A) << "";
}

void KeystrokesTest::theEditingShortcutsDoNothing() {
    QFETCH(int, tecla);
    QFETCH(QString, seleccion);
    VentanaAbierta c;
    QApplication::clipboard()->setText("99");
    c.campo("txtV2").setFocus();
    c.escribir("12");
    if (!seleccion.isEmpty()) {
        c.pulsar(Qt::Key_Home, Qt::ShiftModifier);
    }
    c.pulsar(Qt::Key(tecla), Qt::ControlModifier);
    QCOMPARE(c.texto("txtV2"), "12");
    QCOMPARE(c.campo("txtV2").selectedText(), seleccion);
    QCOMPARE(QApplication::clipboard()->text(), "99");
}

// State: the field has the focus and holds "12", the caret at its end.
// Action: keys that type no character, then "5". Expected: the field moved
// its caret, deleted or selected as usual.
void KeystrokesTest::keysThatTypeNoCharacterReachTheField_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QList<int>>("teclas");
    QTest::addColumn<QString>("despues");
    QTest::newRow("Home") << "txtV1" << QList<int>{Qt::Key_Home} << "512";
    QTest::newRow("Left") << "txtV2" << QList<int>{Qt::Key_Left} << "152";
    QTest::newRow("Home, End") << "txtP1" << QList<int>{Qt::Key_Home, Qt::Key_End} << "125";
    QTest::newRow("Home, Delete") << "txtP2" << QList<int>{Qt::Key_Home, Qt::Key_Delete} << "52";
    QTest::newRow("Left, Backspace")
        << "txtF1" << QList<int>{Qt::Key_Left, Qt::Key_Backspace} << "52";
    QTest::newRow("Home, minus in txtDb1")
        << "txtDb1" << QList<int>{Qt::Key_Home, Qt::Key_Minus} << "-512";
}

void KeystrokesTest::keysThatTypeNoCharacterReachTheField() {
    QFETCH(QString, campo);
    QFETCH(QList<int>, teclas);
    QFETCH(QString, despues);
    VentanaAbierta c;
    const QByteArray nombre = campo.toLatin1();
    c.campo(nombre).setFocus();
    c.escribir("12");
    for (const int tecla : teclas) {
        if (tecla == Qt::Key_Minus) {
            c.escribir("-");
        } else {
            c.pulsar(Qt::Key(tecla));
        }
    }
    c.escribir("5");
    QCOMPARE(c.texto(nombre), despues);
}

void KeystrokesTest::cleanup() {
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::KeystrokesTest)
#include "keystrokes_test.moc"
