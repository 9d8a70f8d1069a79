#include "gui/reportconfig/ComponentesConfig.h"

#include "evaluation/ArquivoItens.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>

#include <fstream>
#include <sstream>

namespace zelto {

TFonte FonteDeQFont(const QFont &f, TCor cor, const QString &nomeAnterior) {
    TFonte t;
    t.Nome = f.family();
    // The dialog shows the face that stands in for the stored one on this machine (Liberation
    // Sans for Arial): picking that face keeps the name the user had.
    if (!nomeAnterior.isEmpty() && nomeAnterior != t.Nome) {
        TFonte anterior;
        anterior.Nome = nomeAnterior;
        const QFont q = anterior.ParaQFont();
        if (t.Nome == q.family() || t.Nome == QFontInfo(q).family()) t.Nome = nomeAnterior;
    }
    t.Tamanho = f.pointSize() > 0 ? f.pointSize() : 10;
    t.Negrito = f.bold();
    t.Italico = f.italic();
    t.Sublinhado = f.underline();
    t.Riscado = f.strikeOut();
    t.Cor = cor;
    return t;
}

// ---- TBotaoFonte --------------------------------------------------------------------------

TBotaoFonte::TBotaoFonte(const TFonte &f, QWidget *pai) : QPushButton(pai), fonte_(f) {
    Mostra();
    connect(this, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont q = QFontDialog::getFont(&ok, fonte_.ParaQFont(), this, QStringLiteral("Fonte"));
        if (ok) DefineFonte(FonteDeQFont(q, fonte_.Cor, fonte_.Nome));
    });
}

void TBotaoFonte::DefineFonte(const TFonte &f) {
    if (f == fonte_) return;
    fonte_ = f;
    Mostra();
    emit Mudou();
}

void TBotaoFonte::Mostra() {
    QString t = fonte_.Nome + QStringLiteral(", ") + QString::number(fonte_.Tamanho);
    if (fonte_.Negrito) t += QStringLiteral(", Negrito");
    if (fonte_.Italico) t += QStringLiteral(", Itálico");
    setText(t);
}

// ---- TBotaoCor ----------------------------------------------------------------------------

TBotaoCor::TBotaoCor(const QString &texto, TCor cor, QWidget *pai) : QPushButton(texto, pai), cor_(cor) {
    DefineCor(cor);
    connect(this, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ParaQColor(cor_), this, text());
        if (c.isValid() && DeQColor(c) != cor_) {
            DefineCor(DeQColor(c));
            emit Mudou();
        }
    });
}

void TBotaoCor::DefineCor(TCor c) {
    cor_ = c;
    QPixmap p(14, 14);
    p.fill(ParaQColor(c));
    setIcon(QIcon(p));
}

// ---- Named colours ------------------------------------------------------------------------

const std::array<TCorNomeada, 20> kCoresCelula{{
    {"Preto", 0x000000}, {"Cinza", 0x808080}, {"Sombra", 0xC0C0C0}, {"Prata", 0xC0C0C0},
    {"Lima", 0x00FF00}, {"Verde", 0x008000}, {"Verde claro", 0xC0DCC0}, {"Ocre", 0x008080},
    {"Marrom", 0x000080}, {"Vermelho", 0x0000FF}, {"Rosa", 0xFF00FF}, {"Púrpura", 0x800080},
    {"Azul marinho", 0x800000}, {"Azul", 0xFF0000}, {"Azul claro", 0xF0CAA6}, {"Água", 0xFFFF00},
    {"Ciano", 0x808000}, {"Amarelo", 0x00FFFF}, {"Bege", 0xF0FBFF}, {"Branco", 0xFFFFFF},
}};

