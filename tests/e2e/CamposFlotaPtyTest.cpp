// One design, one table: quoravex-cli send to four virtual printers listed in a CSV file,
// each with its office's values; the fourth row lacks a value and fails alone.
#include "Simulador.h"
#include "document/Ficheros.h"
#include "render/CodigoBarras.h"
#include "render/DescripcionCodigo.h"
#include "render/ImagenObjeto.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

TEST(CamposFlotaPty, EachPrinterGetsTheFilesOfItsRowAndAMissingValueFailsAlone) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "four printers at once: run in the normal build";
#endif
    // The sample ticket with the office's name and a QR code that calls it.
    Banco b;
    ASSERT_TRUE(b.generado);
    Design& design = b.design;
    NuevoObjeto n{TipoTextoFijo, std::nullopt, 200, 1, 382, 120, QStringLiteral("Oficina {sucursal}")};
    ObjetoTicket& texto = design.objeto(design.agregar(n));
    texto.Pendiente = Falso;
    texto.FontName = QStringLiteral("DejaVu Sans");
    texto.FontSize = 14;
    ParametrosCodigo qr;
    qr.datos = QStringLiteral("tel:{tel}");
    const QImage simbolo = GenerarCodigo(qr).imagen;
    const QString bitmap = b.ruta(QStringLiteral("qr.bmp"));
    ASSERT_TRUE(GuardarImagenTrabajo(simbolo, bitmap) &&
                EscribirFichero(RutaDescripcionCodigo(bitmap), EscribirDescripcionCodigo(qr)));
    n = NuevoObjeto{TipoImagen, {}, 230, 142, simbolo.width(), simbolo.height(), {}, 1};
    ObjetoTicket& codigo = design.objeto(design.agregar(n));
    codigo.Pendiente = Falso;
    codigo.ImagenTrabajo = bitmap;
    codigo.ImagenOrigen = RutaDescripcionCodigo(bitmap);
    codigo.AnchoImagen = static_cast<int16_t>(simbolo.width());
    ASSERT_TRUE(GuardarDisenoComo(design, b.tck).correcto);
    auto& impresoras = b.impresoras;
    for (int i = 0; i < 4; ++i)
        ASSERT_FALSE(b.impresora().pty().isEmpty());
    const QStringList sucursales = {QStringLiteral("Centro"), QStringLiteral("Norte; planta \"B\""),
                                    QStringLiteral("Peñíscola"), QStringLiteral("Sur")};
    const QStringList telefonos = {QStringLiteral("911111111"), QStringLiteral("922222222"),
                                   QStringLiteral("933333333"), QString()};
    const QString tabla = b.ruta(QStringLiteral("oficinas.csv"));
    ASSERT_TRUE(quoravex::pruebas::Escribir(tabla, QStringLiteral("puerto;sucursal;tel;sin_uso\r\n%1;Centro;911111111;x\r\n"
                               "%2;\"Norte; planta \"\"B\"\"\";922222222;x\r\n%3;Peñíscola;933333333;x\r\n%4;Sur;;x\r\n")
                    .arg(impresoras[0]->pty(), impresoras[1]->pty(), impresoras[2]->pty(), impresoras[3]->pty())
                    .toUtf8()));
    const Salida r = b.correr({QStringLiteral("send"), b.tck, QStringLiteral("--ports-from"), tabla,
                               QStringLiteral("--parallel"), QStringLiteral("2")});
    const QString& err = r.err;
    EXPECT_EQ(r.codigo, 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Aviso: la columna \"sin_uso\" de la tabla no es ningún campo del diseño; "
                                            "no se usa.\n")))
        << err.toStdString();

    // Every printer with its values has exactly what "generate --valor" writes for its row.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QString generados = b.ruta(QStringLiteral("generados%1").arg(i));
        const Salida g = b.correr({QStringLiteral("generate"), b.tck, QStringLiteral("--dir"), generados,
                                   QStringLiteral("--valor"), QStringLiteral("sucursal=") + sucursales[i],
                                   QStringLiteral("--valor"), QStringLiteral("tel=") + telefonos[i]});
        ASSERT_EQ(g.codigo, 0) << g.err.toStdString();
        b.compararArchivos(*impresoras[i], generados);
    }
    // The table tells the printers apart by their first value; the fourth fails alone.
    const QStringList lineas = err.split(QLatin1Char('\n'));
    const qsizetype cabecera = lineas.indexOf(QRegularExpression(QStringLiteral("^Puerto +sucursal +Resultado .*")));
    ASSERT_GE(cabecera, 0) << err.toStdString();
    for (int i = 0; i < 4; ++i) {
        const QString fila = lineas.value(cabecera + 1 + i);
        EXPECT_TRUE(fila.startsWith(impresoras[i]->pty()) && fila.contains(QStringLiteral("  ") + sucursales[i]) &&
                    fila.contains(i < 3 ? QStringLiteral("correcto") : QStringLiteral("Falta el valor del campo {tel}")))
            << fila.toStdString();
    }
}
