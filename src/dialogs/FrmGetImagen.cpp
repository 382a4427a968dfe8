#include "FrmGetImagen.h"

#include "VistaImagen.h"
#include "document/Design.h"
#include "render/Workspace.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

namespace quoravex {

namespace {

constexpr int LadoVista = 240;
constexpr int Margen = 16;
constexpr int AltoFila = 28;
constexpr int AnchoEtiqueta = 84;

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

    // Conversion and brightness, across the dialog under the preview.
    const int derecha = sldSize->geometry().right() + 1;
    const int filaConversion = Margen + LadoVista + 2 * Margen;
    const int filaBrillo = filaConversion + AltoFila + Margen / 2;
    const int xControl = Margen + AnchoEtiqueta;
    auto* lblConversion = new QLabel(QStringLiteral("Con&versión:"), this);
    lblConversion->setGeometry(Margen, filaConversion, AnchoEtiqueta, AltoFila);
    cboConversion = new QComboBox(this);
    cboConversion->setObjectName(QStringLiteral("cboConversion"));
    for (Conversion c :
         {Conversion::Umbral, Conversion::FloydSteinberg, Conversion::Atkinson, Conversion::Ordenado})
        cboConversion->addItem(NombreConversion(c), static_cast<int>(c));
    cboConversion->setToolTip(QStringLiteral("Umbral para logotipos y texto; Floyd-Steinberg o Atkinson "
                                             "para fotografías; Ordenado para grises uniformes"));
    cboConversion->setGeometry(xControl, filaConversion, derecha - xControl, AltoFila);
    lblConversion->setBuddy(cboConversion);
    auto* lblBrillo = new QLabel(QStringLiteral("&Brillo:"), this);
    lblBrillo->setGeometry(Margen, filaBrillo, AnchoEtiqueta, AltoFila);
    const int anchoValor = 36;
    sldBrillo = new QSlider(Qt::Horizontal, this);
    sldBrillo->setObjectName(QStringLiteral("sldBrillo"));
    sldBrillo->setRange(BrilloMinimo, BrilloMaximo);
    sldBrillo->setPageStep(10);
    sldBrillo->setValue(0);
    sldBrillo->setGeometry(xControl, filaBrillo, derecha - xControl - anchoValor, AltoFila);
    lblBrillo->setBuddy(sldBrillo);
    lblValorBrillo = new QLabel(QStringLiteral("0"), this);
    lblValorBrillo->setObjectName(QStringLiteral("lblValorBrillo"));
    lblValorBrillo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblValorBrillo->setGeometry(derecha - anchoValor, filaBrillo, anchoValor, AltoFila);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    const int fila = filaBrillo + AltoFila + 2 * Margen;
    const int anchoBoton = (LadoVista - Margen) / 2;
    cmdOK->setGeometry(Margen, fila, anchoBoton, AltoFila);
    cmdCancel->setGeometry(Margen + anchoBoton + Margen, fila, anchoBoton, AltoFila);
    setFixedSize(derecha + Margen, fila + AltoFila + Margen);

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
    connect(cboConversion, &QComboBox::currentIndexChanged, this, &FrmGetImagen::cambiarConversion);
    connect(sldBrillo, &QSlider::valueChanged, this, [this](int valor) {
        lblValorBrillo->setNum(valor);
        cambiarConversion();
    });
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
        // The stored bitmap is converted already: the controls work from the original
        // picture, and only once they are moved.
        const QString origen = ResolverRutaImagen(o.ImagenOrigen.valor(), dirDiseno);
        const bool reconvertible = !origen.isEmpty() && QFileInfo(origen).size() <= TamanoMaximoImagen &&
                                   mImagen.cargaOriginal(origen);
        cboConversion->setEnabled(reconvertible);
        sldBrillo->setEnabled(reconvertible);
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
    if (mImagen.puedeReconvertir()) {
        cboConversion->setEnabled(true);
        sldBrillo->setEnabled(true);
    }
    PintarVistaPrevia(Picture1->superficie(), mImagen.imagenCargada());
}

// Before any picture the choice waits for the next one.
void FrmGetImagen::cambiarConversion() {
    const auto metodo = static_cast<Conversion>(cboConversion->currentData().toInt());
    if (mImagen.reconvertir(metodo, sldBrillo->value())) mostrarImagen();
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
    QRect conversion = cboConversion->geometry().united(lblValorBrillo->geometry());
    conversion.setLeft(Picture1->x());
    DrawFrameOn(p, palette(), conversion, 4, false);
    DrawFrameOn(p, palette(), botones, 4, false);
    DrawFrameOn(p, palette(), Picture1->geometry(), 1, true);
    DrawFrameOn(p, palette(), botones, 1, true);
}

} // namespace quoravex
