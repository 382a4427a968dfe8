#pragma once

#include <QDialog>
#include <QImage>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;

namespace quoravex {

// "Nuevo desde Plantilla": the ready designs side by side with their tickets as they
// print, to choose one. It shows what it is given and says which was chosen.
class FrmPlantillas : public QDialog {
    Q_OBJECT
public:
    struct Entrada {
        QString nombre;
        QImage vista; // the ticket with the template's example values
    };
    explicit FrmPlantillas(const QList<Entrada>& plantillas, QWidget* parent = nullptr);

    // The chosen template's position in the list, or -1.
    int elegida() const;

    QListWidget* LstPlantillas = nullptr;
    QLabel* LbAviso = nullptr;
    QPushButton* Abrir = nullptr;
    QPushButton* Cancelar = nullptr;
};

} // namespace quoravex
