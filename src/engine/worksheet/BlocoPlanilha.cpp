// The block clipboard of the worksheet: a selection copied as tab-separated
// text and as a Rich Text Format table, and a block of text pasted into a
// selection (at one cell, exactly, or repeated to fill it).
//
// The copied texts are the cells' texts as shown (a dichotomous cell shows its
// label). The RTF is 7-bit: other characters are written as escapes. A paste
// that does not fit the selection is refused before anything changes.
#include "worksheet/Gridzelto.h"

#include "common/Texto.h"

#include <algorithm>
#include <cstdio>

namespace zelto {

namespace {

constexpr int kMaxUsadas = 65535;

// The selection with its corners in order and cut to the grid; false when
// nothing of it lies on the grid.
bool AjustaSelecao(TSelecao &s, int colunas, int linhas) {
    if (s.Coluna0 > s.Coluna1) std::swap(s.Coluna0, s.Coluna1);
    if (s.Linha0 > s.Linha1) std::swap(s.Linha0, s.Linha1);
    s.Coluna0 = std::max(s.Coluna0, 0);
    s.Linha0 = std::max(s.Linha0, 0);
    s.Coluna1 = std::min(s.Coluna1, colunas - 1);
    s.Linha1 = std::min(s.Linha1, linhas - 1);
    return s.Coluna0 <= s.Coluna1 && s.Linha0 <= s.Linha1;
}

int Twips(int pixels, int ppi) {
    if (ppi <= 0) ppi = 96;
    return static_cast<int>(static_cast<long long>(pixels) * 1440 / ppi);
}

void AcrescentaUnicodeRtf(std::string &out, unsigned unidade) {
    int n = unidade > 32767 ? static_cast<int>(unidade) - 65536 : static_cast<int>(unidade);
    out += "\\u" + std::to_string(n) + "?";
}

// A UTF-8 text as RTF text: "\", "{" and "}" escaped, Windows-1252
// characters as \'hh, others as \uN?, tab and line feed as control words.
std::string TextoRtf(std::string_view utf8) {
    std::string out;
    for (char32_t cp : DecodificaUtf8(utf8)) {
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp == '\n') {
            out += "\\line ";
        } else if (cp < 0x20 || cp == 0x7F) {
            // other control characters have no place in a cell's text
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            std::string um;
            AcrescentaUtf8(um, cp);
            std::string byte = ParaCp1252(um);
            if (byte.size() == 1 && byte[0] != '?') {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(byte[0]));
                out += hex;
            } else if (cp <= 0xFFFF) {
                AcrescentaUnicodeRtf(out, cp);
            } else {
                char32_t v = cp - 0x10000;
                AcrescentaUnicodeRtf(out, 0xD800 + (v >> 10));
                AcrescentaUnicodeRtf(out, 0xDC00 + (v & 0x3FF));
            }
        }
    }
    return out;
}

std::string CorRtf(const TCorRgb &c) {
    return "\\red" + std::to_string(c.r) + "\\green" + std::to_string(c.g) + "\\blue" +
           std::to_string(c.b) + ";";
}

std::string Plural(int n, const char *singular, const char *plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

} // namespace

std::string TGridzelto::CopiaBlocoTexto(const TSelecao &sel) const {
    TSelecao s = sel;
    if (!AjustaSelecao(s, ColCount(), RowCount())) return "";
    std::string out;
    for (int r = s.Linha0; r <= s.Linha1; ++r) {
        for (int c = s.Coluna0; c <= s.Coluna1; ++c) {
            if (c > s.Coluna0) out += '\t';
            out += TextoExibido(c, r);
        }
        out += "\r\n";
    }
    return out;
}

