#include "FrmGetImagen.h"

#include "VistaImagen.h"
#include "document/Design.h"
#include "render/Workspace.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace quoravex {

namespace {

constexpr int LadoVista = 240;
constexpr int Margen = 16;

int SlotDe(const Design& d) {
    return std::clamp<int>(d.Objeto, 0, MaxObjetos);
}

// A three-dimensional frame `distancia` pixels outside r: raised or sunken.
void DrawFrameOn(QPainter& p, const QPalette& pal, QRect r, int distancia, bool hundido) {
    r.adjust(-distancia, -distancia, distancia - 1, distancia - 1);
    const QColor luz = pal.color(QPalette::Light);
    const QColor sombra = pal.color(hundido ? QPalette::Shadow : QPalette::Dark);
    const QColor arribaIzquierda = hundido ? sombra : luz;
    const QColor abajoDerecha = hundido ? luz : sombra;
    p.setPen(arribaIzquierda);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(abajoDerecha);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

FrmGetImagen::FrmGetImagen(Design& d, Workspace& ws, const QString& dirDiseno, QWidget* parent)
    : QDialog(parent), mDiseno(d),
      mImagen(d.objeto(SlotDe(d)), SlotDe(d), ws.item(SlotDe(d)), ws.PicWork2, ws.PicTicket) {
    setWindowTitle(QStringLiteral("Edición de Imagenes"));
    setObjectName(QStringLiteral("FrmGetImagen"));

    Picture1 = new VistaImagen(LadoVista, LadoVista, this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(Margen, Margen);
    Picture1->setToolTip(QStringLiteral("Arrastre una imagen aquí o pulse para elegirla"));

    sldSize = new SliderTamano(this);
    sldSize->setObjectName(QStringLiteral("sldSize"));
    sldSize->setRange(0, AnchoCanvas - 1);
    sldSize->setGeometry(Margen + LadoVista + 2 * Margen, Margen, 30, LadoVista);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    const int fila = Margen + LadoVista + 2 * Margen;
    const int anchoBoton = (LadoVista - Margen) / 2;
    cmdOK->setGeometry(Margen, fila, anchoBoton, 28);
    cmdCancel->setGeometry(Margen + anchoBoton + Margen, fila, anchoBoton, 28);
    setFixedSize(sldSize->geometry().right() + 1 + Margen, fila + 28 + Margen);

    Avisar = [this](const QString& texto) { QMessageBox::critical(this, windowTitle(), texto); };
    ElegirFichero = [this] {
        return QFileDialog::getOpenFileName(
            this, windowTitle(), QString(),
            QStringLiteral("Imágenes (*.bmp *.png *.jpg *.jpeg *.gif);;Todos los archivos (*)"));
    };

    connect(Picture1, &VistaImagen::ficherosSoltados, this, &FrmGetImagen::soltarFicheros);
    connect(Picture1, &VistaImagen::pulsada, this, &FrmGetImagen::Picture1_Click);
    connect(sldSize, &SliderTamano::botonPulsado, this, &FrmGetImagen::sldSize_MouseDown);
    connect(sldSize, &SliderTamano::ratonMovido, this, &FrmGetImagen::sldSize_MouseMove);
    connect(sldSize, &SliderTamano::botonSoltado, this, &FrmGetImagen::sldSize_MouseUp);
    connect(cmdOK, &QPushButton::clicked, this, &FrmGetImagen::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Load step: the object's existing working bitmap, else the drop prompt.
    const ObjetoTicket& o = d.objeto(SlotDe(d));
    sldSize->setValue(o.AnchoImagen);
    const QString existente = ResolverRutaImagen(o.ImagenTrabajo.valor(), dirDiseno);
    if (existente.isEmpty()) {
        MensajeImagen(TextoArrastrar);
        mImagen.ImagenNueva = true;
        sldSize->setEnabled(false);
    } else if (cargar(existente, false)) {
        mostrarImagen();
    } else {
        // A file that is no picture leaves the slider enabled; without a picture it resizes nothing.
        MensajeImagen(TextoFormatoNoValido);
        mImagen.ImagenNueva = true;
    }
}

void FrmGetImagen::MensajeImagen(const QString& texto) {
    quoravex::MensajeImagen(Picture1->superficie(), texto);
}

void FrmGetImagen::soltarFicheros(const QStringList& nombres) {
    const QString ruta = FicherosSoltados(nombres);
    if (ruta.isEmpty()) return;
    if (QFileInfo(ruta).size() > TamanoMaximoImagen) {
        Avisar(TextoDemasiadoGrande);
        return;
    }
    sldSize->setEnabled(true);
    if (cargar(ruta, true))
        mostrarImagen();
    else
        MensajeImagen(TextoFormatoNoValido);
}

QString FrmGetImagen::FicherosSoltados(const QStringList& nombres) {
    if (nombres.isEmpty()) return QString();
    if (nombres.size() > 1) {
        Avisar(TextoVariosFicheros);
        return QString();
    }
    // No shortcut service here: a name ending in ".lnk" is an ordinary file.
    const QFileInfo info(nombres.front());
    if (info.isDir()) {
        Avisar(TextoEsCarpeta);
        return QString();
    }
    if (nombres.front().isEmpty() || !info.isFile()) {
        Avisar(TextoNoExiste + nombres.front());
        return QString();
    }
    return nombres.front();
}

bool FrmGetImagen::cargar(const QString& ruta, bool nueva) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool hecho = nueva ? mImagen.ponerImagenNueva(ruta) : mImagen.cargaImagen(ruta);
    QGuiApplication::restoreOverrideCursor();
    return hecho;
}

void FrmGetImagen::mostrarImagen() {
    sldSize->setEnabled(true);
    PintarVistaPrevia(Picture1->superficie(), mImagen.imagenCargada());
}

void FrmGetImagen::cmdOK_Click() {
    mDiseno.objeto(SlotDe(mDiseno)).Pendiente = Falso;
    accept();
}

void FrmGetImagen::Picture1_Click() {
    const QString ruta = ElegirFichero ? ElegirFichero() : QString();
    if (!ruta.isEmpty()) soltarFicheros({ruta});
}

// Without a picture in PicWork2 (none dropped yet, or the file was refused) the slider
// touches neither the record nor the box.
void FrmGetImagen::sldSize_MouseDown() {
    if (mImagen.tieneImagen()) mImagen.inicioSlider();
}

void FrmGetImagen::sldSize_MouseMove() {
    if (mImagen.tieneImagen()) mImagen.aplicaAncho(sldSize->value());
}

// A click on the groove steps the value by a page without dragging: the width stays as it
// was and the box only gets its picture back.
void FrmGetImagen::sldSize_MouseUp() {
    if (mImagen.tieneImagen()) mImagen.ajustarTrasSlider();
}

void FrmGetImagen::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    QPainter p(this);
    const QRect botones = cmdOK->geometry().united(cmdCancel->geometry());
    DrawFrameOn(p, palette(), Picture1->geometry(), 4, false);
    DrawFrameOn(p, palette(), sldSize->geometry(), 4, false);
    DrawFrameOn(p, palette(), botones, 4, false);
    DrawFrameOn(p, palette(), Picture1->geometry(), 1, true);
    DrawFrameOn(p, palette(), botones, 1, true);
}

} // namespace quoravex
