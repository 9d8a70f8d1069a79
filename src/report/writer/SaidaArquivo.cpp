#include "writer/SaidaArquivo.h"

#include <QDir>

namespace zelto {

TSaidaArquivo::TSaidaArquivo(const QString &arquivo) : arquivo_(arquivo), nome_(arquivo) {
    // Never write in place: without a temporary file the previous file would be lost on a
    // failure.
    arquivo_.setDirectWriteFallback(false);
    aberta_ = arquivo_.open(QIODevice::WriteOnly);
    if (!aberta_) Falha(QStringLiteral("Não foi possível criar o arquivo"));
}

TSaidaArquivo::~TSaidaArquivo() {
    if (aberta_ && !concluida_) arquivo_.cancelWriting();
}

void TSaidaArquivo::Falha(const QString &inicio) {
    if (!erro_.isEmpty()) return;
    erro_ = QStringLiteral("%1 \"%2\": %3.")
                .arg(inicio, QDir::toNativeSeparators(nome_), arquivo_.errorString());
}

bool TSaidaArquivo::Grava(const char *bytes, qint64 tamanho) {
    if (!aberta_ || concluida_) return false;
    if (arquivo_.write(bytes, tamanho) != tamanho) {
        Falha(QStringLiteral("Não foi possível gravar o arquivo"));
        return false;
    }
    return true;
}

bool TSaidaArquivo::Grava(const QByteArray &bytes) { return Grava(bytes.constData(), bytes.size()); }

bool TSaidaArquivo::GravaEm(qint64 posicao, const QByteArray &bytes) {
    if (!aberta_ || concluida_) return false;
    const qint64 fim = arquivo_.pos();
    const bool ok = arquivo_.seek(posicao) && Grava(bytes);
    return arquivo_.seek(fim) && ok;
}

qint64 TSaidaArquivo::Tamanho() const { return aberta_ ? arquivo_.size() : 0; }

bool TSaidaArquivo::Conclui() {
    if (!aberta_ || concluida_) return false;
    concluida_ = true;
    if (!arquivo_.commit()) {
        Falha(QStringLiteral("Não foi possível gravar o arquivo"));
        return false;
    }
    return true;
}

} // namespace zelto
