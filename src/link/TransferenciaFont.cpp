#include "TransferenciaFont.h"

namespace quoravex {

namespace {
constexpr int TicksRespuesta = 10;
constexpr int TicksBloque = 50;
constexpr int16_t ReintentosPaso = 10;
constexpr int MaximoDatosBloque = LargoBufTX - 6;
constexpr uint8_t FinCaracteres = 0xFF;
} // namespace

const TipoFont& TipoFont::Turno() {
    static const TipoFont t{QStringLiteral("DatosRasterTurno.bin"),
                            0x19,
                            0x1A,
                            0x1B,
                            QStringLiteral("O -> ENV_DATOS_TURNO"),
                            Reloj::FontTurno,
                            1};
    return t;
}

const TipoFont& TipoFont::Fecha() {
    static const TipoFont t{QStringLiteral("DatosRasterFecha.bin"),
                            0x23,
                            0x24,
                            0x25,
                            QStringLiteral("O -> ENV_DATOS_FECHA"),
                            Reloj::FontFecha,
                            2};
    return t;
}

const TipoFont& TipoFont::Hora() {
    static const TipoFont t{QStringLiteral("DatosRasterHora.bin"),
                            0x2D,
                            0x2E,
                            0x2F,
                            QStringLiteral("O -> ENV_DATOS_HORA"),
                            Reloj::FontHora,
                            3};
    return t;
}

TransferenciaFont::TransferenciaFont(EnlaceImpresora& enlace, const TipoFont& tipo, const QString& directorio)
    : Transferencia(enlace, directorio, tipo.reloj, tipo.barra), mTipo(tipo) {}

void TransferenciaFont::iniciar() {
    mEnlace.NumEstacion = 1;
    FontActivo = true;
    EstadoFont = 0;
    mEnlace.iniciarIntermitencia();
    arrancar();
}

void TransferenciaFont::paso() {
    const std::optional<uint8_t> estado = EstadoDeRespuesta(mEnlace.RespuestaRX);
    switch (EstadoFont) {
    case 0:
        abrir();
        break;
    case 1:
        log(mTipo.etiquetaDatos);
        BufTX[0] = mEnlace.NumEstacion;
        BufTX[1] = mTipo.comandoDatos;
        BufTX[2] = 0x08;
        std::copy(DatosFont.begin(), DatosFont.end(), BufTX.begin() + 3);
        LongTX = 11;
        enviarFrame(2, TicksRespuesta);
        break;
    case 2:
        esperarDatos(estado);
        break;
    case 3:
        log(QStringLiteral("O -> STATUS?"));
        pedirEstado(2);
        break;
    case 4:
        siguienteCaracter();
        break;
    case 5:
        log(QStringLiteral("O -> ENV_CABECERA_FONT"));
        BufTX[0] = mEnlace.NumEstacion;
        BufTX[1] = mTipo.comandoCabecera;
        BufTX[2] = 0x05;
        std::copy(CabeceraCaracter.begin(), CabeceraCaracter.end(), BufTX.begin() + 3);
        TotalCaracter = CabeceraCaracter[4] * 256 + CabeceraCaracter[3];
        EnviadoCaracter = 0;
        LongTX = 8;
        enviarFrame(6, TicksRespuesta);
        break;
    case 6:
        esperarCabecera(estado);
        break;
    case 7:
        pedirEstado(6);
        break;
    case 8:
        siguienteBloque();
        break;
    case 9:
        log(QStringLiteral("O -> ENV_RASTER_FONT( ") + QString::number(LongTX) + QLatin1Char(')'));
        enviarFrame(10, TicksBloque);
        break;
    case 10:
        esperarBloque(estado);
        break;
    case 12:
        pedirEstado(10);
        break;
    case 13:
        log(QStringLiteral("O -> ENV_TERMINADOR_FONT"));
        BufTX[0] = mEnlace.NumEstacion;
        BufTX[1] = mTipo.comandoCabecera;
        BufTX[2] = 0x01;
        BufTX[3] = FinCaracteres;
        CabeceraCaracter[0] = FinCaracteres;
        LongTX = 4;
        enviarFrame(14, TicksRespuesta);
        break;
    case 14:
        esperarTerminador(estado);
        break;
    case 15:
        pedirEstado(14);
        break;
    default:
        terminar();
        break;
    }
}

void TransferenciaFont::abrir() {
    if (!QFile::exists(ruta(mTipo.archivo)) || !abrirArchivo(mTipo.archivo)) {
        EstadoFont = 16;
        return;
    }
    mEnlace.sink().cursorOcupado(true);
    if (mArchivo.size() == 0) {
        cerrarArchivo();
        EstadoFont = 16;
        return;
    }
    if (!leer(DatosFont.data(), static_cast<int>(DatosFont.size()))) {
        archivoDanado(mTipo.archivo);
        return;
    }
    Reintentos = ReintentosPaso;
    EstadoFont = 1;
}

void TransferenciaFont::siguienteCaracter() {
    uint8_t c = 0;
    if (!leer(c)) {
        // The characters end with 0xFF: a file without it was cut short.
        archivoDanado(mTipo.archivo);
        return;
    }
    CabeceraCaracter[0] = c;
    if (c == FinCaracteres) {
        actualizarBarra();
        cerrarArchivo();
        // The terminator's budget is set once; its retries must not renew it.
        Reintentos = ReintentosPaso;
        EstadoFont = 13;
        return;
    }
    if (!leer(&CabeceraCaracter[1], 4)) {
        archivoDanado(mTipo.archivo);
        return;
    }
    Reintentos = ReintentosPaso;
    EstadoFont = 5;
}

void TransferenciaFont::siguienteBloque() {
    if (EnviadoCaracter >= TotalCaracter) {
        EstadoFont = 4;
        return;
    }
    uint8_t registro[3];
    if (!leer(registro, 3) || registro[2] > MaximoDatosBloque || !leer(&BufTX[6], registro[2])) {
        archivoDanado(mTipo.archivo);
        return;
    }
    const uint8_t n = registro[2];
    BufTX[0] = mEnlace.NumEstacion;
    BufTX[1] = mTipo.comandoRaster;
    BufTX[2] = static_cast<uint8_t>(n + 3);
    BufTX[3] = registro[0];
    BufTX[4] = registro[1];
    BufTX[5] = n;
    LongTX = static_cast<uint8_t>(n + 6);
    EnviadoCaracter += n + 3;
    Reintentos = ReintentosPaso;
    EstadoFont = 9;
}

void TransferenciaFont::enviarFrame(int siguiente, int ticks) {
    mEnlace.RespuestaRX.clear();
    enviar(LongTX);
    TicksEspera = ticks;
    EstadoFont = siguiente;
}

void TransferenciaFont::pedirEstado(int siguiente) {
    mEnlace.RespuestaRX.clear();
    const BufferTX BufStatus{mEnlace.NumEstacion, CmdStatus, 0x00};
    mEnlace.SendMsgBinario(QByteArrayView(BufStatus.data(), 3), 3);
    TicksEspera = TicksRespuesta;
    EstadoFont = siguiente;
}

void TransferenciaFont::reintentar(int siguiente) {
    if (gastarReintento()) EstadoFont = siguiente;
}

void TransferenciaFont::ignorar() {
    mEnlace.RespuestaRX.clear();
    if (TicksEspera >= 1) --TicksEspera;
}

void TransferenciaFont::esperarDatos(const std::optional<uint8_t>& estado) {
    if (!estado) {
        log(QStringLiteral("  R -> TIME OUT"));
        if (TicksEspera >= 1)
            --TicksEspera;
        else
            reintentar(1);
        return;
    }
    mEnlace.RespuestaRX.clear();
    if (*estado == RespAck) {
        log(QStringLiteral("  R -> ACK"));
        EstadoFont = 4;
    } else if (*estado == RespProcesando) {
        log(QStringLiteral("  R -> PROCESANDO"));
        EstadoFont = 3;
    } else {
        log(QStringLiteral("  R -> NAK"));
        if (*estado == RespRepetir)
            reintentar(1);
        else
            EstadoFont = 3;
    }
}

void TransferenciaFont::esperarCabecera(const std::optional<uint8_t>& estado) {
    if (!estado) {
        log(QStringLiteral("  R -> TIME OUT"));
        if (TicksEspera >= 1)
            --TicksEspera;
        else
            reintentar(7);
    } else if (*estado == RespAck) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> ACK"));
        EstadoFont = 8;
    } else if (*estado == RespProcesando) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> PROCESANDO"));
        EstadoFont = 7;
    } else if (*estado == RespRepetir) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> NAK"));
        reintentar(5);
    } else {
        ignorar();
    }
}

