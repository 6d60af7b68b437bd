#include "window/imagen_pulsable.h"

#include <QMouseEvent>

namespace tavolen {

ImagenPulsable::ImagenPulsable(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void ImagenPulsable::mousePressEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton) {
        pulsada_ = true;
    }
    QLabel::mousePressEvent(evento);
}

void ImagenPulsable::mouseReleaseEvent(QMouseEvent* evento) {
    const bool clic = pulsada_ && evento->button() == Qt::LeftButton &&
                      rect().contains(evento->position().toPoint());
    if (evento->button() == Qt::LeftButton) {
        pulsada_ = false;
    }
    QLabel::mouseReleaseEvent(evento);
    if (clic) {
        emit clicked();
    }
}

}  // namespace tavolen
