#include "gui/mainwindow/DialogosArquivo.h"

#include "common/Texto.h"
#include "files/ArquivoZelto.h"
#include "files/ArquivoZelto2.h"
#include "files/LerArquivo.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

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

namespace {

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

void PreparaDialogo(QFileDialog &d, const char *filtro) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setOption(QFileDialog::HideNameFilterDetails);
    d.setNameFilters(FiltrosQt(filtro));
    d.setDefaultSuffix(QStringLiteral("QV3"));
    // The text filter writes text files.
    QObject::connect(&d, &QFileDialog::filterSelected, &d, [&d](const QString &f) {
        d.setDefaultSuffix(f.startsWith(QLatin1String("Arquivos Texto")) ? QStringLiteral("TXT")
                                                                         : QStringLiteral("QV3"));
    });
    d.resize(860, 480);
}

} // namespace

std::string DialogoLeitura(QWidget *parent, std::string &pasta) {
    QFileDialog d(parent, QStringLiteral("Ler planilha do Zelto"), QString::fromStdString(pasta));
    PreparaDialogo(d, kFiltroLeitura);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    QPlainTextEdit *previa = AcrescentaPainel(d, QStringLiteral("Conteúdo do arquivo :"), true);
    QObject::connect(&d, &QFileDialog::currentChanged, previa, [previa](const QString &p) {
        previa->setPlainText(QString::fromStdString(PreviaArquivo(p.toStdString())));
    });
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
    pasta = d.directory().absolutePath().toStdString();
    return d.selectedFiles().first().toStdString();
}

std::optional<std::pair<std::string, std::string>> DialogoGravacao(QWidget *parent,
                                                                   std::string &pasta) {
    QFileDialog d(parent, QStringLiteral("Gravar planilha do Zelto"),
                  QString::fromStdString(pasta));
    PreparaDialogo(d, kFiltroGravacao);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setOption(QFileDialog::DontConfirmOverwrite); // the program asks in its own words
    QPlainTextEdit *comentarios =
        AcrescentaPainel(d, QStringLiteral("Comentários para o arquivo :"), false);
    QObject::connect(&d, &QFileDialog::currentChanged, comentarios,
                     [comentarios](const QString &p) {
                         std::string c = ComentariosArquivo(p.toStdString());
                         if (!c.empty()) comentarios->setPlainText(QString::fromStdString(c));
                     });
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    pasta = d.directory().absolutePath().toStdString();
    return std::make_pair(d.selectedFiles().first().toStdString(),
                          comentarios->toPlainText().toStdString());
}

} // namespace zelto
