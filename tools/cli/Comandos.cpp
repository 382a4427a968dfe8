#include "Comandos.h"

#include "document/Version.h"

namespace quoravex::cli {

const QList<Comando>& Comandos() {
    static const QList<Comando> comandos = {ComandoGenerate(), ComandoInfo(),  ComandoPreview(),
                                            ComandoSend(),     ComandoClock(), ComandoPuertos(),
                                            ComandoCodigo()};
    return comandos;
}

QString AyudaGeneral() {
    QString ayuda = QStringLiteral("Uso: quoravex-cli ORDEN [argumentos]\n\nÓrdenes:\n");
    for (const Comando& c : Comandos())
        ayuda += QStringLiteral("  %1  %2\n").arg(c.nombre.leftJustified(10), c.resumen);
    ayuda += QStringLiteral("\nUse \"quoravex-cli ORDEN --help\" para ver la ayuda de cada orden y\n"
                            "\"quoravex-cli --version\" para ver la versión.\n");
    return ayuda;
}

int EjecutarCli(const QStringList& palabras, Consola& consola) {
    if (palabras.isEmpty()) {
        consola.err << AyudaGeneral();
        return SalidaUso;
    }
    const QString& nombre = palabras.first();
    if (nombre == QStringLiteral("-h") || nombre == QStringLiteral("--help") ||
        nombre == QStringLiteral("help")) {
        consola.out << AyudaGeneral();
        return SalidaCorrecta;
    }
    if (nombre == QStringLiteral("--version")) {
        consola.out << TextoVersion();
        return SalidaCorrecta;
    }
    for (const Comando& c : Comandos()) {
        if (c.nombre != nombre) continue;
        const Argumentos a = AnalizarArgumentos(palabras.mid(1), c.conValor, c.sinValor);
        if (a.ayuda) {
            consola.out << c.ayuda;
            return SalidaCorrecta;
        }
        if (!a.error.isEmpty()) {
            consola.err << a.error << QStringLiteral("\n\n") << c.ayuda;
            return SalidaUso;
        }
        return c.ejecutar(a, consola);
    }
    consola.err << QStringLiteral("Orden desconocida: %1\n\n").arg(nombre) << AyudaGeneral();
    return SalidaUso;
}

} // namespace quoravex::cli
