#include "FrmSelPulsador.h"

#include "document/Design.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

FrmSelPulsador::FrmSelPulsador(Design& d, QWidget* parent) : QDialog(parent), mDiseno(d) {
    setObjectName(QStringLiteral("FrmSelPulsador"));
    setWindowTitle(QStringLiteral("Selección de Pulsadores"));
    setModal(true);

    const uint32_t actual = Design::slotValido(d.Objeto) ? d.objeto(d.Objeto).Pulsadores : 0;
    const bool comun = (actual & 1u) != 0;

    auto* rejilla = new QGridLayout;
    for (int i = 1; i <= MaxPulsadores; ++i) {
        auto* c = new QCheckBox(QString::number(i), this);
        c->setObjectName(QStringLiteral("Check1_%1").arg(i));
        c->setEnabled(i <= d.NumPulsadores);
        c->setChecked(!comun && (actual >> i) & 1u);
        c->installEventFilter(this);
        rejilla->addWidget(c, (i - 1) / 4, (i - 1) % 4);
        Check1[static_cast<size_t>(i)] = c;
    }
    CheckComun = new QCheckBox(QStringLiteral("COMUN"), this);
    CheckComun->setObjectName(QStringLiteral("CheckComun"));
    CheckComun->setChecked(comun);
    CheckComun->installEventFilter(this);

    PBAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    PBAceptar->setObjectName(QStringLiteral("PBAceptar"));
    PBCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    PBCancelar->setObjectName(QStringLiteral("PBCancelar"));
    PBNinguno = new QPushButton(QStringLiteral("NINGUNO"), this);
    PBNinguno->setObjectName(QStringLiteral("PBNinguno"));
    PBTodos = new QPushButton(QStringLiteral("TODOS"), this);
    PBTodos->setObjectName(QStringLiteral("PBTodos"));
    connect(PBAceptar, &QPushButton::clicked, this, &FrmSelPulsador::aceptar);
    connect(PBCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(PBNinguno, &QPushButton::clicked, this, &FrmSelPulsador::ninguno);
    connect(PBTodos, &QPushButton::clicked, this, &FrmSelPulsador::todos);

    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {PBNinguno, PBTodos, PBAceptar, PBCancelar})
        botones->addWidget(b);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(CheckComun);
    columna->addLayout(rejilla);
    columna->addLayout(botones);
}

uint32_t FrmSelPulsador::mascara() const {
    if (CheckComun->isChecked()) return 1u;
    uint32_t m = 0;
    for (int i = 1; i <= MaxPulsadores; ++i)
        if (Check1[static_cast<size_t>(i)]->isChecked()) m |= 1u << i;
    return m;
}

bool FrmSelPulsador::eventFilter(QObject* objeto, QEvent* evento) {
    const bool raton =
        evento->type() == QEvent::MouseButtonPress || evento->type() == QEvent::MouseButtonRelease;
    if (raton && objeto == CheckComun && CheckComun->isChecked()) {
        // "COMUN" stands alone: ticking it, or clicking it while ticked, clears the push-buttons.
        ninguno();
    } else if (evento->type() == QEvent::MouseButtonRelease && objeto != CheckComun) {
        CheckComun->setChecked(false);
    }
    return QDialog::eventFilter(objeto, evento);
}

void FrmSelPulsador::ninguno() {
    for (int i = 1; i <= MaxPulsadores; ++i)
        Check1[static_cast<size_t>(i)]->setChecked(false);
}

void FrmSelPulsador::todos() {
    CheckComun->setChecked(false);
    for (int i = 1; i <= MaxPulsadores; ++i)
        if (Check1[static_cast<size_t>(i)]->isEnabled()) Check1[static_cast<size_t>(i)]->setChecked(true);
}

void FrmSelPulsador::aceptar() {
    if (Design::slotValido(mDiseno.Objeto)) mDiseno.objeto(mDiseno.Objeto).Pulsadores = mascara();
    accept();
}

} // namespace quoravex
