#include "config/ConfiguracaoRelatorio.h"

#include "common/Texto.h"
#include "config/Hexadecimal.h"

#include <QStringList>

namespace zelto {

TFonte FonteDeIni(const TFonteIni &f) {
    TFonte r;
    r.Nome = QString::fromStdString(f.Nome);
    r.Tamanho = f.Tamanho;
    r.Cor = f.Cor;
    r.Negrito = f.Negrito;
    r.Italico = f.Italico;
    r.Sublinhado = f.Sublinhado;
    r.Riscado = f.Riscado;
    return r;
}

TFonteIni FonteParaIni(const TFonte &f) {
    TFonteIni r;
    r.Nome = f.Nome.toStdString();
    r.Tamanho = static_cast<std::int16_t>(f.Tamanho);
    r.Cor = f.Cor;
    r.Negrito = f.Negrito;
    r.Italico = f.Italico;
    r.Sublinhado = f.Sublinhado;
    r.Riscado = f.Riscado;
    return r;
}

std::optional<std::uint8_t> GrauDeclarado(std::string_view texto) {
    if (texto == "III") return 3;
    if (texto == "II") return 2;
    if (texto == "I") return 1;
    return std::nullopt;
}

const char *TextoGrauDeclarado(std::uint8_t grau) {
    return grau >= 3 ? "III" : grau == 2 ? "II" : "I";
}

bool LeFonteRelatorio(const TArquivoIni &ini, std::string_view secao, std::string_view prefixo,
                      TFonte &fonte) {
    const std::string p(prefixo);
    fonte = FonteDeIni(ini.LeFonte(prefixo, secao));
    if (!ini.Existe(secao, p + "In")) return true;
    TFonteIni teste;
    return TArquivoIni::DecodificaFonte(AparaBrancos(ini.LeTexto(secao, p + "In")), teste);
}

std::string TConfiguracaoRelatorio::CodificaInfo() const {
    TEscritorHex h;
    h.Palavra(Copias)
        .Palavra(MargemDireita)
        .Palavra(MargemEsquerda)
        .Palavra(MargemSuperior)
        .Palavra(MargemInferior)
        .Palavra(static_cast<std::uint16_t>(Numero.Digitos))
        .Palavra(static_cast<std::uint16_t>(Numero.Decimais))
        .Byte(VariaveisNaoUsadas)
        .Byte(AmostragensNaoUsadas)
        .Byte(IncluirData)
        .Byte(IncluirNomeArquivo)
        .Byte(Numero.CompletarZeros)
        .Byte(Numero.NaoLimitarDecimais)
        .Byte(Numero.NaoConverterCientifica);
    return h.Texto();
}

bool TConfiguracaoRelatorio::DecodificaInfo(std::string_view texto) {
    TLeitorHex h(texto);
    TConfiguracaoRelatorio c = *this;
    c.Copias = h.Palavra();
    c.MargemDireita = h.Palavra();
    c.MargemEsquerda = h.Palavra();
    c.MargemSuperior = h.Palavra();
    c.MargemInferior = h.Palavra();
    c.Numero.Digitos = h.Palavra();
    c.Numero.Decimais = h.Palavra();
    c.VariaveisNaoUsadas = h.Byte() != 0;
    c.AmostragensNaoUsadas = h.Byte() != 0;
    c.IncluirData = h.Byte() != 0;
    c.IncluirNomeArquivo = h.Byte() != 0;
    c.Numero.CompletarZeros = h.Byte() != 0;
    c.Numero.NaoLimitarDecimais = h.Byte() != 0;
    c.Numero.NaoConverterCientifica = h.Byte() != 0;
    if (!h.Completo()) return false;
    *this = c;
    return true;
}

namespace {

QString TextoDeLinhas(const std::vector<std::string> &linhas) {
    QStringList l;
    for (const std::string &s : linhas)
        l << QString::fromStdString(s);
    return l.join(QStringLiteral("\r\n"));
}

std::vector<std::string> LinhasDeTexto(const QString &texto) {
    std::vector<std::string> linhas;
    if (texto.isEmpty()) return linhas;
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString &l : t.split(QLatin1Char('\n')))
        linhas.push_back(l.toStdString());
    return linhas;
}

bool LeCabecalhoRodape(const TArquivoIni &ini, const char *nome, TCabecalhoRodape &cr) {
    const std::string n(nome);
    cr.Texto = TextoDeLinhas(ini.LeMemo(n, kSecaoGeralRelatorio));
    const bool fonteOk = LeFonteRelatorio(ini, kSecaoGeralRelatorio, "F" + n, cr.Fonte);
    const int a = ini.LeInteiro(kSecaoGeralRelatorio, "A" + n, 0);
    const bool alinhamentoOk = a >= 0 && a <= 2;
    cr.Alinhamento = static_cast<std::uint8_t>(alinhamentoOk ? a : 0);
    return fonteOk && alinhamentoOk;
}

void GravaCabecalhoRodape(TArquivoIni &ini, const char *nome, const TCabecalhoRodape &cr) {
    const std::string n(nome);
    ini.EscreveMemo(n, kSecaoGeralRelatorio, LinhasDeTexto(cr.Texto));
    ini.EscreveFonte("F" + n, kSecaoGeralRelatorio, FonteParaIni(cr.Fonte));
    ini.EscreveInteiro(kSecaoGeralRelatorio, "A" + n, cr.Alinhamento);
}

} // namespace

