#include "FrmEntrar.h"

#include "document/Design.h"
#include "document/Numeros.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

FrmEntrar::FrmEntrar(Design& d, QWidget* parent) : QDialog(parent), mDiseno(d) {
    setObjectName(QStringLiteral("FrmEntrar"));
    setWindowTitle(QStringLiteral("Entrar Longitud Ticket"));
    setModal(true);
    mostrarMensaje = [this](const QString& texto) {
        QMessageBox::warning(this, QStringLiteral("Quoravex"), texto, QMessageBox::Ok);
    };

    TbEntrar = new QLineEdit(QString::number(d.LargoTicket), this);
    TbEntrar->setObjectName(QStringLiteral("TbEntrar"));
    TbEntrar->selectAll();
    Aceptar_pass = new QPushButton(QStringLiteral("Aceptar"), this);
    Aceptar_pass->setObjectName(QStringLiteral("Aceptar_pass"));
    Aceptar_pass->setAutoDefault(false);
    Cancela_P = new QPushButton(QStringLiteral("Cancelar"), this);
    Cancela_P->setObjectName(QStringLiteral("Cancela_P"));
    Cancela_P->setAutoDefault(false);
    connect(Aceptar_pass, &QPushButton::clicked, this, &FrmEntrar::aceptar);
    connect(TbEntrar, &QLineEdit::returnPressed, this, &FrmEntrar::aceptar);
    connect(Cancela_P, &QPushButton::clicked, this, &QDialog::reject);

    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("Long. Ticket :"), TbEntrar);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Aceptar_pass);
    botones->addWidget(Cancela_P);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(formulario);
    columna->addLayout(botones);
}

void FrmEntrar::aceptar() {
    // Spaces do not count wherever they are: "3 00" is 300.
    const double valor = LeerNumero(QString(TbEntrar->text()).remove(QLatin1Char(' ')));
    const auto largo = EnteroDe16(valor);
    if (valor < 1 || !largo || *largo < 1) {
        mostrarMensaje(QStringLiteral("Longitud no valida"));
        TbEntrar->clear();
        TbEntrar->setFocus();
        return;
    }
    mDiseno.LargoTicket = *largo;
    accept();
}

} // namespace quoravex
