#include "FrmVistaPrevia.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quoravex {

// One ticket's picture, magnified by whole dots so that every printer dot stays a sharp square.
class ImagenTicket : public QWidget {
public:
    ImagenTicket(const QImage& imagen, int zoom, QWidget* parent) : QWidget(parent), mImagen(imagen) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setZoom(zoom);
    }

    void setZoom(int zoom) {
        mZoom = zoom;
        setFixedSize(mImagen.size() * zoom);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // No smooth transform: each dot becomes a block of zoom x zoom pixels.
        p.scale(mZoom, mZoom);
        p.drawImage(0, 0, mImagen);
    }

private:
    QImage mImagen;
    int mZoom = 1;
};

namespace {

QString TituloTicket(int n) {
    return n == 0 ? QStringLiteral("Parte Común") : QStringLiteral("Pulsador %1").arg(n);
}

} // namespace

FrmVistaPrevia::FrmVistaPrevia(Generador generador, QWidget* parent)
    : QWidget(parent, Qt::Window), mGenerador(std::move(generador)) {
    setObjectName(QStringLiteral("FrmVistaPrevia"));
    setWindowTitle(QStringLiteral("Vista previa de impresión"));

    CmbZoom = new QComboBox(this);
    CmbZoom->setObjectName(QStringLiteral("CmbZoom"));
    for (int factor = 1; factor <= 4; ++factor)
        CmbZoom->addItem(QStringLiteral("%1 %").arg(factor * 100), factor);
    CmdExportar = new QPushButton(QStringLiteral("Exportar PNG..."), this);
    CmdExportar->setObjectName(QStringLiteral("CmdExportar"));
    LbMensajes = new QLabel(this);
    LbMensajes->setObjectName(QStringLiteral("LbMensajes"));
    LbMensajes->setTextFormat(Qt::PlainText);
    LbMensajes->setWordWrap(true);
    LbMensajes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AreaTickets = new QScrollArea(this);
    AreaTickets->setObjectName(QStringLiteral("AreaTickets"));
    AreaTickets->setWidgetResizable(true);

    ElegirCarpeta = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Exportar PNG"));
    };
    Avisar = [this](const QString& texto) { QMessageBox::warning(this, windowTitle(), texto); };

    connect(CmbZoom, &QComboBox::currentIndexChanged, this, [this] {
        for (ImagenTicket* imagen : std::as_const(mImagenes))
            imagen->setZoom(zoom());
    });
    connect(CmdExportar, &QPushButton::clicked, this, &FrmVistaPrevia::exportar);

    auto* barra = new QHBoxLayout;
    barra->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
    barra->addWidget(CmbZoom);
    barra->addStretch(1);
    barra->addWidget(CmdExportar);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(barra);
    columna->addWidget(LbMensajes);
    columna->addWidget(AreaTickets, 1);
    resize(860, 640);

    actualizar();
}

int FrmVistaPrevia::zoom() const {
    return CmbZoom->currentData().toInt();
}

void FrmVistaPrevia::setZoom(int factor) {
    if (const int i = CmbZoom->findData(factor); i >= 0) CmbZoom->setCurrentIndex(i);
}

void FrmVistaPrevia::actualizar() {
    mVistas = mGenerador ? mGenerador() : VistasDiseno{};
    QStringList mensajes;
    if (!mVistas.error.isEmpty()) mensajes << mVistas.error;
    for (const VistaPreviaTicket& t : std::as_const(mVistas.tickets))
        mensajes << t.avisos;
    LbMensajes->setText(mensajes.join(QLatin1Char('\n')));
    LbMensajes->setVisible(!mensajes.isEmpty());
    CmdExportar->setEnabled(!mVistas.tickets.isEmpty());
    mostrarTickets();
}

void FrmVistaPrevia::mostrarTickets() {
    // A new row replaces the old one; the scroll area deletes the old.
    auto* fila = new QWidget;
    auto* tickets = new QHBoxLayout(fila);
    mImagenes.clear();
    for (int n = 0; n < mVistas.tickets.size(); ++n) {
        auto* titulo = new QLabel(TituloTicket(n), fila);
        titulo->setObjectName(QStringLiteral("LbTitulo%1").arg(n));
        auto* imagen = new ImagenTicket(mVistas.tickets.at(n).imagen, zoom(), fila);
        imagen->setObjectName(QStringLiteral("Ticket%1").arg(n));
        mImagenes.append(imagen);
        auto* ticket = new QVBoxLayout;
        ticket->addWidget(titulo);
        ticket->addWidget(imagen);
        ticket->addStretch(1);
        tickets->addLayout(ticket);
    }
    tickets->addStretch(1);
    AreaTickets->setWidget(fila);
}

void FrmVistaPrevia::exportar() {
    const QString carpeta = ElegirCarpeta ? ElegirCarpeta() : QString();
    if (carpeta.isEmpty()) return;
    for (int n = 0; n < mVistas.tickets.size(); ++n) {
        const QString ruta = QDir(carpeta).filePath(NombreVistaPrevia(n));
        if (!mVistas.tickets.at(n).imagen.save(ruta, "PNG")) {
            if (Avisar)
                Avisar(
                    QStringLiteral("No se puede escribir la imagen %1.").arg(QDir::toNativeSeparators(ruta)));
            return;
        }
    }
}

} // namespace quoravex
