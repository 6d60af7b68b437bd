// The desktop services as the calculator calls them: the message box shows
// the prompt, the title, the icon of its style and one OK button, is modal,
// belongs to its owner and returns once dismissed; an address goes to the
// desktop's handler for its scheme.

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "window/desktop_services.h"

namespace tavolen {

class DesktopServicesTest : public QObject {
    Q_OBJECT

  public slots:
    void abrir(const QUrl& direccion) { abiertas_ << direccion; }

  private slots:
    void cleanup();
    void theMessageBoxShowsItsTextsIconAndOneOkButtonAndReturnsWhenDismissed_data();
    void theMessageBoxShowsItsTextsIconAndOneOkButtonAndReturnsWhenDismissed();
    void anAddressGoesToTheHandlerOfItsScheme();

  private:
    QList<QUrl> abiertas_;
};

void DesktopServicesTest::cleanup() {
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void DesktopServicesTest::
    theMessageBoxShowsItsTextsIconAndOneOkButtonAndReturnsWhenDismissed_data() {
    QTest::addColumn<int>("estilo");
    QTest::addColumn<int>("icono");
    QTest::newRow("48 exclamation") << int{kEstiloExclamacion} << int{QMessageBox::Warning};
    QTest::newRow("16 critical") << 16 << int{QMessageBox::Critical};
    QTest::newRow("32 question") << 32 << int{QMessageBox::Question};
    QTest::newRow("64 information") << 64 << int{QMessageBox::Information};
    QTest::newRow("0 no icon") << 0 << int{QMessageBox::NoIcon};
}

void DesktopServicesTest::theMessageBoxShowsItsTextsIconAndOneOkButtonAndReturnsWhenDismissed() {
    QFETCH(int, estilo);
    QFETCH(int, icono);
    QWidget propietario;
    propietario.show();
    QVERIFY(QTest::qWaitForWindowActive(&propietario));

    // The box is modal: it is looked at and dismissed from the event loop that
    // MsgBox runs, by pressing its own OK button.
    struct Vista {
        bool vista = false;
        QString texto, titulo;
        int icono = -1;
        QMessageBox::StandardButtons botones;
        QWidget* padre = nullptr;
        bool modal = false;
    } vista;
    QTimer mirar;
    mirar.setInterval(20);
    connect(&mirar, &QTimer::timeout, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (caja == nullptr || vista.vista) {
            return;
        }
        vista = {true,
                 caja->text(),
                 caja->windowTitle(),
                 caja->icon(),
                 caja->standardButtons(),
                 caja->parentWidget(),
                 caja->isModal()};
        caja->button(QMessageBox::Ok)->click();
    });
    mirar.start();
    QTimer::singleShot(5000, [] {
        if (QWidget* caja = QApplication::activeModalWidget()) {
            caja->close();  // never hang the suite
        }
    });

    MsgBox(&propietario, "La cifra no es válida, por favor introdúzcala de nuevo.",
           static_cast<std::int16_t>(estilo), "Error");

    QVERIFY(vista.vista);
    QCOMPARE(vista.texto, QString("La cifra no es válida, por favor introdúzcala de nuevo."));
    QCOMPARE(vista.titulo, QString("Error"));
    QCOMPARE(vista.icono, icono);
    QCOMPARE(vista.botones, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(vista.padre, &propietario);
    QVERIFY(vista.modal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);  // gone once dismissed
}

void DesktopServicesTest::anAddressGoesToTheHandlerOfItsScheme() {
    QDesktopServices::setUrlHandler("https", this, "abrir");
    AbrirDireccion("https://es.wikipedia.org/wiki/Decibelio");
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(abiertas_, QList<QUrl>{QUrl("https://es.wikipedia.org/wiki/Decibelio")});
}

}  // namespace tavolen

QTEST_MAIN(tavolen::DesktopServicesTest)
#include "desktop_services_test.moc"
