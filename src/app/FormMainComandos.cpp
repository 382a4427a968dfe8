#include "FormMain.h"

#include "CursorOcupado.h"

#include "dialogs/FrmAbout.h"
#include "render/GeneraDatosFont.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/Relleno.h"
#include "render/Rotar.h"
#include "render/SalidaRaster.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>

namespace quoravex {

void FormMain::construirAreaDepuracion(QWidget* padre) {
    // Buttons that run internal steps of the commands; kept for service, never shown.
    mAreaDepuracion = new QWidget(padre);
    mAreaDepuracion->setObjectName(QStringLiteral("AreaDepuracion"));
    mAreaDepuracion->setVisible(false);
    auto* rejilla = new QGridLayout(mAreaDepuracion);
    auto nuevo = [&](const QString& nombre, const QString& titulo) {
        auto* b = new QPushButton(titulo, mAreaDepuracion);
        b->setObjectName(nombre);
        rejilla->addWidget(b, rejilla->count() / 4, rejilla->count() % 4);
        return b;
    };
    connect(nuevo(QStringLiteral("Command2"), QStringLiteral("Genera Salida")), &QPushButton::clicked, this,
            [this] { mnuGeneraSalida(); });
    connect(nuevo(QStringLiteral("PBBorrarLienzo"), QStringLiteral("BorrarLienzo")), &QPushButton::clicked,
            this, &FormMain::PBBorrarLienzo);
    connect(nuevo(QStringLiteral("PBFontTurno"), QStringLiteral("Generar FONT TURNO")), &QPushButton::clicked,
            this, [this] { generarFuente(CampoVariable::Turno); });
    connect(nuevo(QStringLiteral("PBFontFecha"), QStringLiteral("Generar FONT FECHA")), &QPushButton::clicked,
            this, [this] { generarFuente(CampoVariable::Fecha); });
    connect(nuevo(QStringLiteral("PBFontHora"), QStringLiteral("Generar FONT HORA")), &QPushButton::clicked,
            this, [this] { generarFuente(CampoVariable::Hora); });
    connect(nuevo(QStringLiteral("PBRotar"), QStringLiteral("ROTAR")), &QPushButton::clicked, this,
            [this] { PBRotar(mDiseno, mWs); });
    for (int i = 0; i <= 4; ++i)
        connect(nuevo(QStringLiteral("PBCargarSalida_%1").arg(i), QStringLiteral("CargarSalida %1").arg(i)),
                &QPushButton::clicked, this, [this, i] { PBCargarSalida(i); });
}

QPushButton* FormMain::boton(const QString& nombre) const {
    return mAreaDepuracion->findChild<QPushButton*>(nombre);
}

void FormMain::conectarComandos() {
    auto enlazar = [this](const char* nombre, auto metodo) {
        connect(accion(QString::fromLatin1(nombre)), &QAction::triggered, this, metodo);
    };
    enlazar("mnuRedibujar", &FormMain::mnuRedibujar);
    enlazar("mnuGeneraSalida", &FormMain::mnuGeneraSalida);
    enlazar("mnuAbout", &FormMain::mnuAbout);
    connect(accion(QStringLiteral("mnuRotarObjetos")), &QAction::triggered, this,
            [this] { pasoDiseno(QStringLiteral("Rotar"), [this] { PBRotar(mDiseno, mWs); }); });
    enlazar("mnuNuevoTicket", &FormMain::mnuNuevoTicket);
    enlazar("mnuAbrirArchivoTicket", &FormMain::mnuAbrirArchivoTicket);
    enlazar("mnuGuardarTicket", &FormMain::mnuGuardarTicket);
    enlazar("mnuGuardarTicketComo", &FormMain::mnuGuardarTicketComo);
    enlazar("mnuCerrarTicket", &FormMain::mnuCerrarTicket);
    connect(accion(QStringLiteral("mnuTicketTipoPulsadorUnico")), &QAction::triggered, this, [this] {
        pasoDiseno(QStringLiteral("Tipo de Ticket"), [this] { mnuTicketTipoPulsadorUnico(); });
    });
    connect(accion(QStringLiteral("mnuConfigLargoTicket")), &QAction::triggered, this,
            [this] { pasoDiseno(QStringLiteral("Longitud"), [this] { mnuConfigLargoTicket(); }); });
    for (int n = 2; n <= MaxPulsadores; ++n)
        connect(accion(QStringLiteral("nmuConfNumPuls_%1").arg(n)), &QAction::triggered, this, [this, n] {
            pasoDiseno(QStringLiteral("Tipo de Ticket"), [this, n] { numeroPulsadores(n); });
        });
    for (int m = 1; m <= 3; ++m)
        connect(accion(QStringLiteral("MnuConfigTeclas_%1").arg(m)), &QAction::triggered, this,
                [this, m] { modeloTeclado(m); });
    for (int p = 1; p <= 9; ++p)
        connect(accion(QStringLiteral("MnuPortSerie_%1").arg(p)), &QAction::triggered, this,
                [this, p] { puertoSerie(p); });
    connect(accion(QStringLiteral("MnuPortSerie_Dispositivo")), &QAction::triggered, this,
            &FormMain::mnuDispositivo);
    connect(mCBSelTicket, &QComboBox::textActivated, this, &FormMain::seleccionVista);
}

QString FormMain::dirDiseno() const {
    return QFileInfo(mDiseno.ArchivoTicket).absolutePath();
}

QString FormMain::dirSalida() const {
    return QDir::currentPath();
}

void FormMain::redibujar() {
    RedibujarTicket(mDiseno, mWs, dirDiseno());
}

void FormMain::mnuRedibujar() {
    for (int i = 1; i <= mDiseno.NumObjetos; ++i)
        if (mDiseno.enUso(i)) DibujarObjeto(mDiseno, mWs, i, dirDiseno());
}

bool FormMain::mnuGeneraSalida() {
    Relleno relleno;
    if (!rellenarCampos(relleno)) return false;
    CursorOcupado ocupado;
    int salida = mSalidaActual;
    const QString error = GenerarSalida(
        mDiseno, mWs, dirSalida(), dirDiseno(), &salida,
        [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }, &relleno);
    mSalidaActual = static_cast<uint8_t>(salida);
    if (!error.isEmpty()) {
        mostrarMensaje(error);
        return false;
    }
    return true;
}

bool FormMain::generarFuente(CampoVariable campo) {
    ResultadoFuente r;
    {
        CursorOcupado ocupado;
        r = GenerarArchivoFuente(mDiseno, campo, mWs.PicWork3, dirSalida());
    }
    if (!r.ok) {
        mostrarMensaje(r.mensaje);
        return false;
    }
    if (r.escrito) QApplication::beep();
    return true;
}

void FormMain::PBBorrarLienzo() {
    mWs.PicLienzo.resize(mWs.PicTicket.width(), mWs.PicTicket.height());
    mWs.PicLienzo.clear();
}

void FormMain::PBCargarSalida(int i) {
    PBBorrarLienzo();
    CursorOcupado ocupado;
    if (DibujarSalida(i + 1, mWs.PicLienzo, dirSalida())) QApplication::beep();
}

void FormMain::mnuAbout() {
    FrmAbout about([this] { mMenus.value(QStringLiteral("MnuConfig"))->menuAction()->setVisible(true); },
                   this);
    ejecutarDialogo(about);
}

} // namespace quoravex
