#include "engine/number_text.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace tavolen {

namespace {

constexpr int kDigitosSignificativos = 15;
[[maybe_unused]] constexpr std::size_t kMaxDecimales = 20;  // checked by an assertion only

// The value's nearest decimal of 15 significant digits: digits[0..15) and the
// power of ten of digits[0]. A sixteenth slot takes the digit that a rounding
// carry may push in front ("999..." becoming "1000...").
struct Decimal15 {
    std::array<char, kDigitosSignificativos + 1> digitos{};
    int longitud = kDigitosSignificativos;
    int exponente = 0;
};

Decimal15 FormaDe15Digitos(double magnitud) {
    // "d.dddddddddddddde+XXX": to_chars is correctly rounded and independent of
    // the locale; an exact tie goes to the even digit.
    std::array<char, 32> texto{};
    auto [fin, ec] = std::to_chars(texto.data(), texto.data() + texto.size(), magnitud,
                                   std::chars_format::scientific, kDigitosSignificativos - 1);
    assert(ec == std::errc());
    Decimal15 d;
    d.digitos[0] = texto[0];
    for (int i = 1; i < kDigitosSignificativos; ++i) {
        d.digitos[i] = texto[i + 1];  // skip the '.'
    }
    const char* e = texto.data() + kDigitosSignificativos + 2;  // after 'e'
    std::from_chars(*e == '+' ? e + 1 : e, fin, d.exponente);
    return d;
}

// Adds one unit in the last place of digits[0..n); returns true when the carry
// runs off the front (all nines), leaving the digits all zeros.
bool SumarUnidad(char* digitos, int n) {
    for (int i = n - 1; i >= 0; --i) {
        if (digitos[i] != '9') {
            ++digitos[i];
            return false;
        }
        digitos[i] = '0';
    }
    return true;
}

// The magnitude rounded to N decimals, halves away from zero, as the digits of
// the integer round(|x| * 10^N): `digitos` followed by `ceros` zeros.
struct Redondeo {
    std::array<char, kDigitosSignificativos + 1> digitos{};
    int longitud = 0;
    int ceros = 0;
};

Redondeo RedondearADecimales(const Decimal15& d, int decimales) {
    Redondeo r;
    // Digits of the 15-digit form that stand at or above the place of 10^-N.
    const int conservados = d.exponente + decimales + 1;
    if (conservados >= kDigitosSignificativos) {
        std::copy_n(d.digitos.begin(), kDigitosSignificativos, r.digitos.begin());
        r.longitud = kDigitosSignificativos;
        r.ceros = conservados - kDigitosSignificativos;
    } else if (conservados <= 0) {
        // Below half a unit of the last decimal, except when the first digit is
        // itself the rounding digit.
        const bool arriba = conservados == 0 && d.digitos[0] >= '5';
        r.digitos[0] = arriba ? '1' : '0';
        r.longitud = 1;
    } else {
        std::copy_n(d.digitos.begin(), conservados, r.digitos.begin());
        r.longitud = conservados;
        if (d.digitos[conservados] >= '5' && SumarUnidad(r.digitos.data(), r.longitud)) {
            r.digitos[0] = '1';
            r.digitos[r.longitud] = '0';
            ++r.longitud;
        }
    }
    // Zero has a single digit; leading zeros only arise from the value 0 itself.
    int inicio = 0;
    while (inicio < r.longitud - 1 && r.digitos[inicio] == '0') {
        ++inicio;
    }
    if (inicio > 0) {
        std::copy(r.digitos.begin() + inicio, r.digitos.begin() + r.longitud, r.digitos.begin());
        r.longitud -= inicio;
        if (r.longitud == 1 && r.digitos[0] == '0') {
            r.ceros = 0;
        }
    }
    return r;
}

// The number of decimals that a pattern asks for: "##,##0" and then optionally
// "." and N zeros.
std::size_t DecimalesDelPatron(std::string_view patron) {
    constexpr std::string_view kParteEntera = "##,##0";
    assert(patron.substr(0, kParteEntera.size()) == kParteEntera);
    if (patron.size() <= kParteEntera.size()) {
        return 0;
    }
    assert(patron[kParteEntera.size()] == '.');
    const std::size_t decimales = patron.size() - kParteEntera.size() - 1;
    assert(decimales <= kMaxDecimales);
    assert(patron.find_first_not_of('0', kParteEntera.size() + 1) == std::string_view::npos);
    return decimales;
}

}  // namespace

