#include "dialogs/FrmGetImagen.h"
#include "dialogs/VistaImagen.h"
#include "document/Design.h"
#include "render/Workspace.h"
#include "support/FicherosImagen.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;
using namespace pruebas;

namespace {

class FrmGetImagenTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 6; ++i) // the image lands in slot 7
            d.agregar(NuevoObjeto{});
        NuevoObjeto n;
        n.Tipo = TipoImagen;
        n.Width = n.Height = 96;
        n.Left = 20;
        n.Top = 30;
        slot = d.agregar(n);
        d.objeto(slot).AnchoImagen = 96;
        ws.colocar(slot, d.objeto(slot));
    }

    std::unique_ptr<FrmGetImagen> abrir() {
        auto f = std::make_unique<FrmGetImagen>(d, ws);
        f->Avisar = [this](const QString& t) { avisos << t; };
        f->ElegirFichero = [this] {
            ++elecciones;
            return eleccion;
        };
        f->show();
        return f;
    }

    static VistaImagen* vista(FrmGetImagen& f) {
        return f.findChild<VistaImagen*>(QStringLiteral("Picture1"));
    }
    static SliderTamano* slider(FrmGetImagen& f) {
        return f.findChild<SliderTamano*>(QStringLiteral("sldSize"));
    }

    // A real drop of file addresses onto the preview, entering first as a drag does.
    static bool soltar(FrmGetImagen& f, const QStringList& rutas) {
        QMimeData datos;
        QList<QUrl> urls;
        for (const QString& r : rutas)
            urls << QUrl::fromLocalFile(r);
        datos.setUrls(urls);
        VistaImagen* v = vista(f);
        const QPoint centro = v->rect().center();
        QDragEnterEvent entrada(centro, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v, &entrada);
        if (!entrada.isAccepted()) return false;
        QDropEvent suelta(QPointF(centro), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v, &suelta);
        return suelta.isAccepted();
    }

    // Where the slider's handle is drawn.
    static QPoint centroAsa(QSlider& s) {
        QStyleOptionSlider o;
        o.initFrom(&s);
        o.orientation = s.orientation();
        o.minimum = s.minimum();
        o.maximum = s.maximum();
        o.sliderPosition = o.sliderValue = s.value();
        return s.style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, &s).center();
    }

    // What the preview shows with a message, drawn the same way on a spare surface.
    static QImage conMensaje(const QString& texto) {
        Surface s(240, 240);
        MensajeImagen(s, texto);
        return s.image();
    }

    QString escribir(const QString& nombre, const QByteArray& datos) {
        const QString ruta = dir.ruta(nombre);
        EXPECT_TRUE(Escribir(ruta, datos));
        return ruta;
    }

    DirectorioActualTemporal dir;
    Design d;
    Workspace ws;
    int slot = 0;
    QStringList avisos;
    QString eleccion;
    int elecciones = 0;
};

} // namespace

TEST_F(FrmGetImagenTest, OpensWithThePromptAndTheSliderDisabled) {
    auto f = abrir();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Edición de Imagenes"));
    EXPECT_EQ(f->findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("&OK"));
    EXPECT_EQ(f->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("&Cancelar"));
    EXPECT_TRUE(vista(*f)->acceptDrops());
    EXPECT_EQ(vista(*f)->superficie().image(), conMensaje(QStringLiteral("Arrastra Imagen hasta Aqui!")));
    EXPECT_FALSE(slider(*f)->isEnabled());
    EXPECT_EQ(slider(*f)->orientation(), Qt::Vertical);
    EXPECT_EQ(slider(*f)->minimum(), 0);
    EXPECT_EQ(slider(*f)->maximum(), 384);
    EXPECT_EQ(slider(*f)->value(), 96);
    EXPECT_TRUE(f->imagen().ImagenNueva);
}

