#pragma once

#include "render/VistaPrevia.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace quoravex {

class ImagenTicket;

// "Vista previa de impresión": every ticket of the design side by side as the printer prints
// it, the same pictures as "quoravex-cli preview". It asks its generator for them, so it
// knows nothing of the window that owns the design.
class FrmVistaPrevia : public QWidget {
    Q_OBJECT
public:
    using Generador = std::function<VistasDiseno()>;

    // A window of its own, not modal, showing what the generator gives at once.
    explicit FrmVistaPrevia(Generador generador, QWidget* parent = nullptr);

    // Asks the generator again and shows what it gives; the owner calls it when the design changes.
    void actualizar();

    const VistasDiseno& vistas() const { return mVistas; }
    // Magnification of the pictures: 1 to 4.
    int zoom() const;
    void setZoom(int factor);

    // Asked for the folder of "Exportar PNG..."; empty when the user gives up.
    std::function<QString()> ElegirCarpeta;
    // Message boxes go through here; by default a warning box over the window.
    std::function<void(const QString& texto)> Avisar;

    QComboBox* CmbZoom = nullptr;
    QPushButton* CmdExportar = nullptr;
    QLabel* LbMensajes = nullptr;
    QScrollArea* AreaTickets = nullptr;

private:
    void mostrarTickets();
    void exportar();

    Generador mGenerador;
    VistasDiseno mVistas;
    QList<ImagenTicket*> mImagenes; // children of the scroll area's row
};

} // namespace quoravex
