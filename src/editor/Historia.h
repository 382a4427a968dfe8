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
// push-buttons, and the description files of its codes (small, and rewritten in place when
// a code changes). Working bitmaps are named by their content and never rewritten, so a
// state only names them; their bytes are kept once for the whole history (Historia).
struct EstadoDiseno {
    std::array<ObjetoTicket, NumSlots> objetos{};
    int16_t numObjetos = 0;
    int16_t idxObjMasAlto = 0;
    int16_t objeto = 0;
    int16_t largoTicket = 0;
    int16_t numPulsadores = 0;
    std::map<QString, QByteArray> descripciones; // by absolute path; a missing file is not listed

    bool operator==(const EstadoDiseno&) const = default;
};

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
    // Saving moved pictures (record path before -> after): every step names them anew, so
    // undoing past the save keeps to the design's own copies.
    void renombrarImagenes(const std::map<QString, QString>& rutas);

    // After the state of a step was put back: the window redraws.
    std::function<void(const EstadoDiseno& antes, const EstadoDiseno& ahora)> alRestaurar;

signals:
    // The history was emptied: another design is shown.
    void vaciada();

private:
    friend class PasoDiseno;
    EstadoDiseno capturar(const EstadoDiseno* anterior = nullptr);
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
    // The bytes of every working bitmap a state names, read once, to write one back that was
    // deleted outside the program.
    std::map<QString, std::pair<QString, QByteArray>> mBitmaps; // record path -> absolute path, bytes
};

} // namespace quoravex