std::string FormatearCifra(double valor, std::string_view patron) {
    assert(std::isfinite(valor));
    const int decimales = static_cast<int>(DecimalesDelPatron(patron));
    const Redondeo r = RedondearADecimales(FormaDe15Digitos(std::fabs(valor)), decimales);

    // The digit stream: leading zeros so that at least one integer digit stands
    // before the decimals, the rounded digits, then the trailing zeros.
    const int cifras = r.longitud + r.ceros;
    const int relleno = std::max(0, decimales + 1 - cifras);
    const int total = relleno + cifras;
    const int enteras = total - decimales;
    const int puntos = (enteras - 1) / 3;
    const bool negativo = valor < 0;

    std::string texto;
    texto.resize(static_cast<std::size_t>(negativo) + enteras + puntos +
                 (decimales > 0 ? 1 + decimales : 0));
    auto digito = [&](int i) {
        i -= relleno;
        return i >= 0 && i < r.longitud ? r.digitos[i] : '0';
    };
    std::size_t k = 0;
    if (negativo) {
        texto[k++] = '-';
    }
    for (int i = 0; i < enteras; ++i) {
        if (i > 0 && (enteras - i) % 3 == 0) {
            texto[k++] = '.';
        }
        texto[k++] = digito(i);
    }
    if (decimales > 0) {
        texto[k++] = ',';
        for (int i = enteras; i < total; ++i) {
            texto[k++] = digito(i);
        }
    }
    assert(k == texto.size());
    return texto;
}

namespace {

bool EsDigito(char c) { return c >= '0' && c <= '9'; }

// The number read by the correctly rounded parser from "digits[.digits]";
// nullopt when it lies beyond the largest double.
std::optional<double> ValorDecimal(const char* inicio, const char* fin, bool hay_entero) {
    double valor = 0;
    auto [ptr, ec] = std::from_chars(inicio, fin, valor, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // The parser says the same for overflow and for underflow to zero. A number
        // with a non-zero integer digit is at least 1, so it overflowed; anything
        // else is below the smallest subnormal and its nearest double is 0.
        if (hay_entero) {
            return std::nullopt;
        }
        return 0.0;
    }
    if (ec != std::errc() || ptr != fin) {
        return std::nullopt;
    }
    return valor;
}

}  // namespace

std::optional<double> LeerCifra(std::string_view texto) {
    bool negativo = false;
    if (!texto.empty() && texto.front() == '-') {
        negativo = true;
        texto.remove_prefix(1);
    }

    // One pass checks the grammar and writes "0int.dec" without the grouping
    // points, on the stack for ordinary lengths; the parser would also take
    // "inf", exponents and hex, so it sees only what passed here. The leading
    // "0" gives ",5" an integer digit and costs nothing in value.
    std::array<char, 128> local;
    std::string grande;
    char* limpio = local.data();
    if (texto.size() + 1 > local.size()) {
        grande.resize(texto.size() + 1);
        limpio = grande.data();
    }
    char* p = limpio;
    *p++ = '0';
    bool hay_coma = false;
    bool hay_digito = false;
    bool hay_entero = false;  // a non-zero integer digit
    for (const char c : texto) {
        if (EsDigito(c)) {
            *p++ = c;
            hay_digito = true;
            hay_entero = hay_entero || (!hay_coma && c != '0');
        } else if (c == '.' && !hay_coma) {
            // a group separator: no value
        } else if (c == ',' && !hay_coma) {
            hay_coma = true;
            *p++ = '.';
        } else {
            return std::nullopt;  // a second ",", a "." after it, a "-" not first, anything else
        }
    }
    if (!hay_digito) {
        return std::nullopt;
    }
    if (p[-1] == '.') {
        --p;  // "5,": no decimal digits
    }

    const std::optional<double> valor = ValorDecimal(limpio, p, hay_entero);
    if (!valor) {
        return std::nullopt;
    }
    return negativo ? -*valor : *valor;
}

}  // namespace tavolen
