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
    // Any port number the configuration or the command line may select, not only the menu's.
    ajustes->beginGroup(QStringLiteral("Puertos"));
    for (const QString& clave : ajustes->childKeys()) {
        bool ok = false;
        const int n = clave.startsWith(QStringLiteral("COM")) ? clave.mid(3).toInt(&ok) : 0;
        if (const QString d = ajustes->value(clave).toString().trimmed(); ok && !d.isEmpty())
            elegidos.insert(n, d);
    }
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
