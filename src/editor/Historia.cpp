#include "Historia.h"

#include "CodigoObjeto.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"

#include <QFileInfo>
#include <QUndoCommand>

namespace quoravex {

EstadoDiseno CapturarEstado(const Design& d, const QString& dirDiseno, const EstadoDiseno* anterior) {
    EstadoDiseno e;
    e.objetos = d.Objetos;
    e.numObjetos = d.NumObjetos;
    e.idxObjMasAlto = d.IdxObjMasAlto;
    e.objeto = d.Objeto;
    e.largoTicket = d.LargoTicket;
    e.numPulsadores = d.NumPulsadores;
    // The working bitmaps, and the description files of codes, that the records name.
    const auto guardar = [&](const QString& guardada) {
        const QString ruta = QFileInfo(ResolverRutaImagen(guardada, dirDiseno)).absoluteFilePath();
        if (!QFileInfo::exists(ruta)) return;
        QByteArray datos = LeerFichero(ruta);
        if (anterior) {
            const auto it = anterior->imagenes.find(ruta);
            if (it != anterior->imagenes.end() && it->second == datos) datos = it->second;
        }
        e.imagenes.emplace(ruta, std::move(datos));
    };
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen) continue;
        if (!d.objeto(i).ImagenTrabajo.vacio()) guardar(d.objeto(i).ImagenTrabajo.valor());
        if (EsDescripcionCodigo(d.objeto(i).ImagenOrigen.valor())) guardar(d.objeto(i).ImagenOrigen.valor());
    }
    return e;
}

void RestaurarEstado(Design& d, const EstadoDiseno& e) {
    d.Objetos = e.objetos;
    d.NumObjetos = e.numObjetos;
    d.IdxObjMasAlto = e.idxObjMasAlto;
    d.Objeto = e.objeto;
    d.LargoTicket = e.largoTicket;
    d.NumPulsadores = e.numPulsadores;
    for (const auto& [ruta, datos] : e.imagenes) {
        if (QFileInfo::exists(ruta) && LeerFichero(ruta) == datos) continue;
        EscribirFichero(ruta, datos);
    }
}

// One step: the state before and after it. Its first redo is the change itself, already done.
class PasoDiseno : public QUndoCommand {
public:
    PasoDiseno(Historia& h, const QString& nombre, int id, EstadoDiseno antes, EstadoDiseno despues)
        : QUndoCommand(nombre), mHistoria(h), mId(id), mAntes(std::move(antes)),
          mDespues(std::move(despues)) {}

    void undo() override { mHistoria.restaurar(mAntes); }
    void redo() override {
        if (mHecho) mHistoria.restaurar(mDespues);
        mHecho = true;
    }
    int id() const override { return mId; }
    bool mergeWith(const QUndoCommand* otro) override {
        const auto* p = static_cast<const PasoDiseno*>(otro);
        if (p->mAntes.objeto != mDespues.objeto || p->mAntes != mDespues) return false;
        mDespues = p->mDespues;
        setObsolete(mDespues == mAntes);
        return true;
    }

private:
    Historia& mHistoria;
    int mId;
    EstadoDiseno mAntes;
    EstadoDiseno mDespues;
    bool mHecho = false;
};

Historia::Historia(Design& d, std::function<QString()> dirDiseno, QObject* parent)
    : QObject(parent), mDiseno(d), mDirDiseno(std::move(dirDiseno)) {
    mPila.setUndoLimit(MaximoPasos);
    connect(&mPila, &QUndoStack::indexChanged, this, &Historia::seguirPila);
}

void Historia::paso(const QString& nombre, const std::function<void()>& cambio, int id) {
    if (mEnPaso || mRestaurando) {
        cambio();
        return;
    }
    cerrar();
    abrir(nombre);
    mId = id;
    mEnPaso = true;
    cambio();
    mEnPaso = false;
    cerrar();
}

void Historia::abrir(const QString& nombre) {
    if (mEnPaso || mRestaurando) return;
    cerrar();
    mAntes = CapturarEstado(mDiseno, mDirDiseno());
    mNombre = nombre;
    mId = -1;
    mAbierto = true;
}

void Historia::cerrar() {
    if (!mAbierto || mEnPaso) return;
    mAbierto = false;
    EstadoDiseno despues = CapturarEstado(mDiseno, mDirDiseno(), &mAntes);
    if (despues == mAntes) return;
    mPila.push(new PasoDiseno(*this, mNombre, mId, std::move(mAntes), std::move(despues)));
}

void Historia::marcarGuardado() {
    cerrar();
    mPila.setClean();
}

void Historia::vaciar() {
    mAbierto = false;
    mPila.clear();
}

void Historia::restaurar(const EstadoDiseno& e) {
    mRestaurando = true;
    const EstadoDiseno antes = CapturarEstado(mDiseno, mDirDiseno());
    RestaurarEstado(mDiseno, e);
    if (alRestaurar) alRestaurar(antes, e);
    mRestaurando = false;
}

void Historia::seguirPila() {
    mDiseno.TicketModificado = mPila.isClean() ? Falso : Verdadero;
}

} // namespace quoravex
