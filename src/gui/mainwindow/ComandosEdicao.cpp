#include "gui/mainwindow/ComandosEdicao.h"

#include "common/Texto.h"
#include "files/ConfiguracaoGeral.h"
#include "gui/dialogs/DlgOrdenar.h"
#include "gui/dialogs/FAtributos.h"
#include "gui/mainwindow/DocumentoPlanilha.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/worksheet/GradePlanilha.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/TabelasVariaveis.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMimeData>

#include <algorithm>
#include <string>
#include <vector>

namespace zelto {

namespace {

// Marks a clipboard content as this program's one-cell copy.
constexpr const char *kMimeCelula = "application/x-zelto-celula";

} // namespace

TComandosEdicao::TComandosEdicao(TServicosJanela &janela, TRespostasUsuario &respostas,
                                 TDocumentoPlanilha &doc, TConfiguracaoGeral &cfg,
                                 TTabelasVariaveis &tabelas)
    : janela_(janela), r_(respostas), doc_(doc), grid_(doc.Grid()), cfg_(cfg), tabelas_(tabelas) {
    // What the user answers, unless a test answers instead.
    EditaVariavel = [this](int c, TAtributosVariavel &a) {
        TFAtributos d(grid_, c, tabelas_, janela_.Janela());
        if (d.exec() != QDialog::Accepted) return false;
        a = d.Atributos();
        return true;
    };
    EscolheOrdenacao = [this]() -> std::optional<std::pair<int, bool>> {
        std::vector<std::string> nomes;
        for (int c = 1; c <= std::min<int>(grid_.ColunasUsadas(), grid_.ColCount() - 1); ++c)
            nomes.push_back(grid_.Celula(c, 0));
        TDlgOrdenar d(nomes, janela_.Janela());
        if (d.exec() != QDialog::Accepted) return std::nullopt;
        return std::make_pair(d.Coluna(), d.Crescente());
    };
}

void TComandosEdicao::Registra(const std::string &descricao) {
    doc_.Historico().Registra(descricao);
}

// ---- Samples ---------------------------------------------------------------------------

void TComandosEdicao::AlternaAmostragem() {
    janela_.Comando();
    const int r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    Registra("marca de amostragem");
    grid_.AlternaDesconsiderada(r);
    janela_.Atualiza();
}

void TComandosEdicao::InsereAmostragem() {
    janela_.Comando();
    if (!grid_.Editavel) return;
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    Registra("inclusão de amostragem");
    grid_.InsereAmostragem(r);
    janela_.Grade()->IrPara(c, r);
    janela_.Atualiza();
}

void TComandosEdicao::ExcluiAmostragem() {
    janela_.Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    const std::string texto =
        "A amostragem nº " + grid_.Celula(0, r) + " será apagada da planilha.\r\nDeseja Continuar?";
    if (r_.ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de amostragem");
    grid_.ExcluiAmostragem(r);
    janela_.Grade()->IrPara(c, std::min(r, grid_.RowCount() - 1));
    janela_.Atualiza();
}

void TComandosEdicao::ExcluiAmostragensAbaixo() {
    janela_.Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || r < 1 || r > grid_.LinhasUsadas()) return;
    const std::string texto = "As amostragens abaixo da nº " + grid_.Celula(0, r) +
                              " serão apagadas da planilha.\r\nDeseja Continuar?";
    if (r_.ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de amostragens");
    janela_.Modelo()->IniciaLote();
    for (int k = grid_.LinhasUsadas(); k >= r; --k)
        grid_.ExcluiAmostragem(k);
    janela_.Modelo()->TerminaLote();
    janela_.Grade()->IrPara(c, std::min(r, grid_.RowCount() - 1));
    janela_.Atualiza();
}

// ---- Variables ---------------------------------------------------------------------------

void TComandosEdicao::DefineVariavelAtual(int c) {
    janela_.Comando();
    if (c <= 0) c = grid_.ColunaAtual;
    if (!grid_.Editavel || c < 1 || c >= grid_.ColCount()) return;
    janela_.Grade()->IrPara(c, std::max(1, grid_.LinhaAtual));
    TAtributosVariavel a;
    if (!EditaVariavel || !EditaVariavel(c, a)) return;
    Registra("definição de variável");
    QFont negrito = janela_.Modelo()->Aparencia().Fonte;
    negrito.setBold(true);
    const int largura = QFontMetrics(negrito).horizontalAdvance(QString::fromStdString(a.Nome));
    DefineVariavel(grid_, c, a, tabelas_, largura);
    janela_.Atualiza();
}

void TComandosEdicao::InsereVariavel() {
    janela_.Comando();
    if (!grid_.Editavel) return;
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    Registra("inclusão de variável");
    grid_.InsereVariavel(c);
    janela_.Grade()->IrPara(c, r);
    janela_.Atualiza();
}

void TComandosEdicao::ExcluiVariavel() {
    janela_.Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || c < 1 || c >= grid_.ColCount()) return;
    const std::string texto =
        "A variável [" + grid_.Celula(c, 0) + "]\r\nserá apagada da planilha.\r\nDeseja Continuar?";
    if (r_.ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de variável");
    grid_.ExcluiVariavel(c);
    janela_.Grade()->IrPara(std::min(c, grid_.ColCount() - 1), r);
    janela_.Atualiza();
}

void TComandosEdicao::ExcluiVariaveisDireita() {
    janela_.Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel || c < 1 || c > grid_.ColunasUsadas()) return;
    const std::string texto = "As variáveis a partir de [" + grid_.Celula(c, 0) +
                              "] serão apagadas da planilha.\r\nDeseja Continuar?";
    if (r_.ConfirmaSimNao(texto) != Resposta::Sim) return;
    Registra("exclusão de variáveis");
    janela_.Modelo()->IniciaLote();
    for (int k = grid_.ColunasUsadas(); k >= c; --k)
        grid_.ExcluiVariavel(k);
    janela_.Modelo()->TerminaLote();
    janela_.Grade()->IrPara(std::min(c, grid_.ColCount() - 1), r);
    janela_.Atualiza();
}

void TComandosEdicao::AlternaUsada() {
    janela_.Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || v->Tipo == tvComentario) return;
    Registra("uso de variável");
    grid_.AlternaUsada(c);
    janela_.Atualiza();
}

