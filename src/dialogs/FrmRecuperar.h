#pragma once

#include <QDateTime>
#include <QDialog>
#include <QImage>
#include <QList>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace quoravex {

// "Recuperar diseños": the recovery copies left by designers that ended without saving,
// newest first. "Recuperar" opens the chosen one, "Descartar" deletes it once confirmed,
// "Más tarde" keeps them all for the next start.
class FrmRecuperar : public QDialog {
    Q_OBJECT
public:
    struct Entrada {
        QString ruta; // the design's own file; empty for a design never saved
        QDateTime hora;
        QImage vista;
        bool legible = true; // a copy that cannot be read can only be discarded
        QString detalle;     // what is damaged, or why it cannot be read
    };

    explicit FrmRecuperar(const QList<Entrada>& entradas, QWidget* parent = nullptr);

    // Deletes copy i (as given); false when it could not be deleted.
    std::function<bool(int i)> descartar;
    // Runs the confirmation; tests answer it instead of a person.
    std::function<int(QDialog& dialogo)> ejecutarDialogo;

    // The copy to recover after "Recuperar"; -1 otherwise.
    int elegida() const { return mElegida; }

    QListWidget* Lista = nullptr;
    QLabel* Aviso = nullptr;
    QPushButton* Recuperar = nullptr;
    QPushButton* Descartar = nullptr;
    QPushButton* MasTarde = nullptr;

private:
    int actual() const;
    void actualizarBotones();
    void recuperar();
    void descartarActual();
    int mElegida = -1;
};

} // namespace quoravex
