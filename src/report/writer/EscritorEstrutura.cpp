#include "writer/EscritorEstrutura.h"

#include "chart/Chart.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelto {

namespace {

QString NomeAlinhamento(std::uint8_t a) {
    switch (a) {
    case apCentro: return QStringLiteral("center");
    case apDireita: return QStringLiteral("right");
    case apJustificado: return QStringLiteral("justify");
    default: return QStringLiteral("left");
    }
}

QJsonObject BlocoJson(const TBlocoEstrutura &b) {
    switch (b.Tipo) {
    case TBlocoEstrutura::Paragrafo: {
        QJsonArray trechos;
        for (const TTrechoEstrutura &t : b.Trechos)
            trechos.append(QJsonObject{{"text", t.Texto},
                                       {"font", t.Fonte.Nome},
                                       {"size", t.Fonte.Tamanho},
                                       {"bold", t.Fonte.Negrito},
                                       {"italic", t.Fonte.Italico},
                                       {"underline", t.Fonte.Sublinhado},
                                       {"superscript", t.Sobrescrito}});
        return {{"paragraph", b.Texto}, {"align", NomeAlinhamento(b.Alinhamento)},
                {"runs", trechos}};
    }
    case TBlocoEstrutura::Tabela: {
        QJsonArray linhas, alinhamentos;
        for (std::size_t i = 0; i < b.Celulas.size(); ++i) {
            QJsonArray linha, alinhamento;
            for (std::size_t j = 0; j < b.Celulas[i].size(); ++j) {
                linha.append(b.Celulas[i][j]);
                alinhamento.append(NomeAlinhamento(b.Alinhamentos[i][j]));
            }
            linhas.append(linha);
            alinhamentos.append(alinhamento);
        }
        return {{"table", linhas}, {"align", alinhamentos}};
    }
    case TBlocoEstrutura::Figura:
        return {{"picture",
                 QJsonObject{{"width", b.Largura}, {"height", b.Altura}, {"colors", b.Cores}}}};
    case TBlocoEstrutura::QuebraPagina: return {{"page_break", true}};
    }
    return {};
}

QJsonArray BlocosJson(const std::vector<TBlocoEstrutura> &blocos) {
    QJsonArray a;
    for (const TBlocoEstrutura &b : blocos) a.append(BlocoJson(b));
    return a;
}

} // namespace

TEscritorEstrutura::TEscritorEstrutura(const QString &arquivo)
    : saida_(std::make_unique<TSaidaArquivo>(arquivo)) {
    MensagemErro = saida_->Erro();
}

TEscritorEstrutura::~TEscritorEstrutura() = default;

std::vector<TBlocoEstrutura> &TEscritorEstrutura::Blocos() {
    if (destino_ == dCabecalho) return cabecalho_;
    if (destino_ == dRodape) return rodape_;
    if (itens_.empty()) itens_.emplace_back(); // text before the first item: item 0
    return itens_.back().Partes.back();
}

void TEscritorEstrutura::Acrescenta(TBlocoEstrutura bloco) { Blocos().push_back(std::move(bloco)); }

void TEscritorEstrutura::FechaParagrafo(bool sempre) {
    if (!temParagrafo_ && !sempre) return;
    paragrafo_.Alinhamento = Alignment;
    Acrescenta(std::move(paragrafo_));
    paragrafo_ = TBlocoEstrutura{};
    temParagrafo_ = false;
}

void TEscritorEstrutura::MudaDestino(TDestino destino) {
    FechaParagrafo(false);
    destino_ = destino;
}

void TEscritorEstrutura::SuperscriptOn() {
    if (VerticalPosition != pvSobrescrito) circunflexo_ = true;
    VerticalPosition = pvSobrescrito;
}

