// The window's commands with the committed inputs at zero, as the window
// starts: what start-up shows, what " CALCULAR " and "RESET" do, and that the
// banner opens its page and nothing else reacts to a click.

#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "engine/calculator_state.h"
#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace tavolen {
namespace {

const QStringList kCampos{"txtV1", "txtV2", "txtP1", "txtP2", "txtDb1", "txtF1"};
const QStringList kResultados{"lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"};

// The texts of the six fields and the six result displays, in that order.
QStringList Textos(VentanaAbierta& abierta) {
    QStringList textos;
    for (const QString& nombre : kCampos + kResultados) {
        textos << abierta.texto(nombre);
    }
    return textos;
}

const QStringList kTextosDeInicio{"0,000",  "0,0000", "0,000",  "0,0000", "0,0000", "0,0000",
                                  "0,0000", "0,0000", "0,0000", "0,0000", "0,0000", "0,0000"};

// With every input 0: the levels of the ratios are 0, the factors of 0 dB are
// 1 and the level of the factor 0 is infinite.
const QStringList kTextosDeCalculoEnCero{"0,000",      "0,0000",     "0,000",    "0,0000",
                                         "0,0000",     "0,0000",     "0,0000",   "0,0000",
                                         "1,00000000", "1,00000000", "INFINITO", "INFINITO"};

// The twelve numbers of the state, in their order.
QList<double> Numeros(const CalculatorState& e) {
    return {e.V1, e.V2, e.P1, e.P2, e.Db1, e.F1, e.Dbv, e.Dbp, e.Fv, e.Fp, e.Dbfv, e.Dbfp};
}

const QList<double> kTodoEnCero(12, 0.0);
const QList<double> kCalculoEnCero{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0};

}  // namespace

class CommandsTest : public PruebaConVentana {
    Q_OBJECT

  public slots:
    // The desktop's handler for web addresses, while the suite runs.
    void abrir(const QUrl& direccion) { abiertas_ << direccion; }

  private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void atStartEveryTextIsItsZeroAndEveryNumberIsZero();
    void atStartTheFocusIsInTheFirstVoltageWithItsTextSelected();
    void calcularWithTheInputsAtZeroShowsTheSixResultsOfZero();
    void calcularTwiceGivesTheSameTextsBothTimes();
    void calcularPressedFromTheKeyboard_data();
    void calcularPressedFromTheKeyboard();
    void enterInAFieldPressesNoButton_data();
    void enterInAFieldPressesNoButton();
    void resetAfterACalculationGivesBackTheStartAndTheFocusToTheFirstVoltage();
    void aClickOnTheBannerOpensItsPageOnceAndChangesNothing();
    void onlyALeftClickThatEndsOnTheBannerOpensThePage_data();
    void onlyALeftClickThatEndsOnTheBannerOpensThePage();
    void aClickOnAnythingButTheBannerOpensNothing_data();
    void aClickOnAnythingButTheBannerOpensNothing();

  private:
    QList<QUrl> abiertas_;
};

void CommandsTest::initTestCase() {
    QDesktopServices::setUrlHandler("http", this, "abrir");
    QDesktopServices::setUrlHandler("https", this, "abrir");
}

void CommandsTest::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
}

void CommandsTest::init() {
    abiertas_.clear();
    PruebaConVentana::init();
}

void CommandsTest::atStartEveryTextIsItsZeroAndEveryNumberIsZero() {
    // State: the window just opened. Expected: the zero texts of start-up, not
    // the form's own "0,00"; every number 0; the message variables empty.
    QCOMPARE(Textos(*abierta_), kTextosDeInicio);
    const CalculatorState& estado = abierta_->ventana().estado();
    QCOMPARE(Numeros(estado), kTodoEnCero);
    QCOMPARE(estado.Mensaje, std::string());
    QCOMPARE(estado.Titulo, std::string());
    QCOMPARE(estado.Estilo, std::int16_t{0});
}

void CommandsTest::atStartTheFocusIsInTheFirstVoltageWithItsTextSelected() {
    QCOMPARE(abierta_->enfocado(), QString("txtV1"));
    QCOMPARE(abierta_->campo("txtV1").selectedText(), QString("0,000"));
}

void CommandsTest::calcularWithTheInputsAtZeroShowsTheSixResultsOfZero() {
    abierta_->clic("cmdCalcular");
    QCOMPARE(Textos(*abierta_), kTextosDeCalculoEnCero);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kCalculoEnCero);
}

void CommandsTest::calcularTwiceGivesTheSameTextsBothTimes() {
    abierta_->clic("cmdCalcular");
    const QStringList primera = Textos(*abierta_);
    abierta_->clic("cmdCalcular");
    QCOMPARE(Textos(*abierta_), primera);
    QCOMPARE(Textos(*abierta_), kTextosDeCalculoEnCero);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kCalculoEnCero);
}

