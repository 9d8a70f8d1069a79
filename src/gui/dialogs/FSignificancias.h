// The significance and confidence settings dialog ("Significâncias / Confianças  32.57")
// and the prompt for the name of a saved configuration ("Gravar
// Significâncias/Confianças").
//
// The dialog edits a copy of the record in force that the caller gives it. The
// copy reaches the record and the working file of the mode only through
// "&Fechar" (after the zero-level check) or "&Gravar" (which also copies the
// working file to a named ".NRM" configuration). Escape, "&Cancelar" and the
// window's close button store nothing: the record, the working file and the
// automatic-sanitation option stay as they were (a configuration saved
// before stays saved). Choosing a configuration in the description box only
// fills the controls from that file; it reaches the record on "&Fechar".
//
// Levels are shown in percent with "," decimals (the per-mille Cook level as
// 0,50 %). A field left empty counts as 0; a text that is not a number, or is
// out of range, is refused with a message and the field takes the focus.
// A field whose text was not touched keeps the exact value it showed.
//
// Questions (zero level, overwrite) and notices go through replaceable
// callbacks, like the name prompt, so tests drive the dialog without
// nested modal windows.
#pragma once

#include "common/Perguntas.h"
#include "significance/Significancias.h"

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;

namespace zelto {

// Shows the dialog on `pagina`, editing `registro` and the working file
// of the mode (ArquivoSignificancias(modoInferencial, pasta); `pasta` empty =
// the user's settings folder, where the named "*.NRM" configurations also
// live). `saneamentoAutomatico` is the main window's option "sanear amostras
// &Automaticamente", in and out. True when the user changed anything (the
// record, or the option).
bool MostraSignificancias(QWidget *parent, TSignificancias &registro, PaginaSignificancias pagina,
                          bool modoInferencial, bool &saneamentoAutomatico,
                          const std::filesystem::path &pasta = {});

class TFSignificancias : public QDialog {
    Q_OBJECT
  public:
    using T = TSignificancias;

    // `registro`: the record in force, which "&Fechar" and "&Gravar" write.
    TFSignificancias(TSignificancias &registro, PaginaSignificancias pagina, bool modoInferencial,
                     bool saneamentoAutomatico, const std::filesystem::path &pasta = {},
                     QWidget *parent = nullptr);

    // Yes/no questions: a zero level, overwriting a configuration.
    Pergunta Confirma;
    // Notices: a refused field, a file that could not be written.
    std::function<void(const std::string &)> Avisa;
    // The name under which to save a configuration (TFSalvaSigConf by
    // default); empty when the user gave none or cancelled.
    std::function<std::string(const std::filesystem::path &pasta)> PedeNome;

    // The automatic-sanitation option: the box when closed with "&Fechar",
    // else as it came in.
    bool SaneamentoAutomatico() const;
    // True when the record or the option differ from when the dialog opened.
    bool Alterou() const;
    // The working file and the folder of the named configurations.
    const std::filesystem::path &ArquivoTrabalho() const { return trabalho_; }
    const std::filesystem::path &PastaConfiguracoes() const { return pasta_; }

    // "&Fechar": collects, checks and stores; the dialog closes unless the
    // user chose to correct a field (or a field was refused).
    void accept() override;
    // "&Gravar": as "&Fechar" without closing, then saves a named copy.
    void GravaConfiguracaoNomeada();
    // Fills the controls from the configuration at `indice` of the description box.
    void EscolheConfiguracao(int indice);

    // Controls, for tests.
    QTabWidget *Paginas() const { return paginas_; }
    QComboBox *CaixaDescricao() const { return descricao_; }
    QLineEdit *CampoArquivo() const { return arquivo_; }
    QLineEdit *Campo(double T::*campo) const;
    QLineEdit *Campo(std::int32_t T::*campo) const;
    QLineEdit *CampoParametro(CriterioSaneamento c) const {
        return c == csMedia ? parametroMedia_ : parametroDesvio_;
    }
    QCheckBox *Caixa(bool T::*campo) const;
    QCheckBox *CaixaNorma(MarcaNorma m) const { return normas_[m]; }
    QComboBox *CaixaKolmogorov() const { return kolmogorov_; }
    QComboBox *CaixaDurbinWatson() const { return durbinWatson_; }
    QComboBox *CaixaArley() const { return arley_; }
    QRadioButton *OpcaoSaneamento(CriterioSaneamento c) const { return criterios_[c]; }
    QStackedWidget *PaginasCriterio() const { return paginasCriterio_; }
    QRadioButton *OpcaoExtrapolacao(ModoExtrapolacao m) const { return extrapolacao_[m]; }
    QWidget *PainelInferencial() const { return painelInferencial_; }
    QWidget *PainelDescritivo() const { return painelDescritivo_; }
    QWidget *GrupoLimites() const { return limites_; }
    QCheckBox *CaixaSaneamentoAutomatico() const { return saneamento_; }
    QPushButton *BotaoFechar() const { return fechar_; }
    QPushButton *BotaoGravar() const { return gravar_; }

