#include "gui/mainwindow/ComandosArquivo.h"

#include "common/Texto.h"
#include "files/ArquivoIni.h"
#include "files/ArquivoTxt.h"
#include "files/ArquivoZelto.h"
#include "files/ConfiguracaoGeral.h"
#include "files/LerArquivo.h"
#include "gui/mainwindow/DocumentoPlanilha.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/mainwindow/TextosEstado.h"
#include "gui/worksheet/GradePlanilha.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/TabelasVariaveis.h"

#include <QDir>
#include <QMainWindow>
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

TComandosArquivo::TComandosArquivo(TServicosJanela &janela, TRespostasUsuario &respostas,
                                   TDocumentoPlanilha &doc, TConfiguracaoGeral &cfg,
                                   TArquivoIni &ini, TTabelasVariaveis &tabelas)
    : janela_(janela), r_(respostas), doc_(doc), grid_(doc.Grid()), cfg_(cfg), ini_(ini),
      tabelas_(tabelas) {
    // What the user answers, unless a test answers instead.
    EscolheArquivoLeitura = [this](const TInicioDialogo &i) {
        return DialogoLeitura(janela_.Janela(), i);
    };
    EscolheArquivoGravacao = [this](const TInicioDialogo &i) {
        return DialogoGravacao(janela_.Janela(), i);
    };
    PerguntaCelulaVazia = [this](const std::string &var, const std::string &amostra) {
        TFormCelulaVazia d(var, amostra, janela_.Janela());
        d.exec();
        return d.Resposta();
    };
}

fs::path TComandosArquivo::PastaTemporaria() const {
    return fs::path(QDir::tempPath().toStdString());
}

// ---- New worksheet and closing ----------------------------------------------------------

