#pragma once

#include "document/Campos.h"

#include <QDialog>
#include <QMap>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quoravex {

// "Valores de Campos": a box for the value of each field of the design, in the order the
// fields appear. The values it was given for other names are kept as they were.
class FrmValoresCampos : public QDialog {
    Q_OBJECT
public:
    FrmValoresCampos(const QStringList& campos, const ValoresCampos& valores, QWidget* parent = nullptr);

    // What was given, with the boxes' texts for the design's fields.
    ValoresCampos valores() const;
    // The design's fields whose box is empty, in order.
    QStringList vacios() const;

    QMap<QString, QLineEdit*> TbCampo; // by field name
    QLabel* LbAviso = nullptr;
    QPushButton* Aceptar = nullptr;
    QPushButton* Cancelar = nullptr;

private:
    QStringList mCampos;
    ValoresCampos mValores;
};

} // namespace quoravex
