#pragma once

#include "dialogs/FrmGetFont.h"
#include "dialogs/FrmSelPulsador.h"
#include "document/Design.h"
#include "editor/ComandosObjeto.h"
#include "editor/ObjetosCanvas.h"
#include "render/Workspace.h"

#include <QDialog>
#include <QStringList>
#include <gtest/gtest.h>

// A design, its boxes and the object commands, with every dialog, message and redraw
// caught by the test.
class Editor : public ::testing::Test {
protected:
    Editor() {
        c.ejecutarDialogo = [this](QDialog& dlg) {
            if (!responder) {
                ADD_FAILURE() << "unexpected dialog " << dlg.metaObject()->className();
                return 0;
            }
            return responder(dlg);
        };
        c.mostrarMensaje = [this](const QString& m) { mensajes << m; };
        c.nuevoEditorTexto = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
            return quoravex::NuevoEditorDeTexto(d, ws, padre);
        };
        c.nuevoSelPulsador = [this](QWidget* padre) -> std::unique_ptr<QDialog> {
            return std::make_unique<quoravex::FrmSelPulsador>(d, padre);
        };
        c.redibujar = [this] { ++redibujados; };
    }

    static quoravex::NuevoObjeto texto(int left, int top, int ancho, int alto,
                                       int16_t tipo = quoravex::TipoTextoFijo) {
        return {tipo, std::nullopt, top, left, ancho, alto, {}, 1};
    }
    static quoravex::NuevoObjeto lineaEn(int left, int top, int ancho, int alto) {
        return texto(left, top, ancho, alto, quoravex::TipoLinea);
    }
    // An object as if confirmed by its editor; lines get thickness 2.
    int poner(const quoravex::NuevoObjeto& n) {
        const int i = quoravex::AgregarObjeto(d, ws, n);
        if (i > 0) d.objeto(i).Pendiente = quoravex::Falso;
        if (i > 0 && n.Tipo == quoravex::TipoLinea) d.objeto(i).Grosor = 2;
        return i;
    }

    quoravex::Design d;
    quoravex::Workspace ws;
    quoravex::ComandosObjeto c{d, ws};
    std::function<int(QDialog&)> responder;
    QStringList mensajes;
    int redibujados = 0;
};
