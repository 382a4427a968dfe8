#include "FormMain.h"

#include "CursorOcupado.h"

#include "dialogs/FrmRecuperar.h"
#include "editor/CopiaRecuperacion.h"
#include "editor/Historia.h"
#include "editor/ImagenesDiseno.h"
#include "editor/ObjetosCanvas.h"
#include "platform/CopiasRecuperacion.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>

namespace quoravex {

// The state of this designer's copy; a child of the window.
class FormMain::Recuperacion : public QObject {
public:
    Recuperacion(QObject* padre, QString raiz, int segundos)
        : QObject(padre), raiz(std::move(raiz)), segundos(segundos) {
        carpeta = QDir(this->raiz).filePath(NombreCarpetaCopia(ProcesoActual()));
    }
    // A window that goes without the program ending (tests) leaves nothing behind.
    ~Recuperacion() override {
        if (!finalizada) eliminar();
    }

    void eliminar() {
        if (escrita || QFileInfo::exists(carpeta)) EliminarCopia(carpeta);
        escrita = false;
        ultima = {};
    }

    QString raiz;
    QString carpeta;
    int segundos = 0;
    QTimer temporizador;
    ContenidoCopia ultima; // what the copy on disk holds
    bool escrita = false;
    bool fallo = false;      // the last write failed and the user was told
    bool finalizada = false; // the program is ending: the copy is kept or gone for good
};

void FormMain::conectarRecuperacion(const OpcionesArranque& opciones, int segundos) {
    const QString raiz =
        opciones.carpetaRecuperacion.isEmpty() ? CarpetaRecuperacion() : opciones.carpetaRecuperacion;
    mRecuperacion = new Recuperacion(this, raiz, segundos);
    if (segundos > 0) {
        mRecuperacion->temporizador.setInterval(segundos * 1000);
        connect(&mRecuperacion->temporizador, &QTimer::timeout, this, &FormMain::actualizarRecuperacion);
        mRecuperacion->temporizador.start();
    }
    // Ending without the window being closed (the session, quit()) keeps what was not saved.
    connect(qApp, &QCoreApplication::aboutToQuit, mRecuperacion, [this] { finalizarRecuperacion(true); });
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, mRecuperacion, [this] { actualizarRecuperacion(); });
#endif
}

QString FormMain::carpetaCopia() const {
    return mRecuperacion->carpeta;
}

void FormMain::actualizarRecuperacion() {
    Recuperacion& r = *mRecuperacion;
    if (r.segundos <= 0 || r.finalizada) return;
    if (mDiseno.TicketModificado == Falso || mDiseno.NumObjetos < 1) {
        r.eliminar();
        return;
    }
    ContenidoCopia c = ContenidoDeDiseno(mDiseno, mConArchivo, dirDiseno());
    if (r.escrita && c == r.ultima) return;
    if (EscribirCopia(r.carpeta, c)) {
        r.ultima = std::move(c);
        r.escrita = true;
        r.fallo = false;
        return;
    }
    // Told once, not at every tick, until a copy is written again.
    if (!r.fallo)
        mostrarMensaje(QStringLiteral("No se ha podido escribir la copia de recuperación del diseño en:\n%1")
                           .arg(QDir::toNativeSeparators(r.carpeta)));
    r.fallo = true;
}

void FormMain::finalizarRecuperacion(bool conservar) {
    Recuperacion& r = *mRecuperacion;
    if (r.finalizada) return;
    r.fallo = true; // the program is ending: no message box that would hold it up
    if (conservar)
        actualizarRecuperacion();
    else
        r.eliminar();
    r.finalizada = true;
    r.temporizador.stop();
}

void FormMain::terminacionPedida(int senal) {
    finalizarRecuperacion(true);
    // exit(), not quit(): quit() would close the window, and closing asks about unsaved changes.
    QCoreApplication::exit(128 + senal);
}

bool FormMain::ofrecerRecuperacion() {
    const CopiasPendientes pendientes = BuscarCopiasPendientes(mRecuperacion->raiz);
    for (const QString& vacia : pendientes.vacias)
        EliminarCopia(vacia);
    if (pendientes.ofrecer.isEmpty()) return false;
    std::vector<CopiaLeida> copias;
    QList<FrmRecuperar::Entrada> entradas;
    {
        CursorOcupado ocupado;
        for (const CopiaPendiente& p : pendientes.ofrecer) {
            CopiaLeida c = LeerCopia(p.carpeta);
            if (!c.hora.isValid()) c.hora = p.hora;
            FrmRecuperar::Entrada e;
            e.ruta = c.conArchivo ? c.design.ArchivoTicket : QString();
            e.hora = c.hora;
            e.legible = c.legible;
            e.detalle =
                c.legible ? c.avisos.join(QLatin1Char('\n')) : c.error + QLatin1Char('\n') + p.carpeta;
            e.vista = VistaCopia(c);
            entradas << e;
            copias.push_back(std::move(c));
        }
    }
    FrmRecuperar dialogo(entradas, this);
    dialogo.ejecutarDialogo = ejecutarDialogo;
    dialogo.descartar = [&copias](int i) { return EliminarCopia(copias.at(static_cast<size_t>(i)).carpeta); };
    ejecutarDialogo(dialogo);
    if (dialogo.elegida() < 0) return false;
    return recuperar(copias.at(static_cast<size_t>(dialogo.elegida())));
}

bool FormMain::recuperar(const CopiaLeida& copia) {
    if (!copia.legible) return false;
    QStringList fallidas;
    {
        CursorOcupado ocupado;
        const Design& d = copia.design;
        mDiseno.Objetos = d.Objetos;
        mDiseno.NumObjetos = d.NumObjetos;
        mDiseno.IdxObjMasAlto = d.IdxObjMasAlto;
        mDiseno.Objeto = d.Objeto;
        mDiseno.LargoTicket = d.LargoTicket;
        mDiseno.NumPulsadores = d.NumPulsadores;
        mDiseno.VistaActual = 1;
        if (!d.ArchivoTicket.isEmpty()) mDiseno.ArchivoTicket = d.ArchivoTicket;
        // The copy's pictures go where the records find them before the copy goes.
        fallidas = RestaurarImagenes(mDiseno, copia, dirDiseno(), QDir::currentPath());
        dimensionarCanvas();
        ApilarSegunOrden(mDiseno, mWs);
        redibujar();
    }
    mHistoria->vaciar();
    // Unsaved, even after undoing every later change: "Guardar" writes it where it belongs.
    mHistoria->pila().resetClean();
    mDiseno.TicketModificado = Verdadero;
    mConArchivo = copia.conArchivo;
    actualizarComandos();
    actualizarRecuperacion();
    // This designer's own copy holds it now; without one, the old copy stays.
    if (mRecuperacion->segundos <= 0 || mRecuperacion->escrita) EliminarCopia(copia.carpeta);
    QStringList faltan = ImagenesQueFaltan(mDiseno, dirDiseno());
    for (const QString& f : fallidas)
        if (!faltan.contains(f)) faltan << f;
    if (!faltan.isEmpty()) mostrarMensaje(AvisoImagenesQueFaltan(faltan));
    return true;
}

} // namespace quoravex
