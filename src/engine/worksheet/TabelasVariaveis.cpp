#include "worksheet/TabelasVariaveis.h"

#include "common/Caminhos.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace zelto {

namespace fs = std::filesystem;

namespace {

constexpr char kInicioCabecalho = '\xB1';
constexpr char kSeparador = '\xB2';
constexpr std::size_t kTamanhoTexto = 255;
constexpr const char *kNomeTemporario = "$$$$$$$$.QVT";

char LetraTipo(TipoTabela tipo) {
    return tipo == TipoTabela::Qualitativa ? 'Q' : 'D';
}

TipoTabela TipoConteudo(const TConteudoTabela &c) {
    return c.index() == 0 ? TipoTabela::Qualitativa : TipoTabela::Dicotomica;
}

// A text of the data as the store keeps it: no line breaks, at most 255 characters.
std::string TextoDados(std::string_view s) {
    std::string t(s);
    for (char &c : t)
        if (c == '\r' || c == '\n') c = ' ';
    return CortaCp1252(t, kTamanhoTexto);
}

// Text of the file (Windows-1252 bytes) -> UTF-8, cut to 255 characters.
std::string LidoDoArquivo(std::string_view bytes) {
    return CortaCp1252(DeCp1252(bytes), kTamanhoTexto);
}

// Header line: optional blanks, 0xB1, the name, 0xB2, the kind letter,
// optional blanks.
bool EhCabecalho(std::string_view linha, TipoTabela &tipo, std::string_view &nome) {
    std::size_t b = 0, e = linha.size();
    while (b < e && (linha[b] == ' ' || linha[b] == '\t'))
        ++b;
    while (e > b && (linha[e - 1] == ' ' || linha[e - 1] == '\t'))
        --e;
    if (e - b < 3 || linha[b] != kInicioCabecalho || linha[e - 2] != kSeparador) return false;
    if (linha[e - 1] == 'Q')
        tipo = TipoTabela::Qualitativa;
    else if (linha[e - 1] == 'D')
        tipo = TipoTabela::Dicotomica;
    else
        return false;
    nome = linha.substr(b + 1, e - 2 - (b + 1));
    return true;
}

// A qualitative entry split at its last 0xB2 (labels may hold the byte).
void DivideEntrada(std::string_view linha, std::string_view &rotulo, std::string_view &valor) {
    std::size_t p = linha.rfind(kSeparador);
    if (p == std::string_view::npos) {
        rotulo = linha;
        valor = {};
    } else {
        rotulo = linha.substr(0, p);
        valor = linha.substr(p + 1);
    }
}

std::vector<std::string> DivideLinhas(const std::string &texto) {
    std::vector<std::string> linhas;
    std::string atual;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        char c = texto[i];
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
            linhas.push_back(std::move(atual));
            atual.clear();
        } else {
            atual += c;
        }
    }
    if (!atual.empty()) linhas.push_back(std::move(atual));
    return linhas;
}

std::vector<std::string> LinhasSecao(const std::string &nome, const TConteudoTabela &conteudo) {
    TipoTabela tipo = TipoConteudo(conteudo);
    std::vector<std::string> r;
    r.push_back(kInicioCabecalho + ParaCp1252(nome) + kSeparador + LetraTipo(tipo));
    if (const auto *q = std::get_if<TTabelaQualitativa>(&conteudo)) {
        for (const TObjetoValor &item : *q)
            r.push_back(ParaCp1252(TextoDados(item.Rotulo)) + kSeparador +
                        TTabelasVariaveis::TextoValor(item.Valor));
    } else {
        // An empty line would end the table, so an empty state gets its default label.
        const auto &d = std::get<TTabelaDicotomica>(conteudo);
        for (int k = 0; k < 2; ++k) {
            std::string rotulo = TextoDados(d[k]);
            if (Apara(rotulo).empty()) rotulo = k == 0 ? RotuloPositivo : RotuloNegativo;
            r.push_back(ParaCp1252(rotulo));
        }
    }
    return r;
}

} // namespace

TTabelasVariaveis::TTabelasVariaveis(fs::path arquivo) : arquivo_(std::move(arquivo)) {}

