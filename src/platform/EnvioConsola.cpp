#include "EnvioConsola.h"

#include "RelojesEnlace.h"
#include "SystemSerialPort.h"
#include "link/EnviarTodo.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace quoravex {

namespace {

// The console's stand-in for a transfer window: log lines and messages go to a stream,
// the clocks are real timers and closing the window ends the event loop.
class SesionConsola : public LinkSink {
public:
    SesionConsola(OpcionesEnvioConsola& o, const ConfiguracionLinea& linea, QTextStream& salida)
        : mSalida(salida) {
        if (o.puerto) {
            mPuerto = std::move(o.puerto);
        } else {
            auto sistema = std::make_unique<SystemSerialPort>();
            sistema->fijarDispositivo(o.dispositivo);
            mPuerto = std::move(sistema);
        }
        enlace = std::make_unique<EnlaceImpresora>(*mPuerto, *this, linea, o.ajustes);
        relojes.asignar(Reloj::TOut, [this] { enlace->tickTOut(); });
        relojes.asignar(Reloj::Intermitencia, [this] { enlace->tickIntermitencia(); });
        carpeta = o.carpeta.isEmpty() ? QDir::currentPath() : o.carpeta;
        mLimite.setSingleShot(true);
        QObject::connect(&mLimite, &QTimer::timeout, &bucle, [this] {
            resultado.tiempoAgotado = true;
            mensaje(QStringLiteral("Tiempo agotado sin terminar el envío"),
                    QStringLiteral("Error comunicación"));
            bucle.quit();
        });
        mLimite.start(o.limiteMs);
        mReloj.start();
    }
    ~SesionConsola() override {
        relojes.detenerTodos();
        enlace.reset(); // it closes the port, which must still be there
    }

    // Runs until the work ends or the window would close.
    void correr() {
        if (!mTerminado) bucle.exec();
        relojes.detenerTodos();
        enlace->CerrarPuerto();
        resultado.duracionMs = mReloj.elapsed();
    }
    void terminar() {
        mTerminado = true;
        bucle.quit();
    }

    void log(const QString& linea) override { mSalida << linea << Qt::endl; }
    void barra(int, int) override {}
    void cursorOcupado(bool) override {}
    void mensaje(const QString& texto, const QString& titulo) override {
        resultado.mensajes.append(texto);
        mSalida << titulo << QStringLiteral(": ") << texto << Qt::endl;
    }
    void indicador(bool) override {}
    void reloj(Reloj r, int intervaloMs) override { relojes.reiniciar(r, intervaloMs); }
    void pitido() override {}
    void inicioHabilitado(bool habilitado) override {
        // The send-all sequence enables its button as it ends: looked at once it has.
        if (habilitado && alTerminarEnvio)
            QMetaObject::invokeMethod(
                &bucle, [this] { alTerminarEnvio(); }, Qt::QueuedConnection);
    }
    void cerrarVentana() override { terminar(); }

    std::unique_ptr<EnlaceImpresora> enlace;
    RelojesEnlace relojes;
    QEventLoop bucle;
    QString carpeta;
    ResultadoEnvioConsola resultado;
    std::function<void()> alTerminarEnvio;

private:
    QTextStream& mSalida;
    std::unique_ptr<SerialPort> mPuerto;
    QTimer mLimite;
    QElapsedTimer mReloj;
    bool mTerminado = false;
};

} // namespace

ResultadoEnvioConsola EnviarDisenoConsola(const Design& design, OpcionesEnvioConsola opciones,
                                          QTextStream& salida) {
    const QString dispositivo = opciones.dispositivo;
    SesionConsola s(opciones, LineaEnvio, salida);
    if (!s.enlace->Cargar(1, false)) {
        salida << dispositivo << Qt::endl;
        return s.resultado;
    }
    TransferenciaRaster raster(*s.enlace, design, s.carpeta);
    TransferenciaFont turno(*s.enlace, TipoFont::Turno(), s.carpeta);
    EnviarTodo todo(*s.enlace, raster, turno);
    s.relojes.asignar(Reloj::Raster, [&] { raster.tick(); });
    s.relojes.asignar(Reloj::FontTurno, [&] { turno.tick(); });

    const bool hayFont = QFile::exists(QDir(s.carpeta).filePath(TipoFont::Turno().archivo));
    bool terminado = false;
    s.alTerminarEnvio = [&] {
        if (!todo.activo() && !terminado) {
            terminado = true;
            // The sequence stops after the raster when it failed; otherwise after the font.
            s.resultado.rasterCompleto = todo.PasoEnviarTodo >= 3;
            const bool fontBien = todo.PasoEnviarTodo >= 3 && !s.enlace->ErrorEnvio;
            s.resultado.fontTurno = fontBien && hayFont;
            s.resultado.sinFontTurno = fontBien && !hayFont;
            s.terminar();
        }
    };
    todo.iniciar();
    s.correr();
    s.resultado.ok = s.resultado.rasterCompleto && (s.resultado.fontTurno || s.resultado.sinFontTurno) &&
                     !s.resultado.tiempoAgotado && !s.enlace->puertoPerdido();
    return s.resultado;
}

ResultadoEnvioConsola EnviarFechaHoraConsola(OpcionesEnvioConsola opciones, QTextStream& salida,
                                             TransferenciaFechaHora::FuenteHora ahora) {
    const QString dispositivo = opciones.dispositivo;
    SesionConsola s(opciones, LineaFechaHora, salida);
    if (!s.enlace->Cargar(1, false)) {
        salida << dispositivo << Qt::endl;
        return s.resultado;
    }
    TransferenciaFechaHora fechaHora(*s.enlace, std::move(ahora));
    s.relojes.asignar(Reloj::FechaHora, [&] { fechaHora.tick(); });
    fechaHora.iniciar();
    s.correr();
    // The frame has left once the transfer closed the port by itself.
    s.resultado.ok = !fechaHora.FechaHoraActivo && fechaHora.EstadoFechaHora == 1 &&
                     !s.resultado.tiempoAgotado && !s.enlace->puertoPerdido();
    return s.resultado;
}

} // namespace quoravex
