// The main window's file commands: new worksheet, read, save, save as, recent
// files, the closing question, the hand-over from a companion program, the
// file named at start and the empty-cell check before saving.
#include "gui/mainwindow/FZelto.h"

#include "common/Texto.h"
#include "files/ArquivoTxt.h"
#include "files/ArquivoZelto.h"
#include "files/LerArquivo.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/mainwindow/TextosEstado.h"
#include "gui/worksheet/ModeloPlanilha.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFocusEvent>
#include <QStatusBar>

namespace zelto {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaximoResumo = 255;
constexpr int kDuracaoMensagemGravacao = 5000; // milliseconds

bool ExtensaoTexto(const std::string &nome) {
    return Maiusculas(fs::path(nome).extension().string()) == ".TXT";
}

std::string NomeSemPasta(const std::string &nome) {
    return fs::path(nome).filename().string();
}

// Asked before a worksheet is written as text: the format keeps names and cell texts only.
constexpr const char *kPerguntaTexto =
    "O formato texto (.TXT) guarda apenas os nomes das variáveis e os textos das células.\r\n"
    "Não são gravados: os tipos das variáveis, as tabelas, as fórmulas, as amostragens "
    "desconsideradas, os dados do objeto sob avaliação, as descrições e os comentários.\r\n\r\n"
    "Deseja gravar a planilha em formato texto?";

// "14 amostragens", "1 variável", "nenhuma amostragem".
std::string Quantidade(int n, const char *singular, const char *plural) {
    if (n == 0) return std::string("nenhuma ") + singular;
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

// What a worksheet kept from a file that could not be read whole.
std::string TextoLeituraParcial(const TGridzelto &g) {
    const int linhas = g.LinhasUsadas(), colunas = g.ColunasUsadas();
    if (linhas == 0 && colunas == 0)
        return "Nenhuma amostragem nem variável foi lida; o arquivo não foi alterado.";
    return std::string(linhas + colunas > 1 ? "Foram lidas " : "Foi lida ") +
           Quantidade(linhas, "amostragem", "amostragens") + " e " +
           Quantidade(colunas, "variável", "variáveis") + "; o arquivo não foi alterado.";
}

// Comments as the native file keeps them: lines ended by CR LF, at most 255 characters.
std::string ComentariosParaArquivo(const std::string &texto) {
    std::string s;
    for (char c : texto) {
        if (c == '\r') continue;
        if (c == '\n') s += '\r';
        s += c;
    }
    return CortaCp1252(s, 255);
}

} // namespace

fs::path TFZELTO::PastaTemporaria() const {
    return fs::path(QDir::tempPath().toStdString());
}

// ---- New worksheet and closing ----------------------------------------------------------

bool TFZELTO::Fechamento() {
    if (semPerguntaFechamento_) return true;
    Comando();
    if (grid_.Modificada()) {
        switch (Confirma("Os dados da planilha não estão gravados.\r\nDeseja gravá-los?")) {
        case Resposta::Cancelar:
            return false;
        case Resposta::Sim:
            // A save that did not happen (cancelled or failed) keeps the worksheet.
            if (!GravaPlanilha()) return false;
            break;
        case Resposta::Nao:
            break;
        }
    }
    pesquisa_->Reinicia();
    DescartaRelatorio();
    grid_.IdentificacaoObjeto = {};
    recentes_.Grava(cfg_);
    if (!cfg_.GravaRecentes(ini_) && ini_.Aberto())
        Avisa("Não foi possível gravar a lista de arquivos recentes.");
    return true;
}

void TFZELTO::Limpou() {
    // A new worksheet has no report, also when it comes without the closing steps.
    DescartaRelatorio();
    doc_.Limpou();
    grade_->AplicaDimensoes();
    grade_->IrPara(1, 1);
}

void TFZELTO::NovaPlanilha() {
    Comando();
    if (!grid_.Limpa()) return;
    Limpou();
    Atualiza();
}

void TFZELTO::Sair() {
    close();
}

void TFZELTO::closeEvent(QCloseEvent *e) {
    bool pode = true;
    try {
        pode = Fechamento();
    } catch (...) {
        pode = true; // a failure while closing counts as permission to close
    }
    if (pode)
        e->accept();
    else
        e->ignore();
}

// ---- Reading --------------------------------------------------------------------------------

bool TFZELTO::LeArquivo(const std::string &nome) {
    // The closing question comes first, on this thread; the worksheet is then
    // cleared by the reader without asking again.
    if (!Fechamento()) return false;
    TResultado r;
    std::string resumo;
    grid_.NomeArquivo.clear();
    semPerguntaFechamento_ = true;
    try {
        ExecutaLonga(
            [&](TProgresso &p) {
                r = LerArquivo(nome, grid_, kMaximoResumo, resumo, &tabelas_, &p);
            },
            true);
    } catch (...) {
        semPerguntaFechamento_ = false;
        throw;
    }
    semPerguntaFechamento_ = false;
    doc_.Historico().Limpa();
    doc_.DefinePastaArquivos(fs::path(nome).parent_path().string());
    if (!r.ok) {
        if (!r.mensagem.empty()) Informa(r.mensagem);
        Limpou();
        AtualizaModo();
        Atualiza();
        return false;
    }
    if (!r.mensagem.empty()) {
        // A damaged file: the worksheet keeps what was read but is not bound to the file, so
        // that no save writes the little that was read over it.
        Avisa(r.mensagem + "\r\n\r\n" + TextoLeituraParcial(grid_));
        doc_.DefineArquivo(kPlanilhaNova);
        doc_.DefineResumo(resumo);
        doc_.DefineComentarios(ComentariosArquivo(nome));
        grid_.DefineModificada(grid_.LinhasUsadas() > 0 || grid_.ColunasUsadas() > 0);
        AtualizaModo();
        grade_->IrPara(1, 1);
        Atualiza();
        return false;
    }
    AposLeitura(nome);
    doc_.DefineResumo(resumo);
    doc_.DefineComentarios(ComentariosArquivo(nome));
    return true;
}

void TFZELTO::AposLeitura(const std::string &nome) {
    doc_.VinculaAoLido();
    AtualizaModo();
    recentes_.Adiciona(nome);
    AtualizaRecentes();
    grade_->IrPara(1, 1);
    Atualiza();
    PerguntaDependenteAposLeitura();
    Atualiza();
}

// The descriptive mode values the homogenised sample, so reading in it does what switching to
// it does: after the unit value is settled, the date and comment columns stop being used and
// the "Valor Homog." column is ensured; used columns not marked as coefficients are offered to
// become coefficients.
void TFZELTO::PerguntaDependenteAposLeitura() {
    if (grid_.Modo.Inferencial) return;
    PerguntaDependente(grid_, ConfirmaSimNao);
    modelo_->IniciaLote();
    AplicaModoPlanilha(grid_, false);
    modelo_->TerminaLote();
    PerguntaFatores(grid_, ConfirmaSimNao);
}

void TFZELTO::LePlanilha() {
    Comando();
    if (!EscolheArquivoLeitura) return;
    const std::string nome = EscolheArquivoLeitura(InicioDialogo());
    if (nome.empty()) return;
    LeArquivo(nome);
}

bool TFZELTO::AbreArquivo(const std::string &nome) {
    Comando();
    return LeArquivo(nome);
}

void TFZELTO::AbreRecente(std::size_t i) {
    Comando();
    if (i >= recentes_.Itens().size()) return;
    const std::string nome = recentes_.Itens()[i];
    std::error_code ec;
    if (!fs::exists(nome, ec)) {
        Informa("O arquivo " + NomeSemPasta(nome) + " não foi encontrado.");
        recentes_.Remove(nome);
        AtualizaRecentes();
        return;
    }
    LeArquivo(nome);
}

void TFZELTO::AbreArquivoInicial(const QStringList &argumentos) {
    if (argumentos.size() > 1) {
        const std::string nome = argumentos.at(1).toStdString();
        std::error_code ec;
        if (!nome.empty() && fs::is_regular_file(nome, ec)) LeArquivo(nome);
    }
    grade_->IrPara(std::max(1, grid_.ColunaAtual), std::max(1, grid_.LinhaAtual));
    Atualiza();
}

// ---- Saving ---------------------------------------------------------------------------------

bool TFZELTO::VerificaCelulasVazias() {
    if (!cfg_.VerificarCelulasVazias) return true;
    const auto vazia = ProcuraCelulaVazia(grid_);
    if (!vazia) return true;
    const TVariavel *v = grid_.Variavel(vazia->Coluna);
    const TRespostaCelulaVazia r = PerguntaCelulaVazia(v ? v->Nome : grid_.Celula(vazia->Coluna, 0),
                                                       grid_.Celula(0, vazia->Linha));
    if (r.NaoVerificarMais) {
        cfg_.VerificarCelulasVazias = false;
        GravaChave("VCVz");
        AtualizaModo();
    }
    switch (r.Escolha) {
    case EscolhaCelulaVazia::Preencher:
        grade_->IrPara(vazia->Coluna, vazia->Linha);
        Atualiza();
        return false;
    case EscolhaCelulaVazia::DesconsiderarAmostragens:
        Registra("marca de amostragens em branco");
        DesconsideraAmostragensComVazias(grid_);
        break;
    case EscolhaCelulaVazia::NaoUsarVariaveis:
        Registra("uso de variáveis em branco");
        DeixaDeUsarVariaveisComVazias(grid_);
        break;
    }
    Atualiza();
    return true;
}

bool TFZELTO::GravaArquivo(const std::string &nome, const std::string &comentarios) {
    const bool texto = ExtensaoTexto(nome);
    bool ok = false;
    std::string mensagem;
    ExecutaLonga(
        [&](TProgresso &p) {
            if (texto) {
                TArquivoTxt w(&p);
                ok = w.Gravar(nome, grid_, doc_.Resumo(), comentarios);
                mensagem = w.Mensagem();
            } else {
                TArquivoZelto w(&tabelas_, &p);
                ok = w.Gravar(nome, grid_, doc_.Resumo(), comentarios);
                mensagem = w.Mensagem();
            }
        },
        false);
    if (!ok) {
        Avisa(mensagem.empty() ? "Não foi possível gravar o arquivo " + NomeSemPasta(nome) + "."
                               : mensagem);
        Atualiza();
        return false;
    }
    statusBar()->showMessage(
        QString::fromStdString((texto ? "Cópia em texto gravada: " : "Planilha gravada: ") +
                               Maiusculas(NomeSemPasta(nome))),
        kDuracaoMensagemGravacao);
    return true;
}

TInicioDialogo TFZELTO::InicioDialogo() const {
    TInicioDialogo inicio;
    inicio.Comentarios = doc_.Comentarios();
    const fs::path atual(doc_.Arquivo());
    std::error_code ec;
    if (atual.has_parent_path() && fs::is_directory(atual.parent_path(), ec))
        inicio.Pasta = atual.parent_path().string();
    else if (!doc_.PastaArquivos().empty() && fs::is_directory(doc_.PastaArquivos(), ec))
        inicio.Pasta = doc_.PastaArquivos();
    else if (!recentes_.Itens().empty() &&
             fs::is_directory(fs::path(recentes_.Itens().front()).parent_path(), ec))
        inicio.Pasta = fs::path(recentes_.Itens().front()).parent_path().string(); // last session
    else
        inicio.Pasta = QDir::homePath().toStdString();
    // A text file is saved again in the native format, under its own name.
    fs::path nome = atual.filename();
    if (ExtensaoTexto(doc_.Arquivo())) nome.replace_extension(".QV3");
    inicio.Nome = nome.string();
    return inicio;
}

bool TFZELTO::GravaPlanilha() {
    Comando();
    // A text file keeps no kinds, tables, marks nor subject: the native format is proposed.
    if (doc_.SemArquivo() || ExtensaoTexto(doc_.Arquivo())) return GravaComo();
    if (!VerificaCelulasVazias()) return false;
    if (!GravaArquivo(doc_.Arquivo(), doc_.Comentarios())) return false;
    grid_.DefineModificada(false);
    Atualiza();
    return true;
}

bool TFZELTO::GravaComo() {
    Comando();
    if (!VerificaCelulasVazias()) return false;
    if (!EscolheArquivoGravacao) return false;
    const auto escolha = EscolheArquivoGravacao(InicioDialogo());
    if (!escolha) return false;
    const std::string &nome = escolha->first;
    const bool texto = ExtensaoTexto(nome);
    if (texto && ConfirmaSimNao(kPerguntaTexto) != Resposta::Sim) return false;
    std::error_code ec;
    if (fs::exists(nome, ec)) {
        const std::string pergunta = Maiusculas(nome) + "\r\n já existe.\r\n\r\n" +
                                     "Deseja gravar os dados sobre este arquivo?";
        if (ConfirmaSimNao(pergunta) != Resposta::Sim) return false;
    }
    const std::string comentarios = ComentariosParaArquivo(escolha->second);
    if (!GravaArquivo(nome, comentarios)) return false;
    doc_.DefinePastaArquivos(fs::path(nome).parent_path().string());
    if (!texto) {
        // A text copy leaves the worksheet's own file as it was.
        doc_.DefineArquivo(nome);
        doc_.DefineComentarios(comentarios);
        grid_.DefineModificada(false);
        recentes_.Adiciona(nome);
        AtualizaRecentes();
    }
    Atualiza();
    return true;
}

// ---- Hand-over from a companion program --------------------------------------------------

void TFZELTO::VerificaTransferencia() {
    if (transferindo_ || ocupado_) return;
    const fs::path arquivo = PastaTemporaria() / kArquivoTransferencia;
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) return;
    transferindo_ = true;
    struct Fim {
        bool &f;
        ~Fim() { f = false; }
    } fim{transferindo_};
    Comando();
    if (grid_.Modificada()) {
        switch (Confirma("O ZELTO está recebendo informações do Banco de dados.\r\n"
                         "Deseja salvar os dados da planilha atual ?")) {
        case Resposta::Cancelar:
            fs::remove(arquivo, ec);
            return;
        case Resposta::Sim:
            // Without a save the worksheet stays, and so does the file for later.
            if (!GravaPlanilha()) return;
            break;
        case Resposta::Nao:
            break;
        }
    }
    // A new worksheet without the closing question.
    semPerguntaFechamento_ = true;
    grid_.Limpa();
    semPerguntaFechamento_ = false;
    Limpou();
    bool ok = false;
    std::string resumo, mensagem, comentarios;
    ExecutaLonga(
        [&](TProgresso &p) {
            TArquivoZelto leitor(&tabelas_, &p);
            ok = leitor.Ler(arquivo, grid_, kMaximoResumo, resumo);
            mensagem = leitor.Mensagem();
            comentarios = leitor.ComentariosUsuario;
        },
        true);
    if (!ok && !mensagem.empty()) Avisa(mensagem + "\r\n\r\n" + TextoLeituraParcial(grid_));
    doc_.DefineResumo(resumo);
    doc_.DefineComentarios(comentarios);
    doc_.DefineArquivo(kPlanilhaNova);
    doc_.Historico().Limpa();
    grid_.DefineModificada(false);
    fs::remove(arquivo, ec);
    grid_.DefineModificada(true);
    AtualizaModo();
    grade_->IrPara(1, 1);
    Atualiza();
}

// ---- Leaving the grid -----------------------------------------------------------------------

void TFZELTO::AparaLinhas() {
    if (ocupado_) return;
    grid_.AparaLinhasVazias();
    Atualiza();
}

bool TFZELTO::eventFilter(QObject *o, QEvent *e) {
    if (o == grade_ && e->type() == QEvent::FocusOut) {
        auto *f = static_cast<QFocusEvent *>(e);
        QWidget *novo = QApplication::focusWidget();
        const bool dentro = novo && (novo == grade_ || grade_->isAncestorOf(novo));
        if (!dentro && f->reason() != Qt::PopupFocusReason &&
            f->reason() != Qt::ActiveWindowFocusReason)
            AparaLinhas();
    }
    return QMainWindow::eventFilter(o, e);
}

} // namespace zelto
