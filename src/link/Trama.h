#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <optional>

namespace quoravex {

// Transmit buffers hold at most this many bytes before the CRC.
constexpr int LargoBufTX = 101;
using BufferTX = std::array<uint8_t, LargoBufTX>;

// Command codes of the printer link.
enum ComandoImpresora : uint8_t {
    CmdBorrado = 0x5A,
    CmdBloqueRaster = 0x15,
    CmdStatus = 0x55,
    CmdFechaHora = 0x51,
};

// Reply status codes, read from the fourth byte of a reply.
enum EstadoRespuesta : uint8_t {
    RespAck = 0x06,
    RespProcesando = 0x07,
    RespRepetir = 0x0F,
};

// Reflected CCITT CRC (polynomial 0x8408, start 0xFFFF, no final XOR) over the first n
// bytes, or over all of them when n is negative or larger than the data.
uint16_t Crc16(QByteArrayView bytes, int n = -1);

// Entry i of the CRC table: the CRC step of the single byte i.
uint16_t TablaCrc16(uint8_t i);

// The frame as it goes on the wire: the first n bytes, then the CRC low and high byte.
// Empty when n is not 1..255 or exceeds the data.
QByteArray ConstruirTrama(QByteArrayView bytes, int n);

// Where a whole frame starts in received bytes and how long it is.
struct PosicionTrama {
    qsizetype inicio = 0;
    qsizetype largo = 0;
};

// The length of the whole frame with a correct CRC at the start of the bytes, or 0.
qsizetype TramaCompleta(QByteArrayView bytes);

// A frame is at most this long: three bytes, 255 of payload and the CRC.
constexpr qsizetype LargoMaximoTrama = 5 + 255;

// The first whole frame with a correct CRC (station, command, length n, n bytes, CRC low
// and high) that starts at or after `desde`; bytes before it are skipped.
std::optional<PosicionTrama> BuscarTrama(QByteArrayView bytes, qsizetype desde = 0);

// The last whole frame of the bytes, taking frames one after the other from the start.
std::optional<PosicionTrama> UltimaTrama(QByteArrayView bytes);

// True while the bytes may still become a frame: fewer than the frame's length byte asks for.
bool EsInicioDeTrama(QByteArrayView bytes);

// Status of a reply: nullopt while it is shorter than four bytes.
inline std::optional<uint8_t> EstadoDeRespuesta(const QByteArray& respuesta) {
    if (respuesta.size() < 4) return std::nullopt;
    return static_cast<uint8_t>(respuesta.at(3));
}

} // namespace quoravex