void TransferenciaFont::esperarBloque(const std::optional<uint8_t>& estado) {
    if (!estado) {
        log(QStringLiteral("  R -> TIME OUT"));
        if (TicksEspera >= 1) {
            --TicksEspera;
        } else if (gastarReintento()) {
            log(QStringLiteral("  R -> REPITE"));
            EstadoFont = 12;
        }
    } else if (*estado == RespAck) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> ACK"));
        EstadoFont = EnviadoCaracter >= TotalCaracter ? 4 : 8;
    } else if (*estado == RespProcesando) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> PROCESANDO"));
        EstadoFont = 12;
    } else if (*estado == RespRepetir) {
        mEnlace.RespuestaRX.clear();
        log(QStringLiteral("  R -> NAK"));
        reintentar(9);
    } else {
        ignorar();
    }
}

void TransferenciaFont::esperarTerminador(const std::optional<uint8_t>& estado) {
    if (!estado) {
        log(QStringLiteral("  R -> TIME OUT"));
        if (TicksEspera >= 1)
            --TicksEspera;
        else
            reintentar(13);
        return;
    }
    mEnlace.RespuestaRX.clear();
    if (*estado == RespAck) {
        log(QStringLiteral("  R -> ACK"));
        EstadoFont = 16;
    } else if (*estado == RespProcesando) {
        log(QStringLiteral("  R -> PROCESANDO"));
        EstadoFont = 15;
    } else {
        log(QStringLiteral("  R -> NAK"));
        reintentar(13);
    }
}

void TransferenciaFont::terminar() {
    log(QStringLiteral("O -> FIN_ENVIO_FONT"));
    FontActivo = false;
    EstadoFont = 0;
    mEnlace.sink().cursorOcupado(false);
    mEnlace.detenerIntermitencia();
    finalizar();
}

} // namespace quoravex
