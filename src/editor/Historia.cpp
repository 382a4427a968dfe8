#include "Historia.h"

#include "CodigoObjeto.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"

#include <QFileInfo>
#include <QUndoCommand>

namespace quoravex {

namespace {

// The record paths of a state's pictures that the renaming moves.
void RenombrarEn(EstadoDiseno& e, const std::map<QString, QString>& rutas) {
    for (ObjetoTicket& o : e.objetos) {
        if (o.Tipo != TipoImagen) continue;
        if (const auto it = rutas.find(o.ImagenTrabajo.valor()); it != rutas.end()) o.ImagenTrabajo = it->second;
        if (const auto it = rutas.find(o.ImagenOrigen.valor()); it != rutas.end()) o.ImagenOrigen = it->second;
    }
    for (const auto& [antes, despues] : rutas) {
        const auto it = e.descripciones.find(QFileInfo(antes).absoluteFilePath());
        if (it == e.descripciones.end()) continue;
        QByteArray datos = it->second;
        e.descripciones.erase(it);
        e.descripciones.insert_or_assign(QFileInfo(despues).absoluteFilePath(), std::move(datos));
    }
}

} // namespace

// One step: the state before and after it. Its first redo is the change itself, already done.
class PasoDiseno : public QUndoCommand {
public:
    PasoDiseno(Historia& h, const QString& nombre, int id, EstadoDiseno antes, EstadoDiseno despues)
        : QUndoCommand(nombre), mHistoria(h), mId(id), mAntes(std::move(antes)),
          mDespues(std::move(despues)) {}

    void renombrar(const std::map<QString, QString>& rutas) {
        RenombrarEn(mAntes, rutas);
        RenombrarEn(mDespues, rutas);
    }
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

EstadoDiseno Historia::capturar(const EstadoDiseno* anterior) {
    EstadoDiseno e;
    const Design& d = mDiseno;
    e.objetos = d.Objetos;
    e.numObjetos = d.NumObjetos;
    e.idxObjMasAlto = d.IdxObjMasAlto;
    e.objeto = d.Objeto;
    e.largoTicket = d.LargoTicket;
    e.numPulsadores = d.NumPulsadores;
    const QString dirDiseno = mDirDiseno();
    const auto absoluta = [&](const QString& guardada) {
        return QFileInfo(ResolverRutaImagen(guardada, dirDiseno)).absoluteFilePath();
    };
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen) continue;
        const ObjetoTicket& o = d.objeto(i);
        const QString bitmap = o.ImagenTrabajo.valor();
        if (!bitmap.isEmpty() && !mBitmaps.count(bitmap)) {
            const QString ruta = absoluta(bitmap);
            if (QFileInfo::exists(ruta)) mBitmaps.emplace(bitmap, std::pair(ruta, LeerFichero(ruta)));
        }
        if (!EsDescripcionCodigo(o.ImagenOrigen.valor())) continue;
        const QString ruta = absoluta(o.ImagenOrigen.valor());
        if (!QFileInfo::exists(ruta)) continue;
        QByteArray datos = LeerFichero(ruta);
        // Unchanged descriptions share the memory of the state before.
        if (anterior) {
            const auto it = anterior->descripciones.find(ruta);
            if (it != anterior->descripciones.end() && it->second == datos) datos = it->second;
        }
        e.descripciones.emplace(ruta, std::move(datos));
    }
    return e;
}

void Historia::abrir(const QString& nombre) {
    if (mEnPaso || mRestaurando) return;
    cerrar();
    mAntes = capturar();
    mNombre = nombre;
    mId = -1;
    mAbierto = true;
}

void Historia::cerrar() {
    if (!mAbierto || mEnPaso) return;
    mAbierto = false;
    EstadoDiseno despues = capturar(&mAntes);
    // Choosing another current object (a click) changes nothing that is saved or printed.
    EstadoDiseno comparado = despues;
    comparado.objeto = mAntes.objeto;
    if (comparado == mAntes) return;
    mPila.push(new PasoDiseno(*this, mNombre, mId, std::move(mAntes), std::move(despues)));
}

void Historia::marcarGuardado() {
    cerrar();
    mPila.setClean();
}

void Historia::vaciar() {
    mAbierto = false;
    mPila.clear();
    mBitmaps.clear();
    emit vaciada();
}

void Historia::renombrarImagenes(const std::map<QString, QString>& rutas) {
    if (rutas.empty()) return;
    RenombrarEn(mAntes, rutas);
    for (const auto& [antes, despues] : rutas)
        if (const auto it = mBitmaps.find(antes); it != mBitmaps.end() && !mBitmaps.count(despues))
            mBitmaps.emplace(despues, std::pair(QFileInfo(despues).absoluteFilePath(), it->second.second));
    for (int i = 0; i < mPila.count(); ++i)
        static_cast<PasoDiseno*>(const_cast<QUndoCommand*>(mPila.command(i)))->renombrar(rutas);
}

void Historia::restaurar(const EstadoDiseno& e) {
    mRestaurando = true;
    const EstadoDiseno antes = capturar();
    Design& d = mDiseno;
    d.Objetos = e.objetos;
    d.NumObjetos = e.numObjetos;
    d.IdxObjMasAlto = e.idxObjMasAlto;
    d.Objeto = e.objeto;
    d.LargoTicket = e.largoTicket;
    d.NumPulsadores = e.numPulsadores;
    // A bitmap deleted outside the program comes back; one that is there is never touched.
    const QString dirDiseno = mDirDiseno();
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen || d.objeto(i).ImagenTrabajo.vacio()) continue;
        const QString guardada = d.objeto(i).ImagenTrabajo.valor();
        if (!ResolverRutaImagen(guardada, dirDiseno).isEmpty()) continue;
        if (const auto it = mBitmaps.find(guardada); it != mBitmaps.end())
            EscribirFichero(it->second.first, it->second.second);
    }
    for (const auto& [ruta, datos] : e.descripciones)
        EscribirSiCambia(ruta, datos);
    if (alRestaurar) alRestaurar(antes, e);
    mRestaurando = false;
}

void Historia::seguirPila() {
    mDiseno.TicketModificado = mPila.isClean() ? Falso : Verdadero;
}

} // namespace quoravex
