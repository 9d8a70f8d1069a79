#include "gui/mainwindow/DialogosArquivo.h"

#include "common/Texto.h"
#include "files/ArquivoZelto.h"
#include "files/ArquivoZelto2.h"
#include "files/LerArquivo.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

#include <memory>

namespace zelto {

namespace fs = std::filesystem;

QStringList FiltrosQt(const std::string &filtro) {
    QStringList saida;
    auto partes = Divide(filtro, '|');
    for (std::size_t i = 0; i + 1 < partes.size(); i += 2) {
        QStringList padroes;
        for (const std::string &p : Divide(partes[i + 1], ';')) {
            QString q = QString::fromStdString(Apara(p));
            if (q.isEmpty()) continue;
            if (q == QLatin1String("*.*")) q = QStringLiteral("*");
            padroes << q;
            if (q.toLower() != q) padroes << q.toLower();
        }
        saida << QString::fromStdString(partes[i]) + QStringLiteral(" (") +
                     padroes.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return saida;
}

std::string PreviaArquivo(const fs::path &arquivo) {
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec)) return {};
    switch (DetectarFormato(arquivo)) {
    case TFormatoArquivo::Nativo: {
        TArquivoZelto z;
        std::string comentarios, resumo;
        z.LerComentarios(arquivo, comentarios);
        TArquivoZelto r;
        r.LerResumo(arquivo, resumo);
        if (Apara(comentarios).empty()) comentarios = "<em branco>";
        return "Arquivo de dados do Zelto 32\r\n\r\nComentários do usuário: " + comentarios +
               "\r\n\r\nResumo técnico: " + resumo;
    }
    case TFormatoArquivo::Antigo: {
        TArquivoZelto2 z;
        std::string texto;
        z.LerComentarios(arquivo, texto);
        return texto;
    }
    default: {
        std::string bytes;
        if (!LeInicioArquivo(arquivo, 4096, bytes)) return {};
        for (char &c : bytes)
            if (c == '\t') c = ' ';
        return DeCp1252(bytes);
    }
    }
}

std::string ComentariosArquivo(const fs::path &arquivo) {
    std::error_code ec;
    if (!fs::is_regular_file(arquivo, ec) || DetectarFormato(arquivo) != TFormatoArquivo::Nativo)
        return {};
    TArquivoZelto z;
    std::string texto;
    z.LerComentarios(arquivo, texto);
    return texto;
}

bool ArquivoDeGravacao(const QString &nome) {
    return nome.endsWith(
        QString::fromUtf8(SufixoGravacao.data(), static_cast<qsizetype>(SufixoGravacao.size())));
}

namespace {

// Comments as a text box shows them: lines ended by "\n".
QString TextoCaixa(const std::string &comentarios) {
    return QString::fromStdString(comentarios).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Hides the temporary files of saves in progress (or cut short) from the dialogs' lists.
class TSemTemporarios : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int linha, const QModelIndex &pai) const override {
        const QModelIndex i = sourceModel()->index(linha, 0, pai);
        return !ArquivoDeGravacao(sourceModel()->data(i).toString());
    }
};

// A panel at the right of a non-native file dialog.
QPlainTextEdit *AcrescentaPainel(QFileDialog &d, const QString &titulo, bool somenteLeitura) {
    auto *painel = new QWidget(&d);
    auto *l = new QVBoxLayout(painel);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(new QLabel(titulo, painel));
    auto *texto = new QPlainTextEdit(painel);
    texto->setObjectName(QStringLiteral("painel"));
    texto->setReadOnly(somenteLeitura);
    texto->setMinimumWidth(240);
    l->addWidget(texto, 1);
    if (auto *g = qobject_cast<QGridLayout *>(d.layout()))
        g->addWidget(painel, 0, g->columnCount(), g->rowCount(), 1);
    return texto;
}

void PreparaDialogo(QFileDialog &d, const char *filtro, const TInicioDialogo &inicio) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setProxyModel(new TSemTemporarios(&d));
    d.setOption(QFileDialog::HideNameFilterDetails);
    d.setNameFilters(FiltrosQt(filtro));
    d.setDefaultSuffix(QStringLiteral("QV3"));
    // The text filter writes text files.
    QObject::connect(&d, &QFileDialog::filterSelected, &d, [&d](const QString &f) {
        d.setDefaultSuffix(f.startsWith(QLatin1String("Arquivos Texto")) ? QStringLiteral("TXT")
                                                                         : QStringLiteral("QV3"));
    });
    d.resize(860, 480);
    if (!inicio.Pasta.empty()) d.setDirectory(QString::fromStdString(inicio.Pasta));
    if (!inicio.Nome.empty()) d.selectFile(QString::fromStdString(inicio.Nome));
}

} // namespace

std::string DialogoLeitura(QWidget *parent, const TInicioDialogo &inicio) {
    QFileDialog d(parent, QStringLiteral("Ler planilha do Zelto"));
    PreparaDialogo(d, kFiltroLeitura, inicio);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    QPlainTextEdit *previa = AcrescentaPainel(d, QStringLiteral("Conteúdo do arquivo :"), true);
    QObject::connect(&d, &QFileDialog::currentChanged, previa, [previa](const QString &p) {
        previa->setPlainText(QString::fromStdString(PreviaArquivo(p.toStdString())));
    });
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    return d.selectedFiles().first().toStdString();
}

std::optional<std::pair<std::string, std::string>> DialogoGravacao(QWidget *parent,
                                                                   const TInicioDialogo &inicio) {
    QFileDialog d(parent, QStringLiteral("Gravar planilha do Zelto"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setOption(QFileDialog::DontConfirmOverwrite); // the program asks in its own words
    QPlainTextEdit *comentarios =
        AcrescentaPainel(d, QStringLiteral("Comentários para o arquivo :"), false);
    const QString proprios = TextoCaixa(inicio.Comentarios);
    comentarios->setPlainText(proprios);
    // The comments of the existing native file under the pointer, while the user has not
    // written over them; any other name shows the worksheet's own again.
    auto mostrados = std::make_shared<QString>(proprios);
    QObject::connect(&d, &QFileDialog::currentChanged, comentarios,
                     [comentarios, proprios, mostrados](const QString &p) {
                         if (comentarios->toPlainText() != *mostrados) return;
                         std::error_code ec;
                         const bool nativo =
                             fs::is_regular_file(p.toStdString(), ec) &&
                             DetectarFormato(p.toStdString()) == TFormatoArquivo::Nativo;
                         *mostrados =
                             nativo ? TextoCaixa(ComentariosArquivo(p.toStdString())) : proprios;
                         comentarios->setPlainText(*mostrados);
                     });
    PreparaDialogo(d, kFiltroGravacao, inicio);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return std::make_pair(d.selectedFiles().first().toStdString(),
                          comentarios->toPlainText().toStdString());
}

} // namespace zelto
