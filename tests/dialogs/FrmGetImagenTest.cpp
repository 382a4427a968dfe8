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
        NuevoObjeto n{TipoImagen, std::nullopt, 30, 20, 96, 96};
        slot = d.agregar(n);
        d.objeto(slot).AnchoImagen = 96;
        ws.colocar(slot, d.objeto(slot));
    }

    std::unique_ptr<FrmGetImagen> abrir() {
        auto f = std::make_unique<FrmGetImagen>(d, ws);
        f->Avisar = [this](const QString& t) { avisos << t; };
        f->ElegirFichero = [this] { return eleccion; };
        f->show();
        return f;
    }

    template <typename T = QWidget> static T* hijo(FrmGetImagen& f, const char* nombre) {
        return f.findChild<T*>(QString::fromLatin1(nombre));
    }
    static VistaImagen* vista(FrmGetImagen& f) { return hijo<VistaImagen>(f, "Picture1"); }
    static SliderTamano* slider(FrmGetImagen& f) { return hijo<SliderTamano>(f, "sldSize"); }
    static QComboBox* conversion(FrmGetImagen& f) { return hijo<QComboBox>(f, "cboConversion"); }
    static QSlider* brillo(FrmGetImagen& f) { return hijo<QSlider>(f, "sldBrillo"); }

    // Where the slider's handle is drawn, from the slider's own style options.
    struct Opciones : QSlider {
        static QRect asa(const QSlider& s) {
            QStyleOptionSlider o;
            (s.*&Opciones::initStyleOption)(&o);
            return s.style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, &s);
        }
    };

    // The handle pressed, dragged `arriba` pixels up and released.
    static void arrastrar(SliderTamano& s, int arriba) {
        const QPoint desde = Opciones::asa(s).center();
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
        const QPoint centro = vista(f)->rect().center();
        QDragEnterEvent entrada(centro, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vista(f), &entrada);
        if (!entrada.isAccepted()) return false;
        QDropEvent suelta(QPointF(centro), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vista(f), &suelta);
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
        EXPECT_EQ(std::tuple(int(d.objeto(slot).AnchoImagen), ws.item(slot).geometry()), std::tuple(96, caja));
        EXPECT_EQ(ws.item(slot).image(), imagen);
    }

    // The working bitmap the object's record names.
    QString bitmap() const { return ResolverRutaImagen(d.objeto(slot).ImagenTrabajo.valor()); }

    QString escribir(const QString& nombre, const QByteArray& datos) {
        const QString ruta = dir.ruta(nombre);
        EXPECT_TRUE(Escribir(ruta, datos));
        return ruta;
    }
    QString png(const char* nombre, int ancho, int alto) {
        return escribir(QString::fromLatin1(nombre), Codificar(MitadNegra(ancho, alto), "PNG"));
    }

    DirectorioActualTemporal dir;
    Design d;
    Workspace ws;
    int slot = 0;
    QStringList avisos;
    QString eleccion;
};

} // namespace

// Without a picture (none yet, a refused file, a stored bitmap that is no picture) the slider
// resizes nothing; with one, a click or a press on the groove steps the value only, and only
// dragging the handle widens the box, keeping the picture's proportions.
TEST_F(FrmGetImagenTest, OnlyDraggingTheHandleOfAPictureResizesTheBox) {
    auto f = abrir();
    EXPECT_EQ(vista(*f)->superficie().image(), conMensaje(QStringLiteral("Arrastra Imagen hasta Aqui!")));
    EXPECT_FALSE(slider(*f)->isEnabled());
    EXPECT_EQ(slider(*f)->value(), 96);
    const QRect caja = ws.item(slot).geometry();
    const QImage imagenCaja = ws.item(slot).image();
    ASSERT_TRUE(soltar(*f, {escribir(QStringLiteral("notes.gif"), QByteArray("not a picture at all"))}));
    d.objeto(slot).ImagenTrabajo = escribir(QStringLiteral("Imagen7.bmp"), QByteArray("damaged"));
    const auto g = abrir();
    for (FrmGetImagen* h : {f.get(), g.get()}) {
        EXPECT_EQ(vista(*h)->superficie().image(), conMensaje(QStringLiteral("Formato de Imagen NO Valido!")));
        arrastrar(*slider(*h), 60); // the slider is enabled
        ASSERT_GT(slider(*h)->value(), 96);
        cajaIntacta(caja, imagenCaja);
    }

    slider(*f)->setValue(96);
    ASSERT_TRUE(soltar(*f, {png("apaisada.png", 200, 100)}));
    SliderTamano& s = *slider(*f);
    const QRect apaisada(20, 226, 96, 48);
    // The preview shows the picture across its full width, centred vertically.
    EXPECT_EQ(std::pair(vista(*f)->superficie().point(5, 120), vista(*f)->superficie().point(5, 50)),
              std::pair(0, static_cast<int32_t>(ColorBlanco)));
    const QImage conImagen = ws.item(slot).image();
    const int x = Opciones::asa(s).center().x();
    ASSERT_GT(Opciones::asa(s).top(), 20);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(x, 5));
    ASSERT_EQ(s.value(), 96 + s.pageStep());
    cajaIntacta(apaisada, conImagen);
    QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(x, 5));
    QTest::mouseMove(&s, QPoint(x, 15));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(x, 15));
    ASSERT_EQ(s.value(), 96 + 2 * s.pageStep());
    cajaIntacta(apaisada, conImagen);
    arrastrar(s, 40);
    const int ancho = s.value();
    ASSERT_GT(ancho, 96 + 2 * s.pageStep());
    const int alto = ws.item(slot).height();
    EXPECT_LE(std::abs(2 * alto - ancho), 1);
    EXPECT_EQ(std::tuple(int(d.objeto(slot).AnchoImagen), ws.item(slot).geometry(), ws.item(slot).border(),
                         ws.item(slot).point(5, alto / 2)),
              std::tuple(ancho, QRect(20, 226, 2 * alto, alto), false, 0));
}