void TComandosEdicao::AlternaDependente() {
    janela_.Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || (v->Tipo != tvNumerica && v->Tipo != tvCalculada)) return;
    Registra("variável dependente");
    if (!v->Usada) grid_.AlternaUsada(c);
    grid_.AlternaDependente(c);
    janela_.Atualiza();
}

void TComandosEdicao::Alinha(std::uint8_t alinhamento) {
    janela_.Comando();
    const int c = grid_.ColunaAtual;
    const TVariavel *v = grid_.Variavel(c);
    if (!grid_.Editavel || !v || v->Alinhamento == alinhamento) {
        janela_.Atualiza();
        return;
    }
    Registra("alinhamento");
    grid_.DefineAlinhamento(c, alinhamento);
    grid_.DefineModificada(true);
    janela_.Atualiza();
}

// ---- Sorting and renumbering --------------------------------------------------------------

void TComandosEdicao::Ordena() {
    janela_.Comando();
    if (!grid_.Editavel || !EscolheOrdenacao) return;
    auto escolha = EscolheOrdenacao();
    if (!escolha) return;
    const auto [coluna, crescente] = *escolha;
    Registra("ordenação");
    janela_.ExecutaLonga(
        [this, coluna, crescente](TProgresso &p) { grid_.Ordena(coluna, crescente, &p); }, false);
    janela_.Atualiza();
}

void TComandosEdicao::Renumera() {
    janela_.Comando();
    if (!grid_.Editavel) return;
    Registra("renumeração");
    grid_.Renumera();
    janela_.Grade()->IrPara(grid_.ColunaAtual, grid_.LinhaAtual);
    janela_.Atualiza();
}

// ---- Clipboard ------------------------------------------------------------------------------

void TComandosEdicao::Copia() {
    janela_.Comando();
    const TSelecao s = janela_.Grade()->Selecao();
    QMimeData *m = janela_.Grade()->CopiaBloco();
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

void TComandosEdicao::Recorta() {
    janela_.Comando();
    const int c = grid_.ColunaAtual, r = grid_.LinhaAtual;
    if (!grid_.Editavel) return;
    janela_.Grade()->DefineSelecao({c, r, c, r});
    QMimeData *m = janela_.Grade()->CopiaBloco();
    m->setData(QString::fromLatin1(kMimeCelula), QByteArray("1"));
    Registra("recorte");
    celulaCopiada_ = grid_.RecortaCelula(c, r);
    temCelulaCopiada_ = true;
    QApplication::clipboard()->setMimeData(m);
    janela_.Atualiza();
}

void TComandosEdicao::Cola() {
    janela_.Comando();
    if (!grid_.Editavel) return;
    const QMimeData *m = QApplication::clipboard()->mimeData();
    if (temCelulaCopiada_ && m && m->hasFormat(QString::fromLatin1(kMimeCelula))) {
        // The one-cell paste: only between columns of fitting editor kinds.
        Registra("colagem");
        grid_.ColaCelula(celulaCopiada_, grid_.ColunaAtual, grid_.LinhaAtual);
    } else if (m && m->hasText()) {
        TResultado r = janela_.Grade()->ColaBloco(m->text());
        if (!r.ok) r_.Avisa(r.mensagem);
    }
    janela_.Atualiza();
}

void TComandosEdicao::LimpaCelula() {
    janela_.Comando();
    if (!grid_.Editavel) return;
    const TSelecao s = janela_.Grade()->Selecao();
    Registra("limpeza de célula");
    janela_.Modelo()->IniciaLote();
    for (int c = s.Coluna0; c <= s.Coluna1; ++c)
        for (int r = s.Linha0; r <= s.Linha1; ++r)
            if (!grid_.Celula(c, r).empty()) grid_.LimpaCelula(c, r);
    janela_.Modelo()->TerminaLote();
    janela_.Atualiza();
}

// ---- Undo and redo ----------------------------------------------------------------------------

void TComandosEdicao::Desfaz() {
    PercorreHistorico(true);
}

void TComandosEdicao::Refaz() {
    PercorreHistorico(false);
}

// Undoing or redoing the mode command also flips the worksheet's mode, which
// its captured states do not hold.
void TComandosEdicao::PercorreHistorico(bool desfazer) {
    janela_.Comando();
    const std::string descricao =
        desfazer ? doc_.Historico().DescricaoDesfazer() : doc_.Historico().DescricaoRefazer();
    if (desfazer ? doc_.Historico().Desfaz() : doc_.Historico().Refaz()) {
        if (descricao == kDescricaoModo) {
            grid_.Modo.Inferencial = !grid_.Modo.Inferencial;
            cfg_.Inferencial = grid_.Modo.Inferencial;
            janela_.GravaChave("AvalInf");
            janela_.AtualizaModo();
        }
        janela_.Grade()->IrPara(grid_.ColunaAtual, grid_.LinhaAtual);
    }
    janela_.Atualiza();
}

} // namespace zelto
