// The time to judge a megabyte of noise from a printer's line, arriving in pieces of
// various sizes: every start of a possible frame is looked at once, so the time grows with
// the bytes, and at most BuscadorTramas::Limite of them are held.
#include "link/BuscadorTramas.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <random>

using namespace quoravex;

namespace {

// Frames that noise makes by chance (one start in 65536 has a right CRC) do not end the search.
constexpr int Todas = 1 << 30;

void RechazarMegabyte(benchmark::State& estado) {
    const qsizetype trozo = estado.range(0);
    const bool azar = estado.range(1) != 0;
    QByteArray ruido(1024 * 1024, '\xff');
    if (azar) {
        std::mt19937 g(11);
        for (char& c : ruido) c = static_cast<char>(g() & 0xFF);
    }
    for (auto _ : estado) {
        BuscadorTramas b;
        for (qsizetype i = 0; i < ruido.size(); i += trozo)
            b.agregar(QByteArrayView(ruido).sliced(i, std::min(trozo, ruido.size() - i)), Todas);
        benchmark::DoNotOptimize(b.tramas());
        if (b.bytes().size() > BuscadorTramas::Limite) estado.SkipWithError("held more than the limit");
    }
    estado.SetBytesProcessed(estado.iterations() * ruido.size());
    estado.SetLabel(azar ? "random bytes" : "0xFF bytes");
}

} // namespace

BENCHMARK(RechazarMegabyte)
    ->ArgsProduct({{64, 4096, 65536}, {0, 1}})
    ->ArgNames({"trozo", "azar"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
