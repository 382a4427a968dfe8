#include "Relleno.h"

#include "CodificacionRaster.h"
#include "DescripcionCodigo.h"
#include "Surface.h"
#include "TextoObjeto.h"

#include "document/Design.h"
#include "document/Numeros.h"

#include <cmath>

namespace quoravex {

namespace {

// "el texto "Oficina {sucursal}" (objeto 3)" or "el código QR "..." (objeto 5)".
QString Nombrar(const ObjetoTicket& o, int slot, const ParametrosCodigo* codigo) {
    if (codigo)
        return QStringLiteral("el código %1 \"%2\" (objeto %3)")
            .arg(NombreSimbologia(codigo->tipo), codigo->datos)
            .arg(slot);
    return QStringLiteral("el texto \"%1\" (objeto %2)").arg(o.Texto.valor()).arg(slot);
}

QString AvisoCorte(const QString& objeto) {
    return QStringLiteral("Aviso: %1 no cabe en el ancho del ticket con estos valores; se corta en el borde.")
        .arg(objeto);
}

// The first value of the text's fields that a fixed text cannot print, as a message.
QString ValorNoImprimible(const QString& texto, const ValoresCampos& valores) {
    for (const QString& campo : CamposDeTexto(texto)) {
        const std::optional<QString> c = CaracterNoImprimible(valores.value(campo));
        if (!c) continue;
        const char32_t punto = c->size() == 2 ? QChar::surrogateToUcs4(c->at(0), c->at(1)) : c->at(0).unicode();
        const QString visible = c->at(0).category() == QChar::Other_Control ? QString() : *c;
        return QStringLiteral("El valor del campo {%1} tiene un carácter que un texto no puede imprimir: \"%2\" (U+%3)")
            .arg(campo, visible, QStringLiteral("%1").arg(uint(punto), 4, 16, QLatin1Char('0')).toUpper());
    }
    return QString();
}

} // namespace

Colocacion ColocarRelleno(int left, int anchoTecleado, int anchoRelleno) {
    Colocacion c;
    c.left = left;
    const double centro = left + anchoTecleado / 2.0;
    if (std::abs(centro - PuntosPorFila / 2.0) <= 1.0)
        c.left = std::max(0, RedondeoPar((PuntosPorFila - anchoRelleno) / 2.0).value_or(0));
    c.width = anchoRelleno;
    if (c.left + anchoRelleno > PuntosPorFila) {
        c.width = std::max(0, PuntosPorFila - c.left);
        c.cortado = true;
    }
    return c;
}

QStringList CamposDelDiseno(const Design& d, const QString& dirDiseno) {
    QStringList textos;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i)) continue;
        const ObjetoTicket& o = d.objeto(i);
        if (o.Tipo == TipoTextoFijo) textos << o.Texto.valor();
        if (const auto p = LeerCodigoObjeto(o, dirDiseno)) textos << p->datos;
    }
    return CamposDeTextos(textos);
}

Relleno RellenarDiseno(const Design& d, const ValoresCampos& valores, const QString& dirDiseno) {
    Relleno r;
    QList<FamiliaFuente> familias;
    Surface medida;
    for (int i = 1; i <= MaxObjetos && r.error.isEmpty(); ++i) {
        if (!d.enUso(i)) continue;
        const ObjetoTicket& o = d.objeto(i);
        ObjetoRelleno relleno;
        QString objeto;
        int ancho = 0, alto = 0;
        if (o.Tipo == TipoTextoFijo && TieneLlaves(o.Texto.valor())) {
            const TextoRelleno t = RellenarCampos(o.Texto.valor(), valores);
            if (!t.falta.isEmpty()) r.error = MensajeFaltaCampo(t.falta);
            if (r.error.isEmpty()) r.error = ValorNoImprimible(o.Texto.valor(), valores);
            if (!r.error.isEmpty()) break;
            if (familias.isEmpty()) familias = FamiliasInstaladas();
            // Measured as DibujarTextoEnCaja will draw it.
            AplicarFuente(medida, FuenteDelRegistro(o, familias));
            relleno.texto = t.texto;
            ancho = medida.textWidth(t.texto + QLatin1Char('.'));
            alto = medida.textHeight(t.texto);
            objeto = Nombrar(o, i, nullptr);
        } else if (o.Tipo == TipoImagen) {
            const std::optional<ParametrosCodigo> p = LeerCodigoObjeto(o, dirDiseno);
            if (!p || !TieneLlaves(p->datos)) continue;
            const TextoRelleno t = RellenarCampos(p->datos, valores);
            if (!t.falta.isEmpty()) {
                r.error = MensajeFaltaCampo(t.falta);
                break;
            }
            ParametrosCodigo lleno = *p;
            lleno.datos = t.texto;
            const CodigoGenerado g = GenerarCodigo(lleno);
            objeto = Nombrar(o, i, &*p);
            if (g.imagen.isNull()) {
                r.error = QStringLiteral("%1 no admite estos valores: %2").arg(objeto, g.error);
                r.error[0] = r.error[0].toUpper();
                break;
            }
            relleno.codigo = g.imagen;
            ancho = g.imagen.width();
            alto = g.imagen.height();
        } else {
            continue;
        }
        const Colocacion c = ColocarRelleno(o.Left, o.Width, ancho);
        if (c.cortado) r.avisos << AvisoCorte(objeto);
        relleno.caja = QRect(c.left, o.Top, c.width, alto);
        r.objetos.emplace(i, std::move(relleno));
    }
    if (!r.error.isEmpty()) {
        r.objetos.clear();
        r.avisos.clear();
    }
    return r;
}

void AplicarRelleno(Design& d, const Relleno& r) {
    for (const auto& [slot, relleno] : r.objetos) {
        ObjetoTicket& o = d.objeto(slot);
        o.Left = relleno.caja.left();
        o.Top = relleno.caja.top();
        o.Width = relleno.caja.width();
        o.Height = relleno.caja.height();
        if (!relleno.codigo.isNull()) o.AnchoImagen = static_cast<int16_t>(relleno.codigo.width());
    }
}

CodigoGenerado CodigoDeMuestra(const ParametrosCodigo& p) {
    const CodigoGenerado tecleado = GenerarCodigo(p);
    const QList<TrozoTexto> trozos = AnalizarCampos(p.datos);
    if (!tecleado.imagen.isNull() || CamposDeTexto(p.datos).isEmpty()) return tecleado;
    qsizetype literal = 0, campos = 0;
    for (const TrozoTexto& t : trozos) {
        if (t.campo)
            ++campos;
        else
            literal += t.texto.size();
    }
    const qsizetype primero = p.tipo == Simbologia::EAN13 ? std::max<qsizetype>(1, 12 - literal - (campos - 1)) : 1;
    ParametrosCodigo muestra = p;
    muestra.datos.clear();
    bool visto = false;
    for (const TrozoTexto& t : trozos) {
        muestra.datos += t.campo ? QString(visto ? 1 : primero, QLatin1Char('0')) : t.texto;
        visto = visto || t.campo;
    }
    const CodigoGenerado g = GenerarCodigo(muestra);
    return g.imagen.isNull() ? tecleado : g;
}

} // namespace quoravex
