#include "Aceptar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

Aceptar::Aceptar(int16_t selectorAceptar, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Aceptar"));
    setWindowTitle(QStringLiteral("Confirmación"));
    setModal(true);

    Aviso = new QLabel(QStringLiteral("El Ticket actual no ha sido guardado y se perderá"), this);
    Aviso->setObjectName(QStringLiteral("Aviso"));
    Pregunta = new QLabel(selectorAceptar == SalirAplicacion
                              ? QStringLiteral("¿Está seguro que desea SALIR de la aplicación?")
                              : QStringLiteral("¿Está seguro que desea CERRAR el Ticket actual?"),
                          this);
    Pregunta->setObjectName(QStringLiteral("Pregunta"));
    for (QLabel* l : {Aviso, Pregunta})
        l->setStyleSheet(QStringLiteral("color: red;"));

    Si = new QPushButton(QStringLiteral("Sí"), this);
    Si->setObjectName(QStringLiteral("Si"));
    No = new QPushButton(QStringLiteral("No"), this);
    No->setObjectName(QStringLiteral("No"));
    No->setDefault(true); // the safe answer
    connect(Si, &QPushButton::clicked, this, &QDialog::accept);
    connect(No, &QPushButton::clicked, this, &QDialog::reject);

    if (selectorAceptar == ReemplazarFichero) {
        Aviso->setText(QStringLiteral("El fichero ya existe. ¿Desea reemplazarlo?"));
        Pregunta->setVisible(false);
    }

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Si);
    botones->addWidget(No);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Aviso);
    columna->addWidget(Pregunta);
    columna->addLayout(botones);
}

} // namespace quoravex
