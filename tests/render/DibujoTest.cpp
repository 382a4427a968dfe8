#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Rotar.h"
#include "render/TextoObjeto.h"
#include "render/Workspace.h"

#include "document/Design.h"
#include "support/FicherosImagen.h"

#include <QRandomGenerator>
#include <QTransform>
#include <array>
#include <gtest/gtest.h>
#include <set>

using namespace quoravex;
using namespace pruebas;

namespace {

const QString Sans = QStringLiteral("DejaVu Sans");
const QString Serif = QStringLiteral("DejaVu Serif");

// Bounding box of the pixels that are not white.
QRect tinta(const Surface& s) {
    QRect r;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.point(x, y) != static_cast<int32_t>(ColorBlanco)) r = r.united(QRect(x, y, 1, 1));
    return r;
}

std::set<int32_t> colores(const Surface& s) {
    std::set<int32_t> c;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            c.insert(s.point(x, y));
    return c;
}

// A surface with the font a text box would get, to measure strings apart from the box.
Surface medidor(const FuenteTexto& f) {
    Surface s(10, 10);
    AplicarFuente(s, f);
    return s;
}

// An image of odd width (so rows are padded) with random bytes everywhere, padding included.
QImage imagenAleatoria(QImage::Format formato, int ancho = 11, int alto = 9) {
    QImage img(ancho, alto, formato);
    if (img.depth() == 1) img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QRandomGenerator gen(42);
    for (qsizetype i = 0; i < img.sizeInBytes(); ++i)
        img.bits()[i] = static_cast<uchar>(gen.bounded(256));
    return img;
}

QByteArray crudo(const QImage& img) {
    return QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
}

} // namespace

// Pixels read back in our colour order and -1 outside; growing keeps the drawing and gives the
// new area the background colour; a picture shrunk keeps the darkest dot of each span.
TEST(Surface, PixelsGrowingAndShrunkPictures) {
    Surface s(4, 4);
    s.setBackColor(0xFFFFC0);
    s.clear();
    s.pset(1, 1, 0x0000FF); // pure red: red in the low byte
    s.setBackColor(0x00FF00);
    s.resize(8, 6);
    QImage raya = Surface::nuevaImagen(9, 1, ColorBlanco); // a thin line survives
    raya.setPixel(4, 0, qRgb(0, 0, 0));
    s.paintPicture(raya, QRect(0, 5, 3, 1));
    EXPECT_EQ(std::tuple(s.point(1, 1), s.image().pixel(1, 1), s.point(0, 0), s.point(7, 4), s.point(8, 0),
                         s.point(0, 6)),
              std::tuple(0x0000FF, qRgb(255, 0, 0), 0xFFFFC0, 0x00FF00, -1, -1));
    EXPECT_EQ(std::tuple(s.point(0, 5), s.point(1, 5), s.point(2, 5)), std::tuple(0xFFFFFF, 0, 0xFFFFFF));
}

