// zelto-cli convert IN OUT
//
// Reads a worksheet file of any supported format and writes it in the format of OUT's
// extension: ".QV3", ".ZEL" or ".DCR" (any case) the native file, ".TXT" tab-separated text.
// The statistics mode follows the program's rules: reading IN sets it as opening IN does (the
// mode stored in a native file; ".DCR" descriptive and ".ZEL" inferential by extension), then
// ".DCR" and ".ZEL" force theirs on OUT, so OUT reopens in the mode its extension gives it; a
// ".QV3" keeps the mode of IN. Text files hold no mode, comments, summary, subject property nor
// table; they hold the cells as the worksheet shows them.
//
// Nothing is written when IN can be read only in part (the engine's message says why), and a
// failed write leaves any previous OUT as it was. The label-table store is not used: a native
// file's tables travel with its columns.
#include "ComandosArquivo.h"
#include "PlanilhaCli.h"

#include "common/Texto.h"
#include "files/ArquivoTxt.h"
#include "files/ArquivoZelto.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace {

using namespace zelto;
using namespace zelto::cli;

struct TOpcoesConvert {
    std::string entrada, saida;
};

int Converte(const TOpcoesConvert &o) {
    const std::string ext = Maiusculas(std::filesystem::path(o.saida).extension().string());
    const bool nativo = ext == ".QV3" || ext == ".ZEL" || ext == ".DCR";
    if (!nativo && ext != ".TXT")
        throw TFalha{2, "A extensão do arquivo de saída deve ser .QV3, .ZEL, .DCR ou .TXT: \"" +
                            o.saida + "\"."};

    RecusaSaidaSobreEntrada(o.saida, {{o.entrada, "a planilha lida"}});
    TGridzelto grid;
    const TPlanilhaLida lida = LePlanilha(o.entrada, grid);
    if (!lida.aviso.empty()) throw TFalha{1, lida.aviso + " Nada foi gravado em " + o.saida + "."};

    if (ext == ".DCR") grid.Modo.Inferencial = false;
    if (ext == ".ZEL") grid.Modo.Inferencial = true;
    std::unique_ptr<TLeituraGravacaoDados> escritor;
    if (nativo)
        escritor = std::make_unique<TArquivoZelto>();
    else
        escritor = std::make_unique<TArquivoTxt>();
    if (!escritor->Gravar(o.saida, grid, lida.resumo, lida.comentarios))
        throw TFalha{1, escritor->Mensagem().empty()
                            ? "Não foi possível gravar o arquivo " + o.saida + "."
                            : escritor->Mensagem()};

    std::cout << o.saida << ": " << grid.LinhasUsadas() << " amostragens, " << grid.ColunasUsadas()
              << " variáveis"
              << (nativo
                      ? grid.Modo.Inferencial ? ", Estatística Inferencial" : ", Estatística Descritiva"
                      : "")
              << "\n";
    return 0;
}

} // namespace

void RegistraConvert(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesConvert>();
    auto *cmd = app.add_subcommand(
        "convert", "Grava uma planilha no formato da extensão de OUT (.QV3, .ZEL, .DCR ou .TXT)");
    cmd->add_option("IN", o->entrada, "A planilha lida (qualquer formato)")->required();
    cmd->add_option("OUT", o->saida, "A planilha gravada")->required();
    cmd->callback([o, &status] { status = Executa([&] { return Converte(*o); }); });
}
