#pragma once

#include "document/ArchivoDiseno.h"

#include "document/Campos.h"
#include "document/Configuracion.h"
#include "document/Design.h"
#include "link/AjustesTick.h"
#include "platform/PuertosDetectados.h"
#include "render/GeneraDatosFont.h"
#include "render/Workspace.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDialog;
class QPushButton;
class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QTimer;
class QToolBar;

namespace quoravex {

class CanvasTicket;
class ComandosObjeto;
class FrmVistaPrevia;
class Historia;
class RatonCanvas;
class PanelPropiedades;
class ReglaCanvas;
class Seleccion;
struct CajaOrganizar;
class InstanciaUnica;
class SerialPort;
struct CopiaLeida;
struct Relleno;
struct VistasDiseno;

// What start-up takes from outside: the command line and where to look for files.
struct OpcionesArranque {
    QString lineaComandos; // the arguments as one string
    QString dirActual;     // where the configuration file is looked for; empty: the current directory
    QString rutaTemporal;  // overrides the temporary-files folder when set (tests)
    bool usarRutaTemporal = false;
    QString carpetaRecuperacion; // where recovery copies live; empty: the user's data folder
};

class FormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FormMain(const OpcionesArranque& opciones = {}, QWidget* parent = nullptr);
    ~FormMain() override;

    Design& design() { return mDiseno; }
    Workspace& workspace() { return mWs; }
    CanvasTicket& canvas() { return *mCanvas; }
    QComboBox& selectorVista() { return *mCBSelTicket; }

    // Menu entries and menus by their command names.
    QAction* accion(const QString& nombre) const { return mAcciones.value(nombre); }
    QMenu* menu(const QString& nombre) const { return mMenus.value(nombre); }

    const QString& dirTrabajo() const { return mDirTrabajo; }
    const QString& ultimaVista() const { return mUltimaVista; }
    int16_t pulsadoresVistos() const { return mPulsadoresVistos; }
    const std::array<QString, 21>& nombresVista() const { return mNombresVista; }

    // Fills the view selector with "Parte Común" and n push-button entries.
    void llenarSelectorVista(int n);
    // Marks the keyboard model and shows the push-button counts it offers.
    void aplicarModeloTeclado();
    // Marks the menu entry of the current port, if any.
    void marcarPuerto();
    // Canvas height follows LargoTicket; the window is laid out around it.
    void dimensionarCanvas();
    // The first status label's text.
    QString textoEstado() const;
    void actualizarEstado();

    // Folder of the current design file (pictures stored elsewhere are looked for there).
    QString dirDiseno() const;
    // Saves with `escribir`, the pictures carried into `carpeta` first; if the save fails,
    // neither the design nor that folder keeps anything of it.
    void guardarCon(const QString& carpeta, const std::function<ResultadoArchivo()>& escribir);
    // The design has a file of its own (opened or saved): "Guardar" writes it without asking.
    bool conArchivo() const { return mConArchivo; }
    // Where raster, font and picture files go: the current directory.
    QString dirSalida() const;

    // Commands of the menus and of the hidden debug buttons.
    void redibujar();
    void mnuRedibujar();
    // Writes every raster file; false (after telling the user) when one could not be written.
    bool mnuGeneraSalida();
    // Writes the font file of one kind of variable field; false after telling the user why not.
    bool generarFuente(CampoVariable campo);
    void PBBorrarLienzo();
    void PBCargarSalida(int i);
    void mnuAbout();

    // Design file commands.
    void CerrarTicket();
    void mnuCerrarTicket();
    void mnuNuevoTicket();
    void mnuAbrirArchivoTicket();
    void mnuGuardarTicket();
    void mnuGuardarTicketComo();
    // Asks before unsaved changes are lost; true when the user agrees (or nothing is lost).
    bool confirmar(int16_t selectorAceptar);

