// The rules of the entry fields, without a window: which keystroke codes pass,
// which texts a commit accepts and what it makes of them, and which code a key
// press hands to the fields.

#include <QKeyEvent>
#include <QTest>

#include <string>

#include "engine/number_text.h"
#include "fields/field_commit.h"
#include "fields/field_table.h"
#include "fields/key_ascii.h"
#include "fields/keystroke_filters.h"
#include "fields/shape_rules.h"

Q_DECLARE_METATYPE(tavolen::Filtro)
Q_DECLARE_METATYPE(tavolen::ReglaForma)

namespace tavolen {
namespace {

constexpr int kNoEsTecla = -100000;  // KeyAsciiDe gave nullopt

const CampoDeEntrada& CampoDeNombre(const QString& nombre) {
    for (const CampoDeEntrada& campo : kCamposDeEntrada) {
        if (QString::fromUtf8(campo.control.data(), campo.control.size()) == nombre) {
            return campo;
        }
    }
    qFatal("no entry field named %s", qPrintable(nombre));
}

// DBL_MAX written out in full: a number, but its 15-digit display rounds up to
// 1,79769313486232e308, beyond the largest double.
const char* const kMayorDouble =
    "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632"
    "766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090"
    "389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180"
    "919299881250404026184124858368";

}  // namespace

class FieldRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void ofTheEightBitCodesOnlyNumberCharactersPass();
    void theShapeCheckLooksAtCommasAndMinusSigns_data();
    void theShapeCheckLooksAtCommasAndMinusSigns();
    void aCommitReformatsOrRejects_data();
    void aCommitReformatsOrRejects();
    void everyZeroTextIsZeroUnderItsPattern();
    void aKeyPressGivesTheCodeOfItsCharacter_data();
    void aKeyPressGivesTheCodeOfItsCharacter();
};

// Over the whole 8-bit range (the keys that type them are tried one by one in
// keystrokes_test): what passes is exactly what a number of the field can hold,
// Backspace and Enter. Codes outside the range pass unchanged.
void FieldRulesTest::ofTheEightBitCodesOnlyNumberCharactersPass() {
    for (const int c : {-32768, -1, 256, 8364, 32767}) {
        for (const Filtro filtro : {Filtro::Validar1, Filtro::Validar2}) {
            std::int16_t k = static_cast<std::int16_t>(c);
            FiltrarTecla(filtro, k);
            QCOMPARE(int(k), c);
        }
    }
    for (int c = 0; c <= 255; ++c) {
        const bool cifra = (c >= '0' && c <= '9') || c == ',' || c == '\b' || c == '\r';
        for (const Filtro filtro : {Filtro::Validar1, Filtro::Validar2}) {
            std::int16_t k = static_cast<std::int16_t>(c);
            FiltrarTecla(filtro, k);
            const bool pasa = cifra || (c == '-' && filtro == Filtro::Validar2);
            const int esperado = c == '.' ? ',' : (pasa ? c : 0);
            if (k != esperado) {
                QFAIL(qPrintable(QStringLiteral("code %1 gave %2").arg(c).arg(k)));
            }
        }
    }
}

