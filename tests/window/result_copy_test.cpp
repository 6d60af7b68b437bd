// Taking the results elsewhere: each display copied through its menu, all six
// by the key, a mouse selection copied alike, and the field being typed in
// keeping its focus and its uncommitted text meanwhile.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace tavolen {
namespace {

const QStringList kResultados{"lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"};

// 2 and 20 V, 1 and 10 W, 150 dB, the factor 0,5: six different texts, with
// thousands points, a word and minus signs among them.
const QStringList kTextos{"20,0000", "10,0000", "31.622.777", "FULL", "-6,0206", "-3,0103"};

QAction& Entrada(QMenu& menu, const QString& nombre) {
    for (QAction* accion : menu.actions()) {
        if (accion->objectName() == nombre) {
            return *accion;
        }
    }
    qFatal("the menu has no entry %s", qPrintable(nombre));
}

}  // namespace

class ResultCopyTest : public PruebaConVentana {
    Q_OBJECT

  private slots:
    void init();

    void eachResultByItsMenuAndAllSixByTheKey_data();
    void eachResultByItsMenuAndAllSixByTheKey();
    void aMouseSelectionIsWhatTheMenuCopies_data();
    void aMouseSelectionIsWhatTheMenuCopies();
    void theMenuSaysCopyAsTheFieldsMenuDoesAndShowsTheKey();

  private:
    QStringList Mostrados() {
        QStringList textos;
        for (const QString& nombre : kResultados) {
            textos << abierta_->texto(nombre);
        }
        return textos;
    }
};

// State for every test: the six results of a calculation, then "7" typed into
// txtV2 without Enter, so that a commit would show.
void ResultCopyTest::init() {
    PruebaConVentana::init();
    for (const char* cifra : {"2", "20", "1", "10", "150", "0,5"}) {
        abierta_->escribir(cifra);
        abierta_->pulsar(Qt::Key_Return);
    }
    abierta_->pulsar(Qt::Key_Return);  // on " CALCULAR "
    QCOMPARE(Mostrados(), kTextos);
    abierta_->campo("txtV2").setFocus(Qt::TabFocusReason);  // its text selected
    abierta_->escribir("7");
    QCOMPARE(abierta_->texto("txtV2"), "7");
    QApplication::clipboard()->setText(QStringLiteral("antes"));
}

void ResultCopyTest::eachResultByItsMenuAndAllSixByTheKey_data() {
    QTest::addColumn<QString>("resultado");  // whose menu; none: the key
    QTest::addColumn<QString>("copiado");
    QTest::addColumn<QString>("foco");  // where the focus is afterwards
    for (qsizetype i = 0; i < kResultados.size(); ++i) {
        // A click puts the focus in the two factor boxes, as it always did;
        // the result labels never take it.
        const QString foco = kResultados[i].startsWith("txt") ? kResultados[i] : "txtV2";
        QTest::newRow(qPrintable(kResultados[i])) << kResultados[i] << kTextos[i] << foco;
    }
    QTest::newRow("all six, Ctrl+Shift+C") << QString()
                                           << QStringLiteral(
                                                  "Decibelios de tensiones: 20,0000\n"
                                                  "Decibelios de potencias: 10,0000\n"
                                                  "Factor de tensiones: 31.622.777\n"
                                                  "Factor de potencias: FULL\n"
                                                  "Decibelios del factor en tensiones: -6,0206\n"
                                                  "Decibelios del factor en potencias: -3,0103")
                                           << "txtV2";
}

