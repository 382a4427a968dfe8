#include "render/TextoObjeto.h"

#include "document/ObjetoTicket.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace quoravex;

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

// A surface with the font a text box would get, to measure strings apart from the box.
Surface medidor(const FuenteTexto& f) {
    Surface s(10, 10);
    AplicarFuente(s, f);
    return s;
}

} // namespace

TEST(TextoObjeto, BoxFitsTextPlusDotAndTextStartsAtOrigin) {
    const QString cien(100, QLatin1Char('W'));
    const struct {
        const char* nombre;
        FuenteTexto fuente;
        QString texto, guardado;
    } casos[] = {
        {"padded", {Serif, 12, 0, false, false}, QStringLiteral("   A  b  "), QStringLiteral("A  b")},
        {"bold, underline", {Sans, 24, 2, true, true}, QStringLiteral("Caja 7"), QStringLiteral("Caja 7")},
        {"size 0", {Sans, 0, 0, false, false}, QStringLiteral("88"), QStringLiteral("88")},
        {"100 chars at 180", {Sans, 180, 3, false, false}, cien, cien},
        {"empty", {Sans, 30, 0, false, false}, QString(), QString()},
        // Private-use characters exist in no installed font.
        {"no glyphs",
         {Sans, 20, 0, false, false},
         QStringLiteral("\uE000A\uE001"),
         QStringLiteral("\uE000A\uE001")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        ObjetoTicket o;
        o.Tipo = TipoTextoFijo;
        o.Texto = c.texto;
        o.CurrentX = 1;
        o.CurrentY = 1;
        Surface caja(382, 120);
        caja.move(40, 50);
        caja.setCurrentX(9);
        caja.setForeColor(0xE0E0E0);
        DibujarTextoEnCaja(o, caja, c.fuente);

        const Surface m = medidor(c.fuente);
        const int anchoTexto = m.textWidth(c.guardado);
        EXPECT_EQ(o.Texto.valor(), c.guardado);
        EXPECT_EQ(std::pair(o.CurrentX, o.CurrentY), std::pair(0, 0));
        // Kerning is off, so the "." adds exactly its own advance.
        EXPECT_EQ(o.TextWidth, anchoTexto + m.textWidth(QStringLiteral(".")));
        EXPECT_EQ(o.TextHeight, m.textHeight());
        EXPECT_EQ(caja.geometry(), QRect(40, 50, o.TextWidth, o.TextHeight));
        EXPECT_EQ(caja.fontBold(), c.fuente.estilo >= 2);
        EXPECT_EQ(caja.fontItalic(), c.fuente.estilo % 2 == 1);
        EXPECT_EQ(caja.fontUnderline(), c.fuente.subrayado);

        // The box holds exactly the stored text printed at (0, 0), without the ".".
        Surface referencia = medidor(c.fuente);
        referencia.resize(caja.width(), caja.height());
        referencia.setForeColor(0xE0E0E0);
        referencia.clear();
        referencia.print(c.guardado);
        EXPECT_TRUE(caja.image() == referencia.image());
        EXPECT_EQ(tinta(caja).isNull(), c.guardado.isEmpty());
    }
}

TEST(TextoObjeto, InkTakesForegroundColourAndSizeScales) {
    ObjetoTicket o;
    o.Texto = QStringLiteral("H");
    Surface caja;
    caja.setForeColor(0x3020A0);
    DibujarTextoEnCaja(o, caja, {Sans, 30, 0, false, false});
    const int alto30 = o.TextHeight;
    std::set<int32_t> colores;
    for (int y = 0; y < caja.height(); ++y)
        for (int x = 0; x < caja.width(); ++x)
            colores.insert(caja.point(x, y));
    EXPECT_EQ(colores, (std::set<int32_t>{0xFFFFFF, 0x3020A0})); // no antialiasing
    DibujarTextoEnCaja(o, caja, {Sans, 180, 0, false, false});
    EXPECT_NEAR(o.TextHeight, 6 * alto30, alto30 / 2);
    // Size 0 draws like the smallest size instead of failing.
    DibujarTextoEnCaja(o, caja, {Sans, 0, 0, false, false});
    const QRect cero = caja.geometry();
    DibujarTextoEnCaja(o, caja, {Sans, 1, 0, false, false});
    EXPECT_EQ(caja.geometry(), cero);
}

TEST(TextoObjeto, FamilyResolution) {
    const QList<FamiliaFuente> lista = {
        {QStringLiteral("Zeta"), true}, {Sans, true}, {QStringLiteral("Fija"), false}};
    const std::pair<QString, QString> casos[] = {
        {QStringLiteral("  dejavu sans   "), Sans},
        {QStringLiteral("Fija"), QStringLiteral("Fija")},
        {QStringLiteral("Arial"), QStringLiteral("Zeta")}, // unknown: the first family
        {QString(), QStringLiteral("Zeta")},               // a just-added object
        {QStringLiteral("DejaVu"), QStringLiteral("Zeta")},
    };
    for (const auto& [buscado, esperado] : casos)
        EXPECT_EQ(ResolverFamilia(buscado, lista), esperado) << buscado.toStdString();
    EXPECT_EQ(ResolverFamilia(QStringLiteral(" Arial "), {}), QStringLiteral("Arial"));
    const QList<FamiliaFuente> instaladas = FamiliasInstaladas(); // outline families first
    EXPECT_TRUE(
        std::is_partitioned(instaladas.begin(), instaladas.end(), [](auto& f) { return f.contorno; }));
}

TEST(TextoObjeto, FontOfTheRecord) {
    const QList<FamiliaFuente> lista = {{Serif, true}, {Sans, true}};
    struct Caso {
        int16_t tipo, estilo, subrayado, tachado;
        int estiloEsperado;
        bool subrayadoEsperado, tachadoEsperado;
    };
    const Caso casos[] = {
        {TipoTextoFijo, 3, 1, 1, 3, true, true},   {TipoTextoFijo, 1, 0, 1, 1, false, true},
        {TipoTextoFijo, 7, -1, 0, 0, true, false}, {TipoTurno, 2, 1, 1, 2, false, false},
        {TipoFecha, 1, 1, 0, 1, false, false},     {TipoHora, -2, 0, 1, 0, false, false},
    };
    for (const Caso& c : casos) {
        ObjetoTicket o;
        o.Tipo = c.tipo;
        o.FontName = QStringLiteral("DejaVu Sans");
        o.FontSize = 42;
        o.FontStyle = c.estilo;
        o.FontUnderline = c.subrayado;
        o.FontStrikethru = c.tachado;
        const FuenteTexto f = FuenteDelRegistro(o, lista);
        SCOPED_TRACE(testing::Message() << "Tipo " << c.tipo << " estilo " << c.estilo);
        EXPECT_EQ(f.familia, Sans);
        EXPECT_EQ(f.tamano, 42);
        EXPECT_EQ(std::tuple(f.estilo, f.subrayado, f.tachado),
                  std::tuple(c.estiloEsperado, c.subrayadoEsperado, c.tachadoEsperado));
    }
    ObjetoTicket nuevo;
    nuevo.fuenteInicial();
    EXPECT_EQ(FuenteDelRegistro(nuevo, lista).familia, Serif);
}
