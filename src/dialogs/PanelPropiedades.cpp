#include "PanelPropiedades.h"

#include "document/Design.h"
#include "editor/Organizar.h"
#include "render/Workspace.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace quoravex {

namespace {

constexpr int AnchoPapel = 384;
constexpr int PuntosPorMm = 8;
// Each spin box shows "—" at one below its real minimum.
constexpr int MinimoPosicion = -32767;
constexpr int MaximoValor = 32767;
const QString Vacio = QStringLiteral("—");

QString NombreTipo(int tipo) {
    switch (tipo) {
    case TipoTextoFijo:
        return QStringLiteral("Texto fijo");
    case TipoImagen:
        return QStringLiteral("Imagen");
    case TipoTurno:
        return QStringLiteral("Turno");
    case TipoFecha:
        return QStringLiteral("Fecha");
    case TipoHora:
        return QStringLiteral("Hora");
    case TipoLinea:
        return QStringLiteral("Línea");
    }
    return QString();
}

bool EsTexto(int tipo) {
    return tipo == TipoTextoFijo || tipo == TipoTurno || tipo == TipoFecha || tipo == TipoHora;
}

// The value when every object has the same one.
template <typename T, typename F> std::optional<T> Comun(const QList<int>& objetos, F valor) {
    std::optional<T> r;
    for (int i : objetos) {
        const T v = valor(i);
        if (r && *r != v) return std::nullopt;
        r = v;
    }
    return r;
}

void PonerValor(QSpinBox* s, std::optional<int> v, int minimo) {
    s->setMinimum(v ? minimo : minimo - 1);
    s->setValue(v.value_or(minimo - 1));
}

void SoloLectura(QSpinBox* s, bool b) {
    s->setReadOnly(b);
    s->setButtonSymbols(b ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
}

// Dots in millimetres with a decimal comma: 100 -> "12,5 mm".
QString Milimetros(std::optional<int> puntos) {
    if (!puntos) return Vacio;
    QString s = QString::number(*puntos / static_cast<double>(PuntosPorMm), 'f', 3);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s.replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" mm");
}

QSpinBox* NuevoSpin(const QString& nombre, QWidget* padre) {
    auto* s = new QSpinBox(padre);
    s->setObjectName(nombre);
    s->setKeyboardTracking(false);
    s->setSpecialValueText(Vacio);
    s->setMaximum(MaximoValor);
    return s;
}

} // namespace

