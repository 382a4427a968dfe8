#include "ImpresoraVirtual.h"

#include "Trama.h"

namespace quoravex {

namespace {
constexpr uint8_t RespNak = 0x15;

// Which font a command belongs to (0 turn, 1 date, 2 time) and its kind: 0 data,
// 1 character header or terminator, 2 raster block.
std::optional<std::pair<int, int>> comandoFont(uint8_t cmd) {
    for (int f = 0; f < 3; ++f) {
        const int base = 0x19 + 10 * f;
        if (cmd >= base && cmd <= base + 2) return std::pair{f, cmd - base};
    }
    return std::nullopt;
}

int valorDigitos(QByteArrayView v) {
    int r = 0;
    for (const char c : v)
        r = r * 10 + static_cast<uint8_t>(c);
    return r;
}
} // namespace

ImpresoraVirtual::ImpresoraVirtual(SerialPort& puerto, QObject* parent) : QObject(parent), mPuerto(puerto) {
    connect(&mPuerto, &SerialPort::received, this, &ImpresoraVirtual::alRecibir);
}

void ImpresoraVirtual::alRecibir() {
    mEntrada.append(mPuerto.readAll());
    // A frame is address, command, length, payload and two CRC bytes.
    while (mEntrada.size() >= 3) {
        const int total = 3 + static_cast<uint8_t>(mEntrada.at(2)) + 2;
        if (mEntrada.size() < total) return;
        const QByteArray trama = mEntrada.left(total);
        mEntrada.remove(0, total);
        procesar(trama);
    }
}

void ImpresoraVirtual::procesar(const QByteArray& recibida) {
    QByteArray trama = recibida;
    if (fallos.ruido > 0) {
        --fallos.ruido;
        trama[3 % trama.size()] = static_cast<char>(trama.at(3 % trama.size()) ^ 0x10);
    }
    const auto estacion = static_cast<uint8_t>(trama.at(0));
    const auto comando = static_cast<uint8_t>(trama.at(1));
    if (fallos.silencio > 0) {
        --fallos.silencio;
        return;
    }
    const int n = static_cast<int>(trama.size()) - 2;
    const uint16_t crc = static_cast<uint8_t>(trama.at(n)) | (static_cast<uint8_t>(trama.at(n + 1)) << 8);
    if (Crc16(trama, n) != crc) {
        ++tramasDanadas;
        responder(estacion, comando, RespRepetir);
        return;
    }
    if (fallos.rechazo > 0) {
        --fallos.rechazo;
        responder(estacion, comando, RespRepetir);
        return;
    }
    const QByteArray cuerpo = trama.left(n);
    tramas.append(cuerpo);
    if (comando == CmdStatus) {
        responder(estacion, comando, RespAck);
        return;
    }
    // A frame sent again because its answer was lost is answered but not stored twice.
    const bool repetida = cuerpo == mUltima;
    mUltima = cuerpo;
    if (!repetida && !guardar(cuerpo)) {
        responder(estacion, comando, RespRepetir);
        return;
    }
    if (fallos.procesando > 0) {
        --fallos.procesando;
        responder(estacion, comando, RespProcesando);
    } else if (fallos.respuestaCorta > 0) {
        --fallos.respuestaCorta;
        responder(estacion, comando, RespAck, true);
    } else if (fallos.otroEstado > 0) {
        --fallos.otroEstado;
        responder(estacion, comando, RespNak);
    } else {
        responder(estacion, comando, RespAck);
    }
}

bool ImpresoraVirtual::guardar(const QByteArray& t) {
    const auto comando = static_cast<uint8_t>(t.at(1));
    const QByteArrayView cuerpo = QByteArrayView(t).sliced(3);
    if (cuerpo.size() != static_cast<uint8_t>(t.at(2))) return false;
    if (comando == CmdBorrado && cuerpo.size() == 6) {
        largoTicket =
            static_cast<int16_t>(static_cast<uint8_t>(cuerpo[2]) | (static_cast<uint8_t>(cuerpo[3]) << 8));
        codigoTeclado = static_cast<uint8_t>(cuerpo[4]) | (static_cast<uint8_t>(cuerpo[5]) << 8);
        ++borrados;
        rasters.clear();
        return true;
    }
    if (comando == CmdBloqueRaster && cuerpo.size() >= 4) {
        RasterRecibido& r = rasters[static_cast<uint8_t>(cuerpo[0])];
        r.cabecera = static_cast<uint8_t>(cuerpo[0]);
        const auto c = static_cast<uint8_t>(cuerpo[3]);
        if (c == 0 && cuerpo.size() == 4) {
            r.completo = true;
            r.largo = static_cast<int16_t>((static_cast<uint8_t>(cuerpo[1]) << 8) |
                                           static_cast<uint8_t>(cuerpo[2]));
            return true;
        }
        if (cuerpo.size() != 4 + c) return false;
        r.registros.append(cuerpo.sliced(1).toByteArray());
        return true;
    }
    if (comando == CmdFechaHora && cuerpo.size() == 15) {
        const QDate fecha(valorDigitos(cuerpo.sliced(0, 4)), valorDigitos(cuerpo.sliced(4, 2)),
                          valorDigitos(cuerpo.sliced(7, 2)));
        const QTime hora(valorDigitos(cuerpo.sliced(9, 2)), valorDigitos(cuerpo.sliced(11, 2)),
                         valorDigitos(cuerpo.sliced(13, 2)));
        if (!fecha.isValid() || !hora.isValid() ||
            fecha.dayOfWeek() % 7 + 1 != static_cast<uint8_t>(cuerpo[6]))
            return false;
        fechaHora = QDateTime(fecha, hora);
        return true;
    }
    if (const auto f = comandoFont(comando)) return guardarFont(f->first, f->second, cuerpo);
    return false;
}

bool ImpresoraVirtual::guardarFont(int indice, int tipo, QByteArrayView cuerpo) {
    if (tipo == 0) {
        if (cuerpo.size() != 8) return false;
        fonts[indice] = FontRecibida{cuerpo.toByteArray(), {}, false};
        return true;
    }
    const auto it = fonts.find(indice);
    if (it == fonts.end() || it->second.completa) return false; // no font data announced this font
    FontRecibida& font = it->second;
    if (tipo == 1 && cuerpo.size() == 1 && static_cast<uint8_t>(cuerpo[0]) == 0xFF) {
        font.completa = true;
        return true;
    }
    if (tipo == 1 && cuerpo.size() == 5) {
        font.caracteres.append(cuerpo.toByteArray());
        return true;
    }
    if (tipo == 2 && cuerpo.size() >= 3 && cuerpo.size() == 3 + static_cast<uint8_t>(cuerpo[2])) {
        font.caracteres.append(cuerpo.toByteArray());
        return true;
    }
    return false;
}

void ImpresoraVirtual::responder(uint8_t estacion, uint8_t comando, uint8_t estado, bool corta) {
    const QByteArray cuerpo{
        reinterpret_cast<const char*>(std::array<uint8_t, 4>{estacion, comando, 0x01, estado}.data()), 4};
    const QByteArray trama = ConstruirTrama(cuerpo, 4);
    mPuerto.write(corta ? trama.left(3) : trama);
}

} // namespace quoravex
