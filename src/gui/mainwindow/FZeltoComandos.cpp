// The main window's worksheet commands: samples, variables, flags, sorting,
// the one-cell and block clipboards, undo and redo, the options and the
// statistics mode. Every command first accepts a pending cell edit and ends
// with a refresh.
#include "gui/mainwindow/FZelto.h"

#include "common/Texto.h"
#include "gui/dialogs/DlgAspecto.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>

namespace zelto {

namespace {

// Marks a clipboard content as this program's one-cell copy.
constexpr const char *kMimeCelula = "application/x-zelto-celula";
// The undo level of the mode command: undoing it also sets the mode back.
constexpr const char *kDescricaoModo = "mudança do modo estatístico";

} // namespace

void TFZELTO::Comando() {
    grade_->AceitaEdicaoPendente();
}

void TFZELTO::Registra(const std::string &descricao) {
    doc_.Historico().Registra(descricao);
}

bool TFZELTO::ExecutaLonga(const std::function<void(TProgresso &)> &trabalho, bool reinicia) {
    return ExecutaSuspenso([&] { return ExecutaComProgresso(this, trabalho); }, reinicia);
}

bool TFZELTO::ExecutaSuspenso(const std::function<bool()> &executa, bool reinicia) {
    ocupado_ = true;
    modelo_->Suspende();
    grade_->setUpdatesEnabled(false);
    auto retoma = [this, reinicia] {
        modelo_->Retoma(reinicia);
        grade_->setUpdatesEnabled(true);
        ocupado_ = false;
        grade_->AplicaDimensoes();
        grade_->IrPara(grid_.ColunaAtual, grid_.LinhaAtual);
    };
    bool ok = false;
    try {
        ok = executa();
    } catch (...) {
        retoma();
        throw;
    }
    retoma();
    return ok;
}

void TFZELTO::BloqueiaEntrada(bool bloqueia) {
    if (bloqueia) {
        menuBar()->setEnabled(false);
        paginas_->tabBar()->setEnabled(false);
        if (TPaginaRelatorio *p = relatorio_->Pagina()) p->setEnabled(false);
        modelo_->DefineSomenteLeitura(true);
        ocupado_ = true;
    } else {
        ocupado_ = false;
        modelo_->DefineSomenteLeitura(false);
        menuBar()->setEnabled(true);
        paginas_->tabBar()->setEnabled(true);
        if (TPaginaRelatorio *p = relatorio_->Pagina()) p->setEnabled(true);
    }
}

// ---- Samples ---------------------------------------------------------------------------

void TFZELTO::AlternaAmostragem() {
    Comando();
    const int r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    Registra("marca de amostragem");
    grid_.AlternaDesconsiderada(r);
    Atualiza();
}

void TFZELTO::InsereAmostragem() {
    Comando();
    if (!grid_.Editavel) return;
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    Registra("inclusão de amostragem");
    grid_.InsereAmostragem(r);
    grade_->IrPara(c, r);
    Atualiza();
}

void TFZELTO::ExcluiAmostragem() {
    Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    const std::string texto =
        "A amostragem nº " + grid_.Celula(0, r) + " será apagada da planilha.\r\nDeseja Continuar?";
    if (ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de amostragem");
    grid_.ExcluiAmostragem(r);
    grade_->IrPara(c, std::min(r, grid_.RowCount() - 1));
    Atualiza();
}

void TFZELTO::ExcluiAmostragensAbaixo() {
    Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    const std::string texto = "As amostragens abaixo da nº " + grid_.Celula(0, r) +
                              " serão apagadas da planilha.\r\nDeseja Continuar?";
    if (ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de amostragens");
    modelo_->IniciaLote();
    for (int k = grid_.LinhasUsadas(); k >= r; --k)
        grid_.ExcluiAmostragem(k);
    modelo_->TerminaLote();
    grade_->IrPara(c, std::min(r, grid_.RowCount() - 1));
    Atualiza();
}

// ---- Variables ---------------------------------------------------------------------------

void TFZELTO::DefineVariavelAtual(int c) {
    Comando();
    if (c <= 0) c = grid_.ColunaAtual;
    if (!grid_.Editavel || c < 1 || c >= grid_.ColCount()) return;
    grade_->IrPara(c, std::max(1, grid_.LinhaAtual));
    TAtributosVariavel a;
    if (!EditaVariavel || !EditaVariavel(c, a)) return;
    Registra("definição de variável");
    QFont negrito = modelo_->Aparencia().Fonte;
    negrito.setBold(true);
    const int largura = QFontMetrics(negrito).horizontalAdvance(QString::fromStdString(a.Nome));
    DefineVariavel(grid_, c, a, tabelas_, largura);
    Atualiza();
}

void TFZELTO::InsereVariavel() {
    Comando();
    if (!grid_.Editavel) return;
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    Registra("inclusão de variável");
    grid_.InsereVariavel(c);
    grade_->IrPara(c, r);
    Atualiza();
}

void TFZELTO::ExcluiVariavel() {
    Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || c < 1 || c >= grid_.ColCount()) return;
    const std::string texto =
        "A variável [" + grid_.Celula(c, 0) + "]\r\nserá apagada da planilha.\r\nDeseja Continuar?";
    if (ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de variável");
    grid_.ExcluiVariavel(c);
    grade_->IrPara(std::min(c, grid_.ColCount() - 1), r);
    Atualiza();
}

void TFZELTO::ExcluiVariaveisDireita() {
    Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || c < 1 || c > grid_.ColunasUsadas()) return;
    const std::string texto = "As variáveis a partir de [" + grid_.Celula(c, 0) +
                              "] serão apagadas da planilha.\r\nDeseja Continuar?";
    if (ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de variáveis");
    modelo_->IniciaLote();
    for (int k = grid_.ColunasUsadas(); k >= c; --k)
        grid_.ExcluiVariavel(k);
    modelo_->TerminaLote();
    grade_->IrPara(std::min(c, grid_.ColCount() - 1), r);
    Atualiza();
}

void TFZELTO::AlternaUsada() {
    Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || v->Tipo == tvComentario) return;
    Registra("uso de variável");
    grid_.AlternaUsada(c);
    Atualiza();
}

void TFZELTO::AlternaDependente() {
    Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || (v->Tipo != tvNumerica && v->Tipo != tvCalculada)) return;
    Registra("variável dependente");
    if (!v->Usada) grid_.AlternaUsada(c);
    grid_.AlternaDependente(c);
    Atualiza();
}

void TFZELTO::Alinha(std::uint8_t alinhamento) {
    Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || v->Alinhamento == alinhamento) {
        Atualiza();
        return;
    }
    Registra("alinhamento");
    grid_.DefineAlinhamento(c, alinhamento);
    grid_.DefineModificada(true);
    Atualiza();
}

