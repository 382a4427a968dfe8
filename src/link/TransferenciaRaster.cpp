#include "TransferenciaRaster.h"

#include "document/Design.h"

namespace quoravex {

namespace {
constexpr int TicksRespuesta = 10;
constexpr int16_t ReintentosArchivo = 10;
constexpr int16_t ReintentosBloque = 100;
constexpr int MaximoDatosBloque = LargoBufTX - 7;
} // namespace

TransferenciaRaster::TransferenciaRaster(EnlaceImpresora& enlace, const Design& design,
                                         const QString& directorio)
    : Transferencia(enlace, directorio, Reloj::Raster, 0), mDesign(design) {}

QString TransferenciaRaster::NombreArchivo(int k) {
    return QStringLiteral("Salida") + (QStringLiteral("0") + QString::number(k)).right(2) +
           QStringLiteral(".bin");
}

int TransferenciaRaster::CodigoTeclado(int numPulsadores, int modeloTeclado) {
    return numPulsadores == 0 ? modeloTeclado : (numPulsadores - 1) * 16 + modeloTeclado;
}

void TransferenciaRaster::iniciar() {
    mLargoTicket = mDesign.LargoTicket;
    mNumPulsadores = mDesign.NumPulsadores;
    mModeloTeclado = mDesign.ModeloTeclado;
    mEnlace.NumEstacion = 1;
    RasterActivo = true;
    EstadoRaster = 0;
    // The erase step gets a budget of its own instead of whatever an earlier run left.
    Reintentos = ReintentosArchivo;
    mNaks = 0;
    mEnlace.iniciarIntermitencia();
    arrancar();
}

void TransferenciaRaster::paso() {
    const std::optional<uint8_t> estado = EstadoDeRespuesta(mEnlace.RespuestaRX);
    switch (EstadoRaster) {
    case 0:
        borrar();
        break;
    case 1:
        esperarBorrado(estado);
        break;
    case 2:
        log(QStringLiteral("O -> STATUS?"));
        pedirEstado();
        EstadoRaster = 1;
        break;
    case 3:
        abrirSiguiente();
        break;
    case 4:
        siguienteBloque();
        break;
    case 5:
        esperarBloque(estado);
        break;
    case 6:
        enviarBloque(QStringLiteral("O -> REPITE ENVIO ("));
        break;
    case 7:
        log(QStringLiteral("O -> STATUS?"));
        pedirEstado();
        EstadoRaster = 5;
        break;
    case 8:
        if (NumFichero <= mNumPulsadores) {
            ++NumFichero;
            EstadoRaster = 3;
        } else {
            EstadoRaster = 9;
        }
        break;
    default:
        terminar();
        break;
    }
}

void TransferenciaRaster::borrar() {
    const int k = CodigoTeclado(mNumPulsadores, mModeloTeclado);
    BufTX[0] = mEnlace.NumEstacion;
    BufTX[1] = CmdBorrado;
    BufTX[2] = 0x06;
    BufTX[3] = 0x5A;
    BufTX[4] = 0xA5;
    BufTX[5] = static_cast<uint8_t>(mLargoTicket & 0xFF);
    BufTX[6] = static_cast<uint8_t>(mLargoTicket / 256);
    BufTX[7] = static_cast<uint8_t>(k & 0xFF);
    BufTX[8] = static_cast<uint8_t>((k >> 8) & 0xFF);
    LongTX = 9;
    mEnlace.RespuestaRX.clear();
    enviar(LongTX);
    log(QStringLiteral("O -> BORRADO"));
    TicksEspera = TicksRespuesta;
    EstadoRaster = 1;
}

void TransferenciaRaster::esperarBorrado(const std::optional<uint8_t>& estado) {
    if (!estado) {
        if (TicksEspera >= 1) {
            --TicksEspera;
            log(QStringLiteral("  R -> TIME OUT"));
        } else if (gastarReintento()) {
            EstadoRaster = 0;
        }
        return;
    }
    mEnlace.RespuestaRX.clear();
    if (*estado == RespAck) {
        log(QStringLiteral("  R -> ACK"));
        NumFichero = 1;
        EstadoRaster = 3;
    } else if (*estado == RespProcesando) {
        log(QStringLiteral("  R -> PROCESANDO"));
        EstadoRaster = 2;
    } else if (gastarReintento()) {
        log(QStringLiteral("  R -> NAK"));
        EstadoRaster = 0;
    }
}

void TransferenciaRaster::abrirSiguiente() {
    log(QStringLiteral("O -> INICIO_ENVIO"));
    HayDatos = true;
    const QString nombre = NombreArchivo(NumFichero - 1);
    // Every file up to NumPulsadores was announced by the erase frame: one that is missing
    // leaves the printer with part of the design, so it is a failure.
    if (!QFile::exists(ruta(nombre)) || !abrirArchivo(nombre)) {
        archivoFaltante(nombre);
        return;
    }
    for (int i = 0; i < 4; ++i)
        mEnlace.ActualizarBarra(i, 0);
    mEnlace.sink().cursorOcupado(true);
    if (!leer(CabeceraRaster)) {
        archivoDanado(nombre);
        return;
    }
    Reintentos = ReintentosArchivo;
    EstadoRaster = 4;
}

void TransferenciaRaster::siguienteBloque() {
    const QString nombre = NombreArchivo(NumFichero - 1);
    // A file without segments is its header as a 16-bit value: the byte after it is 0.
    if (mArchivo.pos() == 1 && restante() == 1 && mArchivo.peek(1) == QByteArray(1, '\0')) mArchivo.skip(1);
    uint8_t registro[3];
    if (restante() == 0) {
        if (!HayDatos) {
            EstadoRaster = 8;
            return;
        }
        BufTX[0] = mEnlace.NumEstacion;
        BufTX[1] = CmdBloqueRaster;
        BufTX[2] = 0x04;
        BufTX[3] = CabeceraRaster;
        BufTX[4] = static_cast<uint8_t>(mLargoTicket / 256);
        BufTX[5] = static_cast<uint8_t>(mLargoTicket & 0xFF);
        BufTX[6] = 0x00;
        LongTX = 7;
        HayDatos = false;
        cerrarArchivo();
    } else {
        if (!leer(registro, 3) || registro[2] > MaximoDatosBloque || !leer(&BufTX[7], registro[2])) {
            archivoDanado(nombre);
            return;
        }
        const uint8_t c = registro[2];
        BufTX[0] = mEnlace.NumEstacion;
        BufTX[1] = CmdBloqueRaster;
        BufTX[2] = static_cast<uint8_t>(c + 4);
        BufTX[3] = CabeceraRaster;
        BufTX[4] = registro[0];
        BufTX[5] = registro[1];
        BufTX[6] = c;
        LongTX = static_cast<uint8_t>(c + 7);
        HayDatos = true;
    }
    mEnlace.RespuestaRX.clear();
    mNaks = 0;
    Reintentos = ReintentosBloque;
    enviarBloque(QStringLiteral("O -> ENVIO ("));
}

void TransferenciaRaster::enviarBloque(const QString& etiqueta) {
    enviar(LongTX);
    log(etiqueta + QLatin1Char(' ') + QString::number(LongTX) + QLatin1Char(')'));
    TicksEspera = TicksRespuesta;
    EstadoRaster = 5;
}

void TransferenciaRaster::esperarBloque(const std::optional<uint8_t>& estado) {
    if (!estado) {
        log(QStringLiteral("  R -> TIME OUT"));
        if (TicksEspera >= 1) {
            --TicksEspera;
        } else if (gastarReintento()) {
            EstadoRaster = 6;
        }
        return;
    }
    mEnlace.RespuestaRX.clear();
    if (*estado == RespAck) {
        log(QStringLiteral("  R -> ACK"));
        if (HayDatos) {
            EstadoRaster = 4;
        } else {
            cerrarArchivo();
            EstadoRaster = 8;
        }
    } else if (*estado == RespProcesando) {
        EstadoRaster = 7;
        log(QStringLiteral("  R -> PROCESANDO"));
    } else {
        log(QStringLiteral("  R -> NAK"));
        if (++mNaks > MaximoNaks)
            rendirse();
        else
            EstadoRaster = 6;
    }
}

void TransferenciaRaster::pedirEstado() {
    mEnlace.RespuestaRX.clear();
    BufTX[0] = mEnlace.NumEstacion;
    BufTX[1] = CmdStatus;
    BufTX[2] = 0x00;
    LongTX = 3;
    enviar(LongTX);
    TicksEspera = TicksRespuesta;
}

void TransferenciaRaster::terminar() {
    RasterActivo = false;
    EstadoRaster = 9;
    mEnlace.sink().cursorOcupado(false);
    mEnlace.detenerIntermitencia();
    finalizar();
}

} // namespace quoravex
