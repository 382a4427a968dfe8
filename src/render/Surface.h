#pragma once

#include "Color.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

namespace quoravex {

// An image-backed drawing surface: the canvas, every object box and the work
// surfaces. Everything drawn stays readable pixel by pixel, with or without a
// display. Text is drawn without antialiasing at a fixed 96 dots per inch, so
// the same design gives the same pixels on every machine.
class Surface {
public:
    static constexpr int Dpi = 96;

    explicit Surface(int ancho = 1, int alto = 1);

    int left() const { return mLeft; }
    int top() const { return mTop; }
    int width() const { return mImagen.width(); }
    int height() const { return mImagen.height(); }
    QRect geometry() const { return QRect(mLeft, mTop, width(), height()); }
    void move(int left, int top);
    // Growing keeps what was drawn; the new area takes the background colour.
    void resize(int ancho, int alto);
    void setGeometry(int left, int top, int ancho, int alto);

    Color backColor() const { return mBackColor; }
    Color foreColor() const { return mForeColor; }
    Color fillColor() const { return mFillColor; }
    void setBackColor(Color c) { mBackColor = c & 0xFFFFFF; }
    void setForeColor(Color c) { mForeColor = c & 0xFFFFFF; }
    void setFillColor(Color c) { mFillColor = c & 0xFFFFFF; }

    bool visible() const { return mVisible; }
    void setVisible(bool v) { mVisible = v; }
    bool border() const { return mBorder; }
    void setBorder(bool b) { mBorder = b; }

    int currentX() const { return mCurrentX; }
    int currentY() const { return mCurrentY; }
    void setCurrentX(int x) { mCurrentX = x; }
    void setCurrentY(int y) { mCurrentY = y; }

    // Fills with the background colour and puts the text position at (0, 0).
    void clear();
    // The colour at (x, y), or -1 outside the surface.
    int32_t point(int x, int y) const;
    void pset(int x, int y, Color c);
    void fillRect(const QRect& r, Color c);
    void line(int x1, int y1, int x2, int y2, Color c);

    // Font: each attribute on its own. A size of 0 or less draws nothing visible.
    QString fontName() const { return mFuente.family(); }
    double fontSize() const { return mPuntos; }
    bool fontBold() const { return mFuente.bold(); }
    bool fontItalic() const { return mFuente.italic(); }
    bool fontUnderline() const { return mFuente.underline(); }
    bool fontStrikethru() const { return mFuente.strikeOut(); }
    void setFontName(const QString& familia);
    void setFontSize(double puntos);
    void setFontBold(bool b) { mFuente.setBold(b); }
    void setFontItalic(bool b) { mFuente.setItalic(b); }
    void setFontUnderline(bool b) { mFuente.setUnderline(b); }
    void setFontStrikethru(bool b) { mFuente.setStrikeOut(b); }
    const QFont& font() const { return mFuente; }

    // Width (sum of advances) and height (ascent + descent) of a string, in whole pixels.
    int textWidth(const QString& s) const;
    int textHeight(const QString& s = QString()) const;
    int ascent() const;
    // Draws s with the top of its cell at the text position; the position moves right by its width.
    void print(const QString& s);

    // Paints a picture, or a part of it, stretched into r as a plain copy (see EstirarImagen).
    void paintPicture(const QImage& origen, const QRect& destino, const QRect& fuente = QRect());

    // The drawn content and the picture held as the surface's own content.
    const QImage& image() const { return mImagen; }
    QImage& image() { return mImagen; }
    const QImage& picture() const { return mPicture; }
    void setPicture(const QImage& p) { mPicture = p; }

    // Shows the drawn content: tells whoever displays the surface that it changed.
    void refresh() const {
        if (mAlRefrescar) mAlRefrescar();
    }
    void setAlRefrescar(std::function<void()> f) { mAlRefrescar = std::move(f); }

    // A QImage prepared the way every surface's backing image is (format and resolution).
    static QImage nuevaImagen(int ancho, int alto, Color fondo);
    // The font a surface uses for given attributes, for callers that measure outside a surface.
    static QFont fuenteMonocroma(const QString& familia);

private:
    QImage mImagen;
    QImage mPicture;
    QFont mFuente;
    double mPuntos = 8.25;
    int mLeft = 0;
    int mTop = 0;
    Color mBackColor = ColorBlanco;
    Color mForeColor = ColorNegro;
    Color mFillColor = ColorNegro;
    int mCurrentX = 0;
    int mCurrentY = 0;
    bool mVisible = true;
    bool mBorder = false;
    std::function<void()> mAlRefrescar;
};

// Stretches a rectangle of a picture to a size as a plain copy. Enlarging repeats
// pixels; shrinking keeps the darkest source pixel that falls on each dot, so thin
// black lines survive. The canvas, the raster output and the previews all use it.
QImage EstirarImagen(const QImage& origen, const QRect& fuente, const QSize& destino);

} // namespace quoravex