// ---- Sorting and renumbering --------------------------------------------------------------

void TFZELTO::Ordena() {
    Comando();
    if (!grid_.Editavel || !EscolheOrdenacao) return;
    auto escolha = EscolheOrdenacao();
    if (!escolha) return;
    const auto [coluna, crescente] = *escolha;
    Registra("ordenação");
    ExecutaLonga([this, coluna, crescente](TProgresso &p) { grid_.Ordena(coluna, crescente, &p); },
                 false);
    Atualiza();
}

void TFZELTO::Renumera() {
    Comando();
    if (!grid_.Editavel) return;
    Registra("renumeração");
    grid_.Renumera();
    grade_->IrPara(grid_.ColunaAtual, grid_.LinhaAtual);
    Atualiza();
}

// ---- Clipboard ------------------------------------------------------------------------------

void TFZELTO::Copia() {
    Comando();
    const TSelecao s = grade_->Selecao();
    QMimeData *m = grade_->CopiaBloco();
    if (s.Coluna0 == s.Coluna1 && s.Linha0 == s.Linha1) {
        // One cell: kept with its column's editor kind for "Colar", and on the
        // system clipboard as a one-cell block for other programs.
        celulaCopiada_ = grid_.CopiaCelula(s.Coluna0, s.Linha0);
        temCelulaCopiada_ = true;
        m->setData(QString::fromLatin1(kMimeCelula), QByteArray("1"));
    } else {
        temCelulaCopiada_ = false;
    }
    QApplication::clipboard()->setMimeData(m);
}

void TFZELTO::Recorta() {
    Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel) return;
    grade_->DefineSelecao({c, r, c, r});
    QMimeData *m = grade_->CopiaBloco();
    m->setData(QString::fromLatin1(kMimeCelula), QByteArray("1"));
    Registra("recorte");
    celulaCopiada_ = grid_.RecortaCelula(c, r);
    temCelulaCopiada_ = true;
    QApplication::clipboard()->setMimeData(m);
    Atualiza();
}

