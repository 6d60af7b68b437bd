#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

namespace tavolen::soak {

// Closes every message box soon after it opens, from a zero timer in the box's
// own event loop, as a user pressing OK would, and records what it showed.
class MessageBoxCloser : public QObject {
    Q_OBJECT

  public:
    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    MessageBoxCloser();
    ~MessageBoxCloser() override;

    int count() const { return count_; }
    const Shown& last() const { return last_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int count_ = 0;
    Shown last_;
};

}  // namespace tavolen::soak
