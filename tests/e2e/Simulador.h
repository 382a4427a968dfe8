#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace quoravex::test {

// quoravex-printer-sim started for one test: its terminal's path is read from its output.
class Simulador {
public:
    explicit Simulador(const QString& salida, const QStringList& opciones = {}) : mSalida(salida) {
        mProceso.setProgram(QStringLiteral(QUORAVEX_PRINTER_SIM));
        mProceso.setArguments(QStringList{QStringLiteral("--out"), salida} + opciones);
        mProceso.setProcessChannelMode(QProcess::SeparateChannels);
        mProceso.start();
        if (!mProceso.waitForStarted(5000)) return;
        QElapsedTimer t;
        t.start();
        while (mPty.isEmpty() && t.elapsed() < 5000 && mProceso.state() == QProcess::Running) {
            mProceso.waitForReadyRead(100);
            leer();
        }
    }
    ~Simulador() {
        if (mProceso.state() != QProcess::NotRunning) {
            mProceso.terminate();
            if (!mProceso.waitForFinished(2000)) mProceso.kill();
            mProceso.waitForFinished(2000);
        }
    }

    const QString& pty() const { return mPty; }
    QProcess& proceso() { return mProceso; }

    // Every line the printer reported so far.
    QStringList lineas() {
        leer();
        return mLineas;
    }
    // Waits until the printer has reported `veces` lines with this beginning.
    bool esperarLinea(const QString& inicio, int maximoMs = 5000, int veces = 1) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            int vistas = 0;
            for (const QString& l : lineas())
                vistas += l.startsWith(inicio) ? 1 : 0;
            if (vistas >= veces) return true;
            if (t.elapsed() > maximoMs || mProceso.state() != QProcess::Running) return false;
            mProceso.waitForReadyRead(50);
        }
    }
    QByteArray archivo(const QString& nombre) const {
        QFile f(QDir(mSalida).filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    void leer() {
        mResto += mProceso.readAllStandardOutput();
        qsizetype fin;
        while ((fin = mResto.indexOf('\n')) >= 0) {
            const QString l = QString::fromUtf8(mResto.left(fin));
            mResto.remove(0, fin + 1);
            mLineas.append(l);
            if (mPty.isEmpty() && l.startsWith(QStringLiteral("PTY "))) mPty = l.mid(4).trimmed();
        }
    }

    QString mSalida;
    QProcess mProceso;
    QString mPty;
    QByteArray mResto;
    QStringList mLineas;
};

} // namespace quoravex::test
