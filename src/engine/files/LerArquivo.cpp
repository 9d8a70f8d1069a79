#include "files/LerArquivo.h"

#include "common/Texto.h"
#include "files/ArquivoTxt.h"
#include "files/ArquivoZelto.h"
#include "files/ArquivoZelto2.h"

#include <memory>

namespace zelto {

namespace fs = std::filesystem;

namespace {

const char *const kFormatoNaoPadrao = "O formato dos dados não é padrão do ZELTO.";

std::string Extensao(const fs::path &arquivo) {
    return Maiusculas(arquivo.extension().string());
}

} // namespace

TFormatoArquivo DetectarFormato(const fs::path &arquivo) {
    std::string inicio;
    if (LeInicioArquivo(arquivo, 36, inicio)) {
        if (inicio.size() > AssinaturaZelto.size() + 1 && inicio.starts_with(AssinaturaZelto))
            return TFormatoArquivo::Nativo;
        if (inicio.size() >= 36 && inicio.compare(18, 18, AssinaturaZelto2) == 0)
            return TFormatoArquivo::Antigo;
    }
    if (Extensao(arquivo) == ".TXT") return TFormatoArquivo::Texto;
    return TFormatoArquivo::Desconhecido;
}

TResultado LerArquivo(const fs::path &arquivo, TGridzelto &grid, std::size_t maximoResumo,
                      std::string &resumo, TTabelasVariaveis *tabelas, TProgresso *progresso) {
    resumo.clear();
    if (!grid.Limpa()) return {false, ""};
    const TFormatoArquivo formato = DetectarFormato(arquivo);
    std::unique_ptr<TLeituraGravacaoDados> leitor;
    switch (formato) {
    case TFormatoArquivo::Nativo:
        leitor = std::make_unique<TArquivoZelto>(tabelas, progresso);
        break;
    case TFormatoArquivo::Antigo:
        leitor = std::make_unique<TArquivoZelto2>(progresso);
        break;
    case TFormatoArquivo::Texto:
        leitor = std::make_unique<TArquivoTxt>(progresso);
        break;
    default:
        return {false, "Não foi possível ler arquivo " + Maiusculas(arquivo.filename().string()) +
                           " .\r\r" + kFormatoNaoPadrao};
    }
    if (!leitor->VerificaFormato(arquivo))
        return {false, "Não foi possível ler arquivo " +
                           TLeituraGravacaoDados::NomeExibido(arquivo) + " .\r\r" +
                           kFormatoNaoPadrao};
    leitor->Ler(arquivo, grid, maximoResumo, resumo);
    const std::string ext = Extensao(arquivo);
    if (ext == ".DCR") grid.Modo.Inferencial = false;
    if (ext == ".ZEL") grid.Modo.Inferencial = true;
    // The older format names its worksheet "Planilha.QV3" so that the next
    // save asks for a name; every other reader keeps the file's name.
    if (formato != TFormatoArquivo::Antigo)
        grid.NomeArquivo = TLeituraGravacaoDados::NomeExibido(arquivo);
    return {true, leitor->Mensagem()};
}

} // namespace zelto
