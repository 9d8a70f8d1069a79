// zelto-cli exemplo NAME DATA OUT.QV3 [--tabelas STORE]
//
// Builds one of the example worksheets that ship with the program from its market data, a text
// worksheet (examples/windsor.TXT, examples/boston.TXT), into a native file:
//   windsor  house sales of Windsor, Canada, 1987: price dependent, the yes/no columns as
//            dichotomous variables on the yes/no table "Sim/Não";
//   boston   median house values of the census tracts of the Boston area: medv dependent, chas
//            dichotomous on the same table.
// Each gets descriptions of its variables, a plausible subject property with the words that
// identify it, and comments naming the source of the data.
//
// The yes/no table is created in the label-table store when missing, as defining a variable
// in the program would: the store given by --tabelas, else by the environment variable
// ZELTO_TABELAS, else the user's own. A store holding a table of that name with other labels is
// left alone and the command fails, since the file would then carry those labels. The same data
// always give the same bytes.
#include "ComandosArquivo.h"
#include "PlanilhaCli.h"

#include "common/Caminhos.h"
#include "common/Texto.h"
#include "files/ArquivoZelto.h"
#include "search/ObjetoAvaliacao.h"
#include "worksheet/DefinicaoVariavel.h"
#include "worksheet/TabelasVariaveis.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zelto;
using namespace zelto::cli;
namespace fs = std::filesystem;

const char *const kTabelaSimNao = "Sim/Não";
const TTabelaDicotomica kRotulosSimNao{"Sim", "Não"};

struct TColunaExemplo {
    const char *nome;
    TipoVariavel tipo; // tvNumerica or tvDicotomica
    bool milhar;
    const char *descricao;
};

struct TValorExemplo {
    const char *nome;
    const char *valor; // as typed into the subject dialog
};

struct TExemplo {
    const char *nome;
    std::vector<TColunaExemplo> colunas; // in the data's order; the first is dependent
    std::vector<TValorExemplo> objeto;
    TIdentificacaoObjeto identificacao;
    const char *comentarios;
};

