// Controls, layout and icons of the font chooser.
#include "FrmGetFont.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace quoravex {

namespace {

// On receiving the focus the caret goes to the end of the text, before any trailing spaces.
class EntradaTexto : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        const QString t = text();
        int fin = static_cast<int>(t.size());
        while (fin > 0 && t.at(fin - 1) == QLatin1Char(' '))
            --fin;
        deselect();
        setCursorPosition(fin);
    }
};

QFrame* Grupo(QWidget* padre) {
    auto* marco = new QFrame(padre);
    marco->setFrameShape(QFrame::StyledPanel);
    marco->setFrameShadow(QFrame::Raised);
    return marco;
}

QLabel* Titulo(const QString& texto, QWidget* padre) {
    return new QLabel(texto, padre);
}

QLabel* Valor(const QString& nombre, QWidget* padre) {
    auto* l = new QLabel(padre);
    l->setObjectName(nombre);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(120);
    return l;
}

} // namespace

QIcon IconoFuente(bool contorno) {
    QPixmap px(16, 16);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (contorno) {
        // Two overlapping "T"s, the usual mark of scalable outline fonts.
        p.fillRect(1, 2, 9, 2, QColor(0x80, 0x80, 0x80));
        p.fillRect(4, 2, 3, 9, QColor(0x80, 0x80, 0x80));
        p.fillRect(6, 6, 9, 2, QColor(0x00, 0x00, 0x80));
        p.fillRect(9, 6, 3, 9, QColor(0x00, 0x00, 0x80));
    } else {
        // A blocky "A" on a dotted grid: a font drawn pixel by pixel at fixed sizes.
        p.setPen(QColor(0xC0, 0xC0, 0xC0));
        for (int y = 1; y < 16; y += 3)
            for (int x = 1; x < 16; x += 3)
                p.drawPoint(x, y);
        const QColor rojo(0xC0, 0x00, 0x00);
        p.fillRect(5, 2, 6, 2, rojo);
        p.fillRect(3, 4, 2, 10, rojo);
        p.fillRect(11, 4, 2, 10, rojo);
        p.fillRect(5, 8, 6, 2, rojo);
    }
    p.end();
    return QIcon(px);
}

QListWidgetItem* FrmGetFont::agregarFamilia(const FamiliaFuente& f) {
    auto* it = new QListWidgetItem(IconoFuente(f.contorno), f.nombre, lvFonts);
    it->setData(Qt::UserRole, f.contorno ? QStringLiteral("True") : QStringLiteral("Fixed"));
    return it;
}