void FieldRulesTest::theShapeCheckLooksAtCommasAndMinusSigns_data() {
    QTest::addColumn<ReglaForma>("regla");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("aceptada");
    const auto S = ReglaForma::Simple;
    const auto C = ReglaForma::ConSigno;
    QTest::newRow("plain: empty") << S << "" << true;
    QTest::newRow("plain: 2,5") << S << "2,5" << true;
    QTest::newRow("plain: ,5") << S << ",5" << true;
    QTest::newRow("plain: 5,") << S << "5," << true;
    QTest::newRow("plain: grouped 1.234,000") << S << "1.234,000" << true;
    QTest::newRow("plain: letters pass the shape") << S << "12a" << true;
    QTest::newRow("plain: a minus is not looked at") << S << "-3" << true;
    QTest::newRow("plain: 1,2,3") << S << "1,2,3" << false;
    QTest::newRow("plain: two commas together") << S << "5,," << false;
    QTest::newRow("plain: a lone comma") << S << "," << false;
    QTest::newRow("signed: -3") << C << "-3" << true;
    QTest::newRow("signed: -,5") << C << "-,5" << true;
    QTest::newRow("signed: 3") << C << "3" << true;
    QTest::newRow("signed: empty") << C << "" << true;
    QTest::newRow("signed: -0,00001") << C << "-0,00001" << true;
    QTest::newRow("signed: 3-") << C << "3-" << false;
    QTest::newRow("signed: --3") << C << "--3" << false;
    QTest::newRow("signed: -3-") << C << "-3-" << false;
    QTest::newRow("signed: lone minus") << C << "-" << false;
    QTest::newRow("signed: -,") << C << "-," << false;
    QTest::newRow("signed: lone comma") << C << "," << false;
    QTest::newRow("signed: 1,2,3") << C << "1,2,3" << false;
    QTest::newRow("signed: -1,2,3") << C << "-1,2,3" << false;
}

void FieldRulesTest::theShapeCheckLooksAtCommasAndMinusSigns() {
    QFETCH(ReglaForma, regla);
    QFETCH(QString, texto);
    QFETCH(bool, aceptada);
    QCOMPARE(FormaAceptada(texto.toStdString(), regla), aceptada);
}

// The cases that typing cannot produce or that need a close look at the value;
// commit_test types the everyday ones into the window.
void FieldRulesTest::aCommitReformatsOrRejects_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("aceptada");
    QTest::addColumn<QString>("despues");  // the field's text when accepted
    QTest::addColumn<double>("valor");     // the value stored when accepted
    auto acepta = [](const char* tag, const char* campo, QString texto, const char* despues,
                     double valor) {
        QTest::newRow(tag) << campo << texto << true << despues << valor;
    };
    auto rechaza = [](const char* tag, const char* campo, QString texto) {
        QTest::newRow(tag) << campo << texto << false << QString() << 0.0;
    };
    acepta("txtV1 rounds a half up", "txtV1", "2,1235", "2,124", 2.124);
    acepta("txtV1 ,5", "txtV1", ",5", "0,500", 0.5);
    acepta("txtV2 grouped", "txtV2", "1234,5", "1.234,5000", 1234.5);
    acepta("txtV2 already grouped", "txtV2", "1.234,5000", "1.234,5000", 1234.5);
    acepta("txtP1 a million", "txtP1", "1000000", "1.000.000,000", 1e6);
    acepta("txtDb1 -,5", "txtDb1", "-,5", "-0,5000", -0.5);
    acepta("txtDb1 -0,00001", "txtDb1", "-0,00001", "-0,0000", 0);            // negative zero shown
    acepta("txtDb1 -0,0000 again", "txtDb1", "-0,0000", "0,0000", 0);         // reads as zero
    acepta("txtF1 100 digits", "txtF1", "1" + QString(100, '0'), "", 1e100);  // text not compared
    // Texts that pass the shape check but that only pasting can bring.
    rechaza("pasted letters", "txtV2", "12a");
    rechaza("pasted exponent", "txtF1", "1e3");
    rechaza("pasted lone point", "txtV1", ".");
    rechaza("point after the comma", "txtV2", "1,234.5");
    rechaza("pasted minus in txtV1", "txtV1", "-2");
    rechaza("pasted minus in txtP2", "txtP2", "-1,5");
    rechaza("minus behind in txtV2", "txtV2", "2-");
    rechaza("non-ASCII digit", "txtV1", QString::fromUtf8("٣"));
    rechaza("beyond the largest double", "txtV2", "2" + QString(309, '0'));
    rechaza("the largest double rounds past it", "txtV2", kMayorDouble);
    rechaza("negative largest in txtDb1", "txtDb1", QString("-") + kMayorDouble);
}

