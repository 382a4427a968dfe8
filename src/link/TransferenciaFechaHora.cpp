#include "TransferenciaFechaHora.h"

namespace quoravex {

namespace {

// Each decimal digit of the text as its numeric value.
void agregarDigitos(QByteArray& destino, const QString& texto) {
    for (const QChar c : texto)
        destino.append(static_cast<char>(c.digitValue() < 0 ? 0 : c.digitValue()));
}

QString dosDigitos(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QByteArray TramaFechaHora(const QDateTime& momento) {
    const QDate fecha = momento.date();
    const QTime hora = momento.time();
    QString anio = QString::number(fecha.year());
    if (anio.size() < 4) anio = QStringLiteral("2009");
    // Sunday is 1 and Saturday 7.
    const int diaSemana = fecha.dayOfWeek() % 7 + 1;

    QByteArray trama;
    trama.append('\x00');
    trama.append(static_cast<char>(CmdFechaHora));
    trama.append('\x0F');
    agregarDigitos(trama, anio.left(4));
    agregarDigitos(trama, dosDigitos(fecha.month()));
    agregarDigitos(trama, QString::number(diaSemana));
    agregarDigitos(trama, dosDigitos(fecha.day()));
    agregarDigitos(trama, dosDigitos(hora.hour()));
    agregarDigitos(trama, dosDigitos(hora.minute()));
    agregarDigitos(trama, dosDigitos(hora.second()));
    return trama;
}

TransferenciaFechaHora::TransferenciaFechaHora(EnlaceImpresora& enlace, FuenteHora ahora)
    : mEnlace(enlace),
      mAhora(ahora ? std::move(ahora) : FuenteHora([] { return QDateTime::currentDateTime(); })) {}

void TransferenciaFechaHora::iniciar() {
    FechaHoraActivo = true;
    EstadoFechaHora = 0;
    mEnlace.sink().reloj(Reloj::FechaHora, IntervaloNominal);
}

void TransferenciaFechaHora::tick() {
    mEnlace.NumEstacion = 0;
    if (!FechaHoraActivo) return;
    if (EstadoFechaHora == 0) {
        const QByteArray trama = TramaFechaHora(mAhora());
        std::copy(trama.begin(), trama.end(), BufTX.begin());
        BufTX[0] = mEnlace.NumEstacion;
        LongTX = static_cast<uint8_t>(trama.size());
        mEnlace.RespuestaRX.clear();
        mEnlace.SendMsgBinario(QByteArrayView(BufTX.data(), LongTX), LongTX);
        mEnlace.sink().reloj(Reloj::FechaHora, EsperaCierre);
        EstadoFechaHora = 1;
    } else {
        mEnlace.sink().reloj(Reloj::FechaHora, 0);
        FechaHoraActivo = false;
        mEnlace.CerrarPuerto();
        mEnlace.sink().cursorOcupado(false);
        mEnlace.sink().cerrarVentana();
    }
}

} // namespace quoravex
