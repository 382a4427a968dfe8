#include "TextoObjeto.h"

#include "document/ObjetoTicket.h"

#include <QFontDatabase>

namespace quoravex {

QList<FamiliaFuente> FamiliasInstaladas() {
    QList<FamiliaFuente> contorno;
    QList<FamiliaFuente> mapaDeBits;
    for (const QString& nombre : QFontDatabase::families()) {
        // Families the platform keeps for its own use are not offered.
        if (QFontDatabase::isPrivateFamily(nombre)) continue;
        if (QFontDatabase::isSmoothlyScalable(nombre))
            contorno.append({nombre, true});
        else
            mapaDeBits.append({nombre, false});
    }
    contorno.append(mapaDeBits);
    return contorno;
}

QString ResolverFamilia(const QString& fontName, const QList<FamiliaFuente>& familias) {
    const QString buscado = fontName.trimmed();
    if (familias.isEmpty()) return buscado;
    for (const FamiliaFuente& f : familias)
        if (f.nombre.trimmed() == buscado) return f.nombre;
    // Designs made elsewhere may spell a family with other capitals.
    if (!buscado.isEmpty())
        for (const FamiliaFuente& f : familias)
            if (f.nombre.trimmed().compare(buscado, Qt::CaseInsensitive) == 0) return f.nombre;
    return familias.first().nombre;
}

FuenteTexto FuenteDelRegistro(const ObjetoTicket& o, const QList<FamiliaFuente>& familias) {
    FuenteTexto f;
    f.familia = ResolverFamilia(o.FontName.valor(), familias);
    f.tamano = o.FontSize;
    // A style outside 0..3 (a damaged file) selects no style option: regular.
    f.estilo = (o.FontStyle >= 0 && o.FontStyle <= 3) ? o.FontStyle : 0;
    // Variable fields never carry underline or strike-through: the printer's fonts have neither.
    const bool textoFijo = o.Tipo == TipoTextoFijo;
    f.subrayado = textoFijo && o.FontUnderline != 0;
    f.tachado = textoFijo && o.FontStrikethru != 0;
    return f;
}

void AplicarFuente(Surface& caja, const FuenteTexto& f) {
    caja.setFontName(f.familia.trimmed());
    caja.setFontSize(f.tamano);
    caja.setFontItalic(f.estilo == 1 || f.estilo == 3);
    caja.setFontBold(f.estilo == 2 || f.estilo == 3);
    caja.setFontUnderline(f.subrayado);
    caja.setFontStrikethru(f.tachado);
}

void DibujarTextoEnCaja(ObjetoTicket& o, Surface& caja, const FuenteTexto& f) {
    const QString texto = o.Texto.valor();
    DibujarTextoEnCaja(o, caja, f, texto);
    o.Texto = texto;
}

void DibujarTextoEnCaja(ObjetoTicket& o, Surface& caja, const FuenteTexto& f, const QString& texto) {
    AplicarFuente(caja, f);
    caja.clear();
    o.CurrentX = 0;
    o.CurrentY = 0;
    // The trailing "." keeps room for an italic overhang past the last advance.
    o.TextWidth = caja.textWidth(texto + QLatin1Char('.'));
    o.TextHeight = caja.textHeight(texto);
    caja.resize(o.TextWidth, o.TextHeight);
    caja.print(texto);
    caja.refresh();
}

} // namespace quoravex
