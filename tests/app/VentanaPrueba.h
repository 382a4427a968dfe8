#pragma once

#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmPathFilesOut.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/ObjetosCanvas.h"
#include "editor/RatonCanvas.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// The main window in a temporary folder: its dialogs answered by the test instead of a
// person, its messages, editor dialogs and context menus recorded.
struct VentanaPrueba {
    QTemporaryDir dir;
    std::unique_ptr<quoravex::FormMain> form;
    QStringList mensajes, criticos, dialogos, menus;
    QString longitud;         // typed into the length dialog
    bool respuestaSi = false; // answer of the confirmation dialog
    QString ruta;             // chosen in the file location dialog
    int confirmaciones = 0;

    explicit VentanaPrueba(const QByteArray& cfg = {}, const QString& comandos = {},
                           const QString& recuperacion = {}) {
        using namespace quoravex;
        QFile f(dir.filePath(QStringLiteral("Morvane.cfg")));
        if (!cfg.isNull() && f.open(QIODevice::WriteOnly)) f.write(cfg);
        f.close();
        OpcionesArranque o;
        o.dirActual = dir.path();
        o.lineaComandos = comandos;
        o.usarRutaTemporal = true;
        o.rutaTemporal = dir.filePath(QStringLiteral("tmp/a/b"));
        o.carpetaRecuperacion = recuperacion.isEmpty() ? dir.filePath(QStringLiteral("recuperacion")) : recuperacion;
        form = std::make_unique<FormMain>(o);
        d().DirTickets = dir.path() + QLatin1Char('/');
        form->mostrarMensaje = [this](const QString& m) { mensajes << m; };
        form->mostrarCritico = [this](const QString& m) { criticos << m; };
        form->ejecutarDialogo = [this](QDialog& dlg) { return responder(dlg); };
        form->comandos().mostrarMensaje = form->mostrarMensaje;
        form->comandos().ejecutarDialogo = [this](QDialog& dlg) {
            dialogos << QString::fromLatin1(dlg.metaObject()->className());
            if (auto* g = qobject_cast<FrmGetFont*>(&dlg)) g->cmdOK_Click();
            return int(QDialog::Accepted);
        };
        form->raton().abrirMenu = [this](QMenu& m, const QPoint&) { menus << m.objectName(); };
    }

    int responder(QDialog& dlg) {
        using namespace quoravex;
        if (auto* e = qobject_cast<FrmEntrar*>(&dlg)) {
            e->TbEntrar->setText(longitud);
            e->Aceptar_pass->click();
        } else if (auto* a = qobject_cast<Aceptar*>(&dlg)) {
            ++confirmaciones;
            (respuestaSi ? a->Si : a->No)->click();
        } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&dlg)) {
            p->RutaElegida = ruta;
            return ruta.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
        } else if (auto* about = qobject_cast<FrmAbout*>(&dlg)) {
            QTest::mouseDClick(about->Logo, Qt::LeftButton);
            about->Command1->click();
        }
        return dlg.result();
    }

    QAction* accion(const char* nombre) const {
        QAction* a = form->accion(QString::fromLatin1(nombre));
        EXPECT_NE(a, nullptr) << nombre;
        return a;
    }
    void disparar(const char* nombre) const {
        if (QAction* a = accion(nombre)) a->trigger();
    }
    quoravex::Design& d() { return form->design(); }
    quoravex::Surface& caja(int i) { return form->workspace().item(i); }
    int agregarLinea(QRect r, uint32_t pulsadores = 1) {
        return quoravex::AgregarObjeto(d(), form->workspace(),
                                       {quoravex::TipoLinea, std::nullopt, r.top(), r.left(), r.width(),
                                        r.height(), QString(), pulsadores});
    }
};