const std::vector<TExemplo> &Exemplos() {
    static const std::vector<TExemplo> exemplos{
        {"windsor",
         {
             {"price", tvNumerica, true, "Preço de venda da casa, em dólares"},
             {"lotsize", tvNumerica, true, "Área do terreno, em pés quadrados"},
             {"bedrooms", tvNumerica, false, "Número de quartos"},
             {"bathrooms", tvNumerica, false, "Número de banheiros completos"},
             {"stories", tvNumerica, false, "Número de pavimentos, sem contar o porão"},
             {"driveway", tvDicotomica, false, "A casa tem entrada para carros"},
             {"recreation", tvDicotomica, false, "A casa tem sala de recreação"},
             {"fullbase", tvDicotomica, false, "A casa tem porão completo e acabado"},
             {"gasheat", tvDicotomica, false, "A água é aquecida a gás"},
             {"aircon", tvDicotomica, false, "A casa tem ar-condicionado central"},
             {"garage", tvNumerica, false, "Número de vagas de garagem"},
             {"prefer", tvDicotomica, false, "A casa fica no bairro preferido da cidade"},
         },
         {{"lotsize", "5000"},
          {"bedrooms", "3"},
          {"bathrooms", "1"},
          {"stories", "2"},
          {"driveway", "Sim"},
          {"recreation", "Não"},
          {"fullbase", "Sim"},
          {"gasheat", "Não"},
          {"aircon", "Não"},
          {"garage", "1"},
          {"prefer", "Não"}},
         {{"casa", "$", 1, 0}, {}, {"valor de mercado", "$", 0, 0}, 0},
         "Vendas de casas em Windsor, Canadá, de julho a setembro de 1987 (546 amostragens)."
         "\r\nFonte dos dados: pacote R AER, conjunto HousePrices (Journal of Applied "
         "Econometrics, 1996).\r\nPreços em dólares; áreas em pés quadrados."},
        {"boston",
         {
             {"medv", tvNumerica, false,
              "Valor mediano das casas ocupadas pelos donos, em milhares de dólares"},
             {"crim", tvNumerica, false, "Taxa de criminalidade per capita do município"},
             {"zn", tvNumerica, false,
              "Proporção de área residencial em lotes de mais de 25.000 pés quadrados (%)"},
             {"indus", tvNumerica, false,
              "Proporção de área comercial não varejista do município (%)"},
             {"chas", tvDicotomica, false, "O setor margeia o rio Charles"},
             {"nox", tvNumerica, false,
              "Concentração de óxidos de nitrogênio, em partes por 10 milhões"},
             {"rm", tvNumerica, false, "Número médio de cômodos por moradia"},
             {"age", tvNumerica, false,
              "Proporção das moradias ocupadas pelos donos construídas antes de 1940 (%)"},
             {"dis", tvNumerica, false,
              "Média ponderada das distâncias a cinco centros de emprego de Boston"},
             {"rad", tvNumerica, false, "Índice de acesso às rodovias radiais"},
             {"tax", tvNumerica, false, "Alíquota do imposto predial, em dólares por 10.000"},
             {"ptratio", tvNumerica, false, "Número de alunos por professor no município"},
             {"black", tvNumerica, false,
              "1000(Bk - 0,63)², Bk a proporção de moradores negros do município"},
             {"lstat", tvNumerica, false,
              "Proporção da população de condição socioeconômica baixa (%)"},
         },
         {{"crim", "0,25"},
          {"zn", "0"},
          {"indus", "8"},
          {"chas", "Não"},
          {"nox", "0,5"},
          {"rm", "6,2"},
          {"age", "65"},
          {"dis", "4"},
          {"rad", "5"},
          {"tax", "300"},
          {"ptratio", "18"},
          {"black", "390"},
          {"lstat", "11"}},
         {{"casa", "milhares de dólares", 1, 1},
          {},
          {"valor mediano", "milhares de dólares", 0, 1},
          0},
         "Valores medianos das casas nos setores censitários da região de Boston, EUA (506 "
         "amostragens).\r\nFonte dos dados: pacote R MASS, conjunto Boston (Journal of "
         "Environmental Economics and Management, 1978)."},
    };
    return exemplos;
}

struct TOpcoesExemplo {
    std::string nome, dados, saida, tabelas;
};

fs::path ArquivoTabelas(const std::string &opcao) {
    if (!opcao.empty()) return opcao;
    if (const char *v = std::getenv("ZELTO_TABELAS"); v && *v) return v;
    return CaminhoTabelasPadrao();
}

// The yes/no table in the store: created when missing; a table of that name with other labels
// is a failure.
void GaranteTabelaSimNao(TTabelasVariaveis &tabelas) {
    const std::string loja = tabelas.Arquivo().string();
    if (!tabelas.Legivel())
        throw TFalha{1, "Não foi possível ler o arquivo de tabelas " + loja + "."};
    const auto existente = tabelas.CarregaDicotomica(kTabelaSimNao);
    if (!existente) {
        if (!tabelas.Acrescenta(kTabelaSimNao, kRotulosSimNao))
            throw TFalha{1, "Não foi possível gravar a tabela \"" + std::string(kTabelaSimNao) +
                                "\" no arquivo de tabelas " + loja + "."};
    } else if (*existente != kRotulosSimNao) {
        throw TFalha{1, "A tabela dicotômica \"" + std::string(kTabelaSimNao) +
                            "\" do arquivo de tabelas " + loja + " tem os rótulos \"" +
                            (*existente)[0] + "\" e \"" + (*existente)[1] +
                            "\"; o exemplo precisa de \"Sim\" e \"Não\"."};
    }
}

