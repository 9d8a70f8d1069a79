#include "PlanilhaCli.h"

#include "common/GravacaoSegura.h"
#include "files/ArquivoZelto.h"

#include <unistd.h>

#include <iostream>
#include <regex>
#include <system_error>

namespace zelto::cli {

void ConfereArquivo(const std::filesystem::path &arquivo) {
    namespace fs = std::filesystem;
    std::string motivo;
    std::error_code ec;
    const fs::file_status estado = fs::status(arquivo, ec);
    if (estado.type() == fs::file_type::not_found) {
        const fs::path pasta = arquivo.parent_path();
        motivo = pasta.empty() || fs::is_directory(pasta, ec)
                     ? TLeituraGravacaoDados::TextoErro(2)
                     : TLeituraGravacaoDados::TextoErro(3) + ".";
    } else if (ec) {
        motivo = ec == std::errc::permission_denied ? TLeituraGravacaoDados::TextoErro(5) + "."
                                                    : TextoErroSistema(ec.value());
    } else if (estado.type() == fs::file_type::directory) {
        motivo = "É uma pasta, não um arquivo.";
    } else if (estado.type() != fs::file_type::regular) {
        motivo = "Não é um arquivo comum (é um dispositivo, uma fila ou um soquete).";
    } else if (::access(arquivo.c_str(), R_OK) != 0) {
        motivo = TLeituraGravacaoDados::TextoErro(5) + ".";
    }
    if (!motivo.empty())
        throw TFalha{1, "Erro durante processamento do arquivo: \r\n\r\n" +
                            TLeituraGravacaoDados::NomeExibido(arquivo) + "\r\n\r\n" + motivo};
}

void RecusaSaidaSobreEntrada(const std::string &saida, const std::vector<TEntrada> &entradas,
                             const std::string &pasta) {
    namespace fs = std::filesystem;
    const std::regex figura("[0-9]+-[0-9]+\\.png");
    for (const TEntrada &e : entradas) {
        if (e.arquivo.empty()) continue;
        if (!saida.empty() && MesmoArquivoFisico(saida, e.arquivo))
            throw TFalha{2, "A saída " + saida + " é " + e.papel + " (" + e.arquivo +
                                "): um comando não grava sobre o que lê. Nada foi gravado."};
        const fs::path p(e.arquivo);
        if (!pasta.empty() && std::regex_match(p.filename().string(), figura) &&
            MesmoArquivoFisico(p.parent_path().empty() ? fs::path(".") : p.parent_path(), pasta))
            throw TFalha{2, "A pasta de --graphs " + pasta + " contém " + e.papel + " (" + e.arquivo +
                                ") com o nome de um gráfico: um comando não grava sobre o que lê. "
                                "Nada foi gravado."};
    }
}

TPlanilhaLida LePlanilha(const std::filesystem::path &arquivo, TGridzelto &grid) {
    TPlanilhaLida lida;
    // Anything but a readable file would otherwise be reported as one of an unknown format.
    ConfereArquivo(arquivo);
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
