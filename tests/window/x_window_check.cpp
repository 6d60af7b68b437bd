// Looks at the calculator's window on a real X server from outside the
// program, as a window manager would see it, and then closes it the way a
// window manager does (WM_DELETE_WINDOW). Waits up to SECONDS for a mapped
// top-level window titled TITLE, then checks that
// - its client area is WIDTH x HEIGHT and centred on the screen;
// - its size hints forbid resizing (minimum = maximum = its size);
// - it asks for a close button and no minimise or maximise button;
// - its icon (_NET_WM_ICON) holds the pictures a title bar and a task switcher
//   use, 16 to 64 px, none of them blank, and no larger one, which the program
//   would have decoded at start for no one.
// Prints one line per check and exits with 1 when any failed. Given the PID of
// the program, it stops waiting as soon as the program has ended.
//
// Usage: x_window_check TITLE WIDTH HEIGHT [SECONDS [PID]]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// Bits of the _MOTIF_WM_HINTS property, as window managers read them.
constexpr unsigned long kMwmHintsFunctions = 1UL << 0;
constexpr unsigned long kMwmHintsDecorations = 1UL << 1;
constexpr unsigned long kMwmFuncMinimize = 1UL << 3;
constexpr unsigned long kMwmFuncMaximize = 1UL << 4;
constexpr unsigned long kMwmFuncClose = 1UL << 5;
constexpr unsigned long kMwmDecorMinimize = 1UL << 5;
constexpr unsigned long kMwmDecorMaximize = 1UL << 6;

int fallos = 0;

void Comprobar(bool cierto, const std::string& que) {
    std::printf("%s: %s\n", cierto ? "ok" : "FAIL", que.c_str());
    if (!cierto) {
        ++fallos;
    }
}

std::vector<unsigned long> PropiedadDe32Bits(Display* pantalla, Window ventana, Atom propiedad,
                                             long largo = 32) {
    Atom tipo = None;
    int formato = 0;
    unsigned long cuantos = 0;
    unsigned long restantes = 0;
    unsigned char* datos = nullptr;
    std::vector<unsigned long> valores;
    if (XGetWindowProperty(pantalla, ventana, propiedad, 0, largo, False, AnyPropertyType, &tipo,
                           &formato, &cuantos, &restantes, &datos) == Success &&
        formato == 32 && datos != nullptr) {
        const auto* largos = reinterpret_cast<const unsigned long*>(datos);
        valores.assign(largos, largos + cuantos);
    }
    if (datos != nullptr) {
        XFree(datos);
    }
    return valores;
}

// The pictures of _NET_WM_ICON as "16x16 32x32 ...", in the property's order;
// a blank picture (every pixel transparent) is written "16x16(blank)".
std::string PinturasDelIcono(Display* pantalla, Window ventana) {
    const std::vector<unsigned long> icono = PropiedadDe32Bits(
        pantalla, ventana, XInternAtom(pantalla, "_NET_WM_ICON", False), 1L << 20);
    std::string pinturas;
    std::size_t i = 0;
    while (i + 2 <= icono.size()) {
        const std::size_t ancho = icono[i];
        const std::size_t alto = icono[i + 1];
        const std::size_t fin = i + 2 + ancho * alto;
        if (fin > icono.size()) {
            return pinturas + " (cut short)";
        }
        bool enBlanco = true;
        for (std::size_t p = i + 2; p < fin && enBlanco; ++p) {
            enBlanco = (icono[p] >> 24) == 0;  // ARGB: alpha in the top byte
        }
        if (!pinturas.empty()) {
            pinturas += ' ';
        }
        pinturas += std::to_string(ancho);
        pinturas += 'x';
        pinturas += std::to_string(alto);
        pinturas += enBlanco ? "(blank)" : "";
        i = fin;
    }
    return pinturas;
}

