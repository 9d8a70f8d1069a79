#include "items/Catalogo.h"


#include <string_view>

namespace zelto {

// Titles that are the same in both modes repeat the inferential title; nullptr marks an item
// that the descriptive mode does not offer. An item keeps its number for good (the command
// line and the graph files name items by it; the settings file by title): a new item takes the
// next number wherever it stands in the report.
// One row per item: number, class, kind, inferential title, descriptive title, flags.
#define ZELTO_CATALOGO(X) \
    X(1, TIA_DadosArquivo, tiTexto, "Informações do Usuário", "Informações do Usuário", 0) \
    X(2, TIA_Amostragem, tiTabela, "Amostra", "Amostra", 0x05) \
    X(3, TIA_ModelosPesquisados, tiTabela, "Modelos Pesquisados", nullptr, 0x05) \
    X(4, TIA_Variaveis, tiTexto, "Descrição das Variáveis", "Descrição das Variáveis", 0) \
    X(5, TIA_EstatBasicas, tiTabela, "Estatísticas Básicas", "Estatísticas Básicas", 0x05) \
    X(6, TIA_CoefVar, tiGrafico, "Distribuição das Variáveis", nullptr, 0) \
    X(7, TIA_EstatNaoTransformadas, tiTabela, "Estatísticas das Variáveis Não Transformadas", nullptr, 0x05) \
    X(8, TIA_CoefVarNaoT, tiGrafico, "Distribuição das Variáveis não Transformadas", nullptr, 0) \
    X(9, TIA_Dispersao, tiGrafico, "Dispersão dos elementos", "Dispersão dos elementos", 0) \
    X(10, TIA_DispTransformada, tiGrafico, "Dispersão em Torno da Média", "Dispersão em Torno da Média", 0) \
    X(11, TIA_TabValorEst, tiTabela, "Tabela de valores estimados e observados", nullptr, 0x05) \
    X(12, TIA_GrafValorEst, tiGrafico, "Valores Estimados x Valores Observados", nullptr, 0) \
    X(13, TIA_Modelo, tiTexto, "Modelo da Regressão", nullptr, 0) \
    X(14, TIA_ModeloVarDep, tiTexto, "Modelo para a Variável Dependente", nullptr, 0) \
    X(15, TIA_Regressores, tiTabela, "Regressores do Modelo", nullptr, 0x05) \
    X(16, TIA_Correlacao, tiTexto, "Correlação do Modelo", nullptr, 0) \
    X(17, TIA_Somatorios, tiTabela, "Tabela de Somatórios", nullptr, 0x05) \
    X(18, TIA_ANOVA, tiTabela, "Análise da Variância", nullptr, 0x07) \
    X(19, TIA_CorrelacoesParciais, tiTabela, "Correlações Parciais", nullptr, 0x05) \
    X(20, TIA_TesteCorrelacoesParciais, tiTabela, "Teste t das Correlações Parciais", nullptr, 0x05) \
    X(21, TIA_SigRegrBi, tiTabela, "Significância dos Regressores (bicaudal)", nullptr, 0x0D) \
    X(22, TIA_SigRegrUni, tiTabela, "Significância dos Regressores (unicaudal)", nullptr, 0x05) \
    X(23, TIA_TabResiduos, tiTabela, "Tabela de Resíduos", "Tabela de Desvios", 0x05) \
    X(24, TIA_Residuos, tiGrafico, "Resíduos x Valor Estimado", nullptr, 0) \
    X(25, TIA_ResiduosQuad, tiGrafico, "Gráfico de Resíduos Quadráticos", "Gráfico de Desvios Quadráticos", 0) \
    X(26, TIA_TabResiduosDeletados, tiTabela, "Tabela de Resíduos Deletados", "Tabela de Desvios Deletados", 0x05) \
    X(27, TIA_GrafResiduosDeletados, tiGrafico, "Resíduo x Resíduo Deletado", "Desvio x Desvio Deletado", 0) \
    X(28, TIA_GrafResiduosNormalizados, tiGrafico, "Resíduos Deletados Normalizados", "Desvios Deletados Normalizados", 0) \
    X(29, TIA_GrafResiduosStudentizados, tiGrafico, "Resíduos Deletados Studentizados", "Desvios Deletados Studentizados", 0) \
    X(30, TIA_EstatResiduos, tiTexto, "Estatística dos Resíduos", "Estatísticas Gerais", 0) \
    X(31, TIA_MomentosCentrais, tiTabela, "Momentos Centrais", "Momentos Centrais", 0x05) \
    X(32, TIA_IntervalosClasse, tiTabela, "Intervalos de Classes", "Intervalos de Classes", 0x05) \
    X(33, TIA_Histograma, tiGrafico, "Histograma", "Histograma", 0) \
    X(34, TIA_Ogiva, tiGrafico, "Ogiva de Frequências", "Ogiva de Frequências", 0) \
    X(35, TIA_Saneadas, tiTabela, "Amostragens eliminadas", "Amostragens eliminadas", 0x05) \
    X(36, TIA_OutLiers, tiTabela, "Presença de Outliers", "Amostragens a serem saneadas", 0x05) \
    X(37, TIA_GrafOutliers, tiGrafico, "Gráfico de Indicação de Outliers", "Gráfico de Representação do Saneamento", 0) \
    X(38, TIA_TesteOutliers, tiTabela, "Efeitos de cada Observação na Regressão", nullptr, 0x0D) \
    X(39, TIA_GrafHiiRi2, tiGrafico, "Hii x Resíduo Normalizado Quadrático", nullptr, 0) \
    X(40, TIA_DistrResiduos, tiTabela, "Distribuição dos Resíduos Normalizados", "Distribuição dos Desvios Normalizados", 0x05) \
    X(41, TIA_TesteKolmogorov, tiTabela, "Teste de Kolmogorov-Smirnov", "Teste de Kolmogorov-Smirnov", 0x05) \
    X(42, TIA_GrafKolmogorov, tiGrafico, "Gráfico de Kolmogorov-Smirnov", "Gráfico de Kolmogorov-Smirnov", 0) \
    X(43, TIA_TesteSequencias, tiTexto, "Teste de Sequências/Sinais", "Teste de Sequências/Sinais", 0) \
    X(44, TIA_GrafNormalidade, tiGrafico, "Reta de Normalidade", "Reta de Normalidade", 0) \
    X(45, TIA_AutoCorrelacao, tiTexto, "Autocorrelação", nullptr, 0) \
    X(57, TIA_Pressupostos, tiTabela, "Homocedasticidade e Multicolinearidade", nullptr, 0x05) \
    X(46, TIA_GrafAutoCorrelacao, tiGrafico, "Gráfico de Autocorrelação", nullptr, 0) \
    X(47, TIA_Multicolinearidade, tiSeries, "Resíduos x Variáveis Independentes", nullptr, 0) \
    X(48, TIA_ResiduosxNaoUsadas, tiSeries, "Resíduos x Variáveis Omitidas", "Desvios x Variáveis", 0) \
    X(49, TIA_Avaliando_x_Amostra, tiTabela, "Estimativa x Amostra", nullptr, 0x05) \
    X(50, TIA_FormacaoValores, tiTexto, "Formação dos Valores", "Formação dos Valores", 0) \
    X(51, TIA_Extrapolacao, tiTabela, "Avaliação da Extrapolação", nullptr, 0x05) \
    X(52, TIA_IntervalosdeConfianca, tiTabela, "Intervalos de Confiança", nullptr, 0x05) \
    X(58, TIA_Enquadramento, tiTabela, "Enquadramento na NBR 14653-2", nullptr, 0x07) \
    X(53, TIA_Derivadas, tiTabela, "Variação da Função Estimativa", nullptr, 0x05) \
    X(54, TIA_Regressao2D, tiSeries, "Gráficos da Regressão (2D)", nullptr, 0) \
    X(55, TIA_CurvaNivel, tiSeries, "Curvas de Nível", nullptr, 0) \
    X(56, TIA_Grafico3D, tiSeries, "Gráficos da Regressão (3D)", nullptr, 0)

// Each row's builder, defined by its family.
#define ZELTO_DECLARA_CONSTRUTOR(numero, classe, ...) \
    std::unique_ptr<TItemAvaliacao> Cria##classe(const TDescricaoItem &);
ZELTO_CATALOGO(ZELTO_DECLARA_CONSTRUTOR)

#define ZELTO_LINHA_CATALOGO(numero, classe, tipo, titulo, descritivo, flags) \
    {numero, #classe, tipo, titulo, descritivo, flags, Cria##classe},
const std::array<TDescricaoItem, kNumeroItens> kCatalogo = {{ZELTO_CATALOGO(ZELTO_LINHA_CATALOGO)}};


TListaItens CriaCatalogo() {
    TListaItens itens;
    for (const TDescricaoItem &d : kCatalogo) itens.push_back(d.Constroi(d));
    return itens;
}

TItemAvaliacao *ItemDaClasse(const TListaItens &itens, std::string_view classe) {
    for (const auto &i : itens)
        if (classe == i->Descricao().Classe) return i.get();
    return nullptr;
}

} // namespace zelto
