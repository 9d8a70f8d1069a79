#include "gui/reportconfig/ConfiguraRelatorio.h"

#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/EditorCabecalho.h"
#include "gui/reportconfig/FConfiguraRelatorio.h"

#include <QSpinBox>

#include <algorithm>

namespace zelto {

bool ConfiguraRelatorio(QWidget *pai, TListaItens &itens, TConfiguracaoRelatorio &cfg, bool inferencial, int itemInicial) {
    TFConfiguraRelatorio d(itens, cfg, inferencial, itemInicial, pai);
    if (d.exec() != QDialog::Accepted) return false;
    if (auto *primeira = d.findChild<QSpinBox *>(QStringLiteral("PrimeiraPagina")))
        DefinePrimeiraPaginaRelatorio(primeira->value());
    const TConfiguracaoRelatorio nova = d.Configuracao();
    const bool mudou = d.ItensMudaram() || !(nova == cfg) || nova.LarguraPagina != cfg.LarguraPagina ||
                       nova.AlturaPagina != cfg.AlturaPagina;
    if (!mudou) return false;
    cfg = nova;
    GravaArquivoRelatorio(&cfg, itens);
    return true;
}

namespace {

std::vector<std::string> ConfiguracaoDeCadaItem(const TListaItens &itens) {
    std::vector<std::string> textos;
    for (const auto &item : itens) {
        TArquivoIni ini;
        item->GravaConfiguracao(ini);
        textos.push_back(ini.Conteudo() + item->EstadoDaSessao());
    }
    return textos;
}

} // namespace

bool ConfiguraItem(QWidget *pai, TListaItens &itens, int indice, bool inferencial,
                   const std::optional<QPointF> &ponto, int *primeiroMudado) {
    const std::vector<std::string> antes = ConfiguracaoDeCadaItem(itens);
    if (!AbreDialogoItem(pai, itens, indice, false, inferencial, ponto)) return false;
    const std::vector<std::string> depois = ConfiguracaoDeCadaItem(itens);
    const auto diferenca = std::mismatch(antes.begin(), antes.end(), depois.begin());
    if (diferenca.first == antes.end()) return false;
    if (primeiroMudado) *primeiroMudado = static_cast<int>(diferenca.first - antes.begin());
    GravaArquivoRelatorio(nullptr, itens);
    return true;
}

bool ConfiguraCabecalhoRodape(QWidget *pai, TConfiguracaoRelatorio &cfg, bool rodape) {
    TCabecalhoRodape &alvo = rodape ? cfg.Rodape : cfg.Cabecalho;
    TDlgCabecalhoRodape d(alvo, rodape, pai);
    if (d.exec() != QDialog::Accepted) return false;
    const TCabecalhoRodape novo = d.Valor();
    if (novo.Texto == alvo.Texto && novo.Fonte == alvo.Fonte && novo.Alinhamento == alvo.Alinhamento) return false;
    alvo = novo;
    GravaArquivoRelatorio(&cfg, {});
    return true;
}

} // namespace zelto
