#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quoravex {

// "Confirmación": asks before unsaved changes are lost, or before a save replaces another
// design file. The caller acts on accept().
class Aceptar : public QDialog {
    Q_OBJECT
public:
    static constexpr int16_t SalirAplicacion = -1;
    static constexpr int16_t CerrarTicketActual = -2;
    static constexpr int16_t ReemplazarFichero = -3;

    explicit Aceptar(int16_t selectorAceptar, QWidget* parent = nullptr);

    QLabel* Aviso = nullptr;
    QLabel* Pregunta = nullptr;
    QPushButton* Si = nullptr;
    QPushButton* No = nullptr;
};

} // namespace quoravex