PanelPropiedades::PanelPropiedades(Design& d, Workspace& ws, QWidget* parent)
    : QDockWidget(parent), mDiseno(d), mWs(ws) {
    setObjectName(QStringLiteral("PanelPropiedades"));
    setWindowTitle(QStringLiteral("Propiedades"));
    setAccessibleName(QStringLiteral("Propiedades"));
    auto* cuerpo = new QWidget(this);
    cuerpo->setAccessibleName(QStringLiteral("Propiedades"));
    auto* form = new QFormLayout;
    auto fila = [&](const QString& texto, QWidget* campo) {
        auto* etiqueta = new QLabel(texto + QLatin1Char(':'), cuerpo);
        etiqueta->setBuddy(campo);
        etiqueta->setAccessibleName(texto);
        campo->setAccessibleName(texto);
        form->addRow(etiqueta, campo);
    };

    lbTipo = new QLabel(cuerpo);
    lbTipo->setObjectName(QStringLiteral("lbTipo"));
    fila(QStringLiteral("Tipo"), lbTipo);
    spnX = NuevoSpin(QStringLiteral("spnX"), cuerpo);
    spnY = NuevoSpin(QStringLiteral("spnY"), cuerpo);
    spnAncho = NuevoSpin(QStringLiteral("spnAncho"), cuerpo);
    spnAlto = NuevoSpin(QStringLiteral("spnAlto"), cuerpo);
    spnGrosor = NuevoSpin(QStringLiteral("spnGrosor"), cuerpo);
    spnGrosor->setMaximum(10);
    for (QSpinBox* s : {spnX, spnY, spnAncho, spnAlto})
        s->setToolTip(QStringLiteral("En puntos de impresora (8 por milímetro)"));
    fila(QStringLiteral("X"), spnX);
    fila(QStringLiteral("Y"), spnY);
    fila(QStringLiteral("Ancho"), spnAncho);
    fila(QStringLiteral("Alto"), spnAlto);
    lbMilimetros = new QLabel(cuerpo);
    lbMilimetros->setObjectName(QStringLiteral("lbMilimetros"));
    lbMilimetros->setAccessibleName(QStringLiteral("Milímetros"));
    form->addRow(lbMilimetros);
    fila(QStringLiteral("Grosor"), spnGrosor);

    txtTexto = new QLineEdit(cuerpo);
    txtTexto->setObjectName(QStringLiteral("txtTexto"));
    txtTexto->setMaxLength(LongitudTexto);
    fila(QStringLiteral("Texto"), txtTexto);
    lbFuente = new QLabel(cuerpo);
    lbFuente->setObjectName(QStringLiteral("lbFuente"));
    cmdFuente = new QPushButton(QStringLiteral("Fuente..."), cuerpo);
    cmdFuente->setObjectName(QStringLiteral("cmdFuente"));
    cmdFuente->setAccessibleName(QStringLiteral("Fuente..."));
    auto* filaFuente = new QWidget(cuerpo);
    auto* hFuente = new QHBoxLayout(filaFuente);
    hFuente->setContentsMargins(0, 0, 0, 0);
    hFuente->addWidget(lbFuente, 1);
    hFuente->addWidget(cmdFuente);
    fila(QStringLiteral("Fuente"), filaFuente);
    lbFuente->setAccessibleName(QStringLiteral("Fuente"));

    grpPulsadores = new QGroupBox(QStringLiteral("Pertenece a"), cuerpo);
    grpPulsadores->setObjectName(QStringLiteral("grpPulsadores"));
    grpPulsadores->setAccessibleName(QStringLiteral("Pertenece a"));
    auto* rejilla = new QGridLayout(grpPulsadores);
    for (int n = 0; n <= MaxPulsadores; ++n) {
        const QString texto = n == 0 ? QStringLiteral("Común") : QStringLiteral("Pulsador %1").arg(n);
        auto* c = new QCheckBox(texto, grpPulsadores);
        c->setObjectName(QStringLiteral("chkPulsadores_%1").arg(n));
        c->setAccessibleName(texto);
        if (n == 0)
            rejilla->addWidget(c, 0, 0, 1, 2);
        else
            rejilla->addWidget(c, 1 + (n - 1) / 2, (n - 1) % 2);
        connect(c, &QCheckBox::clicked, this, [this, n](bool marcado) {
            if (!mLlenando) editarPulsador(n, marcado);
        });
        chkPulsadores[static_cast<size_t>(n)] = c;
    }

    auto* columna = new QVBoxLayout(cuerpo);
    columna->addLayout(form);
    columna->addWidget(grpPulsadores);
    columna->addStretch(1);
    setWidget(cuerpo);

    auto alCambiar = [this](QSpinBox* s, std::function<void(int)> editar) {
        connect(s, &QSpinBox::valueChanged, this, [this, editar](int v) {
            if (!mLlenando) editar(v);
        });
    };
    alCambiar(spnX, [this](int v) { editarPosicion(Qt::Horizontal, v); });
    alCambiar(spnY, [this](int v) { editarPosicion(Qt::Vertical, v); });
    alCambiar(spnAncho, [this](int v) { editarLargo(Qt::Horizontal, v); });
    alCambiar(spnAlto, [this](int v) { editarLargo(Qt::Vertical, v); });
    alCambiar(spnGrosor, [this](int v) { editarGrosor(v); });
    connect(txtTexto, &QLineEdit::editingFinished, this, &PanelPropiedades::editarTexto);
    connect(cmdFuente, &QPushButton::clicked, this, &PanelPropiedades::fuente);
    mostrar({});
}

bool PanelPropiedades::visibleEnVista(int i) const {
    return mDiseno.visibilidad(i) != Visibilidad::Oculta;
}

QRect PanelPropiedades::caja(int i) const {
    if (visibleEnVista(i)) return mWs.item(i).geometry();
    const ObjetoTicket& o = mDiseno.objeto(i);
    return QRect(o.Left, o.Top, o.Width, o.Height);
}

void PanelPropiedades::ponerCaja(int i, const QRect& r) {
    QRect g = r;
    if (visibleEnVista(i)) {
        Surface& s = mWs.item(i);
        // Only lines change size here: their box is solid in its own colour.
        if (s.width() != r.width() || s.height() != r.height()) {
            s.resize(r.width(), r.height());
            s.clear();
        }
        s.move(r.left(), r.top());
        s.refresh();
        g = s.geometry();
    }
    ObjetoTicket& o = mDiseno.objeto(i);
    o.Top = g.top();
    o.Left = g.left();
    o.Width = g.width();
    o.Height = g.height();
}

