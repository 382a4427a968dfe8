#include "Plantillas.h"

#include "document/ArchivoDiseno.h"
#include "document/Ficheros.h"
#include "document/Numeros.h"
#include "render/CodificacionRaster.h"
#include "render/CodigoBarras.h"
#include "render/DescripcionCodigo.h"
#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Workspace.h"

#include <QDir>
#include <QPainter>
#include <memory>

namespace quoravex {

namespace {

const QString Fuente = QStringLiteral("DejaVu Sans");
constexpr int Centrado = -1; // a left edge that centres the object across the ticket
constexpr int Margen = 16;

// A design built object by object as the designer would: every text and field measured
// in its font, its box the size of what is drawn.
class Constructor {
public:
    Constructor(const QString& carpeta, const QString& nombre, int largo) : mCarpeta(carpeta), mNombre(nombre) {
        d->LargoTicket = static_cast<int16_t>(largo);
        ws->dimensionarCanvas(largo);
    }

    void texto(const QString& t, int top, int puntos, int estilo = 0, int left = Centrado) {
        escrito(TipoTextoFijo, 0, t, top, puntos, estilo, left);
    }
    // A variable field showing the sample of its format.
    void campo(int16_t tipo, uint8_t formato, const QString& muestra, int top, int puntos, int estilo = 0,
               int left = Centrado) {
        escrito(tipo, formato, muestra, top, puntos, estilo, left);
    }
    // A field flush with the ticket's right margin.
    void campoDerecha(int16_t tipo, uint8_t formato, const QString& muestra, int top, int puntos) {
        const int i = escrito(tipo, formato, muestra, top, puntos, 0, 0);
        d->objeto(i).Left = PuntosPorFila - Margen - d->objeto(i).Width;
    }
    void linea(int top, int grosor) {
        const int i = agregar({TipoLinea, {}, top, Margen, PuntosPorFila - 2 * Margen, grosor, {}, 1});
        ObjetoTicket& o = d->objeto(i);
        o.Grosor = static_cast<int16_t>(grosor);
        o.LineaX = Margen;
        o.LineaY = static_cast<int16_t>(top);
    }
    // A picture, or a code when its parameters are given, stored as a bitmap beside the design.
    void imagen(const QImage& img, const QString& archivo, int top, const ParametrosCodigo* codigo = nullptr) {
        const QString bitmap = QDir(mCarpeta).filePath(archivo);
        if (!GuardarImagenTrabajo(img, bitmap)) falla(bitmap);
        const int i = agregar({TipoImagen, {}, top, centrar(img.width()), img.width(), img.height(), {}, 1});
        ObjetoTicket& o = d->objeto(i);
        o.ImagenTrabajo = archivo;
        o.ImagenOrigen = archivo;
        o.AnchoImagen = static_cast<int16_t>(img.width());
        if (!codigo) return;
        const QString descripcion = RutaDescripcionCodigo(archivo);
        if (!EscribirFichero(QDir(mCarpeta).filePath(descripcion), EscribirDescripcionCodigo(*codigo)))
            falla(descripcion);
        o.ImagenOrigen = descripcion;
    }
    void codigo(const ParametrosCodigo& p, const QString& archivo, int top) {
        const CodigoGenerado g = GenerarCodigo(p);
        if (g.imagen.isNull()) return falla(archivo + QStringLiteral(": ") + g.error);
        imagen(g.imagen, archivo, top, &p);
    }

    // The design file and its example values; an empty string or what failed.
    QString guardar(const QList<std::pair<QString, QString>>& muestra) {
        if (!EscribirFichero(QDir(mCarpeta).filePath(mNombre + QStringLiteral(".tck")), CodificarDiseno(*d)))
            falla(mNombre + QStringLiteral(".tck"));
        QStringList cabecera, fila;
        for (const auto& [campo, valor] : muestra) {
            cabecera << campo;
            fila << (valor.contains(QLatin1Char(';')) || valor.contains(QLatin1Char('"'))
                         ? QLatin1Char('"') + QString(valor).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                               QLatin1Char('"')
                         : valor);
        }
        const QString csv = cabecera.join(QLatin1Char(';')) + QLatin1Char('\n') + fila.join(QLatin1Char(';')) +
                            QLatin1Char('\n');
        if (!EscribirFichero(QDir(mCarpeta).filePath(mNombre + QStringLiteral(".csv")), csv.toUtf8()))
            falla(mNombre + QStringLiteral(".csv"));
        return mError;
    }

private:
    int agregar(const NuevoObjeto& n) {
        const int i = d->agregar(n);
        d->objeto(i).Pendiente = Falso;
        return i;
    }
    int escrito(int16_t tipo, uint8_t formato, const QString& t, int top, int puntos, int estilo, int left) {
        NuevoObjeto n{tipo, {}, top, 0, 0, 0, t, 1};
        if (formato != 0) n.Formato = formato;
        const int i = agregar(n);
        ObjetoTicket& o = d->objeto(i);
        o.FontName = Fuente;
        o.FontSize = static_cast<int16_t>(puntos);
        o.FontStyle = static_cast<int16_t>(estilo);
        DibujarObjeto(*d, *ws, i);
        o.Width = ws->item(i).width();
        o.Height = ws->item(i).height();
        o.Left = left == Centrado ? centrar(o.Width) : left;
        return i;
    }
    // As "Centrado Horizontal" places a box.
    static int centrar(int ancho) { return RedondeoPar((PuntosPorFila - ancho) / 2.0).value_or(0); }
    void falla(const QString& que) {
        if (mError.isEmpty()) mError = QStringLiteral("cannot write %1").arg(que);
    }

