#include "config/ConfiguracaoRelatorio.h"

#include "common/Texto.h"
#include "config/Hexadecimal.h"

#include <QStringList>

#include <algorithm>

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
    if (fonte.Tamanho < kFonteMinima || fonte.Tamanho > kFonteMaxima ||
        fonte.Nome.size() > kNomeFonteMaximo) {
        fonte = FonteDeIni(TFonteIni{});
        return false;
    }
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
    // A running header or footer takes its lines from every page: they must leave room.
    const qsizetype linhas = cr.Texto.isEmpty() ? 0 : cr.Texto.count(QLatin1Char('\n')) + 1;
    const bool textoOk = cr.Texto.size() <= kCabecalhoMaximo && linhas <= kLinhasCabecalhoMaximo &&
                         linhas * cr.Fonte.Tamanho <= kAlturaCabecalhoMaxima;
    if (!textoOk) cr.Texto.clear();
    const int a = ini.LeInteiro(kSecaoGeralRelatorio, "A" + n, 0);
    const bool alinhamentoOk = a >= 0 && a <= 2;
    cr.Alinhamento = static_cast<std::uint8_t>(alinhamentoOk ? a : 0);
    return textoOk && fonteOk && alinhamentoOk;
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
    bool resumoOk = ResumoTecnico.size() <= kLinhasResumoMaximo;
    for (const std::string &l : ResumoTecnico)
        resumoOk = resumoOk && QString::fromStdString(l).size() <= static_cast<qsizetype>(kLinhaResumoMaxima);
    if (!resumoOk) ResumoTecnico.clear();
    return LimitaValores() && resumoOk && ok;
}

bool TConfiguracaoRelatorio::LimitaValores() {
    const TConfiguracaoRelatorio padrao;
    bool ok = true;
    auto limita = [&](auto &valor, int minimo, int maximo, auto original) {
        if (static_cast<int>(valor) < minimo || static_cast<int>(valor) > maximo) {
            valor = original;
            ok = false;
        }
    };
    limita(Copias, 1, 999, padrao.Copias);
    limita(Numero.Digitos, 1, 30, padrao.Numero.Digitos);
    limita(Numero.Decimais, 0, 20, padrao.Numero.Decimais);
    const bool margensOk = MargemEsquerda <= kMargemMaxima && MargemDireita <= kMargemMaxima &&
                           MargemSuperior <= kMargemMaxima && MargemInferior <= kMargemMaxima &&
                           MargemEsquerda + MargemDireita <= LarguraPagina - kTextoMinimoMm &&
                           MargemSuperior + MargemInferior <= AlturaPagina - kTextoMinimoMm;
    if (!margensOk) {
        MargemEsquerda = padrao.MargemEsquerda;
        MargemDireita = padrao.MargemDireita;
        MargemSuperior = padrao.MargemSuperior;
        MargemInferior = padrao.MargemInferior;
        ok = false;
    }
    return ok;
}

TConfiguracaoRelatorio::TMargens TConfiguracaoRelatorio::MargensDaPagina() const {
    if (MargemEsquerda + MargemDireita <= LarguraPagina - kTextoMinimoMm &&
        MargemSuperior + MargemInferior <= AlturaPagina - kTextoMinimoMm)
        return {double(MargemEsquerda), double(MargemDireita), double(MargemSuperior), double(MargemInferior)};
    const TConfiguracaoRelatorio padrao;
    // The defaults still leave room on any paper this program prints on (A5 and up); on a
    // smaller one, the least margins that do.
    const double e = std::min<double>(padrao.MargemEsquerda, std::max(0.0, (LarguraPagina - kTextoMinimoMm) / 2));
    const double d = std::min<double>(padrao.MargemDireita, std::max(0.0, (LarguraPagina - kTextoMinimoMm) / 2));
    const double s = std::min<double>(padrao.MargemSuperior, std::max(0.0, (AlturaPagina - kTextoMinimoMm) / 2));
    const double i = std::min<double>(padrao.MargemInferior, std::max(0.0, (AlturaPagina - kTextoMinimoMm) / 2));
    return {e, d, s, i};
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
