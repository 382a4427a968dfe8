// Fields and missing pictures from the command line: generate, preview and the checks that
// come before anything is written.
#include "Muestra.h"

#include "document/ArchivoDiseno.h"
#include "support/Bytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

// The files generated for the sample design, by name: the rasters as the program wrote them
// before fields existed, and the turn, date and time fonts.
const QStringList SalidasMuestra = {
    QStringLiteral("DatosRasterFecha.bin b62d88e05ffae7ac101f0cb0a70fa0fb15562cee98ebbdfe326f9a4da5f5289b"),
    QStringLiteral("DatosRasterHora.bin 1ae79971d59826c42ba2207f5270223799f76c18ed4b443ff9a1ca2a91ecd59d"),
    QStringLiteral("DatosRasterTurno.bin b59668e9cce3de3c2e204b0770fc4c6aef6498c425222770adace44c0277e891"),
    QStringLiteral("Salida00.bin 3dc944fdcf215099158a3aadc700a9ed620b9dd513f262061f81b6da1c3bf068"),
    QStringLiteral("Salida01.bin 8824866db532c6ab1f244be75f286820d0c9220c3e987553667b832f24e089ac"),
    QStringLiteral("Salida02.bin 06691397a83af4713f93b3f88ff286c2fbb2f65208a7648103c6cf39ac4037e9"),
    QStringLiteral("Salida03.bin bce72fc743236f3741c1c4fafa918cf1c51b42eb980f58246ac734d811eb9438")};

// Every generated file in the folder with its digest.
QStringList Resumenes(const QString& dir) {
    QStringList r;
    for (const QString& f : QDir(dir).entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name)) {
        const QByteArray bytes = Leer(QDir(dir).filePath(f));
        r << f + QLatin1Char(' ') +
                 QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
    return r;
}

// The exit code and standard error, without the platform's own notes.
muestra::Salida correr(const QStringList& argumentos, const QString& carpeta) {
    muestra::Salida r = muestra::Correr(argumentos, carpeta);
    QStringList lineas = r.err.split(QLatin1Char('\n'));
    lineas.removeIf([](const QString& l) { return l.startsWith(QStringLiteral("QStandardPaths: ")); });
    r.err = lineas.join(QLatin1Char('\n'));
    return r;
}

} // namespace

