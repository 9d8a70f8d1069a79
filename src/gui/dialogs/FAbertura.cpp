#include "gui/dialogs/FAbertura.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace zelto {

TFAbertura::TFAbertura(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FAbertura"));
    setStyleSheet(QStringLiteral("#FAbertura { background: #1f3b5a; border: 1px solid #0d1d2e; }"
                                 "QLabel { color: white; }"));
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(40, 30, 40, 30);
    auto *titulo = new QLabel(QStringLiteral("Zelto 32"), this);
    QFont f = titulo->font();
    f.setPointSize(28);
    f.setBold(true);
    titulo->setFont(f);
    titulo->setAlignment(Qt::AlignCenter);
    auto *sub = new QLabel(QStringLiteral("Avaliação de imóveis por inferência estatística"), this);
    sub->setAlignment(Qt::AlignCenter);
    auto *estado = new QLabel(QStringLiteral("Iniciando o programa . . ."), this);
    estado->setAlignment(Qt::AlignCenter);
    l->addWidget(titulo);
    l->addWidget(sub);
    l->addSpacing(16);
    l->addWidget(estado);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TFAbertura::Mostra() {
    adjustSize();
    if (QScreen *s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace zelto