void TFZELTO::Cola() {
    Comando();
    if (!grid_.Editavel) return;
    const QMimeData *m = QApplication::clipboard()->mimeData();
    if (temCelulaCopiada_ && m && m->hasFormat(QString::fromLatin1(kMimeCelula))) {
        // The one-cell paste: only between columns of fitting editor kinds.
        Registra("colagem");
        grid_.ColaCelula(celulaCopiada_, grid_.ColunaAtual, grid_.LinhaAtual);
    } else if (m && m->hasText()) {
        TResultado r = grade_->ColaBloco(m->text());
        if (!r.ok) Avisa(r.mensagem);
    }
    Atualiza();
}

void TFZELTO::LimpaCelula() {
    Comando();
    if (!grid_.Editavel) return;
    const TSelecao s = grade_->Selecao();
    Registra("limpeza de célula");
    modelo_->IniciaLote();
    for (int c = s.Coluna0; c <= s.Coluna1; ++c)
        for (int r = s.Linha0; r <= s.Linha1; ++r)
            if (!grid_.Celula(c, r).empty()) grid_.LimpaCelula(c, r);
    modelo_->TerminaLote();
    Atualiza();
}

// ---- Undo and redo ----------------------------------------------------------------------------

void TFZELTO::Desfaz() {
    PercorreHistorico(true);
}

void TFZELTO::Refaz() {
    PercorreHistorico(false);
}

// Undoing or redoing the mode command also flips the worksheet's mode, which
// its captured states do not hold.
void TFZELTO::PercorreHistorico(bool desfazer) {
    Comando();
    const std::string descricao =
        desfazer ? doc_.Historico().DescricaoDesfazer() : doc_.Historico().DescricaoRefazer();
    if (desfazer ? doc_.Historico().Desfaz() : doc_.Historico().Refaz()) {
        if (descricao == kDescricaoModo) {
            grid_.Modo.Inferencial = !grid_.Modo.Inferencial;
            cfg_.Inferencial = grid_.Modo.Inferencial;
            GravaChave("AvalInf");
            AtualizaModo();
        }
        grade_->IrPara(grid_.ColunaAtual, grid_.LinhaAtual);
    }
    Atualiza();
}

// ---- Options and mode -------------------------------------------------------------------------

void TFZELTO::DefineAvanco(DirecaoAvanco d) {
    Comando();
    grid_.Avanco = d;
    cfg_.DefineAvanco(d);
    GravaChave("AvVert");
    GravaChave("AvHorz");
    AtualizaModo();
}

void TFZELTO::AlternaOpcao(const std::string &chave) {
    Comando();
    if (chave == "PdOA")
        cfg_.PedirObjeto = !cfg_.PedirObjeto;
    else if (chave == "SnAu")
        cfg_.SaneamentoAutomatico = !cfg_.SaneamentoAutomatico;
    else if (chave == "VCVz")
        cfg_.VerificarCelulasVazias = !cfg_.VerificarCelulasVazias;
    else if (chave == "CrVH")
        grid_.Modo.CriarValorHomogeneizado = cfg_.CriarHomogeneizado = !cfg_.CriarHomogeneizado;
    else
        return;
    GravaChave(chave.c_str());
    AtualizaModo();
}

void TFZELTO::AlternaModo() {
    Comando();
    Registra(kDescricaoModo);
    grid_.Modo.Inferencial = !grid_.Modo.Inferencial;
    cfg_.Inferencial = grid_.Modo.Inferencial;
    GravaChave("AvalInf");
    modelo_->IniciaLote();
    AplicaModoPlanilha(grid_, grid_.Modo.Inferencial);
    modelo_->TerminaLote();
    // The list belongs to the other mode: the choice goes, a report shown becomes stale.
    modelos_.Pesquisa().PlanilhaAlterada();
    relatorio_->PlanilhaAlterada();
    AtualizaModo();
    Atualiza();
}

void TFZELTO::AspectoPlanilha() {
    Comando();
    TDlgAspecto d(modelo_->Aparencia(), this);
    if (d.exec() != QDialog::Accepted) return;
    const TAparenciaPlanilha a = d.Aparencia();
    DefineAparencia(a);
    a.ParaConfiguracao(cfg_);
    if (!cfg_.GravaFonte(ini_) && ini_.Aberto())
        Avisa("Não foi possível gravar a fonte da planilha no arquivo de configuração.");
    GravaChave("GrC");
    GravaChave("GrFC");
    GravaChave("AltLnPlan");
}

} // namespace zelto