std::string Titulo(Display* pantalla, Window ventana) {
    // _NET_WM_NAME is UTF-8; WM_NAME is the old Latin-1 property.
    const Atom nombreNet = XInternAtom(pantalla, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(pantalla, "UTF8_STRING", False);
    Atom tipo = None;
    int formato = 0;
    unsigned long cuantos = 0;
    unsigned long restantes = 0;
    unsigned char* datos = nullptr;
    std::string titulo;
    if (XGetWindowProperty(pantalla, ventana, nombreNet, 0, 256, False, utf8, &tipo, &formato,
                           &cuantos, &restantes, &datos) == Success &&
        datos != nullptr && formato == 8) {
        titulo.assign(reinterpret_cast<const char*>(datos), cuantos);
    }
    if (datos != nullptr) {
        XFree(datos);
    }
    if (titulo.empty()) {
        char* nombre = nullptr;
        if (XFetchName(pantalla, ventana, &nombre) != 0 && nombre != nullptr) {
            titulo = nombre;
            XFree(nombre);
        }
    }
    return titulo;
}

// The mapped window titled `buscado` among the descendants of `raiz` (a
// window manager, if there is one, puts each top-level window into a frame).
std::optional<Window> Buscar(Display* pantalla, Window raiz, const std::string& buscado,
                             int profundidad) {
    Window padre = 0;
    Window abuelo = 0;
    Window* hijos = nullptr;
    unsigned int cuantos = 0;
    if (XQueryTree(pantalla, raiz, &abuelo, &padre, &hijos, &cuantos) == 0) {
        return std::nullopt;
    }
    std::optional<Window> hallada;
    for (unsigned int i = 0; i < cuantos && !hallada; ++i) {
        XWindowAttributes atributos;
        if (XGetWindowAttributes(pantalla, hijos[i], &atributos) == 0 ||
            atributos.map_state != IsViewable) {
            continue;
        }
        if (Titulo(pantalla, hijos[i]) == buscado) {
            hallada = hijos[i];
        } else if (profundidad > 0) {
            hallada = Buscar(pantalla, hijos[i], buscado, profundidad - 1);
        }
    }
    if (hijos != nullptr) {
        XFree(hijos);
    }
    return hallada;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE WIDTH HEIGHT [SECONDS [PID]]\n", argv[0]);
        return 2;
    }
    const std::string titulo = argv[1];
    const int ancho = std::atoi(argv[2]);
    const int alto = std::atoi(argv[3]);
    const int segundos = argc > 4 ? std::atoi(argv[4]) : 30;
    const pid_t programa = argc > 5 ? static_cast<pid_t>(std::atol(argv[5])) : 0;
    const auto vive = [programa] { return programa <= 0 || kill(programa, 0) == 0; };

    Display* pantalla = XOpenDisplay(nullptr);
    if (pantalla == nullptr) {
        std::fprintf(stderr, "x_window_check: cannot open the display\n");
        return 2;
    }
    const Window raiz = DefaultRootWindow(pantalla);

    std::optional<Window> ventana;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (!ventana && vive() && std::chrono::steady_clock::now() < limite) {
        ventana = Buscar(pantalla, raiz, titulo, 2);
        if (!ventana) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    Comprobar(ventana.has_value(), "a window titled \"" + titulo + "\" is mapped");
    if (!ventana) {
        XCloseDisplay(pantalla);
        return 1;
    }

    XWindowAttributes atributos;
    XGetWindowAttributes(pantalla, *ventana, &atributos);
    Comprobar(atributos.width == ancho && atributos.height == alto,
              "its client area is " + std::to_string(atributos.width) + " x " +
                  std::to_string(atributos.height) + " (expected " + std::to_string(ancho) + " x " +
                  std::to_string(alto) + ")");

    int x = 0;
    int y = 0;
    Window hijo = 0;
    XTranslateCoordinates(pantalla, *ventana, raiz, 0, 0, &x, &y, &hijo);
    const int anchoPantalla = DisplayWidth(pantalla, DefaultScreen(pantalla));
    const int altoPantalla = DisplayHeight(pantalla, DefaultScreen(pantalla));
    Comprobar(
        std::abs(2 * x + ancho - anchoPantalla) <= 2 && std::abs(2 * y + alto - altoPantalla) <= 2,
        "it is centred: at " + std::to_string(x) + ", " + std::to_string(y) + " on a screen of " +
            std::to_string(anchoPantalla) + " x " + std::to_string(altoPantalla));

    XSizeHints pistas{};
    long dadas = 0;
    const bool hayPistas = XGetWMNormalHints(pantalla, *ventana, &pistas, &dadas) != 0;
    Comprobar(hayPistas && (pistas.flags & PMinSize) != 0 && (pistas.flags & PMaxSize) != 0 &&
                  pistas.min_width == ancho && pistas.max_width == ancho &&
                  pistas.min_height == alto && pistas.max_height == alto,
              "its size hints fix it at " + std::to_string(ancho) + " x " + std::to_string(alto) +
                  " (minimum " + std::to_string(pistas.min_width) + " x " +
                  std::to_string(pistas.min_height) + ", maximum " +
                  std::to_string(pistas.max_width) + " x " + std::to_string(pistas.max_height) +
                  ")");

    const std::vector<unsigned long> motif =
        PropiedadDe32Bits(pantalla, *ventana, XInternAtom(pantalla, "_MOTIF_WM_HINTS", False));
    const bool hayMotif = motif.size() >= 3 && (motif[0] & kMwmHintsFunctions) != 0 &&
                          (motif[0] & kMwmHintsDecorations) != 0;
    Comprobar(hayMotif && (motif[1] & kMwmFuncClose) != 0 &&
                  (motif[1] & (kMwmFuncMinimize | kMwmFuncMaximize)) == 0 &&
                  (motif[2] & (kMwmDecorMinimize | kMwmDecorMaximize)) == 0,
              "it asks for a close button and no minimise or maximise button");

    const std::string pinturas = PinturasDelIcono(pantalla, *ventana);
    Comprobar(pinturas == "16x16 32x32 48x48 64x64",
              "its icon holds the pictures of a title bar and a task switcher: " +
                  (pinturas.empty() ? std::string("none") : pinturas));

    const Atom protocolos = XInternAtom(pantalla, "WM_PROTOCOLS", False);
    const Atom cerrar = XInternAtom(pantalla, "WM_DELETE_WINDOW", False);
    Atom* lista = nullptr;
    int cuantos = 0;
    bool aceptaCerrar = false;
    if (XGetWMProtocols(pantalla, *ventana, &lista, &cuantos) != 0) {
        for (int i = 0; i < cuantos; ++i) {
            aceptaCerrar = aceptaCerrar || lista[i] == cerrar;
        }
        XFree(lista);
    }
    Comprobar(aceptaCerrar, "it takes WM_DELETE_WINDOW");
    if (aceptaCerrar) {
        XEvent evento{};
        evento.xclient.type = ClientMessage;
        evento.xclient.window = *ventana;
        evento.xclient.message_type = protocolos;
        evento.xclient.format = 32;
        evento.xclient.data.l[0] = static_cast<long>(cerrar);
        evento.xclient.data.l[1] = CurrentTime;
        XSendEvent(pantalla, *ventana, False, NoEventMask, &evento);
        XFlush(pantalla);
        std::printf("sent: WM_DELETE_WINDOW\n");
    }
    XCloseDisplay(pantalla);
    return fallos == 0 ? 0 : 1;
}
