// The window as it is described: every control where the table puts it, with
// its text, font, colours and alignment; the lines, the pictures, the window's
// own settings and the tab chain. Positions are given here in twips, as the
// layout table holds them, and converted the way the form must have been:
// 15 twips to the pixel, rounded to the nearest.

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <array>
#include <cmath>
#include <optional>

#include "tests/support/window_fixture.h"
#include "window/frm_principal.h"

namespace tavolen {
namespace {

int Pixeles(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

enum class Clase { Etiqueta, Resultado, Campo, CampoDeResultado, Boton, Cuadro, Imagen };
enum class Fuente { Ventana, Encabezado, Entrada, Resultado, Titulo, Calcular, Reinicio, Ninguna };
enum class Alineacion { Izquierda, Centro, Ninguna };

struct Control {
    const char* nombre;
    Clase clase;
    const char* texto;             // the caption, or the text right after start-up
    int left, top, width, height;  // twips
    Fuente fuente;
    Alineacion alineacion;
};

// clang-format off
constexpr std::array<Control, 35> kControles{{
    {"lblTitulo",     Clase::Etiqueta,         "TAVOLEN",                2970,  150, 4380,  330, Fuente::Titulo,     Alineacion::Izquierda},
    {"Label1",        Clase::Etiqueta,         "VALOR 1",                1830,  765,  855,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label3",        Clase::Etiqueta,         "VALOR 2",                4830,  765,  855,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label7",        Clase::Etiqueta,         "DECIBELIOS",             7950,  810, 1200,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"lblTensiones",  Clase::Etiqueta,         "Tensiones",               225, 1185,  900,  255, Fuente::Ventana,    Alineacion::Izquierda},
    {"txtV1",         Clase::Campo,            "0,000",                  1260, 1080, 2000,  450, Fuente::Entrada,    Alineacion::Centro},
    {"txtV2",         Clase::Campo,            "0,0000",                 3502, 1080, 3500,  450, Fuente::Entrada,    Alineacion::Centro},
    {"lblDbv",        Clase::Resultado,        "0,0000",                 7245, 1125, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"Label6",        Clase::Etiqueta,         "VALOR 1",                1845, 1935,  855,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label5",        Clase::Etiqueta,         "VALOR 2",                4845, 1935,  855,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label4",        Clase::Etiqueta,         "DECIBELIOS",             7965, 1980, 1200,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"lblCorrientes", Clase::Etiqueta,         "Potencias",               225, 2340,  900,  255, Fuente::Ventana,    Alineacion::Izquierda},
    {"txtP1",         Clase::Campo,            "0,000",                  1260, 2235, 2000,  450, Fuente::Entrada,    Alineacion::Centro},
    {"txtP2",         Clase::Campo,            "0,0000",                 3502, 2235, 3500,  450, Fuente::Entrada,    Alineacion::Centro},
    {"lblDbp",        Clase::Resultado,        "0,0000",                 7245, 2280, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"Label10",       Clase::Etiqueta,         "VALOR",                  2385, 3060,  660,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label11",       Clase::Etiqueta,         "FACTOR (TENSIONES)",     4395, 3105, 2595,  255, Fuente::Encabezado, Alineacion::Centro},
    {"Label12",       Clase::Etiqueta,         "FACTOR (POTENCIAS)",     7215, 3105, 2670,  255, Fuente::Encabezado, Alineacion::Centro},
    {"lblDecibelios", Clase::Etiqueta,         "Decibelios",              180, 3480,  945,  255, Fuente::Ventana,    Alineacion::Izquierda},
    {"txtDb1",        Clase::Campo,            "0,0000",                 1260, 3375, 2910,  450, Fuente::Entrada,    Alineacion::Centro},
    {"txtFv",         Clase::CampoDeResultado, "0,0000",                 4392, 3420, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"txtFp",         Clase::CampoDeResultado, "0,0000",                 7245, 3420, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"Label19",       Clase::Etiqueta,         "VALOR",                  2385, 4185,  660,  255, Fuente::Encabezado, Alineacion::Izquierda},
    {"Label20",       Clase::Etiqueta,         "DECIBELIOS (TENSIONES)", 4380, 4230, 2640,  255, Fuente::Encabezado, Alineacion::Centro},
    {"Label21",       Clase::Etiqueta,         "DECIBELIOS (POTENCIAS)", 7230, 4230, 2640,  255, Fuente::Encabezado, Alineacion::Centro},
    {"Label17",       Clase::Etiqueta,         "Factor",                  495, 4605,  630,  255, Fuente::Ventana,    Alineacion::Izquierda},
    {"txtF1",         Clase::Campo,            "0,0000",                 1260, 4500, 2910,  450, Fuente::Entrada,    Alineacion::Centro},
    {"lblDbfv",       Clase::Resultado,        "0,0000",                 4395, 4545, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"lblDbfp",       Clase::Resultado,        "0,0000",                 7245, 4545, 2610,  375, Fuente::Resultado,  Alineacion::Centro},
    {"Picture1",      Clase::Cuadro,           "",                        135, 5085, 2685, 1920, Fuente::Ninguna,    Alineacion::Ninguna},
    {"cmdCalcular",   Clase::Boton,            " CALCULAR ",             2955, 5310, 4425, 1515, Fuente::Calcular,   Alineacion::Centro},
    {"Picture2",      Clase::Cuadro,           "",                       7515, 5085, 2685, 1920, Fuente::Ninguna,    Alineacion::Ninguna},
    {"imgLogo",       Clase::Imagen,           "",                       2910, 7155, 4500,  690, Fuente::Ninguna,    Alineacion::Ninguna},
    {"cmdReset",      Clase::Boton,            "RESET",                  8460, 7245, 1680,  570, Fuente::Reinicio,   Alineacion::Centro},
    {"Label2",        Clase::Etiqueta,         "Versión 1.0",              45, 7695, 1080,  255, Fuente::Ventana,    Alineacion::Izquierda},
}};
// clang-format on

struct DatosDeFuente {
    const char* cara;
    const char* gemela;  // its metric twin, which fontconfig gives where the face is missing
    double puntos;
    bool negrita;
    bool cursiva;
    bool subrayada;
};

DatosDeFuente DatosDe(Fuente fuente) {
    switch (fuente) {
        case Fuente::Ventana:
            return {"Arial", "Liberation Sans", 9.75, false, true, false};
        case Fuente::Encabezado:
            return {"Arial", "Liberation Sans", 9.75, true, false, false};
        case Fuente::Entrada:
            return {"Arial", "Liberation Sans", 14.25, true, false, false};
        case Fuente::Resultado:
            return {"Arial Narrow", "Liberation Sans Narrow", 14.25, true, false, false};
        case Fuente::Titulo:
            return {"Arial", "Liberation Sans", 14.25, true, true, true};
        case Fuente::Calcular:
            return {"Arial", "Liberation Sans", 24, true, true, false};
        case Fuente::Reinicio:
            return {"Arial", "Liberation Sans", 18, false, true, false};
        case Fuente::Ninguna:
            break;
    }
    return {};
}

const QColor kAmarillo(255, 255, 128);
const QColor kGris(224, 224, 224);
const QColor kAzul(0, 0, 255);
const QColor kAzulOscuro(0, 0, 192);
const QColor kNegro(0, 0, 0);
const QColor kPlata(192, 192, 192);

int Distancia(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// The colour of a control's ground: the commonest colour of its picture.
QColor ColorDeFondo(const QImage& imagen) {
    QHash<QRgb, int> cuenta;
    for (int y = 0; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width(); ++x) {
            ++cuenta[imagen.pixel(x, y)];
        }
    }
    QRgb comun = 0;
    int veces = -1;
    for (auto it = cuenta.cbegin(); it != cuenta.cend(); ++it) {
        if (it.value() > veces) {
            comun = it.key();
            veces = it.value();
        }
    }
    return QColor(comun);
}

// The colour of a control's text: of all pixels, the one farthest from the
// ground (the core of a stroke, where antialiasing leaves the pure colour).
QColor ColorDeTexto(const QImage& imagen, const QColor& fondo) {
    QColor lejano = fondo;
    for (int y = 0; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width(); ++x) {
            const QColor pixel(imagen.pixel(x, y));
            if (Distancia(pixel, fondo) > Distancia(lejano, fondo)) {
                lejano = pixel;
            }
        }
    }
    return lejano;
}

QByteArray LeerRecurso(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

// The start-of-frame marker tells how a JPEG is encoded: 0xC0 baseline,
// 0xC2 progressive.
std::optional<unsigned char> MarcaDeInicioDeCuadro(const QByteArray& jpeg) {
    for (qsizetype i = 2; i + 3 < jpeg.size();) {
        if (static_cast<unsigned char>(jpeg[i]) != 0xFF) {
            return std::nullopt;
        }
        const auto marca = static_cast<unsigned char>(jpeg[i + 1]);
        if (marca >= 0xC0 && marca <= 0xCF && marca != 0xC4 && marca != 0xC8 && marca != 0xCC) {
            return marca;
        }
        const int largo = (static_cast<unsigned char>(jpeg[i + 2]) << 8) |
                          static_cast<unsigned char>(jpeg[i + 3]);
        i += 2 + largo;
    }
    return std::nullopt;
}

}  // namespace

class LayoutTest : public PruebaConVentana {
    Q_OBJECT

  private slots:

    void theWindowIsFixedTitledCentredAndHasOnlyACloseButton();
    void everyControlStandsWhereTheTableSaysWithItsText_data();
    void everyControlStandsWhereTheTableSaysWithItsText();
    void everyControlUsesTheFaceSizeWeightAndStyleOfItsFont_data();
    void everyControlUsesTheFaceSizeWeightAndStyleOfItsFont();
    void everyControlIsDrawnInItsColours_data();
    void everyControlIsDrawnInItsColours();
    void textsAreAlignedAsTheTableSays_data();
    void textsAreAlignedAsTheTableSays();
    void noTwoControlsOverlap();
    void theThreeLinesAreDrawnAcrossTheWindowBetweenTheRows_data();
    void theThreeLinesAreDrawnAcrossTheWindowBetweenTheRows();
    void thePicturesAreShownWholeAtTheirOwnSize_data();
    void thePicturesAreShownWholeAtTheirOwnSize();
    void theEmblemsAreMirrorImagesOnTheWindowsYellow();
    void entryFieldsAreEditableAndUnlimitedResultBoxesReadOnly();
    void tabWalksTheEightStopsAndComesBack();
    void backtabWalksTheChainTheOtherWay();
    void aKeystrokeInAResultBoxLeavesItsText_data();
    void aKeystrokeInAResultBoxLeavesItsText();

  private:
};

void LayoutTest::theWindowIsFixedTitledCentredAndHasOnlyACloseButton() {
    frmPrincipal& ventana = abierta_->ventana();
    QCOMPARE(ventana.windowTitle(), QString("Tavolen"));
    QCOMPARE(ventana.size(), QSize(689, 533));  // 10335 x 7995 twips
    QCOMPARE(ventana.minimumSize(), QSize(689, 533));
    QCOMPARE(ventana.maximumSize(), QSize(689, 533));

    const Qt::WindowFlags banderas = ventana.windowFlags();
    QVERIFY(banderas.testFlag(Qt::Window));
    QVERIFY(banderas.testFlag(Qt::WindowTitleHint));
    QVERIFY(banderas.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!banderas.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!banderas.testFlag(Qt::WindowMaximizeButtonHint));

    QVERIFY(!ventana.windowIcon().isNull());
    // The sizes of a title bar and a task switcher, which the window manager
    // gets; every one of them is decoded when the window is first shown.
    const QList<QSize> tamanos{QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    QCOMPARE(ventana.windowIcon().availableSizes(), tamanos);

    const QPoint centro = ventana.screen()->availableGeometry().center();
    QVERIFY2((ventana.frameGeometry().center() - centro).manhattanLength() <= 2,
             qPrintable(QString("frame centre (%1, %2), screen centre (%3, %4)")
                            .arg(ventana.frameGeometry().center().x())
                            .arg(ventana.frameGeometry().center().y())
                            .arg(centro.x())
                            .arg(centro.y())));

    const QImage imagen = ventana.grab().toImage();
    QCOMPARE(QColor(imagen.pixel(680, 10)), kAmarillo);  // a corner free of controls
}

void LayoutTest::everyControlStandsWhereTheTableSaysWithItsText_data() {
    QTest::addColumn<QString>("clase");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QRect>("lugar");
    for (const Control& c : kControles) {
        const char* clase = "";
        switch (c.clase) {
            case Clase::Etiqueta:
            case Clase::Resultado:
            case Clase::Cuadro:
            case Clase::Imagen:
                clase = "QLabel";
                break;
            case Clase::Campo:
            case Clase::CampoDeResultado:
                clase = "QLineEdit";
                break;
            case Clase::Boton:
                clase = "QPushButton";
                break;
        }
        QTest::newRow(c.nombre) << QString(clase) << QString::fromUtf8(c.texto)
                                << QRect(Pixeles(c.left), Pixeles(c.top), Pixeles(c.width),
                                         Pixeles(c.height));
    }
}

void LayoutTest::everyControlStandsWhereTheTableSaysWithItsText() {
    QFETCH(QString, clase);
    QFETCH(QString, texto);
    QFETCH(QRect, lugar);
    QWidget& control = abierta_->control(QTest::currentDataTag());
    QVERIFY2(control.inherits(qPrintable(clase)), control.metaObject()->className());
    QCOMPARE(control.parentWidget(), &abierta_->ventana());
    QVERIFY(control.isVisible());
    QVERIFY(control.isEnabled());

    const QRect real = control.geometry();
    const auto cerca = [](int a, int b) { return std::abs(a - b) <= 1; };
    QVERIFY2(cerca(real.x(), lugar.x()) && cerca(real.y(), lugar.y()) &&
                 cerca(real.width(), lugar.width()) && cerca(real.height(), lugar.height()),
             qPrintable(QString("at %1,%2 %3x%4, expected %5,%6 %7x%8")
                            .arg(real.x())
                            .arg(real.y())
                            .arg(real.width())
                            .arg(real.height())
                            .arg(lugar.x())
                            .arg(lugar.y())
                            .arg(lugar.width())
                            .arg(lugar.height())));
    if (!texto.isEmpty()) {
        QCOMPARE(abierta_->texto(QTest::currentDataTag()), texto);
    }
}

void LayoutTest::everyControlUsesTheFaceSizeWeightAndStyleOfItsFont_data() {
    QTest::addColumn<int>("fuente");
    for (const Control& c : kControles) {
        if (c.fuente != Fuente::Ninguna) {
            QTest::newRow(c.nombre) << static_cast<int>(c.fuente);
        }
    }
    QTest::newRow("frmPrincipal") << static_cast<int>(Fuente::Ventana);
}

void LayoutTest::everyControlUsesTheFaceSizeWeightAndStyleOfItsFont() {
    QFETCH(int, fuente);
    const DatosDeFuente esperada = DatosDe(static_cast<Fuente>(fuente));
    const QString nombre = QTest::currentDataTag();
    QWidget& control = nombre == "frmPrincipal" ? abierta_->ventana() : abierta_->control(nombre);

    const QFont real = control.font();
    QCOMPARE(real.family(), QString(esperada.cara));
    QCOMPARE(real.pointSizeF(), esperada.puntos);
    QCOMPARE(real.bold(), esperada.negrita);
    QCOMPARE(real.italic(), esperada.cursiva);
    QCOMPARE(real.underline(), esperada.subrayada);
    QCOMPARE(real.strikeOut(), false);

    // What is drawn: the face itself or its twin, at 96 dots per inch.
    const QFontInfo dibujada(real);
    QVERIFY2(dibujada.family() == esperada.cara || dibujada.family() == esperada.gemela,
             qPrintable(dibujada.family()));
    QCOMPARE(dibujada.bold(), esperada.negrita);
    QCOMPARE(dibujada.italic(), esperada.cursiva);
    QCOMPARE(dibujada.pixelSize(), static_cast<int>(std::lround(esperada.puntos * 96 / 72)));
}

void LayoutTest::everyControlIsDrawnInItsColours_data() {
    QTest::addColumn<QColor>("fondo");
    QTest::addColumn<QColor>("letra");  // invalid where the control shows no text
    const QColor letraDeEtiqueta = QApplication::palette().color(QPalette::WindowText);
    const QColor fondoDeCampo = QApplication::palette().color(QPalette::Base);
    for (const Control& c : kControles) {
        switch (c.clase) {
            case Clase::Etiqueta:
                QTest::newRow(c.nombre)
                    << kAmarillo
                    << (QString(c.nombre) == "lblTitulo" ? kAzulOscuro : letraDeEtiqueta);
                break;
            case Clase::Resultado:
            case Clase::CampoDeResultado:
                QTest::newRow(c.nombre) << kGris << kAzul;
                break;
            case Clase::Campo:
                QTest::newRow(c.nombre) << fondoDeCampo << kNegro;
                break;
            case Clase::Cuadro:
                QTest::newRow(c.nombre) << kAmarillo << QColor();
                break;
            case Clase::Boton:
            case Clase::Imagen:
                break;  // drawn by the style, and a picture
        }
    }
}

void LayoutTest::everyControlIsDrawnInItsColours() {
    QFETCH(QColor, fondo);
    QFETCH(QColor, letra);
    QWidget& control = abierta_->control(QTest::currentDataTag());
    const QImage imagen = abierta_->ventana().grab(control.geometry()).toImage();

    // Pictures are JPEGs: their yellow is only near the window's.
    const int tolerancia = letra.isValid() ? 0 : 12;
    const QColor fondoReal = ColorDeFondo(imagen);
    QVERIFY2(Distancia(fondoReal, fondo) <= tolerancia, qPrintable(fondoReal.name()));
    if (letra.isValid()) {
        const QColor letraReal = ColorDeTexto(imagen, fondoReal);
        QVERIFY2(Distancia(letraReal, letra) <= 60,
                 qPrintable(QString("text %1, expected %2").arg(letraReal.name(), letra.name())));
    }
}

void LayoutTest::textsAreAlignedAsTheTableSays_data() {
    QTest::addColumn<int>("horizontal");
    for (const Control& c : kControles) {
        if (c.alineacion != Alineacion::Ninguna && c.clase != Clase::Boton) {
            QTest::newRow(c.nombre) << static_cast<int>(
                c.alineacion == Alineacion::Izquierda ? Qt::AlignLeft : Qt::AlignHCenter);
        }
    }
}

void LayoutTest::textsAreAlignedAsTheTableSays() {
    QFETCH(int, horizontal);
    QWidget& control = abierta_->control(QTest::currentDataTag());
    Qt::Alignment alineacion;
    if (auto* campo = qobject_cast<QLineEdit*>(&control)) {
        alineacion = campo->alignment();
    } else {
        alineacion = qobject_cast<QLabel*>(&control)->alignment();
    }
    QCOMPARE(static_cast<int>(alineacion & Qt::AlignHorizontal_Mask), horizontal);
}

void LayoutTest::noTwoControlsOverlap() {
    const QList<QWidget*> hijos =
        abierta_->ventana().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(hijos.size(), 38);  // 35 controls and 3 lines
    for (qsizetype i = 0; i < hijos.size(); ++i) {
        for (qsizetype j = i + 1; j < hijos.size(); ++j) {
            QVERIFY2(!hijos[i]->geometry().intersects(hijos[j]->geometry()),
                     qPrintable(hijos[i]->objectName() + " overlaps " + hijos[j]->objectName()));
        }
    }
}

void LayoutTest::theThreeLinesAreDrawnAcrossTheWindowBetweenTheRows_data() {
    QTest::addColumn<int>("y");  // twips; every line runs from x = 75 to x = 10215
    QTest::newRow("Line3") << 1755;
    QTest::newRow("Line1") << 2925;
    QTest::newRow("Line2") << 4050;
}

void LayoutTest::theThreeLinesAreDrawnAcrossTheWindowBetweenTheRows() {
    QFETCH(int, y);
    auto* linea = qobject_cast<QFrame*>(&abierta_->control(QTest::currentDataTag()));
    QVERIFY(linea != nullptr);
    QCOMPARE(linea->focusPolicy(), Qt::NoFocus);
    const QRect lugar = linea->geometry();
    QCOMPARE(lugar.left(), Pixeles(75));
    QCOMPARE(lugar.right() + 1, Pixeles(10215));
    QCOMPARE(lugar.height(), 2);
    QVERIFY(std::abs(lugar.center().y() - Pixeles(y)) <= 1);

    // Two pixels of the line's colour across the whole length, yellow around.
    const QImage imagen = abierta_->ventana().grab().toImage();
    const QColor color = QApplication::palette().color(QPalette::WindowText);
    for (int x : {lugar.left(), lugar.center().x(), lugar.right()}) {
        QCOMPARE(QColor(imagen.pixel(x, lugar.top())), color);
        QCOMPARE(QColor(imagen.pixel(x, lugar.bottom())), color);
        QCOMPARE(QColor(imagen.pixel(x, lugar.top() - 1)), kAmarillo);
        QCOMPARE(QColor(imagen.pixel(x, lugar.bottom() + 1)), kAmarillo);
    }
}

void LayoutTest::thePicturesAreShownWholeAtTheirOwnSize_data() {
    QTest::addColumn<QString>("recurso");
    QTest::addColumn<QSize>("tamano");
    QTest::addColumn<int>("codificacion");  // the JPEG start-of-frame marker
    QTest::newRow("Picture1") << ":/ventana/emblema_izquierdo.jpg" << QSize(179, 128) << 0xC0;
    QTest::newRow("Picture2") << ":/ventana/emblema_derecho.jpg" << QSize(179, 128) << 0xC0;
    QTest::newRow("imgLogo") << ":/ventana/logo.jpg" << QSize(300, 46) << 0xC2;
}

void LayoutTest::thePicturesAreShownWholeAtTheirOwnSize() {
    QFETCH(QString, recurso);
    QFETCH(QSize, tamano);
    QFETCH(int, codificacion);

    const QByteArray jpeg = LeerRecurso(recurso);
    QVERIFY2(!jpeg.isEmpty(), qPrintable(recurso));
    const std::optional<unsigned char> marca = MarcaDeInicioDeCuadro(jpeg);
    QVERIFY(marca.has_value());
    QCOMPARE(static_cast<int>(*marca), codificacion);

    QLabel& cuadro = abierta_->etiqueta(QTest::currentDataTag());
    QCOMPARE(cuadro.size(), tamano);
    QCOMPARE(cuadro.pixmap().size(), tamano);
    QVERIFY(!cuadro.hasScaledContents());
    QCOMPARE(cuadro.frameShape(), QFrame::NoFrame);
    QCOMPARE(cuadro.focusPolicy(), Qt::NoFocus);

    // What the window shows is the picture itself, pixel for pixel.
    const QImage mostrada =
        abierta_->ventana().grab(cuadro.geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage original = QImage::fromData(jpeg).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(mostrada, original);
}

void LayoutTest::theEmblemsAreMirrorImagesOnTheWindowsYellow() {
    const QImage izquierdo =
        abierta_->etiqueta("Picture1").pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage derecho =
        abierta_->etiqueta("Picture2").pixmap().toImage().convertToFormat(QImage::Format_RGB32);
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)  // which renamed mirrored
    const QImage reflejado = derecho.flipped(Qt::Horizontal);
#else
    const QImage reflejado = derecho.mirrored(true, false);
#endif
    // Each is encoded on its own, so they agree only to within JPEG's losses.
    qint64 diferencia = 0;
    for (int y = 0; y < izquierdo.height(); ++y) {
        for (int x = 0; x < izquierdo.width(); ++x) {
            diferencia += Distancia(QColor(izquierdo.pixel(x, y)), QColor(reflejado.pixel(x, y)));
        }
    }
    const double media = static_cast<double>(diferencia) / (izquierdo.width() * izquierdo.height());
    QVERIFY2(media < 4.0, qPrintable(QString::number(media)));
    // ... and they are not one symmetric picture: the mirror matters.
    qint64 sinReflejar = 0;
    for (int y = 0; y < izquierdo.height(); ++y) {
        for (int x = 0; x < izquierdo.width(); ++x) {
            sinReflejar += Distancia(QColor(izquierdo.pixel(x, y)), QColor(derecho.pixel(x, y)));
        }
    }
    QVERIFY(sinReflejar > 10 * diferencia);
    QVERIFY(Distancia(QColor(derecho.pixel(2, 2)), kAmarillo) <= 12);
}

void LayoutTest::entryFieldsAreEditableAndUnlimitedResultBoxesReadOnly() {
    for (const char* nombre : {"txtV1", "txtV2", "txtP1", "txtP2", "txtDb1", "txtF1"}) {
        QLineEdit& campo = abierta_->campo(nombre);
        QVERIFY2(!campo.isReadOnly(), nombre);
        QCOMPARE(campo.focusPolicy(), Qt::StrongFocus);
        QCOMPARE(campo.echoMode(), QLineEdit::Normal);
        QCOMPARE(campo.inputMask(), QString());
        QCOMPARE(campo.maxLength(), 32767);  // QLineEdit's own, which is no limit
        QVERIFY(campo.hasFrame());
    }
    for (const char* nombre : {"txtFv", "txtFp"}) {
        QLineEdit& caja = abierta_->campo(nombre);
        QVERIFY2(caja.isReadOnly(), nombre);
        QCOMPARE(caja.focusPolicy(), Qt::ClickFocus);
        QVERIFY(!caja.hasFrame());
    }
    for (const Control& c : kControles) {
        if (c.clase == Clase::Etiqueta || c.clase == Clase::Resultado) {
            QCOMPARE(abierta_->control(c.nombre).focusPolicy(), Qt::NoFocus);
        }
    }
    QCOMPARE(abierta_->boton("cmdCalcular").focusPolicy(), Qt::StrongFocus);
    QCOMPARE(abierta_->boton("cmdReset").focusPolicy(), Qt::StrongFocus);
}

void LayoutTest::tabWalksTheEightStopsAndComesBack() {
    QCOMPARE(abierta_->enfocado(), QString("txtV1"));
    QStringList recorrido;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        recorrido << abierta_->enfocado();
    }
    QCOMPARE(recorrido, (QStringList{"txtV2", "txtP1", "txtP2", "txtDb1", "txtF1", "cmdCalcular",
                                     "cmdReset", "txtV1"}));
}

void LayoutTest::backtabWalksTheChainTheOtherWay() {
    QStringList recorrido;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        recorrido << abierta_->enfocado();
    }
    QCOMPARE(recorrido, (QStringList{"cmdReset", "cmdCalcular", "txtF1", "txtDb1", "txtP2", "txtP1",
                                     "txtV2", "txtV1"}));
}

void LayoutTest::aKeystrokeInAResultBoxLeavesItsText_data() {
    QTest::addColumn<QString>("caja");
    QTest::newRow("txtFv") << "txtFv";
    QTest::newRow("txtFp") << "txtFp";
}

void LayoutTest::aKeystrokeInAResultBoxLeavesItsText() {
    QFETCH(QString, caja);
    abierta_->clic(caja);
    QCOMPARE(abierta_->enfocado(), caja);  // a click gives it the focus...
    QTest::keyClicks(QApplication::focusWidget(), "12,5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(abierta_->texto(caja), QString("0,0000"));  // ... but no keystroke a change
}

}  // namespace tavolen

QTEST_MAIN(tavolen::LayoutTest)
#include "layout_test.moc"