// A text box fits its text plus a "." (room for an italic overhang) and holds exactly the
// stored text printed at (0, 0), in pure ink of its foreground colour, the pen after it;
// nothing of the text falls outside its measure (an italic one leans a little past).
TEST(TextoObjeto, BoxFitsTextPlusDotAndTextStartsAtOrigin) {
    const QString cien(100, QLatin1Char('W')), raros = QStringLiteral("\uE000A\uE001"); // in no font
    const std::tuple<const char*, FuenteTexto, QString, QString> casos[] = {
        {"padded", {Serif, 12, 0, false, false}, QStringLiteral("   A  b  "), QStringLiteral("A  b")},
        {"bold, underline", {Sans, 24, 2, true, true}, QStringLiteral("Caja 7"), QStringLiteral("Caja 7")},
        {"italic", {Sans, 12, 1, false, false}, QStringLiteral("jgpq|"), QStringLiteral("jgpq|")},
        {"size 0", {Sans, 0, 0, false, false}, QStringLiteral("88"), QStringLiteral("88")},
        {"100 chars at 180", {Sans, 180, 3, false, false}, cien, cien},
        {"empty", {Sans, 30, 0, false, false}, QString(), QString()},
        {"no glyphs", {Sans, 20, 0, false, false}, raros, raros}};
    for (const auto& [nombre, fuente, texto, guardado] : casos) {
        SCOPED_TRACE(nombre);
        ObjetoTicket o;
        o.Tipo = TipoTextoFijo;
        o.Texto = texto;
        o.CurrentX = o.CurrentY = 1;
        Surface caja(382, 120);
        caja.move(40, 50);
        caja.setCurrentX(9);
        caja.setForeColor(0xE0E0E0);
        DibujarTextoEnCaja(o, caja, fuente);

        // Kerning is off, so the "." adds exactly its own advance.
        const Surface m = medidor(fuente);
        const int ancho = m.textWidth(guardado);
        EXPECT_EQ(
            std::tuple(o.Texto.valor(), o.CurrentX, o.CurrentY, o.TextWidth, o.TextHeight, caja.currentX()),
            std::tuple(guardado, 0, 0, ancho + m.textWidth(QStringLiteral(".")), m.textHeight(), ancho));
        EXPECT_EQ(std::tuple(caja.geometry(), caja.fontBold(), caja.fontItalic(), caja.fontUnderline()),
                  std::tuple(QRect(40, 50, o.TextWidth, o.TextHeight), fuente.estilo >= 2,
                             fuente.estilo % 2 == 1, fuente.subrayado));
        Surface referencia = medidor(fuente);
        referencia.resize(caja.width() + 20, caja.height() + 20);
        referencia.setForeColor(0xE0E0E0);
        referencia.clear();
        referencia.print(guardado);
        const QRect r = tinta(referencia);
        EXPECT_TRUE(caja.image() == referencia.image().copy(0, 0, caja.width(), caja.height()));
        if (fuente.tamano > 0) { // at size 0 the few dots of the box are all ink
            EXPECT_EQ(colores(caja), (guardado.isEmpty() ? std::set{0xFFFFFF} : std::set{0xE0E0E0, 0xFFFFFF}))
                << "pure ink";
            EXPECT_TRUE(r.isNull() == guardado.isEmpty() && r.bottom() < o.TextHeight &&
                        r.right() < ancho + (fuente.estilo % 2 ? int(fuente.tamano) / 4 : 0))
                << r.right() << " " << r.bottom();
        }
    }
    // 30 points are 40 pixels of em at 96 dots per inch (DejaVu Sans: ascent + descent about
    // 1.164 em), 180 points six times that; size 0 draws like the smallest size.
    ObjetoTicket o;
    o.Texto = QStringLiteral("H");
    Surface caja;
    auto medida = [&](double puntos) {
        DibujarTextoEnCaja(o, caja, {Sans, puntos, 0, false, false});
        return caja.geometry();
    };
    EXPECT_NEAR(medida(30).height(), 47, 1);
    EXPECT_NEAR(medida(180).height(), 6 * 47, 23);
    EXPECT_EQ(medida(0), medida(1));
}

