#include "FrmEnviarFechaHora.h"

#include "platform/RelojesEnlace.h"

#include <QPushButton>
#include <QTimer>

namespace quoravex {

FrmEnviarFechaHora::FrmEnviarFechaHora(OpcionesVentanaEnlace opciones, QWidget* parent,
                                       TransferenciaFechaHora::FuenteHora ahora)
    : VentanaEnlace(std::move(opciones), LineaFechaHora, QStringLiteral("PBEnviarFechaHora"), parent),
      mFechaHora(enlace(), std::move(ahora)) {
    setObjectName(QStringLiteral("FrmEnviarFechaHora"));
    setWindowTitle(QStringLiteral("Enviando Fecha y Hora"));
    relojes().asignar(Reloj::FechaHora, [this] { mFechaHora.tick(); });
    connect(PBIniciar, &QPushButton::clicked, this, &FrmEnviarFechaHora::PBEnviarFechaHora);
}

FrmEnviarFechaHora::~FrmEnviarFechaHora() {
    relojes().detenerTodos();
}

void FrmEnviarFechaHora::PBEnviarFechaHora() {
    mFechaHora.iniciar();
}

void FrmEnviarFechaHora::alCargar() {
    // The event loop gets a turn first, so the window is on screen when the frame leaves.
    QTimer::singleShot(0, this, &FrmEnviarFechaHora::PBEnviarFechaHora);
}

} // namespace quoravex
