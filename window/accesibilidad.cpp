#include "window/accesibilidad.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QtGlobal>

#include "window/imagen_pulsable.h"

namespace tavolen {

namespace {

// A label that keeps Qt's name, description and role, and adds its text as
// the value and as a read-only text: the value is what Windows and macOS
// read, the text interface what screen readers on Linux (AT-SPI) read.
class EtiquetaConValor : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit EtiquetaConValor(QLabel* etiqueta)
        : QAccessibleWidget(etiqueta, QAccessible::StaticText) {}

    QString text(QAccessible::Text tipo) const override {
        if (tipo == QAccessible::Value) {
            return texto();
        }
        return QAccessibleWidget::text(tipo);
    }

    void* interface_cast(QAccessible::InterfaceType tipo) override {
        if (tipo == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(tipo);
    }

    // The text, whole or in part; there is no caret and no selection.
    QString text(int desde, int hasta) const override { return texto().mid(desde, hasta - desde); }
    int characterCount() const override { return static_cast<int>(texto().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* desde, int* hasta) const override { *desde = *hasta = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    // Where each character is drawn is not known outside the label's painting.
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int posicion, int* desde, int* hasta) const override {
        *desde = *hasta = posicion;
        return {};
    }

  private:
    QString texto() const { return static_cast<const QLabel*>(widget())->text(); }
};

// The banner: a link to its page, which assistive technology can follow with
// the press action just as a click does.
class EnlaceDeImagen : public QAccessibleWidget {
  public:
    explicit EnlaceDeImagen(ImagenPulsable* imagen) : QAccessibleWidget(imagen, QAccessible::Link) {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& accion) override {
        if (accion == pressAction()) {
            emit static_cast<ImagenPulsable*>(widget())->clicked();
        }
    }
};

// A plain frame drawn as a line is a separator; labels and other frames are
// kinds of QFrame too and keep their own interfaces.
bool EsLinea(QObject* objeto) {
    auto* marco = qobject_cast<QFrame*>(objeto);
    return marco != nullptr && marco->metaObject() == &QFrame::staticMetaObject &&
           (marco->frameShape() == QFrame::HLine || marco->frameShape() == QFrame::VLine);
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// The notification that Anunciar shows; the window has no other child by this name.
constexpr char kNombreDelAviso[] = "avisoParaLectorDePantalla";

bool EsAviso(QObject* objeto) {
    return objeto->isWidgetType() && objeto->objectName() == QLatin1String(kNombreDelAviso);
}
#endif

// Labels without an accessible name are left to Qt, which already reads their
// text as their name: the headings "VALOR 1", "DECIBELIOS"...
QAccessibleInterface* InterfazDeControl(const QString& /*clase*/, QObject* objeto) {
    if (auto* imagen = qobject_cast<ImagenPulsable*>(objeto)) {
        return new EnlaceDeImagen(imagen);
    }
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    if (EsAviso(objeto)) {
        return new QAccessibleWidget(static_cast<QWidget*>(objeto), QAccessible::Notification);
    }
#endif
    // Qt gives a top-level QWidget the role of a plain client area ("filler"),
    // where a screen reader expects the application's window to be a frame.
    if (objeto->inherits("tavolen::frmPrincipal")) {
        return new QAccessibleWidget(static_cast<QWidget*>(objeto), QAccessible::Window);
    }
    if (EsLinea(objeto)) {
        return new QAccessibleWidget(static_cast<QWidget*>(objeto), QAccessible::Separator);
    }
    auto* etiqueta = qobject_cast<QLabel*>(objeto);
    if (etiqueta == nullptr || etiqueta->accessibleName().isEmpty()) {
        return nullptr;
    }
    return new EtiquetaConValor(etiqueta);
}

}  // namespace

void InstalarAccesibilidad() {
    QAccessible::installFactory(InterfazDeControl);
}

void AnunciarTexto(QLabel& resultado, const QString& anterior) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTextUpdateEvent cambio(&resultado, 0, anterior, resultado.text());
    QAccessible::updateAccessibility(&cambio);
    QAccessibleValueChangeEvent valor(&resultado, resultado.text());
    QAccessible::updateAccessibility(&valor);
}

// A text box already reports every write of its text as a text update.
void AnunciarTexto(QLineEdit& resultado, const QString& /*anterior*/) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleValueChangeEvent valor(&resultado, resultado.text());
    QAccessible::updateAccessibility(&valor);
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
void Anunciar(QWidget& ventana, const QString& frase) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleAnnouncementEvent anuncio(&ventana, frase);
    QAccessible::updateAccessibility(&anuncio);
}
#else
void Anunciar(QWidget& ventana, const QString& frase) {
    delete ventana.findChild<QWidget*>(QLatin1String(kNombreDelAviso), Qt::FindDirectChildrenOnly);
    auto* aviso = new QWidget(&ventana);
    aviso->setObjectName(QLatin1String(kNombreDelAviso));
    aviso->setAccessibleName(frase);
    aviso->setAttribute(Qt::WA_TransparentForMouseEvents);
    aviso->setGeometry(0, 0, 0, 0);  // showing, and not a pixel drawn
    aviso->show();                   // Qt tells AT-SPI: showing
}
#endif

}  // namespace tavolen
