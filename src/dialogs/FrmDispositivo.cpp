#include "FrmDispositivo.h"

#include "platform/PuertoRed.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quoravex {

namespace {

// What the port is, in one line: description, maker, serial number, USB identity, and the
// system's name when the list shows the stable one.
QString Descripcion(const PuertoDetectado& p) {
    QStringList partes;
    for (const QString& s : {p.descripcion, p.fabricante})
        if (!s.isEmpty() && !partes.contains(s)) partes << s;
    if (!p.numeroSerie.isEmpty()) partes << QStringLiteral("n.º de serie %1").arg(p.numeroSerie);
    if (!p.usb.isEmpty()) partes << QStringLiteral("USB %1").arg(p.usb);
    if (!p.estable.isEmpty()) partes << p.dispositivo;
    return partes.join(QStringLiteral(", "));
}

} // namespace

FrmDispositivo::FrmDispositivo(int puerto, const QString& actual, const QString& porDefecto,
                               DetectorPuertos detectar, QWidget* parent)
    : QDialog(parent), mDetectar(std::move(detectar)) {
    setObjectName(QStringLiteral("frmDispositivo"));
    setWindowTitle(QStringLiteral("Dispositivo del puerto COM%1").arg(puerto));
    setAccessibleName(windowTitle());
    setModal(true);

    LbDetectados = new QLabel(this);
    LbDetectados->setObjectName(QStringLiteral("LbDetectados"));
    LstPuertos = new QTreeWidget(this);
    LstPuertos->setObjectName(QStringLiteral("LstPuertos"));
    LstPuertos->setAccessibleName(QStringLiteral("Puertos detectados"));
    LstPuertos->setHeaderLabels({QStringLiteral("Dispositivo"), QStringLiteral("Descripción")});
    LstPuertos->setRootIsDecorated(false);
    LstPuertos->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    LbDetectados->setBuddy(LstPuertos);
    PBActualizar = new QPushButton(QStringLiteral("Actualizar"), this);
    PBActualizar->setObjectName(QStringLiteral("PBActualizar"));
    PBActualizar->setAccessibleName(PBActualizar->text());

    auto* etiqueta = new QLabel(QStringLiteral("Dispositivo o puerto de red:"), this);
    TxtDispositivo = new QLineEdit(actual, this);
    TxtDispositivo->setObjectName(QStringLiteral("TxtDispositivo"));
    TxtDispositivo->setAccessibleName(QStringLiteral("Dispositivo o puerto de red"));
    TxtDispositivo->setPlaceholderText(porDefecto);
    TxtDispositivo->setClearButtonEnabled(true);
    etiqueta->setBuddy(TxtDispositivo);
    auto* ayuda = new QLabel(QStringLiteral("Otro dispositivo (/dev/ttyACM0), rfc2217://HOST:PUERTO o "
                                            "socket://HOST:PUERTO. Vacío: %1.")
                                 .arg(porDefecto),
                             this);
    ayuda->setWordWrap(true);
    LbNota = new QLabel(this);
    LbNota->setObjectName(QStringLiteral("LbNota"));
    LbNota->setWordWrap(true);
    LbNota->setVisible(false);
    LbAviso = new QLabel(this);
    LbAviso->setObjectName(QStringLiteral("LbAviso"));
    LbAviso->setWordWrap(true);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    for (QPushButton* b : {PBActualizar, CmdCancelar})
        b->setAutoDefault(false);
    CmdAceptar->setDefault(true);

    connect(PBActualizar, &QPushButton::clicked, this, &FrmDispositivo::actualizar);
    connect(LstPuertos, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (const QList<QTreeWidgetItem*> filas = LstPuertos->selectedItems(); !filas.isEmpty())
            elegirFila(filas.first());
    });
    connect(LstPuertos, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* fila) {
        elegirFila(fila);
        if (CmdAceptar->isEnabled()) accept();
    });
    connect(TxtDispositivo, &QLineEdit::textChanged, this, &FrmDispositivo::revisar);
    connect(CmdAceptar, &QPushButton::clicked, this, &FrmDispositivo::accept);
    connect(CmdCancelar, &QPushButton::clicked, this, &FrmDispositivo::reject);

    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(LbDetectados, 1);
    cabecera->addWidget(PBActualizar);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(CmdAceptar);
    botones->addWidget(CmdCancelar);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(cabecera);
    columna->addWidget(LstPuertos, 1);
    columna->addWidget(etiqueta);
    columna->addWidget(TxtDispositivo);
    columna->addWidget(ayuda);
    columna->addWidget(LbNota);
    columna->addWidget(LbAviso);
    columna->addLayout(botones);
    resize(620, 360);
    actualizar();
    revisar();
}

QString FrmDispositivo::dispositivo() const {
    return TxtDispositivo->text().trimmed();
}

void FrmDispositivo::actualizar() {
    const QList<PuertoDetectado> puertos = mDetectar ? mDetectar() : QList<PuertoDetectado>();
    const QString escrito = dispositivo();
    LstPuertos->blockSignals(true);
    LstPuertos->clear();
    for (const PuertoDetectado& p : puertos) {
        auto* fila = new QTreeWidgetItem(LstPuertos, {p.nombreElegible(), Descripcion(p)});
        fila->setToolTip(0, p.dispositivo);
        if (p.nombreElegible() == escrito || p.dispositivo == escrito) LstPuertos->setCurrentItem(fila);
    }
    LstPuertos->blockSignals(false);
    LbDetectados->setText(puertos.isEmpty() ? QStringLiteral("No se ha detectado ningún puerto serie.")
                                            : QStringLiteral("Puertos detectados:"));
}

void FrmDispositivo::fijarNota(const QString& nota) {
    LbNota->setText(nota);
    LbNota->setVisible(!nota.isEmpty());
}

void FrmDispositivo::elegirFila(QTreeWidgetItem* fila) {
    if (fila) TxtDispositivo->setText(fila->text(0));
}

void FrmDispositivo::revisar() {
    // A network port that cannot be reached by its name is refused here, not at the first send.
    const QString d = dispositivo();
    const bool malRed = DireccionRed::EsNombreRed(d) && !DireccionRed::desdeTexto(d);
    LbAviso->setText(malRed ? QStringLiteral("No es una dirección de red válida: rfc2217://HOST:PUERTO o "
                                             "socket://HOST:PUERTO.")
                            : QString());
    LbAviso->setVisible(malRed);
    CmdAceptar->setEnabled(!malRed);
}

} // namespace quoravex
