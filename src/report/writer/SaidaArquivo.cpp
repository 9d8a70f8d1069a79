#include "writer/SaidaArquivo.h"

#include <QDir>
#include <QFile>

namespace zelto {

TSaidaArquivo::TSaidaArquivo(const QString &arquivo)
    : arquivo_(std::make_unique<TGravacaoSegura>(QFile::encodeName(arquivo).toStdString())),
      nome_(arquivo) {
    aberta_ = arquivo_->Aberta();
    if (!aberta_) Falha(QStringLiteral("Não foi possível criar o arquivo"));
}

TSaidaArquivo::~TSaidaArquivo() = default;

QString TSaidaArquivo::Pasta() const {
    const std::filesystem::path &real = arquivo_->Destino().Real;
    const std::filesystem::path pasta =
        (real.empty() ? std::filesystem::path(QFile::encodeName(nome_).toStdString()) : real)
            .parent_path();
    return pasta.empty() ? QStringLiteral(".")
                         : QFile::decodeName(QByteArray::fromStdString(pasta.string()));
}

QString TSaidaArquivo::Mensagem(const QString &inicio, const QString &arquivo,
                                const std::string &motivo) {
    return QStringLiteral("%1 \"%2\": %3")
        .arg(inicio, QDir::toNativeSeparators(arquivo), QString::fromStdString(motivo));
}

void TSaidaArquivo::Falha(const QString &inicio) {
    if (!erro_.isEmpty()) return;
    erro_ = Mensagem(inicio, nome_, arquivo_->Motivo());
}

bool TSaidaArquivo::Grava(const char *bytes, qint64 tamanho) {
    if (!aberta_ || concluida_) return false;
    if (tamanho < 0 || !arquivo_->Grava(bytes, static_cast<std::size_t>(tamanho))) {
        Falha(QStringLiteral("Não foi possível gravar o arquivo"));
        return false;
    }
    return true;
}

bool TSaidaArquivo::Grava(const QByteArray &bytes) {
    return Grava(bytes.constData(), bytes.size());
}

bool TSaidaArquivo::GravaEm(qint64 posicao, const QByteArray &bytes) {
    if (!aberta_ || concluida_ || posicao < 0) return false;
    if (!arquivo_->GravaEm(static_cast<std::uint64_t>(posicao), bytes.constData(),
                           static_cast<std::size_t>(bytes.size()))) {
        Falha(QStringLiteral("Não foi possível gravar o arquivo"));
        return false;
    }
    return true;
}

qint64 TSaidaArquivo::Tamanho() const {
    return aberta_ ? static_cast<qint64>(arquivo_->Tamanho()) : 0;
}

bool TSaidaArquivo::Conclui() {
    if (!aberta_ || concluida_) return false;
    concluida_ = true;
    if (!arquivo_->Conclui()) {
        Falha(QStringLiteral("Não foi possível gravar o arquivo"));
        return false;
    }
    return true;
}

} // namespace zelto
