#include "window/icono_de_ventana.h"

#include <algorithm>
#include <array>

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <QtGlobal>

namespace tavolen {

namespace {

struct Dibujo {
    int lado;  // pixels, square
    const char* recurso;
};

// The pictures drawn for the icon, smallest first (see ventana.qrc).
constexpr std::array<Dibujo, 6> kDibujos{{
    {16, ":/ventana/icono/16x16.png"},
    {32, ":/ventana/icono/32x32.png"},
    {48, ":/ventana/icono/48x48.png"},
    {64, ":/ventana/icono/64x64.png"},
    {128, ":/ventana/icono/128x128.png"},
    {256, ":/ventana/icono/256x256.png"},
}};

// The sizes the icon offers, in device-independent pixels: a title bar's 16
// and a task switcher's 32 to 64. Qt's X11 platform decodes every offered size
// when the window is first shown, to hand them all to the window manager in
// _NET_WM_ICON (at twice the pixels on a screen at scale 2, up to 128), so
// offering 128 and 256 too would decode pictures no title bar or switcher uses.
// Whoever asks the icon for a larger size still gets the picture drawn for it.
constexpr std::array<int, 4> kLadosOfrecidos{16, 32, 48, 64};

// QIcon::addFile decodes its picture at once; this engine keeps only the
// resource names until a size is asked for, and then decodes the one picture
// that size is drawn from.
class MotorDelIcono final : public QIconEngine {
  public:
    QSize actualSize(const QSize& pedido, QIcon::Mode, QIcon::State) override {
        const int lado = std::min({pedido.width(), pedido.height(), kDibujos.back().lado});
        return lado > 0 ? QSize(lado, lado) : QSize();
    }

    // `pedido` in device pixels. The smallest picture at least that large,
    // scaled down if it is larger: a picture drawn for the size when there is
    // one, and never one stretched up.
    QPixmap pixmap(const QSize& pedido, QIcon::Mode modo, QIcon::State estado) override {
        const QSize tamano = actualSize(pedido, modo, estado);
        if (tamano.isEmpty()) {
            return {};
        }
        QPixmap imagen = Decodificado(tamano.width());
        if (imagen.size() != tamano) {
            imagen = imagen.scaled(tamano, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (modo != QIcon::Normal) {
            QStyleOption opcion;
            opcion.palette = QGuiApplication::palette();
            imagen = QApplication::style()->generatedIconPixmap(modo, imagen, &opcion);
        }
        return imagen;
    }

    QPixmap scaledPixmap(const QSize& pedido, QIcon::Mode modo, QIcon::State estado,
                         qreal escala) override {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // From Qt 6.8 QIcon asks in device-independent pixels.
        return pixmap(pedido * escala, modo, estado);
#else
        // Before, the size comes already multiplied by the scale.
        Q_UNUSED(escala);
        return pixmap(pedido, modo, estado);
#endif
    }

    void paint(QPainter* pintor, const QRect& rect, QIcon::Mode modo,
               QIcon::State estado) override {
        const qreal escala = pintor->device()->devicePixelRatio();
        pintor->drawPixmap(rect, pixmap(rect.size() * escala, modo, estado));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> tamanos;
        for (const int lado : kLadosOfrecidos) {
            tamanos.append(QSize(lado, lado));
        }
        return tamanos;
    }

    QIconEngine* clone() const override {
        return new MotorDelIcono(*this);
    }

  private:
    // The picture for a side of `lado` pixels, decoded once.
    const QPixmap& Decodificado(int lado) {
        std::size_t i = 0;
        while (i + 1 < kDibujos.size() && kDibujos[i].lado < lado) {
            ++i;
        }
        if (decodificados_[i].isNull()) {
            decodificados_[i] = QPixmap(QString::fromLatin1(kDibujos[i].recurso));
        }
        return decodificados_[i];
    }

    std::array<QPixmap, kDibujos.size()> decodificados_;
};

}  // namespace

QIcon IconoDeVentana() {
    return QIcon(new MotorDelIcono);
}

}  // namespace tavolen