void FrmGetFont::construirControles() {
    lvFonts = new QListWidget(this);
    lvFonts->setObjectName(QStringLiteral("lvFonts"));
    lvFonts->setViewMode(QListView::ListMode);
    lvFonts->setIconSize(QSize(16, 16));
    lvFonts->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFonts->setMinimumHeight(200);

    auto* grupoFuente = Grupo(this);
    lblSelected = Valor(QStringLiteral("lblSelected"), grupoFuente);
    lblSelSize = Valor(QStringLiteral("lblSelSize"), grupoFuente);
    sldSize = new QSlider(Qt::Vertical, grupoFuente);
    sldSize->setObjectName(QStringLiteral("sldSize"));
    sldSize->setRange(0, 180);
    sldSize->setPageStep(10);
    sldSize->setMinimumHeight(120);

    auto* grupoEstilo = Grupo(this);
    mGrupoEstilo = new QButtonGroup(this);
    const QString titulos[] = {QStringLiteral("&Normal"), QStringLiteral("C&ursiva"),
                               QStringLiteral("&Negrita"), QStringLiteral("N&egrita cursiva")};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(titulos[i], grupoEstilo);
        b->setObjectName(QStringLiteral("optStyle%1").arg(i));
        mGrupoEstilo->addButton(b, i);
        b->installEventFilter(this);
        optStyle[static_cast<size_t>(i)] = b;
    }
    optStyle[0]->setChecked(true);
    lblSty = Titulo(QStringLiteral("Estilo:"), grupoEstilo);
    lblSty->setObjectName(QStringLiteral("lblSty"));
    lblStyle = Valor(QStringLiteral("lblStyle"), grupoEstilo);
    chkUnderline = new QCheckBox(QStringLiteral("&Subrayado"), grupoEstilo);
    chkUnderline->setObjectName(QStringLiteral("chkUnderline"));
    chkStrikethru = new QCheckBox(QStringLiteral("&Tachado"), grupoEstilo);
    chkStrikethru->setObjectName(QStringLiteral("chkStrikethru"));

    TBEntradaTexto = new EntradaTexto(this);
    TBEntradaTexto->setObjectName(QStringLiteral("TBEntradaTexto"));
    TBEntradaTexto->setMaxLength(LongitudTexto);

    picSample = new QLabel(this);
    picSample->setObjectName(QStringLiteral("picSample"));
    picSample->setFocusPolicy(Qt::ClickFocus);
    picSample->setFrameShape(QFrame::Panel);
    picSample->setFrameShadow(QFrame::Sunken);
    picSample->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    picSample->setFixedHeight(64);
    picSample->setStyleSheet(QStringLiteral("background: white"));

    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* capaFuente = new QGridLayout(grupoFuente);
    capaFuente->addWidget(Titulo(QStringLiteral("Fuente seleccionada:"), grupoFuente), 0, 0, 1, 2);
    capaFuente->addWidget(lblSelected, 1, 0, 1, 2);
    capaFuente->addWidget(Titulo(QStringLiteral("Tamaño:"), grupoFuente), 2, 0);
    capaFuente->addWidget(lblSelSize, 3, 0, Qt::AlignTop);
    capaFuente->addWidget(sldSize, 2, 1, 2, 1);
    capaFuente->setRowStretch(3, 1);

    auto* capaEstilo = new QVBoxLayout(grupoEstilo);
    capaEstilo->addWidget(lblSty);
    capaEstilo->addWidget(lblStyle);
    for (QRadioButton* b : optStyle)
        capaEstilo->addWidget(b);
    capaEstilo->addWidget(chkUnderline);
    capaEstilo->addWidget(chkStrikethru);

    auto* derecha = new QVBoxLayout;
    derecha->addWidget(grupoFuente, 1);
    derecha->addWidget(grupoEstilo);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(lvFonts, 1);
    arriba->addLayout(derecha);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba, 1);
    capa->addWidget(TBEntradaTexto);
    capa->addWidget(picSample);
    capa->addLayout(botones);

    // The variable fields take no style, underline or strike-through.
    if (mModo == Modo::Turno) grupoEstilo->hide();

    connect(lvFonts, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* actual) { lvFonts_ItemClick(actual); });
    connect(mGrupoEstilo, &QButtonGroup::idClicked, this, &FrmGetFont::optStyle_Click);
    connect(chkUnderline, &QCheckBox::clicked, this, [this] {
        UpdateSample(Propiedad::Underline);
        picSample->setFocus();
    });
    connect(chkStrikethru, &QCheckBox::clicked, this, [this] {
        UpdateSample(Propiedad::Strikethru);
        picSample->setFocus();
    });
    connect(sldSize, &QSlider::valueChanged, this, &FrmGetFont::sldSize_Change);
    connect(sldSize, &QSlider::sliderReleased, this, [this] { picSample->setFocus(); });
    connect(TBEntradaTexto, &QLineEdit::textChanged, this, &FrmGetFont::TBEntradaTexto_Change);
    connect(TBEntradaTexto, &QLineEdit::returnPressed, this, &FrmGetFont::cmdOK_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmGetFont::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmGetFont::cmdCancel_Click);
}

void FrmGetFont::mostrarMuestra() {
    // A copy of the object's box, shrunk to fit when it is larger than the sample area.
    QImage img = mCaja->image();
    const QSize sitio(380, 58);
    if (img.width() > sitio.width() || img.height() > sitio.height())
        img = img.scaled(sitio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picSample->setPixmap(QPixmap::fromImage(img));
}

} // namespace quoravex