TEST_F(FrmGetImagenTest, DropConvertsStoresAndPlacesAndASecondDropReplacesTheBitmap) {
    auto f = abrir();
    const QString apaisada = escribir(QStringLiteral("apaisada.png"), Codificar(MitadNegra(200, 100), "PNG"));
    ASSERT_TRUE(soltar(*f, {apaisada}));
    const QString bitmap = dir.ruta(QStringLiteral("Imagen7.bmp"));
    const ObjetoTicket& o = d.objeto(slot);
    EXPECT_EQ(o.ImagenTrabajo.valor(), bitmap);
    EXPECT_EQ(o.ImagenOrigen.valor(), apaisada);
    // Landscape: left kept, centred along the 501-pixel canvas: (501 - 48) / 2 = 226.5 -> 226.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 226, 96, 48));
    EXPECT_EQ(ws.item(slot).point(5, 5), 0);
    EXPECT_EQ(ws.item(slot).point(90, 5), static_cast<int32_t>(ColorBlanco));
    EXPECT_TRUE(slider(*f)->isEnabled());
    // The preview shows the picture across its full width, centred vertically.
    const Surface& p = vista(*f)->superficie();
    EXPECT_EQ(p.point(5, 120), 0);
    EXPECT_EQ(p.point(230, 120), static_cast<int32_t>(ColorBlanco));
    EXPECT_EQ(p.point(5, 50), static_cast<int32_t>(ColorBlanco));
    EXPECT_TRUE(avisos.isEmpty());

    QImage blanca(100, 200, QImage::Format_RGB32);
    blanca.fill(qRgb(129, 129, 129)); // just white
    const QString vertical = escribir(QStringLiteral("vertical.gif"), Gif(blanca));
    ASSERT_TRUE(soltar(*f, {vertical}));
    EXPECT_EQ(d.objeto(slot).ImagenTrabajo.valor(), bitmap);
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), vertical);
    const auto guardada = CargarImagen(bitmap);
    ASSERT_TRUE(guardada);
    EXPECT_EQ(guardada->size(), QSize(100, 200));
    EXPECT_EQ(guardada->pixel(50, 100) & 0xFFFFFF, 0xFFFFFFu);
    // Portrait: top kept, centred across: (385 - 96) / 2 = 144.5 -> 144.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(144, 226, 96, 192));
}

TEST_F(FrmGetImagenTest, SizeLimitIs50000Bytes) {
    auto f = abrir();
    const QString grande = escribir(QStringLiteral("grande.bmp"), BmpDeTamano(MitadNegra(100, 100), 50001));
    const ObjetoTicket antes = d.objeto(slot);
    const QImage vistaAntes = vista(*f)->superficie().image();
    ASSERT_TRUE(soltar(*f, {grande}));
    EXPECT_EQ(avisos,
              QStringList{QStringLiteral("Fichero demasiado grande! Por Favor cambie su selección.")});
    EXPECT_EQ(d.objeto(slot), antes);
    EXPECT_EQ(vista(*f)->superficie().image(), vistaAntes);
    EXPECT_FALSE(QFileInfo::exists(dir.ruta(QStringLiteral("Imagen7.bmp"))));

    avisos.clear();
    const QString justa = escribir(QStringLiteral("justa.bmp"), BmpDeTamano(MitadNegra(100, 100), 50000));
    ASSERT_EQ(QFileInfo(justa).size(), 50000);
    ASSERT_TRUE(soltar(*f, {justa}));
    EXPECT_TRUE(avisos.isEmpty());
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), justa);
    EXPECT_TRUE(QFileInfo::exists(dir.ruta(QStringLiteral("Imagen7.bmp"))));
}