std::string TTabelasVariaveis::NomeNormalizado(std::string_view nome) {
    return DeCp1252(ParaCp1252(TextoDados(nome)));
}

std::string TTabelasVariaveis::TextoValor(long double valor) {
    std::string s = FormatoGeral(valor);
    long double lido = 0;
    if (ConverteNumero(s, lido) && lido == valor) return s;
    // The shortest text that reads back exactly, in this program's notation.
    auto notacao = [](const char *b, const char *e) {
        std::string t;
        for (const char *p = b; p != e; ++p) {
            if (*p == '.')
                t += ',';
            else if (*p == 'e')
                t += 'E';
            else if (*p != '+')
                t += *p;
        }
        return t;
    };
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, valor);
    if (res.ec == std::errc()) {
        std::string t = notacao(buf, res.ptr);
        if (ConverteNumero(t, lido) && lido == valor) return t;
    }
    res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::scientific, 21);
    if (res.ec == std::errc()) return notacao(buf, res.ptr);
    return s;
}

bool TTabelasVariaveis::Atualiza() {
    std::error_code ec;
    fs::file_status st = fs::status(arquivo_, ec);
    if (st.type() == fs::file_type::not_found) {
        linhas_.clear();
        secoes_.clear();
        legivel_ = true;
        carregado_ = true;
        Reescreve({}); // created empty; when that fails the store stays empty in memory
        return true;
    }
    if (st.type() != fs::file_type::regular) {
        linhas_.clear();
        secoes_.clear();
        legivel_ = false;
        carregado_ = false;
        return true;
    }
    auto hora = fs::last_write_time(arquivo_, ec);
    auto tamanho = fs::file_size(arquivo_, ec);
    if (carregado_ && legivel_ && !ec && hora == hora_ && tamanho == tamanho_) return true;

    std::ifstream in(arquivo_, std::ios::binary);
    std::string texto;
    if (in) texto.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        linhas_.clear();
        secoes_.clear();
        legivel_ = false;
        carregado_ = false;
        return true;
    }
    linhas_ = DivideLinhas(texto);
    legivel_ = true;
    carregado_ = !ec;
    hora_ = hora;
    tamanho_ = tamanho;

    // Sections: a header opens a table; an empty line, another header or the
    // end of the file closes it. Lines outside every table are left alone.
    secoes_.clear();
    bool aberta = false;
    for (std::size_t i = 0; i < linhas_.size(); ++i) {
        TipoTabela tipo;
        std::string_view nome;
        bool cabecalho = EhCabecalho(linhas_[i], tipo, nome);
        if (aberta && (linhas_[i].empty() || cabecalho)) {
            secoes_.back().fim = i;
            aberta = false;
        }
        if (cabecalho) {
            secoes_.push_back({i, linhas_.size(), tipo, LidoDoArquivo(nome)});
            aberta = true;
        }
    }
    return true;
}

bool TTabelasVariaveis::Legivel() {
    Atualiza();
    return legivel_;
}

const TTabelasVariaveis::Secao *TTabelasVariaveis::Procura(const std::string &nome,
                                                           TipoTabela tipo) const {
    for (const Secao &s : secoes_)
        if (s.tipo == tipo && s.nome == nome) return &s;
    return nullptr;
}

std::vector<std::string> TTabelasVariaveis::Nomes(TipoTabela tipo) {
    Atualiza();
    std::vector<std::string> r;
    for (const Secao &s : secoes_)
        if (s.tipo == tipo) r.push_back(s.nome);
    return r;
}

std::optional<TTabelaQualitativa> TTabelasVariaveis::CarregaQualitativa(const std::string &nome) {
    Atualiza();
    const Secao *s = Procura(NomeNormalizado(nome), TipoTabela::Qualitativa);
    if (!s) return std::nullopt;
    TTabelaQualitativa r;
    for (std::size_t i = s->inicio + 1; i < s->fim; ++i) {
        std::string_view rotulo, texto;
        DivideEntrada(linhas_[i], rotulo, texto);
        long double v = 0;
        if (ConverteValorTabela(texto, v)) r.push_back({LidoDoArquivo(rotulo), v});
    }
    return r;
}

