#include "Portapapeles.h"

#include "RecordCodec.h"
#include "SaneoRegistro.h"

#include <QtEndian>

namespace quoravex {

namespace {

const QByteArray Firma("QVXOBJ");
constexpr quint16 VersionPortapapeles = 1;

void poner16(QByteArray& b, quint16 v) {
    const quint16 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 2);
}

void poner32(QByteArray& b, quint32 v) {
    const quint32 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 4);
}

// Reads the bytes in order; any read past the end makes it fail for good.
struct Lector {
    QByteArrayView datos;
    qsizetype pos = 0;
    bool roto = false;

    QByteArrayView tomar(qsizetype n) {
        if (roto || n < 0 || n > datos.size() - pos) {
            roto = true;
            return {};
        }
        const QByteArrayView r = datos.sliced(pos, n);
        pos += n;
        return r;
    }
    quint16 leer16() {
        const QByteArrayView b = tomar(2);
        return roto ? 0 : qFromLittleEndian<quint16>(b.data());
    }
    quint32 leer32() {
        const QByteArrayView b = tomar(4);
        return roto ? 0 : qFromLittleEndian<quint32>(b.data());
    }
};

} // namespace

QByteArray CodificarObjetos(const QList<ObjetoCopiado>& objetos) {
    QByteArray b = Firma;
    poner16(b, VersionPortapapeles);
    poner16(b, static_cast<quint16>(objetos.size()));
    for (const ObjetoCopiado& o : objetos) {
        ObjetoTicket r = o.registro;
        r.EnUso = Verdadero;
        r.Version = 0;
        r.Marcador = 0;
        r.Longitud = 0;
        r.NumPulsadores = 0;
        const Registro bytes = CodificarRegistro(r);
        b.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        poner32(b, static_cast<quint32>(o.bitmap.size()));
        b.append(o.bitmap);
        poner32(b, static_cast<quint32>(o.descripcion.size()));
        b.append(o.descripcion);
    }
    return b;
}

ObjetosLeidos DecodificarObjetos(QByteArrayView datos) {
    ObjetosLeidos r;
    const QString danado = QStringLiteral("Lo que hay en el portapapeles no son objetos de ticket legibles.");
    Lector l{datos};
    if (l.tomar(Firma.size()) != QByteArrayView(Firma)) {
        r.error = danado;
        return r;
    }
    if (l.leer16() != VersionPortapapeles) {
        r.error = QStringLiteral("Los objetos del portapapeles son de otra versión del programa.");
        return r;
    }
    const quint16 cuenta = l.leer16();
    if (l.roto || cuenta > MaxObjetos) {
        r.error = danado;
        return r;
    }
    QList<ObjetoCopiado> objetos;
    for (quint16 k = 0; k < cuenta && !l.roto; ++k) {
        const QByteArrayView registro = l.tomar(LongitudRegistro);
        const quint32 largoBitmap = l.leer32();
        if (l.roto || largoBitmap > MaxBytesBitmap) {
            l.roto = true;
            break;
        }
        const QByteArrayView bitmap = l.tomar(largoBitmap);
        const quint32 largoDescripcion = l.leer32();
        if (l.roto || largoDescripcion > MaxBytesDescripcion) {
            l.roto = true;
            break;
        }
        const QByteArrayView descripcion = l.tomar(largoDescripcion);
        if (l.roto) break;
        ObjetoCopiado o;
        o.registro = DecodificarRegistro(VistaRegistro(reinterpret_cast<const uint8_t*>(registro.data()), LongitudRegistro));
        if (!o.registro.enUso()) continue;
        const Saneo saneo = SanearObjeto(o.registro);
        if (saneo == Saneo::Descartado) continue;
        r.corregidos = r.corregidos || saneo == Saneo::Corregido;
        if (o.registro.Tipo == TipoImagen) {
            o.bitmap = bitmap.toByteArray();
            o.descripcion = descripcion.toByteArray();
        }
        objetos << o;
    }
    if (l.roto || objetos.size() > cuenta || l.pos != datos.size()) {
        r.error = danado;
        return r;
    }
    r.objetos = objetos;
    return r;
}

} // namespace quoravex
