#include "window/apariencia.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QString>
#include <QWidget>

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
constexpr std::array<std::string_view, 6> kResultados{"lblDbv", "lblDbp",  "txtFv",
                                                       "txtFp",  "lblDbfv", "lblDbfp"};
const QColor kGris(224, 224, 224);
const QColor kAzul(0, 0, 255);

// Controls whose ground the window leaves to the toolkit: their frames are drawn
// from the toolkit's own window colour, not from the window's yellow.
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
    const QColor ventanaDelSistema = QGuiApplication::palette().color(QPalette::Window);
    ParaCada(ventana, kMarcosDelSistema, [&](QWidget& control) {
        QPalette paleta = control.palette();
        paleta.setColor(QPalette::Window, ventanaDelSistema);
        control.setPalette(paleta);
    });
}

}  // namespace tavolen
