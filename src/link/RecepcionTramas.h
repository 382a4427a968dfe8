#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace quoravex {

// How long the line must be quiet before the printer stops waiting for the rest of a
// frame. It is longer than one character at the slowest speed of the link (11 bits at
// 1200 baud take 9.2 ms), so a frame sent in one go is never cut, and well inside the
// PC's wait for an answer (ten ticks: 20 ms at the shortest tick), so a frame found behind
// stray bytes is still answered before the PC gives it up.
constexpr int PausaSincroniaMs = 10;

// The printer's receiver: cuts the incoming bytes into frames.
//
// In step with the sender, a frame is taken by its length byte as soon as it is whole,
// whatever its CRC (the caller checks it and refuses a damaged frame). A pause in the bytes
// ends that trust: whatever was held and did not become a frame is dropped, and bytes are
// skipped until a frame with a correct CRC starts; from that frame on the length byte
// decides again. A frame that came right behind stray bytes, with no pause between, is
// still found when the pause comes.
class RecepcionTramas {
public:
    void agregar(QByteArrayView bytes) { mBytes.append(bytes); }
    // The next whole frame with its two CRC bytes, if the bytes held make one.
    std::optional<QByteArray> siguiente();
    // The line went quiet: the frames found among the held bytes; the rest is dropped.
    QList<QByteArray> pausa();

    // Bytes held that are not a frame yet.
    qsizetype retenidos() const { return mBytes.size(); }
    // How many bytes can be added before siguiente() may give a frame (at least one), so
    // that a caller with a small buffer takes each frame out before more bytes come in.
    qsizetype faltan() const;
    // Bytes dropped because they did not belong to any frame.
    qsizetype descartados() const { return mDescartados; }
    // False from a pause that dropped bytes until a frame with a correct CRC arrives.
    bool enSincronia() const { return !mBuscando; }

private:
    void descartar(qsizetype n);

    QByteArray mBytes;
    bool mBuscando = false;
    qsizetype mDescartados = 0;
};

} // namespace quoravex
