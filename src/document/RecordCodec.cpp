#include "RecordCodec.h"

#include "Texto1252.h"

namespace quoravex {

namespace {

// Byte offsets of the fields in a record.
enum Desplazamiento : int {
    OffEnUso = 0,
    OffPendiente = 2,
    OffTipo = 4,
    OffFormato = 6,
    OffTop = 7,
    OffLeft = 11,
    OffWidth = 15,
    OffHeight = 19,
    OffOrden = 23,
    OffTexto = 25,
    OffFontName = 125,
    OffFontSize = 205,
    OffFontStyle = 207,
    OffFontUnderline = 209,
    OffFontStrikethru = 211,
    OffCurrentX = 213,
    OffCurrentY = 217,
    OffTextWidth = 221,
    OffTextHeight = 225,
    OffImagenTrabajo = 229,
    OffImagenOrigen = 329,
    OffAnchoImagen = 429,
    OffLineaX = 431,
    OffLineaY = 433,
    OffReservado1 = 435,
    OffReservado2 = 437,
    OffGrosor = 439,
    OffVersion = 441,
    OffMarcador = 443,
    OffLongitud = 445,
    OffNumPulsadores = 447,
    OffPulsadores = 448,
};
static_assert(OffPulsadores + 4 == LongitudRegistro);

void pon8(Registro& r, int off, uint8_t v) {
    r[static_cast<size_t>(off)] = v;
}

void pon16(Registro& r, int off, int16_t v) {
    const auto u = static_cast<uint16_t>(v);
    pon8(r, off, static_cast<uint8_t>(u & 0xFF));
    pon8(r, off + 1, static_cast<uint8_t>(u >> 8));
}

void pon32(Registro& r, int off, uint32_t v) {
    for (int k = 0; k < 4; ++k)
        pon8(r, off + k, static_cast<uint8_t>((v >> (8 * k)) & 0xFF));
}

void pon32(Registro& r, int off, int32_t v) {
    pon32(r, off, static_cast<uint32_t>(v));
}

uint8_t lee8(VistaRegistro r, int off) {
    return r[static_cast<size_t>(off)];
}

int16_t lee16(VistaRegistro r, int off) {
    const auto u = static_cast<uint16_t>(lee8(r, off) | (lee8(r, off + 1) << 8));
    return static_cast<int16_t>(u);
}

uint32_t lee32u(VistaRegistro r, int off) {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
        v |= static_cast<uint32_t>(lee8(r, off + k)) << (8 * k);
    return v;
}

int32_t lee32(VistaRegistro r, int off) {
    return static_cast<int32_t>(lee32u(r, off));
}

template <int N> void ponTexto(Registro& r, int off, const TextoFijo<N>& t) {
    QByteArray b = Codificar1252(t.bruto()).left(N);
    for (int k = 0; k < N; ++k)
        pon8(r, off + k, k < b.size() ? static_cast<uint8_t>(b[k]) : uint8_t{' '});
}

template <int N> TextoFijo<N> leeTexto(VistaRegistro r, int off) {
    QByteArray b(reinterpret_cast<const char*>(r.data() + off), N);
    b.replace('\0', ' ');
    return TextoFijo<N>(Decodificar1252(b));
}

} // namespace

Registro CodificarRegistro(const ObjetoTicket& o) {
    Registro r{};
    pon16(r, OffEnUso, o.EnUso);
    pon16(r, OffPendiente, o.Pendiente);
    pon16(r, OffTipo, o.Tipo);
    pon8(r, OffFormato, o.Formato);
    pon32(r, OffTop, o.Top);
    pon32(r, OffLeft, o.Left);
    pon32(r, OffWidth, o.Width);
    pon32(r, OffHeight, o.Height);
    pon16(r, OffOrden, o.Orden);
    ponTexto(r, OffTexto, o.Texto);
    ponTexto(r, OffFontName, o.FontName);
    pon16(r, OffFontSize, o.FontSize);
    pon16(r, OffFontStyle, o.FontStyle);
    pon16(r, OffFontUnderline, o.FontUnderline);
    pon16(r, OffFontStrikethru, o.FontStrikethru);
    pon32(r, OffCurrentX, o.CurrentX);
    pon32(r, OffCurrentY, o.CurrentY);
    pon32(r, OffTextWidth, o.TextWidth);
    pon32(r, OffTextHeight, o.TextHeight);
    ponTexto(r, OffImagenTrabajo, o.ImagenTrabajo);
    ponTexto(r, OffImagenOrigen, o.ImagenOrigen);
    pon16(r, OffAnchoImagen, o.AnchoImagen);
    pon16(r, OffLineaX, o.LineaX);
    pon16(r, OffLineaY, o.LineaY);
    pon16(r, OffReservado1, o.Reservado1);
    pon16(r, OffReservado2, o.Reservado2);
    pon16(r, OffGrosor, o.Grosor);
    pon16(r, OffVersion, o.Version);
    pon16(r, OffMarcador, o.Marcador);
    pon16(r, OffLongitud, o.Longitud);
    pon8(r, OffNumPulsadores, o.NumPulsadores);
    pon32(r, OffPulsadores, o.Pulsadores);
    return r;
}

ObjetoTicket DecodificarRegistro(VistaRegistro r) {
    ObjetoTicket o;
    o.EnUso = lee16(r, OffEnUso);
    o.Pendiente = lee16(r, OffPendiente);
    o.Tipo = lee16(r, OffTipo);
    o.Formato = lee8(r, OffFormato);
    o.Top = lee32(r, OffTop);
    o.Left = lee32(r, OffLeft);
    o.Width = lee32(r, OffWidth);
    o.Height = lee32(r, OffHeight);
    o.Orden = lee16(r, OffOrden);
    o.Texto = leeTexto<100>(r, OffTexto);
    o.FontName = leeTexto<80>(r, OffFontName);
    o.FontSize = lee16(r, OffFontSize);
    o.FontStyle = lee16(r, OffFontStyle);
    o.FontUnderline = lee16(r, OffFontUnderline);
    o.FontStrikethru = lee16(r, OffFontStrikethru);
    o.CurrentX = lee32(r, OffCurrentX);
    o.CurrentY = lee32(r, OffCurrentY);
    o.TextWidth = lee32(r, OffTextWidth);
    o.TextHeight = lee32(r, OffTextHeight);
    o.ImagenTrabajo = leeTexto<100>(r, OffImagenTrabajo);
    o.ImagenOrigen = leeTexto<100>(r, OffImagenOrigen);
    o.AnchoImagen = lee16(r, OffAnchoImagen);
    o.LineaX = lee16(r, OffLineaX);
    o.LineaY = lee16(r, OffLineaY);
    o.Reservado1 = lee16(r, OffReservado1);
    o.Reservado2 = lee16(r, OffReservado2);
    o.Grosor = lee16(r, OffGrosor);
    o.Version = lee16(r, OffVersion);
    o.Marcador = lee16(r, OffMarcador);
    o.Longitud = lee16(r, OffLongitud);
    o.NumPulsadores = lee8(r, OffNumPulsadores);
    o.Pulsadores = lee32u(r, OffPulsadores);
    return o;
}

Registro CodificarCabecera(const CabeceraArchivo& c) {
    Registro r{};
    pon16(r, OffVersion, c.Version);
    pon16(r, OffMarcador, c.Marcador);
    pon16(r, OffLongitud, c.Longitud);
    pon8(r, OffNumPulsadores, c.NumPulsadores);
    return r;
}

CabeceraArchivo DecodificarCabecera(VistaRegistro r) {
    CabeceraArchivo c;
    c.Version = lee16(r, OffVersion);
    c.Marcador = lee16(r, OffMarcador);
    c.Longitud = lee16(r, OffLongitud);
    c.NumPulsadores = lee8(r, OffNumPulsadores);
    return c;
}

} // namespace quoravex