    QString mCarpeta, mNombre, mError;
    std::unique_ptr<Design> d = std::make_unique<Design>();
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
};

// The pharmacy's cross, black on white.
QImage Cruz() {
    QImage img = Surface::nuevaImagen(56, 56, ColorBlanco);
    QPainter p(&img);
    p.fillRect(QRect(19, 2, 18, 52), Qt::black);
    p.fillRect(QRect(2, 19, 52, 18), Qt::black);
    p.fillRect(QRect(24, 7, 8, 42), Qt::white);
    p.fillRect(QRect(7, 24, 42, 8), Qt::white);
    return img;
}

QString Oficina(const QString& carpeta) {
    Constructor c(carpeta, QStringLiteral("oficina"), 380);
    c.texto(QStringLiteral("{oficina}"), 6, 18, 2);
    c.texto(QStringLiteral("{direccion}"), 36, 9);
    c.linea(58, 2);
    c.texto(QStringLiteral("Su turno"), 66, 11);
    c.campo(TipoTurno, 3, QStringLiteral("888"), 84, 48, 2);
    c.campo(TipoFecha, 3, QStringLiteral("31/12/2099"), 170, 10, 0, Margen);
    c.campoDerecha(TipoHora, 1, QStringLiteral("23:59"), 170, 10);
    c.linea(196, 1);
    c.texto(QStringLiteral("Pida cita previa en nuestra web:"), 204, 9);
    ParametrosCodigo qr;
    qr.datos = QStringLiteral("{web}");
    qr.modulo = 3;
    c.codigo(qr, QStringLiteral("oficina-web.bmp"), 224);
    return c.guardar({{QStringLiteral("oficina"), QStringLiteral("Oficina de Valdepeñas")},
                      {QStringLiteral("direccion"), QStringLiteral("Calle Mayor 12, 13300 Valdepeñas")},
                      {QStringLiteral("web"), QStringLiteral("https://ejemplo.es/oficinas/valdepenas")}});
}

QString Farmacia(const QString& carpeta) {
    Constructor c(carpeta, QStringLiteral("farmacia"), 290);
    c.imagen(Cruz(), QStringLiteral("farmacia-cruz.bmp"), 6);
    c.texto(QStringLiteral("Farmacia {farmacia}"), 68, 16, 2);
    c.texto(QStringLiteral("Tel. {telefono}"), 96, 10);
    c.linea(120, 2);
    c.texto(QStringLiteral("Turno"), 128, 11);
    c.campo(TipoTurno, 2, QStringLiteral("88"), 146, 48, 2);
    c.campo(TipoFecha, 1, QStringLiteral("31/12/99"), 232, 10, 0, Margen);
    c.campoDerecha(TipoHora, 1, QStringLiteral("23:59"), 232, 10);
    c.texto(QStringLiteral("{horario}"), 258, 9, 1);
    return c.guardar({{QStringLiteral("farmacia"), QStringLiteral("Plaza Nueva")},
                      {QStringLiteral("telefono"), QStringLiteral("926 55 01 02")},
                      {QStringLiteral("horario"), QStringLiteral("Abierto de lunes a sábado, de 9:00 a 21:30")}});
}

QString Clinica(const QString& carpeta) {
    Constructor c(carpeta, QStringLiteral("clinica"), 240);
    c.texto(QStringLiteral("{clinica}"), 6, 16, 2);
    c.linea(34, 2);
    c.texto(QStringLiteral("Consulta de {departamento}"), 42, 12);
    c.texto(QStringLiteral("Su número"), 68, 10);
    c.campo(TipoTurno, 11, QStringLiteral("A88"), 86, 44, 2);
    c.campo(TipoFecha, 3, QStringLiteral("31/12/2099"), 168, 10, 0, Margen);
    c.campoDerecha(TipoHora, 1, QStringLiteral("23:59"), 168, 10);
    c.linea(194, 1);
    c.texto(QStringLiteral("Espere a ver su número en la pantalla"), 202, 9);
    return c.guardar({{QStringLiteral("clinica"), QStringLiteral("Clínica San Rafael")},
                      {QStringLiteral("departamento"), QStringLiteral("Traumatología")}});
}

} // namespace

QString EscribirPlantillas(const QString& carpeta) {
    for (const auto& escribir : {Oficina, Farmacia, Clinica})
        if (const QString error = escribir(carpeta); !error.isEmpty()) return error;
    return QString();
}

} // namespace quoravex