void TEscritorEstrutura::WriteText(const QString &texto) {
    if (texto.isEmpty()) return;
    QString visivel = texto;
    // The infinity sign is character 165 of the Symbol face.
    if (CurrentFont.Nome.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        visivel.replace(QChar(0xA5), QChar(0x221E));
    if (VerticalPosition == pvSobrescrito && circunflexo_) visivel.prepend(QLatin1Char('^'));
    circunflexo_ = false;
    if (emTabela_ && destino_ == dCorpo) {
        celula_ += visivel;
        return;
    }
    paragrafo_.Texto += visivel;
    const bool sobrescrito = VerticalPosition == pvSobrescrito;
    auto &trechos = paragrafo_.Trechos;
    if (!trechos.empty() && trechos.back().Fonte == CurrentFont &&
        trechos.back().Sobrescrito == sobrescrito)
        trechos.back().Texto += texto;
    else
        trechos.push_back({texto, CurrentFont, sobrescrito});
    temParagrafo_ = true;
}

void TEscritorEstrutura::WritePageNumber() { WriteText(QString::number(quebras_ + 1)); }

void TEscritorEstrutura::NewParagraph() {
    if (emTabela_ && destino_ == dCorpo) {
        if (!celula_.isEmpty()) celula_ += QLatin1Char('\n');
        return;
    }
    FechaParagrafo(true);
}

void TEscritorEstrutura::NewPage() {
    FechaParagrafo(false);
    TBlocoEstrutura quebra;
    quebra.Tipo = TBlocoEstrutura::QuebraPagina;
    Acrescenta(std::move(quebra));
    ++quebras_;
}

void TEscritorEstrutura::EscreveFigura(QSize tamanho, int cores) {
    FechaParagrafo(false);
    TBlocoEstrutura figura;
    figura.Tipo = TBlocoEstrutura::Figura;
    figura.Largura = tamanho.width();
    figura.Altura = tamanho.height();
    figura.Cores = cores == 2 || cores == 16 ? cores : 256;
    Acrescenta(std::move(figura));
}

void TEscritorEstrutura::WriteBitmap(const QImage &imagem, int /*escala*/, int cores) {
    EscreveFigura(imagem.size(), cores);
}

void TEscritorEstrutura::WritePicture(const QImage &imagem, int /*escala*/, int cores) {
    EscreveFigura(imagem.size(), cores);
}

void TEscritorEstrutura::WriteChart(const TChart &chart, int cores) {
    EscreveFigura(QSize(std::max(1, chart.Largura), std::max(1, chart.Altura)), cores);
}

void TEscritorEstrutura::BeginTable(int colunas, int linhas, int largura, int alinhamento) {
    TArqEditor::BeginTable(colunas, linhas, largura, alinhamento);
    FechaParagrafo(false);
    emTabela_ = true;
    tabela_ = TBlocoEstrutura{};
    tabela_.Tipo = TBlocoEstrutura::Tabela;
    linha_.clear();
    alinhamentosLinha_.clear();
    celula_.clear();
}

void TEscritorEstrutura::FechaCelula() {
    linha_.push_back(celula_);
    alinhamentosLinha_.push_back(Alignment);
    celula_.clear();
}

void TEscritorEstrutura::NextCell() {
    if (emTabela_) FechaCelula();
}

void TEscritorEstrutura::EndRow() {
    TArqEditor::EndRow();
    if (!emTabela_) return;
    tabela_.Celulas.push_back(std::move(linha_));
    tabela_.Alinhamentos.push_back(std::move(alinhamentosLinha_));
    linha_.clear();
    alinhamentosLinha_.clear();
}

void TEscritorEstrutura::EndTable() {
    if (!emTabela_) return;
    if (!celula_.isEmpty()) FechaCelula();
    if (!linha_.empty()) EndRow();
    // Short rows get empty cells, as the table has them.
    for (std::size_t i = 0; i < tabela_.Celulas.size(); ++i)
        while (static_cast<int>(tabela_.Celulas[i].size()) < ColumnCount) {
            tabela_.Celulas[i].emplace_back();
            tabela_.Alinhamentos[i].push_back(apEsquerda);
        }
    emTabela_ = false;
    Acrescenta(std::move(tabela_));
    tabela_ = TBlocoEstrutura{};
}

void TEscritorEstrutura::BeginItem(int numero, const QString &classe, const QString &titulo) {
    FechaParagrafo(false);
    TItemEstrutura item;
    item.Numero = numero;
    item.Classe = classe;
    item.Titulo = titulo;
    itens_.push_back(std::move(item));
}

void TEscritorEstrutura::BeginPart() {
    FechaParagrafo(false);
    if (itens_.empty()) itens_.emplace_back();
    TItemEstrutura &item = itens_.back();
    if (item.PartesMarcadas) item.Partes.emplace_back();
    item.PartesMarcadas = true;
}

QJsonDocument TEscritorEstrutura::Documento() const {
    QJsonArray itens;
    for (const TItemEstrutura &item : itens_) {
        QJsonArray partes;
        for (const auto &parte : item.Partes) partes.append(BlocosJson(parte));
        itens.append(QJsonObject{{"number", item.Numero},
                                 {"class", item.Classe},
                                 {"title", item.Titulo},
                                 {"parts", partes}});
    }
    return QJsonDocument(QJsonObject{
        {"items", itens}, {"header", BlocosJson(cabecalho_)}, {"footer", BlocosJson(rodape_)}});
}

QByteArray TEscritorEstrutura::Conteudo() const { return Documento().toJson(QJsonDocument::Indented); }

bool TEscritorEstrutura::CloseDocument() {
    if (!saida_->Aberta() || fechado_) return false;
    fechado_ = true;
    FechaParagrafo(false);
    if (emTabela_) EndTable();
    const bool ok = saida_->Grava(Conteudo()) && saida_->Conclui();
    if (!ok) MensagemErro = saida_->Erro();
    return ok;
}

} // namespace zelto
