// Raster output of a busy design: 50 overlapping objects, 16 push-buttons, 511 dots long.
// Compares the composed path with the per-dot reference for all 17 files.
#include "render/CodificacionRaster.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "document/Design.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <random>

using namespace quoravex;

namespace {

struct Escena {
    Design d;
    Workspace ws;

    Escena() {
        std::mt19937 azar(7);
        auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
        d.LargoTicket = 511;
        d.NumPulsadores = 16;
        for (int k = 0; k < MaxObjetos; ++k) {
            NuevoObjeto n;
            n.Tipo = k % 3 == 0 ? TipoImagen : k % 3 == 1 ? TipoTextoFijo : TipoLinea;
            n.Left = entre(-20, 300);
            n.Top = entre(-20, 450);
            n.Width = n.Tipo == TipoLinea ? entre(2, 384) : entre(40, 384);
            n.Height = n.Tipo == TipoLinea ? entre(1, 6) : entre(20, 160);
            n.Pulsadores = k % 4 == 0 ? 1u : (1u << entre(1, 16)) | (entre(0, 1) ? 1u : 0u);
            const int i = d.agregar(n);
            Surface& caja = ws.item(i);
            caja.setGeometry(n.Left, n.Top, n.Width, n.Height);
            caja.setBackColor(n.Tipo == TipoLinea ? ColorNegro : ColorBlanco);
            caja.clear();
            for (int p = 0; p < n.Width * n.Height / 3; ++p)
                caja.pset(entre(0, n.Width - 1), entre(0, n.Height - 1), ColorNegro);
        }
    }

    template <typename Componer> size_t diecisieteArchivos(Componer componer) {
        size_t total = 0;
        for (int v = 0; v <= d.NumPulsadores; ++v) {
            d.VistaActual = Design::mascaraVista(v);
            total += CodificarRaster(componer(d, ws), static_cast<uint8_t>(v)).size();
        }
        return total;
    }
};

Escena& escena() {
    static Escena e;
    return e;
}

void Compuesto(benchmark::State& estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(escena().diecisieteArchivos(ComponerRaster));
}
BENCHMARK(Compuesto)->Unit(benchmark::kMillisecond);

void PorPuntos(benchmark::State& estado) {
    for (auto _ : estado)
        benchmark::DoNotOptimize(escena().diecisieteArchivos(RasterPorPuntos));
}
BENCHMARK(PorPuntos)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
