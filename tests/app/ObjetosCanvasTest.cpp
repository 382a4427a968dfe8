#include "editor/ObjetosCanvas.h"
#include "render/Workspace.h"

#include <gtest/gtest.h>

using namespace quoravex;

TEST(ObjetosCanvas, BoxesFollowAddReorderAndDelete) {
    Design d;
    Workspace ws;
    NuevoObjeto texto;
    texto.Top = 10;
    texto.Left = 20;
    texto.Width = 100;
    texto.Height = 30;
    NuevoObjeto linea;
    linea.Tipo = TipoLinea;
    linea.Top = linea.Left = -10;
    linea.Width = linea.Height = 2;

    ASSERT_EQ(AgregarObjeto(d, ws, texto), 1);
    ASSERT_EQ(AgregarObjeto(d, ws, linea), 2);
    ASSERT_EQ(AgregarObjeto(d, ws, texto), 3);
    EXPECT_EQ(ws.item(1).geometry(), QRect(20, 10, 100, 30));
    EXPECT_EQ(ws.item(1).point(5, 5), static_cast<int32_t>(ColorCianClaro));
    EXPECT_EQ(ws.item(2).point(0, 0), 0);
    EXPECT_EQ(ws.pila().back(), 3);

    LlevarAlFondo(d, ws, 3);
    EXPECT_EQ(ws.pila().front(), 3);
    EXPECT_EQ(d.objeto(3).Orden, 1);
    TraerAlFrente(d, ws, 1);
    EXPECT_EQ(ws.pila().back(), 1);
    EXPECT_EQ(d.objeto(1).Orden, 3);

    // The stacking of the boxes in use follows Orden.
    auto ordenEnPila = [&] {
        std::vector<int> r;
        for (int i : ws.pila())
            if (d.enUso(i)) r.push_back(d.objeto(i).Orden);
        return r;
    };
    EXPECT_EQ(ordenEnPila(), (std::vector<int>{1, 2, 3}));

    BorrarObjeto(d, ws, 2);
    EXPECT_EQ(ws.item(2).geometry(), QRect(1000, 0, 14, 17));
    EXPECT_EQ(ws.item(2).point(0, 0), static_cast<int32_t>(ColorBlanco));
    EXPECT_EQ(ordenEnPila(), (std::vector<int>{1, 2}));
    EXPECT_EQ(d.NumObjetos, 2);
}

TEST(ObjetosCanvas, FullDesignLeavesEveryBoxAlone) {
    Design d;
    Workspace ws;
    for (int i = 0; i < MaxObjetos; ++i)
        ASSERT_NE(AgregarObjeto(d, ws, NuevoObjeto{}), 0);
    const auto pila = ws.pila();
    EXPECT_EQ(AgregarObjeto(d, ws, NuevoObjeto{}), 0);
    EXPECT_EQ(ws.pila(), pila);
    EXPECT_EQ(ws.item(0).left(), 1000);
}