// Every refused drop or choice changes nothing: files that are no picture show a message in
// the preview, the others (too big, several, a folder, missing) are explained aloud.
TEST_F(FrmGetImagenTest, RefusedFilesChangeNothing) {
    const QString grande = escribir(QStringLiteral("grande.bmp"), BmpDeTamano(MitadNegra(100, 100), 50001));
    QDir().mkdir(dir.ruta(QStringLiteral("carpeta")));
    const QString falta = dir.ruta(QStringLiteral("no-existe.png"));
    const QString invalido = TextoFormatoNoValido;
    const struct { // the preview keeps the picture until a file that is no picture comes
        QStringList rutas;
        QString aviso; // TextoFormatoNoValido: shown in the preview instead
    } casos[] = {
        {{grande}, QStringLiteral("Fichero demasiado grande! Por Favor cambie su selección.")},
        {{grande, png("buena.png", 10, 10)}, TextoVariosFicheros}, // refused before the size
        {{dir.ruta(QStringLiteral("carpeta"))}, TextoEsCarpeta},
        {{falta}, TextoNoExiste + falta},
        // Damaged files of every kind are the loader's own tests; one is enough here.
        {{escribir(QStringLiteral("huge.png"), PngConTamanoDeclarado(30000, 30000))}, invalido},
    };
    // The object already has a picture, which must survive every bad drop.
    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {png("primera.png", 40, 30)}));
    const ObjetoTicket antes = d.objeto(slot);
    const QImage cajaAntes = ws.item(slot).image();
    const QImage vistaAntes = vista(*f)->superficie().image();
    const QByteArray bitmapAntes = Leer(bitmap());
    ASSERT_FALSE(bitmapAntes.isEmpty());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.rutas.join(QLatin1Char(' ')).toStdString());
        avisos.clear();
        ASSERT_TRUE(soltar(*f, c.rutas));
        const bool enVista = c.aviso == invalido;
        EXPECT_EQ(avisos, enVista ? QStringList() : QStringList{c.aviso});
        EXPECT_EQ(vista(*f)->superficie().image(), enVista ? conMensaje(invalido) : vistaAntes);
        EXPECT_EQ(std::tuple(d.objeto(slot), ws.item(slot).image(), Leer(bitmap())),
                  std::tuple(antes, cajaAntes, bitmapAntes));
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("Imagen*")}).size(), 1);
    // Clicking the preview chooses a file that goes the way of a drop; 50000 bytes is the limit.
    eleccion = escribir(QStringLiteral("justa.bmp"), BmpDeTamano(MitadNegra(100, 100), 50000));
    ASSERT_EQ(QFileInfo(eleccion).size(), 50000);
    QTest::mouseClick(vista(*f), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(std::pair(avisos, d.objeto(slot).ImagenOrigen.valor()), std::pair(QStringList(), eleccion));
    // A drop that carries no file address is not taken at all.
    QMimeData texto;
    texto.setText(QStringLiteral("hola"));
    QDragEnterEvent entrada(QPoint(5, 5), Qt::CopyAction, &texto, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vista(*f), &entrada);
    EXPECT_FALSE(entrada.isAccepted());
}