std::optional<TTabelaDicotomica> TTabelasVariaveis::CarregaDicotomica(const std::string &nome) {
    Atualiza();
    const Secao *s = Procura(NomeNormalizado(nome), TipoTabela::Dicotomica);
    if (!s) return std::nullopt;
    TTabelaDicotomica r;
    for (std::size_t k = 0; k < 2 && s->inicio + 1 + k < s->fim; ++k)
        r[k] = LidoDoArquivo(linhas_[s->inicio + 1 + k]);
    return r;
}

std::optional<std::vector<TLinhaGrade>> TTabelasVariaveis::CarregaGrade(const std::string &nome,
                                                                        TipoTabela tipo) {
    std::vector<TLinhaGrade> r;
    if (tipo == TipoTabela::Dicotomica) {
        auto d = CarregaDicotomica(nome);
        if (!d) return std::nullopt;
        for (const std::string &rotulo : *d)
            r.emplace_back(rotulo, std::string());
        return r;
    }
    Atualiza();
    const Secao *s = Procura(NomeNormalizado(nome), TipoTabela::Qualitativa);
    if (!s) return std::nullopt;
    for (std::size_t i = s->inicio + 1; i < s->fim; ++i) {
        std::string_view rotulo, texto;
        DivideEntrada(linhas_[i], rotulo, texto);
        long double v = 0;
        if (ConverteValorTabela(texto, v))
            r.emplace_back(LidoDoArquivo(rotulo), Apara(DeCp1252(texto)));
    }
    return r;
}

TTabelaQualitativa TTabelasVariaveis::ListaRotulos(const std::string &nome) {
    TTabelaQualitativa r;
    if (auto t = CarregaQualitativa(nome))
        for (TObjetoValor &item : *t)
            if (!Apara(item.Rotulo).empty()) r.push_back(std::move(item));
    return r;
}

bool TTabelasVariaveis::Existe(const std::string &nome, TipoTabela tipo) {
    Atualiza();
    std::string n = NomeNormalizado(nome);
    for (const Secao &s : secoes_)
        if (s.tipo == tipo && IguaisSemCaixa(s.nome, n)) return true;
    return false;
}

long double TTabelasVariaveis::ValorRotulo(const std::string &tabela, const std::string &rotulo) {
    Atualiza();
    const Secao *s = Procura(NomeNormalizado(tabela), TipoTabela::Qualitativa);
    if (!s) return 0;
    std::string busca = CortaCp1252(rotulo, TamanhoRotuloBusca);
    for (std::size_t i = s->inicio + 1; i < s->fim; ++i) {
        std::string_view r, texto;
        DivideEntrada(linhas_[i], r, texto);
        if (LidoDoArquivo(r) != busca) continue;
        long double v = 0;
        return ConverteValorTabela(texto, v) ? v : 0;
    }
    return 0;
}

std::string TTabelasVariaveis::TextoRotulos(const std::string &tabela) {
    auto d = CarregaDicotomica(tabela);
    return d ? (*d)[0] + "|" + (*d)[1] : std::string();
}

bool TTabelasVariaveis::Acrescenta(const std::string &nome, const TConteudoTabela &conteudo) {
    return Grava(std::nullopt, nome, conteudo, false);
}

bool TTabelasVariaveis::Substitui(const std::string &antigo, const std::string &novo,
                                  const TConteudoTabela &conteudo) {
    return Grava(antigo, novo, conteudo, false);
}

bool TTabelasVariaveis::SubstituiHomonimas(const std::optional<std::string> &antigo,
                                           const std::string &novo,
                                           const TConteudoTabela &conteudo) {
    return Grava(antigo, novo, conteudo, true);
}

