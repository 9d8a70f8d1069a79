#include "ModeloCli.h"

#include "common/Numeros.h"
#include "common/Texto.h"
#include "files/ArquivoIni.h"
#include "regression/Transformacoes.h"
#include "search/MotorPesquisa.h"
#include "search/ObjetoAvaliacao.h"
#include "search/Pesquisa.h"
#include "search/GrauModelos.h"
#include "significance/Significancias.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <map>

namespace zelto::cli {

int Coluna(const TGridzelto &g, const std::string &nome) {
    const int ultima = std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
    for (int c = 1; c <= ultima; ++c)
        if (g.Variavel(c) && g.Celula(c, 0) == nome) return c;
    for (int c = 1; c <= ultima; ++c)
        if (g.Variavel(c) && IguaisSemCaixa(g.Celula(c, 0), nome)) return c;
    throw TFalha{2, "A planilha não tem a variável \"" + nome + "\"."};
}

std::vector<std::pair<std::string, std::string>> Pares(std::string_view texto) {
    std::vector<std::pair<std::string, std::string>> pares;
    for (const std::string &parte : Divide(texto, ',')) {
        const auto igual = parte.find('=');
        if (igual == std::string::npos && !pares.empty()) {
            pares.back().second += "," + parte;
        } else if (igual == std::string::npos) {
            if (!Apara(parte).empty()) throw TFalha{2, "Falta \"=\" em \"" + parte + "\"."};
        } else {
            pares.emplace_back(Apara(parte.substr(0, igual)), parte.substr(igual + 1));
        }
    }
    return pares;
}

void MarcaUsadas(TGridzelto &grid, const std::string &usar, int manter) {
    if (usar.empty()) return;
    std::vector<bool> usadas(static_cast<std::size_t>(grid.ColCount()), false);
    bool alguma = false;
    for (const std::string &nome : Divide(usar, ','))
        if (!Apara(nome).empty()) {
            usadas[static_cast<std::size_t>(Coluna(grid, Apara(nome)))] = true;
            alguma = true;
        }
    if (!alguma)
        throw TFalha{2, "--use precisa de ao menos um nome de variável: \"" + usar + "\"."};
    for (int c = 1; c < grid.ColCount(); ++c)
        if (TVariavel *v = grid.Variavel(c); v && v->Tipo != tvComentario)
            v->Usada = usadas[static_cast<std::size_t>(c)] || (manter != 0 && c == manter);
    grid.RecalcularTudo();
}

int DefineVariaveis(TGridzelto &grid, const std::string &nome, const std::string &usar) {
    const int dependente = nome.empty() ? 0 : Coluna(grid, nome);
    int marcada = 0;
    for (int c = 1; c < grid.ColCount(); ++c)
        if (const TVariavel *v = grid.Variavel(c); v && v->Dependente) marcada = c;
    MarcaUsadas(grid, usar, dependente ? dependente : marcada);
    if (dependente)
        for (int c = 1; c < grid.ColCount(); ++c)
            if (TVariavel *v = grid.Variavel(c)) {
                v->Dependente = c == dependente;
                if (c == dependente) v->Usada = true;
            }
    return dependente;
}

void DefineObjeto(TGridzelto &grid, const std::string &sujeito) {
    std::vector<int> vistas;
    for (const auto &[nome, valor] : Pares(sujeito)) {
        const int c = Coluna(grid, nome);
        if (std::find(vistas.begin(), vistas.end(), c) != vistas.end())
            throw TFalha{2, "A variável \"" + nome + "\" aparece mais de uma vez em --subject."};
        vistas.push_back(c);
        if (const std::string recusa = RecusaValorObjeto(grid, c, valor); !recusa.empty())
            throw TFalha{2, recusa};
        const TVariavel *v = grid.Variavel(c);
        const bool forma = v->Tipo != tvNumerica && v->Tipo != tvComentario && !Apara(valor).empty();
        DefineValorObjeto(grid.ValoresObjeto, grid.Celula(c, 0),
                          forma ? grid.TextoNormalizado(c, valor) : valor);
    }
}

void ConfereValoresObjeto(const TGridzelto &g, const std::vector<int> &colunas) {
    for (int c : colunas)
        if (const std::string recusa = RecusaValorObjeto(g, c, TextoObjetoColuna(g, c));
            !recusa.empty())
            throw TFalha{1, "Objeto sob avaliação: " + recusa};
}

long long InteiroOpcao(std::string_view opcao, std::string_view texto, long long minimo,
                       long long maximo) {
    long long n = 0;
    if (!ConverteInteiro(texto, n) || n < minimo || n > maximo)
        throw TFalha{2, std::string(opcao) + " aceita um número inteiro de " +
                            std::to_string(minimo) + " a " + std::to_string(maximo) + ": \"" +
                            std::string(texto) + "\"."};
    return n;
}

std::vector<TTermo> TermosModelo(const TGridzelto &grid, const std::string &modelo, int dependente) {
    std::map<int, std::uint8_t> codigos;
    for (const auto &[nome, texto] : Pares(modelo)) {
        long long codigo = -1;
        if (!ConverteInteiro(texto, codigo) || codigo < 0 || codigo > MaiorCodigoTransformacao)
            throw TFalha{2, "Código de transformação inválido para \"" + nome + "\": \"" + texto +
                                "\" (use 0 a 14)."};
        const int c = Coluna(grid, nome);
        if (grid.Variavel(c)->Tipo == tvComentario)
            throw TFalha{2, "A variável \"" + nome + "\" é um comentário."};
        if (!codigos.emplace(c, static_cast<std::uint8_t>(codigo)).second)
            throw TFalha{2, "A variável \"" + nome + "\" aparece mais de uma vez em --model."};
    }
    if (codigos[dependente] == 0)
        throw TFalha{2, "O modelo deve dar um código de 1 a 14 à variável dependente \"" +
                            grid.Celula(dependente, 0) + "\"."};
    std::vector<TTermo> termos{{static_cast<std::uint16_t>(dependente), codigos[dependente]}};
    for (const auto &[c, codigo] : codigos)
        if (c != dependente && codigo != 0) termos.push_back({static_cast<std::uint16_t>(c), codigo});
    if (termos.size() > MaximoTermos) throw TFalha{2, "O modelo tem mais de 200 termos."};
    return termos;
}

// ---- The search's options -------------------------------------------------------------------

namespace {

// "0,1,2,8" as a mask.
std::uint32_t Codigos(const std::string &texto) {
    std::uint32_t mascara = 0;
    for (const std::string &parte : Divide(texto, ',')) {
        long long k = -1;
        if (!ConverteInteiro(Apara(parte), k) || k < 0 || k > MaiorCodigoTransformacao)
            throw TFalha{2, "Código de transformação inválido: \"" + parte + "\" (use 0 a 14)."};
        mascara |= 1u << k;
    }
    return mascara;
}

TipoPesquisa Tipo(const std::string &t) {
    if (t == "manual") return tpManual;
    if (t == "padrao") return tpPadrao;
    if (t == "completa") return tpCompleta;
    if (t == "usuario") return tpUsuario;
    if (t == "dirigida") return tpDirigida;
    throw TFalha{2, "Tipo de pesquisa inválido: \"" + t +
                        "\" (use padrao, completa, manual, usuario ou dirigida)."};
}

CriterioPesquisa Criterio(const std::string &c) {
    if (c == "r") return cpCorrelacao;
    if (c == "f") return cpSignificanciaModelo;
    if (c == "sig") return cpRegressores;
    if (c == "r2adj") return cpR2Ajustado;
    if (c == "grau") return cpCorrelacao; // re-ordered by grade after the search
    throw TFalha{2, "Critério inválido: \"" + c + "\" (use r, f, sig, r2adj ou grau)."};
}

} // namespace

void RegistraOpcoesPesquisa(CLI::App &cmd, TOpcoesPesquisa &o) {
    cmd.add_option("--type", o.tipo, "Tipo de pesquisa: padrao, completa, manual, usuario, dirigida");
    cmd.add_option("--mask", o.mascaras,
                   "Códigos permitidos: \"NOME=0,1,2,8\" para uma variável, \"*=...\" para todas "
                   "(pode repetir)");
    cmd.add_option("--criterion", o.criterio, "Ordenar por: r, f, sig, r2adj ou grau (padrão r); grau: grau de fundamentação, depois R, "
                   "entre os 50 melhores modelos por R");
    cmd.add_option("--rapid", o.rapida, "Pesquisa rápida com blocos de L variáveis");
    cmd.add_option("--threads", o.threads,
                   "Threads, de 1 a " + std::to_string(MaximoThreads()) +
                       " (quatro por núcleo; padrão: uma por núcleo)");
    cmd.add_option("--significance", o.significancia,
                   "Níveis de significância de uma configuração .NRM");
}

TSignificancias SignificanciasCli(const std::string &arquivo) {
    TSignificancias sig;
    if (arquivo.empty()) return sig;
    ConfereArquivo(arquivo);
    TArquivoIni ini(arquivo);
    if (!ini.Aberto() || !ini.Existe(kSecaoSignificancias, "stcc"))
        throw TFalha{2, "O arquivo de --significance não é uma configuração de níveis de "
                        "significância (.NRM): " +
                            arquivo + "."};
    sig.Le(ini);
    return sig;
}

void ConfiguraPesquisa(TPesquisa &p, const TGridzelto &g, const TOpcoesPesquisa &o) {
    const int rapida =
        o.rapida.empty() ? 0 : static_cast<int>(InteiroOpcao("--rapid", o.rapida, 1, 65535));
    p.Threads = o.threads.empty() ? 0
                                  : static_cast<unsigned>(
                                        InteiroOpcao("--threads", o.threads, 1, MaximoThreads()));
    struct Mascara {
        int coluna; // 0: every variable
        std::uint32_t codigos;
    };
    std::vector<Mascara> mascaras;
    bool propria = false;
    for (const std::string &m : o.mascaras) {
        const auto igual = m.find('=');
        if (igual == std::string::npos) throw TFalha{2, "Falta \"=\" em \"" + m + "\"."};
        const std::string nome = Apara(m.substr(0, igual));
        const int c = nome == "*" ? 0 : Coluna(g, nome);
        propria = propria || c != 0;
        mascaras.push_back({c, Codigos(m.substr(igual + 1))});
    }
    const TipoPesquisa tipo = !o.tipo.empty() ? Tipo(o.tipo) : propria ? tpDirigida : tpPadrao;
    const bool porVariavel = tipo == tpManual || tipo == tpDirigida;

    const int resultado = p.Configura([&](TSelecaoPesquisa &d) {
        d.PressionaTipo(tipo);
        for (const Mascara &m : mascaras) {
            if ((m.coluna != 0) != porVariavel)
                throw TFalha{2, porVariavel ? "Com --type manual ou dirigida, use --mask NOME=..."
                                            : "Uma máscara por variável pede --type dirigida ou "
                                              "manual; para todas as variáveis use --mask *=..."};
            if (m.coluna != 0) {
                int pagina = -1;
                for (std::size_t i = 0; i < d.Paginas().size(); ++i)
                    if (d.Paginas()[i].Coluna == m.coluna) pagina = static_cast<int>(i);
                if (pagina < 0)
                    throw TFalha{2, "A variável \"" + g.Celula(m.coluna, 0) + "\" não é usada."};
                d.MudaPagina(pagina);
            }
            if (tipo == tpManual && NumeroCodigos(m.codigos) != 1)
                throw TFalha{2, "A pesquisa manual dá um só código a cada variável."};
            for (std::uint8_t k = 0; k <= MaiorCodigoTransformacao; ++k)
                if (!((m.codigos >> k) & 1u)) d.MarcaCaixa(k, false);
            for (std::uint8_t k = 0; k <= MaiorCodigoTransformacao; ++k)
                if ((m.codigos >> k) & 1u) d.MarcaCaixa(k, true);
        }
        if (!o.criterio.empty()) d.DefineCriterio(Criterio(o.criterio));
        if (rapida > 0) {
            if (!d.RapidaOferecida())
                throw TFalha{2, "A pesquisa rápida não é oferecida na pesquisa manual."};
            d.DefinePesquisaRapida(true);
            d.DefineDeslizador(rapida);
        }
        return kResultadoExecuta;
    });
    if (resultado != kResultadoExecuta)
        throw TFalha{1, "Não existem modelos a pesquisar. Verifique se existem variáveis ativas."};
}

} // namespace zelto::cli
