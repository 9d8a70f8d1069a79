#include "SequenciaPadrao.h"

#include <QPainter>

namespace zelto::teste {

QImage ImagemPadrao() {
    QImage imagem(40, 24, QImage::Format_RGB32);
    imagem.fill(Qt::white);
    for (int x = 0; x < 40; ++x) {
        imagem.setPixel(x, 0, qRgb(0, 0, 0));
        imagem.setPixel(x, 23, qRgb(0, 0, 0));
    }
    for (int y = 0; y < 24; ++y) {
        imagem.setPixel(0, y, qRgb(0, 0, 0));
        imagem.setPixel(39, y, qRgb(0, 0, 0));
        imagem.setPixel(y + 8, y, qRgb(255, 0, 0));
    }
    for (int y = 4; y < 10; ++y)
        for (int x = 3; x < 12; ++x) imagem.setPixel(x, y, qRgb(0, 0, 255));
    for (int y = 14; y < 20; ++y)
        for (int x = 26; x < 36; ++x) imagem.setPixel(x, y, qRgb(0, 128, 0));
    return imagem;
}

void EscreveSequenciaPadrao(TArqEditor &w) {
    w.Title = QStringLiteral("Laudo de avaliação");
    w.Subject = QStringLiteral("Relatório {teste}");
    w.SetCanvas(nullptr);
    w.SetPage(170, 25, 247, 25, 210, 297);

    TFonte pequena;
    pequena.Tamanho = 8;
    w.BeginHeader();
    w.WriteHeaderFooterText({QStringLiteral("Avaliação de imóvel\r\nPágina (página)"), pequena, 2});
    w.EndHeader();
    w.BeginFooter();
    w.WriteHeaderFooterText({QStringLiteral("Folha (página) do laudo"), pequena, 1});
    w.EndFooter();

    w.BeginItem(1, QStringLiteral("TIA_Modelo"), QStringLiteral("Modelo"));
    TFonte titulo;
    titulo.Nome = QStringLiteral("Times New Roman");
    titulo.Tamanho = 14;
    titulo.Negrito = true;
    w.SetFont(titulo);
    w.SetFont(titulo); // the same font again writes nothing
    w.AlignCenter();
    w.WriteLine(QStringLiteral("Modelo de regressão"));

    w.BeginPart();
    TFonte corpo;
    w.SetFont(corpo);
    w.AlignJustify();
    w.WriteText(QStringLiteral("Ação, índice, coração: é ü ç ã; chaves {x} e barra \\. "));
    w.WriteLine(QStringLiteral("Coeficiente 1,2345###-5% e R%^%2% = 0,98."));
    w.WriteLine(QStringLiteral("  1,18###4932% e -1,18###4932% são infinitos"));
    w.AlignLeft();
    w.BoldOn();
    w.BoldOn(); // already bold: nothing more
    w.WriteText(QStringLiteral("negrito "));
    w.BoldOff();
    w.ItalicOn();
    w.WriteText(QStringLiteral("itálico "));
    w.ItalicOff();
    w.UnderlineOn();
    w.WriteText(QStringLiteral("sublinhado"));
    w.UnderlineOff();
    w.SetTextColor(Cor(200, 0, 0));
    w.WriteText(QStringLiteral(" vermelho"));
    w.SetTextColor(CorPreta);
    w.NewParagraph();
    const double tabs[2] = {40, 90};
    const std::uint8_t tipos[2] = {0, 1};
    w.SetTabs(tabs, 1, tipos);
    w.WriteLine(QStringLiteral("Nome\tValor\t12,5"));

    w.BeginPart();
    w.BeginTable(3, 4, 6000, atCentro);
    w.TableBorders[bdBase] = TBorda{1, 2, 1, false, CorPreta};
    w.GetColumn(1).Largura = 3000;
    w.GetColumn(2).Largura = 1500;
    w.GetColumn(3).Largura = 1500;
    w.GetColumn(3).CorFundo = Cor(230, 230, 230);
    w.BeginRow();
    const char *celulas[3][3] = {{"Variável", "Coeficiente", "t"},
                                 {"área", "1,25", "3,40"},
                                 {"frente", "-0,5", "-2,1"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            w.WriteFormatted(QString::fromUtf8(celulas[r][c]));
            w.NextCell();
        }
        w.EndRow();
    }
    w.WriteText(QStringLiteral("Total"));
    w.NextCell();
    w.EndTable();
    w.NewParagraph();

    w.BeginItem(2, QStringLiteral("TIA_Dispersao"), QStringLiteral("Gráfico de dispersão"));
    w.AlignCenter();
    w.WriteBitmap(ImagemPadrao(), 100, 16);
    w.NewParagraph();
    w.WritePicture(ImagemPadrao(), 50, 256);
    w.NewPage();
    w.AlignLeft();
    w.WriteLine(QStringLiteral("Fim do relatório."));
}

} // namespace zelto::teste
