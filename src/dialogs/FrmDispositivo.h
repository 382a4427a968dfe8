#pragma once

#include "platform/PuertosDetectados.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quoravex {

// "Dispositivo del puerto COMn": which device a port number stands for. Lists the ports
// present (stable names first, with what they are); a click puts one in the field, where any
// other device path or network port (rfc2217://, socket://) can be typed. An empty field
// leaves the choice to the configuration.
class FrmDispositivo : public QDialog {
    Q_OBJECT
public:
    FrmDispositivo(int puerto, const QString& actual, const QString& porDefecto, DetectorPuertos detectar,
                   QWidget* parent = nullptr);

    // The device chosen, as typed or picked; empty: none.
    QString dispositivo() const;
    // "Actualizar": the ports present now.
    void actualizar();
    // A note under the field, such as a device the environment imposes.
    void fijarNota(const QString& nota);

    QLabel* LbDetectados = nullptr;
    QTreeWidget* LstPuertos = nullptr;
    QPushButton* PBActualizar = nullptr;
    QLineEdit* TxtDispositivo = nullptr;
    QLabel* LbAviso = nullptr;
    QLabel* LbNota = nullptr;
    QPushButton* CmdAceptar = nullptr;
    QPushButton* CmdCancelar = nullptr;

private:
    void elegirFila(QTreeWidgetItem* fila);
    void revisar();

    DetectorPuertos mDetectar;
};

} // namespace quoravex
