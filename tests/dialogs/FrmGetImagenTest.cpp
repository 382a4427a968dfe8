#include "dialogs/FrmGetImagen.h"
#include "dialogs/VistaImagen.h"
#include "document/Design.h"
#include "render/Tramado.h"
#include "render/Workspace.h"
#include "support/FicherosImagen.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QUrl>
#include <cstdlib>
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
    static QComboBox* conversion(FrmGetImagen& f) {
        return f.findChild<QComboBox*>(QStringLiteral("cboConversion"));
    }
    static QSlider* brillo(FrmGetImagen& f) { return f.findChild<QSlider*>(QStringLiteral("sldBrillo")); }

    // Where the slider's handle is drawn, from the slider's own style options.
    struct Opciones : QSlider {
        static QRect asa(const QSlider& s) {
            QStyleOptionSlider o;
            (s.*&Opciones::initStyleOption)(&o);
            return s.style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, &s);
        }
    };
    static QRect asa(const SliderTamano& s) { return Opciones::asa(s); }

    // The handle pressed, dragged `arriba` pixels up and released.
    static void arrastrar(SliderTamano& s, int arriba) {
        const QPoint desde = asa(s).center();
        QTest::mousePress(&s, Qt::LeftButton, {}, desde);
        for (int paso = 1; paso <= 3; ++paso)
            QTest::mouseMove(&s, desde - QPoint(0, arriba * paso / 3));
        QTest::mouseRelease(&s, Qt::LeftButton, {}, desde - QPoint(0, arriba));
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

    // What the preview shows with a message, drawn the same way on a spare surface.
    static QImage conMensaje(const QString& texto) {
        Surface s(240, 240);
        MensajeImagen(s, texto);
        return s.image();
    }

    // The slider moved without resizing the box.
    void cajaIntacta(const QRect& caja, const QImage& imagen) {
        EXPECT_EQ(d.objeto(slot).AnchoImagen, 96);
        EXPECT_EQ(ws.item(slot).geometry(), caja);
        EXPECT_EQ(ws.item(slot).image(), imagen);
    }

    // The working bitmap the object's record names.
    QString bitmap() const { return ResolverRutaImagen(d.objeto(slot).ImagenTrabajo.valor()); }

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

TEST_F(FrmGetImagenTest, OpensWithThePromptAndTheSliderDisabledThatARefusedFileEnables) {
    auto f = abrir();
    EXPECT_EQ(vista(*f)->superficie().image(), conMensaje(QStringLiteral("Arrastra Imagen hasta Aqui!")));
    EXPECT_FALSE(slider(*f)->isEnabled());
    EXPECT_EQ(slider(*f)->maximum(), 384);
    EXPECT_EQ(slider(*f)->value(), 96);
    // Still no picture after a refused file, or on a stored working bitmap that is no picture:
    // the slider moves, but resizes nothing.
    const QRect caja = ws.item(slot).geometry();
    const QImage imagenCaja = ws.item(slot).image();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("notes.gif"), QByteArray("not a picture at all"))}));
    d.objeto(slot).ImagenTrabajo = escribir(QStringLiteral("Imagen7.bmp"), QByteArray("damaged"));
    const auto g = abrir();
    for (FrmGetImagen* h : {f.get(), g.get()}) {
        EXPECT_EQ(vista(*h)->superficie().image(), conMensaje(QStringLiteral("Formato de Imagen NO Valido!")));
        EXPECT_TRUE(slider(*h)->isEnabled());
        arrastrar(*slider(*h), 60);
        ASSERT_GT(slider(*h)->value(), 96);
        cajaIntacta(caja, imagenCaja);
    }
}

