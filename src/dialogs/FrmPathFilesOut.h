#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quoravex {

class Design;

// "Situación del Fichero de salida": chooses the path of a design file. A folder list
// (parent and subfolders of the current folder) and the "*.tck" files in it; in open mode
// a name is chosen by clicking a file, in save mode it can be typed. Produces RutaElegida
// (empty after "Cancelar") and updates DirTickets.
class FrmPathFilesOut : public QDialog {
    Q_OBJECT
public:
    enum Modo { Abrir = 0, Guardar = 1 };

    FrmPathFilesOut(Design& d, Modo modo, const QString& titulo, const QString& dirPrograma,
                    QWidget* parent = nullptr);

    QString RutaElegida;
    QString carpeta() const { return mCarpeta; }
    // Shows another folder in the lists.
    void irACarpeta(const QString& ruta);
    void reject() override;

    QLabel* LbCarpeta = nullptr;
    QListWidget* DirFOut = nullptr;
    QListWidget* FilesFOut = nullptr;
    QLineEdit* NombreFicheroTicket = nullptr;
    QLabel* LBPathFOut = nullptr;
    QLabel* LbModoEdicion = nullptr;
    QPushButton* CmdAceptar = nullptr;
    QPushButton* CmdCancelar = nullptr;

private:
    void clicArchivo(QListWidgetItem* item);
    void abrirCarpeta(QListWidgetItem* item);
    void aceptar();
    QString carpetaConBarra() const;

    Design& mDiseno;
    QString mCarpeta;
};

} // namespace quoravex
