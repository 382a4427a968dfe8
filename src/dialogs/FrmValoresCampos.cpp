#include "FrmValoresCampos.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

FrmValoresCampos::FrmValoresCampos(const QStringList& campos, const ValoresCampos& valores, QWidget* parent)
    : QDialog(parent), mCampos(campos), mValores(valores) {
    setObjectName(QStringLiteral("FrmValoresCampos"));
    setWindowTitle(QStringLiteral("Valores de Campos"));
    setAccessibleName(windowTitle());
    setModal(true);

    LbAviso = new QLabel(this);
    LbAviso->setObjectName(QStringLiteral("LbAviso"));
    LbAviso->setWordWrap(true);
    LbAviso->setText(campos.isEmpty()
                         ? QStringLiteral("El diseño no tiene campos. Escriba {nombre} en un texto o en los datos de "
                                          "un código para que cada impresora reciba su propio valor.")
                         : QStringLiteral("Valores con los que se imprimen los campos en la vista previa y al "
                                          "enviar a la impresora:"));
    auto* formulario = new QFormLayout;
    for (const QString& campo : campos) {
        auto* caja = new QLineEdit(valores.value(campo), this);
        caja->setObjectName(QStringLiteral("TbCampo_") + campo);
        const QString nombre = QLatin1Char('{') + campo + QLatin1Char('}');
        caja->setAccessibleName(nombre);
        formulario->addRow(nombre, caja);
        TbCampo.insert(campo, caja);
    }
    Aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    Aceptar->setObjectName(QStringLiteral("Aceptar"));
    Aceptar->setDefault(true);
    Cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    connect(Aceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Aceptar);
    botones->addWidget(Cancelar);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(LbAviso);
    columna->addLayout(formulario);
    columna->addLayout(botones);
    setMinimumWidth(360);
}

ValoresCampos FrmValoresCampos::valores() const {
    ValoresCampos r = mValores;
    for (auto caja = TbCampo.constBegin(); caja != TbCampo.constEnd(); ++caja)
        r.insert(caja.key(), caja.value()->text());
    return r;
}

QStringList FrmValoresCampos::vacios() const {
    QStringList r;
    for (const QString& campo : mCampos)
        if (TbCampo.value(campo)->text().isEmpty()) r << campo;
    return r;
}

} // namespace quoravex