// The family as stored, trimmed, in other capitals, else the first listed; the style within
// 0..3; underline and strike-through for fixed texts only.
TEST(TextoObjeto, FontOfTheRecord) {
    const QString zeta = QStringLiteral("Zeta"), fija = QStringLiteral("Fija");
    const std::tuple<QString, QList<FamiliaFuente>, QString> familias[] = {
        {QStringLiteral("  dejavu sans   "), {{zeta}, {Sans}, {fija, false}}, Sans},
        {fija, {{zeta}, {Sans}, {fija, false}}, fija}, {QStringLiteral("Arial"), {{zeta}, {Sans}}, zeta},
        {QString(), {{zeta}, {Sans}}, zeta}, {QStringLiteral("DejaVu"), {{zeta}, {Sans}}, zeta},
        {QStringLiteral(" Arial "), {}, QStringLiteral("Arial")}};
    for (const auto& [buscado, lista, esperado] : familias)
        EXPECT_EQ(ResolverFamilia(buscado, lista), esperado) << buscado.toStdString();
    const QList<FamiliaFuente> instaladas = FamiliasInstaladas(); // outline families first
    EXPECT_TRUE(std::ranges::is_partitioned(instaladas, [](auto& f) { return f.contorno; }));

    // Type, style, underline, strike-through; then the style, underline and strike-through given.
    const std::array<int, 7> casos[] = {
        {TipoTextoFijo, 3, 1, 1, 3, 1, 1}, {TipoTextoFijo, 1, 0, 1, 1, 0, 1}, {TipoTurno, 2, 1, 1, 2, 0, 0},
        {TipoTextoFijo, 7, -1, 0, 0, 1, 0}, {TipoFecha, 1, 1, 0, 1, 0, 0}, {TipoHora, -2, 0, 1, 0, 0, 0}};
    for (const auto& [tipo, estilo, subrayado, tachado, e, s, t] : casos) {
        ObjetoTicket o;
        o.Tipo = static_cast<int16_t>(tipo);
        o.FontName = Sans;
        o.FontSize = 42;
        o.FontStyle = static_cast<int16_t>(estilo);
        o.FontUnderline = static_cast<int16_t>(subrayado);
        o.FontStrikethru = static_cast<int16_t>(tachado);
        const FuenteTexto f = FuenteDelRegistro(o, {{Serif, true}, {Sans, true}});
        EXPECT_EQ(std::tuple(f.familia, f.tamano, f.estilo, f.subrayado, f.tachado),
                  std::tuple(Sans, 42.0, e, s == 1, t == 1))
            << "Tipo " << tipo << " estilo " << estilo;
    }
    ObjetoTicket nuevo;
    nuevo.fuenteInicial();
    EXPECT_EQ(FuenteDelRegistro(nuevo, {{Serif, true}, {Sans, true}}).familia, Serif);
}

// One design drawn as a single push-button ticket, then in the views of the common part and of
// push-buttons 3 and 2: shown objects are black, objects of the common part alone dimmed, the rest
// (one of the common part and push-button 3 too) parked; a text box follows its text whatever width
// was stored; an image without its bitmap is a white box of its record, with it the stored picture as
// it is at AnchoImagen's width.
TEST(Redibujar, ViewRuleTextBoxesAndImages) {
    DirectorioActualTemporal temporal;
    Design d;
    Workspace ws;
    auto agregar = [&](int16_t tipo, uint32_t pulsadores, QRect r = QRect(10, 10, 60, 30)) {
        const int i = d.agregar(
            {tipo, {}, r.top(), r.left(), r.width(), r.height(), QStringLiteral("Hola"), pulsadores});
        d.objeto(i).FontName = Sans;
        d.objeto(i).FontSize = 12;
        return i;
    };
    const int texto = agregar(TipoTextoFijo, 1, QRect(7, 9, 382, 120));
    agregar(TipoLinea, 9);
    agregar(TipoLinea, 4);
    agregar(TipoTurno, 1);
    d.objeto(agregar(TipoImagen, 1, QRect(20, 30, 96, 96))).ImagenTrabajo = QStringLiteral("no-existe.bmp");
    const int imagen = agregar(TipoImagen, 1, QRect(144, 202, 96, 96));
    QImage claro(40, 20, QImage::Format_RGB32); // light grey: white if it were converted again
    claro.fill(qRgb(200, 200, 200));
    d.objeto(imagen).ImagenTrabajo = temporal.ruta(QStringLiteral("Imagen6.bmp"));
    Escribir(d.objeto(imagen).ImagenTrabajo.valor(), Codificar(claro, "BMP"));
    d.objeto(imagen).AnchoImagen = 80;

    constexpr int32_t G = ColorGris, W = 0xFFFFFF, P = -1; // P: parked
    const std::tuple<int, uint32_t, std::vector<int32_t>> vistas[] = {
        {0, 8, {0, 0, 0, 0, W, 0}}, {4, 1, {0, 0, P, 0, W, 0}}, {4, 8, {G, 0, P, G, W, G}},
        {4, 4, {G, P, 0, G, W, G}}};
    for (const auto& [pulsadores, vista, tintas] : vistas) {
        d.NumPulsadores = static_cast<int16_t>(pulsadores);
        d.VistaActual = vista;
        d.Objeto = 0;
        RedibujarTicket(d, ws);
        std::vector<int32_t> obtenidas;
        for (int i = 1; i <= 6; ++i) {
            const Surface& s = ws.item(i);
            // The ink: the smallest colour value in the box, white only when there is none.
            obtenidas.push_back(s.geometry() == QRect(1000, 0, 14, 17) ? P : *colores(s).begin());
        }
        EXPECT_EQ(obtenidas, tintas) << vista;
        EXPECT_EQ(
            std::tuple(d.Objeto, ws.item(tintas[1] == P ? 3 : 2).geometry(), ws.item(5).geometry(), // a line shown
                       ws.item(6).geometry()),
            std::tuple(int16_t(6), QRect(10, 10, 60, 30), QRect(20, 30, 96, 96), QRect(144, 202, 80, 40)));
    }
    const Surface medida = medidor({Sans, 12, 0, false, false});
    EXPECT_EQ(
        std::tuple(ws.item(texto).geometry(), d.objeto(texto).CurrentX, d.objeto(texto).Width),
        std::tuple(QRect(7, 9, medida.textWidth(QStringLiteral("Hola.")), medida.textHeight()), 0, 382));
}

