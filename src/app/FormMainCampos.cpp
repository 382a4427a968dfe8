#include "FormMain.h"

#include "dialogs/FrmValoresCampos.h"
#include "editor/Historia.h"
#include "platform/AjustesUsuario.h"
#include "platform/Plantillas.h"
#include "platform/Rutas.h"
#include "render/DescripcionCodigo.h"
#include "render/Relleno.h"
#include "render/VistaPrevia.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

namespace quoravex {

namespace {

// Where nothing is kept yet: no path equals it, so the next look reads the settings.
const QString SinLeer = QStringLiteral("\n");

// A question with "Sí" and "No", "No" by default, through the window's dialog hook.
bool PreguntarSiNo(FormMain& f, const QString& texto) {
    QMessageBox caja(QMessageBox::Question, QStringLiteral("Quoravex"), texto, QMessageBox::Yes | QMessageBox::No,
                     &f);
    caja.setDefaultButton(QMessageBox::No);
    return f.ejecutarDialogo(caja) == QMessageBox::Yes;
}

} // namespace

void FormMain::conectarCampos() {
    QMenu* ticket = menu(QStringLiteral("mnuConfigTicket"));
    QAction* valores = nuevaAccion(ticket, QStringLiteral("Valores de Campos..."), QStringLiteral("mnuValoresCampos"));
    connect(valores, &QAction::triggered, this, &FormMain::mnuValoresCampos);
    // Another design (opened, new or closed) has values of its own.
    mRutaValores = SinLeer;
    connect(mHistoria, &Historia::vaciada, this, [this] {
        mRutaValores = SinLeer;
        mValoresCampos.clear();
    });
    carpetasPlantillas = CarpetasPlantillas(DirectorioPrograma());
    QMenu* archivo = menu(QStringLiteral("mnuArchivo"));
    QAction* plantilla = new QAction(QStringLiteral("Nuevo desde Plantilla..."), archivo);
    plantilla->setObjectName(QStringLiteral("mnuNuevoDesdePlantilla"));
    archivo->insertAction(accion(QStringLiteral("mnuAbrirArchivoTicket")), plantilla);
    mAcciones.insert(plantilla->objectName(), plantilla);
    connect(plantilla, &QAction::triggered, this, &FormMain::mnuNuevoDesdePlantilla);
}

ValoresCampos FormMain::valoresCampos() {
    const QString ruta = mConArchivo ? QFileInfo(mDiseno.ArchivoTicket).absoluteFilePath() : QString();
    if (ruta != mRutaValores) {
        const ValoresCampos guardados = ruta.isEmpty() ? ValoresCampos() : ValoresGuardados(ruta);
        // A design saved for the first time keeps what was typed for it before.
        if (mRutaValores.isEmpty() && guardados.isEmpty() && !ruta.isEmpty())
            GuardarValores(ruta, mValoresCampos);
        else
            mValoresCampos = guardados;
        mRutaValores = ruta;
    }
    return mValoresCampos;
}

void FormMain::ponerValoresCampos(const ValoresCampos& valores) {
    valoresCampos();
    mValoresCampos = valores;
    if (!mRutaValores.isEmpty()) GuardarValores(mRutaValores, valores);
    // An open preview shows the new values.
    if (mActualizarVista) mActualizarVista->start();
}

void FormMain::mnuValoresCampos() {
    FrmValoresCampos dialogo(CamposDelDiseno(mDiseno, dirDiseno()), valoresCampos(), this);
    if (ejecutarDialogo(dialogo) == QDialog::Accepted) ponerValoresCampos(dialogo.valores());
}

VistasDiseno FormMain::vistasPrevias() {
    const Relleno relleno = RellenarDiseno(mDiseno, valoresCampos(), dirDiseno());
    VistasDiseno vistas = VistasPreviasDiseno(mDiseno, dirDiseno(), relleno.error.isEmpty() ? &relleno : nullptr);
    QStringList notas = relleno.avisos;
    // Without every value the preview still shows the ticket, its fields as typed.
    if (!relleno.error.isEmpty())
        notas << relleno.error +
                     QStringLiteral(": los campos se ven como se escribieron (\"Valores de Campos...\" en el menú "
                                    "\"Ticket\").");
    if (!vistas.tickets.isEmpty()) vistas.tickets.first().avisos = notas + vistas.tickets.first().avisos;
    return vistas;
}

bool FormMain::prepararEnvio() {
    const QStringList faltan = ImagenesQueFaltan(mDiseno, dirDiseno());
    if (!faltan.isEmpty() &&
        !PreguntarSiNo(*this, QStringLiteral("Faltan imágenes del diseño: %1. ¿Enviar de todos modos?")
                                  .arg(faltan.join(QStringLiteral(", ")))))
        return false;
    const QStringList campos = CamposDelDiseno(mDiseno, dirDiseno());
    const ValoresCampos valores = valoresCampos();
    if (std::none_of(campos.begin(), campos.end(), [&](const QString& c) { return valores.value(c).isEmpty(); }))
        return true;
    // Nothing is sent until every field has a value.
    FrmValoresCampos dialogo(campos, valores, this);
    dialogo.LbAviso->setText(QStringLiteral("Antes de enviar, escriba el valor de cada campo:"));
    if (ejecutarDialogo(dialogo) != QDialog::Accepted) return false;
    ponerValoresCampos(dialogo.valores());
    if (const QStringList vacios = dialogo.vacios(); !vacios.isEmpty()) {
        mostrarMensaje(MensajeFaltaCampo(vacios.first()));
        return false;
    }
    return true;
}

bool FormMain::rellenarCampos(Relleno& relleno) {
    relleno = RellenarDiseno(mDiseno, valoresCampos(), dirDiseno());
    if (!relleno.error.isEmpty()) {
        mostrarMensaje(relleno.error);
        return false;
    }
    if (!relleno.avisos.isEmpty()) mostrarMensaje(relleno.avisos.join(QLatin1Char('\n')));
    return true;
}

} // namespace quoravex
