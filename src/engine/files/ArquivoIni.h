// Settings files: named sections of key=value lines.
//
// `TArquivoIni` holds one settings file in memory and writes the whole file
// back at once after every change, through a temporary file renamed over the
// old one (GravaPorTemporario), so a failed write never destroys the settings
// already on disk. There is no separate save step. When a write fails the
// value is kept in memory for the rest of the run and the writing call answers
// false.
//
// The file is kept as it was read: sections and keys stay in their order,
// comment and blank lines stay where they were, and every line the program
// does not change keeps its bytes. Values are Windows-1252 on disk and UTF-8
// in the program; the conversion happens here. Sections and keys are found
// without regard to ASCII case, and the first of two equal keys wins. Blanks
// around keys and values are not part of them; a value that needs its blanks,
// or that is itself wrapped in double quotes, is written inside a pair of
// double quotes that reading removes. Line breaks cannot live in a value and
// are written as blanks. Line ends follow the file (CR LF for a new file).
// A name no line could hold and give back (a section name with "]", a key
// with "=" or beginning with "[", ";" or "#", a line break in either) is
// refused: nothing changes and the writing call answers false.
//
// Booleans are written as 1 and 0 and read as true for any non-zero integer;
// a value that is no integer reads as the caller's default.
//
// Two encodings built on plain keys serve the report configuration:
//  - a font under prefix + "Nm" (the name) and prefix + "In" (20 hexadecimal
//    digits: size int16, colour int32, both little-endian, then one byte each
//    for bold, italic, underline and strike-out);
//  - a text of several lines under prefix + one character per line, "0" for
//    the first, then on through the character table, and the end marker
//    "f%i%m" under the key after the last line. The characters that cannot
//    tell keys apart are skipped: "=" (it would end the key) and the lower-case
//    letters (keys ignore case, so "a" would hit the key of "A"). After "~"
//    the keys go on as prefix + "~" + the line index in decimal.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// A font as the settings files keep it.
struct TFonteIni {
    std::string Nome = "Arial";
    std::int16_t Tamanho = 10; // points
    std::uint32_t Cor = 0;     // 0x00BBGGRR
    bool Negrito = false, Italico = false, Sublinhado = false, Riscado = false;

    bool operator==(const TFonteIni &) const = default;
};

class TArquivoIni {
  public:
    static constexpr const char *kMarcaFim = "f%i%m";

    TArquivoIni() = default;
    // Opens the file (see Abre); check Aberto() for the result.
    explicit TArquivoIni(const std::filesystem::path &caminho);

    // Reads the file into memory; later changes are written back to it. A
    // missing file opens empty (it is created by the first change). False when
    // the file exists but cannot be read; the settings are then empty and the
    // first change writes a new file.
    bool Abre(const std::filesystem::path &caminho);
    // Refreshes the user's copy from the installed copy when that one is newer
    // (or the user has none), then opens the user's copy.
    bool AbreCopiaUsuario(const std::filesystem::path &instalado,
                          const std::filesystem::path &usuario);

    // Takes the settings from bytes instead of a file, for data that never was
    // one (and the fuzz target). Nothing is written to disk afterwards: every
    // change stays in memory and its call answers false.
    void CarregaTexto(std::string_view dados);

    const std::filesystem::path &Caminho() const { return caminho_; }
    bool Aberto() const { return aberto_; }

    // ---- Plain values --------------------------------------------------------
    bool Existe(std::string_view secao, std::string_view chave) const;
    std::string LeTexto(std::string_view secao, std::string_view chave,
                        std::string_view padrao = {}) const;
    int LeInteiro(std::string_view secao, std::string_view chave, int padrao) const;
    bool LeBooleano(std::string_view secao, std::string_view chave, bool padrao) const;

    // Each returns true when the file on disk holds the new value afterwards.
    bool EscreveTexto(std::string_view secao, std::string_view chave, std::string_view valor);
    bool EscreveInteiro(std::string_view secao, std::string_view chave, int valor);
    bool EscreveBooleano(std::string_view secao, std::string_view chave, bool valor);
    bool ApagaChave(std::string_view secao, std::string_view chave);

    // Section names and the keys of a section, in file order.
    std::vector<std::string> Secoes() const;
    std::vector<std::string> Chaves(std::string_view secao) const;

    // ---- Encodings of the report configuration --------------------------------
    TFonteIni LeFonte(std::string_view prefixo, std::string_view secao) const;
    bool EscreveFonte(std::string_view prefixo, std::string_view secao, const TFonteIni &f);
    std::vector<std::string> LeMemo(std::string_view prefixo, std::string_view secao) const;
    bool EscreveMemo(std::string_view prefixo, std::string_view secao,
                     const std::vector<std::string> &linhas);

    // The key of line i of a multi-line text.
    static std::string ChaveMemo(std::string_view prefixo, std::size_t i);
    // The 20 hexadecimal digits of a font's "In" key, and back (false when the
    // text is not 20 hexadecimal digits; f is then left alone).
    static std::string CodificaFonte(const TFonteIni &f);
    static bool DecodificaFonte(std::string_view hex, TFonteIni &f);

    // The bytes of the file as the next write would leave it.
    std::string Conteudo() const;

  private:
    struct Linha {
        std::string bruta; // the line's bytes, without its end
        std::string chave; // trimmed key (Windows-1252); empty for other lines
        std::string valor; // the value as read (Windows-1252, unquoted)
    };
    struct Secao {
        std::string nome; // Windows-1252; the lines before the first header have none
        bool cabecalho = false;
        std::string bruta; // the header line as read
        std::vector<Linha> linhas;
    };

    const Secao *AchaSecao(std::string_view nome1252) const;
    Secao *AchaSecao(std::string_view nome1252);
    const Linha *AchaLinha(std::string_view secao, std::string_view chave) const;
    // Sets a key in memory; true when something changed.
    bool Atribui(std::string_view secao, std::string_view chave, std::string_view valor);
    bool Remove(std::string_view secao, std::string_view chave);
    bool Grava();
    void Interpreta(std::string_view dados);

    std::filesystem::path caminho_;
    bool aberto_ = false;
    bool pendente_ = false; // a change that could not be written yet
    std::string fimLinha_ = "\r\n";
    std::vector<Secao> secoes_;
};

} // namespace zelto
