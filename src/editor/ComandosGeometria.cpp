#include "ComandosObjeto.h"

#include "document/Numeros.h"
#include "render/Workspace.h"

#include <algorithm>

namespace quoravex {

namespace {

constexpr int AnchoPapel = 384; // printable width in dots

int redondear(double v) {
    return RedondeoPar(v).value_or(0);
}

int16_t a16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

// Position and size of a box into its record.
void tomarCaja(ObjetoTicket& o, const Surface& caja) {
    o.Top = caja.top();
    o.Left = caja.left();
    o.Width = caja.width();
    o.Height = caja.height();
}

void pintarLinea(Surface& caja) {
    caja.setBackColor(ColorNegro);
    caja.setFillColor(ColorNegro);
    caja.setForeColor(ColorNegro);
    caja.clear();
    caja.refresh();
}

} // namespace

void ComandosObjeto::CopiarGeometriaItem(int i) {
    if (!Design::slotValido(i)) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    const Surface& caja = mWs.item(i);
    tomarCaja(o, caja);
    o.FontName = caja.fontName();
}

void ComandosObjeto::CentrarHorizontal() {
    int i = 0;
    if (!actual(i)) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    o.Width = caja.width();
    o.Left = redondear((AnchoPapel - o.Width) / 2.0);
    caja.move(o.Left, caja.top());
    caja.refresh();
    mDiseno.TicketModificado = Verdadero;
}

void ComandosObjeto::CentrarVertical() {
    int i = 0;
    if (!actual(i)) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    o.Height = caja.height();
    o.Top = redondear((mDiseno.LargoTicket - o.Height) / 2.0);
    caja.move(caja.left(), o.Top);
    caja.refresh();
    mDiseno.TicketModificado = Verdadero;
}

void ComandosObjeto::CentrarAmbos() {
    CentrarHorizontal();
    CentrarVertical();
}

void ComandosObjeto::RotarLinea() {
    int i = 0;
    if (!actual(i) || mDiseno.objeto(i).Tipo != TipoLinea) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    tomarCaja(o, caja);
    o.LineaX = a16(o.Left);
    o.LineaY = a16(o.Top);
    // The box turns about its centre.
    const double cx = o.Left + o.Width / 2.0;
    const double cy = o.Top + o.Height / 2.0;
    caja.setGeometry(redondear(cx - o.Height / 2.0), redondear(cy - o.Width / 2.0), o.Height, o.Width);
    tomarCaja(o, caja);
    o.LineaX = a16(o.Left);
    o.LineaY = a16(o.Top);
    pintarLinea(caja);
    mDiseno.TicketModificado = Verdadero;
}

void ComandosObjeto::GrosorDeLinea(int n) {
    int i = 0;
    if (n < 1 || n > 10 || !actual(i) || mDiseno.objeto(i).Tipo != TipoLinea) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    o.Grosor = static_cast<int16_t>(n);
    // A vertical line (or a square) is as wide as its thickness, a horizontal one as high.
    if (caja.width() <= caja.height())
        caja.resize(n, caja.height());
    else
        caja.resize(caja.width(), n);
    o.Height = caja.height();
    o.Width = caja.width();
    pintarLinea(caja);
    mDiseno.TicketModificado = Verdadero;
}

void ComandosObjeto::ModificarFinalLinea() {
    int i = 0;
    if (!actual(i) || mDiseno.objeto(i).Tipo != TipoLinea) return;
    AlargandoLinea = true;
    mLineaEnCurso = i;
    mDiseno.TicketModificado = Verdadero;
}

} // namespace quoravex
