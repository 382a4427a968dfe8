// Time of one send to 1, 4 and 16 paced virtual printers at once through the fleet runner,
// on their pseudo-terminals and then over RFC 2217 through a device server (ser2net) on the
// loopback interface. Every printer has its own line, so the ratio to one printer shows what
// running the sessions in one event loop costs: 1.0 would be perfect overlap.
#include "e2e/Ser2net.h"
#include "e2e/Simulador.h"
#include "platform/FlotaEnvio.h"
#include "DisenoBanco.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

using namespace quoravex;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir temporal;
    Design d;
    const QString carpeta = bench::PrepararDisenoBanco(argc, argv, temporal, d, "bench_flota");
    if (carpeta.isEmpty()) return 1;
    const int cuantas[] = {1, 4, 16};
    std::vector<std::unique_ptr<test::Simulador>> impresoras;
    QStringList puertos;
    for (int i = 0; i < cuantas[std::size(cuantas) - 1]; ++i) {
        impresoras.push_back(
            std::make_unique<test::Simulador>(QDir(carpeta).filePath(QStringLiteral("impresora%1").arg(i)),
                                              QStringList{QStringLiteral("--pace")}));
        if (impresoras.back()->pty().isEmpty()) {
            std::fprintf(stderr, "bench_flota: virtual printer %d did not start\n", i);
            return 1;
        }
        puertos << impresoras.back()->pty();
    }
    std::printf(
        "send of a 3-push-button design at 19200 baud to paced virtual printers at once, 16 ms wait ticks\n");
    const auto medir = [&](const char* titulo, const QStringList& nombres) {
        std::printf("\n%s\n%8s %9s %8s %7s %8s\n", titulo, "printers", "seconds", "ratio", "failed", "repeats");
        double uno = 0;
        for (const int n : cuantas) {
            OpcionesFlota o;
            o.puertos = nombres.mid(0, n);
            o.carpeta = carpeta;
            o.paralelo = 16;
            QElapsedTimer t;
            t.start();
            const ResultadoFlota r = EnviarDisenoFlota(d, o);
            const double segundos = static_cast<double>(t.elapsed()) / 1000.0;
            if (uno == 0) uno = segundos;
            int repeticiones = 0;
            for (const ResultadoImpresora& i : r.impresoras)
                repeticiones += i.envio.repeticiones;
            std::printf("%8d %9.2f %8.2f %7lld %8d\n", n, segundos, segundos / uno,
                        static_cast<long long>(r.fallidos().size()), repeticiones);
        }
    };
    medir("on their pseudo-terminals", puertos);
    QList<test::Ser2net::Acceso> accesos;
    for (const QString& p : std::as_const(puertos)) accesos.append({p, true});
    test::Ser2net servidor(carpeta, accesos);
    if (servidor.listo())
        medir("over RFC 2217 through ser2net on the loopback interface", servidor.nombres());
    else
        std::printf("\nser2net did not start: no network figures\n");
    std::printf("goals: ratio close to 1, nothing failed, no repeats\n");
    return 0;
}