bool TTabelasVariaveis::Grava(const std::optional<std::string> &antigo, const std::string &novo,
                              const TConteudoTabela &conteudo, bool apagaHomonimas) {
    Atualiza();
    if (!legivel_) return false;
    TipoTabela tipo = TipoConteudo(conteudo);
    std::string nome = NomeNormalizado(novo);
    const Secao *alvo = antigo ? Procura(NomeNormalizado(*antigo), tipo) : nullptr;
    std::vector<std::string> secao = LinhasSecao(nome, conteudo);

    std::vector<std::string> saida;
    std::size_t proxima = 0; // next section that may start at line i
    for (std::size_t i = 0; i < linhas_.size();) {
        while (proxima < secoes_.size() && secoes_[proxima].inicio < i)
            ++proxima;
        const Secao *s = (proxima < secoes_.size() && secoes_[proxima].inicio == i)
                             ? &secoes_[proxima]
                             : nullptr;
        if (s == alvo && s) {
            saida.insert(saida.end(), secao.begin(), secao.end());
            if (s->fim == linhas_.size() || !linhas_[s->fim].empty()) saida.emplace_back();
            i = s->fim;
        } else if (s && apagaHomonimas && s->tipo == tipo && IguaisSemCaixa(s->nome, nome)) {
            i = s->fim;
            if (SeparadorSobra(saida, i)) ++i;
        } else {
            saida.push_back(linhas_[i]);
            ++i;
        }
    }
    if (!alvo) {
        if (!saida.empty() && !saida.back().empty()) saida.emplace_back();
        saida.insert(saida.end(), secao.begin(), secao.end());
        saida.emplace_back();
    }
    return Reescreve(saida);
}

// When a table is dropped, the empty line after it goes too unless the line
// before it belongs to another table: that table then still ends there.
bool TTabelasVariaveis::SeparadorSobra(const std::vector<std::string> &saida,
                                       std::size_t fim) const {
    return fim < linhas_.size() && linhas_[fim].empty() && (saida.empty() || saida.back().empty());
}

bool TTabelasVariaveis::Apaga(const std::string &nome, TipoTabela tipo) {
    Atualiza();
    if (!legivel_) return false;
    const Secao *s = Procura(NomeNormalizado(nome), tipo);
    if (!s) return false;
    std::vector<std::string> saida(linhas_.begin(), linhas_.begin() + s->inicio);
    std::size_t i = s->fim;
    if (SeparadorSobra(saida, i)) ++i;
    saida.insert(saida.end(), linhas_.begin() + i, linhas_.end());
    return Reescreve(saida);
}

// Writes the lines into the temporary file, flushes it to the disk and renames
// it over the store: the old store stays whole until the new one is complete.
bool TTabelasVariaveis::Reescreve(const std::vector<std::string> &linhas) {
    fs::path pasta = arquivo_.parent_path();
    if (pasta.empty()) pasta = ".";
    fs::path temp = pasta / kNomeTemporario;

    std::string dados;
    for (const std::string &l : linhas) {
        dados += l;
        dados += "\r\n";
    }

    if (!GravaPorTemporario(arquivo_, temp, dados)) return false;
    carregado_ = false; // the next use rereads the new file
    return true;
}

bool ConverteValorTabela(std::string_view texto, long double &valor) {
    if (ConverteNumero(texto, valor)) return true;
    std::string t = Apara(texto);
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    std::size_t fim = t.find_first_of(",eE", i);
    if (fim == std::string::npos) fim = t.size();
    if (t.find('.', fim) != std::string::npos) return false;
    std::vector<std::string> grupos = Divide(std::string_view(t).substr(i, fim - i), '.');
    if (grupos.size() < 2) return false;
    for (std::size_t k = 0; k < grupos.size(); ++k) {
        const std::string &g = grupos[k];
        if (g.empty() || g.size() > 3 || (k > 0 && g.size() != 3)) return false;
        for (char c : g)
            if (c < '0' || c > '9') return false;
    }
    std::string semPontos;
    for (char c : t)
        if (c != '.') semPontos += c;
    return ConverteNumero(semPontos, valor);
}

long double ValorRotuloGrade(const std::vector<TLinhaGrade> &grade, std::string_view rotulo) {
    std::string busca = Apara(CortaCp1252(rotulo, TamanhoRotuloBusca));
    for (const TLinhaGrade &linha : grade) {
        std::string r = Apara(linha.first);
        if (r.empty()) break;
        if (r != busca) continue;
        long double v = 0;
        return ConverteValorTabela(linha.second, v) ? v : 0;
    }
    return 0;
}

} // namespace zelto
