#include "FormMain.h"

#include "dialogs/FrmDispositivo.h"
#include "dialogs/FrmEntrar.h"
#include "editor/ObjetosCanvas.h"
#include "platform/AjustesUsuario.h"
#include "platform/SystemSerialPort.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QTimer>

namespace quoravex {

void FormMain::mnuTicketTipoPulsadorUnico() {
    mDiseno.VistaActual = 1;
    mDiseno.NumPulsadores = 0;
    redibujar();
}

void FormMain::numeroPulsadores(int n) {
    mDiseno.NumPulsadores = static_cast<int16_t>(n);
    redibujar();
}

void FormMain::mnuConfigLargoTicket() {
    const int16_t anterior = mDiseno.LargoTicket;
    FrmEntrar dialogo(mDiseno, this);
    dialogo.mostrarMensaje = mostrarMensaje;
    ejecutarDialogo(dialogo);
    if (mDiseno.LargoTicket > LargoMaximo) {
        mostrarCritico(QStringLiteral(
            "Longitud demasiado grande! (Longitud de 1 a 511). Por Favor cambie su selección."));
        mDiseno.LargoTicket = anterior;
    }
    if (mDiseno.LargoTicket == anterior) return;
    if (mDiseno.LargoTicket < anterior && mDiseno.NumObjetos > 0)
        for (int i = 1; i <= mDiseno.IdxObjMasAlto; ++i)
            if (mDiseno.enUso(i) && mDiseno.objeto(i).Top > mDiseno.LargoTicket)
                BorrarObjeto(mDiseno, mWs, i);
    dimensionarCanvas();
    redibujar();
}

void FormMain::modeloTeclado(int modelo) {
    mDiseno.ModeloTeclado = static_cast<uint8_t>(modelo);
    aplicarModeloTeclado();
}

void FormMain::puertoSerie(int puerto) {
    mDiseno.PuertoCom = static_cast<int16_t>(puerto);
    marcarPuerto();
}

QString FormMain::dispositivoPuerto(int n) const {
    return SystemSerialPort::NombreDispositivo(n, elegidos.value(n), dispositivos.value(n));
}

QString FormMain::textoPuerto() const {
    return QStringLiteral("COM%1: %2").arg(mDiseno.PuertoCom).arg(dispositivoPuerto(mDiseno.PuertoCom));
}

void FormMain::mnuDispositivo() {
    const int n = mDiseno.PuertoCom;
    // What an empty field leaves the port to: Morvane.cfg, else the system's device.
    const QString porDefecto = dispositivos.value(n, SystemSerialPort::DispositivoSistema(n));
    FrmDispositivo dialogo(n, elegidos.value(n), porDefecto, detectarPuertos, this);
    const QString variable = QStringLiteral("QUORAVEX_COM%1").arg(n);
    if (const QString entorno = qEnvironmentVariable(qPrintable(variable)); !entorno.isEmpty())
        dialogo.fijarNota(QStringLiteral("Mientras %1 valga %2 en el entorno, el puerto usa ese dispositivo.")
                              .arg(variable, entorno));
    if (ejecutarDialogo(dialogo) != QDialog::Accepted) return;
    const QString elegido = dialogo.dispositivo();
    GuardarDispositivoElegido(n, elegido);
    if (elegido.isEmpty())
        elegidos.remove(n);
    else
        elegidos.insert(n, elegido);
    marcarPuerto();
}

void FormMain::seleccionVista(const QString& texto) {
    if (texto == mUltimaVista) return;
    mUltimaVista = texto;
    if (texto == mNombresVista[0]) {
        mDiseno.VistaActual = 1;
    } else {
        const QString buscado = texto.trimmed();
        for (int n = 1; n <= mDiseno.NumPulsadores && n <= MaxPulsadores; ++n)
            if (mNombresVista[static_cast<size_t>(n)] == buscado) {
                mDiseno.VistaActual = Design::mascaraVista(n);
                break;
            }
    }
    redibujar();
}

void FormMain::actualizarComandos() {
    mHayTurno = mHayFecha = mHayHora = false;
    if (mDiseno.NumObjetos > 0)
        for (int i = 1; i <= mDiseno.IdxObjMasAlto; ++i) {
            if (!mDiseno.enUso(i)) continue;
            const int16_t tipo = mDiseno.objeto(i).Tipo;
            mHayTurno = mHayTurno || tipo == TipoTurno;
            mHayFecha = mHayFecha || tipo == TipoFecha;
            mHayHora = mHayHora || tipo == TipoHora;
        }
    accion(QStringLiteral("mnuAnadirTurno"))->setEnabled(!mHayTurno);
    accion(QStringLiteral("mnuAnadirFecha"))->setEnabled(!mHayFecha);
    accion(QStringLiteral("mnuAnadirHora"))->setEnabled(!mHayHora);

    if (mDiseno.NumPulsadores != mPulsadoresVistos) {
        mPulsadoresVistos = mDiseno.NumPulsadores;
        llenarSelectorVista(mPulsadoresVistos);
    }
    mCBSelTicket->setVisible(mDiseno.NumPulsadores != 0);
    accion(QStringLiteral("mnuTicketTipoPulsadorUnico"))->setEnabled(mDiseno.NumPulsadores != 0);

    const bool hayObjetos = mDiseno.NumObjetos != 0;
    for (const char* nombre : {"mnuEnviarAPrinter", "mnuGuardarTicket", "mnuGuardarTicketComo"})
        accion(QString::fromLatin1(nombre))->setEnabled(hayObjetos);
}

} // namespace quoravex
