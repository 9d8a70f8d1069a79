#include "files/ArquivoIni.h"

#include "common/Caminhos.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <climits>
#include <fstream>
#include <iterator>
#include <utility>

namespace zelto {

namespace fs = std::filesystem;

namespace {

bool Branco(char c) {
    return c == ' ' || c == '\t';
}

char MaiusculaAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool IguaisAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (MaiusculaAscii(a[i]) != MaiusculaAscii(b[i])) return false;
    return true;
}

// The value as it is written after "=": line breaks become blanks, and quotes
// protect blanks at either end and a value that is itself quoted.
std::string ValorGravado(std::string_view v) {
    std::string s(v);
    for (char &c : s)
        if (c == '\r' || c == '\n') c = ' ';
    bool protege = !s.empty() && (Branco(s.front()) || Branco(s.back()) ||
                                  (s.size() >= 2 && s.front() == '"' && s.back() == '"'));
    return protege ? '"' + s + '"' : s;
}

std::string ValorLido(std::string_view v) {
    v = AparaBrancos(v);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// A section or key name as the file holds it: Windows-1252, no blanks around.
std::string Nome1252(std::string_view nome) {
    return std::string(AparaBrancos(ParaCp1252(nome)));
}

// Names a line of the file can hold and give back: a section name without
// "]" or line breaks; a key that is not empty, holds no "=" or line break, and
// does not begin as a comment or a section header would.
bool NomesValidos(std::string_view secao, std::string_view chave) {
    if (secao.find_first_of("]\r\n") != std::string_view::npos) return false;
    if (chave.empty() || chave.find_first_of("=\r\n") != std::string_view::npos) return false;
    return chave.front() != '[' && chave.front() != ';' && chave.front() != '#';
}

int DigitoHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads a 32-bit integer: decimal, or hexadecimal after "$" or "0x". Values
// up to 0xFFFFFFFF are accepted and taken modulo 2^32 (colours are written so).
bool LeInteiro32(std::string_view texto, int &n) {
    std::string_view t = AparaBrancos(texto);
    long long v = 0;
    std::string_view hex;
    if (t.size() > 1 && t[0] == '$')
        hex = t.substr(1);
    else if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        hex = t.substr(2);
    if (!hex.empty()) {
        if (hex.size() > 8) return false;
        for (char c : hex) {
            int d = DigitoHex(c);
            if (d < 0) return false;
            v = v * 16 + d;
        }
    } else if (!ConverteInteiro(t, v)) {
        return false;
    }
    if (v < INT_MIN || v > 0xFFFFFFFFLL) return false;
    n = static_cast<int>(static_cast<std::uint32_t>(v));
    return true;
}

} // namespace

TArquivoIni::TArquivoIni(const fs::path &caminho) {
    Abre(caminho);
}

bool TArquivoIni::Abre(const fs::path &caminho) {
    caminho_ = caminho;
    secoes_.clear();
    pendente_ = false;
    fimLinha_ = "\r\n";
    std::error_code ec;
    if (!fs::exists(caminho, ec)) {
        aberto_ = !ec;
        return aberto_;
    }
    std::ifstream in(caminho, std::ios::binary);
    std::string dados;
    if (in) dados.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    aberto_ = in.good() || in.eof();
    if (!aberto_) return false;
    Interpreta(dados);
    return true;
}

void TArquivoIni::CarregaTexto(std::string_view dados) {
    caminho_.clear();
    secoes_.clear();
    pendente_ = false;
    aberto_ = true;
    Interpreta(dados);
}

bool TArquivoIni::AbreCopiaUsuario(const fs::path &instalado, const fs::path &usuario) {
    AtualizaCopiaUsuario(instalado, usuario);
    return Abre(usuario);
}

void TArquivoIni::Interpreta(std::string_view dados) {
    std::size_t nl = dados.find('\n');
    fimLinha_ = (nl != std::string_view::npos && nl > 0 && dados[nl - 1] == '\r') ? "\r\n"
                : nl != std::string_view::npos                                    ? "\n"
                                                                                  : "\r\n";
    secoes_.push_back(Secao{}); // the lines before the first header
    while (!dados.empty()) {
        std::size_t fim = dados.find('\n');
        std::string_view bruta = dados.substr(0, fim);
        dados = fim == std::string_view::npos ? std::string_view() : dados.substr(fim + 1);
        while (!bruta.empty() && bruta.back() == '\r')
            bruta.remove_suffix(1);
        std::string_view t = AparaBrancos(bruta);
        if (!t.empty() && t.front() == '[') {
            std::size_t fecha = t.find(']');
            if (fecha != std::string_view::npos) {
                Secao s;
                s.nome = std::string(AparaBrancos(t.substr(1, fecha - 1)));
                s.cabecalho = true;
                s.bruta = std::string(bruta);
                secoes_.push_back(std::move(s));
                continue;
            }
        }
        Linha l;
        l.bruta = std::string(bruta);
        std::size_t igual = t.find('=');
        if (!t.empty() && t.front() != ';' && t.front() != '#' && igual != std::string_view::npos) {
            l.chave = std::string(AparaBrancos(t.substr(0, igual)));
            l.valor = ValorLido(t.substr(igual + 1));
        }
        secoes_.back().linhas.push_back(std::move(l));
    }
}

std::string TArquivoIni::Conteudo() const {
    std::string s;
    for (const Secao &sec : secoes_) {
        if (sec.cabecalho) s += sec.bruta + fimLinha_;
        for (const Linha &l : sec.linhas)
            s += l.bruta + fimLinha_;
    }
    return s;
}

bool TArquivoIni::Grava() {
    if (caminho_.empty()) return false;
    fs::path temporario = caminho_;
    temporario += ".grav~";
    return GravaPorTemporario(caminho_, temporario, Conteudo());
}

const TArquivoIni::Secao *TArquivoIni::AchaSecao(std::string_view nome1252) const {
    for (const Secao &s : secoes_)
        if (s.cabecalho && IguaisAscii(s.nome, nome1252)) return &s;
    return nullptr;
}

TArquivoIni::Secao *TArquivoIni::AchaSecao(std::string_view nome1252) {
    return const_cast<Secao *>(std::as_const(*this).AchaSecao(nome1252));
}

const TArquivoIni::Linha *TArquivoIni::AchaLinha(std::string_view secao,
                                                 std::string_view chave) const {
    const Secao *s = AchaSecao(Nome1252(secao));
    if (!s) return nullptr;
    std::string c = Nome1252(chave);
    for (const Linha &l : s->linhas)
        if (!l.chave.empty() && IguaisAscii(l.chave, c)) return &l;
    return nullptr;
}

bool TArquivoIni::Atribui(std::string_view secao, std::string_view chave, std::string_view valor) {
    std::string sec = Nome1252(secao), ch = Nome1252(chave), val = ParaCp1252(valor);
    for (char &c : val)
        if (c == '\r' || c == '\n') c = ' ';
    Secao *s = AchaSecao(sec);
    if (!s) {
        // A new section goes at the end, after a blank line.
        if (!secoes_.empty()) {
            Secao &ultima = secoes_.back();
            bool vazio = secoes_.size() == 1 && ultima.linhas.empty();
            if (!vazio &&
                (ultima.linhas.empty() || !AparaBrancos(ultima.linhas.back().bruta).empty()))
                ultima.linhas.push_back(Linha{});
        }
        Secao nova;
        nova.nome = sec;
        nova.cabecalho = true;
        nova.bruta = "[" + sec + "]";
        secoes_.push_back(std::move(nova));
        s = &secoes_.back();
    }
    Linha nova{ch + "=" + ValorGravado(val), ch, val};
    for (Linha &l : s->linhas)
        if (!l.chave.empty() && IguaisAscii(l.chave, ch)) {
            if (l.valor == val) return false;
            l.bruta = l.chave + "=" + ValorGravado(val);
            l.valor = val;
            return true;
        }
    // A new key goes after the last key of the section, before trailing blank lines.
    std::size_t pos = s->linhas.size();
    while (pos > 0 && AparaBrancos(s->linhas[pos - 1].bruta).empty())
        --pos;
    s->linhas.insert(s->linhas.begin() + static_cast<std::ptrdiff_t>(pos), std::move(nova));
    return true;
}

bool TArquivoIni::Remove(std::string_view secao, std::string_view chave) {
    Secao *s = AchaSecao(Nome1252(secao));
    if (!s) return false;
    std::string ch = Nome1252(chave);
    for (auto it = s->linhas.begin(); it != s->linhas.end(); ++it)
        if (!it->chave.empty() && IguaisAscii(it->chave, ch)) {
            s->linhas.erase(it);
            return true;
        }
    return false;
}

// ---- Plain values ------------------------------------------------------------

bool TArquivoIni::Existe(std::string_view secao, std::string_view chave) const {
    return AchaLinha(secao, chave) != nullptr;
}

std::string TArquivoIni::LeTexto(std::string_view secao, std::string_view chave,
                                 std::string_view padrao) const {
    const Linha *l = AchaLinha(secao, chave);
    return l ? DeCp1252(l->valor) : std::string(padrao);
}

int TArquivoIni::LeInteiro(std::string_view secao, std::string_view chave, int padrao) const {
    const Linha *l = AchaLinha(secao, chave);
    int n = padrao;
    if (!l || !LeInteiro32(l->valor, n)) return padrao;
    return n;
}

bool TArquivoIni::LeBooleano(std::string_view secao, std::string_view chave, bool padrao) const {
    return LeInteiro(secao, chave, padrao ? 1 : 0) != 0;
}

bool TArquivoIni::EscreveTexto(std::string_view secao, std::string_view chave,
                               std::string_view valor) {
    if (!NomesValidos(Nome1252(secao), Nome1252(chave))) return false;
    bool mudou = Atribui(secao, chave, valor);
    if (!mudou && !pendente_) return true;
    pendente_ = !Grava();
    return !pendente_;
}

bool TArquivoIni::EscreveInteiro(std::string_view secao, std::string_view chave, int valor) {
    return EscreveTexto(secao, chave, std::to_string(valor));
}

bool TArquivoIni::EscreveBooleano(std::string_view secao, std::string_view chave, bool valor) {
    return EscreveTexto(secao, chave, valor ? "1" : "0");
}

bool TArquivoIni::ApagaChave(std::string_view secao, std::string_view chave) {
    bool mudou = Remove(secao, chave);
    if (!mudou && !pendente_) return true;
    pendente_ = !Grava();
    return !pendente_;
}

std::vector<std::string> TArquivoIni::Secoes() const {
    std::vector<std::string> r;
    for (const Secao &s : secoes_)
        if (s.cabecalho) r.push_back(DeCp1252(s.nome));
    return r;
}

std::vector<std::string> TArquivoIni::Chaves(std::string_view secao) const {
    std::vector<std::string> r;
    if (const Secao *s = AchaSecao(Nome1252(secao)))
        for (const Linha &l : s->linhas)
            if (!l.chave.empty()) r.push_back(DeCp1252(l.chave));
    return r;
}

// ---- Font --------------------------------------------------------------------

std::string TArquivoIni::CodificaFonte(const TFonteIni &f) {
    const auto tamanho = static_cast<std::uint16_t>(f.Tamanho);
    const std::uint8_t bytes[10] = {static_cast<std::uint8_t>(tamanho & 0xFF),
                                    static_cast<std::uint8_t>(tamanho >> 8),
                                    static_cast<std::uint8_t>(f.Cor & 0xFF),
                                    static_cast<std::uint8_t>((f.Cor >> 8) & 0xFF),
                                    static_cast<std::uint8_t>((f.Cor >> 16) & 0xFF),
                                    static_cast<std::uint8_t>(f.Cor >> 24),
                                    f.Negrito,
                                    f.Italico,
                                    f.Sublinhado,
                                    f.Riscado};
    static const char *kDigitos = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        s += kDigitos[b >> 4];
        s += kDigitos[b & 0x0F];
    }
    return s;
}