int Exemplo(const TOpcoesExemplo &o) {
    const TExemplo *ex = nullptr;
    for (const TExemplo &e : Exemplos())
        if (o.nome == e.nome) ex = &e;
    if (!ex) throw TFalha{2, "Exemplo desconhecido: \"" + o.nome + "\" (use windsor ou boston)."};
    if (Maiusculas(fs::path(o.saida).extension().string()) != ".QV3")
        throw TFalha{2, "O exemplo é gravado como planilha nativa .QV3: \"" + o.saida + "\"."};

    RecusaSaidaSobreEntrada(o.saida, {{o.dados, "o arquivo dos dados"}, {o.tabelas, "o arquivo de tabelas"}});
    TGridzelto g;
    const TPlanilhaLida lida = LePlanilha(o.dados, g);
    if (!lida.aviso.empty()) throw TFalha{1, lida.aviso};
    const int colunas = static_cast<int>(ex->colunas.size());
    bool confere = g.ColunasUsadas() == colunas;
    for (int c = 1; confere && c <= colunas; ++c)
        confere = g.Variavel(c) && g.Variavel(c)->Tipo == tvNumerica &&
                  g.Celula(c, 0) == ex->colunas[c - 1].nome;
    if (!confere)
        throw TFalha{1, "O arquivo " + o.dados + " não tem as colunas numéricas do exemplo " +
                            ex->nome + "."};

    TTabelasVariaveis tabelas(ArquivoTabelas(o.tabelas));
    GaranteTabelaSimNao(tabelas);

    // Each variable defined as the definition dialog would: the first column dependent.
    for (int c = 1; c <= colunas; ++c) {
        const TColunaExemplo &col = ex->colunas[c - 1];
        TAtributosVariavel a = AtributosIniciais(g, c, tabelas);
        a.Descricao = col.descricao;
        a.Usada = true;
        a.Dependente = c == 1;
        a.CoeficienteHomogeneizacao = false;
        a.Tipo = col.tipo;
        a.Alinhamento = AlinhamentoPadrao(col.tipo);
        a.PontosDeMilhar = col.milhar;
        if (col.tipo == tvDicotomica) a.Tabela = kTabelaSimNao;
        AplicaRegras(a, true);
        DefineVariavel(g, c, a, tabelas);
    }

    // The subject property, as typed into its dialog.
    TEdicaoObjeto objeto(g, true);
    for (const TValorExemplo &v : ex->objeto) {
        const int i = objeto.Indice(v.nome);
        if (i < 0) throw TFalha{1, std::string("O exemplo não tem a variável ") + v.nome + "."};
        objeto.AtribuiTexto(i, v.valor);
    }
    objeto.Identificacao = ex->identificacao;
    objeto.Confirma(g);

    TArquivoZelto z(&tabelas);
    if (!z.Gravar(o.saida, g, "", ex->comentarios))
        throw TFalha{1, z.Mensagem().empty() ? "Não foi possível gravar o arquivo " + o.saida + "."
                                             : z.Mensagem()};
    std::cout << o.saida << ": exemplo " << ex->nome << ", " << g.LinhasUsadas() << " amostragens, "
              << colunas << " variáveis\n";
    return 0;
}

} // namespace

void RegistraExemplo(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesExemplo>();
    auto *cmd = app.add_subcommand(
        "exemplo", "Monta uma planilha de exemplo (windsor ou boston) a partir dos seus dados");
    cmd->add_option("NAME", o->nome, "windsor ou boston")->required();
    cmd->add_option("DATA", o->dados, "Os dados em texto (examples/windsor.TXT ...)")->required();
    cmd->add_option("OUT", o->saida, "A planilha nativa gravada (.QV3)")->required();
    cmd->add_option("--tabelas", o->tabelas,
                    "Arquivo de tabelas (padrão: $ZELTO_TABELAS, senão o do usuário)");
    cmd->callback([o, &status] { status = Executa([&] { return Exemplo(*o); }); });
}
