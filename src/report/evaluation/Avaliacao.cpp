#include "evaluation/Avaliacao.h"

#include "config/ConfiguracaoRelatorio.h"
#include "regression/Sistema.h"

#include <atomic>

namespace zelto {

namespace {

// Advances the sink one step; false when it was cancelled.
bool Passo(TProgresso *p, double &passo) {
    if (!p) return true;
    p->Avanca(++passo);
    return !p->Cancelado();
}

} // namespace

bool TAvaliacao::CompletaCalculos(TProgresso *progresso, double &passo) {
    sistema_.Inverte();
    if (!Passo(progresso, passo)) return false;
    sistema_.CalculaResiduos();
    if (!Passo(progresso, passo)) return false;
    sistema_.CalculaAlavancas();
    if (!Passo(progresso, passo)) return false;
    sistema_.OrdenaResiduos();
    return Passo(progresso, passo);
}

void TAvaliacao::BlocoTitulo(TConteudo &e, const TItemAvaliacao &item, const std::string &titulo) {
    e.SetFont(item.FonteTitulo);
    e.AlignCenter();
    e.NewParagraph();
    e.KeepWithNext(true);
    e.WriteLine(QString::fromStdString(titulo));
    e.NewParagraph();
    e.KeepWithNext(false);
    e.SetFont(item.FonteCorpo);
    e.AlignLeft();
}

void TAvaliacao::BlocoErro(TConteudo &e, const std::string &titulo, bool inferencial) {
    e.NewParagraph();
    TFonte f;
    f.Nome = QStringLiteral("Courier New");
    f.Tamanho = 10;
    f.Cor = Cor(255, 0, 0);
    f.Negrito = f.Italico = f.Sublinhado = true;
    e.SetFont(f);
    e.AlignCenter();
    e.WriteLine(QStringLiteral(">>> ATENÇÃO <<<"));
    f.Sublinhado = false;
    e.SetFont(f);
    e.AlignJustify();
    e.WriteLine(QStringLiteral("Ocorreram erros de cálculo nesta etapa."));
    e.WriteLine(QStringLiteral("\"") + QString::fromStdString(titulo) +
                QStringLiteral("\" não pode ser completamente calculado."));
    if (inferencial) {
        e.WriteLine(QStringLiteral("O modelo selecionado parece ser inadequado à amostra e/ou o bem "
                                   "avaliando informado."));
        e.WriteLine(QStringLiteral("-> Recomenda-se trocar o modelo e/ou revisar os dados da amostra "
                                   "ou do bem avaliando."));
    } else {
        e.WriteLine(QStringLiteral("Os dados da amostra não permitem que alguns valores deste item "
                                   "sejam calculadas."));
        e.WriteLine(QStringLiteral("-> Recomenda-se revisar os dados da amostra ou do bem avaliando."));
    }
    e.NewParagraph();
}

namespace {
std::atomic<long> conteudosCalculados{0};
} // namespace

long TAvaliacao::ConteudosCalculados() { return conteudosCalculados.load(); }

TConteudo TAvaliacao::Conteudo(TItemAvaliacao &item, const TContextoItem &contextoRelatorio) const {
    ++conteudosCalculados;
    TConteudo e;
    TContextoItem contexto = contextoRelatorio;
    contexto.Conteudo = &e;
    const std::string &titulo = item.TituloModo(contexto.Inferencial);
    e.BeginItem(item.Descricao().Numero, QString::fromLatin1(item.Descricao().Classe),
                QString::fromStdString(titulo));
    item.DefineContexto(&contexto);
    int partes = 0;
    try {
        partes = item.NumeroPartes();
    } catch (...) {
        partes = -1;
    }
    if (partes == 0) {
        e.BeginPart();
        BlocoTitulo(e, item, titulo);
        e.NewParagraph();
        e.SetFont(item.FonteComentario);
        e.AlignJustify();
        e.WriteLine(QString::fromUtf8(kSemInformacoes));
    } else if (partes < 0) {
        e.BeginPart();
        BlocoTitulo(e, item, titulo);
        BlocoErro(e, titulo, contexto.Inferencial);
    }
    for (int parte = 0; parte < partes; ++parte) {
        e.BeginPart();
        BlocoTitulo(e, item, titulo);
        try {
            item.Calcula(parte);
            item.Imprime(parte);
        } catch (...) {
            BlocoErro(e, titulo, contexto.Inferencial);
        }
    }
    item.DefineContexto(nullptr);
    return e;
}

bool TAvaliacao::ExecutaItens(const TListaItens &itens, const TContextoItem &contexto,
                              TArqEditor &escritor, TProgresso *progresso, double &passo) const {
    for (const auto &ptr : itens) {
        TItemAvaliacao &item = *ptr;
        if (!NoRelatorio(item, contexto.Inferencial)) continue;
        if (progresso) progresso->TextoAuxiliar("(" + item.TituloModo(contexto.Inferencial) + ")");
        Conteudo(item, contexto).Escreve(escritor);
        if (!Passo(progresso, passo)) return false;
    }
    return true;
}

bool TAvaliacao::PreparaDocumento(TArqEditor &escritor, const TConfiguracaoRelatorio &configuracao,
                                  TProgresso *p, double &passo) {
    escritor.Title = QString::fromUtf8(kTituloDocumento);
    escritor.Subject = QString::fromUtf8(kAssuntoDocumento);
    escritor.Author = QString::fromUtf8(kAutorDocumento);
    QString resumo;
    for (const std::string &l : configuracao.ResumoTecnico)
        resumo += (resumo.isEmpty() ? QString() : QStringLiteral("\r\n")) + QString::fromStdString(l);
    escritor.Comment = resumo.left(100);
    escritor.SetCanvas(nullptr);
    const double largura = configuracao.LarguraPagina, altura = configuracao.AlturaPagina;
    const TConfiguracaoRelatorio::TMargens m = configuracao.MargensDaPagina();
    escritor.SetPage(largura - m.Esquerda - m.Direita, m.Esquerda, altura - m.Superior - m.Inferior,
                     m.Superior, largura, altura);
    if (!Passo(p, passo)) return false;

    if (!configuracao.Cabecalho.Texto.isEmpty()) {
        escritor.BeginHeader();
        escritor.WriteHeaderFooterText(configuracao.Cabecalho);
        escritor.EndHeader();
    }
    if (!Passo(p, passo)) return false;
    if (!configuracao.Rodape.Texto.isEmpty()) {
        escritor.BeginFooter();
        escritor.WriteHeaderFooterText(configuracao.Rodape);
        escritor.EndFooter();
    }
    return Passo(p, passo);
}

} // namespace zelto