// A drop converts, stores under a name of its own and places the box; OK confirms the object,
// cancel keeps every change; reopening on the stored bitmap neither converts it again nor moves
// the box, and the conversion controls then work from the original picture until it is gone.
TEST_F(FrmGetImagenTest, DropConvertOkCancelAndReopen) {
    {
        auto f = abrir();
        hijo<QPushButton>(*f, "cmdCancel")->click();
        EXPECT_EQ(d.objeto(slot).Pendiente, Verdadero);
    }
    QImage gris(60, 30, QImage::Format_RGB32);
    for (int y = 0; y < gris.height(); ++y)
        for (int x = 0; x < gris.width(); ++x)
            gris.setPixel(x, y, qRgb(x * 4, x * 4 + y, 255 - y * 8));
    const QString original = escribir(QStringLiteral("foto.png"), Codificar(gris, "PNG"));
    auto guardada = [&] { return CargarImagen(bitmap()).value().convertToFormat(QImage::Format_RGB32); };
    const QRegularExpression nombre(QStringLiteral("(^|[/\\\\])Imagen7-[0-9a-f]{8}\\.bmp$"));
    const ObjetoTicket& o = d.objeto(slot);

    auto f = abrir();
    ASSERT_TRUE(soltar(*f, {original}));
    EXPECT_TRUE(nombre.match(o.ImagenTrabajo.valor()).hasMatch()) << o.ImagenTrabajo.valor().toStdString();
    EXPECT_EQ(std::tuple(o.ImagenTrabajo.valor(), o.ImagenOrigen.valor()),
              std::tuple(RutaImagenTrabajo(7, Leer(o.ImagenTrabajo.valor())), original));
    QTest::keyClick(conversion(*f), Qt::Key_Down);
    QTest::keyClick(brillo(*f), Qt::Key_PageUp);
    QTest::keyClick(brillo(*f), Qt::Key_PageUp);
    EXPECT_EQ(hijo<QLabel>(*f, "lblValorBrillo")->text(), QStringLiteral("20"));
    const QImage fs = ConvertirBlancoYNegro(gris, Conversion::FloydSteinberg, 20);
    EXPECT_EQ(guardada(), fs);
    Surface muestra(240, 240);
    PintarVistaPrevia(muestra, fs);
    EXPECT_EQ(vista(*f)->superficie().image(), muestra.image());
    // Landscape: left kept, centred along the 501-pixel canvas: (501 - 48) / 2 = 226.5 -> 226;
    // converting again does not move it.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(20, 226, 96, 48));
    hijo<QPushButton>(*f, "cmdOK")->click();
    EXPECT_EQ(std::tuple(f->result(), o.Pendiente), std::tuple(int(QDialog::Accepted), Falso));

    const QString ruta = bitmap();
    const QByteArray bytes = Leer(ruta);
    ws.colocar(slot, o);
    auto g = abrir();
    EXPECT_EQ(std::tuple(g->imagen().ImagenNueva, ws.item(slot).geometry(), bitmap(), Leer(ruta)),
              std::tuple(false, QRect(20, 30, 96, 48), ruta, bytes));
    QTest::keyClick(brillo(*g), Qt::Key_PageDown);
    EXPECT_EQ(guardada(), ConvertirBlancoYNegro(gris, Conversion::Umbral, -10));
    QTest::keyClick(brillo(*g), Qt::Key_PageUp);
    QImage blanca(100, 200, QImage::Format_RGB32);
    blanca.fill(qRgb(129, 129, 129)); // just white
    const QString vertical = escribir(QStringLiteral("vertical.gif"), Gif(blanca));
    ASSERT_TRUE(soltar(*g, {vertical}));
    hijo<QPushButton>(*g, "cmdCancel")->click();
    EXPECT_EQ(std::tuple(g->result(), o.ImagenOrigen.valor()), std::tuple(int(QDialog::Rejected), vertical));
    EXPECT_EQ(std::pair(guardada().size(), guardada().pixel(50, 100) & 0xFFFFFF),
              std::pair(QSize(100, 200), 0xFFFFFFu));
    // Portrait: top kept, centred across: (385 - 96) / 2 = 144.5 -> 144.
    EXPECT_EQ(ws.item(slot).geometry(), QRect(144, 30, 96, 192));

    // Without the original the controls are off until a new picture comes.
    ASSERT_TRUE(QFile::remove(vertical));
    auto h = abrir();
    EXPECT_FALSE(conversion(*h)->isEnabled() || brillo(*h)->isEnabled());
    ASSERT_TRUE(soltar(*h, {png("otra.png", 20, 10)}));
    EXPECT_TRUE(conversion(*h)->isEnabled() && brillo(*h)->isEnabled());
}
