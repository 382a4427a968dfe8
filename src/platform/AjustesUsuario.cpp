#include "AjustesUsuario.h"

namespace quoravex {

namespace {
QString Clave(int puerto) {
    return QStringLiteral("Puertos/COM%1").arg(puerto);
}
} // namespace

std::unique_ptr<QSettings> AjustesUsuario() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quoravex"),
                                       QStringLiteral("Quoravex"));
}

QMap<int, QString> DispositivosElegidos() {
    QMap<int, QString> elegidos;
    const auto ajustes = AjustesUsuario();
    for (int n = 1; n <= 9; ++n)
        if (const QString d = ajustes->value(Clave(n)).toString().trimmed(); !d.isEmpty())
            elegidos.insert(n, d);
    return elegidos;
}

void GuardarDispositivoElegido(int puerto, const QString& dispositivo) {
    const auto ajustes = AjustesUsuario();
    if (dispositivo.trimmed().isEmpty())
        ajustes->remove(Clave(puerto));
    else
        ajustes->setValue(Clave(puerto), dispositivo.trimmed());
}

} // namespace quoravex
