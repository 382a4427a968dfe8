#include "ObjetoTicket.h"

namespace quoravex {

void ObjetoTicket::fuenteInicial() {
    FontName = QString();
    FontSize = 30;
    FontStyle = 0;
    FontUnderline = 0;
    FontStrikethru = 0;
    CurrentX = 1;
    CurrentY = 1;
    TextWidth = 0;
    TextHeight = 0;
}

void ObjetoTicket::liberar() {
    EnUso = Falso;
    Tipo = 0;
    Top = 1;
    Left = 1;
    Width = 382;
    Height = 120;
    Texto = QString();
    fuenteInicial();
}

} // namespace quoravex
