#include "FrmPathFilesOut.h"

#include "document/Design.h"
#include "platform/Rutas.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

namespace {
const QString Padre = QStringLiteral("..");
}

FrmPathFilesOut::FrmPathFilesOut(Design& d, Modo modo, const QString& titulo, const QString& dirPrograma,
                                 QWidget* parent)
    : QDialog(parent), mDiseno(d) {
    setObjectName(QStringLiteral("frmPathFilesOut"));
    setWindowTitle(titulo.isEmpty() ? QStringLiteral("Situación del Fichero de salida") : titulo);
    setModal(true);

    LbCarpeta = new QLabel(this);
    LbCarpeta->setObjectName(QStringLiteral("LbCarpeta"));
    DirFOut = new QListWidget(this);
    DirFOut->setObjectName(QStringLiteral("DirFOut"));
    FilesFOut = new QListWidget(this);
    FilesFOut->setObjectName(QStringLiteral("FilesFOut"));
    NombreFicheroTicket = new QLineEdit(this);
    NombreFicheroTicket->setObjectName(QStringLiteral("NombreFicheroTicket"));
    auto* etiquetaNombre = new QLabel(QStringLiteral("Archivo :"), this);
    LBPathFOut = new QLabel(this);
    LBPathFOut->setObjectName(QStringLiteral("LBPathFOut"));
    LbModoEdicion = new QLabel(QString::number(modo), this);
    LbModoEdicion->setObjectName(QStringLiteral("LbModoEdicion"));
    LbModoEdicion->setVisible(false);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    for (QPushButton* b : {CmdAceptar, CmdCancelar})
        b->setAutoDefault(false);

    connect(DirFOut, &QListWidget::itemActivated, this, &FrmPathFilesOut::abrirCarpeta);
    connect(DirFOut, &QListWidget::itemDoubleClicked, this, &FrmPathFilesOut::abrirCarpeta);
    connect(FilesFOut, &QListWidget::itemClicked, this, &FrmPathFilesOut::clicArchivo);
    connect(FilesFOut, &QListWidget::itemActivated, this, &FrmPathFilesOut::clicArchivo);
    connect(CmdAceptar, &QPushButton::clicked, this, &FrmPathFilesOut::aceptar);
    connect(CmdCancelar, &QPushButton::clicked, this, &FrmPathFilesOut::reject);

    auto* listas = new QHBoxLayout;
    listas->addWidget(DirFOut);
    listas->addWidget(FilesFOut);
    auto* nombre = new QHBoxLayout;
    nombre->addWidget(etiquetaNombre);
    nombre->addWidget(NombreFicheroTicket, 1);
    auto* botones = new QHBoxLayout;
    botones->addWidget(LBPathFOut, 1);
    botones->addWidget(CmdAceptar);
    botones->addWidget(CmdCancelar);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(LbCarpeta);
    columna->addLayout(listas, 1);
    columna->addLayout(nombre);
    columna->addLayout(botones);
    resize(560, 380);

    // A name can only be chosen by clicking a file when opening; when saving, Enter accepts
    // the typed name.
    NombreFicheroTicket->setReadOnly(modo == Abrir);
    if (modo == Guardar)
        connect(NombreFicheroTicket, &QLineEdit::returnPressed, this, &FrmPathFilesOut::aceptar);

    // A stored folder that no longer exists falls back to the program's folder, and the
    // name entry then keeps its plain look.
    if (!QFileInfo(d.DirTickets).isDir()) {
        irACarpeta(dirPrograma);
        return;
    }
    irACarpeta(d.DirTickets);
    if (modo == Guardar) {
        const QString fondo = QStringLiteral("background-color: #C0FFFF;"); // 0xFFFFC0, red in the low byte
        NombreFicheroTicket->setStyleSheet(fondo);
        etiquetaNombre->setStyleSheet(fondo);
        NombreFicheroTicket->setFocus();
    }
}

void FrmPathFilesOut::reject() {
    // Esc and the window's close button are "Cancelar": a file clicked before is not chosen.
    RutaElegida.clear();
    QDialog::reject();
}

void FrmPathFilesOut::irACarpeta(const QString& ruta) {
    const QDir dir(ruta);
    mCarpeta = QDir::cleanPath(dir.absolutePath());
    LbCarpeta->setText(QDir::toNativeSeparators(mCarpeta));
    DirFOut->clear();
    if (!dir.isRoot()) DirFOut->addItem(Padre);
    DirFOut->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FilesFOut->clear();
    FilesFOut->addItems(dir.entryList({QStringLiteral("*.tck")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString FrmPathFilesOut::carpetaConBarra() const {
    return ConSeparador(mCarpeta);
}

void FrmPathFilesOut::abrirCarpeta(QListWidgetItem* item) {
    if (!item) return;
    irACarpeta(QDir(mCarpeta).filePath(item->text()));
}

void FrmPathFilesOut::clicArchivo(QListWidgetItem* item) {
    if (!item) return;
    NombreFicheroTicket->setText(item->text());
    LBPathFOut->setText(item->text());
    mDiseno.DirTickets = carpetaConBarra();
    RutaElegida = mDiseno.DirTickets + NombreFicheroTicket->text();
}

void FrmPathFilesOut::aceptar() {
    mDiseno.DirTickets = carpetaConBarra();
    RutaElegida = mDiseno.DirTickets + NombreFicheroTicket->text();
    accept();
}

} // namespace quoravex