void PanelPropiedades::mostrar(const QList<int>& objetos) {
    QList<int> elegidos;
    for (int i : objetos)
        if (mDiseno.enUso(i) && !elegidos.contains(i)) elegidos << i;
    mSlots = elegidos;
    mLlenando = true;
    const bool hay = !elegidos.isEmpty();
    auto objeto = [this](int i) -> const ObjetoTicket& { return mDiseno.objeto(i); };

    const auto tipo = Comun<int>(elegidos, [&](int i) { return int{objeto(i).Tipo}; });
    if (!hay)
        lbTipo->clear();
    else if (!tipo)
        lbTipo->setText(QStringLiteral("%1 objetos").arg(elegidos.size()));
    else if (elegidos.size() == 1)
        lbTipo->setText(NombreTipo(*tipo));
    else
        lbTipo->setText(QStringLiteral("%1 (%2)").arg(NombreTipo(*tipo)).arg(elegidos.size()));

    const auto x = Comun<int>(elegidos, [&](int i) { return caja(i).left(); });
    const auto y = Comun<int>(elegidos, [&](int i) { return caja(i).top(); });
    const auto ancho = Comun<int>(elegidos, [&](int i) { return caja(i).width(); });
    const auto alto = Comun<int>(elegidos, [&](int i) { return caja(i).height(); });
    const bool lineas = tipo == TipoLinea;
    const bool horizontales =
        lineas && std::ranges::all_of(elegidos, [&](int i) { return caja(i).width() > caja(i).height(); });
    const bool verticales =
        lineas && std::ranges::none_of(elegidos, [&](int i) { return caja(i).width() > caja(i).height(); });
    PonerValor(spnX, x, MinimoPosicion);
    PonerValor(spnY, y, MinimoPosicion);
    PonerValor(spnAncho, ancho, 1);
    PonerValor(spnAlto, alto, 1);
    SoloLectura(spnAncho, !horizontales);
    SoloLectura(spnAlto, !verticales);
    for (QSpinBox* s : {spnX, spnY, spnAncho, spnAlto})
        s->setEnabled(hay);
    lbMilimetros->setText(hay ? QStringLiteral("X %1  Y %2  ancho %3  alto %4")
                                    .arg(Milimetros(x), Milimetros(y), Milimetros(ancho), Milimetros(alto))
                              : QString());
    PonerValor(spnGrosor,
               lineas ? Comun<int>(elegidos, [&](int i) { return int{objeto(i).Grosor}; }) : std::nullopt, 1);
    spnGrosor->setEnabled(lineas);

    const bool textos = tipo == TipoTextoFijo;
    const auto texto = Comun<QString>(elegidos, [&](int i) { return objeto(i).Texto.valor(); });
    txtTexto->setText(textos ? texto.value_or(QString()) : QString());
    txtTexto->setPlaceholderText(textos && !texto ? Vacio : QString());
    txtTexto->setEnabled(textos);
    const bool conFuente =
        hay && std::ranges::all_of(elegidos, [&](int i) { return EsTexto(objeto(i).Tipo); });
    const auto nombreFuente = Comun<QString>(elegidos, [&](int i) {
        return QStringLiteral("%1, %2 pt").arg(objeto(i).FontName.valor()).arg(objeto(i).FontSize);
    });
    lbFuente->setText(conFuente ? nombreFuente.value_or(Vacio) : QString());
    cmdFuente->setEnabled(conFuente && elegidos.size() == 1);

    // Variable fields always belong to the common part; the others decide what is ticked.
    QList<int> miembros;
    for (int i : elegidos)
        if (!objeto(i).esCampoVariable()) miembros << i;
    const QList<int>& vistos = miembros.isEmpty() ? elegidos : miembros;
    grpPulsadores->setVisible(mDiseno.NumPulsadores != 0);
    for (int n = 0; n <= MaxPulsadores; ++n) {
        QCheckBox* c = chkPulsadores[static_cast<size_t>(n)];
        const auto tiene =
            Comun<bool>(vistos, [&](int i) { return ((objeto(i).Pulsadores >> n) & 1u) != 0; });
        Qt::CheckState estado = Qt::Unchecked;
        if (hay) estado = !tiene ? Qt::PartiallyChecked : *tiene ? Qt::Checked : Qt::Unchecked;
        c->setTristate(estado == Qt::PartiallyChecked);
        c->setCheckState(estado);
        c->setEnabled(!miembros.isEmpty());
        c->setVisible(n <= mDiseno.NumPulsadores);
    }
    mLlenando = false;
}

void PanelPropiedades::ejecutar(const std::function<void()>& cambio) {
    const auto todo = [&] {
        cambio();
        mDiseno.TicketModificado = Verdadero;
    };
    if (paso)
        paso(QStringLiteral("Propiedades"), todo);
    else
        todo();
    mostrar(QList<int>(mSlots));
    if (cambiado) cambiado();
}

void PanelPropiedades::redibujarVista() {
    if (redibujar) redibujar();
}

