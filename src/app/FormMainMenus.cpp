#include "FormMain.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace quoravex {

namespace {

struct Formato {
    int codigo;
    const char* titulo;
};

constexpr Formato FormatosTurno[] = {{2, "2 Dígitos Numéricos"},      {3, "3 Dígitos Numéricos"},
                                     {4, "4 Dígitos Numéricos"},      {10, "2 Dígitos Alfanuméricos"},
                                     {11, "3 Dígitos Alfanuméricos"}, {12, "4 Dígitos Alfanuméricos"}};
constexpr Formato FormatosFecha[] = {{1, "31/12/99"}, {2, "12/31/99"}, {3, "31/12/2099"}, {4, "12/31/2099"}};
constexpr Formato FormatosHora[] = {{1, "23:59"},       {2, "11:59 pm"}, {3, "23:59:59"},
                                    {4, "11:59:59 pm"}, {5, "23.59"},    {6, "23.59.59"}};

QString T(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

QMenu* FormMain::nuevoMenu(QWidget* padre, const QString& titulo, const QString& nombre) {
    auto* m = new QMenu(titulo, padre);
    m->setObjectName(nombre);
    m->menuAction()->setObjectName(nombre);
    if (auto* barra = qobject_cast<QMenuBar*>(padre))
        barra->addMenu(m);
    else if (auto* superior = qobject_cast<QMenu*>(padre))
        superior->addMenu(m);
    mMenus.insert(nombre, m);
    mAcciones.insert(nombre, m->menuAction());
    return m;
}

QAction* FormMain::nuevaAccion(QMenu* menu, const QString& titulo, const QString& nombre,
                               const QKeySequence& atajo) {
    QAction* a = menu->addAction(titulo);
    a->setObjectName(nombre);
    if (!atajo.isEmpty()) a->setShortcut(atajo);
    mAcciones.insert(nombre, a);
    return a;
}

void FormMain::construirMenus() {
    QMenuBar* barra = menuBar();

    QMenu* archivo = nuevoMenu(barra, T("&Archivo"), T("mnuArchivo"));
    nuevaAccion(archivo, T("Nuevo"), T("mnuNuevoTicket"), QKeySequence(Qt::CTRL | Qt::Key_N));
    nuevaAccion(archivo, T("Abrir..."), T("mnuAbrirArchivoTicket"), QKeySequence(Qt::CTRL | Qt::Key_O));
    nuevaAccion(archivo, T("Guardar"), T("mnuGuardarTicket"), QKeySequence(Qt::CTRL | Qt::Key_S));
    nuevaAccion(archivo, T("Guardar Como..."), T("mnuGuardarTicketComo"), QKeySequence(Qt::Key_F12));
    nuevaAccion(archivo, T("Imprimir"), T("mnuImprimirTicket"))->setVisible(false);
    nuevaAccion(archivo, T("Generar Salida"), T("mnuGeneraSalida"))->setVisible(false);
    nuevaAccion(archivo, T("Enviar a Impresora"), T("mnuEnviarAPrinter"));
    nuevaAccion(archivo, T("Enviar Fecha y Hora"), T("mnuEnviarFechaHora"));
    nuevaAccion(archivo, T("Cerrar"), T("mnuCerrarTicket"), QKeySequence(Qt::CTRL | Qt::Key_X));
    archivo->addSeparator();
    QAction* salir = nuevaAccion(archivo, T("Salir"), T("mnuSalir"));
    connect(salir, &QAction::triggered, this, &QWidget::close);

    QMenu* ticket = nuevoMenu(barra, T("Menu &Ticket"), T("mnuTicket"));
    nuevaAccion(ticket, T("Añadir Texto &Fijo"), T("mnuAnadirTextoFijo"));
    nuevaAccion(ticket, T("Añadir &Imagen"), T("mnuAnadirImagen"));
    nuevaAccion(ticket, T("Añadir &Código"), T("mnuAnadirCodigo"));
    nuevaAccion(ticket, T("Añadir &Línea"), T("mnuAnadirLinea"));
    QMenu* turno = nuevoMenu(ticket, T("Añadir &Turno"), T("mnuAnadirTurno"));
    for (const auto& f : FormatosTurno)
        nuevaAccion(turno, T(f.titulo), T("mnuTurnoFormato_%1").arg(f.codigo))->setData(f.codigo);
    QMenu* fecha = nuevoMenu(ticket, T("Añadir &Fecha"), T("mnuAnadirFecha"));
    fecha->menuAction()->setVisible(false);
    for (const auto& f : FormatosFecha)
        nuevaAccion(fecha, T(f.titulo), T("mnuFechaFormato_%1").arg(f.codigo))->setData(f.codigo);
    QMenu* hora = nuevoMenu(ticket, T("Añadir &Hora"), T("mnuAnadirHora"));
    hora->menuAction()->setVisible(false);
    for (const auto& f : FormatosHora)
        nuevaAccion(hora, T(f.titulo), T("mnuHoraFormato_%1").arg(f.codigo))->setData(f.codigo);

    QAction* redibujar = barra->addAction(T("Redibujar"));
    redibujar->setObjectName(T("mnuRedibujar"));
    redibujar->setVisible(false);
    mAcciones.insert(T("mnuRedibujar"), redibujar);

    QMenu* visualizar = nuevoMenu(barra, T("Visualizar"), T("mnuSeleccionVisualizar"));
    visualizar->menuAction()->setVisible(false);
    nuevaAccion(visualizar, T("Solo Parte Común"), T("mnuVerParteComun"));
    for (int n = 1; n <= MaxPulsadores; ++n)
        nuevaAccion(visualizar, T("Ticket Pulsador %1").arg(n), T("mnuVerPulsador_%1").arg(n));

    QMenu* config = nuevoMenu(barra, T("Ticket"), T("mnuConfigTicket"));
    QMenu* tipo = nuevoMenu(config, T("Tipo"), T("mnuConfigTipoTicket"));
    nuevaAccion(tipo, T("Pulsador Unico"), T("mnuTicketTipoPulsadorUnico"));
    QMenu* multiples = nuevoMenu(tipo, T("Múltiples Pulsadores"), T("mnuTicketTipoMultiplesPulsadores"));
    for (int n = 2; n <= MaxPulsadores; ++n)
        nuevaAccion(multiples, T("%1 Pulsadores").arg(n, 2), T("nmuConfNumPuls_%1").arg(n))->setData(n);
    nuevaAccion(config, T("Longitud"), T("mnuConfigLargoTicket"));

    QMenu* objetos = nuevoMenu(barra, T("Menu Objetos"), T("mnuObjetos"));
    nuevaAccion(objetos, T("&Borrar"), T("mnuBorrarObjeto"));
    nuevaAccion(objetos, T("&Copiar"), T("mnuCopiarObjeto"));
    nuevaAccion(objetos, T("Modificar"), T("mnuModificaObjeto"));
    nuevaAccion(objetos, T("&Rotar"), T("mnuRotarObjetos"))->setVisible(false);
    QMenu* centrado = nuevoMenu(objetos, T("&Centrado"), T("mnuCentradoObjeto"));
    nuevaAccion(centrado, T("Horizontal"), T("mnuCentradoHorizontalObjeto"));
    nuevaAccion(centrado, T("Vertical"), T("mnuCentradoVerticalObjeto"));
    nuevaAccion(centrado, T("Ambos"), T("mnuCentradoAmbosObjeto"));
    nuevaAccion(objetos, T("Traer al &Frente"), T("mnuTraerAlFrenteObjeto"));
    nuevaAccion(objetos, T("Llevar al F&ondo"), T("mnuLlevarAlFondoObjeto"));
    nuevaAccion(objetos, T("Sel. Pulsador"), T("mnuSelPulsObjeto"));

    QMenu* linea = nuevoMenu(barra, T("Menu Linea"), T("mnuLinea"));
    linea->menuAction()->setVisible(false);
    nuevaAccion(linea, T("&Borrar"), T("mnuBorrarLinea"));
    nuevaAccion(linea, T("&Copiar"), T("mnuCopiarLinea"));
    nuevaAccion(linea, T("&Rotar 90º"), T("mnuRotarLinea"));
    QMenu* modificar = nuevoMenu(linea, T("Modificar"), T("mnuModificarLinea"));
    QMenu* grosor = nuevoMenu(modificar, T("Grosor de Línea"), T("mnuGrosorDeLinea"));
    for (int g = 1; g <= 10; ++g)
        nuevaAccion(grosor, T("&%1").arg(g), T("MnuGrosorDeLineaX_%1").arg(g))->setData(g);
    nuevaAccion(modificar, T("Longitud"), T("mnuModificarFinalLinea"))->setVisible(false);
    nuevaAccion(linea, T("Traer al Frente"), T("mnuTraerAlFrenteLinea"));
    nuevaAccion(linea, T("Llevar al Fondo"), T("mnuLlevarAlFondoLinea"));
    nuevaAccion(linea, T("Sel. Pulsador"), T("mnuSelPulsLinea"));

    QMenu* configuracion = nuevoMenu(barra, T("Configuración"), T("MnuConfig"));
    QMenu* teclado = nuevoMenu(configuracion, T("Tipo Teclado"), T("MnuConfTipoTeclado"));
    const char* modelos[] = {"4 Teclas", "8 Teclas", "16 Teclas"};
    for (int m = 1; m <= 3; ++m) {
        QAction* a = nuevaAccion(teclado, T(modelos[m - 1]), T("MnuConfigTeclas_%1").arg(m));
        a->setCheckable(true);
        a->setData(m);
    }
    QMenu* puertos = nuevoMenu(configuracion, T("Puerto Comunicaciones"), T("MnuConfPortSerie"));
    for (int p = 1; p <= 9; ++p) {
        QAction* a = nuevaAccion(puertos, T("COM%1").arg(p), T("MnuPortSerie_%1").arg(p));
        a->setCheckable(true);
        a->setData(p);
    }
    puertos->addSeparator();
    nuevaAccion(puertos, T("Dispositivo..."), T("MnuPortSerie_Dispositivo"));

    QMenu* ayuda = nuevoMenu(barra, T("Ay&uda"), T("mnuAyuda"));
    nuevaAccion(ayuda, T("Acerca de..."), T("mnuAbout"));
}

} // namespace quoravex
