#pragma once

#include "link/AjustesTick.h"
#include "link/EnlaceImpresora.h"
#include "link/LinkSink.h"
#include "link/SerialPort.h"

#include <QDialog>
#include <QList>
#include <array>
#include <functional>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace quoravex {

class RelojesEnlace;

// What a transfer window is handed when it is created.
struct OpcionesVentanaEnlace {
    int puertoCom = 1;
    QString elegido;                    // the user's choice of device for the port number; empty: none
    QString dispositivo;                // what the port number stands for in Morvane.cfg; empty: the system's
    bool otraInstancia = false;         // another copy of the program runs
    std::unique_ptr<SerialPort> puerto; // empty: the system's serial device
    AjustesTick ajustes;
    QString directorio; // where the data files are; empty: the current directory
    // Shows a critical message; empty: a message box.
    std::function<void(const QString& texto, const QString& titulo)> mostrarMensaje;
};

// The part that both transfer windows share: the port and its link, the progress bars,
// the activity indicator, the log box, the timers and "Salir".
class VentanaEnlace : public QDialog, public LinkSink {
    Q_OBJECT
public:
    ~VentanaEnlace() override;

    // The window's load: refuses a second copy of the program and opens the port. False
    // after the message was shown; the window must then not be shown.
    bool cargar();

    EnlaceImpresora& enlace() { return *mEnlace; }
    RelojesEnlace& relojes() { return *mRelojes; }
    SerialPort& puerto() { return *mPuerto; }
    const QString& directorio() const { return mDirectorio; }

    // Shows a message with the critical icon; tests replace it to record messages.
    std::function<void(const QString& texto, const QString& titulo)> mostrarMensaje;

    // LinkSink.
    void log(const QString& linea) override;
    void barra(int i, int porcentaje) override;
    void cursorOcupado(bool ocupado) override;
    void mensaje(const QString& texto, const QString& titulo) override;
    void indicador(bool azul) override;
    void reloj(Reloj r, int intervaloMs) override;
    void pitido() override;
    void inicioHabilitado(bool habilitado) override;
    void cerrarVentana() override;

    // "Salir": closes the port and the window.
    void PBSalir();
    void PBBorrarRX();

    QPlainTextEdit* TBBufRX = nullptr;
    QPushButton* PBIniciar = nullptr; // PBIniciarEnvio, or PBEnviarFechaHora
    QPushButton* PBSalirBoton = nullptr;
    QPushButton* PBBorrarRXBoton = nullptr;
    QFrame* Shape1 = nullptr;
    std::array<QFrame*, 4> FrmBarra{};
    std::array<QLabel*, 4> LBBarra{};
    std::array<QProgressBar*, 4> ShBarra{};
    // The hidden part: the log box and the buttons that start one transfer each.
    QWidget* AreaDepuracion = nullptr;

protected:
    VentanaEnlace(OpcionesVentanaEnlace opciones, const ConfiguracionLinea& linea,
                  const QString& nombreInicio, QWidget* parent);

    // After the port opened: the transfer window starts nothing, the clock window sends.
    virtual void alCargar() {}
    // Stops the transfers and closes their files before the port closes.
    virtual void detenerTransferencias() {}
    QPushButton* botonDepuracion(const QString& nombre, const QString& titulo);

    void done(int r) override;

private:
    void construir(const QString& nombreInicio);
    void mostrarPendientes();
    void soltarCursor();

    OpcionesVentanaEnlace mOpciones;
    std::unique_ptr<SerialPort> mPuertoPropio;
    SerialPort* mPuerto = nullptr;
    std::unique_ptr<EnlaceImpresora> mEnlace;
    RelojesEnlace* mRelojes = nullptr;
    QString mDirectorio;
    QVBoxLayout* mBotonesDepuracion = nullptr;

    struct Pendiente {
        QString texto;
        QString titulo;
    };
    QList<Pendiente> mPendientes;
    bool mCargando = false;
    bool mMostrando = false;
    bool mCerrarPendiente = false;
    bool mCursor = false;
};

} // namespace quoravex
