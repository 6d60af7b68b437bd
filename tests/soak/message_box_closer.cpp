#include "tests/soak/message_box_closer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace tavolen::soak {

MessageBoxCloser::MessageBoxCloser() {
    qApp->installEventFilter(this);
}

MessageBoxCloser::~MessageBoxCloser() {
    qApp->removeEventFilter(this);
}

bool MessageBoxCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show)
        return false;
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box == nullptr)
        return false;
    ++count_;
    last_ = {box->windowTitle(), box->text(), box->icon()};
    QPointer<QMessageBox> guarded(box);
    QTimer::singleShot(0, box, [guarded] {
        if (guarded == nullptr)
            return;
        if (QAbstractButton* ok = guarded->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            guarded->reject();
        }
    });
    return false;
}

}  // namespace tavolen::soak