namespace {

bool Iguais(const TCabecalhoRodape &a, const TCabecalhoRodape &b) {
    return a.Texto == b.Texto && a.Fonte == b.Fonte && a.Alinhamento == b.Alinhamento;
}

constexpr const char *kChaveCaracterizacao = "EnqCaracterizacao";
constexpr const char *kChaveIdentificacao = "EnqIdentificacao";

bool LeGrau(const TArquivoIni &ini, const char *chave, std::optional<std::uint8_t> &grau) {
    grau.reset();
    if (!ini.Existe(kSecaoGeralRelatorio, chave)) return true;
    grau = GrauDeclarado(AparaBrancos(ini.LeTexto(kSecaoGeralRelatorio, chave)));
    return grau.has_value();
}

void GravaGrau(TArquivoIni &ini, const char *chave, const std::optional<std::uint8_t> &grau) {
    if (grau)
        ini.EscreveTexto(kSecaoGeralRelatorio, chave, TextoGrauDeclarado(*grau));
    else
        ini.ApagaChave(kSecaoGeralRelatorio, chave);
}

} // namespace

bool TConfiguracaoRelatorio::operator==(const TConfiguracaoRelatorio &o) const {
    return CodificaInfo() == o.CodificaInfo() && Iguais(Cabecalho, o.Cabecalho) &&
           Iguais(Rodape, o.Rodape) && ResumoTecnico == o.ResumoTecnico &&
           LarguraPagina == o.LarguraPagina && AlturaPagina == o.AlturaPagina &&
           Caracterizacao == o.Caracterizacao && Identificacao == o.Identificacao;
}

bool TConfiguracaoRelatorio::Le(const TArquivoIni &ini) {
    const double largura = LarguraPagina, altura = AlturaPagina;
    *this = TConfiguracaoRelatorio{};
    LarguraPagina = largura;
    AlturaPagina = altura;
    bool ok = true;
    if (ini.Existe(kSecaoGeralRelatorio, "Info"))
        ok = DecodificaInfo(AparaBrancos(ini.LeTexto(kSecaoGeralRelatorio, "Info")));
    ok = LeCabecalhoRodape(ini, "Cab", Cabecalho) && ok;
    ok = LeCabecalhoRodape(ini, "Rod", Rodape) && ok;
    ResumoTecnico = ini.LeMemo("Lcm", kSecaoGeralRelatorio);
    ok = LeGrau(ini, kChaveCaracterizacao, Caracterizacao) && ok;
    ok = LeGrau(ini, kChaveIdentificacao, Identificacao) && ok;
    return ok;
}

void TConfiguracaoRelatorio::Grava(TArquivoIni &ini) const {
    ini.EscreveTexto(kSecaoGeralRelatorio, "Info", CodificaInfo());
    GravaCabecalhoRodape(ini, "Cab", Cabecalho);
    GravaCabecalhoRodape(ini, "Rod", Rodape);
    ini.EscreveMemo("Lcm", kSecaoGeralRelatorio, ResumoTecnico);
    GravaGrau(ini, kChaveCaracterizacao, Caracterizacao);
    GravaGrau(ini, kChaveIdentificacao, Identificacao);
}

} // namespace zelto
