#include "FormMain.h"

#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/Historia.h"
#include "editor/ObjetosCanvas.h"
#include "editor/Organizar.h"
#include "editor/PortapapelesDiseno.h"
#include "editor/RatonCanvas.h"
#include "editor/Seleccion.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

namespace quoravex {

namespace {
constexpr int AnchoPapel = 384;
} // namespace

void FormMain::conectarSeleccion() {
    mSeleccion = new Seleccion(this);
    mRaton->setSeleccion(mSeleccion);
    mCanvas->cajasSeleccionadas = [this] {
        QList<QRect> r;
        for (int i : mSeleccion->objetos())
            if (mDiseno.enUso(i) && mWs.item(i).visible()) r << mWs.item(i).geometry();
        return r;
    };
    connect(mSeleccion, &Seleccion::cambiada, mCanvas, qOverload<>(&QWidget::update));
    connect(mRaton, &RatonCanvas::bandaCambiada, mCanvas, &CanvasTicket::setBanda);
    connect(mCanvas, &CanvasTicket::teclaEscape, mSeleccion, &Seleccion::vaciar);
    // Another design, or a step undone that removed selected objects.
    connect(mHistoria, &Historia::vaciada, mSeleccion, &Seleccion::vaciar);
    connect(&mHistoria->pila(), &QUndoStack::indexChanged, this, [this] { mSeleccion->depurar(mDiseno); });

    // A new object, or a copy, is selected alone, as a click would select it.
    const auto seleccionarNuevo = [this] {
        if (mDiseno.enUso(mDiseno.Objeto)) mSeleccion->poner({mDiseno.Objeto});
    };
    QList<QAction*> altas = {accion(QStringLiteral("mnuAnadirTextoFijo")), accion(QStringLiteral("mnuAnadirImagen")),
                             accion(QStringLiteral("mnuAnadirCodigo")), accion(QStringLiteral("mnuAnadirLinea")),
                             accion(QStringLiteral("mnuCopiarObjeto")), accion(QStringLiteral("mnuCopiarLinea"))};
    for (const char* campo : {"mnuAnadirTurno", "mnuAnadirFecha", "mnuAnadirHora"})
        altas += menu(QString::fromLatin1(campo))->actions();
    for (QAction* a : altas)
        connect(a, &QAction::triggered, this, seleccionarNuevo);

    QMenu* edicion = menu(QStringLiteral("mnuEdicion"));
    QAction* cortar = nuevaAccion(edicion, QStringLiteral("Cortar"), QStringLiteral("mnuCortar"),
                                  QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    QAction* copiar = nuevaAccion(edicion, QStringLiteral("Copiar"), QStringLiteral("mnuCopiar"));
    copiar->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    QAction* pegar = nuevaAccion(edicion, QStringLiteral("Pegar"), QStringLiteral("mnuPegar"));
    pegar->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    edicion->addSeparator();
    QAction* todo = nuevaAccion(edicion, QStringLiteral("Seleccionar Todo"), QStringLiteral("mnuSeleccionarTodo"),
                                QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(cortar, &QAction::triggered, this, &FormMain::mnuCortar);
    connect(copiar, &QAction::triggered, this, &FormMain::mnuCopiar);
    connect(pegar, &QAction::triggered, this, &FormMain::mnuPegar);
    connect(todo, &QAction::triggered, this, &FormMain::mnuSeleccionarTodo);

    // "Organizar", right after "Edición".
    QMenu* organizarMenu = nuevoMenu(this, QStringLiteral("Organizar"), QStringLiteral("mnuOrganizar"));
    menuBar()->insertMenu(accion(QStringLiteral("mnuTicket")), organizarMenu);
    const auto entrada = [&](const QString& titulo, const QString& nombre, auto colocar) {
        QAction* a = nuevaAccion(organizarMenu, titulo, nombre);
        connect(a, &QAction::triggered, this, [this, titulo, colocar] { organizar(titulo, colocar); });
        return a;
    };
    const std::pair<const char*, Alineacion> alineaciones[] = {
        {"Alinear a la Izquierda", Alineacion::Izquierda},
        {"Alinear a la Derecha", Alineacion::Derecha},
        {"Alinear Arriba", Alineacion::Arriba},
        {"Alinear Abajo", Alineacion::Abajo},
        {"Alinear Centros Horizontalmente", Alineacion::CentrosHorizontal},
        {"Alinear Centros Verticalmente", Alineacion::CentrosVertical},
    };
    const char* nombres[] = {"mnuAlinearIzquierda", "mnuAlinearDerecha", "mnuAlinearArriba",
                             "mnuAlinearAbajo",     "mnuAlinearCentrosH", "mnuAlinearCentrosV"};
    for (size_t k = 0; k < std::size(alineaciones); ++k) {
        const Alineacion a = alineaciones[k].second;
        entrada(QString::fromUtf8(alineaciones[k].first), QString::fromLatin1(nombres[k]),
                [a](const QList<CajaOrganizar>& cajas, const QRect& ref) { return Alinear(cajas, a, ref); });
    }
    organizarMenu->addSeparator();
    QAction* distH = entrada(QStringLiteral("Distribuir Horizontalmente"), QStringLiteral("mnuDistribuirH"),
                             [](const QList<CajaOrganizar>& cajas, const QRect&) {
                                 return Distribuir(cajas, Qt::Horizontal);
                             });
    QAction* distV = entrada(QStringLiteral("Distribuir Verticalmente"), QStringLiteral("mnuDistribuirV"),
                             [](const QList<CajaOrganizar>& cajas, const QRect&) {
                                 return Distribuir(cajas, Qt::Vertical);
                             });
    organizarMenu->addSeparator();
    entrada(QStringLiteral("Centrar en el Ticket"), QStringLiteral("mnuCentrarEnTicket"),
            [](const QList<CajaOrganizar>& cajas, const QRect&) { return CentrarEnTicket(cajas, AnchoPapel); });

    // What the selection offers follows it.
    const auto seguir = [this, cortar, copiar, distH, distV, organizarMenu] {
        const int n = static_cast<int>(objetosElegidos().size());
        cortar->setEnabled(n > 0);
        copiar->setEnabled(n > 0);
        for (QAction* a : organizarMenu->actions())
            a->setEnabled(n > 0);
        distH->setEnabled(mSeleccion->objetos().size() >= 3);
        distV->setEnabled(mSeleccion->objetos().size() >= 3);
    };
    connect(mSeleccion, &Seleccion::cambiada, this, seguir);
    connect(organizarMenu, &QMenu::aboutToShow, this, seguir);
    connect(edicion, &QMenu::aboutToShow, this, seguir);
    seguir();
}

QList<int> FormMain::objetosElegidos() const {
    return mSeleccion->elegidos(mDiseno);
}

void FormMain::borrarSeleccion() {
    const QList<int> elegidos = objetosElegidos();
    for (int i : elegidos) {
        mDiseno.Objeto = static_cast<int16_t>(i);
        mComandos->Borrar();
    }
    mSeleccion->vaciar();
}

void FormMain::mnuCopiar() {
    const QList<int> elegidos = objetosElegidos();
    if (elegidos.isEmpty()) return;
    auto* datos = new QMimeData;
    datos->setData(TipoMimeObjetos, CodificarObjetos(ObjetosParaCopiar(mDiseno, elegidos, dirDiseno())));
    // Other programs get the objects as they print.
    const QImage imagen = ImagenDeObjetos(mDiseno, mWs, elegidos);
    if (!imagen.isNull()) datos->setImageData(imagen);
    QGuiApplication::clipboard()->setMimeData(datos);
}

void FormMain::mnuCortar() {
    if (objetosElegidos().isEmpty()) return;
    mnuCopiar();
    mHistoria->paso(QStringLiteral("Cortar"), [this] { borrarSeleccion(); });
}

void FormMain::mnuPegar() {
    const QMimeData* datos = QGuiApplication::clipboard()->mimeData();
    Pegado pegado;
    if (datos && datos->hasFormat(TipoMimeObjetos)) {
        const ObjetosLeidos leidos = DecodificarObjetos(datos->data(TipoMimeObjetos));
        if (!leidos.error.isEmpty()) {
            mostrarMensaje(leidos.error);
            return;
        }
        mHistoria->paso(QStringLiteral("Pegar"), [&] {
            pegado = PegarObjetos(mDiseno, mWs, leidos.objetos);
            redibujar();
        });
        if (leidos.corregidos) pegado.avisos << QStringLiteral("Algunos valores fuera de rango se han corregido.");
    } else if (datos && datos->hasImage()) {
        const QImage imagen = qvariant_cast<QImage>(datos->imageData());
        mHistoria->paso(QStringLiteral("Pegar"), [&] {
            pegado = PegarImagen(mDiseno, mWs, imagen, dirSalida());
            redibujar();
        });
    } else {
        mostrarMensaje(QStringLiteral("El portapapeles no tiene objetos de ticket ni una imagen que pegar."));
        return;
    }
    if (!pegado.error.isEmpty()) {
        mostrarMensaje(pegado.error);
        return;
    }
    mSeleccion->poner(pegado.nuevos);
    if (!pegado.avisos.isEmpty()) mostrarMensaje(pegado.avisos.join(QLatin1Char('\n')));
}

void FormMain::mnuSeleccionarTodo() {
    mSeleccion->poner(ObjetosDeLaVista(mDiseno, mWs));
}

void FormMain::organizar(
    const QString& nombre,
    const std::function<QList<QPoint>(const QList<CajaOrganizar>&, const QRect& referencia)>& colocar) {
    const QList<int> elegidos = objetosElegidos();
    if (elegidos.isEmpty()) return;
    QList<CajaOrganizar> cajas;
    QList<QRect> rects;
    for (int i : elegidos) {
        const Surface& caja = mWs.item(i);
        const auto [lefts, tops] =
            LimitesArrastre(mDiseno.objeto(i).Tipo == TipoLinea, caja.width(), caja.height(), mDiseno.LargoTicket);
        cajas << CajaOrganizar{caja.geometry(), lefts, tops};
        rects << caja.geometry();
    }
    // One object is arranged against the ticket, several against their bounding box.
    const QRect referencia = elegidos.size() == 1 ? QRect(0, 0, AnchoPapel, mDiseno.LargoTicket) : Envolvente(rects);
    const QList<QPoint> posiciones = colocar(cajas, referencia);
    mHistoria->paso(nombre, [&] {
        for (qsizetype k = 0; k < elegidos.size(); ++k) {
            Surface& caja = mWs.item(elegidos[k]);
            if (caja.geometry().topLeft() == posiciones[k]) continue;
            caja.move(posiciones[k].x(), posiciones[k].y());
            caja.refresh();
            mComandos->CopiarGeometriaItem(elegidos[k]);
            mDiseno.TicketModificado = Verdadero;
        }
    });
    mCanvas->update();
}

} // namespace quoravex
