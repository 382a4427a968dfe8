#pragma once

#include <QByteArray>

namespace quoravex {

// Whether the bytes of a picture file hold all the data its structure announces. The
// picture decoders fill a cut-off BMP, JPEG or GIF with grey or garbage and report success;
// this walks the file's own structure to tell a truncated file from a whole one.
// `formato` is the reader's name for it ("bmp", "png", "jpeg", "gif"); PNG is checked by its
// decoder, which refuses a short file by itself.
bool DatosImagenCompletos(const QByteArray& datos, const QByteArray& formato);

} // namespace quoravex
