// The window on a high-density screen: with QT_SCALE_FACTOR=2 (set in this
// test's CTest environment) every control keeps the geometry the form gives it
// in device-independent pixels, the window renders at twice as many device
// pixels, and the pictures are drawn from their @2x variants, not stretched.

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QXmlStreamReader>
#include <QtTest>

#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace {

// The geometry of every widget of the Designer form, by object name, read
// from the form itself so that this test and the form cannot drift.
QHash<QString, QRect> GeometriasDelFormulario() {
    QFile archivo(QStringLiteral(TAVOLEN_FORM_PATH));
    if (!archivo.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", TAVOLEN_FORM_PATH);
    }
    QHash<QString, QRect> geometrias;
    QStringList abiertos;  // names of the <widget> elements around the reader
    QXmlStreamReader xml(&archivo);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("widget")) {
            abiertos.append(xml.attributes().value("name").toString());
        } else if (xml.isEndElement() && xml.name() == QLatin1String("widget")) {
            abiertos.removeLast();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("property") &&
                   xml.attributes().value("name") == QLatin1String("geometry")) {
            int valores[4] = {};
            const char* const campos[4] = {"x", "y", "width", "height"};
            for (int i = 0; i < 4; ++i) {
                while (!(xml.isStartElement() && xml.name() == QLatin1String(campos[i]))) {
                    xml.readNext();
                }
                valores[i] = xml.readElementText().toInt();
            }
            geometrias.insert(abiertos.last(),
                              QRect(valores[0], valores[1], valores[2], valores[3]));
        }
    }
    if (xml.hasError()) {
        qFatal("%s: %s", TAVOLEN_FORM_PATH, qPrintable(xml.errorString()));
    }
    return geometrias;
}

// The picture as the window's resources hold it; a null image if there is none.
QImage Recurso(const QString& ruta) {
    return QImage(ruta).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ScaleTest : public tavolen::PruebaConVentana {
    Q_OBJECT

  private slots:
    void initTestCase();

    void theWindowKeepsItsSizeAndRendersAtTwiceThePixels();
    void everyControlKeepsTheGeometryOfTheForm();
    void theWindowIconHasItsOwnPixelsAtTwiceTheSize_data();
    void theWindowIconHasItsOwnPixelsAtTwiceTheSize();
    void theEmblemsAndTheBannerAreDrawnFromTheirDoubleSizeVariants_data();
    void theEmblemsAndTheBannerAreDrawnFromTheirDoubleSizeVariants();

  private:
    QWidget* ventana() { return &abierta_->ventana(); }
};

void ScaleTest::initTestCase() {
    // Without the environment of this test the checks below would prove nothing.
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

// State: the window open at scale 2. Action: grab() it.
// Expected: still 689 x 533 device-independent pixels; the grab holds
// 1378 x 1066 device pixels.
void ScaleTest::theWindowKeepsItsSizeAndRendersAtTwiceThePixels() {
    QCOMPARE(ventana()->size(), QSize(689, 533));
    const QPixmap captura = ventana()->grab();
    QCOMPARE(captura.devicePixelRatio(), 2.0);
    QCOMPARE(captura.size(), QSize(1378, 1066));
    QCOMPARE(captura.deviceIndependentSize(), QSizeF(689, 533));
}

// State: the window open at scale 2. Action: none.
// Expected: each of the form's controls sits where the form puts it.
void ScaleTest::everyControlKeepsTheGeometryOfTheForm() {
    const QHash<QString, QRect> geometrias = GeometriasDelFormulario();
    QVERIFY(geometrias.size() > 30);  // the 38 controls and the window, less any without one
    for (auto it = geometrias.cbegin(); it != geometrias.cend(); ++it) {
        QWidget* control = it.key() == ventana()->objectName()
                               ? ventana()
                               : ventana()->findChild<QWidget*>(it.key());
        QVERIFY2(control != nullptr, qPrintable(it.key()));
        if (control == ventana()) {
            QCOMPARE(control->size(), it.value().size());  // the position is the screen's
        } else {
            QCOMPARE(control->geometry(), it.value());
        }
    }
}

void ScaleTest::theWindowIconHasItsOwnPixelsAtTwiceTheSize_data() {
    QTest::addColumn<int>("pedido");  // device-independent pixels, as the title bar asks
    QTest::addColumn<QString>("dibujo");

    QTest::newRow("16 px, a title bar") << 16 << ":/ventana/icono/32x32.png";
    QTest::newRow("32 px, a task switcher") << 32 << ":/ventana/icono/64x64.png";
    QTest::newRow("64 px, a large task switcher") << 64 << ":/ventana/icono/128x128.png";
}

// State: the window open at scale 2. Action: ask the window icon for a size.
// Expected: twice as many device pixels, exactly those of the picture drawn at
// that size: a smaller one stretched would be blurred.
void ScaleTest::theWindowIconHasItsOwnPixelsAtTwiceTheSize() {
    QFETCH(int, pedido);
    QFETCH(QString, dibujo);
    const QPixmap icono = ventana()->windowIcon().pixmap(QSize(pedido, pedido));
    QCOMPARE(icono.size(), QSize(2 * pedido, 2 * pedido));  // device pixels
    QCOMPARE(icono.devicePixelRatio(), 2.0);
    QImage esperado = Recurso(dibujo);
    QVERIFY2(!esperado.isNull(), qPrintable(dibujo));
    esperado.setDevicePixelRatio(2.0);
    QCOMPARE(icono.toImage().convertToFormat(QImage::Format_RGB32), esperado);
}

void ScaleTest::theEmblemsAndTheBannerAreDrawnFromTheirDoubleSizeVariants_data() {
    QTest::addColumn<QString>("variante");

    QTest::newRow("Picture1") << ":/ventana/emblema_izquierdo@2x.jpg";
    QTest::newRow("Picture2") << ":/ventana/emblema_derecho@2x.jpg";
    QTest::newRow("imgLogo") << ":/ventana/logo@2x.jpg";
}

// State: the window open at scale 2. Action: grab() it.
// Expected: where a picture stands, the grab holds the device pixels of its
// @2x variant, one for one: a stretched 1x picture differs at every edge.
void ScaleTest::theEmblemsAndTheBannerAreDrawnFromTheirDoubleSizeVariants() {
    QFETCH(QString, variante);
    auto* imagen = ventana()->findChild<QLabel*>(QTest::currentDataTag());
    QVERIFY(imagen != nullptr);
    const QImage esperada = Recurso(variante);
    QVERIFY2(!esperada.isNull(), qPrintable(variante));
    QCOMPARE(esperada.size(), imagen->size() * 2);

    const QImage captura = ventana()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect zona(imagen->geometry().topLeft() * 2, esperada.size());
    QCOMPARE(captura.copy(zona), esperada);
}

QTEST_MAIN(ScaleTest)
#include "scale_test.moc"
