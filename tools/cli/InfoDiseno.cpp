#include "InfoDiseno.h"

#include "document/RecordCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QPair>

namespace quoravex::cli {

namespace {

// Fields keep their record order, which QJsonObject would sort away; values are written
// already as JSON.
using Campos = QList<QPair<QString, QByteArray>>;

QByteArray cadena(const QString& s) {
    const QByteArray a = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

QByteArray numero(qint64 v) {
    return QByteArray::number(v);
}

QByteArray objeto(const Campos& campos, int sangria) {
    const QByteArray dentro(sangria + 2, ' ');
    QByteArray s = "{\n";
    for (qsizetype i = 0; i < campos.size(); ++i) {
        s += dentro + cadena(campos[i].first) + ": " + campos[i].second;
        s += i + 1 < campos.size() ? ",\n" : "\n";
    }
    return s + QByteArray(sangria, ' ') + "}";
}

Campos camposRegistro(const ObjetoTicket& o) {
    auto t = [](const auto& texto) { return cadena(texto.valor()); };
    return {
        {QStringLiteral("EnUso"), numero(o.EnUso)},
        {QStringLiteral("Pendiente"), numero(o.Pendiente)},
        {QStringLiteral("Tipo"), numero(o.Tipo)},
        {QStringLiteral("Formato"), numero(o.Formato)},
        {QStringLiteral("Top"), numero(o.Top)},
        {QStringLiteral("Left"), numero(o.Left)},
        {QStringLiteral("Width"), numero(o.Width)},
        {QStringLiteral("Height"), numero(o.Height)},
        {QStringLiteral("Orden"), numero(o.Orden)},
        {QStringLiteral("Texto"), t(o.Texto)},
        {QStringLiteral("FontName"), t(o.FontName)},
        {QStringLiteral("FontSize"), numero(o.FontSize)},
        {QStringLiteral("FontStyle"), numero(o.FontStyle)},
        {QStringLiteral("FontUnderline"), numero(o.FontUnderline)},
        {QStringLiteral("FontStrikethru"), numero(o.FontStrikethru)},
        {QStringLiteral("CurrentX"), numero(o.CurrentX)},
        {QStringLiteral("CurrentY"), numero(o.CurrentY)},
        {QStringLiteral("TextWidth"), numero(o.TextWidth)},
        {QStringLiteral("TextHeight"), numero(o.TextHeight)},
        {QStringLiteral("ImagenTrabajo"), t(o.ImagenTrabajo)},
        {QStringLiteral("ImagenOrigen"), t(o.ImagenOrigen)},
        {QStringLiteral("AnchoImagen"), numero(o.AnchoImagen)},
        {QStringLiteral("LineaX"), numero(o.LineaX)},
        {QStringLiteral("LineaY"), numero(o.LineaY)},
        {QStringLiteral("Reservado1"), numero(o.Reservado1)},
        {QStringLiteral("Reservado2"), numero(o.Reservado2)},
        {QStringLiteral("Grosor"), numero(o.Grosor)},
        {QStringLiteral("Version"), numero(o.Version)},
        {QStringLiteral("Marcador"), numero(o.Marcador)},
        {QStringLiteral("Longitud"), numero(o.Longitud)},
        {QStringLiteral("NumPulsadores"), numero(o.NumPulsadores)},
        {QStringLiteral("Pulsadores"), numero(o.Pulsadores)},
    };
}

ObjetoTicket registroEn(QByteArrayView datos, qsizetype k) {
    const auto* base = reinterpret_cast<const uint8_t*>(datos.data()) + k * LongitudRegistro;
    return DecodificarRegistro(VistaRegistro(base, LongitudRegistro));
}

} // namespace

QByteArray InfoDisenoJson(QByteArrayView datos, const QString& ruta, qint64 longitudFichero) {
    const qsizetype enteros = datos.size() / LongitudRegistro;
    const qint64 total = longitudFichero / LongitudRegistro;
    const qsizetype mostrados =
        std::min<qsizetype>(std::max<qsizetype>(enteros - 1, 0), RegistrosMaximosInfo);

    QByteArray registros = "[";
    for (qsizetype k = 1; k <= mostrados; ++k) {
        Campos campos = camposRegistro(registroEn(datos, k));
        campos.prepend({QStringLiteral("posicion"), numero(k)});
        registros += (k == 1 ? "\n    " : ",\n    ") + objeto(campos, 4);
    }
    registros += mostrados > 0 ? "\n  ]" : "]";

    Campos raiz = {{QStringLiteral("fichero"), cadena(ruta)},
                   {QStringLiteral("longitud"), numero(longitudFichero)}};
    if (enteros > 0)
        raiz.append({QStringLiteral("cabecera"), objeto(camposRegistro(registroEn(datos, 0)), 2)});
    raiz.append({QStringLiteral("registros"), registros});
    raiz.append({QStringLiteral("registrosOmitidos"), numero(std::max<qint64>(total - 1 - mostrados, 0))});
    raiz.append({QStringLiteral("bytesSobrantes"), numero(longitudFichero % LongitudRegistro)});
    return objeto(raiz, 0) + "\n";
}

} // namespace quoravex::cli
