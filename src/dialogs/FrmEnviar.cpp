#include "FrmEnviar.h"

#include "platform/RelojesEnlace.h"

#include <QPushButton>

namespace quoravex {

FrmEnviar::FrmEnviar(const Design& design, OpcionesVentanaEnlace opciones, QWidget* parent)
    : VentanaEnlace(std::move(opciones), LineaEnvio, QStringLiteral("PBIniciarEnvio"), parent),
      mRaster(enlace(), design, directorio()), mFontTurno(enlace(), TipoFont::Turno(), directorio()),
      mFontFecha(enlace(), TipoFont::Fecha(), directorio()),
      mFontHora(enlace(), TipoFont::Hora(), directorio()), mEnviarTodo(enlace(), mRaster, mFontTurno) {
    setObjectName(QStringLiteral("FrmEnviar"));
    setWindowTitle(QStringLiteral("Enviando a Impresora"));

    relojes().asignar(Reloj::Raster, [this] { mRaster.tick(); });
    relojes().asignar(Reloj::FontTurno, [this] { mFontTurno.tick(); });
    relojes().asignar(Reloj::FontFecha, [this] { mFontFecha.tick(); });
    relojes().asignar(Reloj::FontHora, [this] { mFontHora.tick(); });

    connect(PBIniciar, &QPushButton::clicked, this, &FrmEnviar::PBIniciarEnvio);
    PBEnviarRaster = botonDepuracion(QStringLiteral("PBEnviarRaster"), QStringLiteral("Env Raster"));
    PBEnviarFontTurno =
        botonDepuracion(QStringLiteral("PBEnviarFontTurno"), QStringLiteral("Env Font Turno"));
    PBEnviarFontFecha =
        botonDepuracion(QStringLiteral("PBEnviarFontFecha"), QStringLiteral("Env Font Fecha"));
    PBEnviarFontHora = botonDepuracion(QStringLiteral("PBEnviarFontHora"), QStringLiteral("Env Font Hora"));
    connect(PBEnviarRaster, &QPushButton::clicked, this, [this] { mRaster.iniciar(); });
    connect(PBEnviarFontTurno, &QPushButton::clicked, this, [this] { mFontTurno.iniciar(); });
    connect(PBEnviarFontFecha, &QPushButton::clicked, this, [this] { mFontFecha.iniciar(); });
    connect(PBEnviarFontHora, &QPushButton::clicked, this, [this] { mFontHora.iniciar(); });
}

FrmEnviar::~FrmEnviar() {
    relojes().detenerTodos();
}

void FrmEnviar::PBIniciarEnvio() {
    // While a send runs the button is disabled; a transfer started from the hidden
    // buttons must finish before everything is sent again.
    if (mEnviarTodo.activo() || mRaster.RasterActivo || mFontTurno.FontActivo) return;
    inicioHabilitado(false);
    mEnviarTodo.iniciar();
}

void FrmEnviar::detenerTransferencias() {
    mRaster.RasterActivo = false;
    mFontTurno.FontActivo = false;
    mFontFecha.FontActivo = false;
    mFontHora.FontActivo = false;
}

} // namespace quoravex
