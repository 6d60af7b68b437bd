#pragma once

#include <QLabel>

class QMouseEvent;

namespace tavolen {

// A picture that reports a click: the left button pressed on it and released on
// it, as a button would count it. It never takes the focus.
class ImagenPulsable : public QLabel {
    Q_OBJECT

  public:
    explicit ImagenPulsable(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;

  private:
    bool pulsada_ = false;  // the left button went down on the picture
};

}  // namespace tavolen
