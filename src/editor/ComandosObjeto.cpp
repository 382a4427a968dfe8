#include "ComandosObjeto.h"

#include "CodigoObjeto.h"
#include "ObjetosCanvas.h"

#include "document/Numeros.h"
#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Workspace.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace quoravex {

namespace {

struct Muestra {
    int tipo;
    int formato;
    const char* texto;
};

// The widest value of each variable-field format, shown until the printer fills it in.
constexpr Muestra Muestras[] = {
    {TipoTurno, 2, "88"},         {TipoTurno, 3, "888"},        {TipoTurno, 4, "8888"},
    {TipoTurno, 10, "A8"},        {TipoTurno, 11, "A88"},       {TipoTurno, 12, "A888"},
    {TipoFecha, 1, "31/12/99"},   {TipoFecha, 2, "12/31/99"},   {TipoFecha, 3, "31/12/2099"},
    {TipoFecha, 4, "12/31/2099"}, {TipoHora, 1, "23:59"},       {TipoHora, 2, "11:59 pm"},
    {TipoHora, 3, "23:59:59"},    {TipoHora, 4, "11:59:59 pm"}, {TipoHora, 5, "23.59"},
    {TipoHora, 6, "23.59.59"},
};

// Where a stored working bitmap is: as written, else the same name in the current directory.
QString BitmapExistente(const QString& guardada) {
    if (guardada.isEmpty()) return {};
    if (QFileInfo::exists(guardada)) return guardada;
    QString nombre = guardada;
    nombre.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString enActual = QDir::current().filePath(QFileInfo(nombre).fileName());
    return QFileInfo::exists(enActual) ? enActual : guardada;
}

} // namespace

ComandosObjeto::ComandosObjeto(Design& d, Workspace& ws, QWidget* padreDialogos, QObject* parent)
    : QObject(parent), mDiseno(d), mWs(ws), mPadre(padreDialogos) {
    ejecutarDialogo = [](QDialog& dlg) { return dlg.exec(); };
    mostrarMensaje = [this](const QString& texto) {
        QMessageBox::warning(mPadre, QStringLiteral("Quoravex"), texto);
    };
    redibujar = [this] { RedibujarTicket(mDiseno, mWs); };
}

void ComandosObjeto::terminarModosLinea() {
    DibujandoLinea = false;
    AlargandoLinea = false;
    mLineaEnCurso = 0;
}

QString ComandosObjeto::TextoMuestra(int tipo, int formato) {
    for (const Muestra& m : Muestras)
        if (m.tipo == tipo && m.formato == formato) return QString::fromUtf8(m.texto);
    return {};
}

bool ComandosObjeto::actual(int& i) const {
    i = mDiseno.Objeto;
    return mDiseno.enUso(i);
}

int ComandosObjeto::anadir(const NuevoObjeto& nuevo) {
    const int i = AgregarObjeto(mDiseno, mWs, nuevo);
    if (i == 0 && mostrarMensaje) mostrarMensaje(MensajeDisenoLleno);
    return i;
}

int ComandosObjeto::AnadirTextoFijo() {
    NuevoObjeto n;
    n.Tipo = TipoTextoFijo;
    n.Pulsadores = mDiseno.VistaActual;
    const int i = anadir(n);
    if (i == 0) return 0;
    Modificar(i);
    return mDiseno.enUso(i) ? i : 0;
}

int ComandosObjeto::anadirSinImagen(const NuevoObjeto& n) {
    // Images and lines start without picture files; the picture width is the box's.
    const int i = anadir(n);
    if (i == 0) return 0;
    ObjetoTicket& o = mDiseno.objeto(i);
    o.ImagenTrabajo = QString();
    o.ImagenOrigen = QString();
    o.AnchoImagen = static_cast<int16_t>(o.Width);
    return i;
}

int ComandosObjeto::AnadirImagen() {
    return anadirImagen(false);
}

int ComandosObjeto::AnadirCodigo() {
    return anadirImagen(true);
}

int ComandosObjeto::anadirImagen(bool codigo) {
    NuevoObjeto n;
    n.Tipo = TipoImagen;
    n.Width = n.Height = 384 / 4;
    n.Left = (384 - n.Width) / 2;
    n.Top = RedondeoPar((mDiseno.LargoTicket - n.Width) / 2.0).value_or(0);
    n.Pulsadores = mDiseno.VistaActual;
    const int i = anadirSinImagen(n);
    if (i == 0) return 0;
    // A code is a picture object edited with the code dialog.
    mCodigoNuevo = codigo ? i : 0;
    Modificar(i);
    mCodigoNuevo = 0;
    return mDiseno.enUso(i) ? i : 0;
}

int ComandosObjeto::AnadirLinea() {
    NuevoObjeto n;
    n.Tipo = TipoLinea;
    n.Top = n.Left = -10;
    n.Width = n.Height = 2;
    n.Pulsadores = mDiseno.VistaActual;
    const int i = anadirSinImagen(n);
    if (i == 0) return 0;
    mDiseno.objeto(i).Grosor = 2;
    // Parked off the canvas until the user draws it.
    DibujandoLinea = true;
    AlargandoLinea = false;
    mLineaEnCurso = i;
    mDiseno.TicketModificado = Verdadero;
    return i;
}

