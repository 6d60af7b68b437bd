/* Types keys into KWin on Wayland through its fake input protocol, the one
 * road that KWin 5 and 6 open to a test client: neither has the virtual
 * keyboard protocol of wtype. No package ships such a client.
 *
 *   tavolen-fake-keys TOKEN...
 * A token is "dN" or "uN", the press or the release of the Linux key code N
 * (KEY_1 is 2), or "sN", a pause of N milliseconds. Each press and release
 * reaches the compositor before the next token. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <wayland-client.h>

#include "fake-input-client-protocol.h"

static struct org_kde_kwin_fake_input* entrada;

static void anunciado(void* data, struct wl_registry* registro, uint32_t nombre,
                      const char* interfaz, uint32_t version) {
    (void)data;
    if (strcmp(interfaz, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        entrada = wl_registry_bind(registro, nombre, &org_kde_kwin_fake_input_interface, 4);
    }
}

static void retirado(void* data, struct wl_registry* registro, uint32_t nombre) {
    (void)data, (void)registro, (void)nombre;
}

static const struct wl_registry_listener oyente = {anunciado, retirado};

static void esperar(long ms) {
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}

int main(int argc, char** argv) {
    struct wl_display* pantalla = wl_display_connect(NULL);
    if (pantalla == NULL) {
        fprintf(stderr, "tavolen-fake-keys: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registro = wl_display_get_registry(pantalla);
    wl_registry_add_listener(registro, &oyente, NULL);
    wl_display_roundtrip(pantalla);
    if (entrada == NULL) {
        fprintf(stderr, "tavolen-fake-keys: the compositor offers no fake input (version 4)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(entrada, "tavolen tests", "types a test's keys");
    for (int i = 1; i < argc; ++i) {
        const long valor = atol(argv[i] + 1);
        if (argv[i][0] == 's') {
            esperar(valor);
        } else {
            org_kde_kwin_fake_input_keyboard_key(entrada, (uint32_t)valor, argv[i][0] == 'd');
            if (wl_display_roundtrip(pantalla) < 0) {
                return 1;
            }
        }
    }
    return 0;
}
