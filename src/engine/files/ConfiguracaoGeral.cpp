#include "files/ConfiguracaoGeral.h"

#include "common/Caminhos.h"

#include <cstdint>

namespace zelto {

namespace {

struct ChaveBooleana {
    const char *chave;
    bool TConfiguracaoGeral::*campo;
};
struct ChaveInteira {
    const char *chave;
    int TConfiguracaoGeral::*campo;
};

constexpr ChaveBooleana kBooleanas[] = {
    {"AvVert", &TConfiguracaoGeral::AvancoVertical},
    {"AvHorz", &TConfiguracaoGeral::AvancoHorizontal},
    {"LocIt", &TConfiguracaoGeral::ListaItens},
    {"DetMod", &TConfiguracaoGeral::DetalharModelos},
    {"AvalInf", &TConfiguracaoGeral::Inferencial},
    {"CrVH", &TConfiguracaoGeral::CriarHomogeneizado},
    {"PdOA", &TConfiguracaoGeral::PedirObjeto},
    {"SnAu", &TConfiguracaoGeral::SaneamentoAutomatico},
    {"VCVz", &TConfiguracaoGeral::VerificarCelulasVazias},
};

constexpr ChaveInteira kInteiras[] = {
    {"GrC", &TConfiguracaoGeral::CorGrade},
    {"GrFC", &TConfiguracaoGeral::CorFixa},
    {"ZRl", &TConfiguracaoGeral::ZoomRelatorio},
    {"AltLnPlan", &TConfiguracaoGeral::AlturaLinha},
};

constexpr const char *kRecentes[] = {"ItMn1", "ItMn2", "ItMn3", "ItMn4"};
constexpr const char *kChavesFonte[] = {"nm", "tm", "cr", "ng", "it", "sb", "so"};

bool IguaisAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// A system colour of the original platform (high byte set, the low byte the
// colour's index) stands for the default of the key: the window colour (5) or
// the button face (15); any other such value also reads as the default.
int Cor(int lida, int padrao) {
    auto u = static_cast<std::uint32_t>(lida);
    if ((u & 0xFF000000u) == 0) return lida;
    switch (u & 0xFFu) {
    case 5:
        return kCorJanela;
    case 15:
        return kCorFaceBotao;
    default:
        return padrao;
    }
}

} // namespace

std::filesystem::path CaminhoConfiguracaoGeral() {
    return PastaConfigUsuario() / kArquivoConfiguracaoGeral;
}

void TConfiguracaoGeral::Le(const TArquivoIni &ini) {
    const TConfiguracaoGeral padrao;
    for (const ChaveBooleana &k : kBooleanas)
        this->*k.campo = ini.LeBooleano(kSecaoGeral, k.chave, padrao.*k.campo);
    for (const ChaveInteira &k : kInteiras)
        this->*k.campo = ini.LeInteiro(kSecaoGeral, k.chave, padrao.*k.campo);
    CorGrade = Cor(CorGrade, padrao.CorGrade);
    CorFixa = Cor(CorFixa, padrao.CorFixa);
    for (std::size_t i = 0; i < Recentes.size(); ++i)
        Recentes[i] = ini.LeTexto(kSecaoGeral, kRecentes[i]);

    const TFonteIni &f0 = padrao.FontePlanilha;
    TFonteIni &f = FontePlanilha;
    f.Nome = ini.LeTexto(kSecaoFontePlanilha, "nm", f0.Nome);
    f.Tamanho = static_cast<std::int16_t>(ini.LeInteiro(kSecaoFontePlanilha, "tm", f0.Tamanho));
    f.Cor = static_cast<std::uint32_t>(
        ini.LeInteiro(kSecaoFontePlanilha, "cr", static_cast<int>(f0.Cor)));
    f.Negrito = ini.LeBooleano(kSecaoFontePlanilha, "ng", f0.Negrito);
    f.Italico = ini.LeBooleano(kSecaoFontePlanilha, "it", f0.Italico);
    f.Sublinhado = ini.LeBooleano(kSecaoFontePlanilha, "sb", f0.Sublinhado);
    f.Riscado = ini.LeBooleano(kSecaoFontePlanilha, "so", f0.Riscado);
}

bool TConfiguracaoGeral::Grava(TArquivoIni &ini, std::string_view chave) const {
    for (const ChaveBooleana &k : kBooleanas)
        if (IguaisAscii(chave, k.chave))
            return ini.EscreveBooleano(kSecaoGeral, k.chave, this->*k.campo);
    for (const ChaveInteira &k : kInteiras)
        if (IguaisAscii(chave, k.chave))
            return ini.EscreveInteiro(kSecaoGeral, k.chave, this->*k.campo);
    for (std::size_t i = 0; i < Recentes.size(); ++i)
        if (IguaisAscii(chave, kRecentes[i]))
            return ini.EscreveTexto(kSecaoGeral, kRecentes[i], Recentes[i]);

    const TFonteIni &f = FontePlanilha;
    const char *s = kSecaoFontePlanilha;
    if (IguaisAscii(chave, "nm")) return ini.EscreveTexto(s, "nm", f.Nome);
    if (IguaisAscii(chave, "tm")) return ini.EscreveInteiro(s, "tm", f.Tamanho);
    if (IguaisAscii(chave, "cr")) return ini.EscreveInteiro(s, "cr", static_cast<int>(f.Cor));
    if (IguaisAscii(chave, "ng")) return ini.EscreveBooleano(s, "ng", f.Negrito);
    if (IguaisAscii(chave, "it")) return ini.EscreveBooleano(s, "it", f.Italico);
    if (IguaisAscii(chave, "sb")) return ini.EscreveBooleano(s, "sb", f.Sublinhado);
    if (IguaisAscii(chave, "so")) return ini.EscreveBooleano(s, "so", f.Riscado);
    return false;
}

bool TConfiguracaoGeral::GravaFonte(TArquivoIni &ini) const {
    bool ok = true;
    for (const char *k : kChavesFonte)
        ok = Grava(ini, k) && ok;
    return ok;
}

bool TConfiguracaoGeral::GravaRecentes(TArquivoIni &ini) const {
    bool ok = true;
    for (const char *k : kRecentes)
        ok = Grava(ini, k) && ok;
    return ok;
}

bool TConfiguracaoGeral::GravaTudo(TArquivoIni &ini) const {
    bool ok = true;
    for (const ChaveBooleana &k : kBooleanas)
        ok = Grava(ini, k.chave) && ok;
    for (const ChaveInteira &k : kInteiras)
        ok = Grava(ini, k.chave) && ok;
    ok = GravaRecentes(ini) && ok;
    return GravaFonte(ini) && ok;
}

DirecaoAvanco TConfiguracaoGeral::Avanco() const {
    if (AvancoHorizontal) return DirecaoAvanco::dAvancoHorizontal;
    if (AvancoVertical) return DirecaoAvanco::dAvancoVertical;
    return DirecaoAvanco::dSemAvanco;
}

void TConfiguracaoGeral::DefineAvanco(DirecaoAvanco d) {
    AvancoVertical = d == DirecaoAvanco::dAvancoVertical;
    AvancoHorizontal = d == DirecaoAvanco::dAvancoHorizontal;
}

} // namespace zelto