int ComandosObjeto::anadirCampo(int tipo, int formato) {
    const QString muestra = TextoMuestra(tipo, formato);
    if (muestra.isEmpty()) return 0;
    NuevoObjeto n;
    n.Tipo = static_cast<int16_t>(tipo);
    n.Formato = static_cast<uint8_t>(formato);
    n.Texto = muestra;
    // Variable fields belong to the common part whatever the view.
    n.Pulsadores = 1;
    const int i = anadir(n);
    if (i == 0) return 0;
    Modificar(i);
    return mDiseno.enUso(i) ? i : 0;
}

int ComandosObjeto::AnadirTurno(int formato) {
    return anadirCampo(TipoTurno, formato);
}

int ComandosObjeto::AnadirFecha(int formato) {
    return anadirCampo(TipoFecha, formato);
}

int ComandosObjeto::AnadirHora(int formato) {
    return anadirCampo(TipoHora, formato);
}

void ComandosObjeto::Modificar(int i) {
    if (!mDiseno.enUso(i)) return;
    mDiseno.Objeto = static_cast<int16_t>(i);
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    switch (o.Tipo) {
    case TipoTextoFijo:
    case TipoTurno:
    case TipoFecha:
    case TipoHora: {
        mWs.PicWork.clear();
        caja.setBackColor(ColorBlanco);
        caja.clear();
        caja.refresh();
        if (nuevoEditorTexto)
            if (const auto editor = nuevoEditorTexto(mPadre)) ejecutarDialogo(*editor);
        break;
    }
    case TipoImagen: {
        caja.setBackColor(ColorGris);
        caja.clear();
        caja.refresh();
        const bool codigo = nuevoEditorCodigo && (i == mCodigoNuevo || (esCodigo && esCodigo(o)));
        const auto& crear = codigo ? nuevoEditorCodigo : nuevoEditorImagen;
        if (crear)
            if (const auto editor = crear(mPadre)) ejecutarDialogo(*editor);
        break;
    }
    default:
        break;
    }
    if (o.Pendiente != Falso) {
        // The editor of a just-added object was cancelled: the object goes again.
        BorrarObjeto(mDiseno, mWs, i);
        o.Pendiente = Falso;
        if (i == mLineaEnCurso) terminarModosLinea();
    } else {
        mDiseno.TicketModificado = Verdadero;
    }
    if (redibujar) redibujar();
}

int ComandosObjeto::Copiar() {
    int s = 0;
    if (!actual(s)) return 0;
    // A design holds one field of each variable kind.
    if (mDiseno.objeto(s).esCampoVariable()) return 0;
    const int d = mDiseno.buscarSlotLibre();
    if (d == 0) {
        if (mostrarMensaje) mostrarMensaje(MensajeDisenoLleno);
        return 0;
    }
    mDiseno.Objeto = static_cast<int16_t>(d);
    mDiseno.NumObjetos += 1;
    ObjetoTicket& o = mDiseno.objeto(d);
    o = mDiseno.objeto(s);
    o.Orden = mDiseno.NumObjetos;
    if (d > mDiseno.IdxObjMasAlto) mDiseno.IdxObjMasAlto = static_cast<int16_t>(d);

    Surface& caja = mWs.item(d);
    if (o.Tipo != TipoLinea) {
        o.Top += 20;
        o.Left += 20;
        if (o.Tipo == TipoImagen) {
            // The copy gets its own working bitmap, named by its slot and picture; without a
            // readable bitmap it names the same missing file.
            const QString copia = CopiarImagenTrabajo(BitmapExistente(o.ImagenTrabajo.valor()), d);
            if (!copia.isEmpty()) o.ImagenTrabajo = RutaParaRegistro(copia);
            CopiarDescripcionCodigo(o);
        }
    } else {
        // A vertical line (or a square) moves right, a horizontal one down.
        if (o.Width <= o.Height)
            o.Left += 20;
        else
            o.Top += 20;
        caja.setGeometry(o.Left, o.Top, o.Width, o.Height);
        caja.setBackColor(ColorNegro);
        caja.setFillColor(ColorNegro);
        caja.setForeColor(ColorNegro);
        caja.clear();
    }
    mWs.alFrente(d);
    caja.refresh();
    mDiseno.TicketModificado = Verdadero;
    if (redibujar) redibujar();
    return d;
}

void ComandosObjeto::Borrar() {
    int i = 0;
    if (!actual(i)) return;
    BorrarObjeto(mDiseno, mWs, i);
    if (i == mLineaEnCurso) terminarModosLinea();
}

void ComandosObjeto::TraerAlFrente() {
    int i = 0;
    if (actual(i)) quoravex::TraerAlFrente(mDiseno, mWs, i);
}

void ComandosObjeto::LlevarAlFondo() {
    int i = 0;
    if (actual(i)) quoravex::LlevarAlFondo(mDiseno, mWs, i);
}

void ComandosObjeto::SelPulsador() {
    int i = 0;
    if (!actual(i)) return;
    const uint32_t antes = mDiseno.objeto(i).Pulsadores;
    const auto dialogo = nuevoSelPulsador ? nuevoSelPulsador(mPadre) : nullptr;
    if (!dialogo || ejecutarDialogo(*dialogo) != QDialog::Accepted) return;
    // A new membership changes what is printed and saved, so it must not be lost on exit.
    if (mDiseno.objeto(i).Pulsadores != antes) mDiseno.TicketModificado = Verdadero;
    if (redibujar) redibujar();
}

} // namespace quoravex
