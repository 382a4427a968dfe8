#pragma once

#include "support/Bytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

// The bench below runs quoravex-cli: the end-to-end tests have it, the timing tools do not.
#ifdef QUORAVEX_CLI
#include "dialogs/FrmEnviar.h"
#include "document/ArchivoDiseno.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "support/DisenoEjemplo.h"
#include "support/Esperar.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#endif

namespace quoravex::test {

using pruebas::Leer;

// Asks a helper process to end, and ends it when it does not.
inline void Detener(QProcess& p) {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate();
    if (!p.waitForFinished(3000)) p.kill();
    p.waitForFinished(2000);
}

// quoravex-printer-sim started for one test: its terminal's path is read from its output.
class Simulador {
public:
    explicit Simulador(const QString& salida, const QStringList& opciones = {}) : mSalida(salida) {
        mProceso.start(QStringLiteral(QUORAVEX_PRINTER_SIM),
                       QStringList{QStringLiteral("--out"), salida} + opciones);
        QElapsedTimer t;
        t.start();
        while (mPty.isEmpty() && t.elapsed() < 5000 && mProceso.waitForStarted(5000) &&
               mProceso.state() == QProcess::Running) {
            mProceso.waitForReadyRead(100);
            leer();
        }
    }
    ~Simulador() { Detener(mProceso); }

    const QString& pty() const { return mPty; }
    QProcess& proceso() { return mProceso; }

    // Every line the printer reported so far.
    QStringList lineas() {
        leer();
        return mLineas;
    }
    // Waits until the printer has reported `veces` lines with this beginning.
    bool esperarLinea(const QString& inicio, int maximoMs = 15000, int veces = 1) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            const QRegularExpression linea(QLatin1Char('^') + QRegularExpression::escape(inicio));
            if (lineas().filter(linea).size() >= veces) return true;
            if (t.elapsed() > maximoMs || mProceso.state() != QProcess::Running) return false;
            mProceso.waitForReadyRead(50);
        }
    }
    // The line settings the printer saw its frames at, as it reported them.
    QStringList lineasSerie() { return lineas().filter(QRegularExpression(QStringLiteral("^LINEA "))); }
    QByteArray archivo(const QString& nombre) const { return Leer(QDir(mSalida).filePath(nombre)); }

private:
    void leer() {
        mResto += mProceso.readAllStandardOutput();
        for (qsizetype fin; (fin = mResto.indexOf('\n')) >= 0; mResto.remove(0, fin + 1)) {
            mLineas << QString::fromUtf8(mResto.left(fin));
            if (mPty.isEmpty() && mLineas.last().startsWith(QStringLiteral("PTY ")))
                mPty = mLineas.last().mid(4).trimmed();
        }
    }

    QString mSalida;
    QProcess mProceso;
    QString mPty;
    QByteArray mResto;
    QStringList mLineas;
};

#ifdef QUORAVEX_CLI
const QString ErrorComunicacion = QStringLiteral("Error de comunicación con Impresora");

// How quoravex-cli, or a transfer window, ended.
struct Salida {
    int codigo = -1;      // -1: it did not end normally
    QString out, err;     // a transfer window's log is its `out`
    QStringList mensajes; // the messages a transfer window showed
};

// A small design saved as a file, its raster files and turn font generated beside it, and
// printers on pseudo-terminals, all in a folder of the test's own.
struct Banco {
    Banco() {
        generado = EscribirDisenoEjemplo(design, dir.path(), 2, 10, false) &&
                   GuardarDisenoComo(design, tck).correcto;
    }
    QString ruta(const QString& nombre) const { return QDir(dir.path()).filePath(nombre); }
    Simulador& impresora(const QStringList& fallos = {}) {
        impresoras.push_back(
            std::make_unique<Simulador>(ruta(QStringLiteral("impresora%1").arg(impresoras.size())), fallos));
        return *impresoras.back();
    }
    // quoravex-cli started in the folder.
    std::unique_ptr<QProcess> iniciar(const QStringList& argumentos) const {
        auto p = std::make_unique<QProcess>();
        p->setWorkingDirectory(dir.path());
        p->start(QStringLiteral(QUORAVEX_CLI), argumentos);
        return p;
    }
    static Salida terminar(QProcess& p) {
        if (!p.waitForFinished(180000)) p.kill();
        p.waitForFinished();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    Salida correr(const QStringList& argumentos) const { return terminar(*iniciar(argumentos)); }
    static QStringList puertos(const QStringList& nombres) {
        QStringList r;
        for (const QString& n : nombres)
            r << QStringLiteral("--port") << n;
        return r;
    }
    // "IniciarEnvio" in the transfer window on COM3, which the settings point at this device
    // ("Device COM3 = ..."), until the button is back.
    Salida enviarVentana(const QString& dispositivo) const {
        Salida e;
        qunsetenv("QUORAVEX_COM3");
        OpcionesVentanaEnlace o;
        o.puertoCom = 3;
        o.dispositivo = dispositivo;
        o.directorio = dir.path();
        o.mostrarMensaje = [&e](const QString& texto, const QString&) { e.mensajes << texto; };
        FrmEnviar ventana(design, std::move(o));
        if (!ventana.cargar()) return e;
        ventana.show();
        ventana.PBIniciar->click();
        EsperarHasta([&] { return ventana.PBIniciar->isEnabled(); }, 180000);
        e.out = ventana.TBBufRX->toPlainText();
        e.codigo =
            ventana.PBIniciar->isEnabled() && !ventana.enlace().ErrorEnvio && e.mensajes.isEmpty() ? 0 : 1;
        return e;
    }
    // The printer kept every raster file and the turn font exactly as they were generated
    // into `archivos`.
    void compararArchivos(Simulador& s, const QString& archivos) const {
        ASSERT_TRUE(s.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << s.lineas().join(QLatin1Char('\n')).toStdString();
        QStringList nombres{TipoFont::Turno().archivo};
        for (int k = 0; k <= design.NumPulsadores; ++k)
            nombres << TransferenciaRaster::NombreArchivo(k);
        for (const QString& n : nombres) {
            const QByteArray generado = Leer(QDir(archivos).filePath(n));
            EXPECT_FALSE(generado.isEmpty()) << n.toStdString();
            EXPECT_EQ(s.archivo(n).toHex(), generado.toHex())
                << s.pty().toStdString() << " " << n.toStdString();
        }
    }

    QTemporaryDir dir;
    Design design;
    const QString tck = ruta(QStringLiteral("diseno.tck"));
    bool generado = false;
    std::vector<std::unique_ptr<Simulador>> impresoras;
};
#endif

} // namespace quoravex::test
