// "Dispositivo...": the user picks the printer's port from the ports present, the choice is
// kept, shown, and used by the sends, below the environment and above Morvane.cfg.
#include "VentanaPrueba.h"

#include <QStatusBar>
#include <QTreeWidget>

using namespace quoravex;

TEST(Dispositivo, ChosenFromTheDetectedPortsKeptShownAndUsedBelowTheEnvironment) {
    qunsetenv("QUORAVEX_COM2");
    GuardarDispositivoElegido(2, {});
    VentanaPrueba v("Comunication Port=COM2\nDevice COM2 = /dev/ttyUSB1\n");
    const QString estable = QStringLiteral("/dev/serial/by-id/usb-Quoravex_Prueba_B7-if00-port0");
    const PuertoDetectado primero{QStringLiteral("/dev/ttyACM0"), QStringLiteral("ttyACM0"), QStringLiteral("CDC ACM"),
                                  QStringLiteral("Acme"), {}, QStringLiteral("2341:0043"),
                                  QStringLiteral("/dev/serial/by-id/usb-Acme_1")};
    const PuertoDetectado sistema{QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")};
    const PuertoDetectado nuevo{QStringLiteral("/dev/ttyUSB3"), QStringLiteral("ttyUSB3"), QStringLiteral("FT232R USB UART"),
                                QStringLiteral("FTDI"), QStringLiteral("B7"), QStringLiteral("0403:6001"), estable};
    QList<QList<PuertoDetectado>> listas = {{primero, sistema}, {primero, nuevo, sistema}};
    v.f.detectarPuertos = [&] { return listas.size() > 1 ? listas.takeFirst() : listas.first(); };
    QLabel* estado = v.f.statusBar()->findChild<QLabel*>(QStringLiteral("LbPuerto"));
    ASSERT_NE(estado, nullptr);
    EXPECT_EQ(estado->text(), QStringLiteral("COM2: /dev/ttyUSB1"));

    // A new adapter appears with "Actualizar"; a bad network name cannot be accepted.
    v.dispositivo = [&](FrmDispositivo& f) {
        EXPECT_EQ(f.TxtDispositivo->placeholderText(), QStringLiteral("/dev/ttyUSB1"));
        EXPECT_EQ(f.LstPuertos->topLevelItemCount(), 2);
        f.PBActualizar->click();
        ASSERT_EQ(f.LstPuertos->topLevelItemCount(), 3);
        EXPECT_EQ(f.LstPuertos->topLevelItem(1)->text(0), estable);
        EXPECT_EQ(f.LstPuertos->topLevelItem(1)->text(1),
                  QStringLiteral("FT232R USB UART, FTDI, n.º de serie B7, USB 0403:6001, /dev/ttyUSB3"));
        EXPECT_EQ(f.LstPuertos->topLevelItem(2)->text(1), QString());
        f.TxtDispositivo->setText(QStringLiteral("rfc2217://sin-puerto"));
        EXPECT_EQ(std::pair(f.CmdAceptar->isEnabled(), f.LbAviso->text().isEmpty()), std::pair(false, false));
        f.LstPuertos->topLevelItem(1)->setSelected(true);
        EXPECT_EQ(std::pair(f.dispositivo(), f.CmdAceptar->isEnabled()), std::pair(estable, true));
        f.CmdAceptar->click();
    };
    v.menu("MnuPortSerie_Dispositivo");
    EXPECT_EQ(
        std::tuple(DispositivosElegidos().value(2), estado->text(), v.accion("MnuPortSerie_2")->statusTip()),
        std::tuple(estable, QStringLiteral("COM2: ") + estable, estable));

    // The sends open the chosen device; its absence is explained.
    v.f.crearPuerto = nullptr;
    v.menu("mnuEnviarFechaHora");
    ASSERT_EQ(v.errores.size(), 1);
    EXPECT_TRUE(v.errores[0].startsWith(
        QStringLiteral("No se puede abrir el puerto COM2 (%1)\n%1: el dispositivo no existe").arg(estable)))
        << v.errores[0].toStdString();

    // The environment wins, and the dialog says so; a new window reads the kept choice.
    qputenv("QUORAVEX_COM2", "/dev/pts/77");
    v.f.marcarPuerto();
    EXPECT_EQ(estado->text(), QStringLiteral("COM2: /dev/pts/77"));
    v.dispositivo = [&](FrmDispositivo& f) {
        EXPECT_EQ(f.dispositivo(), estable);
        EXPECT_TRUE(f.LbNota->text().contains(QStringLiteral("QUORAVEX_COM2")))
            << f.LbNota->text().toStdString();
        f.TxtDispositivo->clear(); // empty: back to the configuration
        f.CmdAceptar->click();
    };
    v.menu("MnuPortSerie_Dispositivo");
    qunsetenv("QUORAVEX_COM2");
    EXPECT_FALSE(DispositivosElegidos().contains(2));
    v.f.marcarPuerto();
    EXPECT_EQ(estado->text(), QStringLiteral("COM2: /dev/ttyUSB1"));
}