TEST_F(FrmGetImagenTest, OnlyDraggingTheSliderHandleResizesTheBox) {
    auto f = abrir();
    ASSERT_TRUE(
        soltar(*f, {escribir(QStringLiteral("apaisada.png"), Codificar(MitadNegra(200, 100), "PNG"))}));
    SliderTamano& s = *slider(*f);
    const QRect caja = ws.item(slot).geometry();
    ASSERT_EQ(caja, QRect(20, 226, 96, 48));
    const QImage imagenCaja = ws.item(slot).image();
    // A click on the groove above the handle steps the value by a page, and that is all.
    const QRect antesDelClic = asa(s);
    ASSERT_GT(antesDelClic.top(), 20);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(antesDelClic.center().x(), 5));
    ASSERT_EQ(s.value(), 96 + s.pageStep());
    cajaIntacta(caja, imagenCaja);
    // Nor does moving the mouse after pressing on the groove.
    QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(antesDelClic.center().x(), 5));
    QTest::mouseMove(&s, QPoint(antesDelClic.center().x(), 15));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(antesDelClic.center().x(), 15));
    ASSERT_EQ(s.value(), 96 + 2 * s.pageStep());
    cajaIntacta(caja, imagenCaja);
    // Dragging the handle up widens the box, keeping the picture's proportions.
    arrastrar(s, 40);
    const int ancho = s.value();
    ASSERT_GT(ancho, 96 + 2 * s.pageStep());
    EXPECT_EQ(d.objeto(slot).AnchoImagen, ancho);
    const int alto = ws.item(slot).height();
    EXPECT_LE(std::abs(2 * alto - ancho), 1);
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 226, 2 * alto, alto));
    EXPECT_FALSE(ws.item(slot).border());
    EXPECT_EQ(ws.item(slot).point(5, alto / 2), 0);
}

TEST_F(FrmGetImagenTest, DropConvertsStoresAndPlacesAndASecondDropGetsItsOwnBitmap) {
    auto f = abrir();
    const QString apaisada = escribir(QStringLiteral("apaisada.png"), Codificar(MitadNegra(200, 100), "PNG"));
    ASSERT_TRUE(soltar(*f, {apaisada}));
    const QRegularExpression nombre(QStringLiteral("(^|[/\\\\])Imagen7-[0-9a-f]{8}\\.bmp$"));
    const ObjetoTicket& o = d.objeto(slot);
    const QString primero = o.ImagenTrabajo.valor();
    EXPECT_TRUE(nombre.match(primero).hasMatch()) << primero.toStdString();
    const QByteArray bytesPrimero = Leer(primero);
    EXPECT_EQ(primero, RutaImagenTrabajo(7, bytesPrimero));
    EXPECT_EQ(o.ImagenOrigen.valor(), apaisada);
    // Landscape: left kept, centred along the 501-pixel canvas: (501 - 48) / 2 = 226.5 -> 226.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 226, 96, 48));
    EXPECT_EQ(ws.item(slot).point(5, 5), 0);
    EXPECT_TRUE(slider(*f)->isEnabled());
    // The preview shows the picture across its full width, centred vertically.
    EXPECT_EQ(vista(*f)->superficie().point(5, 120), 0);
    EXPECT_EQ(vista(*f)->superficie().point(5, 50), static_cast<int32_t>(ColorBlanco));

    QImage blanca(100, 200, QImage::Format_RGB32);
    blanca.fill(qRgb(129, 129, 129)); // just white
    const QString vertical = escribir(QStringLiteral("vertical.gif"), Gif(blanca));
    ASSERT_TRUE(soltar(*f, {vertical}));
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), vertical);
    // The second picture has its own file; the first one's stays as it was.
    const QString segundo = o.ImagenTrabajo.valor();
    EXPECT_TRUE(nombre.match(segundo).hasMatch()) << segundo.toStdString();
    EXPECT_NE(segundo, primero);
    EXPECT_EQ(Leer(primero), bytesPrimero);
    const auto guardada = CargarImagen(segundo);
    ASSERT_TRUE(guardada);
    EXPECT_EQ(guardada->size(), QSize(100, 200));
    EXPECT_EQ(guardada->pixel(50, 100) & 0xFFFFFF, 0xFFFFFFu);
    // Portrait: top kept, centred across: (385 - 96) / 2 = 144.5 -> 144.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(144, 226, 96, 192));
}

