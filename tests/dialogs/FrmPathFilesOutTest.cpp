#include "dialogs/FrmPathFilesOut.h"

#include "document/Design.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

void tocar(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
}

QListWidgetItem* elemento(QListWidget* lista, const QString& texto) {
    const auto encontrados = lista->findItems(texto, Qt::MatchExactly);
    return encontrados.isEmpty() ? nullptr : encontrados.first();
}

} // namespace

TEST(FrmPathFilesOut, OpenModeChoosesByClickingAFile) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sub.dir"));
    tocar(dir.filePath(QStringLiteral("A.tck")));
    tocar(dir.filePath(QStringLiteral("sub.dir/B.tck")));
    tocar(dir.filePath(QStringLiteral("nota.txt")));
    Design d;
    d.DirTickets = dir.path() + QLatin1Char('/');
    FrmPathFilesOut f(d, FrmPathFilesOut::Abrir, QStringLiteral("Abrir Archivo Diseño de Ticket"),
                      QDir::tempPath());
    f.show();
    EXPECT_EQ(f.FilesFOut->count(), 1); // only *.tck
    EXPECT_TRUE(f.NombreFicheroTicket->isReadOnly());
    QTest::keyClicks(f.NombreFicheroTicket, QStringLiteral("typed"));
    EXPECT_TRUE(f.NombreFicheroTicket->text().isEmpty());

    f.DirFOut->itemActivated(elemento(f.DirFOut, QStringLiteral("sub.dir")));
    ASSERT_NE(elemento(f.FilesFOut, QStringLiteral("B.tck")), nullptr);
    f.FilesFOut->itemClicked(elemento(f.FilesFOut, QStringLiteral("B.tck")));
    EXPECT_EQ(f.RutaElegida, dir.filePath(QStringLiteral("sub.dir/B.tck")));
    EXPECT_EQ(d.DirTickets, dir.filePath(QStringLiteral("sub.dir/")));
    QTest::mouseClick(f.CmdCancelar, Qt::LeftButton);
    EXPECT_TRUE(f.RutaElegida.isEmpty());
}

TEST(FrmPathFilesOut, SaveModeTypesANameAndMissingFolderFallsBack) {
    QTemporaryDir dir;
    Design d;
    d.DirTickets = dir.path() + QLatin1Char('/');
    FrmPathFilesOut f(d, FrmPathFilesOut::Guardar, QStringLiteral("Guardar Diseño de Ticket como ..."),
                      QDir::tempPath());
    f.show();
    EXPECT_FALSE(f.NombreFicheroTicket->isReadOnly());
    QTest::keyClicks(f.NombreFicheroTicket, QStringLiteral("nuevo"));
    QTest::keyClick(f.NombreFicheroTicket, Qt::Key_Return);
    EXPECT_EQ(f.RutaElegida, dir.filePath(QStringLiteral("nuevo")));
    EXPECT_EQ(f.result(), QDialog::Accepted);

    d.DirTickets = dir.filePath(QStringLiteral("borrada/"));
    FrmPathFilesOut g(d, FrmPathFilesOut::Guardar, QString(), dir.path());
    EXPECT_EQ(g.carpeta(), QDir(dir.path()).absolutePath());
    // Accepting with an empty name gives the folder alone.
    QTest::mouseClick(g.CmdAceptar, Qt::LeftButton);
    EXPECT_EQ(g.RutaElegida, dir.path() + QLatin1Char('/'));
}
