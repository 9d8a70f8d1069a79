#include "PlanilhaCli.h"

#include "files/ArquivoZelto.h"

#include <iostream>
#include <system_error>

namespace zelto::cli {

TPlanilhaLida LePlanilha(const std::filesystem::path &arquivo, TGridzelto &grid) {
    TPlanilhaLida lida;
    // A missing file would otherwise be reported as one of an unknown format.
    std::error_code ec;
    if (!std::filesystem::exists(arquivo, ec) && !ec)
        throw TFalha{1, "Erro durante processamento do arquivo: \r\n\r\n" +
                            TLeituraGravacaoDados::NomeExibido(arquivo) + "\r\n\r\n" +
                            TLeituraGravacaoDados::TextoErro(2)};
    lida.formato = DetectarFormato(arquivo);
    // The summary field of a native file holds at most 255 characters.
    const TResultado r = LerArquivo(arquivo, grid, 255, lida.resumo, nullptr);
    if (!r.ok)
        throw TFalha{1, r.mensagem.empty()
                            ? "Não foi possível ler o arquivo " + arquivo.string() + "."
                            : r.mensagem};
    lida.aviso = r.mensagem;
    if (lida.formato == TFormatoArquivo::Nativo) {
        TArquivoZelto z;
        if (!z.LerComentarios(arquivo, lida.comentarios)) lida.comentarios.clear();
    }
    return lida;
}

std::string UmaLinha(std::string_view texto) {
    std::string r;
    for (char c : texto) {
        if (c == '\r' || c == '\n') {
            if (!r.empty() && r.back() != ' ') r += ' ';
        } else {
            r += c;
        }
    }
    while (!r.empty() && r.back() == ' ')
        r.pop_back();
    return r;
}

int Executa(const std::function<int()> &trabalho) {
    try {
        return trabalho();
    } catch (const TFalha &f) {
        std::cout.flush();
        std::cerr << UmaLinha(f.mensagem) << '\n';
        return f.status;
    }
}

} // namespace zelto::cli
