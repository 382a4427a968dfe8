#include "FrmCodigo.h"

#include "document/Design.h"
#include "editor/CodigoObjeto.h"
#include "render/Relleno.h"
#include "render/Workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quoravex {

namespace {

constexpr Simbologia Simbologias[] = {Simbologia::QR,      Simbologia::DataMatrix, Simbologia::PDF417,
                                      Simbologia::Code128, Simbologia::EAN13,      Simbologia::Code39};
constexpr int AnchoTicket = 384;

} // namespace

FrmCodigo::FrmCodigo(Design& d, Workspace& ws, const QString& dirDiseno, QWidget* parent)
    : QDialog(parent), mDiseno(d), mWs(ws) {
    setWindowTitle(QStringLiteral("Código de Barras / QR"));
    setObjectName(QStringLiteral("FrmCodigo"));

    cboTipo = new QComboBox(this);
    cboTipo->setObjectName(QStringLiteral("cboTipo"));
    for (const Simbologia s : Simbologias)
        cboTipo->addItem(NombreSimbologia(s), static_cast<int>(s));
    txtDatos = new QLineEdit(this);
    txtDatos->setObjectName(QStringLiteral("txtDatos"));
    txtDatos->setMinimumWidth(320);
    lblError = new QLabel(this);
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setWordWrap(true);
    lblError->setStyleSheet(QStringLiteral("color: #b00000;"));
    spnModulo = new QSpinBox(this);
    spnModulo->setObjectName(QStringLiteral("spnModulo"));
    spnModulo->setRange(ModuloMinimo, ModuloMaximo);
    spnModulo->setSuffix(QStringLiteral(" puntos"));
    cboNivel = new QComboBox(this);
    cboNivel->setObjectName(QStringLiteral("cboNivel"));
    for (const auto& [nivel, texto] : {std::pair{NivelQR::L, "L (7 %)"}, std::pair{NivelQR::M, "M (15 %)"},
                                       std::pair{NivelQR::Q, "Q (25 %)"}, std::pair{NivelQR::H, "H (30 %)"}})
        cboNivel->addItem(QString::fromLatin1(texto), static_cast<int>(nivel));
    cboVersion = new QComboBox(this);
    cboVersion->setObjectName(QStringLiteral("cboVersion"));
    cboVersion->addItem(QStringLiteral("Automático"), 0);
    for (int v = 1; v <= 40; ++v)
        cboVersion->addItem(QStringLiteral("Versión %1 (%2 × %2 módulos)").arg(v).arg(17 + 4 * v), v);
    chkTexto = new QCheckBox(QStringLiteral("Texto legible bajo las barras"), this);
    chkTexto->setObjectName(QStringLiteral("chkTexto"));

    // The symbol at 100 %: one screen pixel per printer dot, as it will print.
    lblVista = new QLabel(this);
    lblVista->setObjectName(QStringLiteral("lblVista"));
    lblVista->setAlignment(Qt::AlignCenter);
    auto* desplazable = new QScrollArea(this);
    desplazable->setWidget(lblVista);
    desplazable->setWidgetResizable(true);
    desplazable->setMinimumSize(AnchoTicket + 24, 260);
    desplazable->setBackgroundRole(QPalette::Base);
    lblTamano = new QLabel(this);
    lblTamano->setObjectName(QStringLiteral("lblTamano"));

    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    auto* botones = new QDialogButtonBox(this);
    botones->addButton(cmdAceptar, QDialogButtonBox::AcceptRole);
    botones->addButton(cmdCancelar, QDialogButtonBox::RejectRole);

    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("Tipo:"), cboTipo);
    formulario->addRow(QStringLiteral("Datos:"), txtDatos);
    formulario->addRow(QString(), lblError);
    formulario->addRow(QStringLiteral("Módulo:"), spnModulo);
    formulario->addRow(QStringLiteral("Corrección:"), cboNivel);
    formulario->addRow(QStringLiteral("Tamaño:"), cboVersion);
    formulario->addRow(QString(), chkTexto);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(formulario);
    columna->addWidget(desplazable, 1);
    columna->addWidget(lblTamano);
    columna->addWidget(botones);

    Avisar = [this](const QString& texto) { QMessageBox::warning(this, windowTitle(), texto); };
    connect(cboTipo, &QComboBox::currentIndexChanged, this, &FrmCodigo::cambioTipo);
    connect(txtDatos, &QLineEdit::textChanged, this, &FrmCodigo::actualizar);
    connect(spnModulo, &QSpinBox::valueChanged, this, &FrmCodigo::actualizar);
    connect(cboNivel, &QComboBox::currentIndexChanged, this, &FrmCodigo::actualizar);
    connect(cboVersion, &QComboBox::currentIndexChanged, this, &FrmCodigo::actualizar);
    connect(chkTexto, &QCheckBox::toggled, this, &FrmCodigo::actualizar);
    connect(cmdAceptar, &QPushButton::clicked, this, &FrmCodigo::aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    const std::optional<ParametrosCodigo> guardado =
        Design::slotValido(d.Objeto) ? LeerCodigoObjeto(d.objeto(d.Objeto), dirDiseno) : std::nullopt;
    mNuevo = !guardado;
    ParametrosCodigo inicial;
    inicial.modulo = ModuloPorDefecto(inicial.tipo);
    mostrar(guardado.value_or(inicial));
}

