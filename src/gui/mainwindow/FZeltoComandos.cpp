// The main window's own commands: the options, the statistics mode and the worksheet's look;
// and what its command classes ask of it: the pending edit accepted, long work with the
// worksheet handed to another thread, input blocked while the search runs.
#include "gui/mainwindow/FZelto.h"

#include "common/Texto.h"
#include "gui/dialogs/DlgAspecto.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"

#include <QAction>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

namespace zelto {


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