TEST_F(FrmGetImagenTest, BadFilesShowAMessageAndChangeNothingElse) {
    const QByteArray png = Codificar(MitadNegra(40, 30), "PNG");
    const QByteArray jpg = Codificar(MitadNegra(40, 30), "JPEG");
    QByteArray corrupto = png;
    for (int i = 40; i < 60; ++i)
        corrupto[i] = 'Z';
    const struct {
        const char* nombre;
        QByteArray datos;
    } casos[] = {
        {"corrupt.png", corrupto},
        {"truncated.jpg", jpg.left(jpg.size() - 40)},
        {"empty.png", QByteArray()},
        {"huge.png", PngConTamanoDeclarado(30000, 30000)},
        {"notes.gif", QByteArray("not a picture at all")},
    };
    // The object already has a picture, which must survive every bad drop.
    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("buena.png"), png)}));
    const ObjetoTicket antes = d.objeto(slot);
    const QImage cajaAntes = ws.item(slot).image();
    const QByteArray bitmapAntes = Leer(bitmap());
    ASSERT_FALSE(bitmapAntes.isEmpty());
    const QImage invalido = conMensaje(QStringLiteral("Formato de Imagen NO Valido!"));
    for (const auto& c : casos) {
        const QString ruta = escribir(QString::fromLatin1(c.nombre), c.datos);
        ASSERT_TRUE(soltar(*f, {ruta})) << c.nombre;
        EXPECT_EQ(vista(*f)->superficie().image(), invalido) << c.nombre;
        EXPECT_EQ(d.objeto(slot), antes) << c.nombre;
        EXPECT_EQ(ws.item(slot).image(), cajaAntes) << c.nombre;
        EXPECT_EQ(Leer(bitmap()), bitmapAntes) << c.nombre;
        EXPECT_TRUE(avisos.isEmpty()) << c.nombre;
    }
}

TEST_F(FrmGetImagenTest, TooBigSeveralFilesAFolderOrAMissingFileAreRefused) {
    auto f = abrir();
    const QString grande = escribir(QStringLiteral("grande.bmp"), BmpDeTamano(MitadNegra(100, 100), 50001));
    const QString buena = escribir(QStringLiteral("buena.png"), Codificar(MitadNegra(10, 10), "PNG"));
    QDir().mkdir(dir.ruta(QStringLiteral("carpeta")));
    const QImage vistaAntes = vista(*f)->superficie().image();
    const ObjetoTicket antes = d.objeto(slot);
    const struct {
        QStringList rutas;
        QString aviso;
    } casos[] = {
        {{grande}, QStringLiteral("Fichero demasiado grande! Por Favor cambie su selección.")},
        // Several files, a folder or a missing file are refused before the size check.
        {{grande, buena}, TextoVariosFicheros},
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
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("Imagen*")}), QStringList());
    const QString justa = escribir(QStringLiteral("justa.bmp"), BmpDeTamano(MitadNegra(100, 100), 50000));
    ASSERT_EQ(QFileInfo(justa).size(), 50000);
    avisos.clear();
    ASSERT_TRUE(soltar(*f, {justa}));
    EXPECT_TRUE(avisos.isEmpty());
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), justa);
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
    EXPECT_EQ(avisos, QStringList{TextoDemasiadoGrande});
    eleccion = escribir(QStringLiteral("elegida.png"), Codificar(MitadNegra(10, 20), "PNG"));
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), eleccion);
    EXPECT_EQ(elecciones, 2);
}