void PanelPropiedades::aplicarCajas(const QList<std::pair<int, QRect>>& cambios,
                                    const std::function<void(int i)>& ademas) {
    if (cambios.isEmpty()) {
        mostrar(QList<int>(mSlots)); // the field shows the stored value again
        return;
    }
    ejecutar([&] {
        for (const auto& [i, r] : cambios) {
            if (ademas) ademas(i);
            ponerCaja(i, r);
        }
    });
}

void PanelPropiedades::editarPosicion(Qt::Orientation eje, int valor) {
    if (valor < MinimoPosicion) return; // "—"
    QList<std::pair<int, QRect>> cambios;
    for (int i : mSlots) {
        const QRect a = caja(i);
        const auto [lefts, tops] =
            LimitesArrastre(mDiseno.objeto(i).Tipo == TipoLinea, a.width(), a.height(), mDiseno.LargoTicket);
        QRect r = a;
        if (eje == Qt::Horizontal)
            r.moveLeft(lefts.ajustar(valor));
        else
            r.moveTop(tops.ajustar(valor));
        if (r != a) cambios.append({i, r});
    }
    aplicarCajas(cambios);
}

void PanelPropiedades::editarLargo(Qt::Orientation eje, int valor) {
    if (valor < 1) return;
    QList<std::pair<int, QRect>> cambios;
    for (int i : mSlots) {
        const QRect a = caja(i);
        const bool horizontal = a.width() > a.height();
        if (mDiseno.objeto(i).Tipo != TipoLinea || horizontal != (eje == Qt::Horizontal)) continue;
        // The length stays longer than the thickness, so that the line keeps its direction.
        QRect r = a;
        if (horizontal)
            r.setWidth(std::max(std::min(valor, AnchoPapel), a.height() + 1));
        else
            r.setHeight(std::max(std::min(valor, int{mDiseno.LargoTicket}), a.width()));
        if (r != a) cambios.append({i, r});
    }
    aplicarCajas(cambios);
}

void PanelPropiedades::editarGrosor(int valor) {
    if (valor < 1) return;
    QList<std::pair<int, QRect>> cambios;
    for (int i : mSlots) {
        const ObjetoTicket& o = mDiseno.objeto(i);
        if (o.Tipo != TipoLinea) continue;
        // A vertical line (or a square) is as wide as its thickness, a horizontal one as high.
        const QRect a = caja(i);
        QRect r = a;
        if (a.width() <= a.height())
            r.setWidth(valor);
        else
            r.setHeight(valor);
        if (r != a || o.Grosor != valor) cambios.append({i, r});
    }
    aplicarCajas(cambios, [&](int i) { mDiseno.objeto(i).Grosor = static_cast<int16_t>(valor); });
}

void PanelPropiedades::editarPulsador(int n, bool marcado) {
    // As in the push-button dialog, the common part stands alone.
    const uint32_t bit = 1u << n;
    QList<std::pair<int, uint32_t>> cambios;
    for (int i : mSlots) {
        const ObjetoTicket& o = mDiseno.objeto(i);
        if (o.esCampoVariable()) continue;
        uint32_t m = o.Pulsadores;
        if (!marcado)
            m &= ~bit;
        else
            m = n == 0 ? 1u : (m | bit) & ~1u;
        if (m != o.Pulsadores) cambios.append({i, m});
    }
    if (cambios.isEmpty()) {
        mostrar(QList<int>(mSlots));
        return;
    }
    ejecutar([&] {
        for (const auto& [i, m] : cambios)
            mDiseno.objeto(i).Pulsadores = m;
        redibujarVista();
    });
}

void PanelPropiedades::editarTexto() {
    // Focus leaving the box untouched applies nothing.
    if (mLlenando || !txtTexto->isModified()) return;
    txtTexto->setModified(false);
    const QString texto = TextoFijo<LongitudTexto>::recortarEspacios(txtTexto->text());
    QList<int> cambian;
    for (int i : mSlots)
        if (mDiseno.objeto(i).Tipo == TipoTextoFijo && mDiseno.objeto(i).Texto.valor() != texto) cambian << i;
    if (cambian.isEmpty()) {
        mostrar(QList<int>(mSlots));
        return;
    }
    ejecutar([&] {
        for (int i : cambian)
            mDiseno.objeto(i).Texto = texto;
        redibujarVista();
        // The redrawn box has the new text's size; the record follows it.
        for (int i : cambian)
            if (visibleEnVista(i)) ponerCaja(i, mWs.item(i).geometry());
    });
}

void PanelPropiedades::fuente() {
    if (mSlots.size() != 1 || !abrirFuente) return;
    abrirFuente(mSlots.front());
    mostrar(QList<int>(mSlots));
}

} // namespace quoravex
