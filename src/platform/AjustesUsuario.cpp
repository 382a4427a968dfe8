#include "AjustesUsuario.h"

namespace quoravex {

std::unique_ptr<QSettings> AjustesUsuario() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quoravex"),
                                       QStringLiteral("Quoravex"));
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
