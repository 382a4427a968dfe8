#include "platform/Rutas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quoravex;

TEST(Rutas, MakeDirectoryCreatesEveryParent) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(CrearDirectorio(ruta));
    EXPECT_TRUE(QDir(ruta).exists());
    EXPECT_TRUE(CrearDirectorio(ruta + QLatin1Char('/'))); // already there
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly));
    EXPECT_FALSE(CrearDirectorio(dir.filePath(QStringLiteral("archivo/sub"))));
}

TEST(Rutas, SeparatorAndTicketFolder) {
    EXPECT_EQ(ConSeparador(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
    EXPECT_EQ(ConSeparador(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));

    QTemporaryDir dir;
    EXPECT_EQ(DirectorioTicketsInicial(dir.path()), ConSeparador(dir.path()));
    if (geteuid() != 0) { // root can write anywhere
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_NE(DirectorioTicketsInicial(dir.path()), ConSeparador(dir.path()));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_NE(DirectorioTicketsInicial(QStringLiteral("/proc/no-existe")),
              QStringLiteral("/proc/no-existe/"));
}
