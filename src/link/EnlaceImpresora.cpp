#include "EnlaceImpresora.h"

#include "Transferencia.h"

#include <algorithm>
#include <cstdint>

namespace quoravex {

namespace {
constexpr int IntervaloIntermitencia = 500;
const QString TituloCritico = QStringLiteral("Error critico");
} // namespace

EnlaceImpresora::EnlaceImpresora(SerialPort& puerto, LinkSink& sink, const ConfiguracionLinea& linea,
                                 AjustesTick ajustes, QObject* parent)
    : QObject(parent), mPuerto(puerto), mSink(sink), mLinea(linea), mAjustes(ajustes) {
    connect(&mPuerto, &SerialPort::received, this, &EnlaceImpresora::alRecibir);
    connect(&mPuerto, &SerialPort::drained, this, &EnlaceImpresora::alVaciar);
    connect(&mPuerto, &SerialPort::errorEvent, this, &EnlaceImpresora::alError);
}

EnlaceImpresora::~EnlaceImpresora() {
    CerrarPuerto();
}

bool EnlaceImpresora::Cargar(int puertoCom, bool otraInstanciaEnEjecucion) {
    mPuertoCom = puertoCom;
    mRepeticiones = 0;
    mUltimaEscrita.clear();
    if (otraInstanciaEnEjecucion) {
        mSink.mensaje(QStringLiteral("Programa ya en Ejecución"),
                      QStringLiteral("Error de inicio de ejecución"));
        return false;
    }
    if (!AbrirPuerto(puertoCom)) {
        mSink.mensaje(conMotivo(QStringLiteral("No se puede abrir el puerto ") + nombrePuerto()),
                      TituloCritico);
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        fijarMaximoBarra(i, 100);
        IniciarBarra(i);
    }
    return true;
}

QString EnlaceImpresora::nombrePuerto() const {
    return mNombrePuerto.isEmpty() ? QStringLiteral("COM") + QString::number(mPuertoCom) : mNombrePuerto;
}

QString EnlaceImpresora::conMotivo(const QString& mensaje) const {
    // The port knows why it failed (a device that is missing, a refused network connection).
    const QString motivo = mPuerto.ultimoError();
    return motivo.isEmpty() ? mensaje : mensaje + QLatin1Char('\n') + motivo;
}

bool EnlaceImpresora::AbrirPuerto(int numero) {
    CerrarPuerto();
    mPuertoCom = numero;
    mRecibido.vaciar();
    mRetenida = false;
    if (!mPuerto.open(numero, mLinea)) return false;
    // Devices that refuse line changes still carry data: the results are not checked.
    mPuerto.setRts(false);
    mPuerto.setDtr(true);
    mRts = false;
    mPuertoPerdido = false;
    return true;
}

void EnlaceImpresora::CerrarPuerto() {
    if (mPuerto.isOpen()) mPuerto.close();
    mRts = false;
}

void EnlaceImpresora::ID_send_string(QByteArrayView texto, int n) {
    const QByteArrayView bytes = texto.first(std::clamp<qsizetype>(n, 0, texto.size()));
    // What arrived before this write answers an earlier frame: it never counts for this one.
    if (mPuerto.isOpen()) mPuerto.readAll();
    mRecibido.vaciar();
    mRetenida = false;
    mRecibidosDesdeEnvio = 0;
    pararPausa();
    ++mCopias;
    const QByteArray trama = bytes.toByteArray();
    if (trama == mUltimaEscrita)
        ++mRepeticiones;
    else
        mUltimaEscrita = trama;
    mRts = true;
    mPuerto.setRts(true);
    if (!mPuerto.isOpen() || !mPuerto.write(trama))
        soltarRts(); // nothing is leaving, so no drained report will come
}

uint16_t EnlaceImpresora::SendMsgBinario(QByteArrayView buffer, int n) {
    const QByteArray trama = ConstruirTrama(buffer, n);
    if (trama.isEmpty()) return 0;
    ID_send_string(trama, static_cast<int>(trama.size()));
    return Crc16(buffer, n);
}

void EnlaceImpresora::soltarRts() {
    mRts = false;
    if (mPuerto.isOpen()) mPuerto.setRts(false);
}

void EnlaceImpresora::registrar(Transferencia* t) {
    mTransferencias.push_back(t);
}

void EnlaceImpresora::retirar(Transferencia* t) {
    std::erase(mTransferencias, t);
}

void EnlaceImpresora::despertar() {
    // A transfer that ends may start another (the send-all sequence): iterate over a copy.
    const std::vector<Transferencia*> transferencias = mTransferencias;
    for (Transferencia* t : transferencias)
        t->despertar();
}

void EnlaceImpresora::entregar(const QByteArray& respuesta) {
    RespuestaRX = respuesta;
    mRecibido.vaciar();
    mCopias = 0;
    mRetenida = false;
    mProrrogada = false;
    pararPausa();
    despertar();
}

void EnlaceImpresora::alRecibir() {
    const QByteArray nuevos = mPuerto.readAll();
    if (nuevos.isEmpty()) return;
    mProrrogada = false;
    // After several copies of a frame, the last of their replies counts: it is taken once
    // every copy has its reply, or once the line has gone quiet.
    const int esperadas = std::max(mCopias, 1);
    mRecibido.agregar(nuevos, esperadas);
    if (mRecibido.tramas() >= esperadas) {
        entregar(mRecibido.ultima());
        return;
    }
    mRetenida = mRecibido.tramas() > 0;
    mRecibidosDesdeEnvio += nuevos.size();
    if (!mPausaEnCurso || mRecibidosDesdeEnvio <= BuscadorTramas::Limite) {
        mPausaEnCurso = true;
        reiniciarReloj(Reloj::TOut);
    }
}

void EnlaceImpresora::pararPausa() {
    mPausaEnCurso = false;
    mSink.reloj(Reloj::TOut, 0);
}

void EnlaceImpresora::tickTOut() {
    pararPausa();
    if (mRecibido.bytes().isEmpty()) return;
    if (mRecibido.tramas() > 0) {
        // A reply to a later copy may still be arriving: its pieces get one more wait.
        const QByteArrayView resto = mRecibido.resto();
        if (!resto.isEmpty() && EsInicioDeTrama(resto) && !mProrrogada) {
            mProrrogada = true;
            mPausaEnCurso = true;
            reiniciarReloj(Reloj::TOut);
            return;
        }
        entregar(mRecibido.ultima());
    } else if (!EsInicioDeTrama(mRecibido.bytes())) {
        entregar(mRecibido.bytes());
    }
    // Otherwise the bytes are the start of a frame: its pieces are joined however late.
}

void EnlaceImpresora::alVaciar() {
    if (mPuerto.bytesToWrite() > 0) return;
    soltarRts();
    despertar();
}

void EnlaceImpresora::alError(int codigo) {
    if (!EsErrorPuerto(codigo) || mReabriendo || mPuertoPerdido) return;
    // Reopening can raise further events from the same port; they are part of this one.
    mReabriendo = true;
    const bool reabierto = AbrirPuerto(mPuertoCom);
    mReabriendo = false;
    if (reabierto) return;
    mPuertoPerdido = true;
    ErrorEnvio = true;
    mSink.reloj(Reloj::TOut, 0);
    mSink.mensaje(conMotivo(QStringLiteral("Error en el puerto de comunicaciones ") + nombrePuerto()),
                  TituloCritico);
    mSink.cerrarVentana();
    despertar(); // the transfers end without another frame
}

void EnlaceImpresora::IniciarBarra(int i) {
    BarraProgreso& b = mBarras.at(static_cast<size_t>(i));
    b.valor = 0;
    b.porcentaje = 0;
    mSink.barra(i, 0);
}

void EnlaceImpresora::ActualizarBarra(int i, int64_t valor) {
    BarraProgreso& b = mBarras.at(static_cast<size_t>(i));
    b.valor = static_cast<int32_t>(std::clamp<int64_t>(valor, INT32_MIN, INT32_MAX));
    if (b.maximo <= 0) return; // an empty file has no progress to show
    const int64_t porcentaje = static_cast<int64_t>(b.valor) * 100 / b.maximo;
    if (porcentaje < 0 || porcentaje > 100) return;
    b.porcentaje = static_cast<int>(porcentaje);
    mSink.barra(i, b.porcentaje);
}

void EnlaceImpresora::fijarMaximoBarra(int i, int64_t maximo) {
    mBarras.at(static_cast<size_t>(i)).maximo =
        static_cast<int32_t>(std::clamp<int64_t>(maximo, 0, INT32_MAX));
}

void EnlaceImpresora::iniciarIntermitencia() {
    mSink.reloj(Reloj::Intermitencia, IntervaloIntermitencia);
}

void EnlaceImpresora::detenerIntermitencia() {
    mSink.reloj(Reloj::Intermitencia, 0);
    mAzul = false;
    mSink.indicador(false);
}

void EnlaceImpresora::tickIntermitencia() {
    mAzul = !mAzul;
    mSink.indicador(mAzul);
}

} // namespace quoravex
