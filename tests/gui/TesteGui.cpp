#include "TesteGui.h"

#include "gui/app/Aplicacao.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdlib>
#include <map>

namespace zelto::teste {

namespace {
std::map<std::string, Fabrica> &Classes() {
    static std::map<std::string, Fabrica> c;
    return c;
}
} // namespace

int RegistraClasse(const char *nome, Fabrica f) {
    Classes()[nome] = std::move(f);
    return 0;
}

TJanelaTeste::TJanelaTeste() {
    ini.Abre(Caminho("ZERADE.INI"));
    tabelas = std::make_unique<TTabelasVariaveis>(Caminho("TAB_VAR.QVT"));
    janela = std::make_unique<TFZELTO>(ini, *tabelas);
    TFZELTO &j = *janela;
    auto responde = [this](const std::string &t) {
        perguntas.push_back(t);
        if (respostas.empty()) return Resposta::Cancelar;
        Resposta r = respostas.front();
        respostas.pop_front();
        return r;
    };
    j.Confirma = responde;
    j.ConfirmaSimNao = responde;
    j.Informa = [this](const std::string &t) { avisos.push_back(t); };
    j.Avisa = [this](const std::string &t) { avisos.push_back(t); };
    j.Arquivos().EscolheArquivoLeitura = [this](const TInicioDialogo &i) {
        iniciosLeitura.push_back(i);
        if (arquivosLeitura.empty()) return std::string();
        std::string n = arquivosLeitura.front();
        arquivosLeitura.pop_front();
        return n;
    };
    j.Arquivos().EscolheArquivoGravacao =
        [this](const TInicioDialogo &i) -> std::optional<std::pair<std::string, std::string>> {
        iniciosGravacao.push_back(i);
        if (arquivosGravacao.empty()) return std::nullopt;
        auto n = arquivosGravacao.front();
        arquivosGravacao.pop_front();
        return n;
    };
    j.Relatorio().ConfirmaAtualizacao = [this] {
        ++atualizacoes;
        return atualiza;
    };
    j.resize(900, 600);
}

std::filesystem::path TJanelaTeste::Caminho(const std::string &nome) const {
    return std::filesystem::path(pasta.path().toStdString()) / nome;
}

TArquivoIni TJanelaTeste::IniNoDisco() const {
    return TArquivoIni(Caminho("ZERADE.INI"));
}

void Define(TGridzelto &g, int c, const std::string &nome, TipoVariavel tipo, bool usada) {
    TVariavel v;
    v.Nome = nome;
    v.Tipo = tipo;
    v.Usada = usada && tipo != tvComentario;
    v.Alinhamento = AlinhamentoPadrao(tipo);
    v.PontosDeMilhar = true;
    TDataFormat f;
    f.Editor = tipo == tvNumerica ? teReal : tipo == tvData ? teData : teTexto;
    g.AtribuiCelula(c, 0, nome);
    g.DefineFormato(c, f);
    g.DefineVariavel(c, v);
    if (c > g.ColunasUsadas()) g.DefineColunasUsadas(c);
}

void Preenche(TGridzelto &g, int c, const std::vector<std::string> &textos) {
    for (std::size_t i = 0; i < textos.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        if (r >= g.RowCount()) g.AcrescentaLinhas(5);
        g.AtribuiTexto(c, r, textos[i]);
        if (r > g.LinhasUsadas()) g.DefineLinhasUsadas(r);
    }
    g.RecalcularTudo();
}

QString TextoRelatorio(TJanelaTeste &w) {
    const std::string arquivo = w.Caminho("relatorio.txt").string();
    std::filesystem::remove(arquivo);
    auto escolhe = w.J().Relatorio().EscolheArquivoExportacao;
    w.J().Relatorio().EscolheArquivoExportacao = [&] { return arquivo; };
    w.J().Relatorio().ExportaRelatorio();
    w.J().Relatorio().EscolheArquivoExportacao = escolhe;
    QFile f(QString::fromStdString(arquivo));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace zelto::teste

int main(int argc, char **argv) {
    // Settings, tables, the runtime folder and the temporary folder of this run only.
    QTemporaryDir raiz;
    const QByteArray base = raiz.path().toLocal8Bit();
    for (const char *sub : {"/config", "/data", "/run", "/tmp"})
        QDir().mkpath(raiz.path() + QLatin1String(sub));
    QFile::setPermissions(raiz.path() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("XDG_RUNTIME_DIR", base + "/run");
    qputenv("TMPDIR", base + "/tmp");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    zelto::TAplicacao app(argc, argv);
    std::vector<std::string> escolhidas;
    QStringList args{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (zelto::teste::Classes().count(a))
            escolhidas.push_back(a);
        else
            args << QString::fromLocal8Bit(argv[i]);
    }
    if (escolhidas.empty())
        for (const auto &[nome, f] : zelto::teste::Classes())
            escolhidas.push_back(nome);
    int falhas = 0;
    for (const std::string &nome : escolhidas) {
        auto objeto = zelto::teste::Classes()[nome]();
        falhas += QTest::qExec(objeto.get(), args);
    }
    return falhas == 0 ? 0 : 1;
}
