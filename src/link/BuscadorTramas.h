#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <vector>

namespace quoravex {

// Finds the frames of a printer's reply in bytes that arrive in pieces. Frames are taken
// one after the other, each with a correct CRC; every possible start is judged once, as
// soon as its whole length is in, so a stream of noise costs time in proportion to its
// length. Only the newest Limite bytes are held: a reply is a few hundred bytes, and
// anything older than the longest frame can no longer start one.
class BuscadorTramas {
public:
    static constexpr qsizetype Limite = 4096;

    // Adds the bytes and looks for frames in them until `hasta` have been found in all.
    void agregar(QByteArrayView nuevos, int hasta);
    void vaciar();

    // The bytes held: everything since vaciar(), or its newest Limite bytes.
    const QByteArray& bytes() const { return mBytes; }
    // Frames found since vaciar(), and the last of them (empty when none).
    int tramas() const { return mTramas; }
    const QByteArray& ultima() const { return mUltima; }
    // The bytes held after the last frame found; all of them when none was.
    QByteArrayView resto() const { return QByteArrayView(mBytes).sliced(std::min(mFin, mBytes.size())); }

private:
    QByteArray mBytes;
    std::vector<qsizetype> mAbiertas; // starts whose frame is not whole yet, in order
    qsizetype mFin = 0;               // where the last frame found ends; no frame starts before
    int mTramas = 0;
    QByteArray mUltima;
};

} // namespace quoravex
