// One press of " CALCULAR " on the real window, offscreen: from the mouse click
// on the button to the six result texts written. The six inputs are typed and
// committed first, the way a user enters them, so the press computes and shows
// all six results (goal: under 50 microseconds).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

#include "engine/decibel_computation.h"
#include "engine/result_texts.h"
#include "window/frm_principal.h"
#include "window/result_displays.h"

namespace {

using tavolen::frmPrincipal;

// A field name and the text typed into it; Db1 = 30 gives factors with six and
// four decimals, F1 = 2 finite levels, so no result is a shortcut like "FULL".
const std::vector<std::pair<const char*, const char*>> kEntradas = {
    {"txtV1", "2"},   {"txtV2", "20"},  {"txtP1", "3"},
    {"txtP2", "7,5"}, {"txtDb1", "30"}, {"txtF1", "2"},
};

using tavolen::kResultados;

QString TextoDe(const QWidget& ventana, const char* nombre) {
    if (auto* etiqueta = ventana.findChild<QLabel*>(nombre))
        return etiqueta->text();
    if (auto* caja = ventana.findChild<QLineEdit*>(nombre))
        return caja->text();
    return {};
}

// Types each input and presses Enter, which commits it and moves on.
void EscribirEntradas(frmPrincipal& ventana) {
    for (const auto& [nombre, texto] : kEntradas) {
        auto* campo = ventana.findChild<QLineEdit*>(nombre);
        campo->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(campo, texto);
        QTest::keyClick(campo, Qt::Key_Return);
    }
}

// The texts that the engine gives for the window's committed inputs.
std::vector<std::string> TextosEsperados(const frmPrincipal& ventana) {
    tavolen::CalculatorState estado = ventana.estado();
    tavolen::CalcularResultados(estado);
    const tavolen::TextosResultados t = tavolen::TextosDeResultados(estado);
    return {t.lblDbv, t.lblDbp, t.txtFv, t.txtFp, t.lblDbfv, t.lblDbfp};
}

// Runs `pulsar` once per iteration on a shown window whose six inputs are
// committed, then checks that the last press wrote the engine's six texts.
void MedirPulsacion(benchmark::State& state, void (*pulsar)(QPushButton&)) {
    frmPrincipal ventana;
    ventana.show();
    if (!QTest::qWaitForWindowExposed(&ventana)) {
        state.SkipWithError("the window was not exposed");
        return;
    }
    EscribirEntradas(ventana);
    const tavolen::CalculatorState& e = ventana.estado();
    if (e.V1 == 0 || e.V2 == 0 || e.P1 == 0 || e.P2 == 0 || e.Db1 == 0 || e.F1 == 0) {
        state.SkipWithError("the typed inputs were not all committed");
        return;
    }
    auto* boton = ventana.findChild<QPushButton*>("cmdCalcular");

    for (auto _ : state) {
        pulsar(*boton);
    }

    // A press that did not calculate would be fast and wrong: check the texts.
    const std::vector<std::string> esperados = TextosEsperados(ventana);
    for (std::size_t i = 0; i < esperados.size(); ++i) {
        if (TextoDe(ventana, kResultados[i].data()).toStdString() != esperados[i]) {
            state.SkipWithError(
                (std::string(kResultados[i]) + " does not show the result").c_str());
            return;
        }
    }
    if (TextoDe(ventana, "lblDbv") == QStringLiteral("0,0000")) {
        state.SkipWithError("the press computed nothing");
    }
}

// One press each, kept out of line so that callgrind can count exactly one:
//   valgrind --tool=callgrind --toggle-collect='*PulsarConRaton*' window_bench ...
// The goal: a mouse click on the button, as the user makes it. Qt repaints a
// button at once when it goes down and up, and that repaint also draws the
// result displays that the previous press rewrote.
[[gnu::noinline]] void PulsarConRaton(QPushButton& boton) {
    QTest::mouseClick(&boton, Qt::LeftButton, Qt::NoModifier, boton.rect().center());
}

// The command alone: clicked() without the mouse and the button's repaints, that
// is Limpiar, CalcularResultados and MostrarResultados writing the six texts.
[[gnu::noinline]] void PulsarSinRaton(QPushButton& boton) {
    boton.click();
}

void BM_PulsarCalcular(benchmark::State& state) {
    MedirPulsacion(state, PulsarConRaton);
}
BENCHMARK(BM_PulsarCalcular)->Unit(benchmark::kMicrosecond);

void BM_ClickDeCalcularSinRaton(benchmark::State& state) {
    MedirPulsacion(state, PulsarSinRaton);
}
BENCHMARK(BM_ClickDeCalcularSinRaton)->Unit(benchmark::kMicrosecond);

// What Qt itself costs for such a click: a bare window with one button of the
// same size, caption and font, connected to nothing.
void BM_PulsarBotonSinNada(benchmark::State& state) {
    QWidget ventana;
    ventana.setFixedSize(689, 533);
    QPushButton boton(QStringLiteral(" CALCULAR "), &ventana);
    boton.setGeometry(197, 354, 295, 101);
    QFont letra(QStringLiteral("Arial"));
    letra.setPointSizeF(24);
    letra.setBold(true);
    letra.setItalic(true);
    boton.setFont(letra);
    ventana.show();
    if (!QTest::qWaitForWindowExposed(&ventana)) {
        state.SkipWithError("the window was not exposed");
        return;
    }
    for (auto _ : state) {
        PulsarConRaton(boton);
    }
}
BENCHMARK(BM_PulsarBotonSinNada)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // No display is needed; the window is drawn into memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