bool TArquivoIni::DecodificaFonte(std::string_view hex, TFonteIni &f) {
    if (hex.size() != 20) return false;
    std::uint8_t b[10];
    for (int i = 0; i < 10; ++i) {
        int alto = DigitoHex(hex[2 * i]), baixo = DigitoHex(hex[2 * i + 1]);
        if (alto < 0 || baixo < 0) return false;
        b[i] = static_cast<std::uint8_t>(alto * 16 + baixo);
    }
    f.Tamanho = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
    f.Cor = static_cast<std::uint32_t>(b[2]) | (static_cast<std::uint32_t>(b[3]) << 8) |
            (static_cast<std::uint32_t>(b[4]) << 16) | (static_cast<std::uint32_t>(b[5]) << 24);
    f.Negrito = b[6] != 0;
    f.Italico = b[7] != 0;
    f.Sublinhado = b[8] != 0;
    f.Riscado = b[9] != 0;
    return true;
}

TFonteIni TArquivoIni::LeFonte(std::string_view prefixo, std::string_view secao) const {
    TFonteIni f;
    std::string p(prefixo);
    f.Nome = LeTexto(secao, p + "Nm", "Arial");
    TFonteIni lida = f;
    if (DecodificaFonte(AparaBrancos(LeTexto(secao, p + "In", "0A000000000000000000")), lida))
        f = lida;
    return f;
}

