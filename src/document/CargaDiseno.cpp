#include "ArchivoDiseno.h"
#include "RecordCodec.h"
#include "SaneoRegistro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace quoravex {

namespace {

// The header and fifty objects, plus one record to tell that the file holds more.
constexpr qint64 LecturaMaxima = static_cast<qint64>(NumSlots + 1) * LongitudRegistro;

QString mensajeRuta(const QString& plantilla, const QString& ruta) {
    return plantilla.arg(QDir::toNativeSeparators(ruta));
}

} // namespace

ResultadoArchivo CargarDiseno(Design& d, QByteArrayView datos) {
    // A trailing partial record is ignored.
    const qsizetype registros = datos.size() / LongitudRegistro;
    if (registros < 1)
        return {false,
                QStringLiteral("El fichero está vacío o incompleto: no contiene un diseño de ticket.")};
    const auto* base = reinterpret_cast<const uint8_t*>(datos.data());
    auto registro = [base](qsizetype k) {
        return VistaRegistro(base + k * LongitudRegistro, LongitudRegistro);
    };

    const CabeceraArchivo cabecera = DecodificarCabecera(registro(0));
    if (cabecera.Version != VersionArchivo) return {false, MensajeVersionIncompatible};
    const AjustesCabecera ajustes = SanearCabecera(cabecera);

    // Built aside and committed whole, so the design never holds half a file.
    const qsizetype cargados = std::min<qsizetype>(registros - 1, MaxObjetos);
    std::array<ObjetoTicket, NumSlots> objetos = d.Objetos;
    int16_t enUso = 0;
    int16_t alto = 0;
    int descartados = 0;
    bool corregidos = ajustes.corregido;
    for (int k = 1; k <= MaxObjetos; ++k) {
        ObjetoTicket o;
        bool ocupado = false;
        if (k <= cargados) {
            o = DecodificarRegistro(registro(k));
            if (o.enUso()) {
                const Saneo saneo = SanearObjeto(o);
                ocupado = saneo != Saneo::Descartado;
                descartados += saneo == Saneo::Descartado ? 1 : 0;
                corregidos = corregidos || saneo == Saneo::Corregido;
            }
        }
        if (ocupado) {
            // The record's position is its rank; gaps left by empty records close up.
            o.Orden = ++enUso;
            alto = static_cast<int16_t>(k);
        } else {
            o = ObjetoTicket{};
            o.liberar();
        }
        objetos[static_cast<size_t>(k)] = o;
    }

    d.Objetos = objetos;
    d.NumObjetos = enUso;
    d.IdxObjMasAlto = alto;
    d.Objeto = alto;
    d.LargoTicket = ajustes.LargoTicket;
    d.NumPulsadores = ajustes.NumPulsadores;
    d.VistaActual = 1;
    d.TicketModificado = Falso;

    QStringList avisos;
    if (registros - 1 > MaxObjetos)
        avisos << QStringLiteral(
            "El fichero contiene más de 50 objetos; solo se han cargado los 50 primeros.");
    if (descartados == 1)
        avisos << QStringLiteral("Se ha descartado 1 objeto dañado.");
    else if (descartados > 1)
        avisos << QStringLiteral("Se han descartado %1 objetos dañados.").arg(descartados);
    if (corregidos) avisos << QStringLiteral("Algunos valores fuera de rango se han corregido.");
    return {true, avisos.join(QLatin1Char('\n'))};
}

ResultadoArchivo AbrirDiseno(Design& d, const QString& ruta) {
    if (ruta.trimmed().isEmpty()) return {};
    const QFileInfo info(ruta);
    if (!info.exists()) return {false, mensajeRuta(QStringLiteral("No existe el fichero:\n%1"), ruta)};
    // Devices and pipes could block or never end; a design is always a regular file.
    if (!info.isFile())
        return {false, mensajeRuta(QStringLiteral("No es un fichero de diseño de ticket:\n%1"), ruta)};
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return {false, mensajeRuta(QStringLiteral("No se ha podido abrir el fichero:\n%1"), ruta)};
    const QByteArray datos = archivo.read(LecturaMaxima);
    if (archivo.error() != QFileDevice::NoError)
        return {false, mensajeRuta(QStringLiteral("No se ha podido leer el fichero:\n%1"), ruta)};
    ResultadoArchivo r = CargarDiseno(d, datos);
    if (r.correcto) d.ArchivoTicket = ruta;
    return r;
}

} // namespace quoravex
