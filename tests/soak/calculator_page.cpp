#include "tests/soak/calculator_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window/frm_principal.h"

namespace tavolen::soak {

CalculatorPage::CalculatorPage(frmPrincipal& window_) : window(window_) {
    auto find = [this](const char* name) {
        QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (widget == nullptr)
            missing += QString::fromLatin1(name) + QLatin1Char(' ');
        return widget;
    };
    for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
        fields[i] = qobject_cast<QLineEdit*>(find(kEntryFields[i].name));
    }
    for (std::size_t i = 0; i < kResultDisplays.size(); ++i) results[i] = find(kResultDisplays[i]);
    for (const char* name : kAllControls) {
        if (QWidget* widget = find(name))
            controls.push_back(widget);
    }
    calcular = qobject_cast<QPushButton*>(find("cmdCalcular"));
    reset = qobject_cast<QPushButton*>(find("cmdReset"));
    logo = find("imgLogo");
    for (QLineEdit* field : fields) {
        if (field == nullptr)
            missing += QStringLiteral("(an entry field is not a QLineEdit) ");
    }
}

QString CalculatorPage::resultText(std::size_t index) const {
    if (auto* label = qobject_cast<QLabel*>(results[index]))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(results[index]))
        return box->text();
    return {};
}

int CalculatorPage::entryFieldIndex(const QWidget* widget) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] == widget)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace tavolen::soak
