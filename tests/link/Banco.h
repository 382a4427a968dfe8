#pragma once

#include "ParPuertos.h"
#include "document/Design.h"
#include "link/EnviarTodo.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "support/Bytes.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quoravex::test {

using quoravex::pruebas::Bytes;

constexpr uint8_t Ack = 0x06, Procesando = 0x07, Repetir = 0x0F, Nak = 0x15;
const QString ErrorComunicacion = QStringLiteral("Error de comunicación con Impresora");
const QString TimeOut = QStringLiteral("  R -> TIME OUT");

// Virtual time for the link's timers and for what the printer does, in milliseconds. At the same moment
// events run first, then timers in the order of Reloj.
class RelojFalso {
public:
    int64_t ahora = 0;
    std::map<Reloj, std::function<void()>> ticks; // what each timer calls when it fires

    // Timer r restarts with this interval, or stops when it is 0 or less.
    void reiniciar(Reloj r, int ms) {
        const uint64_t g = ++mGeneracion[r];
        if (ms > 0) disparar(r, g, ms, ahora + ms);
    }
    void programar(int64_t cuando, std::function<void()> f) {
        mEventos.emplace(std::pair{cuando, 0}, std::move(f));
    }
    // Runs until fin() holds, nothing is left to run, or the limit is reached.
    bool correr(const std::function<bool()>& fin, int64_t limiteMs) {
        while (!fin()) {
            if (mEventos.empty() || mEventos.begin()->first.first > limiteMs) return false;
            ahora = std::max(ahora, mEventos.begin()->first.first);
            const auto f = std::move(mEventos.begin()->second);
            mEventos.erase(mEventos.begin());
            f();
        }
        return true;
    }

private:
    // A timer goes on periodically until it is restarted or stopped.
    void disparar(Reloj r, uint64_t g, int ms, int64_t cuando) {
        mEventos.emplace(std::pair{cuando, 1 + static_cast<int>(r)}, [=, this] {
            if (mGeneracion[r] != g) return;
            if (ticks[r]) ticks[r]();
            if (mGeneracion[r] == g) disparar(r, g, ms, ahora + ms);
        });
    }
    std::multimap<std::pair<int64_t, int>, std::function<void()>> mEventos;
    std::map<Reloj, uint64_t> mGeneracion;
};

struct MensajeVisto {
    QString texto, titulo;
};

// Keeps everything the link showed; its timers run on the virtual clock.
class RecordingSink : public LinkSink {
public:
    void log(const QString& linea) override { lineas.append(linea); }
    void barra(int i, int porcentaje) override { barras[i] = porcentaje; }
    void cursorOcupado(bool o) override { ocupado = o; }
    void mensaje(const QString& texto, const QString& titulo) override { mensajes.append({texto, titulo}); }
    void indicador(bool) override {}
    void reloj(Reloj r, int ms) override {
        relojes[r] = ms;
        falso.reiniciar(r, ms);
    }
    void pitido() override { ++pitidos; }
    void inicioHabilitado(bool h) override { inicio = h; }
    void cerrarVentana() override { ++cierres; }

    // The interval timer r was last given (0 stopped), or -1 when it never was.
    int intervalo(Reloj r) const { return relojes.count(r) ? relojes.at(r) : -1; }
    int contar(const QString& linea) const { return static_cast<int>(lineas.count(linea)); }

    RelojFalso falso;
    QStringList lineas;
    QList<MensajeVisto> mensajes;
    std::map<int, int> barras;
    std::map<Reloj, int> relojes;
    bool ocupado = false, inicio = true;
    int pitidos = 0, cierres = 0;
};

// The kind of a frame: E erase, B raster block, F end block, S status request, D font data, H character
// header, R font raster block, T font terminator.
inline char Clase(const QByteArray& t, const TipoFont& k = TipoFont::Turno()) {
    const auto c = static_cast<uint8_t>(t.at(1));
    return c == CmdBorrado        ? 'E'
           : c == CmdStatus       ? 'S'
           : c == 0x15            ? (t.at(2) == 4 ? 'F' : 'B')
           : c == k.comandoDatos  ? 'D'
           : c == k.comandoRaster ? 'R'
           : t.at(3) == '\xFF'    ? 'T'
                                  : 'H';
}

