#pragma once

#include "ObjetoTicket.h"

#include <QString>
#include <array>
#include <optional>

namespace quoravex {

enum class Visibilidad { Normal, Atenuada, Oculta };

// What an add command puts into the record; fields it leaves out keep the slot's old values.
struct NuevoObjeto {
    int16_t Tipo = TipoTextoFijo;
    std::optional<uint8_t> Formato; // only variable fields set it
    int32_t Top = 1;
    int32_t Left = 1;
    int32_t Width = 382;
    int32_t Height = 120;
    QString Texto;
    uint32_t Pulsadores = 1;
};

// Shown when an add is refused because all fifty slots hold objects.
inline const QString MensajeDisenoLleno =
    QStringLiteral("El diseño ya tiene 50 objetos, el máximo que admite un ticket. "
                   "Borre alguno antes de añadir otro.");

// One design: the object table, its counters and the design settings.
class Design {
public:
    std::array<ObjetoTicket, NumSlots> Objetos{};
    int16_t NumObjetos = 0;
    int16_t IdxObjMasAlto = 0; // highest slot that may be in use
    int16_t Objeto = 0;        // the current object, 0 when none

    int16_t LargoTicket = 500;
    int16_t NumPulsadores = 0;
    uint32_t VistaActual = 1;
    uint8_t ModeloTeclado = 1;
    int16_t PuertoCom = 1;
    int16_t TicketModificado = Falso;
    QString ArchivoTicket;
    QString DirTickets;

    ObjetoTicket& objeto(int i) { return Objetos.at(static_cast<size_t>(i)); }
    const ObjetoTicket& objeto(int i) const { return Objetos.at(static_cast<size_t>(i)); }
    static bool slotValido(int i) { return i >= 1 && i <= MaxObjetos; }
    bool enUso(int i) const { return slotValido(i) && objeto(i).enUso(); }

    // Every slot free, counters at 0, as at start-up.
    void vaciarTabla();

    // Lowest free slot in 1..50, or 0 when all are in use.
    int buscarSlotLibre() const;

    // Adds an object on top of the others and makes it current. Returns its slot,
    // or 0 when the table is full, in which case nothing changes.
    int agregar(const NuevoObjeto& nuevo);

    // z-order: both mark the design modified even when the order does not change.
    void traerAlFrente(int i);
    void llevarAlFondo(int i);

    // Frees slot i keeping the others' Orden contiguous. Ignores a free slot.
    void borrar(int i);

    // Bits 0..NumPulsadores, or every bit when the ticket has a single push-button.
    uint32_t mascaraDiseno() const;
    Visibilidad visibilidad(int i) const { return visibilidad(objeto(i).Pulsadores, VistaActual); }
    Visibilidad visibilidad(uint32_t pulsadores, uint32_t vista) const;

    // View mask of push-button n (0 is the common part).
    static uint32_t mascaraVista(int n) { return n <= 0 ? 1u : (1u << n); }
};

} // namespace quoravex
