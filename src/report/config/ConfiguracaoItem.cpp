#include "config/ConfiguracaoItem.h"

#include "common/Numeros.h"
#include "common/Texto.h"
#include "config/ConfiguracaoRelatorio.h"
#include "config/Hexadecimal.h"

namespace zelto {

namespace {

// Reads a hexadecimal key: `le` takes the fields from the reader; the fields are kept only when
// the key is whole. A missing key reads `padrao`. False when the key was present but damaged
// (the default is read then).
template <class F>
bool LeChaveHex(const TArquivoIni &ini, const std::string &secao, const std::string &chave,
                const char *padrao, F le) {
    const bool existe = ini.Existe(secao, chave);
    if (existe) {
        const std::string texto = ini.LeTexto(secao, chave);
        TLeitorHex h(AparaBrancos(texto));
        if (le(h) && h.Completo()) return true;
    }
    TLeitorHex h(padrao);
    le(h);
    return !existe;
}

bool LeItem(const TArquivoIni &ini, const std::string &secao, TConfigItem &c) {
    bool ok = LeFonteRelatorio(ini, secao, "Tit", c.FonteTitulo);
    ok = LeFonteRelatorio(ini, secao, "Crp", c.FonteCorpo) && ok;
    ok = LeFonteRelatorio(ini, secao, "Cmn", c.FonteComentario) && ok;
    ok = LeChaveHex(ini, secao, "InT", "01640001",
                    [&](TLeitorHex &h) {
                        const bool incluido = h.Byte() != 0;
                        const std::uint16_t espacamento = h.Palavra();
                        const bool comentarios = h.Byte() != 0;
                        // Line spacing: single, one and a half or double (in percent).
                        if (!h.Ok() || espacamento < 100 || espacamento > 200) return false;
                        c.Incluido = incluido;
                        c.Espacamento = espacamento;
                        c.Comentarios = comentarios;
                        return true;
                    }) &&
         ok;
    return ok;
}

void GravaItem(TArquivoIni &ini, const std::string &secao, const TConfigItem &c) {
    ini.EscreveFonte("Tit", secao, FonteParaIni(c.FonteTitulo));
    ini.EscreveFonte("Crp", secao, FonteParaIni(c.FonteCorpo));
    ini.EscreveFonte("Cmn", secao, FonteParaIni(c.FonteComentario));
    TEscritorHex h;
    h.Byte(c.Incluido).Palavra(c.Espacamento).Byte(c.Comentarios);
    ini.EscreveTexto(secao, "InT", h.Texto());
}

bool LeTabela(const TArquivoIni &ini, const std::string &secao, TConfigTabela &t) {
    bool ok = true;
    for (int r = 0; r < 5; ++r) {
        TFormatoCelula &f = t.Formatos[static_cast<std::size_t>(r)];
        const std::string tag = kEtiquetasRegiao[r];
        ok = LeFonteRelatorio(ini, secao, "F" + tag, f.Fonte) && ok;
        ok = LeChaveHex(ini, secao, "B" + tag, kBordasPadrao,
                        [&](TLeitorHex &h) {
                            std::array<TLadoCelula, 6> lados{};
                            for (int i = 0; i < 4; ++i) {
                                TLadoCelula &l = lados[static_cast<std::size_t>(i)];
                                l.Tipo = h.Byte();
                                l.Multiplicidade = h.Byte();
                                l.Espessura = h.Byte();
                                l.Cor = h.PalavraDupla();
                            }
                            if (!h.Ok()) return false;
                            lados[4] = lados[2];
                            lados[5] = lados[0];
                            f.Lados = lados;
                            return true;
                        }) &&
             ok;
        const std::string chave = "C" + tag;
        f.Fundo = CorBranca;
        if (ini.Existe(secao, chave)) {
            long long cor = -1;
            if (ConverteInteiro(ini.LeTexto(secao, chave), cor) && cor >= 0 && cor <= 0xFFFFFFFFLL)
                f.Fundo = static_cast<TCor>(cor);
            else
                ok = false;
        }
    }
    return ok;
}

void GravaTabela(TArquivoIni &ini, const std::string &secao, const TConfigTabela &t) {
    for (int r = 0; r < 5; ++r) {
        const TFormatoCelula &f = t.Formatos[static_cast<std::size_t>(r)];
        const std::string tag = kEtiquetasRegiao[r];
        ini.EscreveFonte("F" + tag, secao, FonteParaIni(f.Fonte));
        TEscritorHex h;
        for (int i = 0; i < 4; ++i) {
            const TLadoCelula &l = f.Lados[static_cast<std::size_t>(i)];
            h.Byte(l.Tipo).Byte(l.Multiplicidade).Byte(l.Espessura).PalavraDupla(l.Cor);
        }
        ini.EscreveTexto(secao, "B" + tag, h.Texto());
        ini.EscreveTexto(secao, "C" + tag, std::to_string(f.Fundo));
    }
}

// The chart settings keep the memory of their origin: "Dados" holds the line pen's width in
// four bytes whose three upper bytes are the three low bytes of the sixth colour, so "Dados"
// is read after "Cores" and overwrites them, and writing stores the same bytes back.
bool LeGrafico(const TArquivoIni &ini, const std::string &secao, TConfigGrafico &g, bool series) {
    bool ok = LeFonteRelatorio(ini, secao, "FEX", g.FonteEscalaX);
    ok = LeFonteRelatorio(ini, secao, "FEY", g.FonteEscalaY) && ok;
    ok = LeFonteRelatorio(ini, secao, "FMR", g.FonteSeries) && ok;
    ok = LeChaveHex(ini, secao, "Cores", "FFFFFF00C0C0C000C0C0C0000000FF00FF000000D0D0D0D00000FF00",
                    [&](TLeitorHex &h) {
                        std::array<TCor, 7> cores{};
                        for (TCor &c : cores)
                            c = h.PalavraDupla();
                        if (!h.Ok()) return false;
                        g.Cores = cores;
                        return true;
                    }) &&
         ok;
    ok = LeChaveHex(ini, secao, "Eixos", "00020A000100020A0001",
                    [&](TLeitorHex &h) {
                        std::array<TConfigGrafico::TEixo, 2> eixos = g.Eixos; // the manual ranges stay
                        for (TConfigGrafico::TEixo &e : eixos) {
                            e.Modo = h.Byte();
                            e.Grade = h.Byte();
                            e.Divisoes = h.Palavra();
                            e.Extra = h.Byte();
                            if (e.Modo == 1) e.Modo = 0;
                            if (e.Divisoes > 100) return false;
                        }
                        if (!h.Ok()) return false;
                        g.Eixos = eixos;
                        return true;
                    }) &&
         ok;
    ok = LeChaveHex(ini, secao, "Dados", "03D00001D0D0D06464",
                    [&](TLeitorHex &h) {
                        const std::uint8_t o0 = h.Byte(), o1 = h.Byte(), estilo = h.Byte();
                        const std::uint32_t largura = h.PalavraDupla();
                        const std::uint8_t lg = h.Byte(), ag = h.Byte();
                        // The dialog's bounds: pens 1 to 10 wide, pictures 20 % to 255 %.
                        if (!h.Ok() || (largura & 0xFF) < 1 || (largura & 0xFF) > 10 || lg < 20 || ag < 20)
                            return false;
                        g.OpcoesSerie = {o0, o1};
                        g.EstiloCaneta = estilo;
                        g.LarguraCaneta = static_cast<std::uint8_t>(largura & 0xFF);
                        g.Cores[5] = (g.Cores[5] & 0xFF000000u) | (largura >> 8);
                        g.LarguraGrafico = lg;
                        g.AlturaGrafico = ag;
                        return true;
                    }) &&
         ok;
    if (series)
        ok = LeChaveHex(ini, secao, "MGr", "0101000000010A00",
                        [&](TLeitorHex &h) {
                            std::array<std::uint8_t, 6> opcoes{};
                            for (std::uint8_t &o : opcoes)
                                o = h.Byte();
                            const std::uint16_t valor = h.Palavra();
                            if (!h.Ok()) return false;
                            g.OpcoesMGr = opcoes;
                            g.ValorMGr = valor;
                            return true;
                        }) &&
             ok;
    return ok;
}

void GravaGrafico(TArquivoIni &ini, const std::string &secao, const TConfigGrafico &g, bool series) {
    ini.EscreveFonte("FEX", secao, FonteParaIni(g.FonteEscalaX));
    ini.EscreveFonte("FEY", secao, FonteParaIni(g.FonteEscalaY));
    ini.EscreveFonte("FMR", secao, FonteParaIni(g.FonteSeries));
    TEscritorHex cores;
    for (TCor c : g.Cores)
        cores.PalavraDupla(c);
    ini.EscreveTexto(secao, "Cores", cores.Texto());
    TEscritorHex eixos;
    for (const TConfigGrafico::TEixo &e : g.Eixos)
        eixos.Byte(e.Modo).Byte(e.Grade).Palavra(e.Divisoes).Byte(e.Extra);
    ini.EscreveTexto(secao, "Eixos", eixos.Texto());
    TEscritorHex dados;
    dados.Byte(g.OpcoesSerie[0])
        .Byte(g.OpcoesSerie[1])
        .Byte(g.EstiloCaneta)
        .PalavraDupla(g.LarguraCaneta | ((g.Cores[5] & 0x00FFFFFFu) << 8))
        .Byte(g.LarguraGrafico)
        .Byte(g.AlturaGrafico);
    ini.EscreveTexto(secao, "Dados", dados.Texto());
    if (series) {
        TEscritorHex mgr;
        for (std::uint8_t o : g.OpcoesMGr)
            mgr.Byte(o);
        mgr.Palavra(g.ValorMGr);
        ini.EscreveTexto(secao, "MGr", mgr.Texto());
    }
}

} // namespace

TRegiaoTabela TConfigTabela::Regiao(int linha, int coluna, int linhas, int colunas) const {
    if (linha == 0 && (FlagsFormato & 1)) return rtPrimeiraLinha;
    if (linha == linhas - 1 && (FlagsFormato & 2)) return rtUltimaLinha;
    if (coluna == 0 && (FlagsFormato & 4)) return rtPrimeiraColuna;
    if (coluna == colunas - 1 && (FlagsFormato & 8)) return rtUltimaColuna;
    return rtCorpo;
}

bool LeConfiguracaoItem(const TArquivoIni &ini, const TRegistroConfiguracao &r) {
    bool ok = LeItem(ini, r.Secao, *r.Item);
    if (r.Tabela) ok = LeTabela(ini, r.Secao, *r.Tabela) && ok;
    if (r.Grafico) ok = LeGrafico(ini, r.Secao, *r.Grafico, r.Series) && ok;
    return ok;
}

void GravaConfiguracaoItem(TArquivoIni &ini, const TRegistroConfiguracao &r) {
    GravaItem(ini, r.Secao, *r.Item);
    if (r.Tabela) GravaTabela(ini, r.Secao, *r.Tabela);
    if (r.Grafico) GravaGrafico(ini, r.Secao, *r.Grafico, r.Series);
}

} // namespace zelto