// Answers each frame with a status, or with silence for nullopt.
using Impresora = std::function<std::optional<uint8_t>(const QByteArray& trama)>;

// The statuses of the list in turn, then ACK once the list is used up.
inline Impresora Guion(std::initializer_list<std::optional<uint8_t>> estados) {
    return [v = std::vector(estados), n = std::make_shared<size_t>(0)](const QByteArray&) {
        return *n < v.size() ? v[(*n)++] : Ack;
    };
}

// The first frame of these kinds gets the status (every one with `siempre`), the rest ACK.
inline Impresora PorClase(std::string_view clases, std::optional<uint8_t> estado, bool siempre = false) {
    auto primera = std::make_shared<bool>(true);
    return [=](const QByteArray& t) -> std::optional<uint8_t> {
        if (clases.find(Clase(t)) == clases.npos || !(*primera || siempre)) return Ack;
        *primera = false;
        return estado;
    };
}

// A letter followed by a number stands for that many of the letter: "DH3" is "DHHH".
inline std::string Letras(const char* s) {
    std::string r;
    for (char* fin = nullptr; *s; s = fin) {
        const char letra = *s;
        const long n = std::strtol(s + 1, &fin, 10);
        r.append(fin == s + 1 ? 1 : n, letra);
    }
    return r;
}

// A transfer window without the window, on virtual time: the link, the raster, a font and the send-all
// sequence over a folder of data files. What the link writes leaves at once and is answered by the scripted
// printer `guion`, `latencia` ms later.
struct Banco {
    explicit Banco(int tickMs = AjustesTick::PorDefecto, const TipoFont& tipo = TipoFont::Turno())
        : enlace(puerto, sink, LineaEnvio, AjustesTick{tickMs}), font(enlace, tipo, dir.path()) {
        reloj.ticks[Reloj::TOut] = [this] { enlace.tickTOut(); };
        reloj.ticks[Reloj::Raster] = [this] { raster.tick(); };
        reloj.ticks[tipo.reloj] = [this] { font.tick(); };
        puerto.alEscribir = [this](const QByteArray& t) { alEscribir(t); };
        enlace.Cargar(1, false);
    }

    void escribir(const QString& nombre, const QByteArray& datos) {
        pruebas::Escribir(QDir(dir.path()).filePath(nombre), datos);
    }
    // Runs the virtual clock until the send-all sequence ends, or when none runs, the transfer that does;
    // false when the limit came first.
    bool correr(int64_t limiteMs = 3600 * 1000) {
        const bool todoActivo = todo.activo();
        return reloj.correr(
            [&] { return todoActivo ? !todo.activo() : !raster.RasterActivo && !font.FontActivo; },
            reloj.ahora + limiteMs);
    }
    // Frames written so far, without their CRC, and their kinds.
    QList<QByteArray> cuerpos() const {
        QList<QByteArray> r;
        for (const QByteArray& t : puerto.escritos)
            r.append(t.chopped(2));
        return r;
    }
    std::string secuencia() const {
        std::string s;
        for (const QByteArray& t : puerto.escritos)
            s += Clase(t, font.tipo());
        return s;
    }
    // A reply of the printer: a whole frame carrying this status in its fourth byte.
    static QByteArray Respuesta(uint8_t estado) {
        return ConstruirTrama(Bytes({0x01, 0x55, 0x01, estado}), 4);
    }

    QTemporaryDir dir;
    RecordingSink sink;
    RelojFalso& reloj = sink.falso;
    PuertoEnlazado puerto; // closing keeps what is on the wire
    Design design;
    EnlaceImpresora enlace;
    TransferenciaRaster raster{enlace, design, dir.path()};
    TransferenciaFont font;
    EnviarTodo todo{enlace, raster, font};
    Impresora guion = Guion({});
    int latencia = 0; // ms from a frame leaving to its reply

private:
    void alEscribir(const QByteArray& trama) {
        reloj.programar(reloj.ahora, [this] { puerto.drain(); });
        if (const auto estado = guion ? guion(trama) : std::nullopt)
            reloj.programar(reloj.ahora + latencia, [this, r = Respuesta(*estado)] { puerto.receive(r); });
    }
};

} // namespace quoravex::test