    // Ticket configuration, views and command state.
    void mnuTicketTipoPulsadorUnico();
    void numeroPulsadores(int n);
    void mnuConfigLargoTicket();
    void modeloTeclado(int modelo);
    void puertoSerie(int puerto);
    // "Dispositivo...": the device the current port number stands for, kept in the user's settings.
    void mnuDispositivo();
    // The device port number n stands for, by the order of precedence (NombreDispositivo).
    QString dispositivoPuerto(int n) const;
    // The status bar's note of the current port and its device.
    QString textoPuerto() const;
    // The user picked an entry of the view selector.
    void seleccionVista(const QString& texto);
    // One tick of the command-state timer: add commands, view selector, save and send.
    void actualizarComandos();

protected:
    void closeEvent(QCloseEvent* e) override;

public:
    // Shows a message to the user; tests replace it to record messages instead.
    std::function<void(const QString& texto)> mostrarMensaje;
    // The same with the stop icon, for a refusal; tests replace it too.
    std::function<void(const QString& texto)> mostrarCritico;
    // Opens a dialog modally; tests replace it to drive dialogs without exec().
    std::function<int(QDialog& dialogo)> ejecutarDialogo;
    // Hidden buttons of the debug area, by name.
    QPushButton* boton(const QString& nombre) const;
    uint8_t salidaActual() const { return mSalidaActual; }

public:
    // Sending to the printer (FormMainEnvio.cpp).
    // "Enviar a Impresora": raster files and fonts, then the transfer window.
    void mnuEnviarAPrinter();
    // "Enviar Fecha y Hora": the window that sets the printer's clock.
    void mnuEnviarFechaHora();
    // The lock this copy of the program holds; without one no other copy is assumed.
    InstanciaUnica* instanciaUnica = nullptr;
    // Makes the port of a transfer window; empty: the system's serial device. Tests set it.
    std::function<std::unique_ptr<SerialPort>()> crearPuerto;
    // Pacing of the transfer timers, from the command line or the environment.
    AjustesTick ajustesTick;
    QMap<int, QString> dispositivos; // what port numbers stand for, from Morvane.cfg
    QMap<int, QString> elegidos;     // the user's own choices ("Dispositivo..."), from the user's settings
    // Lists the ports present for "Dispositivo..."; tests set a list of their own.
    DetectorPuertos detectarPuertos = DetectarPuertos;
    // Shows the transfer windows' critical messages; empty: a message box. Tests set it.
    std::function<void(const QString& texto, const QString& titulo)> mostrarError;

private:
    void conectarEnvio(int tickConfigurado);

private:
    void construirMenus();
    QMenu* nuevoMenu(QWidget* padre, const QString& titulo, const QString& nombre);
    QAction* nuevaAccion(QMenu* menu, const QString& titulo, const QString& nombre,
                         const QKeySequence& atajo = {});
    void construirVentana();
    void construirAreaDepuracion(QWidget* padre);
    void conectarComandos();
    void prepararDirectorioTrabajo(const OpcionesArranque& opciones);

    Design mDiseno;
    Workspace mWs;
    CanvasTicket* mCanvas = nullptr;
    QScrollArea* mScroll = nullptr;
    QComboBox* mCBSelTicket = nullptr;
    QLabel* mLbEstado = nullptr;
    QLabel* mLbArchivo = nullptr;
    QLabel* mLbPuerto = nullptr;
    QTimer* mTimer1 = nullptr;
    QTimer* mTimScheduler = nullptr;
    bool mHayTurno = false;
    bool mHayFecha = false;
    bool mHayHora = false;
    QHash<QString, QAction*> mAcciones;
    QHash<QString, QMenu*> mMenus;

    QString mDirTrabajo;
    std::array<QString, 21> mNombresVista;
    QString mUltimaVista;
    int16_t mPulsadoresVistos = 0;
    uint8_t mSalidaActual = 0;
    QWidget* mAreaDepuracion = nullptr;

    // Object commands, canvas mouse and zoom (FormMainEdicion.cpp).
public:
    ComandosObjeto& comandos() { return *mComandos; }
    RatonCanvas& raton() { return *mRaton; }
    // Zoom at which the whole ticket fits the window.
    void zoomAjustado();

    // Opening designs, recent designs, the window's placement (FormMainRecientes.cpp).
    static constexpr int MaximoRecientes = 8;
    // Loads a design as "Abrir..." does after its dialog, with the same messages; a design
    // that loads becomes the newest recent one. The current design must be closed already.
    bool abrirDiseno(const QString& ruta);
    QStringList recientes() const;
    void agregarReciente(const QString& ruta);
    void abrirReciente(const QString& ruta);
    // The window's size, position and zoom of the last run, and keeping them for the next.
    void restaurarVentana();
    void guardarVentana();
    // "X: n  Y: n" for the dot under the pointer on the canvas, empty elsewhere.
    QString textoCursor() const;
    void cursorFuera();

    // "Vista Previa...": every ticket as the printer prints it (FormMainVistaPrevia.cpp).
    void mnuVistaPrevia();
    FrmVistaPrevia* vistaPrevia() const;

