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

namespace {

// One key per design file under "valoresCampos"; the path is encoded so that its slashes
// are not read as groups.
QString ClaveValores(const QString& rutaDiseno) {
    return QStringLiteral("valoresCampos/") + QString::fromLatin1(rutaDiseno.toUtf8().toPercentEncoding());
}

} // namespace

ValoresCampos ValoresGuardados(const QString& rutaDiseno) {
    ValoresCampos r;
    const QVariantMap guardados = AjustesUsuario()->value(ClaveValores(rutaDiseno)).toMap();
    for (auto v = guardados.constBegin(); v != guardados.constEnd(); ++v)
        r.insert(v.key(), v.value().toString());
    return r;
}

void GuardarValores(const QString& rutaDiseno, const ValoresCampos& valores) {
    QVariantMap m;
    for (auto v = valores.constBegin(); v != valores.constEnd(); ++v)
        m.insert(v.key(), v.value());
    AjustesUsuario()->setValue(ClaveValores(rutaDiseno), m);
}

} // namespace quoravex
