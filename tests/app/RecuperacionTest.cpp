// The main window keeps a recovery copy of unsaved work, drops it when the work is saved or
// left on purpose, and offers the copies of ended designers at start-up.
#include "VentanaPrueba.h"

#include "dialogs/FrmRecuperar.h"
#include "editor/CopiaRecuperacion.h"
#include "platform/CopiasRecuperacion.h"

#include <functional>

using namespace quoravex;

static bool HayCopia(const VentanaPrueba& v) {
    return QFileInfo::exists(QDir(v.f.carpetaCopia()).filePath(NombreDescripcionCopia));
}

TEST(Recuperacion, TheCopyFollowsUnsavedWorkAndGoesWhenItIsSavedOrLeftOnPurpose) {
    const struct {
        const char* accion; // the menu entry, or none: the window closed ("Salir")
        bool si;            // the answer to "Confirmación"
        bool queda;
    } casos[] = {
        {"mnuGuardarTicket", false, false}, {"mnuCerrarTicket", false, true}, {"mnuCerrarTicket", true, false},
        {"mnuNuevoTicket", true, false},    {nullptr, false, true},           {nullptr, true, false},
    };
    bool primera = true;
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.accion ? c.accion : "Salir") + (c.si ? " Sí" : " No"));
        VentanaPrueba v("Autoguardado s=1\r\n");
        v.f.pasoDiseno(QStringLiteral("Añadir"), [&] { v.agregarLinea(QRect(10, 10, 100, 4)); });
        ASSERT_TRUE(v.d.TicketModificado);
        // The first waits for the timer; the others ask at once.
        if (primera)
            EXPECT_TRUE(test::EsperarHasta([&] { return HayCopia(v); }, 5000));
        else
            v.f.actualizarRecuperacion();
        primera = false;
        ASSERT_TRUE(HayCopia(v));
        EXPECT_TRUE(CarpetaPrivada(v.f.carpetaCopia()));
        v.respuestaSi = c.si;
        if (c.accion && qstrcmp(c.accion, "mnuGuardarTicket") == 0)
            v.ruta = QDir::current().filePath(QStringLiteral("nuevo.tck"));
        c.accion ? v.menu(c.accion) : void(v.f.close());
        EXPECT_EQ(HayCopia(v), c.queda);
    }
}

TEST(Recuperacion, StartUpOffersEndedCopiesAndRecoversOneAsAnUnsavedDesign) {
    QTemporaryDir raiz, disenos;
    Design d;
    d.ArchivoTicket = QDir(disenos.path()).filePath(QStringLiteral("Banco.tck"));
    const int i = d.agregar(NuevoObjeto{TipoLinea});
    d.objeto(i).FontSize = 20;
    d.objeto(i).Grosor = 2;
    d.objeto(i).Pendiente = Falso;
    d.LargoTicket = 320;
    const ContenidoCopia contenido = ContenidoDeDiseno(d, true, disenos.path());
    const QString legible = QDir(raiz.path()).filePath(NombreCarpetaCopia({2147480000, 1}));
    const QString danada = QDir(raiz.path()).filePath(NombreCarpetaCopia({2147480001, 1}));
    ASSERT_TRUE(EscribirCopia(legible, contenido));
    QTest::qWait(20);
    ASSERT_TRUE(EscribirCopia(danada, contenido));
    for (const QString& f : QDir(danada).entryList({QStringLiteral("*.tck")}))
        QFile::remove(QDir(danada).filePath(f));

    VentanaPrueba v({}, {}, raiz.path());
    std::function<void(FrmRecuperar&)> guion;
    bool confirmar = false;
    QStringList filas;
    v.f.ejecutarDialogo = [&](QDialog& dlg) {
        if (auto* f = qobject_cast<FrmRecuperar*>(&dlg)) {
            filas.clear();
            for (int i = 0; i < f->Lista->count(); ++i)
                filas << f->Lista->item(i)->text();
            guion(*f);
            return f->result();
        }
        if (auto* m = qobject_cast<QMessageBox*>(&dlg)) {
            m->findChild<QPushButton*>(confirmar ? QStringLiteral("Si") : QStringLiteral("No"))->click();
            return 0;
        }
        return v.responder(dlg);
    };

    // Newest first; the damaged copy can only be discarded. "Más tarde" keeps both.
    guion = [](FrmRecuperar& f) {
        EXPECT_FALSE(f.Recuperar->isEnabled());
        f.Lista->setCurrentRow(1);
        EXPECT_TRUE(f.Recuperar->isEnabled());
        f.MasTarde->click();
    };
    EXPECT_FALSE(v.f.ofrecerRecuperacion());
    ASSERT_EQ(filas.size(), 2);
    EXPECT_TRUE(filas[0].contains(QStringLiteral("solo se puede descartar")));
    EXPECT_TRUE(filas[1].startsWith(QDir::toNativeSeparators(d.ArchivoTicket)));
    EXPECT_TRUE(QFileInfo::exists(legible) && QFileInfo::exists(danada));

    // "Descartar" asks first; then "Recuperar" the other.
    guion = [&](FrmRecuperar& f) {
        f.Descartar->click();
        EXPECT_TRUE(QFileInfo::exists(danada));
        confirmar = true;
        f.Descartar->click();
        EXPECT_FALSE(QFileInfo::exists(danada));
        ASSERT_EQ(f.Lista->count(), 1);
        f.Recuperar->click();
    };
    ASSERT_TRUE(v.f.ofrecerRecuperacion());
    // Its copy gone; this designer's own copy holds it now.
    EXPECT_EQ(std::tuple(CodificarDiseno(v.d), v.d.ArchivoTicket, v.d.TicketModificado, v.f.conArchivo(),
                         QFileInfo::exists(legible), HayCopia(v), v.mensajes),
              std::tuple(contenido.diseno, d.ArchivoTicket, Verdadero, true, false, true, QStringList()));

    // Undoing every later change does not make it saved.
    v.f.pasoDiseno(QStringLiteral("Añadir"), [&] { v.agregarLinea(QRect(10, 100, 50, 4)); });
    v.menu("mnuDeshacer");
    EXPECT_TRUE(v.d.TicketModificado);
}