// The sample, whose picture lies beside it as MUESTRA.BMP, keeps the bytes it had before fields
// existed; missing pictures and values stop before anything is written.
TEST(CliCampos, SampleKeepsItsBytesAndMissingPicturesAndValuesStopFirst) {
    QTemporaryDir tmp;
    const QDir d(tmp.path());
    // The sample without its picture, and with a text of fields added.
    const QString sinImagen = d.filePath(QStringLiteral("sin-imagen.tck")), copia = d.filePath(QStringLiteral("m/muestra.tck"));
    ASSERT_TRUE(QFile::copy(muestra::RutaDiseno, sinImagen) && d.mkpath(QStringLiteral("m")) &&
                QFile::copy(muestra::RutaDiseno, copia) &&
                QFile::copy(muestra::RutaImagen, d.filePath(QStringLiteral("m/MUESTRA.BMP"))));
    Design campos = muestra::Diseno();
    NuevoObjeto n;
    n.Texto = QStringLiteral("{sucursal} ({tel})");
    n.Top = 70;
    campos.objeto(campos.agregar(n)).FontName = QStringLiteral("DejaVu Sans");
    campos.objeto(campos.NumObjetos).FontSize = 10;
    campos.objeto(campos.NumObjetos).Pendiente = Falso;
    const QString conCampos = d.filePath(QStringLiteral("campos/campos.tck"));
    ASSERT_TRUE(d.mkpath(QStringLiteral("campos")));
    ASSERT_TRUE(QFile::copy(muestra::RutaImagen, d.filePath(QStringLiteral("campos/muestra.bmp"))));
    ASSERT_TRUE(GuardarDisenoComo(campos, conCampos).correcto);
    const QString valores = d.filePath(QStringLiteral("valores.csv"));
    ASSERT_TRUE(Escribir(valores, "tel;sucursal\n91 555 01 02;Peñíscola\n"));
    const QString valoresMal = d.filePath(QStringLiteral("mal.csv"));
    ASSERT_TRUE(Escribir(valoresMal, "tel;sucursal\n91;A\n92;B\n"));
    QByteArray datos = Leer(muestra::RutaDiseno);
    datos[441] = 2; // the header's version
    const QString version2 = d.filePath(QStringLiteral("version2.tck"));
    ASSERT_TRUE(Escribir(version2, datos));

    const QString faltan = QStringLiteral("No se encuentran estas imágenes del diseño; sus objetos se ven en "
                                          "blanco:\nC:\\Tickets\\muestra.bmp\n");
    const QString salida = d.filePath(QStringLiteral("salida/nueva"));
    const QString generate = QStringLiteral("generate"), dir = QStringLiteral("--dir"), valor = QStringLiteral("--valor");
    const QString sucursal = QStringLiteral("sucursal=Peñíscola"), tel = QStringLiteral("tel=91 555 01 02");
    const struct {
        QStringList argumentos;
        int codigo;
        QString mensaje; // what standard error holds
        bool escribe;
    } casos[] = {
        {{generate, copia, dir, salida}, 0, QString(), true},
        {{generate, version2, dir, salida}, 1, QStringLiteral("Fichero de Version incompatible\n"), false},
        {{generate, sinImagen, dir, salida}, 1, faltan + QStringLiteral("No se ha generado ni enviado nada. Para "
                                                                       "seguir sin esas imágenes, use --imagenes-ausentes.\n"),
         false},
        {{generate, conCampos, dir, salida, valor, sucursal}, 1, QStringLiteral("Falta el valor del campo {tel}\n"), false},
        {{generate, conCampos, dir, salida, valor, sucursal, valor, QStringLiteral("tel=")},
         1, QStringLiteral("Falta el valor del campo {tel}\n"), false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("sucursal=Łódź"), valor, tel},
         1, QStringLiteral("El valor del campo {sucursal} tiene un carácter que un texto no puede imprimir: \"Ł\" (U+0141)\n"),
         false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("sin igual")}, 2,
         QStringLiteral("--valor necesita NOMBRE=VALOR, con un nombre de letras, dígitos, _ y -: sin igual\n"), false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("mi campo=1")}, 2,
         QStringLiteral("--valor necesita NOMBRE=VALOR, con un nombre de letras, dígitos, _ y -: mi campo=1\n"), false},
        {{generate, conCampos, dir, salida, QStringLiteral("--valores"), valoresMal}, 1,
         QStringLiteral("El fichero de valores %1 no se puede usar: línea 3: lleva una sola fila de valores bajo la "
                        "cabecera; para dar valores a cada impresora use --ports-from.\n")
             .arg(QDir::toNativeSeparators(valoresMal)),
         false},
        {{QStringLiteral("preview"), sinImagen, QStringLiteral("--out"), salida}, 0, faltan, true},
        {{generate, sinImagen, dir, salida, QStringLiteral("--imagenes-ausentes")}, 0, faltan, true},
        {{generate, conCampos, dir, salida, valor, sucursal, valor, tel, valor, QStringLiteral("ciudad=Madrid")}, 0,
         QStringLiteral("Aviso: el diseño no tiene el campo {ciudad}; su valor no se usa.\n"), true},
    };
    for (const auto& c : casos) {
        QDir(salida).removeRecursively();
        const muestra::Salida r = correr(c.argumentos, tmp.path());
        EXPECT_EQ(std::tuple(r.codigo, r.err.toStdString(), QFileInfo::exists(salida)),
                  std::tuple(c.codigo, c.mensaje.toStdString(), c.escribe))
            << c.argumentos.join(QLatin1Char(' ')).toStdString();
        if (c.argumentos[1] == copia) EXPECT_EQ(Resumenes(salida), SalidasMuestra);
    }

    // Without --dir, the design alone in its folder: its picture is found in the current one.
    const QString trabajo = d.filePath(QStringLiteral("trabajo"));
    ASSERT_TRUE(d.mkpath(trabajo) &&
                QFile::copy(muestra::RutaImagen, QDir(trabajo).filePath(QStringLiteral("muestra.bmp"))));
    EXPECT_EQ(correr({generate, sinImagen}, trabajo).err, QString());
    EXPECT_EQ(Resumenes(trabajo), SalidasMuestra);

    // The same values from a file give the same bytes; and they differ from another office's.
    const QString conFichero = d.filePath(QStringLiteral("fichero"));
    const QString otra = d.filePath(QStringLiteral("otra"));
    ASSERT_EQ(correr({generate, conCampos, dir, conFichero, QStringLiteral("--valores"), valores}, tmp.path()).codigo, 0);
    ASSERT_EQ(correr({generate, conCampos, dir, otra, valor, QStringLiteral("sucursal=Teruel"), valor, tel}, tmp.path())
                  .codigo,
              0);
    EXPECT_EQ(Resumenes(conFichero), Resumenes(salida));
    QStringList deOtra = Resumenes(otra), deSalida = Resumenes(salida);
    EXPECT_NE(deOtra.takeAt(3), deSalida.takeAt(3)) << "Salida00.bin";
    EXPECT_EQ(deOtra, deSalida) << "the text is in the common part only";
}