  private:
    struct CampoReal {
        double T::*campo;
        QLineEdit *edicao;
        double escala; // shown value = field × escala
        bool nivel;    // a level: below 100 %
        int pagina;
    };
    struct CampoInteiro {
        std::int32_t T::*campo;
        QLineEdit *edicao;
        int pagina;
    };
    struct CaixaBool {
        bool T::*campo;
        QCheckBox *caixa;
    };

    QWidget *PaginaSignif();
    QWidget *PaginaContinuacao();
    QWidget *PaginaConfiancas();
    QWidget *PaginaCriterios();
    QWidget *PaginaExtrapolacoes();
    QLineEdit *NovoReal(QWidget *dono, double T::*campo, double escala, bool nivel, int pagina);
    QLineEdit *NovoInteiro(QWidget *dono, std::int32_t T::*campo, int pagina);
    QCheckBox *NovaCaixa(QWidget *dono, const char *texto, bool T::*campo);
    QCheckBox *NovaNorma(QWidget *dono, MarcaNorma m, bool masculino = false);

    void CarregaLista();
    void Mostra();
    void MostraTexto(QLineEdit *e, const QString &texto);
    void AtualizaEstados();
    bool Coleta(TSignificancias &s);
    bool Recusa(QLineEdit *e, int pagina, const QString &texto, const std::string &faixa);
    void Foca(QLineEdit *e, int pagina);
    QLineEdit *EdicaoDoCampo(CampoSignificancia c) const;
    // Collects, checks and stores; true when stored.
    bool Armazena();

    bool inferencial_;
    std::filesystem::path pasta_, trabalho_;
    TSignificancias &registro_;
    TSignificancias inicial_, s_;
    bool saneamentoInicial_, saneamentoFinal_;
    std::vector<TConfiguracaoSignificancia> configuracoes_;
    std::vector<CampoReal> reais_;
    std::vector<CampoInteiro> inteiros_;
    std::vector<CaixaBool> caixas_;

    QTabWidget *paginas_;
    QComboBox *descricao_;
    QLineEdit *arquivo_;
    QCheckBox *normas_[kNumeroMarcasNorma] = {};
    QComboBox *kolmogorov_ = nullptr, *durbinWatson_ = nullptr, *arley_ = nullptr;
    QRadioButton *criterios_[4] = {};
    QStackedWidget *paginasCriterio_ = nullptr;
    QLineEdit *parametroDesvio_ = nullptr, *parametroMedia_ = nullptr;
    QRadioButton *extrapolacao_[3] = {};
    QWidget *painelInferencial_ = nullptr, *painelDescritivo_ = nullptr, *limites_ = nullptr;
    QCheckBox *saneamento_ = nullptr;
    QPushButton *fechar_, *gravar_;
};

// The prompt for a configuration's name: the folder's "*.NRM" files and a
// name field. A name with wildcards filters the list instead of closing.
class TFSalvaSigConf : public QDialog {
    Q_OBJECT
  public:
    explicit TFSalvaSigConf(const std::filesystem::path &pasta, QWidget *parent = nullptr);

    QListWidget *ListaArquivos() const { return lista_; }
    QLineEdit *CampoNome() const { return nome_; }
    std::string Nome() const;

    void accept() override;

    // Asks and waits; empty when cancelled.
    static std::string PedeNome(QWidget *parent, const std::filesystem::path &pasta);

  private:
    void Filtra(const QString &mascara);

    std::filesystem::path pasta_;
    QListWidget *lista_;
    QLineEdit *nome_;
};

} // namespace zelto
