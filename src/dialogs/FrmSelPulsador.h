#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace quoravex {

class Design;

// "Selección de Pulsadores": which ticket variants the current object belongs to.
// Accepting stores the mask in Pulsadores of Objeto; the caller redraws.
class FrmSelPulsador : public QDialog {
    Q_OBJECT
public:
    explicit FrmSelPulsador(Design& d, QWidget* parent = nullptr);

    std::array<QCheckBox*, 17> Check1{}; // 1..16; index 0 unused
    QCheckBox* CheckComun = nullptr;
    QPushButton* PBAceptar = nullptr;
    QPushButton* PBCancelar = nullptr;
    QPushButton* PBNinguno = nullptr;
    QPushButton* PBTodos = nullptr;

    // The mask the boxes stand for: 1 with "COMUN", else the ticked push-buttons.
    uint32_t mascara() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void ninguno();
    void todos();
    void aceptar();
    Design& mDiseno;
};

} // namespace quoravex
