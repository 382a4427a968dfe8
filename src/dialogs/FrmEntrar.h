#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace quoravex {

class Design;

// "Entrar Longitud Ticket": asks for the ticket length and stores it in LargoTicket.
// Values below 1 or beyond 16 bits are refused and the dialog stays open; the upper
// limit of the ticket itself is checked by the caller.
class FrmEntrar : public QDialog {
    Q_OBJECT
public:
    explicit FrmEntrar(Design& d, QWidget* parent = nullptr);

    QLineEdit* TbEntrar = nullptr;
    QPushButton* Aceptar_pass = nullptr;
    QPushButton* Cancela_P = nullptr;

    // Shows a refusal; tests replace it to record the text instead of opening a box.
    std::function<void(const QString&)> mostrarMensaje;

private:
    void aceptar();
    Design& mDiseno;
};

} // namespace quoravex
