#include "window/frm_principal.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QString>
#include <QTranslator>

#include "engine/decibel_computation.h"
#include "engine/result_texts.h"
#include "fields/field_table.h"
#include "ui_frm_principal.h"
#include "window/accesibilidad.h"
#include "window/activation.h"
#include "window/apariencia.h"
#include "window/desktop_services.h"
#include "window/icono_de_ventana.h"
#include "window/result_copy.h"

// The pictures are compiled into this static library, whose resource object
// the linker would leave out of an executable that names none of its symbols;
// registering them here brings them into every program that builds the window.
// Q_INIT_RESOURCE cannot stand inside a namespace.
static void RegistrarRecursosDeVentana() {
    Q_INIT_RESOURCE(ventana);
}

namespace tavolen {

namespace {

QString Texto(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The toolkit's own texts (the entry fields' context menu, the message box's
// button) in Spanish, as the rest of the window, whatever the system's language:
// Qt's Spanish catalogue, from Debian's qt6-translations-l10n. The application
// owns the translator. Without the catalogue they stay in English.
void CargarTextosDeQtEnEspanol() {
    auto* traductor = new QTranslator(QCoreApplication::instance());
    if (traductor->load(QStringLiteral("qtbase_es"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(traductor);
    } else {
        delete traductor;
    }
}

}  // namespace

// A window of its own even with a parent; a close button and nothing else,
// since a fixed-size window has nothing to maximise. The flags go to the base
// constructor: set after the form, they would make Qt polish every control again.
frmPrincipal::frmPrincipal(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(new Ui::frmPrincipal) {
    // What the controls need before they exist: their pictures and icon, the
    // accessible interfaces that let a screen reader hear the results, and the
    // toolkit's texts in Spanish. The window sets these up itself rather than
    // main(): the toolkit's texts are part of what the window shows, and so
    // every program that builds it, each test included, shows what the user sees.
    static const bool preparada = [] {
        RegistrarRecursosDeVentana();
        InstalarAccesibilidad();
        CargarTextosDeQtEnEspanol();
        return true;
    }();
    (void)preparada;
    ui_->setupUi(this);
    AplicarApariencia(*this);
    CargarImagenes();
    PrepararCopiaDeResultados(*this);

    connect(ui_->cmdCalcular, &QPushButton::clicked, this, &frmPrincipal::cmdCalcular_Click);
    connect(ui_->cmdReset, &QPushButton::clicked, this, &frmPrincipal::cmdReset_Click);
    connect(ui_->imgLogo, &ImagenPulsable::clicked, this, &frmPrincipal::imgLogo_Click);
    ConectarCampos();

    Form_Load();

    // The first control in the tab order takes the focus when the window opens,
    // with its text selected so that typing replaces it.
    ui_->txtV1->setFocus(Qt::OtherFocusReason);
    ui_->txtV1->selectAll();
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    if (!centrada_ && !evento->spontaneous()) {
        centrada_ = true;
        CentrarEnPantalla();
        ActivarConLaEntrada(*this);
    }
}

// The form names each picture in its "imagen" property. Loaded through QIcon, a
// picture comes from its @2x variant on a high-density screen, where a plain
// QPixmap would be stretched from the 1x file.
//
// The window icon has a picture of its own for every size a title bar or a task
// switcher asks for, at scale 1 and 2, and decodes each only when asked.
void frmPrincipal::CargarImagenes() {
    for (QLabel* control : findChildren<QLabel*>()) {
        const QString imagen = control->property("imagen").toString();
        if (!imagen.isEmpty()) {
            control->setPixmap(QIcon(imagen).pixmap(control->size()));
        }
    }
    setWindowIcon(IconoDeVentana());
}

void frmPrincipal::CentrarEnPantalla() {
    const QScreen* pantalla = screen();
    if (pantalla == nullptr) {
        return;
    }
    // The frame (title bar and border) is centred, not only the client area.
    QRect marco = frameGeometry();
    marco.moveCenter(pantalla->availableGeometry().center());
    move(marco.topLeft());
}

void frmPrincipal::Form_Load() {
    LimpiarTodo();
}

// Every entry field gets the text of zero under its own display pattern (three
// decimals for the first value of a ratio, four everywhere else), as the field
// table gives it, and every number of the state becomes 0.
void frmPrincipal::LimpiarTodo() {
    for (const CampoDeEntrada& campo : kCamposDeEntrada) {
        findChild<QLineEdit*>(Texto(campo.control))->setText(Texto(campo.textoCero));
    }
    Limpiar();
    for (const CampoDeEntrada& campo : kCamposDeEntrada) {
        estado_.*campo.variable = 0;
    }
}

// Clears the six result displays and the six results; the inputs stay.
void frmPrincipal::Limpiar() {
    const std::string cero(kTextoCero);
    EscribirResultados({cero, cero, cero, cero, cero, cero});
    estado_.Dbv = 0;
    estado_.Dbp = 0;
    estado_.Fv = 0;
    estado_.Fp = 0;
    estado_.Dbfv = 0;
    estado_.Dbfp = 0;
}

// Shows the results and has a screen reader speak them, each named.
void frmPrincipal::MostrarResultados() {
    const TextosResultados textos = TextosDeResultados(estado_);
    EscribirResultados(textos);
    Anunciar(*this, Texto(FraseDeResultados(textos)));
}

// Each of the six result displays is written once, in this order, and each
// write is announced to assistive technology.
void frmPrincipal::EscribirResultados(const TextosResultados& textos) {
    const auto escribir = [](auto* control, std::string_view texto) {
        const QString anterior = control->text();
        control->setText(Texto(texto));
        AnunciarTexto(*control, anterior);
    };
    escribir(ui_->lblDbv, textos.lblDbv);
    escribir(ui_->lblDbp, textos.lblDbp);
    escribir(ui_->txtFv, textos.txtFv);
    escribir(ui_->txtFp, textos.txtFp);
    escribir(ui_->lblDbfv, textos.lblDbfv);
    escribir(ui_->lblDbfp, textos.lblDbfp);
}

// A click on the button has already moved the focus to it, so the field that
// held the focus has committed its text before this runs.
void frmPrincipal::cmdCalcular_Click() {
    Limpiar();
    CalcularResultados(estado_);
    MostrarResultados();
}

// The clearing is spoken after the focus has moved: a screen reader would
// otherwise cut it short with the field that takes the focus.
void frmPrincipal::cmdReset_Click() {
    LimpiarTodo();
    ui_->txtV1->setFocus(Qt::OtherFocusReason);
    Anunciar(*this, Texto(kFraseTodoACero));
}

void frmPrincipal::imgLogo_Click() {
    AbrirDireccion(kDireccionDelLogo);
}

}  // namespace tavolen