void FrmCodigo::mostrar(const ParametrosCodigo& p) {
    mCargando = true;
    cboTipo->setCurrentIndex(cboTipo->findData(static_cast<int>(p.tipo)));
    txtDatos->setText(p.datos);
    spnModulo->setValue(p.modulo);
    cboNivel->setCurrentIndex(cboNivel->findData(static_cast<int>(p.nivel)));
    cboVersion->setCurrentIndex(cboVersion->findData(p.versionQR));
    chkTexto->setChecked(p.textoLegible);
    mCargando = false;
    actualizar();
}

ParametrosCodigo FrmCodigo::parametros() const {
    ParametrosCodigo p;
    p.tipo = static_cast<Simbologia>(cboTipo->currentData().toInt());
    p.datos = txtDatos->text();
    p.modulo = spnModulo->value();
    p.nivel = static_cast<NivelQR>(cboNivel->currentData().toInt());
    p.versionQR = cboVersion->currentData().toInt();
    p.textoLegible = chkTexto->isChecked();
    return p;
}

QString FrmCodigo::error() const {
    return lblError->text();
}

void FrmCodigo::cambioTipo() {
    if (mCargando) return;
    // Each kind starts at the module size that suits it.
    mCargando = true;
    spnModulo->setValue(ModuloPorDefecto(parametros().tipo));
    mCargando = false;
    actualizar();
}

void FrmCodigo::actualizar() {
    if (mCargando) return;
    const ParametrosCodigo p = parametros();
    const bool qr = p.tipo == Simbologia::QR;
    cboNivel->setEnabled(qr);
    cboVersion->setEnabled(qr);
    chkTexto->setEnabled(EsLineal(p.tipo));

    // Data with fields is shown with stand-in values; the printer's files get the real ones.
    const CodigoGenerado g = CodigoDeMuestra(p);
    QString error = g.error;
    if (error.isEmpty() && g.imagen.width() > AnchoTicket)
        error = QStringLiteral("El código mide %1 puntos de ancho y el ticket %2: reduzca el módulo o los datos.")
                    .arg(g.imagen.width())
                    .arg(AnchoTicket);
    mImagen = error.isEmpty() ? g.imagen : QImage();
    lblError->setText(error);
    lblError->setVisible(!error.isEmpty());
    lblVista->setPixmap(mImagen.isNull() ? QPixmap() : QPixmap::fromImage(mImagen));
    lblTamano->setText(mImagen.isNull() ? QString()
                                        : QStringLiteral("%1 × %2 puntos").arg(mImagen.width()).arg(mImagen.height()));
    cmdAceptar->setEnabled(!mImagen.isNull());
}

void FrmCodigo::aceptar() {
    if (mImagen.isNull() || !Design::slotValido(mDiseno.Objeto)) return;
    if (!PonerCodigo(mDiseno, mWs, mDiseno.Objeto, parametros(), mImagen, mNuevo))
        Avisar(QStringLiteral("No se ha podido guardar el código en la carpeta de trabajo (%1).")
                   .arg(QDir::currentPath()));
    mDiseno.objeto(mDiseno.Objeto).Pendiente = Falso;
    accept();
}

} // namespace quoravex
