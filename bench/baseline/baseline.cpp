// The floor that the calculator's start-up is measured against: a bare Qt
// Widgets program with one fixed 689 x 533 window holding the same kinds and
// number of plain child widgets as the calculator's window, in the same fonts,
// with the same three JPEG pictures, and nothing else (no colours, no
// behaviour). We cannot start faster than this.
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace {

enum class Kind { kLabel, kLineEdit, kButton, kPicture, kLine };

// The fonts of the calculator's window: face, points, bold, italic, underlined.
struct FontChoice {
    const char* face;
    double points;
    bool bold;
    bool italic;
    bool underline;
};
constexpr FontChoice kWindowFont{"Arial", 9.75, false, true, false};
constexpr FontChoice kHeadingFont{"Arial", 9.75, true, false, false};
constexpr FontChoice kEntryFont{"Arial", 14.25, true, false, false};
constexpr FontChoice kResultFont{"Arial Narrow", 14.25, true, false, false};
constexpr FontChoice kTitleFont{"Arial", 14.25, true, true, true};
constexpr FontChoice kCalculateFont{"Arial", 24, true, true, false};
constexpr FontChoice kResetFont{"Arial", 18, false, true, false};

// One child widget. Geometry in pixels; `text` is a caption or a resource path.
struct Child {
    Kind kind;
    const char* text;
    int left, top, width, height;
    const FontChoice* font;  // nullptr: the window font
};

// 22 labels, 8 text boxes, 2 buttons, 3 pictures and 3 lines, where the
// calculator has them.
constexpr Child kChildren[] = {
    {Kind::kLabel, "TAVOLEN", 198, 10, 292, 22, &kTitleFont},
    {Kind::kLabel, "VALOR 1", 122, 51, 57, 17, &kHeadingFont},
    {Kind::kLabel, "VALOR 2", 322, 51, 57, 17, &kHeadingFont},
    {Kind::kLabel, "DECIBELIOS", 530, 54, 80, 17, &kHeadingFont},
    {Kind::kLabel, "Tensiones", 15, 79, 60, 17, nullptr},
    {Kind::kLineEdit, "0,00", 84, 72, 133, 30, &kEntryFont},
    {Kind::kLineEdit, "0,0000", 233, 72, 233, 30, &kEntryFont},
    {Kind::kLabel, "0,0000", 483, 75, 174, 25, &kResultFont},
    {Kind::kLine, nullptr, 5, 116, 676, 2, nullptr},
    {Kind::kLabel, "VALOR 1", 123, 129, 57, 17, &kHeadingFont},
    {Kind::kLabel, "VALOR 2", 323, 129, 57, 17, &kHeadingFont},
    {Kind::kLabel, "DECIBELIOS", 531, 132, 80, 17, &kHeadingFont},
    {Kind::kLabel, "Potencias", 15, 156, 60, 17, nullptr},
    {Kind::kLineEdit, "0,00", 84, 149, 133, 30, &kEntryFont},
    {Kind::kLineEdit, "0,0000", 233, 149, 233, 30, &kEntryFont},
    {Kind::kLabel, "0,0000", 483, 152, 174, 25, &kResultFont},
    {Kind::kLine, nullptr, 5, 194, 676, 2, nullptr},
    {Kind::kLabel, "VALOR", 159, 204, 44, 17, &kHeadingFont},
    {Kind::kLabel, "FACTOR (TENSIONES)", 293, 207, 173, 17, &kHeadingFont},
    {Kind::kLabel, "FACTOR (POTENCIAS)", 481, 207, 178, 17, &kHeadingFont},
    {Kind::kLabel, "Decibelios", 12, 232, 63, 17, nullptr},
    {Kind::kLineEdit, "0,0000", 84, 225, 194, 30, &kEntryFont},
    {Kind::kLineEdit, "0,0000", 293, 228, 174, 25, &kResultFont},
    {Kind::kLineEdit, "0,0000", 483, 228, 174, 25, &kResultFont},
    {Kind::kLine, nullptr, 5, 269, 676, 2, nullptr},
    {Kind::kLabel, "VALOR", 159, 279, 44, 17, &kHeadingFont},
    {Kind::kLabel, "DECIBELIOS (TENSIONES)", 292, 282, 176, 17, &kHeadingFont},
    {Kind::kLabel, "DECIBELIOS (POTENCIAS)", 482, 282, 176, 17, &kHeadingFont},
    {Kind::kLabel, "Factor", 33, 307, 42, 17, nullptr},
    {Kind::kLineEdit, "0,0000", 84, 300, 194, 30, &kEntryFont},
    {Kind::kLabel, "0,0000", 293, 303, 174, 25, &kResultFont},
    {Kind::kLabel, "0,0000", 483, 303, 174, 25, &kResultFont},
    {Kind::kPicture, ":/baseline/emblema_izquierdo.jpg", 9, 339, 179, 128, nullptr},
    {Kind::kButton, " CALCULAR ", 197, 354, 295, 101, &kCalculateFont},
    {Kind::kPicture, ":/baseline/emblema_derecho.jpg", 501, 339, 179, 128, nullptr},
    {Kind::kPicture, ":/baseline/logo.jpg", 194, 477, 300, 46, nullptr},
    {Kind::kButton, "RESET", 564, 483, 112, 38, &kResetFont},
    {Kind::kLabel, "Versi\u00f3n 1.0", 3, 513, 72, 17, nullptr},
};

QFont MakeFont(const FontChoice& choice) {
    QFont font(QString::fromLatin1(choice.face));
    font.setPointSizeF(choice.points);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    return font;
}

QWidget* MakeChild(const Child& child, QWidget* parent) {
    const QString text = QString::fromUtf8(child.text ? child.text : "");
    QWidget* widget = nullptr;
    switch (child.kind) {
        case Kind::kLabel:
            widget = new QLabel(text, parent);
            break;
        case Kind::kLineEdit:
            widget = new QLineEdit(text, parent);
            break;
        case Kind::kButton:
            widget = new QPushButton(text, parent);
            break;
        case Kind::kPicture: {
            auto* picture = new QLabel(parent);
            picture->setPixmap(QPixmap(text));
            widget = picture;
            break;
        }
        case Kind::kLine: {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::HLine);
            widget = line;
            break;
        }
    }
    widget->setGeometry(child.left, child.top, child.width, child.height);
    if (child.font != nullptr)
        widget->setFont(MakeFont(*child.font));
    return widget;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.setFont(MakeFont(kWindowFont));
    for (const Child& child : kChildren) MakeChild(child, &window);
    window.setFixedSize(689, 533);
    window.show();
    return application.exec();
}
