#include "window/apariencia.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "window/result_displays.h"

namespace tavolen {

namespace {

struct Letra {
    std::string_view cara;
    double puntos;
    bool negrita;
    bool cursiva;
    bool subrayada;
    std::initializer_list<std::string_view> controles;
};

// Every font names its weight, slant and underline: a child's font inherits
// whatever it leaves unset from the window's italic font.
const std::array<Letra, 7> kLetras{{
    {"Arial", 9.75, false, true, false,  // the window font, and the labels that name no other
     {"frmPrincipal", "lblTensiones", "lblCorrientes", "lblDecibelios", "Label17", "Label2"}},
    {"Arial", 9.75, true, false, false,  // column headings
     {"Label1", "Label3", "Label7", "Label6", "Label5", "Label4", "Label10", "Label11", "Label12",
      "Label19", "Label20", "Label21"}},
    {"Arial", 14.25, true, false, false,  // entry fields
     {"txtV1", "txtV2", "txtP1", "txtP2", "txtDb1", "txtF1"}},
    {"Arial Narrow", 14.25, true, false, false,  // result displays
     {"lblDbv", "lblDbp", "txtFv", "txtFp", "lblDbfv", "lblDbfp"}},
    {"Arial", 14.25, true, true, true, {"lblTitulo"}},
    {"Arial", 24, true, true, false, {"cmdCalcular"}},
    {"Arial", 18, false, true, false, {"cmdReset"}},
}};

// The six result displays look alike, the two text boxes among them included:
// blue on grey.
const QColor kGris(224, 224, 224);
const QColor kAzul(0, 0, 255);

// The classic light palette that the window's yellow, grey, blue and silver were
// chosen against: Qt's own default. A platform theme (GTK's, KDE's) replaces
// the application's palette with the desktop's, and under a dark one the
// labels would turn white on the yellow and the entry fields dark. Every role
// is given, so nothing of the desktop's palette reaches the window; the
// inactive group is the active one, as in Qt's default.
struct ColorDeRol {
    QPalette::ColorRole rol;
    QRgb activo;
    QRgb inhabilitado;
};

constexpr std::array<ColorDeRol, 20> kPaletaClasica{{
    {QPalette::WindowText, 0xff000000, 0xffbebebe},
    {QPalette::Button, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xffbebebe},
    {QPalette::BrightText, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xffbebebe},
    {QPalette::Base, 0xffffffff, 0xffefefef},
    {QPalette::Window, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
}};

QPalette PaletaClasica() {
    QPalette paleta;
    for (const ColorDeRol& color : kPaletaClasica) {
        const QColor activo = QColor::fromRgba(color.activo);
        paleta.setColor(QPalette::Active, color.rol, activo);
        paleta.setColor(QPalette::Inactive, color.rol, activo);
        paleta.setColor(QPalette::Disabled, color.rol, QColor::fromRgba(color.inhabilitado));
    }
    return paleta;
}

// Controls whose ground the window leaves to the toolkit: their frames are drawn
// from the classic palette's window colour, not from the window's yellow.
constexpr std::array<std::string_view, 8> kMarcosDelSistema{
    "txtV1", "txtV2", "txtP1", "txtP2", "txtDb1", "txtF1", "cmdCalcular", "cmdReset"};

QWidget* Control(QWidget& ventana, std::string_view nombre) {
    const QString objeto = QString::fromLatin1(nombre.data(), static_cast<qsizetype>(nombre.size()));
    return ventana.objectName() == objeto ? &ventana : ventana.findChild<QWidget*>(objeto);
}

template <class Lista, class Cambio>
void ParaCada(QWidget& ventana, const Lista& nombres, Cambio cambio) {
    for (std::string_view nombre : nombres) {
        if (QWidget* control = Control(ventana, nombre)) {
            cambio(*control);
        }
    }
}

}  // namespace

void AplicarApariencia(QWidget& ventana) {
    // The colours the form gives (the yellow, the title's dark blue...) stand;
    // every other role comes from the classic palette, and the controls inherit it.
    const QPalette clasica = PaletaClasica();
    ventana.setPalette(ventana.palette().resolve(clasica));
    for (const Letra& letra : kLetras) {
        QFont fuente(QString::fromLatin1(letra.cara.data(), static_cast<qsizetype>(letra.cara.size())));
        fuente.setPointSizeF(letra.puntos);
        fuente.setBold(letra.negrita);
        fuente.setItalic(letra.cursiva);
        fuente.setUnderline(letra.subrayada);
        fuente.setStrikeOut(false);
        ParaCada(ventana, letra.controles, [&](QWidget& control) { control.setFont(fuente); });
    }
    ParaCada(ventana, kResultados, [](QWidget& control) {
        QPalette paleta = control.palette();
        paleta.setColor(QPalette::Window, kGris);
        paleta.setColor(QPalette::Base, kGris);
        paleta.setColor(QPalette::WindowText, kAzul);
        paleta.setColor(QPalette::Text, kAzul);
        control.setPalette(paleta);
        control.setAutoFillBackground(true);
    });
    ParaCada(ventana, kMarcosDelSistema, [&](QWidget& control) {
        QPalette paleta = control.palette();
        paleta.setColor(QPalette::Window, clasica.color(QPalette::Window));
        control.setPalette(paleta);
    });
}

}  // namespace tavolen
