#include "evaluation/DadosPlanilha.h"
#include "writer/TextoLiteral.h"

#include "common/Datas.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "regression/Transformacoes.h"
#include "search/Pesquisa.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

int AlinhamentoEscritor(std::uint8_t a) {
    switch (a) {
    case Alinhamento::alDireita: return 2;
    case Alinhamento::alCentro: return 1;
    default: return 0;
    }
}

int UltimaColuna(const TGridzelto &g) { return std::min<int>(g.ColunasUsadas(), g.ColCount() - 1); }

std::string TextoCodigo(long double x) { return RemoveZerosFinais(FormatoFixo(x, 6)); }

} // namespace

TInfoVariavel VariavelPlanilha(const TGridzelto &g, int c) {
    TInfoVariavel info;
    const TVariavel *v = c >= 1 && c < g.ColCount() ? g.Variavel(c) : nullptr;
    if (!v) return info;
    info.Coluna = c;
    info.Nome = g.Celula(c, 0);
    info.Descricao = v->Descricao;
    info.Tipo = v->Tipo;
    info.Usada = v->Usada;
    info.Dependente = v->Dependente;
    info.Coeficiente = v->CoeficienteHomogeneizacao;
    info.Alinhamento = AlinhamentoEscritor(v->Alinhamento);
    info.CasasDecimais = v->CasasDecimais;
    if (v->Tipo == tvQualitativa)
        for (const TObjetoValor &i : g.Formato(c).Itens)
            info.Classes.emplace_back(i.Rotulo, TextoCodigo(i.Valor));
    if (v->Tipo == tvDicotomica) {
        const auto barra = v->Rotulos.find('|');
        info.RotuloVerdadeiro = v->Rotulos.substr(0, barra);
        info.RotuloFalso = barra == std::string::npos ? std::string() : v->Rotulos.substr(barra + 1);
    }
    if (v->Tipo == tvCalculada) info.Equacao = v->Equacao;
    if (v->Tipo == tvData) {
        info.EmMeses = v->TipoData == tdMesAno;
        info.DataReferencia = TextoData(static_cast<long>(v->DataReferencia), tdDiaMesAno);
    }
    return info;
}

std::vector<TInfoVariavel> VariaveisPlanilha(const TGridzelto &g) {
    std::vector<TInfoVariavel> r;
    for (int c = 1; c <= UltimaColuna(g); ++c)
        if (g.Variavel(c)) r.push_back(VariavelPlanilha(g, c));
    return r;
}

std::vector<TInfoAmostra> AmostrasPlanilha(const TGridzelto &g) {
    std::vector<TInfoAmostra> r;
    const int ultima = std::min<int>(g.LinhasUsadas(), g.RowCount() - 1);
    for (int l = 1; l <= ultima; ++l) {
        TInfoAmostra a;
        a.Linha = l;
        a.Rotulo = g.Celula(0, l);
        if (const TAmostragem *am = g.Amostragem(l)) {
            a.Desconsiderada = am->Desconsiderada;
            a.Saneada = am->Saneada;
        }
        r.push_back(std::move(a));
    }
    return r;
}

std::string TextoAmostra(const TGridzelto &g, int c, int l) {
    const TVariavel *v = g.Variavel(c);
    if (v && v->Tipo == tvDicotomica)
        return (g.Celula(c, l) == "TRUE" ? "[x]" : "[ ]") + Literal(g.TextoExibido(c, l));
    return Literal(g.Celula(c, l));
}

long double ValorPlanilha(const TGridzelto &g, int c, int l) { return g.ValorCelula(c, l); }

std::string TextoValorVariavel(const TGridzelto &g, int c, long double x) {
    const TVariavel *v = g.Variavel(c);
    if (!v || (v->Tipo != tvNumerica && v->Tipo != tvCalculada)) return {};
    // The marker of a value that could not be computed prints as the report announces it.
    if (!std::isfinite(x) || x >= Infinito || x <= -Infinito) return "????";
    // Beyond the digits a worksheet column shows, in powers of ten.
    if (std::fabs(x) >= 1e15L) return FormatoCientifico(x, 3);
    return v->PontosDeMilhar ? FormatoMilhar(x, v->CasasDecimais) : FormatoFixo(x, v->CasasDecimais);
}

const std::string &ArquivoPlanilha(const TGridzelto &g) { return g.NomeArquivo; }

bool ObjetoIncompleto(const TGridzelto &g) {
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada || v->Dependente || v->Tipo == tvComentario) continue;
        bool tem = false;
        for (const std::string &linha : g.ValoresObjeto) {
            const auto igual = linha.find('=');
            if (igual != std::string::npos && IguaisSemCaixa(Apara(linha.substr(0, igual)), g.Celula(c, 0)) &&
                !Apara(linha.substr(igual + 1)).empty())
                tem = true;
        }
        if (!tem) return true;
    }
    return false;
}

TModelosPesquisados ModelosPesquisados(const TPesquisa &p, const TGridzelto &g) {
    TModelosPesquisados r;
    if (!p.TabelaMontada() || p.Tabela().empty()) return r;
    r.Equacoes.emplace_back();
    for (std::size_t l = 0; l < p.Tabela().size(); ++l) {
        const TLinhaTabela &linha = p.Tabela()[l];
        r.Tabela.emplace_back(linha.begin(), linha.end());
        if (l == 0) continue;
        const int slot = p.SlotDaLinha(static_cast<int>(l));
        const TModeloPesquisado &m = p.Lista().Slot(slot);
        const int d = p.D();
        auto termo = [&](int c) {
            return "[" + NomeTransformacao(Literal(g.Celula(c, 0)), m.Codigos[static_cast<std::size_t>(c)]) + "]";
        };
        std::string eq = termo(d) + " = b0";
        int j = 0;
        for (int c = 1; c <= p.V(); ++c)
            if (c != d && m.Codigos[static_cast<std::size_t>(c)] != 0)
                eq += " + b" + std::to_string(++j) + "*" + termo(c);
        r.Equacoes.push_back(std::move(eq));
    }
    r.Tabela[0][0] = "Nº Modelo";
    return r;
}

} // namespace zelto
