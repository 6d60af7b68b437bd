// What a Windows user expects of the program, checked on Qt's own Windows
// platform (not offscreen): the executable's icon, version resource and GUI
// subsystem; per-monitor DPI awareness V2, in its manifest and in the process;
// the system's look for the window and its message boxes; the icon in the
// title bar and the taskbar.

#include <windows.h>

#include <shellapi.h>

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTest>

#include <iterator>
#include <string>
#include <vector>

#include "tests/support/open_window.h"
#include "window/frm_principal.h"

namespace tavolen {
namespace {

std::wstring Ejecutable() {
    return QString::fromUtf8(TAVOLEN_EXE).toStdWString();
}

QString Version(const std::wstring& archivo, const wchar_t* campo) {
    DWORD ignorado = 0;
    const DWORD tamano = GetFileVersionInfoSizeW(archivo.c_str(), &ignorado);
    if (tamano == 0) {
        return {};
    }
    std::vector<char> datos(tamano);
    if (!GetFileVersionInfoW(archivo.c_str(), 0, tamano, datos.data())) {
        return {};
    }
    const std::wstring ruta = std::wstring(L"\\StringFileInfo\\0c0a04b0\\") + campo;
    wchar_t* valor = nullptr;
    UINT largo = 0;
    if (!VerQueryValueW(datos.data(), ruta.c_str(), reinterpret_cast<void**>(&valor), &largo) ||
        largo == 0) {
        return {};
    }
    return QString::fromWCharArray(valor);
}

// A setting of the executable's manifest, read through the activation context
// that Windows makes from it when it creates the program's process.
QString Manifiesto(const std::wstring& archivo, const wchar_t* espacio, const wchar_t* ajuste) {
    ACTCTXW pedido{};
    pedido.cbSize = sizeof(pedido);
    pedido.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    pedido.lpSource = archivo.c_str();
    pedido.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE contexto = CreateActCtxW(&pedido);
    if (contexto == INVALID_HANDLE_VALUE) {
        return {};
    }
    wchar_t valor[64] = {};
    SIZE_T escrito = 0;
    const bool leido =
        QueryActCtxSettingsW(0, contexto, espacio, ajuste, valor, std::size(valor), &escrito);
    ReleaseActCtx(contexto);
    return leido ? QString::fromWCharArray(valor) : QString();
}

}  // namespace

class WindowsPlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void theExecutableCarriesItsIconAndSpanishVersionAndOpensNoConsole();
    void theProcessIsDpiAwarePerMonitorV2();
    void windowAndMessageBoxesHaveTheSystemsLook();
    void theWindowShowsItsIconInTheTitleBarAndTaskbar();
};

void WindowsPlatformTest::theExecutableCarriesItsIconAndSpanishVersionAndOpensNoConsole() {
    const std::wstring exe = Ejecutable();
    QCOMPARE(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u);
    QCOMPARE(Version(exe, L"FileDescription"), QStringLiteral("Calculadora de decibelios"));
    QCOMPARE(Version(exe, L"ProductVersion"), QStringLiteral(TAVOLEN_VERSION));
    QCOMPARE(Version(exe, L"OriginalFilename"), QStringLiteral("tavolen.exe"));
    // A console program gives "PE" with a zero high word, a GUI program its
    // subsystem version there.
    const DWORD_PTR tipo = SHGetFileInfoW(exe.c_str(), 0, nullptr, 0, SHGFI_EXETYPE);
    QCOMPARE(LOWORD(tipo), WORD{0x4550});
    QVERIFY2(HIWORD(tipo) != 0, "tavolen.exe is a console program");
    // Declared before any of its code runs, not only set by Qt at start-up.
    const wchar_t* const ajustes = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
    QCOMPARE(Manifiesto(exe, ajustes, L"dpiAwareness"), QStringLiteral("PerMonitorV2"));
}

// Version 2 also scales the title bar, menus and message boxes per monitor.
void WindowsPlatformTest::theProcessIsDpiAwarePerMonitorV2() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("windows"));
    const DPI_AWARENESS_CONTEXT contexto = GetThreadDpiAwarenessContext();
    QCOMPARE(GetAwarenessFromDpiAwarenessContext(contexto), DPI_AWARENESS_PER_MONITOR_AWARE);
    QVERIFY(AreDpiAwarenessContextsEqual(contexto, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2));
}

void WindowsPlatformTest::windowAndMessageBoxesHaveTheSystemsLook() {
    QCOMPARE(QApplication::style()->name(), QStringLiteral("windowsvista"));
    VentanaAbierta abierta;
    QCOMPARE(abierta.ventana().style()->name(), QStringLiteral("windowsvista"));
    const QMessageBox caja(QMessageBox::Warning, "Tavolen", "x", QMessageBox::Ok,
                           &abierta.ventana());
    QCOMPARE(caja.style()->name(), QStringLiteral("windowsvista"));
}

void WindowsPlatformTest::theWindowShowsItsIconInTheTitleBarAndTaskbar() {
    VentanaAbierta abierta;
    const auto hwnd = reinterpret_cast<HWND>(abierta.ventana().winId());
    QVERIFY(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0) != 0);
    QVERIFY(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0) != 0);
}

}  // namespace tavolen

QTEST_MAIN(tavolen::WindowsPlatformTest)
#include "windows_platform_test.moc"
