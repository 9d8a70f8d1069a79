#include "writer/AvancosTexto.h"

#include <cmath>
#include <memory>
#include <vector>

namespace zelto {

namespace {

QFont FonteMedida(const TFonte &fonte) {
    QFont f = fonte.ParaQFont();
    f.setPixelSize(std::max(1, fonte.Tamanho) * 20);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

} // namespace

TAvancosFonte::TAvancosFonte(const TFonte &fonte)
    : fonte_(fonte), qfonte_(FonteMedida(fonte)), metricas_(qfonte_) {
    ascendente_ = metricas_.ascent();
    altura_ = static_cast<int>(std::lround(metricas_.ascent() + metricas_.descent()));
    latim_.fill(-1);
    for (const char *par : {"ff", "fi", "fl"}) {
        const QString p = QString::fromLatin1(par);
        if (metricas_.horizontalAdvance(p) != Avanco(p[0]) + Avanco(p[1])) ligaF_ = true;
    }
}

double TAvancosFonte::Mede(QChar c) const { return metricas_.horizontalAdvance(QString(c)); }

bool TAvancosFonte::CaracterSimples(char16_t u) {
    static const std::array<bool, 0x2300> tabela = [] {
        std::array<bool, 0x2300> t{};
        for (char16_t c = 0; c < t.size(); ++c) t[c] = ClassificaCaracter(c);
        return t;
    }();
    return u < tabela.size() && tabela[u];
}

bool TAvancosFonte::ClassificaCaracter(char16_t u) {
    // Latin, IPA, Greek and Cyrillic letters; general punctuation, super- and subscripts,
    // currency; letter-like symbols, number forms, arrows, mathematical operators.
    const bool bloco = (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u < 0x2B0) ||
                       (u >= 0x370 && u < 0x530) || (u >= 0x2010 && u < 0x2028) ||
                       (u >= 0x2030 && u < 0x205F) || (u >= 0x2070 && u < 0x20C0) ||
                       (u >= 0x2100 && u < 0x2300);
    if (!bloco) return false;
    switch (QChar::category(static_cast<char32_t>(u))) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Other_Control:
    case QChar::Other_PrivateUse:
    case QChar::Other_Surrogate:
        return false;
    default:
        return true;
    }
}

bool TAvancosFonte::Simples(QStringView texto) const {
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t u = texto[i].unicode();
        if (!CaracterSimples(u)) return false;
        if (ligaF_ && u == u'f' && i + 1 < texto.size()) {
            const char16_t v = texto[i + 1].unicode();
            if (v == u'f' || v == u'i' || v == u'l') return false;
        }
    }
    return true;
}

double TAvancosFonte::Largura(QStringView texto) {
    if (texto.isEmpty()) return 0;
    if (!Simples(texto)) return metricas_.horizontalAdvance(texto.toString());
    double soma = 0;
    for (const QChar c : texto) soma += Avanco(c);
    return soma;
}

qsizetype TAvancosFonte::Cabem(QStringView texto, int limite) {
    if (!Simples(texto)) return -1;
    double soma = 0;
    for (qsizetype n = 0; n < texto.size(); ++n) {
        soma += Avanco(texto[n]);
        if (std::lround(soma) > limite) return n;
    }
    return texto.size();
}

TAvancosFonte &AvancosDe(const TFonte &original) {
    // Colour, underline and strike-out change no advance: one entry serves them all.
    TFonte fonte = original;
    fonte.Cor = CorPreta;
    fonte.Sublinhado = fonte.Riscado = false;
    thread_local std::vector<std::unique_ptr<TAvancosFonte>> fontes;
    thread_local TAvancosFonte *ultima = nullptr;
    if (ultima && ultima->Fonte() == fonte) return *ultima;
    for (const auto &f : fontes)
        if (f->Fonte() == fonte) return *(ultima = f.get());
    if (fontes.size() >= 64) {
        fontes.clear();
        ultima = nullptr;
    }
    fontes.push_back(std::make_unique<TAvancosFonte>(fonte));
    return *(ultima = fontes.back().get());
}

} // namespace zelto