namespace {
int UltimoIndiceCor(TCor c) {
    for (int i = static_cast<int>(kCoresCelula.size()) - 1; i >= 0; --i)
        if (kCoresCelula[static_cast<std::size_t>(i)].Valor == c) return i;
    return -1;
}
QString Hex6(TCor c) { return QStringLiteral("%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper(); }
} // namespace

QString NomeCor(TCor c) {
    const int i = UltimoIndiceCor(c);
    return i < 0 ? QString() : QString::fromUtf8(kCoresCelula[static_cast<std::size_t>(i)].Nome);
}

TComboCor::TComboCor(TCor c, QWidget *pai) : QComboBox(pai) {
    for (const TCorNomeada &n : kCoresCelula) {
        QPixmap p(14, 14);
        p.fill(ParaQColor(n.Valor));
        addItem(QIcon(p), QString::fromUtf8(n.Nome), QVariant::fromValue(static_cast<uint>(n.Valor)));
    }
    DefineCor(c);
}

TCor TComboCor::Cor() const { return static_cast<TCor>(currentData().toUInt()); }

void TComboCor::DefineCor(TCor c) {
    const int i = UltimoIndiceCor(c);
    if (i >= 0) {
        setCurrentIndex(i);
        return;
    }
    // A colour outside the list: one extra entry that keeps it.
    while (count() > static_cast<int>(kCoresCelula.size())) removeItem(count() - 1);
    QPixmap p(14, 14);
    p.fill(ParaQColor(c));
    addItem(QIcon(p), Hex6(c), QVariant::fromValue(static_cast<uint>(c)));
    setCurrentIndex(count() - 1);
}

// ---- Border kinds -------------------------------------------------------------------------

const std::array<TTipoBorda, 7> kTiposBorda{{
    {"                  [ sem linhas ]", 0, 1, 1},
    {"Simples", 1, 1, 1},
    {"Média", 1, 1, 2},
    {"Grossa", 1, 1, 3},
    {"Dupla", 1, 2, 1},
    {"Pontilhada", 2, 1, 1},
    {"Tracejada", 3, 1, 1},
}};

int IndiceTipoBorda(std::uint8_t tipo, std::uint8_t multiplicidade, std::uint8_t espessura) {
    // Any border drawn with no line is "none".
    if (tipo == 0 || espessura == 0 || multiplicidade == 0) return 0;
    for (std::size_t i = 1; i < kTiposBorda.size(); ++i) {
        const TTipoBorda &b = kTiposBorda[i];
        if (b.Tipo == tipo && b.Multiplicidade == multiplicidade && b.Espessura == espessura)
            return static_cast<int>(i);
    }
    return -1;
}

TComboBorda::TComboBorda(std::uint8_t tipo, std::uint8_t multiplicidade, std::uint8_t espessura, QWidget *pai)
    : QComboBox(pai), original_{tipo, multiplicidade, espessura} {
    for (const TTipoBorda &b : kTiposBorda) addItem(QString::fromUtf8(b.Nome));
    const int i = IndiceTipoBorda(tipo, multiplicidade, espessura);
    if (i < 0) addItem(QStringLiteral("(outra)"));
    setCurrentIndex(i < 0 ? count() - 1 : i);
}

void TComboBorda::Aplica(std::uint8_t &tipo, std::uint8_t &multiplicidade, std::uint8_t &espessura) const {
    const int i = currentIndex();
    if (i < 0 || i >= static_cast<int>(kTiposBorda.size())) {
        tipo = original_[0], multiplicidade = original_[1], espessura = original_[2];
        return;
    }
    // "None" of a stored border that had no line keeps its bytes.
    if (i == 0 && IndiceTipoBorda(original_[0], original_[1], original_[2]) == 0) {
        tipo = original_[0], multiplicidade = original_[1], espessura = original_[2];
        return;
    }
    const TTipoBorda &b = kTiposBorda[static_cast<std::size_t>(i)];
    tipo = b.Tipo, multiplicidade = b.Multiplicidade, espessura = b.Espessura;
}

// ---- The settings file --------------------------------------------------------------------

bool GravaArquivoRelatorio(const TConfiguracaoRelatorio *cfg, const TListaItens &itens) {
    const std::filesystem::path arquivo = ArquivoRelatorioUsuario();
    std::error_code e;
    std::filesystem::create_directories(arquivo.parent_path(), e);
    if (cfg) return GravaConfiguracaoRelatorio(arquivo, *cfg, itens);
    TConfiguracaoRelatorio atual;
    std::ifstream f(arquivo, std::ios::binary);
    if (f) {
        std::ostringstream s;
        s << f.rdbuf();
        TArquivoIni ini;
        ini.CarregaTexto(s.str());
        atual.Le(ini);
    }
    return GravaConfiguracaoRelatorio(arquivo, atual, itens);
}

std::string TextoConfiguracaoItens(const TListaItens &itens) {
    TArquivoIni ini;
    std::string sessao;
    for (const auto &item : itens) {
        item->GravaConfiguracao(ini);
        sessao += item->EstadoDaSessao() + '\n';
    }
    return ini.Conteudo() + sessao;
}

} // namespace zelto

// The meta-object code compiled with this unit.
#include "moc_ComponentesConfig.cpp"
