#include "FrmRecuperar.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace quoravex {

namespace {

constexpr int AnchoVista = 96;
constexpr int AltoVista = 128;

QString TextoEntrada(const FrmRecuperar::Entrada& e) {
    QStringList lineas;
    lineas << (e.ruta.isEmpty() ? QStringLiteral("Diseño nuevo, sin nombre")
                                : QDir::toNativeSeparators(e.ruta));
    if (e.hora.isValid())
        lineas << QStringLiteral("Copia del %1")
                      .arg(e.hora.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    if (!e.legible) lineas << QStringLiteral("No se puede leer esta copia: solo se puede descartar.");
    if (!e.detalle.isEmpty()) lineas << e.detalle;
    return lineas.join(QLatin1Char('\n'));
}

} // namespace

FrmRecuperar::FrmRecuperar(const QList<Entrada>& entradas, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmRecuperar"));
    setWindowTitle(QStringLiteral("Recuperar diseños"));
    setAccessibleName(windowTitle());
    ejecutarDialogo = [](QDialog& d) { return d.exec(); };

    Aviso = new QLabel(QStringLiteral("El programa se cerró sin guardar estos diseños. Puede recuperar "
                                      "uno ahora, descartarlos o dejarlos para más tarde."),
                       this);
    Aviso->setWordWrap(true);
    Lista = new QListWidget(this);
    Lista->setObjectName(QStringLiteral("Lista"));
    Lista->setAccessibleName(QStringLiteral("Copias de recuperación"));
    Lista->setIconSize(QSize(AnchoVista, AltoVista));
    Lista->setWordWrap(true);
    Lista->setMinimumSize(520, 300);
    for (int i = 0; i < entradas.size(); ++i) {
        const Entrada& e = entradas.at(i);
        auto* item = new QListWidgetItem(TextoEntrada(e), Lista);
        item->setData(Qt::UserRole, i);
        item->setData(Qt::UserRole + 1, e.legible);
        QImage vista(AnchoVista, AltoVista, QImage::Format_RGB32);
        vista.fill(Qt::lightGray);
        if (!e.vista.isNull())
            vista = e.vista.scaled(AnchoVista, AltoVista, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        item->setIcon(QIcon(QPixmap::fromImage(vista)));
    }

    Recuperar = new QPushButton(QStringLiteral("Recuperar"), this);
    Recuperar->setObjectName(QStringLiteral("Recuperar"));
    Descartar = new QPushButton(QStringLiteral("Descartar"), this);
    Descartar->setObjectName(QStringLiteral("Descartar"));
    MasTarde = new QPushButton(QStringLiteral("Más tarde"), this);
    MasTarde->setObjectName(QStringLiteral("MasTarde"));
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Recuperar);
    botones->addWidget(Descartar);
    botones->addWidget(MasTarde);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Aviso);
    columna->addWidget(Lista, 1);
    columna->addLayout(botones);

    connect(Lista, &QListWidget::currentRowChanged, this, &FrmRecuperar::actualizarBotones);
    connect(Lista, &QListWidget::itemActivated, this, &FrmRecuperar::recuperar);
    connect(Recuperar, &QPushButton::clicked, this, &FrmRecuperar::recuperar);
    connect(Descartar, &QPushButton::clicked, this, &FrmRecuperar::descartarActual);
    connect(MasTarde, &QPushButton::clicked, this, &QDialog::reject);
    Lista->setCurrentRow(0);
    actualizarBotones();
}

int FrmRecuperar::actual() const {
    const QListWidgetItem* item = Lista->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void FrmRecuperar::actualizarBotones() {
    const QListWidgetItem* item = Lista->currentItem();
    Recuperar->setEnabled(item && item->data(Qt::UserRole + 1).toBool());
    Descartar->setEnabled(item != nullptr);
    if (Recuperar->isEnabled()) Recuperar->setDefault(true);
}

void FrmRecuperar::recuperar() {
    if (!Recuperar->isEnabled()) return;
    mElegida = actual();
    accept();
}

void FrmRecuperar::descartarActual() {
    const int i = actual();
    if (i < 0) return;
    QMessageBox pregunta(QMessageBox::Question, windowTitle(),
                         QStringLiteral("¿Descartar esta copia? Los cambios que guarda se perderán.\n\n%1")
                             .arg(Lista->currentItem()->text()),
                         QMessageBox::NoButton, this);
    QPushButton* si = pregunta.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
    si->setObjectName(QStringLiteral("Si"));
    QPushButton* no = pregunta.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    no->setObjectName(QStringLiteral("No"));
    pregunta.setDefaultButton(no);
    ejecutarDialogo(pregunta);
    if (pregunta.clickedButton() != si) return;
    if (descartar && !descartar(i)) {
        QMessageBox fallo(QMessageBox::Warning, windowTitle(),
                          QStringLiteral("No se ha podido borrar esta copia."), QMessageBox::Ok, this);
        ejecutarDialogo(fallo);
        return;
    }
    delete Lista->takeItem(Lista->currentRow());
    if (Lista->count() == 0) reject();
    actualizarBotones();
}

} // namespace quoravex
