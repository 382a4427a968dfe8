#include "FlotaEnvio.h"

#include "PuertoSerie.h"
#include "RelojesEnlace.h"
#include "link/EnviarTodo.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <vector>

namespace quoravex {

namespace {

// What a session needs besides its port.
struct ParametrosSesion {
    QString puerto;
    ConfiguracionLinea linea;
    AjustesTick ajustes;
    QString carpeta;
    int limiteMs = 0;
    QTextStream* registro = nullptr;
    QString archivoRegistro; // empty: no file of its own
};

// The console's stand-in for a transfer window: log lines and messages go to the
// session's streams, the clocks are real timers and closing the window ends the session.
// It runs in whatever event loop is running; whoever started it is told once it ends.
class SesionConsola : public QObject, public LinkSink {
public:
    SesionConsola(std::unique_ptr<SerialPort> puerto, const ParametrosSesion& p)
        : mPuerto(std::move(puerto)), mNombre(p.puerto), mRegistro(p.registro), mLimiteMs(p.limiteMs) {
        enlace = std::make_unique<EnlaceImpresora>(*mPuerto, *this, p.linea, p.ajustes);
        enlace->fijarNombrePuerto(p.puerto);
        relojes.asignar(Reloj::TOut, [this] { enlace->tickTOut(); });
        relojes.asignar(Reloj::Intermitencia, [this] { enlace->tickIntermitencia(); });
        carpeta = p.carpeta.isEmpty() ? QDir::currentPath() : p.carpeta;
        if (!p.archivoRegistro.isEmpty()) {
            mArchivo.setFileName(p.archivoRegistro);
            if (mArchivo.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
                mTextoArchivo.setDevice(&mArchivo);
        }
        mLimite.setSingleShot(true);
        connect(&mLimite, &QTimer::timeout, this, [this] {
            resultado.tiempoAgotado = true;
            mensaje(QStringLiteral("Tiempo agotado sin terminar el envío"),
                    QStringLiteral("Error comunicación"));
            terminar();
        });
    }
    ~SesionConsola() override {
        relojes.detenerTodos();
        enlace.reset(); // it closes the port, which must still be there
    }

    // The port gets ready, then the work starts; `alTerminar` is called once on `contexto`,
    // in a later turn of the event loop, when the session has ended.
    void arrancar(QObject* contexto, std::function<void()> alTerminar) {
        mContexto = contexto;
        mAlTerminar = std::move(alTerminar);
        mReloj.start();
        mLimite.start(mLimiteMs);
        PrepararPuerto(*mPuerto, this, [this] {
            if (!mTerminado) abrir();
        });
    }

    // Stops the clocks, closes the port and says how the session went.
    ResultadoEnvioConsola concluir() {
        relojes.detenerTodos();
        mLimite.stop();
        enlace->CerrarPuerto();
        resultado.duracionMs = mReloj.elapsed();
        resultado.repeticiones = enlace->repeticiones();
        resultado.ok = mAbierto && trabajoCompleto() && !resultado.tiempoAgotado && !enlace->puertoPerdido();
        if (!resultado.ok) {
            // The port's own reason names what failed better than the link's message.
            QString error = !mErrorPuerto.isEmpty() ? mErrorPuerto : resultado.mensajes.value(0);
            if (error.isEmpty()) error = QStringLiteral("El envío no ha terminado");
            // A device's reason starts with its name, which the printer's line gives already.
            if (const QString prefijo = mNombre + QStringLiteral(": "); error.startsWith(prefijo))
                error.remove(0, prefijo.size());
            resultado.error = error.replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        return resultado;
    }

    void log(const QString& linea) override { escribir(linea); }
    void barra(int, int) override {}
    void cursorOcupado(bool) override {}
    void mensaje(const QString& texto, const QString& titulo) override {
        resultado.mensajes.append(texto);
        escribir(titulo + QStringLiteral(": ") + texto);
    }
    void indicador(bool) override {}
    void reloj(Reloj r, int intervaloMs) override { relojes.reiniciar(r, intervaloMs); }
    void pitido() override {}
    void inicioHabilitado(bool) override {}
    void cerrarVentana() override {
        if (enlace->puertoPerdido() && mErrorPuerto.isEmpty()) mErrorPuerto = mPuerto->ultimoError();
        terminar();
    }

protected:
    // The work, once the port is open.
    virtual void trabajar() = 0;
    // Whether the work went through, once the session has ended.
    virtual bool trabajoCompleto() const = 0;

    // The session ends; whoever started it is told in a later turn of the event loop.
    void terminar() {
        if (mTerminado) return;
        mTerminado = true;
        relojes.detenerTodos();
        if (mContexto && mAlTerminar) QMetaObject::invokeMethod(mContexto, mAlTerminar, Qt::QueuedConnection);
    }

    std::unique_ptr<EnlaceImpresora> enlace;
    RelojesEnlace relojes;
    QString carpeta;
    ResultadoEnvioConsola resultado;

private:
    void abrir() {
        if (!enlace->Cargar(1, false)) {
            mErrorPuerto = mPuerto->ultimoError();
            escribir(mNombre);
            if (!mErrorPuerto.isEmpty()) escribir(mErrorPuerto);
            terminar();
            return;
        }
        mAbierto = true;
        trabajar();
    }
    void escribir(const QString& linea) {
        if (mRegistro) *mRegistro << linea << Qt::endl;
        if (mTextoArchivo.device()) mTextoArchivo << linea << Qt::endl;
    }

    std::unique_ptr<SerialPort> mPuerto;
    QString mNombre;
    QTextStream* mRegistro;
    QFile mArchivo;
    QTextStream mTextoArchivo;
    int mLimiteMs;
    QTimer mLimite;
    QElapsedTimer mReloj;
    QObject* mContexto = nullptr;
    std::function<void()> mAlTerminar;
    QString mErrorPuerto; // the port's reason for a failed open or a lost port
    bool mAbierto = false;
    bool mTerminado = false;
};

// "IniciarEnvio": the raster files, then the turn-number font.
class SesionDiseno : public SesionConsola {
public:
    SesionDiseno(const Design& design, std::unique_ptr<SerialPort> puerto, const ParametrosSesion& p)
        : SesionConsola(std::move(puerto), p), mDesign(design) {}
    ~SesionDiseno() override {
        relojes.detenerTodos();
        mTodo.reset();
        mTurno.reset();
        mRaster.reset();
    }

    void inicioHabilitado(bool habilitado) override {
        // The send-all sequence enables its button as it ends: looked at once it has.
        if (habilitado && mTodo)
            QMetaObject::invokeMethod(
                this, [this] { alTerminarEnvio(); }, Qt::QueuedConnection);
    }

protected:
    void trabajar() override {
        mRaster.emplace(*enlace, mDesign, carpeta);
        mTurno.emplace(*enlace, TipoFont::Turno(), carpeta);
        mTodo.emplace(*enlace, *mRaster, *mTurno);
        relojes.asignar(Reloj::Raster, [this] { mRaster->tick(); });
        relojes.asignar(Reloj::FontTurno, [this] { mTurno->tick(); });
        mHayFont = QFile::exists(QDir(carpeta).filePath(TipoFont::Turno().archivo));
        mTodo->iniciar();
    }
    bool trabajoCompleto() const override {
        return resultado.rasterCompleto && (resultado.fontTurno || resultado.sinFontTurno);
    }

private:
    void alTerminarEnvio() {
        if (mTodo->activo() || mVisto) return;
        mVisto = true;
        // The sequence stops after the raster when it failed; otherwise after the font.
        resultado.rasterCompleto = mTodo->PasoEnviarTodo >= 3;
        const bool fontBien = mTodo->PasoEnviarTodo >= 3 && !enlace->ErrorEnvio;
        resultado.fontTurno = fontBien && mHayFont;
        resultado.sinFontTurno = fontBien && !mHayFont;
        terminar();
    }

    const Design& mDesign;
    std::optional<TransferenciaRaster> mRaster;
    std::optional<TransferenciaFont> mTurno;
    std::optional<EnviarTodo> mTodo;
    bool mHayFont = false;
    bool mVisto = false;
};

// The date-and-time frame; the transfer closes the window once it has left.
class SesionFechaHora : public SesionConsola {
public:
    SesionFechaHora(TransferenciaFechaHora::FuenteHora ahora, std::unique_ptr<SerialPort> puerto,
                    const ParametrosSesion& p)
        : SesionConsola(std::move(puerto), p), mAhora(std::move(ahora)) {}
    ~SesionFechaHora() override {
        relojes.detenerTodos();
        mFechaHora.reset();
    }

protected:
    void trabajar() override {
        // The printer does not answer the clock frame: it left, and that is all one can know.
        resultado.sinConfirmacion = true;
        mFechaHora.emplace(*enlace, mAhora);
        relojes.asignar(Reloj::FechaHora, [this] { mFechaHora->tick(); });
        mFechaHora->iniciar();
    }
    bool trabajoCompleto() const override {
        return mFechaHora && !mFechaHora->FechaHoraActivo && mFechaHora->EstadoFechaHora == 1;
    }

private:
    TransferenciaFechaHora::FuenteHora mAhora;
    std::optional<TransferenciaFechaHora> mFechaHora;
};

using CrearSesion =
    std::function<std::unique_ptr<SesionConsola>(std::unique_ptr<SerialPort>, const ParametrosSesion&)>;
// Why a port cannot do the work at all, before anything is sent to it; empty when it can.
using Rechazo = std::function<QString(int indice, const QString& puerto)>;

// Runs one session per port in one event loop, at most `paralelo` at a time. Ports that
// `rechazar` refuses, or that o.rechazos gives a reason for, fail at once with it.
ResultadoFlota Correr(const OpcionesFlota& o, const ConfiguracionLinea& linea, const CrearSesion& crear,
                      const Rechazo& rechazar = {}) {
    ResultadoFlota r;
    const int n = static_cast<int>(o.puertos.size());
    for (qsizetype i = 0; i < o.puertos.size(); ++i)
        r.impresoras.append({o.puertos.at(i), {}, o.etiquetas.value(i)});
    if (n == 0) return r;
    const QStringList archivos = o.carpetaRegistros.isEmpty() ? QStringList() : NombresRegistro(o.puertos);
    const int paralelo = std::max(1, o.paralelo);

    QObject contexto;
    QEventLoop bucle;
    std::vector<std::unique_ptr<SesionConsola>> sesiones(static_cast<size_t>(n));
    int siguiente = 0, activas = 0, terminadas = 0;
    std::function<void()> lanzar = [&] {
        while (activas < paralelo && siguiente < n) {
            const int i = siguiente++;
            QString motivo = o.rechazos.value(i);
            if (motivo.isEmpty() && rechazar) motivo = rechazar(i, o.puertos.at(i));
            if (!motivo.isEmpty()) {
                r.impresoras[i].envio.error = motivo;
                r.impresoras[i].envio.mensajes = {motivo};
                ++terminadas;
                if (o.alTerminar) o.alTerminar(r.impresoras.at(i));
                continue;
            }
            ++activas;
            ParametrosSesion p;
            p.puerto = o.puertos.at(i);
            p.linea = linea;
            p.ajustes = o.ajustes;
            p.carpeta = o.carpetas.isEmpty() ? o.carpeta : o.carpetas.value(i);
            p.limiteMs = o.limiteMs;
            p.registro = o.registro;
            if (!archivos.isEmpty()) p.archivoRegistro = QDir(o.carpetaRegistros).filePath(archivos.at(i));
            auto puerto = o.crearPuerto ? o.crearPuerto(p.puerto) : CrearPuertoSerie(p.puerto);
            auto& sesion = sesiones[static_cast<size_t>(i)];
            sesion = crear(std::move(puerto), p);
            sesion->arrancar(&contexto, [&, i] {
                auto& s = sesiones[static_cast<size_t>(i)];
                r.impresoras[i].envio = s->concluir();
                s.reset();
                --activas;
                ++terminadas;
                if (o.alTerminar) o.alTerminar(r.impresoras.at(i));
                lanzar();
                if (terminadas == n) bucle.quit();
            });
        }
    };
    lanzar();
    if (terminadas < n) bucle.exec();
    return r;
}

} // namespace

bool ResultadoFlota::ok() const {
    return std::all_of(impresoras.begin(), impresoras.end(),
                       [](const ResultadoImpresora& i) { return i.envio.ok; });
}

QStringList ResultadoFlota::fallidos() const {
    QStringList r;
    for (const ResultadoImpresora& i : impresoras)
        if (!i.envio.ok) r << i.puerto;
    return r;
}

ResultadoFlota EnviarDisenoFlota(const Design& design, OpcionesFlota opciones) {
    return Correr(opciones, LineaEnvio,
                  [&design](std::unique_ptr<SerialPort> puerto, const ParametrosSesion& p) {
                      return std::make_unique<SesionDiseno>(design, std::move(puerto), p);
                  });
}

ResultadoFlota EnviarFechaHoraFlota(OpcionesFlota opciones, TransferenciaFechaHora::FuenteHora ahora) {
    return Correr(
        opciones, LineaFechaHora,
        [&ahora](std::unique_ptr<SerialPort> puerto, const ParametrosSesion& p) {
            return std::make_unique<SesionFechaHora>(ahora, std::move(puerto), p);
        },
        [](int, const QString& puerto) {
            // A raw socket carries bytes at whatever speed its server has: the clock frame
            // would reach the printer at 19200 baud and be lost.
            if (!puerto.trimmed().startsWith(QStringLiteral("socket://"), Qt::CaseInsensitive)) return QString();
            return QStringLiteral("un puerto socket:// no puede cambiar la velocidad de la línea; la hora necesita "
                                  "1200 baudios: use rfc2217://");
        });
}

QStringList NombresRegistro(const QStringList& puertos, QStringList* acortados) {
    // File systems take 255 bytes a name; room is left for "-NN.log".
    constexpr qsizetype LargoMaximo = 200;
    QStringList nombres;
    QSet<QString> usados;
    for (const QString& puerto : puertos) {
        QString base;
        for (const QChar c : puerto) {
            const bool segura = (c.unicode() < 128 && c.isLetterOrNumber()) || c == QLatin1Char('.') ||
                                c == QLatin1Char('-') || c == QLatin1Char('_');
            base += segura ? c : QLatin1Char('_');
        }
        // "/dev/pts/3" becomes "dev_pts_3"; a name never starts with a dot or a dash.
        base = base.split(QLatin1Char('_'), Qt::SkipEmptyParts).join(QLatin1Char('_'));
        if (base.isEmpty() || base.startsWith(QLatin1Char('.')) || base.startsWith(QLatin1Char('-')))
            base.prepend(QStringLiteral("puerto_"));
        if (base.size() > LargoMaximo) {
            const QByteArray resumen =
                QCryptographicHash::hash(puerto.toUtf8(), QCryptographicHash::Sha256).left(4).toHex();
            base = base.left(LargoMaximo - 9) + QLatin1Char('-') + QString::fromLatin1(resumen);
            if (acortados) *acortados << puerto;
        }
        QString nombre = base + QStringLiteral(".log");
        for (int k = 2; usados.contains(nombre.toLower()); ++k)
            nombre = QStringLiteral("%1-%2.log").arg(base).arg(k);
        usados.insert(nombre.toLower());
        nombres << nombre;
    }
    return nombres;
}

namespace {

QString Segundos(qint64 ms) {
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1);
}

} // namespace

QString TextoResultado(const ResultadoEnvioConsola& r) {
    if (!r.ok) return r.error;
    return r.sinConfirmacion ? QStringLiteral("enviado (sin confirmación)") : QStringLiteral("correcto");
}

QString LineaResultado(const ResultadoImpresora& r) {
    if (!r.envio.ok) return r.puerto + QStringLiteral(": ") + r.envio.error;
    return QStringLiteral("%1: %2 (%3 s, %4 %5)")
        .arg(r.puerto, TextoResultado(r.envio), Segundos(r.envio.duracionMs), QString::number(r.envio.repeticiones),
             r.envio.repeticiones == 1 ? QStringLiteral("repetición") : QStringLiteral("repeticiones"));
}

QString TablaResultados(const QList<ResultadoImpresora>& impresoras, const QString& tituloEtiqueta) {
    const QString puerto = QStringLiteral("Puerto"), resultado = QStringLiteral("Resultado"),
                  segundos = QStringLiteral("Segundos"), repeticiones = QStringLiteral("Repeticiones");
    const bool conEtiqueta = !tituloEtiqueta.isEmpty();
    auto textoResultado = [](const ResultadoImpresora& i) { return TextoResultado(i.envio); };
    qsizetype anchoPuerto = puerto.size(), anchoResultado = resultado.size(), anchoEtiqueta = tituloEtiqueta.size();
    for (const ResultadoImpresora& i : impresoras) {
        anchoPuerto = std::max(anchoPuerto, i.puerto.size());
        anchoResultado = std::max(anchoResultado, textoResultado(i).size());
        anchoEtiqueta = std::max(anchoEtiqueta, i.etiqueta.size());
    }
    auto fila = [&](const QString& a, const QString& e, const QString& b, const QString& c, const QString& d) {
        return a.leftJustified(anchoPuerto) + QStringLiteral("  ") +
               (conEtiqueta ? e.leftJustified(anchoEtiqueta) + QStringLiteral("  ") : QString()) +
               b.leftJustified(anchoResultado) + QStringLiteral("  ") + c.rightJustified(segundos.size()) +
               QStringLiteral("  ") + d.rightJustified(repeticiones.size()) + QLatin1Char('\n');
    };
    QString tabla = fila(puerto, tituloEtiqueta, resultado, segundos, repeticiones);
    for (const ResultadoImpresora& i : impresoras)
        tabla += fila(i.puerto, i.etiqueta, textoResultado(i), Segundos(i.envio.duracionMs),
                      QString::number(i.envio.repeticiones));
    return tabla;
}

} // namespace quoravex