bool TComandosArquivo::Fechamento() {
    if (semPerguntaFechamento_) return true;
    janela_.Comando();
    if (grid_.Modificada()) {
        switch (r_.Confirma("Os dados da planilha não estão gravados.\r\nDeseja gravá-los?")) {
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
    if (AoFechar) AoFechar();
    grid_.IdentificacaoObjeto = {};
    recentes_.Grava(cfg_);
    if (!cfg_.GravaRecentes(ini_) && ini_.Aberto())
        r_.Avisa("Não foi possível gravar a lista de arquivos recentes.");
    return true;
}

void TComandosArquivo::Limpou() {
    // A new worksheet has no report, also when it comes without the closing steps.
    if (AoLimpar) AoLimpar();
    doc_.Limpou();
    janela_.Grade()->AplicaDimensoes();
    janela_.Grade()->IrPara(1, 1);
}

void TComandosArquivo::NovaPlanilha() {
    janela_.Comando();
    if (!grid_.Limpa()) return;
    Limpou();
    janela_.Atualiza();
}

// ---- Reading --------------------------------------------------------------------------------

bool TComandosArquivo::LeArquivo(const std::string &nome) {
    // The closing question comes first, on this thread; the worksheet is then
    // cleared by the reader without asking again.
    if (!Fechamento()) return false;
    TResultado r;
    std::string resumo;
    grid_.NomeArquivo.clear();
    semPerguntaFechamento_ = true;
    try {
        janela_.ExecutaLonga(
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
        if (!r.mensagem.empty()) r_.Informa(r.mensagem);
        Limpou();
        janela_.AtualizaModo();
        janela_.Atualiza();
        return false;
    }
    if (!r.mensagem.empty()) {
        // A damaged file: the worksheet keeps what was read but is not bound to the file, so
        // that no save writes the little that was read over it.
        r_.Avisa(r.mensagem + "\r\n\r\n" + TextoLeituraParcial(grid_));
        doc_.DefineArquivo(kPlanilhaNova);
        doc_.DefineResumo(resumo);
        doc_.DefineComentarios(ComentariosArquivo(nome));
        grid_.DefineModificada(grid_.LinhasUsadas() > 0 || grid_.ColunasUsadas() > 0);
        janela_.AtualizaModo();
        janela_.Grade()->IrPara(1, 1);
        janela_.Atualiza();
        return false;
    }
    AposLeitura(nome);
    doc_.DefineResumo(resumo);
    doc_.DefineComentarios(ComentariosArquivo(nome));
    return true;
}

void TComandosArquivo::AposLeitura(const std::string &nome) {
    doc_.VinculaAoLido();
    janela_.AtualizaModo();
    recentes_.Adiciona(nome);
    janela_.AtualizaRecentes();
    janela_.Grade()->IrPara(1, 1);
    janela_.Atualiza();
    PerguntaDependenteAposLeitura();
    janela_.Atualiza();
}

// The descriptive mode values the homogenised sample, so reading in it does what switching to
// it does: after the unit value is settled, the date and comment columns stop being used and
// the "Valor Homog." column is ensured; used columns not marked as coefficients are offered to
// become coefficients.
void TComandosArquivo::PerguntaDependenteAposLeitura() {
    if (grid_.Modo.Inferencial) return;
    PerguntaDependente(grid_, r_.ConfirmaSimNao);
    janela_.Modelo()->IniciaLote();
    AplicaModoPlanilha(grid_, false);
    janela_.Modelo()->TerminaLote();
    PerguntaFatores(grid_, r_.ConfirmaSimNao);
}

void TComandosArquivo::LePlanilha() {
    janela_.Comando();
    if (!EscolheArquivoLeitura) return;
    const std::string nome = EscolheArquivoLeitura(InicioDialogo());
    if (nome.empty()) return;
    LeArquivo(nome);
}

bool TComandosArquivo::AbreArquivo(const std::string &nome) {
    janela_.Comando();
    return LeArquivo(nome);
}

void TComandosArquivo::AbreRecente(std::size_t i) {
    janela_.Comando();
    if (i >= recentes_.Itens().size()) return;
    const std::string nome = recentes_.Itens()[i];
    std::error_code ec;
    if (!fs::exists(nome, ec)) {
        r_.Informa("O arquivo " + NomeSemPasta(nome) + " não foi encontrado.");
        recentes_.Remove(nome);
        janela_.AtualizaRecentes();
        return;
    }
    LeArquivo(nome);
}

void TComandosArquivo::AbreArquivoInicial(const QStringList &argumentos) {
    if (argumentos.size() > 1) {
        const std::string nome = argumentos.at(1).toStdString();
        std::error_code ec;
        if (!nome.empty() && fs::is_regular_file(nome, ec)) LeArquivo(nome);
    }
    janela_.Grade()->IrPara(std::max(1, grid_.ColunaAtual), std::max(1, grid_.LinhaAtual));
    janela_.Atualiza();
}

// ---- Saving ---------------------------------------------------------------------------------

bool TComandosArquivo::VerificaCelulasVazias() {
    if (!cfg_.VerificarCelulasVazias) return true;
    const auto vazia = ProcuraCelulaVazia(grid_);
    if (!vazia) return true;
    const TVariavel *v = grid_.Variavel(vazia->Coluna);
    const TRespostaCelulaVazia r = PerguntaCelulaVazia(v ? v->Nome : grid_.Celula(vazia->Coluna, 0),
                                                       grid_.Celula(0, vazia->Linha));
    if (r.NaoVerificarMais) {
        cfg_.VerificarCelulasVazias = false;
        janela_.GravaChave("VCVz");
        janela_.AtualizaModo();
    }
    switch (r.Escolha) {
    case EscolhaCelulaVazia::Preencher:
        janela_.Grade()->IrPara(vazia->Coluna, vazia->Linha);
        janela_.Atualiza();
        return false;
    case EscolhaCelulaVazia::DesconsiderarAmostragens:
        doc_.Historico().Registra("marca de amostragens em branco");
        DesconsideraAmostragensComVazias(grid_);
        break;
    case EscolhaCelulaVazia::NaoUsarVariaveis:
        doc_.Historico().Registra("uso de variáveis em branco");
        DeixaDeUsarVariaveisComVazias(grid_);
        break;
    }
    janela_.Atualiza();
    return true;
}

bool TComandosArquivo::GravaArquivo(const std::string &nome, const std::string &comentarios) {
    const bool texto = ExtensaoTexto(nome);
    bool ok = false;
    std::string mensagem;
    janela_.ExecutaLonga(
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
        r_.Avisa(mensagem.empty() ? "Não foi possível gravar o arquivo " + NomeSemPasta(nome) + "."
                                  : mensagem);
        janela_.Atualiza();
        return false;
    }
    janela_.Janela()->statusBar()->showMessage(
        QString::fromStdString((texto ? "Cópia em texto gravada: " : "Planilha gravada: ") +
                               Maiusculas(NomeSemPasta(nome))),
        kDuracaoMensagemGravacao);
    return true;
}

TInicioDialogo TComandosArquivo::InicioDialogo() const {
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

bool TComandosArquivo::GravaPlanilha() {
    janela_.Comando();
    // A text file keeps no kinds, tables, marks nor subject: the native format is proposed.
    if (doc_.SemArquivo() || ExtensaoTexto(doc_.Arquivo())) return GravaComo();
    if (!VerificaCelulasVazias()) return false;
    if (!GravaArquivo(doc_.Arquivo(), doc_.Comentarios())) return false;
    grid_.DefineModificada(false);
    janela_.Atualiza();
    return true;
}

bool TComandosArquivo::GravaComo() {
    janela_.Comando();
    if (!VerificaCelulasVazias()) return false;
    if (!EscolheArquivoGravacao) return false;
    const auto escolha = EscolheArquivoGravacao(InicioDialogo());
    if (!escolha) return false;
    const std::string &nome = escolha->first;
    const bool texto = ExtensaoTexto(nome);
    if (texto && r_.ConfirmaSimNao(kPerguntaTexto) != Resposta::Sim) return false;
    std::error_code ec;
    if (fs::exists(nome, ec)) {
        const std::string pergunta = Maiusculas(nome) + "\r\n já existe.\r\n\r\n" +
                                     "Deseja gravar os dados sobre este arquivo?";
        if (r_.ConfirmaSimNao(pergunta) != Resposta::Sim) return false;
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
        janela_.AtualizaRecentes();
    }
    janela_.Atualiza();
    return true;
}

// ---- Hand-over from a companion program --------------------------------------------------

void TComandosArquivo::VerificaTransferencia() {
    if (transferindo_ || janela_.Ocupado()) return;
    const fs::path arquivo = PastaTemporaria() / kArquivoTransferencia;
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) return;
    transferindo_ = true;
    struct Fim {
        bool &f;
        ~Fim() { f = false; }
    } fim{transferindo_};
    janela_.Comando();
    if (grid_.Modificada()) {
        switch (r_.Confirma("O ZELTO está recebendo informações do Banco de dados.\r\n"
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
    janela_.ExecutaLonga(
        [&](TProgresso &p) {
            TArquivoZelto leitor(&tabelas_, &p);
            ok = leitor.Ler(arquivo, grid_, kMaximoResumo, resumo);
            mensagem = leitor.Mensagem();
            comentarios = leitor.ComentariosUsuario;
        },
        true);
    if (!ok && !mensagem.empty()) r_.Avisa(mensagem + "\r\n\r\n" + TextoLeituraParcial(grid_));
    doc_.DefineResumo(resumo);
    doc_.DefineComentarios(comentarios);
    doc_.DefineArquivo(kPlanilhaNova);
    doc_.Historico().Limpa();
    grid_.DefineModificada(false);
    fs::remove(arquivo, ec);
    grid_.DefineModificada(true);
    janela_.AtualizaModo();
    janela_.Grade()->IrPara(1, 1);
    janela_.Atualiza();
}

} // namespace zelto