bool TArquivoIni::EscreveFonte(std::string_view prefixo, std::string_view secao,
                               const TFonteIni &f) {
    std::string p(prefixo);
    if (!NomesValidos(Nome1252(secao), Nome1252(p + "Nm"))) return false;
    bool mudou = Atribui(secao, p + "Nm", f.Nome);
    mudou = Atribui(secao, p + "In", CodificaFonte(f)) || mudou;
    if (!mudou && !pendente_) return true;
    pendente_ = !Grava();
    return !pendente_;
}

// ---- Multi-line texts ----------------------------------------------------------

std::string TArquivoIni::ChaveMemo(std::string_view prefixo, std::size_t i) {
    std::string k(prefixo);
    std::size_t n = 0;
    for (int c = '0'; c <= '~'; ++c) {
        if (c == '=' || (c >= 'a' && c <= 'z')) continue;
        if (n++ == i) return k + static_cast<char>(c);
    }
    return k + "~" + std::to_string(i);
}

std::vector<std::string> TArquivoIni::LeMemo(std::string_view prefixo,
                                             std::string_view secao) const {
    std::vector<std::string> linhas;
    for (std::size_t i = 0;; ++i) {
        const Linha *l = AchaLinha(secao, ChaveMemo(prefixo, i));
        if (!l || l->valor == kMarcaFim) break;
        linhas.push_back(DeCp1252(l->valor));
    }
    return linhas;
}

bool TArquivoIni::EscreveMemo(std::string_view prefixo, std::string_view secao,
                              const std::vector<std::string> &linhas) {
    for (std::size_t i = 0; i <= linhas.size(); ++i)
        if (!NomesValidos(Nome1252(secao), Nome1252(ChaveMemo(prefixo, i)))) return false;
    bool mudou = false;
    for (std::size_t i = 0; i < linhas.size(); ++i)
        mudou = Atribui(secao, ChaveMemo(prefixo, i), linhas[i]) || mudou;
    mudou = Atribui(secao, ChaveMemo(prefixo, linhas.size()), kMarcaFim) || mudou;
    // Lines of a longer text written before are no longer wanted.
    for (std::size_t i = linhas.size() + 1; Remove(secao, ChaveMemo(prefixo, i)); ++i)
        mudou = true;
    if (!mudou && !pendente_) return true;
    pendente_ = !Grava();
    return !pendente_;
}

} // namespace zelto