TEST_F(FrmGetImagenTest, BadFilesShowAMessageAndChangeNothingElse) {
    const QByteArray png = Codificar(MitadNegra(40, 30), "PNG");
    const QByteArray jpg = Codificar(MitadNegra(40, 30), "JPEG");
    const QByteArray bmp = Codificar(MitadNegra(40, 30), "BMP");
    QByteArray corrupto = png;
    for (int i = 40; i < 60; ++i)
        corrupto[i] = 'Z';
    const struct {
        const char* nombre;
        QByteArray datos;
    } casos[] = {
        {"corrupt.png", corrupto},
        {"truncated.jpg", jpg.left(jpg.size() - 40)},
        {"truncated.bmp", bmp.left(bmp.size() / 2)},
        {"empty.png", QByteArray()},
        {"huge.png", PngConTamanoDeclarado(30000, 30000)},
        {"notes.gif", QByteArray("not a picture at all")},
    };
    // The object already has a picture, which must survive every bad drop.
    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("buena.png"), png)}));
    const ObjetoTicket antes = d.objeto(slot);
    const QImage cajaAntes = ws.item(slot).image();
    const QRect geometriaAntes = ws.item(slot).geometry();
    const QByteArray bitmapAntes = Leer(dir.ruta(QStringLiteral("Imagen7.bmp")));
    const QImage invalido = conMensaje(QStringLiteral("Formato de Imagen NO Valido!"));
    for (const auto& c : casos) {
        const QString ruta = escribir(QString::fromLatin1(c.nombre), c.datos);
        ASSERT_TRUE(soltar(*f, {ruta})) << c.nombre;
        EXPECT_EQ(vista(*f)->superficie().image(), invalido) << c.nombre;
        EXPECT_EQ(d.objeto(slot), antes) << c.nombre;
        EXPECT_EQ(ws.item(slot).image(), cajaAntes) << c.nombre;
        EXPECT_EQ(ws.item(slot).geometry(), geometriaAntes) << c.nombre;
        EXPECT_EQ(Leer(dir.ruta(QStringLiteral("Imagen7.bmp"))), bitmapAntes) << c.nombre;
        EXPECT_TRUE(avisos.isEmpty()) << c.nombre;
    }
}

TEST_F(FrmGetImagenTest, SeveralFilesAFolderOrAMissingFileAreRefusedBeforeTheSizeCheck) {
    auto f = abrir();
    const QString grande = escribir(QStringLiteral("grande.bmp"), BmpDeTamano(MitadNegra(10, 10), 60000));
    const QString buena = escribir(QStringLiteral("buena.png"), Codificar(MitadNegra(10, 10), "PNG"));
    QDir().mkdir(dir.ruta(QStringLiteral("carpeta")));
    const QImage vistaAntes = vista(*f)->superficie().image();
    const ObjetoTicket antes = d.objeto(slot);
    const struct {
        QStringList rutas;
        QString aviso;
    } casos[] = {
        {{grande, buena}, TextoVariosFicheros},
        {{buena, buena}, TextoVariosFicheros},
        {{dir.ruta(QStringLiteral("carpeta"))}, TextoEsCarpeta},
        {{dir.ruta(QStringLiteral("no-existe.png"))},
         TextoNoExiste + dir.ruta(QStringLiteral("no-existe.png"))},
    };
    for (const auto& c : casos) {
        avisos.clear();
        ASSERT_TRUE(soltar(*f, c.rutas));
        EXPECT_EQ(avisos, QStringList{c.aviso});
        EXPECT_EQ(d.objeto(slot), antes);
        EXPECT_EQ(vista(*f)->superficie().image(), vistaAntes);
    }
    // A drop that carries no file address is not taken at all.
    QMimeData texto;
    texto.setText(QStringLiteral("hola"));
    QDragEnterEvent entrada(QPoint(5, 5), Qt::CopyAction, &texto, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vista(*f), &entrada);
    EXPECT_FALSE(entrada.isAccepted());
}

TEST_F(FrmGetImagenTest, ClickingThePreviewChoosesAFileThatGoesTheWayOfADrop) {
    auto f = abrir();
    eleccion = escribir(QStringLiteral("grande.bmp"), BmpDeTamano(MitadNegra(10, 10), 50001));
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(elecciones, 1);
    EXPECT_EQ(avisos, QStringList{TextoDemasiadoGrande});

    eleccion = escribir(QStringLiteral("elegida.png"), Codificar(MitadNegra(10, 20), "PNG"));
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), eleccion);
    EXPECT_TRUE(QFileInfo::exists(dir.ruta(QStringLiteral("Imagen7.bmp"))));

    eleccion.clear(); // the user gave up
    const ObjetoTicket antes = d.objeto(slot);
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(elecciones, 3);
    EXPECT_EQ(d.objeto(slot), antes);
}

