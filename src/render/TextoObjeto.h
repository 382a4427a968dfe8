#pragma once

#include "Surface.h"

#include <QList>
#include <QString>

namespace quoravex {

struct ObjetoTicket;

// An installed font family; outline families (TrueType/OpenType) are listed first.
struct FamiliaFuente {
    QString nombre;
    bool contorno = true; // false for bitmap (raster) families
};

// Installed families: outline ones in the platform's order, then bitmap ones.
QList<FamiliaFuente> FamiliasInstaladas();

// The listed family whose name equals fontName (both trimmed), else the first listed
// family; fontName itself when the list is empty.
QString ResolverFamilia(const QString& fontName, const QList<FamiliaFuente>& familias);

// The font applied to a text object's box.
struct FuenteTexto {
    QString familia;
    double tamano = 30; // points
    int estilo = 0;     // 0 regular, 1 italic, 2 bold, 3 bold italic
    bool subrayado = false;
    bool tachado = false;
};

// The font a redraw gives an object: its stored family (resolved), size and style; underline
// and strike-through only for fixed texts, never for the variable fields.
FuenteTexto FuenteDelRegistro(const ObjetoTicket& o, const QList<FamiliaFuente>& familias);

// Gives a surface font f: family, size, bold and italic from the style, underline, strike-through.
void AplicarFuente(Surface& caja, const FuenteTexto& f);

// Draws a text object into its box: the box takes font f and is cleared, CurrentX and
// CurrentY become 0, TextWidth is the width of Texto followed by "." and TextHeight the
// height of Texto, the box is resized to TextWidth x TextHeight, Texto is printed at (0, 0)
// in the box's foreground colour and stored trimmed, and the box is refreshed. The box's
// position and colours are not touched.
void DibujarTextoEnCaja(ObjetoTicket& o, Surface& caja, const FuenteTexto& f);

// The same with another text (a fixed text with its fields filled in); Texto is left as typed.
void DibujarTextoEnCaja(ObjetoTicket& o, Surface& caja, const FuenteTexto& f, const QString& texto);

} // namespace quoravex
