// A UI Automation client, as a screen reader on Windows is one: it subscribes
// to the notification events of the running tavolen.exe's window and prints
// each sentence announced, one line each, in UTF-8.
//
// Usage: announcement_client COUNT SECONDS
//   Waits up to a minute for the window titled "Tavolen", subscribes, prints
//   "listening", then prints "notification: <sentence>" for each event, until
//   COUNT have come (exit 0) or SECONDS have passed (exit 1). A UI Automation
//   that cannot deliver notification events makes it print "unsupported: ..."
//   and exit 3; any other failure exits 2.

#include <windows.h>

// CLSID_CUIAutomation8 is defined here, not in any import library.
#include <initguid.h>
#include <uiautomation.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Utf8(const wchar_t* texto) {
    if (texto == nullptr) {
        return {};
    }
    const int largo = WideCharToMultiByte(CP_UTF8, 0, texto, -1, nullptr, 0, nullptr, nullptr);
    std::string salida(static_cast<size_t>(largo > 0 ? largo - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texto, -1, salida.data(), largo, nullptr, nullptr);
    return salida;
}

void Linea(const std::string& texto) {
    std::fputs((texto + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// Notification events arrive on UI Automation's own threads.
class Oyente : public IUIAutomationNotificationEventHandler {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objeto) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IUIAutomationNotificationEventHandler)) {
            *objeto = static_cast<IUIAutomationNotificationEventHandler*>(this);
            AddRef();
            return S_OK;
        }
        *objeto = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on main's stack, past every call UI Automation makes.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE HandleNotificationEvent(IUIAutomationElement*, NotificationKind,
                                                      NotificationProcessing, BSTR frase,
                                                      BSTR) override {
        const std::lock_guard<std::mutex> cerrojo(mutex_);
        Linea("notification: " + Utf8(frase));
        ++recibidas_;
        llegada_.notify_all();
        return S_OK;
    }

    bool Esperar(int cuantas, std::chrono::seconds plazo) {
        std::unique_lock<std::mutex> cerrojo(mutex_);
        return llegada_.wait_for(cerrojo, plazo, [&] { return recibidas_ >= cuantas; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable llegada_;
    int recibidas_ = 0;
};

HWND VentanaDeTavolen() {
    for (int intento = 0; intento < 600; ++intento) {
        if (HWND ventana = FindWindowW(nullptr, L"Tavolen")) {
            return ventana;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

int Falla(const char* paso, HRESULT resultado) {
    char texto[160];
    std::snprintf(texto, sizeof texto, "error: %s returned 0x%08lx", paso,
                  static_cast<unsigned long>(resultado));
    Linea(texto);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        Linea("usage: announcement_client COUNT SECONDS");
        return 2;
    }
    const int cuantas = std::atoi(argv[1]);
    const std::chrono::seconds plazo(std::atoi(argv[2]));

    HRESULT resultado = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(resultado)) {
        return Falla("CoInitializeEx", resultado);
    }
    const HWND ventana = VentanaDeTavolen();
    if (ventana == nullptr) {
        Linea("error: no window titled Tavolen within a minute");
        return 2;
    }
    // IUIAutomation5, which has notification events, is CUIAutomation8's.
    IUIAutomation5* automatizacion = nullptr;
    resultado =
        CoCreateInstance(CLSID_CUIAutomation8, nullptr, CLSCTX_INPROC_SERVER,
                         __uuidof(IUIAutomation5), reinterpret_cast<void**>(&automatizacion));
    if (FAILED(resultado)) {
        return Falla("CoCreateInstance(CUIAutomation8, IUIAutomation5)", resultado);
    }
    IUIAutomationElement* elemento = nullptr;
    resultado = automatizacion->ElementFromHandle(ventana, &elemento);
    if (FAILED(resultado) || elemento == nullptr) {
        return Falla("ElementFromHandle", resultado);
    }
    BSTR nombre = nullptr;
    if (SUCCEEDED(elemento->get_CurrentName(&nombre))) {
        Linea("window: " + Utf8(nombre));
        SysFreeString(nombre);
    }

    Oyente oyente;
    resultado =
        automatizacion->AddNotificationEventHandler(elemento, TreeScope_Subtree, nullptr, &oyente);
    if (resultado == E_NOTIMPL) {
        Linea("unsupported: AddNotificationEventHandler returned E_NOTIMPL");
        return 3;
    }
    if (FAILED(resultado)) {
        return Falla("AddNotificationEventHandler", resultado);
    }
    Linea("listening");
    const bool todas = oyente.Esperar(cuantas, plazo);
    automatizacion->RemoveNotificationEventHandler(elemento, &oyente);
    elemento->Release();
    automatizacion->Release();
    CoUninitialize();
    return todas ? 0 : 1;
}
