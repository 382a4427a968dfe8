#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quoravex::cli {

// Records shown at most; a design holds fifty objects, anything far beyond is not a design.
constexpr int RegistrosMaximosInfo = 10000;

// A design file as JSON: its path and length, the header record ("cabecera") and every
// whole record after it ("registros", each with its "posicion"), all fields under their
// record names in record order, texts trimmed. "bytesSobrantes" counts a trailing partial
// record and "registrosOmitidos" the records past RegistrosMaximosInfo.
QByteArray InfoDisenoJson(QByteArrayView datos, const QString& ruta, qint64 longitudFichero);

} // namespace quoravex::cli
