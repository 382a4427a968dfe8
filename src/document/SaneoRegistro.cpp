#include "SaneoRegistro.h"

#include <QStringView>
#include <algorithm>

namespace quoravex {

namespace {

struct FormatoCampo {
    int16_t tipo;
    uint8_t formato;
    const char16_t* muestra;
};

// Format codes of the variable fields with their sample texts, first code of each kind first.
constexpr FormatoCampo Formatos[] = {
    {TipoTurno, 2, u"88"},         {TipoTurno, 3, u"888"},        {TipoTurno, 4, u"8888"},
    {TipoTurno, 10, u"A8"},        {TipoTurno, 11, u"A88"},       {TipoTurno, 12, u"A888"},
    {TipoFecha, 1, u"31/12/99"},   {TipoFecha, 2, u"12/31/99"},   {TipoFecha, 3, u"31/12/2099"},
    {TipoFecha, 4, u"12/31/2099"}, {TipoHora, 1, u"23:59"},       {TipoHora, 2, u"11:59 pm"},
    {TipoHora, 3, u"23:59:59"},    {TipoHora, 4, u"11:59:59 pm"}, {TipoHora, 5, u"23.59"},
    {TipoHora, 6, u"23.59.59"},
};

uint8_t formatoValido(int16_t tipo, uint8_t formato, const QString& texto) {
    const FormatoCampo* primero = nullptr;
    const FormatoCampo* porMuestra = nullptr;
    for (const FormatoCampo& f : Formatos) {
        if (f.tipo != tipo) continue;
        if (f.formato == formato) return formato;
        if (!primero) primero = &f;
        if (!porMuestra && texto == QStringView(f.muestra)) porMuestra = &f;
    }
    return porMuestra ? porMuestra->formato : primero->formato;
}

template <typename T> T acotar(T v, T minimo, T maximo) {
    return std::clamp(v, minimo, maximo);
}

} // namespace

Saneo SanearObjeto(ObjetoTicket& o) {
    if (o.Tipo < TipoTextoFijo || o.Tipo > TipoLinea) return Saneo::Descartado;
    const ObjetoTicket antes = o;
    o.EnUso = Verdadero;
    o.Pendiente = Falso;
    o.Top = acotar(o.Top, -LimiteAlto, LimiteAlto);
    o.Left = acotar(o.Left, -LimiteAncho, LimiteAncho);
    o.Width = acotar(o.Width, 0, LimiteAncho);
    o.Height = acotar(o.Height, 0, LimiteAlto);
    o.CurrentX = acotar(o.CurrentX, -LimiteAncho, LimiteAncho);
    o.CurrentY = acotar(o.CurrentY, -LimiteAlto, LimiteAlto);
    o.TextWidth = acotar(o.TextWidth, 0, LimiteAncho);
    o.TextHeight = acotar(o.TextHeight, 0, LimiteAlto);
    o.FontSize = acotar(o.FontSize, MinFontSize, MaxFontSize);
    if (o.FontStyle < 0 || o.FontStyle > 3) o.FontStyle = 0;
    if (o.Tipo == TipoImagen) o.AnchoImagen = acotar<int16_t>(o.AnchoImagen, 0, MaxAnchoImagen);
    if (o.Tipo == TipoLinea) o.Grosor = acotar<int16_t>(o.Grosor, 1, MaxGrosor);
    if (o.esCampoVariable()) o.Formato = formatoValido(o.Tipo, o.Formato, o.Texto.valor());
    o.Version = 0;
    o.Marcador = 0;
    o.Longitud = 0;
    o.NumPulsadores = 0;
    return o == antes ? Saneo::Intacto : Saneo::Corregido;
}

AjustesCabecera SanearCabecera(const CabeceraArchivo& c) {
    AjustesCabecera a;
    a.LargoTicket = c.Longitud < 1 ? LargoPorDefecto : std::min<int16_t>(c.Longitud, LargoMaximo);
    a.NumPulsadores = c.NumPulsadores == 1 ? 2 : std::min<int16_t>(c.NumPulsadores, MaxPulsadores);
    a.corregido = a.LargoTicket != c.Longitud || a.NumPulsadores != c.NumPulsadores;
    return a;
}

} // namespace quoravex