// Turns that undo each other give the same bytes back, row padding included, in whole-byte
// and one-bit formats; refused blocks leave the image alone. The selected object's box turns a
// quarter clockwise, wide or square; its record stays.
TEST(Rotar, BlocksAndBoxesTurnInPlaceOrNotAtAll) {
    for (QImage::Format f : {QImage::Format_RGB888, QImage::Format_Mono}) {
        QImage img = imagenAleatoria(f);
        const QByteArray antes = crudo(img);
        ASSERT_TRUE(RotarBitmap(img, RotarMediaVuelta, 2, 1, 7, 5) &&
                    RotarBitmap(img, RotarMediaVuelta, 2, 1, 7, 5));
        EXPECT_EQ(crudo(img), antes) << "two half turns, format " << f;
        ASSERT_TRUE(RotarBitmap(img, RotarHorario, 1, 2, 6, 6) &&
                    RotarBitmap(img, RotarAntihorario, 1, 2, 6, 6));
        EXPECT_EQ(crudo(img), antes) << "a quarter turn each way, format " << f;
    }
    const std::tuple<int, int, int, int, int> rechazos[] = {
        {RotarHorario, 0, 0, 4, 3},      {3, 0, 0, 2, 2},  {RotarMediaVuelta, 8, 0, 4, 2},
        {RotarMediaVuelta, -1, 0, 2, 2}, {-1, 0, 0, 2, 2}, {RotarHorario, 0, 5, 5, 5}};
    for (const auto& [modo, x, y, w, h] : rechazos) {
        QImage img = imagenAleatoria(QImage::Format_RGB888);
        const QByteArray antes = crudo(img);
        EXPECT_FALSE(RotarBitmap(img, modo, x, y, w, h)) << modo << " " << x << "," << y;
        EXPECT_EQ(crudo(img), antes);
    }
    for (QSize tamano : {QSize(40, 20), QSize(17, 17)}) {
        Design d;
        const int i = d.agregar({TipoImagen, {}, 1, 1, 382, 120, {}, 1});
        d.TicketModificado = Falso;
        const ObjetoTicket registro = d.objeto(i);
        Workspace ws;
        Surface& caja = ws.item(i);
        caja.setGeometry(30, 50, tamano.width(), tamano.height());
        caja.image() = imagenAleatoria(QImage::Format_RGB888, tamano.width(), tamano.height())
                           .convertToFormat(QImage::Format_RGB32);
        const QImage antes = caja.image();
        ASSERT_TRUE(PBRotar(d, ws));
        EXPECT_EQ(std::tuple(caja.geometry(), caja.image(), d.objeto(i), d.TicketModificado),
                  std::tuple(QRect(30, 50, tamano.height(), tamano.width()),
                             antes.transformed(QTransform().rotate(90)), registro, Verdadero))
            << tamano.width() << "x" << tamano.height();
    }
    Design vacio;
    Workspace ws;
    EXPECT_FALSE(PBRotar(vacio, ws));
}
