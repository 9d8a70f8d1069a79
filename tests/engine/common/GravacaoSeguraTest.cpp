// Where every writer of the program may write: a FIFO, a device, a socket or a folder behind a
// link stays what it was; another user's link in a shared sticky folder is not followed; a
// read-only file is refused (also for the superuser) and a replaced file keeps its mode; a
// write cut short leaves the previous file and no temporary file.
#include "common/GravacaoSegura.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
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

mode_t Tipo(const fs::path &p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class Gravacao : public ::testing::Test {
  protected:
    void SetUp() override {
        pasta = fs::temp_directory_path() /
                ("zelto_grav_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }
    // The folder holds exactly these names.
    void SoEstes(const fs::path &p, std::vector<std::string> nomes) {
        std::vector<std::string> achados;
        for (const auto &e : fs::directory_iterator(p))
            achados.push_back(e.path().filename().string());
        std::sort(achados.begin(), achados.end());
        std::sort(nomes.begin(), nomes.end());
        EXPECT_EQ(achados, nomes);
    }
    fs::path pasta;
};

} // namespace

TEST_F(Gravacao, SpecialFilesBehindLinksStayWhatTheyWere) {
    struct Caso {
        std::string nome;
        mode_t tipo;
        fs::path alvo;
        TRecusaDestino recusa;
    };
    std::vector<Caso> casos;
    ASSERT_EQ(::mkfifo((pasta / "fila").c_str(), 0644), 0);
    casos.push_back({"fila", S_IFIFO, pasta / "fila", TRecusaDestino::Especial});
    // A device node of the test's own when it may make one; else /dev/null, only as a link's
    // target, checked untouched.
    if (::mknod((pasta / "nulo").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        casos.push_back({"nulo", S_IFCHR, pasta / "nulo", TRecusaDestino::Especial});
    else
        casos.push_back({"nulo", S_IFCHR, "/dev/null", TRecusaDestino::Especial});
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    const std::string soquete = (pasta / "soq").string();
    std::strncpy(endereco.sun_path, soquete.c_str(), sizeof endereco.sun_path - 1);
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco), 0);
    casos.push_back({"soq", S_IFSOCK, pasta / "soq", TRecusaDestino::Especial});
    fs::create_directory(pasta / "sub");
    casos.push_back({"sub", S_IFDIR, pasta / "sub", TRecusaDestino::Pasta});

    for (const Caso &c : casos) {
        const fs::path ligacao = pasta / ("ligacao_" + c.nome);
        fs::create_symlink(c.alvo, ligacao);
        for (const fs::path &p : {c.alvo, ligacao}) {
            if (p == "/dev/null") continue; // never written to, not even tried
            TGravacaoSegura g(p);
            EXPECT_FALSE(g.Aberta()) << p;
            EXPECT_EQ(g.Destino().Recusa, c.recusa) << p;
            EXPECT_FALSE(g.Grava("x"));
            EXPECT_FALSE(g.Conclui());
            EXPECT_EQ(g.Motivo(),
                      c.recusa == TRecusaDestino::Pasta
                          ? "É uma pasta, não um arquivo."
                          : "Não é um arquivo comum (é um dispositivo, uma fila ou um soquete).");
        }
        EXPECT_EQ(Tipo(c.alvo), c.tipo) << c.nome;
        EXPECT_EQ(Tipo(ligacao), S_IFLNK) << c.nome;
    }
    ::close(s);
    EXPECT_TRUE(fs::is_empty(pasta / "sub"));
}

TEST_F(Gravacao, AnotherUsersLinkInAStickyFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs the superuser";
    const fs::path compartilhada = pasta / "tmp";
    fs::create_directory(compartilhada);
    ASSERT_EQ(::chmod(compartilhada.c_str(), 01777), 0);
    Escreve(pasta / "segredo", "do superusuário");
    ASSERT_EQ(::chmod((pasta / "segredo").c_str(), 0600), 0);
    const fs::path plantada = compartilhada / "laudo.rtf";
    fs::create_symlink(pasta / "segredo", plantada);
    ASSERT_EQ(::lchown(plantada.c_str(), 4242, 4242), 0);

    std::string motivo;
    EXPECT_FALSE(GravaArquivoSeguro(plantada, "novo", &motivo));
    EXPECT_EQ(
        motivo,
        "É uma ligação simbólica de outro usuário numa pasta compartilhada; ela não é seguida.");
    EXPECT_EQ(Le(pasta / "segredo"), "do superusuário");
    EXPECT_EQ(Tipo(plantada), S_IFLNK);

    // The user's own link there, and the same link in a folder that is not shared, are followed.
    ASSERT_EQ(::lchown(plantada.c_str(), 0, 0), 0);
    EXPECT_TRUE(GravaArquivoSeguro(plantada, "meu", &motivo)) << motivo;
    EXPECT_EQ(Le(pasta / "segredo"), "meu");
    ASSERT_EQ(::lchown(plantada.c_str(), 4242, 4242), 0);
    ASSERT_EQ(::chmod(compartilhada.c_str(), 0777), 0);
    EXPECT_TRUE(GravaArquivoSeguro(plantada, "outro", &motivo)) << motivo;
    EXPECT_EQ(Le(pasta / "segredo"), "outro");
}

TEST_F(Gravacao, ModesReadOnlyFilesAndCutShortWrites) {
    const fs::path grupo = pasta / "grupo.txt";
    Escreve(grupo, "anterior");
    ASSERT_EQ(::chmod(grupo.c_str(), 0640), 0);
    EXPECT_TRUE(GravaArquivoSeguro(grupo, "novo"));
    EXPECT_EQ(Le(grupo), "novo");
    EXPECT_EQ(fs::status(grupo).permissions(), fs::perms(0640));

    // Read-only is kept as it was, for everyone.
    const fs::path somente = pasta / "somente.txt";
    Escreve(somente, "anterior");
    ASSERT_EQ(::chmod(somente.c_str(), 0444), 0);
    std::string motivo;
    EXPECT_FALSE(GravaArquivoSeguro(somente, "novo", &motivo));
    EXPECT_EQ(motivo, "O arquivo está marcado como somente leitura.");
    EXPECT_EQ(Le(somente), "anterior");
    EXPECT_EQ(fs::status(somente).permissions(), fs::perms(0444));

    // Written, then dropped or refused at the end: the old file stays, nothing else is left.
    {
        TGravacaoSegura g(grupo);
        ASSERT_TRUE(g.Aberta());
        ASSERT_TRUE(g.Grava(std::string(100000, 'z')));
    }
    {
        // A FIFO put in the file's place while the bytes were written is not replaced.
        TGravacaoSegura g(pasta / "novo.txt");
        ASSERT_TRUE(g.Grava("x"));
        ASSERT_EQ(::mkfifo((pasta / "novo.txt").c_str(), 0644), 0);
        EXPECT_FALSE(g.Conclui());
        EXPECT_EQ(Tipo(pasta / "novo.txt"), S_IFIFO);
    }
    EXPECT_EQ(Le(grupo), "novo");
    SoEstes(pasta, {"grupo.txt", "somente.txt", "novo.txt"});

    // A name too long for the system, and a missing folder, in the system's words in Portuguese.
    EXPECT_FALSE(GravaArquivoSeguro(pasta / std::string(300, 'a'), "x", &motivo));
    EXPECT_EQ(motivo, "Nome de arquivo longo demais.");
    EXPECT_FALSE(GravaArquivoSeguro(pasta / "falta" / "x.txt", "x", &motivo));
    EXPECT_EQ(motivo, "A pasta não existe.");
    // A name one byte short of the limit still gets a temporary name that fits.
    EXPECT_TRUE(GravaArquivoSeguro(pasta / std::string(255, 'b'), "x", &motivo)) << motivo;
}
