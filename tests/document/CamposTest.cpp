#include "document/Campos.h"

#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// "<name>" marks a field in the expected pieces; anything else is literal text.
QString Trozos(const QString& texto) {
    QString r;
    for (const TrozoTexto& t : AnalizarCampos(texto))
        r += t.campo ? QLatin1Char('<') + t.texto + QLatin1Char('>') : QLatin1Char('[') + t.texto + QLatin1Char(']');
    return r;
}

} // namespace

TEST(Campos, ParsingFillingAndRefusedCharactersByTable) {
    const ValoresCampos valores{{QStringLiteral("sucursal"), QStringLiteral("Centro")},
                                {QStringLiteral("tel-2_b"), QStringLiteral("91 555")},
                                {QStringLiteral("ñandú"), QStringLiteral("ave")},
                                {QStringLiteral("vacio"), QString()}};
    struct Fila {
        const char* texto;
        const char* trozos;  // as Trozos writes them
        const char* relleno; // filled with `valores`
        const char* falta;   // the first field without a value
    };
    const Fila filas[] = {
        {"", "", "", ""},
        {"Bienvenido", "[Bienvenido]", "Bienvenido", ""},
        {"{sucursal}", "<sucursal>", "Centro", ""},
        {"Oficina {sucursal} - {tel-2_b}", "[Oficina ]<sucursal>[ - ]<tel-2_b>", "Oficina Centro - 91 555", ""},
        {"{ñandú}{sucursal}", "<ñandú><sucursal>", "aveCentro", ""},
        // Doubled braces are literal, also around a field.
        {"{{sucursal}}", "[{sucursal}]", "{sucursal}", ""},
        {"{{{sucursal}}}", "[{]<sucursal>[}]", "{Centro}", ""},
        {"a }} b {{", "[a } b {]", "a } b {", ""},
        // Braces that open no field stay as typed.
        {"{}", "[{}]", "{}", ""},
        {"{a b}", "[{a b}]", "{a b}", ""},
        {"} solo", "[} solo]", "} solo", ""},
        {"{sucursal", "[{sucursal]", "{sucursal", ""},
        {"{{}", "[{}]", "{}", ""},
        // Missing, empty and mistyped names: the first one is named.
        {"{sucrusal} {otro}", "<sucrusal>[ ]<otro>", " ", "sucrusal"},
        {"{vacio}", "<vacio>", "", "vacio"},
        {"{Sucursal}", "<Sucursal>", "", "Sucursal"},
    };
    for (const Fila& f : filas) {
        const QString texto = QString::fromUtf8(f.texto);
        SCOPED_TRACE(f.texto);
        EXPECT_EQ(Trozos(texto), QString::fromUtf8(f.trozos));
        const TextoRelleno r = RellenarCampos(texto, valores);
        EXPECT_EQ(r.texto, QString::fromUtf8(f.relleno));
        EXPECT_EQ(r.falta, QString::fromUtf8(f.falta));
    }
    EXPECT_EQ(CamposDeTextos({QStringLiteral("{b} {a} {b}"), QStringLiteral("{{c}} {a} {c}")}),
              (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));

    // What a fixed text can print: Windows-1252 without control characters.
    const struct {
        const char* valor;
        const char* malo;
    } caracteres[] = {{"Peñíscola € ¿?", ""}, {"Łódź", "Ł"}, {"a\tb", "\t"}, {"ok 😀", "😀"}, {"a\xc2\x81", "\xc2\x81"}};
    for (const auto& c : caracteres) {
        const std::optional<QString> malo = CaracterNoImprimible(QString::fromUtf8(c.valor));
        EXPECT_EQ(malo.value_or(QString()), QString::fromUtf8(c.malo)) << c.valor;
    }
}
