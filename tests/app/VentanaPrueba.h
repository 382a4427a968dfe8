#pragma once
// The main window in a temporary current folder: its dialogs answered as a user would, its
// messages, dialogs and context menus recorded, its transfer windows on a cable in memory
// with the virtual printer at the other end.
#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmCodigo.h"
#include "dialogs/FrmDispositivo.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmGetImagen.h"
#include "dialogs/FrmPathFilesOut.h"
#include "dialogs/FrmPlantillas.h"
#include "dialogs/FrmSelPulsador.h"
#include "dialogs/FrmValoresCampos.h"
#include "document/ArchivoDiseno.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/ObjetosCanvas.h"
#include "editor/RatonCanvas.h"
#include "editor/Seleccion.h"
#include "platform/AjustesUsuario.h"
#include "render/SalidaRaster.h"
#include "support/Esperar.h"
#include "support/FicherosImagen.h"
#include "support/VentanasCable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

struct VentanaPrueba {
    explicit VentanaPrueba(const QByteArray& cfg = {}, const QString& comandos = {},
                           const QString& recuperacion = {})
        : f(opciones(cfg, comandos, recuperacion)) {
        using namespace quoravex;
        EXPECT_TRUE(pruebas::Escribir(imagen, pruebas::Codificar(pruebas::MitadNegra(60, 30), "PNG")));
        d.DirTickets = QDir::currentPath() + QLatin1Char('/');
        f.show();
        f.mostrarMensaje = [this](const QString& m) { mensajes << m; };
        f.mostrarCritico = [this](const QString& m) { criticos << m; };
        f.mostrarError = [this](const QString& m, const QString&) { errores << m; };
        f.ejecutarDialogo = [this](QDialog& dlg) { return responder(dlg); };
        f.raton().abrirMenu = [this](QMenu& m, const QPoint&) { menus << m.objectName(); };
        f.crearPuerto = [this]() -> std::unique_ptr<SerialPort> { return enlace.puerto(rechazarPuerto); };
    }
    quoravex::OpcionesArranque opciones(const QByteArray& cfg, const QString& comandos,
                                        const QString& recuperacion) {
        if (!cfg.isNull()) quoravex::pruebas::Escribir(QStringLiteral("Morvane.cfg"), cfg);
        quoravex::AjustesUsuario()->remove(QStringLiteral("recientes"));
        const QString copias = QDir::current().filePath(QStringLiteral("recuperacion"));
        return {.lineaComandos = comandos,
                .dirActual = QDir::currentPath(),
                .rutaTemporal = QDir::current().filePath(QStringLiteral("tmp/a/b")),
                .usarRutaTemporal = true,
                .carpetaRecuperacion = recuperacion.isEmpty() ? copias : recuperacion};
    }

