#include "ArchivoDiseno.h"

#include "RecordCodec.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace quoravex {

namespace {

// The object record as stored: in use, without the header-only fields.
Registro registroObjeto(const ObjetoTicket& o) {
    ObjetoTicket copia = o;
    copia.EnUso = Verdadero;
    copia.Version = 0;
    copia.Marcador = 0;
    copia.Longitud = 0;
    copia.NumPulsadores = 0;
    return CodificarRegistro(copia);
}

void copiarRegistro(QByteArray& datos, int posicion, const Registro& r) {
    std::memcpy(datos.data() + static_cast<qsizetype>(posicion) * LongitudRegistro, r.data(), r.size());
}

ResultadoArchivo guardarEn(Design& d, const QString& ruta) {
    const QByteArray datos = CodificarDiseno(d);
    if (datos.isEmpty()) {
        d.TicketModificado = Falso;
        return {true, QStringLiteral("El ticket no tiene objetos: no se ha guardado ningún fichero.")};
    }
    const QString error = QStringLiteral("No se ha podido guardar el ticket en el fichero:\n%1\n\n"
                                         "El fichero anterior se conserva sin cambios y el ticket "
                                         "sigue abierto.")
                              .arg(QDir::toNativeSeparators(ruta));
    if (ruta.trimmed().isEmpty()) return {false, error};
    // Written beside the target and renamed over it once complete. Unbuffered, so that a
    // short write (a full disk) shows in the count: buffered, the flush inside commit()
    // can lose it and a cut file would replace the old one.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return {false, error};
    if (archivo.write(datos) != datos.size()) {
        archivo.cancelWriting();
        return {false, error};
    }
    if (!archivo.commit()) return {false, error};
    d.TicketModificado = Falso;
    return {true, {}};
}

} // namespace

QByteArray CodificarDiseno(const Design& d) {
    if (d.NumObjetos < 1) return {};
    const uint32_t mascara = d.mascaraDiseno();
    const int alto = std::clamp<int>(d.IdxObjMasAlto, 0, MaxObjetos);

    // Position k holds the lowest slot with Orden k that belongs to the design's buttons.
    // A single push-button ticket shows every object, so it saves every one, whatever
    // its membership (even none).
    const bool todos = d.NumPulsadores <= 0;
    std::array<int, NumSlots> slotEnPosicion{};
    int ultima = 0;
    for (int k = 1; k <= alto; ++k) {
        for (int j = 1; j <= alto; ++j) {
            const ObjetoTicket& o = d.objeto(j);
            if (o.enUso() && o.Orden == k && (todos || (o.Pulsadores & mascara) != 0)) {
                slotEnPosicion[static_cast<size_t>(k)] = j;
                ultima = k;
                break;
            }
        }
    }

    QByteArray datos(static_cast<qsizetype>(ultima + 1) * LongitudRegistro, '\0');
    CabeceraArchivo cabecera;
    cabecera.Longitud = d.LargoTicket;
    cabecera.NumPulsadores = static_cast<uint8_t>(std::clamp<int>(d.NumPulsadores, 0, MaxPulsadores));
    copiarRegistro(datos, 0, CodificarCabecera(cabecera));
    for (int k = 1; k <= ultima; ++k)
        if (const int j = slotEnPosicion[static_cast<size_t>(k)])
            copiarRegistro(datos, k, registroObjeto(d.objeto(j)));
    return datos;
}

ResultadoArchivo GuardarDiseno(Design& d) {
    return guardarEn(d, d.ArchivoTicket);
}

ResultadoArchivo GuardarDisenoComo(Design& d, const QString& rutaElegida) {
    if (rutaElegida.trimmed().isEmpty()) return {};
    const QString ruta = RutaConExtensionTck(rutaElegida);
    ResultadoArchivo r = guardarEn(d, ruta);
    if (r.correcto) d.ArchivoTicket = ruta;
    return r;
}

QString RutaConExtensionTck(const QString& ruta) {
    const qsizetype inicioNombre =
        std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype punto = ruta.indexOf(QLatin1Char('.'), inicioNombre);
    if (punto < 0) return ruta + QStringLiteral(".tck");
    return ruta.left(punto + 1) + QStringLiteral("tck");
}

} // namespace quoravex