void CommandsTest::calcularPressedFromTheKeyboard_data() {
    QTest::addColumn<int>("tecla");
    QTest::newRow("Enter") << static_cast<int>(Qt::Key_Return);
    QTest::newRow("keypad Enter") << static_cast<int>(Qt::Key_Enter);
    QTest::newRow("Space") << static_cast<int>(Qt::Key_Space);
}

void CommandsTest::calcularPressedFromTheKeyboard() {
    // A keyboard user walks to " CALCULAR " with Tab and presses it.
    QFETCH(int, tecla);
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(abierta_->enfocado(), QString("cmdCalcular"));
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tecla));
    QCOMPARE(Textos(*abierta_), kTextosDeCalculoEnCero);
}

void CommandsTest::enterInAFieldPressesNoButton_data() {
    QTest::addColumn<QString>("campo");
    for (const QString& campo : kCampos) {
        QTest::newRow(qPrintable(campo)) << campo;
    }
}

void CommandsTest::enterInAFieldPressesNoButton() {
    // The window is no dialog: it has no default button for Enter to press,
    // not even when Enter in the last field moves the focus to " CALCULAR ".
    QFETCH(QString, campo);
    abierta_->campo(campo).setFocus(Qt::TabFocusReason);
    QCOMPARE(abierta_->enfocado(), campo);
    // As a keyboard does: each event to whatever holds the focus at that moment.
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(Textos(*abierta_), kTextosDeInicio);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kTodoEnCero);
}

void CommandsTest::resetAfterACalculationGivesBackTheStartAndTheFocusToTheFirstVoltage() {
    abierta_->clic("cmdCalcular");
    QCOMPARE(Textos(*abierta_), kTextosDeCalculoEnCero);
    abierta_->clic("cmdReset");
    QCOMPARE(Textos(*abierta_), kTextosDeInicio);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kTodoEnCero);
    QCOMPARE(abierta_->enfocado(), QString("txtV1"));
}

void CommandsTest::aClickOnTheBannerOpensItsPageOnceAndChangesNothing() {
    abierta_->clic("cmdCalcular");
    abierta_->campo("txtV1").setFocus(Qt::OtherFocusReason);
    const QStringList antes = Textos(*abierta_);

    abierta_->clic("imgLogo");

    QCOMPARE(
        abiertas_,
        QList<QUrl>{QUrl(QString::fromUtf8(kDireccionDelLogo.data(), kDireccionDelLogo.size()))});
    QCOMPARE(abiertas_.front().scheme(), QString("https"));
    QCOMPARE(Textos(*abierta_), antes);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kCalculoEnCero);
    QCOMPARE(abierta_->enfocado(), QString("txtV1"));  // the banner takes no focus
}

void CommandsTest::onlyALeftClickThatEndsOnTheBannerOpensThePage_data() {
    QTest::addColumn<int>("boton");
    QTest::addColumn<QPoint>("suelta");  // where the button goes up, in banner coordinates
    QTest::addColumn<int>("paginas");
    QTest::newRow("left, released on it")
        << static_cast<int>(Qt::LeftButton) << QPoint(299, 45) << 1;
    QTest::newRow("left, released beside it")
        << static_cast<int>(Qt::LeftButton) << QPoint(320, 20) << 0;
    QTest::newRow("right") << static_cast<int>(Qt::RightButton) << QPoint(150, 23) << 0;
    QTest::newRow("middle") << static_cast<int>(Qt::MiddleButton) << QPoint(150, 23) << 0;
}

void CommandsTest::onlyALeftClickThatEndsOnTheBannerOpensThePage() {
    QFETCH(int, boton);
    QFETCH(QPoint, suelta);
    QFETCH(int, paginas);
    QWidget& logo = abierta_->control("imgLogo");
    const auto cual = static_cast<Qt::MouseButton>(boton);
    QTest::mousePress(&logo, cual, Qt::NoModifier, QPoint(150, 23));
    QTest::mouseRelease(&logo, cual, Qt::NoModifier, suelta);
    QCOMPARE(abiertas_.size(), paginas);
}

void CommandsTest::aClickOnAnythingButTheBannerOpensNothing_data() {
    QTest::addColumn<QString>("control");
    for (const char* nombre :
         {"lblTitulo", "Label1", "lblTensiones", "lblDbv", "Label11", "txtFv", "txtFp", "lblDbfp",
          "Picture1", "Picture2", "Line1", "Line2", "Line3", "Label2"}) {
        QTest::newRow(nombre) << nombre;
    }
}

void CommandsTest::aClickOnAnythingButTheBannerOpensNothing() {
    QFETCH(QString, control);
    abierta_->clic(control);
    QVERIFY(abiertas_.isEmpty());
    QCOMPARE(Textos(*abierta_), kTextosDeInicio);
    QCOMPARE(Numeros(abierta_->ventana().estado()), kTodoEnCero);
}

}  // namespace tavolen

QTEST_MAIN(tavolen::CommandsTest)
#include "commands_test.moc"
