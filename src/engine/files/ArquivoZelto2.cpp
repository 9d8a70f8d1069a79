#include "files/ArquivoZelto2.h"

#include "common/Texto.h"
#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelto {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kPosicaoAssinatura = 18;
constexpr std::size_t kTamanhoNome = 12;      // length byte + 11 characters
constexpr std::size_t kTamanhoDescricao = 60; // length byte + 59 characters
constexpr std::size_t kTamanhoReal = 6;
constexpr std::size_t kInicioNomes = 60;
// Largest counts the worksheet can hold (16-bit used rows and columns).
constexpr long long kMaximoAmostras = 65535;
constexpr long long kMaximoIndependentes = 65534;
constexpr int kMaximoCasas = 18;

// The older character set: stored byte -> Windows-1252 byte.
constexpr std::array<unsigned char, 256> TabelaAntiga() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    const unsigned char pares[][2] = {
        {0xA0, 0xE1}, {0x8D, 0xCD}, {0xEE, 0xCA}, // á Í Ê
        {0x82, 0xE9}, {0x95, 0xD3}, {0xE9, 0xD4}, // é Ó Ô
        {0xA1, 0xED}, {0x97, 0xDA}, {0x84, 0xE3}, // í Ú ã
        {0xA2, 0xF3}, {0x85, 0xE0}, {0x94, 0xF5}, // ó à õ
        {0xA3, 0xFA}, {0x8F, 0xC0}, {0x8E, 0xC3}, // ú À Ã
        {0x92, 0xC1}, {0x83, 0xE2}, {0x99, 0xD5}, // Á â Õ
        {0x90, 0xC9}, {0x88, 0xEA}, {0x87, 0xE7}, // É ê ç
        {0xEA, 0xC2}, {0x93, 0xF4}, {0x80, 0xC7}, // Â ô Ç
    };
    for (const auto &p : pares)
        t[p[0]] = p[1];
    return t;
}
constexpr std::array<unsigned char, 256> kTabelaAntiga = TabelaAntiga();

// A short text record: a length byte, then up to (size - 1) characters.
std::string TextoRegistro(std::string_view registro) {
    std::size_t n =
        std::min<std::size_t>(static_cast<unsigned char>(registro[0]), registro.size() - 1);
    return TraduzTextoAntigo(registro.substr(1, n));
}

// A stored count or number of decimals: the real rounded (half to even),
// or -1 when it lies outside 0..maximo.
long long Contagem(long double x, long long maximo) {
    if (!(x > -0.5L && x < maximo + 0.5L)) return -1;
    return std::llround(std::nearbyint(static_cast<double>(x)));
}

bool ExtensaoInferencial(const fs::path &arquivo) {
    return Maiusculas(arquivo.extension().string()) == ".ZEL";
}

} // namespace

std::string TraduzTextoAntigo(std::string_view bytes) {
    std::string s;
    s.reserve(bytes.size());
    for (char c : bytes)
        s += static_cast<char>(kTabelaAntiga[static_cast<unsigned char>(c)]);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return DeCp1252(s);
}

TArquivoZelto2::TArquivoZelto2(TProgresso *progresso) : TLeituraGravacaoDados(progresso) {}

bool TArquivoZelto2::VerificaFormato(const fs::path &arquivo) {
    std::string inicio;
    return LeInicio(arquivo, kPosicaoAssinatura + AssinaturaZelto2.size(), inicio) &&
           inicio.size() == kPosicaoAssinatura + AssinaturaZelto2.size() &&
           inicio.compare(kPosicaoAssinatura, AssinaturaZelto2.size(), AssinaturaZelto2) == 0;
}

bool TArquivoZelto2::LeCabecalho(Cabecalho &c) {
    std::string assinatura(AssinaturaZelto2.size(), '\0');
    if (Tamanho() >= kPosicaoAssinatura + assinatura.size()) {
        Posiciona(kPosicaoAssinatura);
        LeBytes(assinatura.data(), assinatura.size());
    }
    if (Erro() == 0 && assinatura != AssinaturaZelto2) {
        DefineErro(ErroFormato, "O arquivo " + NomeExibido(arquivo_) + " não está no formato" +
                                    "\r\n" + " dos arquivos lidos pelo ZELTO.");
        return false;
    }
    c.dependente.assign(kTamanhoNome, '\0');
    long double v = 0, n = 0;
    if (!(LeBytes(c.dependente.data(), kTamanhoNome) && LeReal(v) && LeReal(n))) return false;
    c.v = Contagem(v, kMaximoIndependentes);
    c.n = Contagem(n, kMaximoAmostras);
    if (c.v < 0 || c.n < 0) {
        ReportaErro(106, OperacaoLeitura);
        return false;
    }
    return true;
}

