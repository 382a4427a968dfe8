#pragma once

#include <QDockWidget>
#include <QList>
#include <QRect>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quoravex {

class Design;
class Workspace;

// "Propiedades": position, size, membership, text and line thickness of the objects shown
// (the selection, or the current object). Every edit applies to all of them as one step.
class PanelPropiedades : public QDockWidget {
    Q_OBJECT
public:
    PanelPropiedades(Design& d, Workspace& ws, QWidget* parent = nullptr);

    // Shows these objects; slots not in use are left out. Nothing is applied while filling.
    void mostrar(const QList<int>& objetos);
    const QList<int>& mostrados() const { return mSlots; }

    // Runs a change as one undo step; without it the change runs directly.
    std::function<void(const QString& nombre, const std::function<void()>& cambio)> paso;
    // Redraws the view after a change of text or membership.
    std::function<void()> redibujar;
    // Opens the font dialog of a text object.
    std::function<void(int slot)> abrirFuente;
    // After any applied edit.
    std::function<void()> cambiado;

    QLabel* lbTipo = nullptr;
    QSpinBox* spnX = nullptr;
    QSpinBox* spnY = nullptr;
    QSpinBox* spnAncho = nullptr;
    QSpinBox* spnAlto = nullptr;
    QLabel* lbMilimetros = nullptr;
    QGroupBox* grpPulsadores = nullptr;
    std::array<QCheckBox*, 17> chkPulsadores{}; // 0 the common part, n push-button n
    QLineEdit* txtTexto = nullptr;
    QLabel* lbFuente = nullptr;
    QPushButton* cmdFuente = nullptr;
    QSpinBox* spnGrosor = nullptr;

private:
    bool visibleEnVista(int i) const;
    // The object's box on the canvas, or its record's geometry when the view hides it.
    QRect caja(int i) const;
    void ponerCaja(int i, const QRect& r);
    // Runs a change through `paso`, then shows the result again.
    void ejecutar(const std::function<void()>& cambio);
    // Gives each listed object its new geometry (and whatever `ademas` changes) in one step.
    void aplicarCajas(const QList<std::pair<int, QRect>>& cambios,
                      const std::function<void(int i)>& ademas = {});
    void redibujarVista();

    void editarPosicion(Qt::Orientation eje, int valor);
    void editarLargo(Qt::Orientation eje, int valor);
    void editarGrosor(int valor);
    void editarPulsador(int n, bool marcado);
    void editarTexto();
    void fuente();

    Design& mDiseno;
    Workspace& mWs;
    QList<int> mSlots;
    bool mLlenando = false;
};

} // namespace quoravex
