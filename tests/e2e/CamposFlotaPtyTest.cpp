// One design, one table: quoravex-cli send to four virtual printers listed in a CSV file,
// each with its office's values; the fourth row lacks a value and fails alone.
#include "Simulador.h"
#include "document/ArchivoDiseno.h"
#include "document/Ficheros.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "render/CodigoBarras.h"
#include "render/DescripcionCodigo.h"
#include "render/ImagenObjeto.h"
#include "support/Bytes.h"
#include "support/DisenoEjemplo.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace quoravex;
using namespace quoravex::test;

TEST(CamposFlotaPty, EachPrinterGetsTheFilesOfItsRowAndAMissingValueFailsAlone) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "four printers at once: run in the normal build";
#endif
    QTemporaryDir tmp;
    const QDir d(tmp.path());
    // The sample ticket with the office's name and a QR code that calls it.
    Design design;
    ASSERT_TRUE(EscribirDisenoEjemplo(design, tmp.path(), 2, 10, false));
    NuevoObjeto n{TipoTextoFijo, std::nullopt, 200, 1, 382, 120, QStringLiteral("Oficina {sucursal}")};
    ObjetoTicket& texto = design.objeto(design.agregar(n));
    texto.Pendiente = Falso;
    texto.FontName = QStringLiteral("DejaVu Sans");
    texto.FontSize = 14;
    ParametrosCodigo qr;
    qr.datos = QStringLiteral("tel:{tel}");
    const QImage simbolo = GenerarCodigo(qr).imagen;
    const QString bitmap = d.filePath(QStringLiteral("qr.bmp"));
    ASSERT_TRUE(GuardarImagenTrabajo(simbolo, bitmap) &&
                EscribirFichero(RutaDescripcionCodigo(bitmap), EscribirDescripcionCodigo(qr)));
    n = NuevoObjeto{TipoImagen, {}, 230, 142, simbolo.width(), simbolo.height(), {}, 1};
    ObjetoTicket& codigo = design.objeto(design.agregar(n));
    codigo.Pendiente = Falso;
    codigo.ImagenTrabajo = bitmap;
    codigo.ImagenOrigen = RutaDescripcionCodigo(bitmap);
    codigo.AnchoImagen = static_cast<int16_t>(simbolo.width());
    const QString tck = d.filePath(QStringLiteral("oficinas.tck"));
    ASSERT_TRUE(GuardarDisenoComo(design, tck).correcto);

    std::vector<std::unique_ptr<Simulador>> impresoras;
    for (int i = 0; i < 4; ++i) {
        impresoras.push_back(std::make_unique<Simulador>(d.filePath(QStringLiteral("impresora%1").arg(i))));
        ASSERT_FALSE(impresoras.back()->pty().isEmpty());
    }
    const QStringList sucursales = {QStringLiteral("Centro"), QStringLiteral("Norte; planta \"B\""),
                                    QStringLiteral("Peñíscola"), QStringLiteral("Sur")};
    const QStringList telefonos = {QStringLiteral("911111111"), QStringLiteral("922222222"),
                                   QStringLiteral("933333333"), QString()};
    const QString tabla = d.filePath(QStringLiteral("oficinas.csv"));
    ASSERT_TRUE(quoravex::pruebas::Escribir(tabla, QStringLiteral("puerto;sucursal;tel;sin_uso\r\n%1;Centro;911111111;x\r\n"
                               "%2;\"Norte; planta \"\"B\"\"\";922222222;x\r\n%3;Peñíscola;933333333;x\r\n%4;Sur;;x\r\n")
                    .arg(impresoras[0]->pty(), impresoras[1]->pty(), impresoras[2]->pty(), impresoras[3]->pty())
                    .toUtf8()));
    QProcess p;
    p.setWorkingDirectory(tmp.path());
    p.start(QStringLiteral(QUORAVEX_CLI), {QStringLiteral("send"), tck, QStringLiteral("--ports-from"), tabla,
                                           QStringLiteral("--parallel"), QStringLiteral("2")});
    ASSERT_TRUE(p.waitForFinished(180000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 1)) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Aviso: la columna \"sin_uso\" de la tabla no es ningún campo del diseño; "
                                            "no se usa.\n")))
        << err.toStdString();

    // Every printer with its values has exactly what "generate --valor" writes for its row.
    QStringList nombres;
    for (int k = 0; k <= design.NumPulsadores; ++k)
        nombres << TransferenciaRaster::NombreArchivo(k);
    nombres << TipoFont::Turno().archivo;
    QByteArray primera;
    for (int i = 0; i < 3; ++i) {
        Simulador& s = *impresoras[i];
        ASSERT_TRUE(s.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << s.lineas().join(QLatin1Char('\n')).toStdString();
        const QString generados = d.filePath(QStringLiteral("generados%1").arg(i));
        QProcess g;
        g.setWorkingDirectory(tmp.path());
        g.start(QStringLiteral(QUORAVEX_CLI), {QStringLiteral("generate"), tck, QStringLiteral("--dir"), generados,
                                               QStringLiteral("--valor"), QStringLiteral("sucursal=") + sucursales[i],
                                               QStringLiteral("--valor"), QStringLiteral("tel=") + telefonos[i]});
        ASSERT_TRUE(g.waitForFinished(60000) && g.exitCode() == 0) << g.readAllStandardError().constData();
        for (const QString& nombre : nombres) {
            const QByteArray generado = LeerFichero(QDir(generados).filePath(nombre));
            EXPECT_FALSE(generado.isEmpty()) << nombre.toStdString();
            EXPECT_EQ(s.archivo(nombre).toHex(), generado.toHex()) << i << " " << nombre.toStdString();
        }
        const QByteArray comun = s.archivo(nombres.first());
        EXPECT_NE(comun, primera) << "each office prints its own ticket";
        primera = comun;
    }
    // The fourth printer was never sent anything.
    EXPECT_TRUE(impresoras[3]->archivo(nombres.first()).isEmpty());
    const QStringList lineas = err.split(QLatin1Char('\n'));
    EXPECT_TRUE(lineas.contains(impresoras[3]->pty() + QStringLiteral(": Falta el valor del campo {tel}")))
        << err.toStdString();

    // The table tells the printers apart by their first value.
    const qsizetype cabecera = lineas.indexOf(QRegularExpression(QStringLiteral("^Puerto +sucursal +Resultado .*")));
    ASSERT_GE(cabecera, 0) << err.toStdString();
    for (int i = 0; i < 4; ++i) {
        const QString fila = lineas.value(cabecera + 1 + i);
        EXPECT_TRUE(fila.startsWith(impresoras[i]->pty()) && fila.contains(QStringLiteral("  ") + sucursales[i]) &&
                    fila.contains(i < 3 ? QStringLiteral("correcto") : QStringLiteral("Falta el valor del campo {tel}")))
            << fila.toStdString();
    }
}