TEST_F(FrmGetImagenTest, ReopeningOnTheStoredBitmapNeitherConvertsNorMoves) {
    {
        auto f = abrir();
        ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("a.png"), Codificar(MitadNegra(200, 100), "PNG"))}));
        f->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    }
    const QString bitmap = dir.ruta(QStringLiteral("Imagen7.bmp"));
    const QByteArray antes = Leer(bitmap);
    // A redraw puts the box back at the record's place; re-opening keeps it there.
    ws.colocar(slot, d.objeto(slot));
    d.objeto(slot).AnchoImagen = 120;
    auto f = abrir();
    EXPECT_FALSE(f->imagen().ImagenNueva);
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 30, 120, 60));
    EXPECT_EQ(Leer(bitmap), antes);
    EXPECT_EQ(slider(*f)->value(), 120);
    EXPECT_TRUE(slider(*f)->isEnabled());
    EXPECT_EQ(vista(*f)->superficie().point(5, 120), 0);

    // A stored path written on Windows is found in the design's folder.
    QTemporaryDir carpetaDiseno;
    QFile::copy(bitmap, QDir(carpetaDiseno.path()).absoluteFilePath(QStringLiteral("Imagen7.bmp")));
    QFile::remove(bitmap);
    d.objeto(slot).ImagenTrabajo = QStringLiteral("C:\\Tickets\\Imagen7.bmp");
    FrmGetImagen g(d, ws, carpetaDiseno.path());
    EXPECT_TRUE(g.imagen().tieneImagen());
    EXPECT_EQ(d.objeto(slot).ImagenTrabajo.valor(), QStringLiteral("C:\\Tickets\\Imagen7.bmp"));
}

TEST_F(FrmGetImagenTest, SliderResizesWithTheMouseOnlyAndFitsOnRelease) {
    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("v.png"), Codificar(MitadNegra(100, 200), "PNG"))}));
    SliderTamano* s = slider(*f);
    Surface& caja = ws.item(slot);
    ASSERT_EQ(caja.geometry(), QRect(144, 30, 96, 192));

    // Keyboard changes move the value only.
    s->setFocus();
    QTest::keyClick(s, Qt::Key_PageUp);
    EXPECT_NE(s->value(), 96);
    EXPECT_EQ(caja.geometry(), QRect(144, 30, 96, 192));
    EXPECT_EQ(d.objeto(slot).AnchoImagen, 96);

    s->setValue(96);
    const QPoint asa = centroAsa(*s);
    QTest::mousePress(s, Qt::LeftButton, {}, asa);
    EXPECT_TRUE(caja.border());
    EXPECT_EQ(caja.point(10, 10), static_cast<int32_t>(ColorBlanco));
    QTest::mouseMove(s, asa - QPoint(0, 40));
    ASSERT_GT(s->value(), 96);
    const int valor = s->value();
    EXPECT_EQ(d.objeto(slot).AnchoImagen, valor);
    EXPECT_EQ(caja.width(), valor);
    EXPECT_EQ(caja.height(), 2 * valor);
    QTest::mouseRelease(s, Qt::LeftButton, {}, asa - QPoint(0, 40));
    EXPECT_FALSE(caja.border());
    EXPECT_EQ(caja.geometry(), QRect(144, 30, valor, 2 * valor));
    EXPECT_EQ(caja.point(2, valor), 0);
    EXPECT_EQ(caja.point(valor - 2, valor), static_cast<int32_t>(ColorBlanco));
}

TEST_F(FrmGetImagenTest, OkConfirmsAndCancelKeepsEveryChange) {
    {
        auto f = abrir();
        f->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        EXPECT_EQ(f->result(), QDialog::Rejected);
        EXPECT_EQ(d.objeto(slot).Pendiente, Verdadero);
    }
    {
        auto f = abrir();
        ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("a.png"), Codificar(MitadNegra(20, 10), "PNG"))}));
        f->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        EXPECT_EQ(f->result(), QDialog::Accepted);
        EXPECT_EQ(d.objeto(slot).Pendiente, Falso);
    }
    auto f = abrir();
    const QString nueva = escribir(QStringLiteral("b.png"), Codificar(MitadNegra(10, 20), "PNG"));
    ASSERT_TRUE(soltar(*f, {nueva}));
    const QRect geometria = ws.item(slot).geometry();
    f->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), nueva);
    EXPECT_EQ(ws.item(slot).geometry(), geometria);
    EXPECT_EQ(CargarImagen(dir.ruta(QStringLiteral("Imagen7.bmp")))->size(), QSize(10, 20));
}