    int responder(QDialog& dlg) {
        using namespace quoravex;
        dialogos << QString::fromLatin1(dlg.metaObject()->className()).remove(QStringLiteral("quoravex::"));
        if (auto* t = qobject_cast<FrmGetFont*>(&dlg)) {
            auto* entrada = t->findChild<QLineEdit*>(QStringLiteral("TBEntradaTexto"));
            QTest::keyClicks(entrada, texto);
            QTest::keyClick(entrada, Qt::Key_Return);
        } else if (auto* c = qobject_cast<FrmCodigo*>(&dlg)) {
            codigo ? codigo(*c) : c->cmdCancelar->click();
        } else if (auto* img = qobject_cast<FrmGetImagen*>(&dlg)) {
            img->soltarFicheros({imagen});
            img->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        } else if (auto* sel = qobject_cast<FrmSelPulsador*>(&dlg)) {
            seleccion(*sel);
        } else if (auto* disp = qobject_cast<FrmDispositivo*>(&dlg)) {
            dispositivo(*disp);
        } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&dlg)) {
            p->show();
            archivo ? archivo(*p) : void(p->RutaElegida = ruta);
        } else if (auto* a = qobject_cast<Aceptar*>(&dlg)) {
            const bool reemplazo = a->Pregunta->isHidden();
            preguntas << (reemplazo ? a->Aviso : a->Pregunta)->text();
            ((reemplazo ? reemplazar : respuestaSi) ? a->Si : a->No)->click();
        } else if (auto* e = qobject_cast<FrmEntrar*>(&dlg)) {
            e->TbEntrar->setText(longitud);
            e->Aceptar_pass->click();
        } else if (auto* v = qobject_cast<FrmValoresCampos*>(&dlg)) {
            campos << v->TbCampo.keys().join(QLatin1Char(','));
            for (auto c = v->TbCampo.begin(); c != v->TbCampo.end(); ++c)
                c.value()->setText(valores.value(c.key()));
            v->Aceptar->click();
        } else if (auto* m = qobject_cast<QMessageBox*>(&dlg)) {
            preguntas << m->text();
            m->button(respuestaSi ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (auto* p = qobject_cast<FrmPlantillas*>(&dlg)) {
            p->LstPlantillas->setCurrentRow(plantilla);
            p->Abrir->click();
        } else if (auto* about = qobject_cast<FrmAbout*>(&dlg)) {
            QTest::mouseDClick(about->Logo, Qt::LeftButton);
            about->Command1->click();
        } else if (auto* envio = qobject_cast<FrmEnviar*>(&dlg)) {
            envio->show();
            envio->PBIniciar->click();
            EXPECT_TRUE(test::EsperarHasta([envio] { return !envio->enviarTodo().activo(); }, 20000));
            envio->PBSalirBoton->click();
        } else { // the clock window closes itself
            dlg.show();
            EXPECT_TRUE(test::EsperarHasta([&dlg] { return !dlg.isVisible(); }, 5000));
        }
        return dlg.result();
    }

    QAction* accion(const char* nombre) const {
        QAction* a = f.accion(QString::fromLatin1(nombre));
        EXPECT_NE(a, nullptr) << nombre;
        return a;
    }
    void menu(const char* nombre) const {
        if (QAction* a = accion(nombre)) a->trigger();
    }
    // The object the commands act on, as a click on it makes it.
    void elegir(int i) {
        d.Objeto = i;
        f.seleccion().poner({i});
    }
    void arrastrar(QPoint desde, QPoint hasta, Qt::KeyboardModifiers teclas = {}) {
        QTest::mousePress(&f.canvas(), Qt::LeftButton, teclas, desde);
        QTest::mouseMove(&f.canvas(), hasta);
        QTest::mouseRelease(&f.canvas(), Qt::LeftButton, teclas, hasta);
    }
    // A file command answered with `nombre` in the file dialog, the commands up to date as the
    // command-state timer keeps them.
    void menuArchivo(const char* accion, const QString& nombre) {
        f.actualizarComandos();
        ruta = nombre;
        menu(accion);
    }
    void linea(QPoint desde, QPoint hasta) {
        menu("mnuAnadirLinea");
        arrastrar(desde, hasta);
    }
    void clicEn(QListWidget* lista, const QString& nombre) {
        const auto items = lista->findItems(nombre, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << nombre.toStdString();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(items.first()).center());
    }
    // "Genera Salida", the hidden button that writes the raster files, and the file of
    // ticket n (1 the common part).
    void generar() { f.boton(QStringLiteral("Command2"))->click(); }
    QByteArray raster(int n) {
        return quoravex::pruebas::Leer(quoravex::NombreArchivoSalida(n, QDir::currentPath()));
    }
    quoravex::Surface& caja(int i) { return f.workspace().item(i); }
    int agregarLinea(QRect r, uint32_t pulsadores = 1) {
        return quoravex::AgregarObjeto(d, f.workspace(),
                                       {quoravex::TipoLinea, std::nullopt, r.top(), r.left(), r.width(),
                                        r.height(), QString(), pulsadores});
    }

    quoravex::pruebas::DirectorioActualTemporal actual;
    const QString imagen = QDir::current().filePath(QStringLiteral("logo.png")); // what FrmGetImagen gets
    quoravex::test::CablePrueba enlace; // the printer at the end of the transfer windows' cable
    quoravex::FormMain f;
    quoravex::Design& d = f.design();

    // The user's answers.
    QString texto, ruta, longitud; // typed into the text editor, chosen as file, typed as length
    bool respuestaSi = false, reemplazar = false, rechazarPuerto = false;
    quoravex::ValoresCampos valores;                         // typed into "Valores de Campos..."
    int plantilla = 0;                                       // row chosen among the templates
    std::function<void(quoravex::FrmPathFilesOut&)> archivo; // set: the file dialog driven by hand
    std::function<void(quoravex::FrmSelPulsador&)> seleccion;
    std::function<void(quoravex::FrmDispositivo&)> dispositivo;
    std::function<void(quoravex::FrmCodigo&)> codigo; // unset: "Cancelar"
    // What the program showed.
    QStringList mensajes, criticos, errores, dialogos, menus, preguntas, campos;
};
