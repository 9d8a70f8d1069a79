#include "common/Caminhos.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string Le(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Escreve(const fs::path &p, const std::string &dados) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << dados;
}

// Sets an environment variable for the life of the object.
class Ambiente {
  public:
    Ambiente(const char *nome, const char *valor) : nome_(nome) {
        if (const char *v = std::getenv(nome)) antigo_ = v;
        if (valor)
            ::setenv(nome, valor, 1);
        else
            ::unsetenv(nome);
    }
    ~Ambiente() {
        if (antigo_)
            ::setenv(nome_, antigo_->c_str(), 1);
        else
            ::unsetenv(nome_);
    }

  private:
    const char *nome_;
    std::optional<std::string> antigo_;
};

class CaminhosUsuario : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_cam_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }

    fs::path pasta;
};

} // namespace

TEST_F(CaminhosUsuario, XdgFoldersAndTheirFallbacks) {
    const std::string casa = (pasta / "casa").string();
    const std::string xdg = (pasta / "xdg").string();
    Ambiente home("HOME", casa.c_str());
    struct Caso {
        const char *valor;
        fs::path config, dados;
    } casos[] = {
        {nullptr, pasta / "casa/.config/zelto", pasta / "casa/.local/share/zelto"},
        {"", pasta / "casa/.config/zelto", pasta / "casa/.local/share/zelto"},
        {"relativo/pasta", pasta / "casa/.config/zelto", pasta / "casa/.local/share/zelto"},
        {xdg.c_str(), pasta / "xdg/zelto", pasta / "xdg/zelto"},
    };
    for (const Caso &c : casos) {
        Ambiente config("XDG_CONFIG_HOME", c.valor);
        Ambiente dados("XDG_DATA_HOME", c.valor);
        EXPECT_EQ(PastaConfigUsuario(), c.config);
        EXPECT_EQ(PastaDadosUsuario(), c.dados);
        EXPECT_TRUE(fs::is_directory(c.config));
        EXPECT_TRUE(fs::is_directory(c.dados));
        EXPECT_EQ(CaminhoTabelasPadrao(), c.dados / "TAB_VAR.QVT");
    }
}

TEST_F(CaminhosUsuario, UserCopyFollowsTheInstalledDefault) {
    const fs::path instalado = pasta / "share" / "RELATORI.CN%";
    const fs::path usuario = pasta / "usuario" / "sub" / "RELATORI.CN%";
    fs::create_directories(instalado.parent_path());
    Escreve(instalado, "padrao v1");

    // Missing: copied, folders created.
    EXPECT_TRUE(AtualizaCopiaUsuario(instalado, usuario));
    EXPECT_EQ(Le(usuario), "padrao v1");

    // Newer than the installed one: kept.
    Escreve(usuario, "minha");
    fs::last_write_time(usuario, fs::last_write_time(instalado) + std::chrono::hours(1));
    EXPECT_TRUE(AtualizaCopiaUsuario(instalado, usuario));
    EXPECT_EQ(Le(usuario), "minha");

    // Older: replaced by the installed one, without a temporary file left.
    fs::last_write_time(usuario, fs::last_write_time(instalado) - std::chrono::hours(1));
    EXPECT_TRUE(AtualizaCopiaUsuario(instalado, usuario));
    EXPECT_EQ(Le(usuario), "padrao v1");
    for (const auto &e : fs::directory_iterator(usuario.parent_path()))
        EXPECT_EQ(e.path().filename(), "RELATORI.CN%");

    // Nothing installed: only whether the user's copy exists.
    EXPECT_TRUE(AtualizaCopiaUsuario(pasta / "nada", usuario));
    EXPECT_FALSE(AtualizaCopiaUsuario(pasta / "nada", pasta / "tambem_nada"));
}

TEST_F(CaminhosUsuario, WriteThroughTemporaryFile) {
    const fs::path alvo = pasta / "alvo.txt";
    const fs::path temp = pasta / "alvo.tmp";
    Escreve(alvo, "antigo");
    fs::create_directory(temp);
    EXPECT_FALSE(GravaPorTemporario(alvo, temp, "novo"));
    EXPECT_EQ(Le(alvo), "antigo");
    EXPECT_TRUE(fs::is_directory(temp));

    fs::remove(temp);
    fs::create_symlink(pasta / "outro.txt", temp); // a leftover link is not followed
    Escreve(pasta / "outro.txt", "intacto");
    EXPECT_TRUE(GravaPorTemporario(alvo, temp, "novo"));
    EXPECT_EQ(Le(alvo), "novo");
    EXPECT_EQ(Le(pasta / "outro.txt"), "intacto");
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));

    // A target that is a folder is not replaced, and the temporary file goes.
    fs::create_directory(pasta / "pasta_alvo");
    Escreve(pasta / "pasta_alvo" / "x", "x");
    EXPECT_FALSE(GravaPorTemporario(pasta / "pasta_alvo", temp, "novo"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
}
