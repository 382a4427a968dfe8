// Which recovery copies are offered at start-up: those of designers that have ended, of this
// user alone, newest first; a running designer's copy is never offered nor touched.
#include "platform/CopiasRecuperacion.h"
#include "support/Bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using quoravex::pruebas::Escribir;

namespace {

constexpr auto Otros = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                       QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

} // namespace

TEST(CopiasRecuperacion, OnlyCopiesOfEndedDesignersOfThisUserAreOfferedNewestFirst) {
    QTemporaryDir dir;
    const QString raiz = dir.filePath(QStringLiteral("datos/recuperacion"));
    ASSERT_TRUE(CrearCarpetaPrivada(raiz));
    EXPECT_FALSE(QFile::permissions(raiz) & Otros);

    const IdProceso yo = ProcesoActual();
    ASSERT_TRUE(ProcesoVivo(yo));
    const qint64 nadie = 2147480000; // beyond any process number in use
    const QDateTime base = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const struct {
        const char* caso;
        QString carpeta;
        int segundos;  // the description's time after base; -1: a damaged description, -2: none
        bool diseno;   // a design file is there
        bool abierta;  // others may write into the folder
        char esperado; // 'o' offered, 'v' empty and removable, '-' left alone
    } casos[] = {
        {"running designer", NombreCarpetaCopia(yo), 50, true, false, '-'},
        {"ended designer", NombreCarpetaCopia({nadie, 7}), 10, true, false, 'o'},
        {"number reused by a later process", NombreCarpetaCopia({yo.pid, yo.inicio + 1}), 20, true, false,
         'o'},
        {"damaged description", NombreCarpetaCopia({nadie + 1, 7}), -1, true, false, 'o'},
        {"nothing in it", NombreCarpetaCopia({nadie + 2, 7}), -2, false, false, 'v'},
        {"others may write into it", NombreCarpetaCopia({nadie + 3, 7}), 30, true, true, '-'},
        {"not a copy's name", QStringLiteral("notas"), 40, true, false, '-'},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const QString carpeta = QDir(raiz).filePath(c.carpeta);
        ASSERT_TRUE(CrearCarpetaPrivada(carpeta));
        DescripcionCopia d;
        d.hora = base.addSecs(c.segundos);
        d.diseno = QStringLiteral("diseno-1.tck");
        const QString descripcion = QDir(carpeta).filePath(NombreDescripcionCopia);
        if (c.segundos != -2)
            EXPECT_TRUE(Escribir(descripcion, c.segundos >= 0 ? CodificarDescripcion(d) : "{\"formato\":"));
        if (c.diseno) EXPECT_TRUE(Escribir(QDir(carpeta).filePath(d.diseno), QByteArray(452, '\0')));
        if (c.abierta) QFile::setPermissions(carpeta, QFile::permissions(carpeta) | QFileDevice::WriteOther);
    }

    const CopiasPendientes p = BuscarCopiasPendientes(raiz);
    QStringList ofrecidas;
    for (const CopiaPendiente& c : p.ofrecer)
        ofrecidas << QFileInfo(c.carpeta).fileName();
    // The damaged description's time is its files' time: now, the newest.
    EXPECT_EQ(ofrecidas,
              (QStringList{NombreCarpetaCopia({nadie + 1, 7}), NombreCarpetaCopia({yo.pid, yo.inicio + 1}),
                           NombreCarpetaCopia({nadie, 7})}));
    EXPECT_EQ(p.ofrecer.last().hora, base.addSecs(10));
    EXPECT_EQ(p.vacias, QStringList{QDir(raiz).filePath(NombreCarpetaCopia({nadie + 2, 7}))});

    // Only a copy's folder is ever removed.
    EXPECT_FALSE(EliminarCopia(QDir(raiz).filePath(QStringLiteral("notas"))));
    EXPECT_TRUE(QFileInfo::exists(QDir(raiz).filePath(QStringLiteral("notas/diseno-1.tck"))));
    EXPECT_TRUE(EliminarCopia(p.ofrecer.first().carpeta));
    EXPECT_FALSE(QFileInfo::exists(p.ofrecer.first().carpeta));

    // A root that others may write into is not trusted at all, nor a description naming files elsewhere.
    QFile::setPermissions(raiz, QFile::permissions(raiz) | QFileDevice::WriteOther);
    EXPECT_TRUE(BuscarCopiasPendientes(raiz).ofrecer.isEmpty());
    DescripcionCopia fuera;
    fuera.diseno = QStringLiteral("../../.bashrc");
    EXPECT_FALSE(DecodificarDescripcion(CodificarDescripcion(fuera)));
}