bool TArquivoZelto2::Ler(const fs::path &arquivo, TGridzelto &grid, std::size_t /*maximoResumo*/,
                         std::string &resumo) {
    LimpaErro();
    resumo.clear();
    const std::string nome = NomeExibido(arquivo);
    if (!AbreLeitura(arquivo)) {
        if (Erro() != ErroArquivoGrande)
            DefineErro(Erro(), "Não foi possível abrir o arquivo " + nome + ".");
        return false;
    }
    Progresso().Inicia("Lendo e convertendo planilha. . .", 0, static_cast<double>(Tamanho()),
                       false);
    Progresso().TextoAuxiliar("(" + nome + ")");
    grid.NomeArquivo = "Planilha.QV3";

    Cabecalho cab;
    if (!LeCabecalho(cab)) {
        Fecha();
        Progresso().Termina();
        return false;
    }
    const auto independentes = static_cast<std::size_t>(cab.v);
    const auto amostras = static_cast<std::size_t>(cab.n);
    const std::size_t variaveis = independentes + 1;

    // Only what the file really holds is sized: the names that are complete,
    // the samples that are complete.
    const std::size_t nomesInteiros = std::min(independentes, Restante() / kTamanhoNome);
    const std::size_t colunas = nomesInteiros + 1;
    const std::size_t inicioValores = kInicioNomes + kTamanhoNome * (independentes + 1);
    const std::size_t tamanhoAmostra = kTamanhoReal * variaveis;
    std::size_t amostrasInteiras = 0;
    if (nomesInteiros == independentes && Tamanho() >= inicioValores)
        amostrasInteiras = std::min(amostras, (Tamanho() - inicioValores) / tamanhoAmostra);
    const std::size_t inicioDescricoes = inicioValores + tamanhoAmostra * amostras;
    const bool descricoesInteiras =
        amostrasInteiras == amostras &&
        Tamanho() >= inicioDescricoes + (kTamanhoDescricao + kTamanhoReal) * variaveis;

    const int linhas = static_cast<int>(amostrasInteiras);
    if (int falta = std::max(linhas + 2, 41) - grid.RowCount(); falta > 0)
        grid.AcrescentaLinhas(falta);
    if (int falta = std::max(static_cast<int>(colunas) + 2, 21) - grid.ColCount(); falta > 0)
        grid.AcrescentaColunas(falta);

    // The variables: the dependent one, then the independent ones whose names are whole.
    TDataFormat formato;
    formato.Editor = teReal;
    for (std::size_t c = 1; c <= colunas; ++c) {
        std::string registro(kTamanhoNome, '\0');
        if (c == 1)
            registro = cab.dependente;
        else
            LeBytes(registro.data(), kTamanhoNome);
        TVariavel v;
        v.Nome = TextoRegistro(registro);
        v.Usada = true;
        v.Dependente = c == 1;
        v.CoeficienteHomogeneizacao = c != 1;
        v.Alinhamento = alDireita;
        v.Tipo = tvNumerica;
        v.PontosDeMilhar = c == 1;
        const int col = static_cast<int>(c);
        grid.AtribuiCelula(col, 0, v.Nome);
        grid.DefineVariavel(col, std::move(v));
        grid.DefineFormato(col, formato);
    }
    grid.DefineColunasUsadas(static_cast<int>(colunas));
    grid.DefineLinhasUsadas(linhas);

    // Descriptions and decimals, kept at the end of the file.
    if (descricoesInteiras && Posiciona(inicioDescricoes)) {
        for (std::size_t c = 1; c <= variaveis; ++c) {
            std::string registro(kTamanhoDescricao, '\0');
            long double casas = 0;
            if (!(LeBytes(registro.data(), kTamanhoDescricao) && LeReal(casas))) break;
            TVariavel *v = grid.Variavel(static_cast<int>(c));
            v->Descricao = TextoRegistro(registro);
            long long k = Contagem(casas, 255);
            v->CasasDecimais = static_cast<std::uint8_t>(std::clamp<long long>(k, 0, kMaximoCasas));
        }
    }

    // The values, sample by sample.
    if (amostrasInteiras > 0 && Posiciona(inicioValores)) {
        for (int r = 1; r <= linhas; ++r)
            for (std::size_t c = 1; c <= variaveis; ++c) {
                long double x = 0;
                if (!LeReal(x)) break;
                grid.TextoDeValor(static_cast<int>(c), r, x);
            }
    }

    const bool completo =
        Erro() == 0 && colunas == variaveis && amostrasInteiras == amostras && descricoesInteiras;
    if (Erro() == 0 && !completo) ReportaErro(100, OperacaoLeitura);
    Fecha();

    // The homogenised-value column is a change of the worksheet; the rest is
    // the file as it was.
    bool modificada = !completo;
    if (Maiusculas(arquivo.extension().string()) == ".DCR" && grid.Modo.CriarValorHomogeneizado &&
        grid.ColunaValorHomogeneizado() == 0) {
        grid.GaranteValorHomogeneizado();
        modificada = true;
    }
    grid.Renumera();
    grid.RecalcularTudo();
    grid.DefineModificada(modificada);
    Progresso().Termina();
    return completo;
}

bool TArquivoZelto2::LerComentarios(const fs::path &arquivo, std::string &texto) {
    LimpaErro();
    Cabecalho cab;
    const bool ok = AbreLeitura(arquivo) && LeCabecalho(cab);
    Fecha();
    if (!ok) {
        texto = "Não foi possível ler arquivo.";
        return false;
    }
    const bool inferencial = ExtensaoInferencial(arquivo);
    texto = std::string("Planilha de Estatística") +
            (inferencial ? " Inferencial\r\n\r\n" : " Descritiva\r\n\r\n");
    texto += " - " + std::to_string(cab.n) + " amostrage" + (cab.n == 1 ? "m\r\n" : "ns\r\n");
    texto += " - " + std::to_string(cab.v);
    if (inferencial)
        texto += cab.v == 1 ? " variável independente\r\n" : " variáveis independentes\r\n";
    else
        texto += std::string(" coeficiente") + (cab.v != 1 ? "s" : "") + " de homogeneização.";
    return true;
}

} // namespace zelto
