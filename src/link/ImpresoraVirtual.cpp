#include "ImpresoraVirtual.h"

#include "Trama.h"

#include <QTimer>
#include <algorithm>

namespace quoravex {

namespace {
constexpr uint8_t RespNak = 0x15;
constexpr uint8_t EstacionTransferencia = 1;
constexpr uint8_t EstacionReloj = 0;
constexpr int LargoMaximo = 511;

// Which font a command belongs to (0 turn, 1 date, 2 time) and its kind: 0 data,
// 1 character header or terminator, 2 raster block.
std::optional<std::pair<int, int>> comandoFont(uint8_t cmd) {
    for (int f = 0; f < 3; ++f) {
        const int base = 0x19 + 10 * f;
        if (cmd >= base && cmd <= base + 2) return std::pair{f, cmd - base};
    }
    return std::nullopt;
}

uint8_t byteEn(QByteArrayView v, qsizetype i) {
    return static_cast<uint8_t>(v[i]);
}

int leer16(QByteArrayView v, qsizetype i) {
    return byteEn(v, i) | (byteEn(v, i + 1) << 8);
}

// The value of digit bytes (0..9 each), or nullopt when one is not a digit.
std::optional<int> valorDigitos(QByteArrayView v) {
    int r = 0;
    for (const char c : v) {
        const auto d = static_cast<uint8_t>(c);
        if (d > 9) return std::nullopt;
        r = r * 10 + d;
    }
    return r;
}

QByteArray respuesta(uint8_t estacion, uint8_t comando, uint8_t estado, bool corta) {
    const QByteArray cuerpo{
        reinterpret_cast<const char*>(std::array<uint8_t, 4>{estacion, comando, 0x01, estado}.data()), 4};
    const QByteArray trama = ConstruirTrama(cuerpo, 4);
    return corta ? trama.left(3) : trama;
}

} // namespace

ImpresoraVirtual::ImpresoraVirtual(SerialPort& puerto, QObject* parent) : QObject(parent), mPuerto(puerto) {
    mReloj.start();
    mLatencia = new QTimer(this);
    mLatencia->setSingleShot(true);
    mLatencia->setTimerType(Qt::PreciseTimer);
    connect(mLatencia, &QTimer::timeout, this, &ImpresoraVirtual::responderVencidas);
    connect(&mPuerto, &SerialPort::received, this, &ImpresoraVirtual::alRecibir);
}

qsizetype ImpresoraVirtual::bytesEnBuffer() const {
    qsizetype n = mRecepcion.retenidos();
    for (const Pendiente& p : mPendientes)
        n += p.bytesTrama;
    return n;
}

void ImpresoraVirtual::alRecibir() {
    const QByteArray llegados = mPuerto.readAll();
    QByteArrayView resto(llegados);
    // Bytes go in no further than the end of the frame under way, so that a frame answered
    // at once makes room before the next bytes arrive.
    while (!resto.isEmpty()) {
        qsizetype paso = std::min(resto.size(), mRecepcion.faltan());
        if (capacidadBuffer > 0) {
            const qsizetype libre = capacidadBuffer - bytesEnBuffer();
            if (libre <= 0) {
                bytesPerdidos += resto.size();
                return;
            }
            paso = std::min(paso, libre);
        }
        mRecepcion.agregar(resto.first(paso));
        resto = resto.sliced(paso);
        tomarTramas();
    }
}

void ImpresoraVirtual::pausa() {
    for (const QByteArray& trama : mRecepcion.pausa())
        tomar(trama);
}

void ImpresoraVirtual::tomarTramas() {
    while (const auto trama = mRecepcion.siguiente())
        tomar(*trama);
}

void ImpresoraVirtual::tomar(const QByteArray& trama) {
    const auto comando = static_cast<uint8_t>(trama.at(1));
    if (!lineaCorrecta(comando)) {
        ++tramasIlegibles;
        return;
    }
    if (antesDeTrama) antesDeTrama(trama);
    if (const auto r = atender(trama)) responder(*r, trama.size());
    if (despuesDeTrama) despuesDeTrama();
}

bool ImpresoraVirtual::lineaCorrecta(uint8_t comando) const {
    const std::optional<ConfiguracionLinea> linea = lineaActual ? lineaActual() : std::nullopt;
    if (!linea) return true;
    return *linea == (comando == CmdFechaHora ? LineaFechaHora : LineaEnvio);
}

std::optional<QByteArray> ImpresoraVirtual::atender(const QByteArray& recibida) {
    QByteArray trama = recibida;
    if (fallos.ruido > 0) {
        --fallos.ruido;
        trama[3 % trama.size()] = static_cast<char>(trama.at(3 % trama.size()) ^ 0x10);
    }
    const auto estacion = static_cast<uint8_t>(trama.at(0));
    const auto comando = static_cast<uint8_t>(trama.at(1));
    const auto contestar = [&](uint8_t estado, bool corta = false) {
        return respuesta(estacion, comando, estado, corta);
    };
    if (fallos.silencio > 0) {
        --fallos.silencio;
        return std::nullopt;
    }
    const int n = static_cast<int>(trama.size()) - 2;
    const uint16_t crc = static_cast<uint8_t>(trama.at(n)) | (static_cast<uint8_t>(trama.at(n + 1)) << 8);
    if (Crc16(trama, n) != crc) {
        ++tramasDanadas;
        return contestar(RespRepetir);
    }
    if (fallos.rechazo > 0) {
        --fallos.rechazo;
        return contestar(RespRepetir);
    }
    const QByteArray cuerpo = trama.left(n);
    tramas.append(cuerpo);
    if (comando == CmdStatus)
        return contestar(estacion == EstacionTransferencia && n == 3 ? RespAck : RespRepetir);
    // A frame sent again because its answer was lost is answered but not stored twice; only
    // a frame that was accepted counts, so a refused frame stays refused.
    if (cuerpo != mUltima) {
        if (!guardar(cuerpo)) return contestar(RespRepetir);
        mUltima = cuerpo;
    }
    if (fallos.procesando > 0) {
        --fallos.procesando;
        return contestar(RespProcesando);
    }
    if (fallos.respuestaCorta > 0) {
        --fallos.respuestaCorta;
        return contestar(RespAck, true);
    }
    if (fallos.otroEstado > 0) {
        --fallos.otroEstado;
        return contestar(RespNak);
    }
    return contestar(RespAck);
}

bool ImpresoraVirtual::guardar(const QByteArray& t) {
    const auto estacion = static_cast<uint8_t>(t.at(0));
    const auto comando = static_cast<uint8_t>(t.at(1));
    const QByteArrayView cuerpo = QByteArrayView(t).sliced(3);
    if (cuerpo.size() != static_cast<uint8_t>(t.at(2))) return false;
    // Every printer takes the clock (station 0); the rest is for printer 1.
    if (estacion != (comando == CmdFechaHora ? EstacionReloj : EstacionTransferencia)) return false;
    switch (comando) {
    case CmdBorrado:
        return guardarBorrado(cuerpo);
    case CmdBloqueRaster:
        return guardarRaster(cuerpo);
    case CmdFechaHora:
        return guardarFechaHora(cuerpo);
    default:
        break;
    }
    if (const auto f = comandoFont(comando)) return guardarFont(f->first, f->second, cuerpo);
    return false;
}

bool ImpresoraVirtual::guardarBorrado(QByteArrayView cuerpo) {
    if (cuerpo.size() != 6 || byteEn(cuerpo, 0) != 0x5A || byteEn(cuerpo, 1) != 0xA5) return false;
    const int largo = leer16(cuerpo, 2);
    const int teclado = leer16(cuerpo, 4);
    // Keyboard models 1..3, with up to 16 push-buttons in the high nibble.
    const int modelo = teclado & 0x0F;
    if (largo < 1 || largo > LargoMaximo || teclado > 0xFF || modelo < 1 || modelo > 3) return false;
    largoTicket = static_cast<int16_t>(largo);
    codigoTeclado = teclado;
    ++borrados;
    rasters.clear();
    return true;
}

bool ImpresoraVirtual::guardarRaster(QByteArrayView cuerpo) {
    // Raster files are taken only into a memory erased for them, one per push-button that
    // the erase frame announced, and each is closed by its end block.
    if (borrados == 0 || cuerpo.size() < 4) return false;
    const int h = byteEn(cuerpo, 0);
    if (h > PulsadoresDeTeclado(codigoTeclado)) return false;
    const auto it = rasters.find(h);
    if (it != rasters.end() && it->second.completo) return false;
    const int c = byteEn(cuerpo, 3);
    if (c == 0 && cuerpo.size() == 4) {
        const int largo = (byteEn(cuerpo, 1) << 8) | byteEn(cuerpo, 2);
        if (largo != largoTicket) return false;
        RasterRecibido& r = rasters[h];
        r.cabecera = static_cast<uint8_t>(h);
        r.completo = true;
        r.largo = static_cast<int16_t>(largo);
        return true;
    }
    if (c == 0 || cuerpo.size() != 4 + c) return false;
    RasterRecibido& r = rasters[h];
    r.cabecera = static_cast<uint8_t>(h);
    r.registros.append(cuerpo.sliced(1).toByteArray());
    return true;
}

bool ImpresoraVirtual::guardarFechaHora(QByteArrayView cuerpo) {
    if (cuerpo.size() != 15) return false;
    const auto anio = valorDigitos(cuerpo.sliced(0, 4)), mes = valorDigitos(cuerpo.sliced(4, 2)),
               diaSemana = valorDigitos(cuerpo.sliced(6, 1)), dia = valorDigitos(cuerpo.sliced(7, 2)),
               hora = valorDigitos(cuerpo.sliced(9, 2)), minuto = valorDigitos(cuerpo.sliced(11, 2)),
               segundo = valorDigitos(cuerpo.sliced(13, 2));
    if (!anio || !mes || !diaSemana || !dia || !hora || !minuto || !segundo) return false;
    const QDate fecha(*anio, *mes, *dia);
    const QTime tiempo(*hora, *minuto, *segundo);
    // The weekday goes 1 (Sunday) to 7 (Saturday) and must be the date's.
    if (!fecha.isValid() || !tiempo.isValid() || fecha.dayOfWeek() % 7 + 1 != *diaSemana) return false;
    fechaHora = QDateTime(fecha, tiempo);
    return true;
}

bool ImpresoraVirtual::guardarFont(int indice, int tipo, QByteArrayView cuerpo) {
    if (tipo == 0) {
        if (cuerpo.size() != 8) return false;
        fonts[indice] = FontRecibida{cuerpo.toByteArray(), {}, false, 0};
        return true;
    }
    const auto it = fonts.find(indice);
    if (it == fonts.end() || it->second.completa) return false; // no font data announced this font
    FontRecibida& font = it->second;
    if (tipo == 1) {
        // A character header or the terminator ends the previous character, whose records
        // must have added up to the total its header announced.
        if (font.faltan != 0) return false;
        if (cuerpo.size() == 1 && byteEn(cuerpo, 0) == 0xFF) {
            font.completa = true;
            return true;
        }
        if (cuerpo.size() != 5) return false;
        font.faltan = leer16(cuerpo, 3);
        font.caracteres.append(cuerpo.toByteArray());
        return true;
    }
    // A raster record: b1, b2, n and n bytes, within what its character announced.
    if (cuerpo.size() < 3 || cuerpo.size() != 3 + byteEn(cuerpo, 2) || cuerpo.size() > font.faltan)
        return false;
    font.faltan -= static_cast<int>(cuerpo.size());
    font.caracteres.append(cuerpo.toByteArray());
    return true;
}

void ImpresoraVirtual::responder(const QByteArray& r, qsizetype bytesTrama) {
    if (latenciaMs <= 0 && mPendientes.isEmpty()) {
        mPuerto.write(r);
        return;
    }
    mPendientes.append({ahoraMs() + latenciaMs, r, bytesTrama});
    programarLatencia();
}

qint64 ImpresoraVirtual::ahoraMs() const {
    return relojMs ? relojMs() : mReloj.elapsed();
}

void ImpresoraVirtual::responderVencidas() {
    const qint64 ahora = ahoraMs();
    // Every answer waits as long, so they are due in the order they were queued.
    while (!mPendientes.isEmpty() && mPendientes.first().cuandoMs <= ahora)
        mPuerto.write(mPendientes.takeFirst().respuesta);
    programarLatencia();
}

void ImpresoraVirtual::programarLatencia() {
    if (mPendientes.isEmpty()) {
        mLatencia->stop();
        return;
    }
    const qint64 ahora = ahoraMs();
    mLatencia->start(static_cast<int>(std::max<qint64>(mPendientes.first().cuandoMs - ahora, 0)));
}

} // namespace quoravex
