// Writes valid design files into the folder given, as seeds for the loader fuzzer; with
// "portapapeles" after the folder, clipboard entries for the clipboard decoder's fuzzer.
#include "document/ArchivoDiseno.h"
#include "document/Portapapeles.h"

#include <QDir>
#include <QFile>
#include <cstdio>

using namespace quoravex;

namespace {

int agregar(Design& d, int16_t tipo, uint32_t pulsadores, const QString& texto, uint8_t formato = 0) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Pulsadores = pulsadores;
    n.Texto = texto;
    if (formato != 0) n.Formato = formato;
    const int i = d.agregar(n);
    d.objeto(i).Pendiente = Falso;
    return i;
}

bool escribir(const QDir& dir, const char* nombre, const QByteArray& datos) {
    QFile f(dir.filePath(QString::fromLatin1(nombre)));
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER [portapapeles]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool bien = true;
    if (argc == 3) {
        Design d;
        QList<ObjetoCopiado> objetos;
        for (int16_t tipo : {TipoTextoFijo, TipoImagen, TipoLinea, TipoTurno}) {
            ObjetoCopiado c;
            c.registro = d.objeto(agregar(d, tipo, 1, QStringLiteral("Sucursal"), tipo == TipoTurno ? 11 : 0));
            if (tipo == TipoImagen) {
                c.bitmap = QByteArray("BM") + QByteArray(60, '\x11');
                c.descripcion = QByteArray(R"({"tipo":"qr","datos":"https://x.example"})");
            }
            objetos << c;
            bien &= escribir(dir, QStringLiteral("uno-%1.qvx").arg(tipo).toLatin1().constData(), CodificarObjetos({c}));
        }
        bien &= escribir(dir, "varios.qvx", CodificarObjetos(objetos));
        bien &= escribir(dir, "vacio.qvx", CodificarObjetos({}));
        return bien ? 0 : 1;
    }

    Design dos;
    agregar(dos, TipoTextoFijo, 1, QStringLiteral("Bienvenido: año €"));
    agregar(dos, TipoTurno, 1, QStringLiteral("A88"), 11);
    bien &= escribir(dir, "dos.tck", CodificarDiseno(dos));

    Design todos;
    todos.NumPulsadores = 4;
    todos.LargoTicket = 511;
    agregar(todos, TipoTextoFijo, 1 | 2, QStringLiteral("Caja"));
    const int imagen = agregar(todos, TipoImagen, 4, QString());
    todos.objeto(imagen).ImagenTrabajo = QStringLiteral("C:\\Tickets\\Imagen2.bmp");
    todos.objeto(imagen).AnchoImagen = 200;
    agregar(todos, TipoFecha, 1, QStringLiteral("31/12/2099"), 3);
    agregar(todos, TipoHora, 1, QStringLiteral("11:59 pm"), 2);
    agregar(todos, TipoTextoFijo, 64, QStringLiteral("fuera de la máscara"));
    const int linea = agregar(todos, TipoLinea, 1, QString());
    todos.objeto(linea).Grosor = 3;
    bien &= escribir(dir, "todos.tck", CodificarDiseno(todos));

    Design lleno;
    for (int i = 0; i < MaxObjetos; ++i)
        agregar(lleno, TipoTextoFijo, 1, QStringLiteral("objeto %1").arg(i + 1));
    const QByteArray cincuenta = CodificarDiseno(lleno);
    bien &= escribir(dir, "cincuenta.tck", cincuenta);
    bien &= escribir(dir, "demasiados.tck", cincuenta + cincuenta.mid(452, 3 * 452));
    bien &= escribir(dir, "cabecera.tck", cincuenta.left(452));
    return bien ? 0 : 1;
}
