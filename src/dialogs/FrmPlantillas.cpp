#include "FrmPlantillas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

namespace {
constexpr int AnchoVista = 192; // half a ticket: three of them fit a screen side by side
}

FrmPlantillas::FrmPlantillas(const QList<Entrada>& plantillas, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmPlantillas"));
    setWindowTitle(QStringLiteral("Nuevo desde Plantilla"));
    setAccessibleName(windowTitle());
    setModal(true);

    LbAviso = new QLabel(this);
    LbAviso->setObjectName(QStringLiteral("LbAviso"));
    LbAviso->setWordWrap(true);
    LbAviso->setText(plantillas.isEmpty()
                         ? QStringLiteral("No se encuentra ninguna plantilla.")
                         : QStringLiteral("Elija una plantilla; se abre como un diseño nuevo sin guardar. Sus campos "
                                          "se ven aquí con valores de ejemplo."));

    LstPlantillas = new QListWidget(this);
    LstPlantillas->setObjectName(QStringLiteral("LstPlantillas"));
    LstPlantillas->setAccessibleName(QStringLiteral("Plantillas"));
    LstPlantillas->setViewMode(QListView::IconMode);
    LstPlantillas->setMovement(QListView::Static);
    LstPlantillas->setResizeMode(QListView::Adjust);
    LstPlantillas->setWrapping(false);
    int alto = 0;
    for (const Entrada& p : plantillas) {
        const QImage vista = p.vista.isNull() ? QImage()
                                              : p.vista.scaledToWidth(AnchoVista, Qt::SmoothTransformation);
        alto = std::max(alto, vista.height());
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(vista)), p.nombre, LstPlantillas);
        item->setToolTip(p.nombre);
    }
    LstPlantillas->setIconSize(QSize(AnchoVista, std::max(alto, 1)));
    LstPlantillas->setMinimumSize(3 * (AnchoVista + 24), alto + 60);
    if (!plantillas.isEmpty()) LstPlantillas->setCurrentRow(0);

    Abrir = new QPushButton(QStringLiteral("Abrir"), this);
    Abrir->setObjectName(QStringLiteral("Abrir"));
    Abrir->setDefault(true);
    Abrir->setEnabled(!plantillas.isEmpty());
    Cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    connect(Abrir, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(LstPlantillas, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Abrir);
    botones->addWidget(Cancelar);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(LbAviso);
    columna->addWidget(LstPlantillas, 1);
    columna->addLayout(botones);
}

int FrmPlantillas::elegida() const {
    return LstPlantillas->currentRow();
}

} // namespace quoravex
