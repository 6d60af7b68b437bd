#include "window/result_copy.h"

#include <array>
#include <string>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include "engine/result_texts.h"
#include "window/result_displays.h"

namespace tavolen {

namespace {

// What the display shows, or the part of it selected with the mouse.
QString TextoMostrado(const QWidget& resultado, bool soloLoSeleccionado) {
    if (const auto* etiqueta = qobject_cast<const QLabel*>(&resultado)) {
        return soloLoSeleccionado ? etiqueta->selectedText() : etiqueta->text();
    }
    const auto& caja = static_cast<const QLineEdit&>(resultado);
    return soloLoSeleccionado ? caja.selectedText() : caja.text();
}

void AlPortapapeles(const QString& texto) {
    QGuiApplication::clipboard()->setText(texto, QClipboard::Clipboard);
}

// Owned by the window: the copy-all action and the displays' menus.
class CopiaDeResultados final : public QObject {
  public:
    explicit CopiaDeResultados(QWidget& ventana) : QObject(&ventana) {
        copiarTodos_ = new QAction(QStringLiteral("Copiar &todos los resultados"), this);
        copiarTodos_->setObjectName(QStringLiteral("copiarTodosLosResultados"));
        copiarTodos_->setShortcut(AtajoCopiarResultados());
        copiarTodos_->setShortcutContext(Qt::WindowShortcut);
        // Shown beside the entry even where the desktop hides keys in context
        // menus: the menu is where the key is found.
        copiarTodos_->setShortcutVisibleInContextMenu(true);
        ventana.addAction(copiarTodos_);
        connect(copiarTodos_, &QAction::triggered, this, &CopiaDeResultados::CopiarTodos);

        for (std::size_t i = 0; i < kResultados.size(); ++i) {
            const std::string_view nombre = kResultados[i];
            QWidget* resultado = ventana.findChild<QWidget*>(
                QLatin1String(nombre.data(), static_cast<qsizetype>(nombre.size())));
            resultados_[i] = resultado;
            if (resultado == nullptr) {
                continue;
            }
            if (auto* etiqueta = qobject_cast<QLabel*>(resultado)) {
                // Qt gives a selectable label the click focus, which would take
                // the focus from the field being typed in and commit it.
                etiqueta->setTextInteractionFlags(Qt::TextSelectableByMouse);
                etiqueta->setFocusPolicy(Qt::NoFocus);
            }
            resultado->installEventFilter(this);
        }
    }

  protected:
    // The displays' own menus (QLineEdit's, QLabel's) copy only a selection and
    // offer editing or "select all"; this one replaces them.
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::ContextMenu || !objeto->isWidgetType()) {
            return false;
        }
        AbrirMenu(*static_cast<QWidget*>(objeto),
                  static_cast<QContextMenuEvent*>(evento)->globalPos());
        return true;
    }

  private:
    void AbrirMenu(QWidget& resultado, const QPoint& donde) {
        auto* menu = new QMenu(&resultado);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // The very entry of the entry fields' menu, in whatever language Qt's
        // catalogue gives them ("&Copiar").
        QAction* copiar = menu->addAction(QCoreApplication::translate("QLineEdit", "&Copy"));
        copiar->setObjectName(QStringLiteral("copiarResultado"));
        // What the display shows when the menu opens; nothing can write it
        // while the menu is up.
        const QString seleccion = TextoMostrado(resultado, true);
        const QString texto = seleccion.isEmpty() ? TextoMostrado(resultado, false) : seleccion;
        connect(copiar, &QAction::triggered, menu, [texto] { AlPortapapeles(texto); });
        menu->addAction(copiarTodos_);
        menu->popup(donde);
    }

    void CopiarTodos() {
        std::array<std::string, kResultados.size()> textos;
        for (std::size_t i = 0; i < kResultados.size(); ++i) {
            if (resultados_[i] != nullptr) {
                textos[i] = TextoMostrado(*resultados_[i], false).toStdString();
            }
        }
        const std::string lista =
            ListaDeResultados({textos[0], textos[1], textos[2], textos[3], textos[4], textos[5]});
        AlPortapapeles(QString::fromStdString(lista));
    }

    // The window's own displays, which live as long as it does.
    std::array<const QWidget*, kResultados.size()> resultados_{};
    QAction* copiarTodos_ = nullptr;
};

}  // namespace

QKeySequence AtajoCopiarResultados() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
}

void PrepararCopiaDeResultados(QWidget& ventana) {
    new CopiaDeResultados(ventana);
}

}  // namespace tavolen