TEST_F(FrmGetImagenTest, OkConfirmsAndCancelKeepsEveryChange) {
    {
        auto f = abrir();
        f->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        EXPECT_EQ(d.objeto(slot).Pendiente, Verdadero);
    }
    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("a.png"), Codificar(MitadNegra(20, 10), "PNG"))}));
    f->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(d.objeto(slot).Pendiente, Falso);
    // Re-opening on the stored bitmap neither converts it again nor moves the box.
    const QString guardado = bitmap();
    const QByteArray bytes = Leer(guardado);
    ASSERT_FALSE(bytes.isEmpty());
    ws.colocar(slot, d.objeto(slot));
    auto g = abrir();
    EXPECT_FALSE(g->imagen().ImagenNueva);
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 30, 96, 48));
    EXPECT_EQ(bitmap(), guardado);
    EXPECT_EQ(Leer(guardado), bytes);
    const QString nueva = escribir(QStringLiteral("b.png"), Codificar(MitadNegra(10, 20), "PNG"));
    ASSERT_TRUE(soltar(*g, {nueva}));
    g->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_EQ(g->result(), QDialog::Rejected);
    EXPECT_EQ(d.objeto(slot).ImagenOrigen.valor(), nueva); // cancel keeps the change
    const auto nuevoBitmap = CargarImagen(bitmap());
    ASSERT_TRUE(nuevoBitmap);
    EXPECT_EQ(nuevoBitmap->size(), QSize(10, 20));
}

TEST_F(FrmGetImagenTest, ConversionAndBrightnessConvertTheOriginalAgainUntilItIsGone) {
    QImage gris(60, 30, QImage::Format_RGB32);
    for (int y = 0; y < gris.height(); ++y)
        for (int x = 0; x < gris.width(); ++x)
            gris.setPixel(x, y, qRgb(x * 4, x * 4 + y, 255 - y * 8));
    const QString original = escribir(QStringLiteral("foto.png"), Codificar(gris, "PNG"));
    auto guardada = [&] { return CargarImagen(bitmap()).value().convertToFormat(QImage::Format_RGB32); };

    auto f = abrir();
    QStringList nombres;
    for (int i = 0; i < conversion(*f)->count(); ++i)
        nombres << conversion(*f)->itemText(i);
    EXPECT_EQ(nombres, QStringList({QStringLiteral("Umbral"), QStringLiteral("Floyd-Steinberg"),
                                    QStringLiteral("Atkinson"), QStringLiteral("Ordenado")}));
    eleccion = original;
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    const QRect caja = ws.item(slot).geometry();
    QTest::keyClick(conversion(*f), Qt::Key_Down);
    QTest::keyClick(brillo(*f), Qt::Key_PageUp);
    QTest::keyClick(brillo(*f), Qt::Key_PageUp);
    EXPECT_EQ(f->findChild<QLabel*>(QStringLiteral("lblValorBrillo"))->text(), QStringLiteral("20"));
    const QImage fs = ConvertirBlancoYNegro(gris, Conversion::FloydSteinberg, 20);
    EXPECT_EQ(guardada(), fs);
    Surface muestra(240, 240);
    PintarVistaPrevia(muestra, fs);
    EXPECT_EQ(vista(*f)->superficie().image(), muestra.image());
    EXPECT_EQ(ws.item(slot).geometry(), caja);

    // Reopening changes nothing; moving the controls then works from the original.
    const QString ruta = bitmap();
    const QByteArray guardado = Leer(ruta);
    auto g = abrir();
    EXPECT_EQ(bitmap(), ruta);
    EXPECT_EQ(Leer(ruta), guardado);
    QTest::keyClick(brillo(*g), Qt::Key_PageDown);
    EXPECT_EQ(guardada(), ConvertirBlancoYNegro(gris, Conversion::Umbral, -10));

    // Without the original the bitmap cannot be converted again: the controls are off
    // until a new picture comes.
    ASSERT_TRUE(QFile::remove(original));
    auto h = abrir();
    EXPECT_FALSE(conversion(*h)->isEnabled());
    EXPECT_FALSE(brillo(*h)->isEnabled());
    ASSERT_TRUE(soltar(*h, {escribir(QStringLiteral("otra.png"), Codificar(MitadNegra(20, 10), "PNG"))}));
    EXPECT_TRUE(conversion(*h)->isEnabled() && brillo(*h)->isEnabled());
}
