#pragma once

#include "RelojFalso.h"
#include "link/LinkSink.h"

#include <QList>
#include <QStringList>
#include <map>

namespace quoravex::test {

struct MensajeVisto {
    QString texto;
    QString titulo;
};

// Keeps everything the link showed, for the tests to compare.
class RecordingSink : public LinkSink {
public:
    void log(const QString& linea) override { lineas.append(linea); }
    void barra(int i, int porcentaje) override { barras[i] = porcentaje; }
    void cursorOcupado(bool o) override { ocupado = o; }
    void mensaje(const QString& texto, const QString& titulo) override { mensajes.append({texto, titulo}); }
    void indicador(bool azul) override { indicadorAzul = azul; }
    void reloj(Reloj r, int ms) override {
        relojes[r] = ms;
        if (falso) falso->reiniciar(r, ms);
    }
    void pitido() override { ++pitidos; }
    void inicioHabilitado(bool h) override { inicio = h; }
    void cerrarVentana() override { ++cierres; }

    bool relojActivo(Reloj r) const {
        const auto it = relojes.find(r);
        return it != relojes.end() && it->second > 0;
    }
    int intervalo(Reloj r) const {
        const auto it = relojes.find(r);
        return it == relojes.end() ? -1 : it->second;
    }

    QStringList lineas;
    std::map<int, int> barras;
    bool ocupado = false;
    QList<MensajeVisto> mensajes;
    bool indicadorAzul = false;
    std::map<Reloj, int> relojes;
    int pitidos = 0;
    bool inicio = true;
    int cierres = 0;
    RelojFalso* falso = nullptr; // the timers run on this virtual clock, when set
};

} // namespace quoravex::test
