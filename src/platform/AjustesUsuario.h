#pragma once

#include "document/Campos.h"

#include <QMap>
#include <QSettings>
#include <QString>
#include <memory>

namespace quoravex {

// The user's own settings of the designer (recent designs, window placement, zoom, the
// devices of the ports), kept between runs in the user's configuration folder.
std::unique_ptr<QSettings> AjustesUsuario();

// The devices the user chose for port numbers ("Dispositivo..."), by port number.
QMap<int, QString> DispositivosElegidos();
// Keeps the user's choice for port number n; an empty one forgets it.
void GuardarDispositivoElegido(int puerto, const QString& dispositivo);
// The values the user gave the fields of the design file at that path, and keeping them.
ValoresCampos ValoresGuardados(const QString& rutaDiseno);
void GuardarValores(const QString& rutaDiseno, const ValoresCampos& valores);

} // namespace quoravex