// Action: a right click on the display and its menu's "Copiar", or the key.
// Expected: the clipboard holds the shown text, or the six named lines; no
// display changed; where the focus stayed in txtV2, "7" is still uncommitted.
void ResultCopyTest::eachResultByItsMenuAndAllSixByTheKey() {
    QFETCH(QString, resultado);
    QFETCH(QString, copiado);
    QFETCH(QString, foco);
    if (resultado.isEmpty()) {
        abierta_->pulsar(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QWidget& display = abierta_->control(resultado);
        QTest::mouseClick(&display, Qt::RightButton, Qt::NoModifier, display.rect().center());
        QMenu& menu = abierta_->abrirMenu(resultado);
        VentanaAbierta::elegir(menu, Entrada(menu, "copiarResultado"));
    }
    QTRY_COMPARE(QApplication::clipboard()->text(), copiado);
    QCOMPARE(Mostrados(), kTextos);
    QCOMPARE(abierta_->enfocado(), foco);
    if (foco == "txtV2") {
        QCOMPARE(abierta_->texto("txtV2"), "7");
        QCOMPARE(abierta_->ventana().estado().V2, 20.0);
    }
    QVERIFY(abierta_->cajasCerradas().isEmpty());
}

void ResultCopyTest::aMouseSelectionIsWhatTheMenuCopies_data() {
    QTest::addColumn<QString>("texto");
    for (qsizetype i = 0; i < kResultados.size(); ++i) {
        QTest::newRow(qPrintable(kResultados[i])) << kTextos[i];
    }
}

// Action: the left button dragged from the display's left edge to its middle,
// then a right click and "Copiar". Expected: the first part of the text is
// selected and copied, the same on a label as on a factor box; a label leaves
// the focus and the uncommitted "7" in txtV2.
void ResultCopyTest::aMouseSelectionIsWhatTheMenuCopies() {
    QFETCH(QString, texto);
    const QString nombre = QTest::currentDataTag();
    QWidget& display = abierta_->control(nombre);
    const int medio = display.height() / 2;
    QTest::mousePress(&display, Qt::LeftButton, Qt::NoModifier, QPoint(1, medio));
    QTest::mouseMove(&display, QPoint(display.width() / 2, medio));
    QTest::mouseRelease(&display, Qt::LeftButton, Qt::NoModifier,
                        QPoint(display.width() / 2, medio));
    QTest::mouseClick(&display, Qt::RightButton, Qt::NoModifier, display.rect().center());
    QMenu& menu = abierta_->abrirMenu(nombre);
    VentanaAbierta::elegir(menu, Entrada(menu, "copiarResultado"));

    const QString copiado = QApplication::clipboard()->text();
    QVERIFY2(!copiado.isEmpty() && copiado.size() < texto.size() && texto.startsWith(copiado),
             qPrintable(copiado));
    QCOMPARE(Mostrados(), kTextos);
    if (nombre.startsWith("lbl")) {
        QCOMPARE(abierta_->enfocado(), "txtV2");
        QCOMPARE(abierta_->texto("txtV2"), "7");
    }
}

// Expected: "Copiar" is the entry fields' own copy entry, from Qt's catalogue,
// and the second entry copies all six and shows its key.
void ResultCopyTest::theMenuSaysCopyAsTheFieldsMenuDoesAndShowsTheKey() {
    QMenu& delCampo = abierta_->abrirMenu("txtV2");
    QString copiarDelCampo;
    for (QAction* accion : delCampo.actions()) {
        // Named since Qt 6.5; before, known by the key Qt writes after a tab
        // ("&Copiar\tControl+C").
        const QString atajo =
            QLatin1Char('\t') + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
        if (accion->objectName() == QLatin1String("edit-copy") || accion->text().endsWith(atajo)) {
            copiarDelCampo = accion->text().section(QLatin1Char('\t'), 0, 0);
        }
    }
    delCampo.close();
    QVERIFY(!copiarDelCampo.isEmpty());

    for (const QString& resultado : kResultados) {
        QMenu& menu = abierta_->abrirMenu(resultado);
        QCOMPARE(menu.actions().size(), 2);
        QCOMPARE(Entrada(menu, "copiarResultado").text(), copiarDelCampo);
        QAction& todos = Entrada(menu, "copiarTodosLosResultados");
        QCOMPARE(todos.text(), "Copiar &todos los resultados");
        QCOMPARE(todos.shortcut(), QKeySequence("Ctrl+Shift+C"));
        QVERIFY(todos.isShortcutVisibleInContextMenu());
        menu.close();
    }
    QCOMPARE(abierta_->enfocado(), "txtV2");
}

}  // namespace tavolen

QTEST_MAIN(tavolen::ResultCopyTest)
#include "result_copy_test.moc"
