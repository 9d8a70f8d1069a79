// Fuzz target of the settings-file reader.
//
// The input is the file. It is read from memory; every section, key, font
// and multi-line text is read; the file as the program would write it must
// read back the same; a value written under a key read from the input must
// read back as written.
#include "files/ArquivoIni.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace zelto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
    const std::string bytes(reinterpret_cast<const char *>(dados), tamanho);
    TArquivoIni ini;
    ini.CarregaTexto(bytes);
    for (const std::string &secao : ini.Secoes()) {
        for (const std::string &chave : ini.Chaves(secao)) {
            ini.LeTexto(secao, chave);
            ini.LeInteiro(secao, chave, 7);
            ini.LeBooleano(secao, chave, true);
            ini.LeFonte(chave, secao);
            ini.LeMemo(chave, secao);
        }
    }

    // Writing out and reading again changes nothing.
    const std::string conteudo = ini.Conteudo();
    TArquivoIni de_novo;
    de_novo.CarregaTexto(conteudo);
    if (de_novo.Conteudo() != conteudo) __builtin_trap();

    // A value written is the value read, under a section and key of the input.
    const auto secoes = ini.Secoes();
    if (secoes.empty()) return 0;
    const std::string &secao = secoes.front();
    const auto chaves = ini.Chaves(secao);
    const std::string chave = chaves.empty() ? "k" : chaves.back();
    std::string valor = bytes.substr(0, 40);
    for (char &c : valor)
        if (c == '\r' || c == '\n') c = ' ';
    ini.EscreveTexto(secao, chave, valor); // false: in memory only, or a name refused
    TArquivoIni lido;
    lido.CarregaTexto(ini.Conteudo());
    if (lido.LeTexto(secao, chave, "?") != ini.LeTexto(secao, chave, "?")) __builtin_trap();
    return 0;
}
