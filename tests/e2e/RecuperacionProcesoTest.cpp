// The designer as a process of its own, changed and then killed: the next start gets the
// change back. The first run is the real program; the next start is a main window in this
// process, started as main() starts it, with its dialogs answered by the test.
#include "app/VentanaPrueba.h"
#include "dialogs/FrmRecuperar.h"
#include "platform/CopiasRecuperacion.h"
#include "support/Bytes.h"
#include "support/Esperar.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <csignal>

using namespace quoravex;

namespace {

// The change the designer makes once started: the current object goes to the back.
const char* const Accion = "mnuLlevarAlFondoObjeto";

struct Sesion {
    QTemporaryDir dir;
    QString disenos = dir.filePath(QStringLiteral("disenos"));
    QString diseno = QDir(disenos).filePath(QStringLiteral("muestra.tck"));
    QString raiz = dir.filePath(QStringLiteral("datos/Quoravex/recuperacion"));
    QByteArray original;
    QProcess p;

    Sesion() {
        QDir().mkpath(disenos);
        QDir().mkpath(dir.filePath(QStringLiteral("trabajo")));
        for (const char* f : {"muestra.tck", "muestra.bmp"})
            QFile::copy(QStringLiteral(QUORAVEX_DATOS_PRUEBA "/") + QLatin1String(f),
                        QDir(disenos).filePath(QLatin1String(f)));
        original = quoravex::pruebas::Leer(diseno);
    }
    ~Sesion() {
        p.kill();
        p.waitForFinished(5000);
    }

    // The designer on the design, with its data and settings here; true once it has changed it.
    bool arrancar(int segundos) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const auto& [variable, carpeta] : {std::pair{"HOME", "home"}, {"XDG_DATA_HOME", "datos"}, {"XDG_CONFIG_HOME", "config"}})
            env.insert(QLatin1String(variable), dir.filePath(QLatin1String(carpeta)));
        env.insert(QStringLiteral("QUORAVEX_AUTOGUARDADO_S"), QString::number(segundos));
        env.insert(QStringLiteral("QUORAVEX_PRUEBA_ACCIONES"), QLatin1String(Accion));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.filePath(QStringLiteral("trabajo")));
        p.start(QStringLiteral(QUORAVEX_DISENADOR), {diseno});
        QByteArray salida;
        QElapsedTimer t;
        t.start();
        while (!salida.contains("acciones:") && t.elapsed() < 30000 && p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(100);
            salida += p.readAllStandardOutput();
        }
        return salida.contains("acciones:") && p.state() == QProcess::Running;
    }

    // This process's copy folder, once its description is there.
    QString copia() const {
        for (const QString& f :
             QDir(raiz).entryList({QString::number(p.processId()) + QStringLiteral("-*")}, QDir::Dirs))
            if (QFileInfo::exists(QDir(raiz).filePath(f + QLatin1Char('/') + NombreDescripcionCopia)))
                return QDir(raiz).filePath(f);
        return {};
    }

    // What "Guardar" writes for the changed design, made the same way in this process.
    QByteArray esperado() {
        VentanaPrueba v;
        EXPECT_TRUE(v.f.abrirDiseno(diseno));
        v.menu(Accion);
        EXPECT_TRUE(v.d.TicketModificado);
        v.f.actualizarComandos();
        v.menu("mnuGuardarTicket");
        const QByteArray bytes = quoravex::pruebas::Leer(diseno);
        EXPECT_TRUE(quoravex::pruebas::Escribir(diseno, original));
        return bytes;
    }

    // The next start: the offered copies, and the design that "Recuperar" then "Guardar" writes.
    QByteArray recuperar(QStringList& ofrecidas) {
        VentanaPrueba v({}, {}, raiz);
        v.f.ejecutarDialogo = [&](QDialog& dlg) {
            auto* f = qobject_cast<FrmRecuperar*>(&dlg);
            if (!f) return v.responder(dlg);
            for (int i = 0; i < f->Lista->count(); ++i)
                ofrecidas << f->Lista->item(i)->text();
            f->Recuperar->click();
            return f->result();
        };
        if (!v.f.ofrecerRecuperacion()) return {};
        v.menu("mnuGuardarTicket");
        EXPECT_TRUE(v.mensajes.isEmpty()) << v.mensajes.join(QLatin1Char('|')).toStdString();
        return quoravex::pruebas::Leer(diseno);
    }
};

} // namespace

// Killed (a copy every second) or ended by SIGTERM (no copy due for an hour: the one there is
// the one SIGTERM asked for), the next start offers the change alone and gets it back.
TEST(RecuperacionProceso, ADesignKilledOrEndedComesBackAtTheNextStart) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "a designer process and real waits: run in the normal build";
#endif
    for (const bool matar : {true, false}) {
        SCOPED_TRACE(matar ? "SIGKILL" : "SIGTERM");
        Sesion s;
        const QByteArray esperado = s.esperado();
        ASSERT_NE(esperado, s.original);
        ASSERT_TRUE(s.arrancar(matar ? 1 : 3600));
        QStringList ofrecidas;
        QString copia;
        if (matar) {
            ASSERT_TRUE(test::EsperarHasta([&] { return !(copia = s.copia()).isEmpty(); }, 10000));
            s.p.kill();
        } else {
            EXPECT_TRUE(s.copia().isEmpty());
            s.p.terminate();
        }
        ASSERT_TRUE(s.p.waitForFinished(10000));
        if (!matar)
            EXPECT_EQ(std::pair(s.p.exitStatus(), s.p.exitCode()), std::pair(QProcess::NormalExit, 128 + SIGTERM));
        EXPECT_EQ(s.recuperar(ofrecidas), esperado);
        ASSERT_EQ(ofrecidas.size(), 1);
        EXPECT_TRUE(ofrecidas.first().startsWith(QDir::toNativeSeparators(s.diseno)));
        EXPECT_FALSE(matar && QFileInfo::exists(copia));
    }
}
