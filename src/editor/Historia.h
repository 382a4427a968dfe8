#pragma once

#include "document/Design.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <map>

namespace quoravex {

// The design as a step leaves it: the records, the counters, the ticket's length and
// push-buttons, and the bytes of the working bitmaps that the image records point to.
struct EstadoDiseno {
    std::array<ObjetoTicket, NumSlots> objetos{};
    int16_t numObjetos = 0;
    int16_t idxObjMasAlto = 0;
    int16_t objeto = 0;
    int16_t largoTicket = 0;
    int16_t numPulsadores = 0;
    std::map<QString, QByteArray> imagenes; // by absolute path; a missing file is not listed

    bool operator==(const EstadoDiseno&) const = default;
};

// Takes the design's state. Pictures whose bytes equal those of `anterior` share its memory,
// so a long history holds each version of a picture once.
EstadoDiseno CapturarEstado(const Design& d, const QString& dirDiseno,
                            const EstadoDiseno* anterior = nullptr);
// Puts the state back into the design and rewrites the working bitmaps that differ.
void RestaurarEstado(Design& d, const EstadoDiseno& e);

// Undo and redo of the design. A step records the state before and after a change made
// through the usual commands; a change that leaves the design as it was makes no step.
// TicketModificado follows the stack: back at the state last saved or opened it is clear.
class Historia : public QObject {
    Q_OBJECT
public:
    static constexpr int MaximoPasos = 100;
    // Consecutive steps with this id and the same current object make one step.
    static constexpr int IdTeclado = 1;

    Historia(Design& d, std::function<QString()> dirDiseno, QObject* parent = nullptr);

    QUndoStack& pila() { return mPila; }

    // Runs the change as one step named `nombre`. A step opened with abrir() is closed first.
    void paso(const QString& nombre, const std::function<void()>& cambio, int id = -1);
    // A step that spans several events, such as a drag: abrir() before the first, cerrar()
    // after the last. Opening another closes the one that is open.
    void abrir(const QString& nombre);
    void cerrar();
    bool abierto() const { return mAbierto; }

    // The design now is what is on disk: after saving.
    void marcarGuardado();
    // A new design, opened or emptied: no steps, and this is the saved state.
    void vaciar();

    // After the state of a step was put back: the window redraws.
    std::function<void(const EstadoDiseno& antes, const EstadoDiseno& ahora)> alRestaurar;

private:
    friend class PasoDiseno;
    void restaurar(const EstadoDiseno& e);
    void seguirPila();

    Design& mDiseno;
    std::function<QString()> mDirDiseno;
    QUndoStack mPila;
    bool mAbierto = false;
    bool mEnPaso = false;
    bool mRestaurando = false;
    int mId = -1;
    QString mNombre;
    EstadoDiseno mAntes;
};

} // namespace quoravex