    // Selecting many objects, arranging them and the clipboard (FormMainSeleccion.cpp).
    Seleccion& seleccion() { return *mSeleccion; }
    // The selected objects, or the current one when none is selected.
    QList<int> objetosElegidos() const;
    void borrarSeleccion();
    void mnuCopiar();
    void mnuCortar();
    void mnuPegar();
    void mnuSeleccionarTodo();
    // Moves the chosen objects to the positions `colocar` gives their boxes, as one step.
    void organizar(const QString& nombre,
                   const std::function<QList<QPoint>(const QList<CajaOrganizar>&, const QRect& referencia)>& colocar);

    // The toolbar, the properties panel, the rulers and the grid (FormMainVer.cpp).
    QToolBar* herramientas() const { return mHerramientas; }
    PanelPropiedades* propiedades() const { return mPropiedades; }
    ReglaCanvas* regla(Qt::Orientation o) const { return o == Qt::Horizontal ? mReglaH : mReglaV; }
    // "Espaciado de Cuadrícula...": asks for the grid's spacing in dots.
    std::function<std::optional<int>(int actual)> pedirEspaciado;
    void fijarCuadricula(bool visible, int paso, bool ajustar);

    // Undo and redo (FormMainHistoria.cpp).
    Historia& historia() { return *mHistoria; }
    // Runs a change of the design as one step of the history.
    void pasoDiseno(const QString& nombre, const std::function<void()>& cambio);

    // Fields of texts and codes (FormMainCampos.cpp) and templates (FormMainPlantillas.cpp).
    // "Valores de Campos...": a value for each field of the design.
    void mnuValoresCampos();
    // The values of the design's fields, kept in the user's settings per design file.
    ValoresCampos valoresCampos();
    void ponerValoresCampos(const ValoresCampos& valores);
    // What the preview window shows: every ticket with its fields filled in.
    VistasDiseno vistasPrevias();
    // Before anything is sent: missing pictures are asked about and empty values asked for;
    // false when nothing may be sent.
    bool prepararEnvio();
    // The design's fields filled for the printer's files; false after telling the user why not.
    bool rellenarCampos(Relleno& relleno);
    // "Nuevo desde Plantilla...": a template opened as a new, unsaved design.
    void mnuNuevoDesdePlantilla();
    // Opens the template at ruta as a new design without a file of its own.
    bool abrirPlantilla(const QString& ruta);
    // Where templates are looked for (CarpetasPlantillas of the program's folder).
    QStringList carpetasPlantillas;

private:
    void conectarCampos();
    ValoresCampos mValoresCampos;
    QString mRutaValores;
    void conectarEdicion();
    void conectarHistoria();
    void conectarRecientes();
    void conectarVistaPrevia();
    void conectarSeleccion();
    void conectarVer();
    void colocarReglas();
    void guardarVer() const;
    void mostrarPropiedades();
    QPointer<FrmVistaPrevia> mVistaPrevia;
    QTimer* mActualizarVista = nullptr;
    void llenarRecientes();
    // After a successful save: the saved state of the history, and a recent design.
    void guardado();
    QLabel* mLbCursor = nullptr;
    ComandosObjeto* mComandos = nullptr;
    RatonCanvas* mRaton = nullptr;
    Historia* mHistoria = nullptr;
    Seleccion* mSeleccion = nullptr;
    QToolBar* mHerramientas = nullptr;
    PanelPropiedades* mPropiedades = nullptr;
    ReglaCanvas* mReglaH = nullptr;
    ReglaCanvas* mReglaV = nullptr;
    QAction* mVerReglas = nullptr;
    bool mConArchivo = false;

    // Recovery copies of unsaved work, and their offer at start-up (FormMainRecuperacion.cpp).
public:
    // Writes this designer's copy while the design has unsaved changes, else removes it.
    void actualizarRecuperacion();
    // Offers the copies of designers that ended without saving; true when one was recovered.
    bool ofrecerRecuperacion();
    // SIGTERM or SIGHUP: the unsaved work is kept as a copy and the program ends without asking.
    void terminacionPedida(int senal);
    // This designer's copy folder.
    QString carpetaCopia() const;

private:
    class Recuperacion;
    void conectarRecuperacion(const OpcionesArranque& opciones, int segundos);
    void finalizarRecuperacion(bool conservar);
    bool recuperar(const CopiaLeida& copia);
    Recuperacion* mRecuperacion = nullptr;
};

} // namespace quoravex
