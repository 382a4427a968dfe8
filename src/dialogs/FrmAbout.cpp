#include "FrmAbout.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

namespace {

// A small logo drawn in code: a ticket with a turn number.
QPixmap logo() {
    QPixmap p(64, 80);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(Qt::white);
    g.setPen(QPen(Qt::black, 2));
    g.drawRoundedRect(QRectF(4, 4, 56, 72), 4, 4);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(22);
    f.setBold(true);
    g.setFont(f);
    g.drawText(QRect(4, 18, 56, 30), Qt::AlignCenter, QStringLiteral("A8"));
    g.drawLine(14, 56, 50, 56);
    return p;
}

} // namespace

FrmAbout::FrmAbout(std::function<void()> mostrarConfiguracion, QWidget* parent)
    : QDialog(parent), mMostrarConfiguracion(std::move(mostrarConfiguracion)) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("Acerca de Quoravex"));
    setModal(true);

    Logo = new QLabel(this);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setPixmap(logo());
    Logo->installEventFilter(this);
    LbVersion = new QLabel(QStringLiteral("Quoravex  -  Version") + QStringLiteral(" 1.4"), this);
    LbVersion->setObjectName(QStringLiteral("LbVersion"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* fila = new QHBoxLayout;
    fila->addWidget(Logo);
    fila->addWidget(LbVersion, 1);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(fila);
    columna->addWidget(Command1, 0, Qt::AlignRight);
}

bool FrmAbout::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Logo && evento->type() == QEvent::MouseButtonDblClick && mMostrarConfiguracion)
        mMostrarConfiguracion();
    return QDialog::eventFilter(objeto, evento);
}

} // namespace quoravex
