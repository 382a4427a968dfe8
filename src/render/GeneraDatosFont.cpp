#include "GeneraDatosFont.h"

#include "Surface.h"
#include "document/Design.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace quoravex {

namespace {

constexpr std::array<DescripcionCampo, 3> Campos = {{
    {TipoTurno, CaracteresTurno, 16, "DatosRasterTurno.bin", "turno"},
    {TipoFecha, CaracteresFecha, 11, "DatosRasterFecha.bin", "fecha"},
    // The printer reads the time font's count byte as 10, although 14 characters follow.
    {TipoHora, CaracteresHora, 10, "DatosRasterHora.bin", "hora"},
}};

constexpr int MagnitudMaxima = 0x7FFF;
constexpr char FinDeFuente = char(0xFF);

void agregar16(QByteArray& b, int v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

// Longest data run of a string of segments.
int segmentoMasLargo(const QByteArray& segmentos) {
    int maximo = 0;
    for (qsizetype p = 0; p + 3 <= segmentos.size(); p += 3 + uint8_t(segmentos[p + 2]))
        maximo = std::max(maximo, int(uint8_t(segmentos[p + 2])));
    return maximo;
}

// One run of the generator for one field object: the measures it keeps between steps
// and the file it builds. PicWork3 is cleared and printed on at every step.
class GeneradorFuente {
public:
    GeneradorFuente(const ObjetoTicket& objeto, CampoVariable campo, Surface& picWork3)
        : mObjeto(objeto), mCampo(Descripcion(campo)), mCaracteres(QString::fromLatin1(mCampo.Caracteres)),
          mPicWork3(picWork3), Metricas(static_cast<size_t>(mCaracteres.size())) {}

    DatosFuente generar() {
        std::optional<QByteArray> cabecera = CabeceraFuente(mObjeto, mCampo.BytesCuenta);
        if (!cabecera) return {{}, fueraDeMargen()};
        if (const QString e = medir(); !e.isEmpty()) return {{}, e};
        return EscribirFuente(*cabecera);
    }

private:
    // FilaBase, FinEspacio and the metrics of every character.
    QString medir() {
        imprimir(mCaracteres);
        FilaBase = BuscarSubrayado(mPicWork3, LadoSuperficieFuente - 1) - 1;
        if (FilaBase < 0) return noMedible();
        imprimir(QStringLiteral(" "));
        FinEspacio = FinSubrayado(mPicWork3, FilaBase + 1);
        if (FinEspacio < 0 || FinEspacio >= UltimaColumnaSubrayado) return noMedible();
        for (qsizetype j = 0; j < mCaracteres.size(); ++j) {
            imprimir(conEspacio(j));
            const MetricaCaracter m = MedirCaracter(mPicWork3, FilaBase, FinEspacio);
            // An underline that reaches the last column looked at may go on beyond it.
            if (m.Avance < 0 || FinEspacio + m.Avance >= UltimaColumnaSubrayado || m.AnchoCelda < 1)
                return noMedible();
            Metricas[static_cast<size_t>(j)] = m;
        }
        return {};
    }

    // The cell of character j in segments.
    QByteArray RasterCaracter(qsizetype j) {
        const MetricaCaracter& m = Metricas[static_cast<size_t>(j)];
        imprimir(conEspacio(j));
        return CodificarCelda(mPicWork3, m.inicio(FinEspacio), m.AnchoCelda, FilaBase);
    }

    // The header, one record per character (code, advance, size, cell) and the end mark.
    DatosFuente EscribirFuente(QByteArray salida) {
        for (qsizetype j = 0; j < mCaracteres.size(); ++j) {
            const int ancho = Metricas[static_cast<size_t>(j)].AnchoCelda;
            // Nothing is encoded from a cell too wide for the printer.
            const QByteArray celda = ancho > AnchoCeldaMaximo ? QByteArray() : RasterCaracter(j);
            if (const QString e = fueraDeLimites(j, ancho, celda); !e.isEmpty()) return {{}, e};
            salida.append(mCaracteres.at(j).toLatin1());
            agregar16(salida, Metricas[static_cast<size_t>(j)].Avance);
            agregar16(salida, int(celda.size()));
            salida.append(celda);
        }
        salida.append(FinDeFuente);
        return {salida, {}};
    }

    void imprimir(const QString& s) { PrintCaracterParaFont(mPicWork3, mObjeto, s); }
    QString conEspacio(qsizetype j) const { return QLatin1Char(' ') + mCaracteres.at(j); }

    QString inicioMensaje() const {
        return QStringLiteral("No se puede generar la fuente del campo de %1 (\"%2\", %3 puntos): ")
            .arg(QString::fromLatin1(mCampo.Nombre), mObjeto.FontName.valor(),
                 QString::number(mObjeto.FontSize));
    }
    QString noMedible() const {
        return inicioMensaje() + QStringLiteral("el texto no cabe en la superficie de trabajo. "
                                                "Elija un tamaño menor.");
    }
    QString fueraDeLimites(qsizetype j, int ancho, const QByteArray& celda) const {
        QString detalle;
        switch (RevisarLimites(ancho, celda)) {
        case LimiteFuente::Dentro:
            return {};
        case LimiteFuente::Ancho:
            detalle = QStringLiteral("mide %1 puntos de ancho y la impresora admite %2")
                          .arg(ancho)
                          .arg(AnchoCeldaMaximo);
            break;
        case LimiteFuente::Bytes:
            detalle = QStringLiteral("ocupa %1 bytes y la impresora admite %2")
                          .arg(celda.size())
                          .arg(BytesCaracterMaximo);
            break;
        case LimiteFuente::Segmento:
            detalle = QStringLiteral("tiene un tramo de %1 bytes y la impresora admite %2")
                          .arg(segmentoMasLargo(celda))
                          .arg(BytesSegmentoMaximo);
            break;
        }
        return inicioMensaje() + QStringLiteral("el carácter \"%1\" ").arg(mCaracteres.at(j)) + detalle +
               QStringLiteral(" como máximo. Elija un tamaño menor.");
    }
    QString fueraDeMargen() const {
        return QStringLiteral(
                   "No se puede generar la fuente del campo de %1: su posición (%2, %3) o su altura "
                   "(%4) están fuera de lo que admite la impresora.")
            .arg(QString::fromLatin1(mCampo.Nombre))
            .arg(mObjeto.Left)
            .arg(mObjeto.Top)
            .arg(mObjeto.Height);
    }

    const ObjetoTicket& mObjeto;
    const DescripcionCampo& mCampo;
    const QString mCaracteres;
    Surface& mPicWork3;

    int FilaBase = -1;
    int FinEspacio = 0;
    std::vector<MetricaCaracter> Metricas; // one per character of the set
};

// x and y are written as a magnitude in the low 15 bits with 0x8000 set when negative.
std::optional<int> SignoYMagnitud(int32_t v) {
    const int64_t magnitud = std::llabs(int64_t(v));
    if (magnitud > MagnitudMaxima) return std::nullopt;
    return v < 0 ? int(magnitud) | 0x8000 : int(magnitud);
}

} // namespace

const DescripcionCampo& Descripcion(CampoVariable campo) {
    return Campos.at(static_cast<size_t>(campo));
}

std::optional<QByteArray> CabeceraFuente(const ObjetoTicket& objeto, uint8_t bytesCuenta) {
    const auto x = SignoYMagnitud(objeto.Left);
    const auto y = SignoYMagnitud(objeto.Top);
    if (!x || !y || objeto.Height < 0 || objeto.Height > MagnitudMaxima) return std::nullopt;
    QByteArray b;
    agregar16(b, *x);
    agregar16(b, *y);
    agregar16(b, objeto.Height);
    b.append(static_cast<char>(objeto.Formato));
    b.append(static_cast<char>(bytesCuenta));
    return b;
}

LimiteFuente RevisarLimites(int anchoCelda, const QByteArray& celda) {
    if (anchoCelda > AnchoCeldaMaximo) return LimiteFuente::Ancho;
    if (celda.size() > BytesCaracterMaximo) return LimiteFuente::Bytes;
    if (segmentoMasLargo(celda) > BytesSegmentoMaximo) return LimiteFuente::Segmento;
    return LimiteFuente::Dentro;
}

DatosFuente GenerarFuente(const ObjetoTicket& objeto, CampoVariable campo, Surface& picWork3) {
    return GeneradorFuente(objeto, campo, picWork3).generar();
}

int SlotCampo(const Design& diseno, CampoVariable campo) {
    const int tipo = Descripcion(campo).Tipo;
    for (int i = std::min<int>(diseno.IdxObjMasAlto, MaxObjetos); i >= 1; --i)
        if (diseno.enUso(i) && diseno.objeto(i).Tipo == tipo) return i;
    return 0;
}

QString ArchivoFuente(CampoVariable campo, const QString& carpeta) {
    return QDir(carpeta).filePath(QString::fromLatin1(Descripcion(campo).Archivo));
}

ResultadoFuente GenerarArchivoFuente(const Design& diseno, CampoVariable campo, Surface& picWork3,
                                     const QString& carpeta) {
    const QString ruta = ArchivoFuente(campo, carpeta);
    const QString rutaVisible = QDir::toNativeSeparators(ruta);
    // A font left by an earlier design must not reach the printer.
    if (QFile::exists(ruta) && !QFile::remove(ruta))
        return {false, false, QStringLiteral("No se pudo borrar el archivo %1.").arg(rutaVisible)};
    const int i = SlotCampo(diseno, campo);
    if (i == 0) return {};
    const DatosFuente datos = GenerarFuente(diseno.objeto(i), campo, picWork3);
    if (!datos.error.isEmpty()) return {false, false, datos.error};
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(datos.bytes) != datos.bytes.size() ||
        !archivo.commit())
        return {false, false, QStringLiteral("No se pudo escribir el archivo %1.").arg(rutaVisible)};
    return {true, true, {}};
}

} // namespace quoravex