std::string TGridzelto::CopiaBlocoRtf(const TSelecao &sel, const TAparenciaGrade &a) const {
    TSelecao s = sel;
    if (!AjustaSelecao(s, ColCount(), RowCount())) return "";
    const int ppi = a.PixelsPorPolegada;

    std::vector<TCorRgb> cores;
    for (const TCorRgb &c : {TCorRgb{0, 0, 0}, TCorRgb{128, 128, 128}, a.CorCelula, a.CorCabecalho})
        if (std::find(cores.begin(), cores.end(), c) == cores.end()) cores.push_back(c);
    auto indice = [&cores](const TCorRgb &c) {
        auto it = std::find(cores.begin(), cores.end(), c);
        return it == cores.end() ? 1 : static_cast<int>(it - cores.begin()) + 1;
    };
    const std::string preto = std::to_string(indice({0, 0, 0}));
    const std::string corCelula = std::to_string(indice(a.CorCelula));
    const std::string corCabecalho = std::to_string(indice(a.CorCabecalho));
    const std::string corFonte = std::to_string(indice(a.CorFonte));

    std::vector<std::string> l;
    l.push_back("{\\rtf1\\ansi\\deff0");
    l.push_back("{\\fonttbl");
    l.push_back("{\\f0\\fnil \\fprq0 " + TextoRtf(a.Fonte) + ";}");
    l.push_back("}");
    l.push_back("{\\colortbl;");
    for (const TCorRgb &c : cores)
        l.push_back(CorRtf(c));
    l.push_back("}");
    l.push_back("{\\info{\\author Zelto 32}}");

    std::string borda =
        "\\brdrs\\brdrw" + std::to_string(Twips(a.LarguraLinhaGrade, ppi)) + "\\brdrcf" + preto;
    std::string bordas;
    for (const char *lado : {"t", "l", "b", "r"})
        bordas += std::string("\\clbrdr") + lado + borda;

    for (int r = s.Linha0; r <= s.Linha1; ++r) {
        l.push_back("\\trowd \\trgaph60\\trqc");
        int borde = 0;
        for (int c = s.Coluna0; c <= s.Coluna1; ++c) {
            borde += Twips(LarguraColuna(c), ppi);
            bool fixa = r == 0 || c == 0;
            l.push_back("\\clvertalc" + bordas + "\\clcbpat" + (fixa ? corCabecalho : corCelula) +
                        "\\cellx" + std::to_string(borde));
        }
        l.push_back("\\intbl\\trrh" +
                    std::to_string(Twips(r == 0 ? AlturaCabecalho : AlturaLinha, ppi)));
        bool negrito = a.Negrito || r == 0 || s.Coluna1 == 0;
        std::string fonte = std::string(negrito ? "\\b" : "\\b0") + (a.Italico ? "\\i" : "\\i0") +
                            (a.Sublinhado ? "\\ul" : "\\ul0") + (a.Riscado ? "\\strike" : "") +
                            "\\fs" + std::to_string(2 * a.TamanhoFonte) + "\\cf" + corFonte + " ";
        for (int c = s.Coluna0; c <= s.Coluna1; ++c) {
            const char *alinha = "\\ql";
            if (const TVariavel *v = Variavel(c)) {
                if (v->Alinhamento == alDireita)
                    alinha = "\\qr";
                else if (v->Alinhamento == alCentro)
                    alinha = "\\qc";
            }
            l.push_back(std::string("\\f0") + alinha + fonte +
                        TextoRtf(TextoExibido(c, r)) + "\\intbl\\cell");
        }
        l.push_back("\\intbl\\row");
    }
    l.push_back("}");

    std::string out;
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i > 0) out += "\r\n";
        out += l[i];
    }
    return out;
}

TResultado TGridzelto::ColaBloco(const TSelecao &sel, std::string_view texto) {
    if (!Editavel) return {false, "A planilha não pode ser alterada agora."};

    // Lines end with "\r\n" or "\n"; a final empty line is no row of the block.
    std::vector<std::vector<std::string>> bloco;
    for (std::string &linha : Divide(texto, '\n')) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        bloco.push_back(Divide(linha, '\t'));
    }
    if (!texto.empty() && (texto.back() == '\n')) bloco.pop_back();
    if (texto.empty() || bloco.empty()) return {false, "Não há texto para colar."};
    const int h = static_cast<int>(bloco.size());
    int b = 0;
    for (const auto &linha : bloco)
        b = std::max(b, static_cast<int>(linha.size()));

    TSelecao s = sel;
    if (s.Coluna0 > s.Coluna1) std::swap(s.Coluna0, s.Coluna1);
    if (s.Linha0 > s.Linha1) std::swap(s.Linha0, s.Linha1);
    if (s.Coluna0 < 1 || s.Linha0 < 1)
        return {false, "O bloco só pode ser colado em células de dados."};
    const int sw = s.Coluna1 - s.Coluna0 + 1;
    const int sh = s.Linha1 - s.Linha0 + 1;

    // The target: the block itself at a single cell; otherwise the selection
    // filled with whole copies of the block, across a one-row selection, down a
    // one-column selection, or both ways.
    int largura = 0, altura = 0;
    if (sw == 1 && sh == 1) {
        largura = b;
        altura = h;
    } else if (sw % b == 0 && sh % h == 0) {
        largura = sw;
        altura = sh;
    } else if (sh == 1 && sw % b == 0) {
        largura = sw;
        altura = h;
    } else if (sw == 1 && sh % h == 0) {
        largura = b;
        altura = sh;
    } else {
        return {false, "O bloco copiado (" + Plural(b, "coluna", "colunas") + " × " +
                           Plural(h, "linha", "linhas") + ") não cabe na seleção."};
    }
    const int c0 = s.Coluna0, r0 = s.Linha0;
    const long long direita = static_cast<long long>(c0) + largura - 1;
    const long long fundo = static_cast<long long>(r0) + altura - 1;
    if (direita > kMaxUsadas || fundo > kMaxUsadas)
        return {false, "O bloco colado ultrapassa o tamanho máximo da planilha."};
    const int c1 = static_cast<int>(direita), r1 = static_cast<int>(fundo);

    if (r1 >= RowCount()) AcrescentaLinhas(r1 - RowCount() + 1);
    if (c1 >= ColCount()) AcrescentaColunas(c1 - ColCount() + 1);
    if (r1 > linhasUsadas_) DefineLinhasUsadas(r1);
    if (c1 > colunasUsadas_) DefineColunasUsadas(c1);
    for (int c = c0; c <= c1; ++c)
        if (!Variavel(c)) DefinePorDigitacao(c, U'a');
    static const std::string vazio;
    for (int r = r0; r <= r1; ++r) {
        const auto &linha = bloco[(r - r0) % h];
        for (int c = c0; c <= c1; ++c) {
            std::size_t i = static_cast<std::size_t>((c - c0) % b);
            AtribuiTexto(c, r, i < linha.size() ? linha[i] : vazio);
        }
    }
    for (int r = r0; r <= r1; ++r)
        RecalcularLinha(r);
    DefineModificada(true);
    return {};
}

} // namespace zelto
