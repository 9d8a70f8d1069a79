#include "gui/dialogs/FProgressao.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

namespace zelto {

namespace {
constexpr int kEscala = 1000; // the bar's resolution
} // namespace

TFProgressao::TFProgressao(QWidget *parent)
    : QDialog(parent), titulo_rotulo_(new QLabel(this)), auxiliar_rotulo_(new QLabel(this)),
      barra_(new QProgressBar(this)),
      interromper_(new QPushButton(QStringLiteral("Interromper"), this)),
      relogio_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Zelto 32"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    auto *l = new QVBoxLayout(this);
    l->addWidget(titulo_rotulo_);
    l->addWidget(barra_);
    l->addWidget(auxiliar_rotulo_);
    l->addWidget(interromper_, 0, Qt::AlignHCenter);
    barra_->setRange(0, kEscala);
    barra_->setMinimumWidth(320);
    interromper_->setVisible(false);
    connect(interromper_, &QPushButton::clicked, this, [this] {
        Cancela();
        interromper_->setEnabled(false);
    });
    relogio_->setInterval(50);
    connect(relogio_, &QTimer::timeout, this, &TFProgressao::Atualiza);
    relogio_->start();
}

void TFProgressao::Inicia(const std::string &titulo, double minimo, double maximo,
                          bool interrompivel) {
    std::lock_guard<std::mutex> g(m_);
    titulo_ = titulo;
    minimo_ = minimo;
    maximo_ = maximo;
    posicao_ = minimo;
    interrompivel_ = interrompivel;
    mudou_ = true;
}

void TFProgressao::Avanca(double posicao) {
    std::lock_guard<std::mutex> g(m_);
    posicao_ = posicao;
    mudou_ = true;
}

void TFProgressao::TextoAuxiliar(const std::string &texto) {
    std::lock_guard<std::mutex> g(m_);
    auxiliar_ = texto;
    mudou_ = true;
}

void TFProgressao::Termina() {
    std::lock_guard<std::mutex> g(m_);
    posicao_ = maximo_;
    mudou_ = true;
}

std::string TFProgressao::Titulo() const {
    std::lock_guard<std::mutex> g(m_);
    return titulo_;
}

std::string TFProgressao::Auxiliar() const {
    std::lock_guard<std::mutex> g(m_);
    return auxiliar_;
}

bool TFProgressao::Interrompivel() const {
    std::lock_guard<std::mutex> g(m_);
    return interrompivel_;
}

void TFProgressao::Atualiza() {
    std::string titulo, auxiliar;
    double fracao = 0;
    bool interrompivel = false;
    {
        std::lock_guard<std::mutex> g(m_);
        if (!mudou_) return;
        mudou_ = false;
        titulo = titulo_;
        auxiliar = auxiliar_;
        double amplitude = maximo_ - minimo_;
        fracao = amplitude > 0 ? (posicao_ - minimo_) / amplitude : 0;
        interrompivel = interrompivel_;
    }
    if (!(fracao >= 0)) fracao = 0;
    if (fracao > 1) fracao = 1;
    titulo_rotulo_->setText(QString::fromStdString(titulo));
    auxiliar_rotulo_->setText(QString::fromStdString(auxiliar));
    barra_->setValue(static_cast<int>(std::lround(fracao * kEscala)));
    interromper_->setVisible(interrompivel);
}

void TFProgressao::reject() {
    bool interrompivel;
    {
        std::lock_guard<std::mutex> g(m_);
        interrompivel = interrompivel_;
    }
    if (interrompivel) {
        Cancela();
        interromper_->setEnabled(false);
    }
}

namespace {
int trabalhosEmAndamento = 0; // on the GUI thread only
} // namespace

bool TrabalhoEmAndamento() { return trabalhosEmAndamento > 0; }

void ExecutaComJanela(QDialog &janela, const std::function<void()> &trabalho,
                      const std::function<void()> &prepara) {
    struct TConta {
        TConta() { ++trabalhosEmAndamento; }
        ~TConta() { --trabalhosEmAndamento; }
    } conta;
    std::exception_ptr falha;
    QThread *t = QThread::create([&] {
        try {
            trabalho();
        } catch (...) {
            falha = std::current_exception();
        }
    });
    t->start();
    if (!t->wait(AtrasoJanelaProgresso)) {
        QEventLoop laco;
        QObject::connect(t, &QThread::finished, &laco, &QEventLoop::quit);
        if (prepara) prepara();
        janela.show();
        if (!t->isFinished()) laco.exec();
        t->wait();
        janela.hide();
    }
    delete t;
    if (falha) std::rethrow_exception(falha);
}

bool ExecutaComProgresso(QWidget *parent, const std::function<void(TProgresso &)> &trabalho) {
    TFProgressao janela(parent);
    ExecutaComJanela(
        janela, [&] { trabalho(janela); }, [&] { janela.Atualiza(); });
    return !janela.Cancelado();
}

} // namespace zelto