void FieldRulesTest::aCommitReformatsOrRejects() {
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(bool, aceptada);
    QFETCH(QString, despues);
    QFETCH(double, valor);
    const CampoDeEntrada& fila = CampoDeNombre(campo);
    const auto r = ConfirmarTexto(fila, texto.toStdString());
    QCOMPARE(r.has_value(), aceptada);
    if (!aceptada) {
        return;
    }
    if (!despues.isEmpty()) {
        QCOMPARE(QString::fromStdString(r->texto), despues);
    }
    QCOMPARE(r->valor, valor);
    // Committing the text again (the leave commit after Enter, or the next
    // commit of an untouched field) gives the same text and value, but for a
    // negative zero, which the second commit turns into the zero text.
    const auto otra = ConfirmarTexto(fila, r->texto);
    QVERIFY(otra.has_value());
    if (!r->texto.starts_with("-0,")) {
        QCOMPARE(otra->texto, r->texto);
    }
    QCOMPARE(otra->valor, r->valor);
}

void FieldRulesTest::everyZeroTextIsZeroUnderItsPattern() {
    for (const CampoDeEntrada& campo : kCamposDeEntrada) {
        QCOMPARE(FormatearCifra(0, campo.patron), std::string(campo.textoCero));
    }
}

void FieldRulesTest::aKeyPressGivesTheCodeOfItsCharacter_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modificadores");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("codigo");
    const int Ctrl = Qt::ControlModifier;
    const int Shift = Qt::ShiftModifier;
    QTest::newRow("digit 7") << int(Qt::Key_7) << 0 << "7" << 55;
    QTest::newRow("point") << int(Qt::Key_Period) << 0 << "." << 46;
    QTest::newRow("keypad point") << int(Qt::Key_Period) << int(Qt::KeypadModifier) << "." << 46;
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << "-" << 45;
    QTest::newRow("letter A with Shift") << int(Qt::Key_A) << Shift << "A" << 65;
    QTest::newRow("euro above 255") << int(Qt::Key_unknown) << 0 << QString::fromUtf8("€") << 8364;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("Return without text") << int(Qt::Key_Return) << 0 << "" << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("Ctrl+C as Qt Test sends it") << int(Qt::Key_C) << Ctrl << "c" << 3;
    QTest::newRow("Ctrl+C as X11 sends it") << int(Qt::Key_C) << Ctrl << "\x03" << 3;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << Ctrl << "v" << 22;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << Ctrl << "x" << 24;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << Ctrl << "z" << 26;
    QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << (Ctrl | Shift) << "Z" << 26;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << Ctrl << "a" << 1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "\t" << kNoEsTecla;
    QTest::newRow("Shift+Tab as Qt Test") << int(Qt::Key_Backtab) << Shift << "\x0b" << kNoEsTecla;
    QTest::newRow("Shift+Tab as X11") << int(Qt::Key_Backtab) << Shift << "" << kNoEsTecla;
    QTest::newRow("Delete as X11") << int(Qt::Key_Delete) << 0 << "\x7f" << kNoEsTecla;
    QTest::newRow("Left arrow") << int(Qt::Key_Left) << 0 << "" << kNoEsTecla;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0 << "" << kNoEsTecla;
    QTest::newRow("End") << int(Qt::Key_End) << 0 << "" << kNoEsTecla;
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << Shift << "" << kNoEsTecla;
}

void FieldRulesTest::aKeyPressGivesTheCodeOfItsCharacter() {
    QFETCH(int, key);
    QFETCH(int, modificadores);
    QFETCH(QString, texto);
    QFETCH(int, codigo);
    const QKeyEvent tecla(QEvent::KeyPress, key, Qt::KeyboardModifiers(modificadores), texto);
    const std::optional<std::int16_t> dado = KeyAsciiDe(tecla);
    QCOMPARE(dado ? int(*dado) : kNoEsTecla, codigo);
}

}  // namespace tavolen

QTEST_GUILESS_MAIN(tavolen::FieldRulesTest)
#include "field_rules_test.moc"
