#include "files/LeituraGravacaoDados.h"

#include "common/Caminhos.h"
#include "common/Texto.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelto {

namespace fs = std::filesystem;

namespace {

// Run-time error code of an errno from opening or creating a file.
int CodigoErrno(int e, const fs::path &arquivo) {
    switch (e) {
    case ENOENT: {
        std::error_code ec;
        fs::path pasta = arquivo.parent_path();
        if (!pasta.empty() && !fs::is_directory(pasta, ec)) return 3;
        return 2;
    }
    case ENOTDIR:
        return 3;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return 5;
    case EMFILE:
    case ENFILE:
        return 4;
    default:
        return 100;
    }
}

std::string TextoArquivoGrande(const fs::path &arquivo) {
    return "Erro durante processamento do arquivo: \r\n\r\n" +
           TLeituraGravacaoDados::NomeExibido(arquivo) +
           "\r\n\r\nO arquivo é grande demais para ser uma planilha.";
}

fs::path CaminhoTemporario(const fs::path &destino) {
    fs::path temp = destino;
    temp += SufixoGravacao;
    return temp;
}

// Why a save failed, from the system's error number.
std::string TextoErroGravacao(int e) {
    if (e == EISDIR)
        return TLeituraGravacaoDados::TextoErro(101) +
               " Uma pasta tem o nome do arquivo temporário da gravação.";
    return TextoErroSistema(e);
}

// Temporary files of saves that a crash or a kill cut short, in the folder of a save. One
// younger than this may belong to a save running in another program.
constexpr auto kIdadeTemporarioAbandonado = std::chrono::minutes(1);

void RemoveTemporariosAbandonados(const fs::path &pasta) {
    std::error_code ec;
    const auto agora = fs::file_time_type::clock::now();
    for (fs::directory_iterator i(pasta.empty() ? fs::path(".") : pasta, ec), fim; !ec && i != fim;
         i.increment(ec)) {
        const fs::path &p = i->path();
        if (!p.filename().string().ends_with(SufixoGravacao)) continue;
        std::error_code e2;
        if (!fs::is_regular_file(fs::symlink_status(p, e2))) continue;
        const auto hora = fs::last_write_time(p, e2);
        if (!e2 && agora - hora > kIdadeTemporarioAbandonado) fs::remove(p, e2);
    }
}

} // namespace

// ---- The 6-byte real ---------------------------------------------------------

bool CodificaReal6(long double x, TReal6 &b) {
    if (!std::isfinite(x)) return false;
    long double a = std::fabs(x);
    if (a < MinimoReal6) {
        b = {0, 0, 0, 0, 0, 0};
        return true;
    }
    int k = 0;
    long double m = std::frexp(a, &k); // a = m * 2^k, 0.5 <= m < 1
    int e = k - 1 + 129;               // a = (2m) * 2^(k-1)
    long double f = std::nearbyint((2 * m - 1) * 0x1p39L);
    if (f >= 0x1p39L) { // rounding carried into the exponent
        f = 0;
        ++e;
    }
    if (e > 255) return false;
    auto frac = static_cast<std::uint64_t>(f);
    b[0] = static_cast<std::uint8_t>(e);
    for (int i = 1; i <= 5; ++i)
        b[i] = static_cast<std::uint8_t>(frac >> (8 * (i - 1)));
    b[5] = static_cast<std::uint8_t>((b[5] & 0x7F) | (std::signbit(x) ? 0x80 : 0));
    return true;
}

long double DecodificaReal6(const TReal6 &b) {
    if (b[0] == 0) return 0;
    std::uint64_t frac = 0;
    for (int i = 1; i <= 5; ++i)
        frac |= std::uint64_t(i == 5 ? (b[i] & 0x7F) : b[i]) << (8 * (i - 1));
    long double v = std::ldexp(1 + static_cast<long double>(frac) / 0x1p39L, int(b[0]) - 129);
    return (b[5] & 0x80) ? -v : v;
}

bool LeInicioArquivo(const fs::path &arquivo, std::size_t n, std::string &bytes) {
    bytes.clear();
    int fd = ::open(arquivo.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes.resize(n);
        std::size_t lidos = 0;
        while (lidos < n) {
            ssize_t k = ::read(fd, bytes.data() + lidos, n - lidos);
            if (k < 0 && errno == EINTR) continue;
            if (k < 0) ok = false;
            if (k <= 0) break;
            lidos += static_cast<std::size_t>(k);
        }
        bytes.resize(lidos);
    }
    ::close(fd);
    return ok;
}

// ---- Errors ------------------------------------------------------------------

TLeituraGravacaoDados::TLeituraGravacaoDados(TProgresso *progresso)
    : progresso_(progresso ? progresso : &semProgresso_) {}

std::string TLeituraGravacaoDados::TextoErro(int codigo) {
    switch (codigo) {
    case 2:
        return "Arquivo não encontrado.";
    case 3:
        return "Diretório (pasta) não encontrado(a)";
    case 4:
        return "Arquivos abertos em quantidade excessiva.";
    case 5:
        return "Acesso negado ao arquivo";
    case 6:
        return "Manipulador (\"handle\") de arquivo inválido.";
    case 12:
        return "Código de acesso a arquivo inválido.";
    case 15:
        return "Acionador (\"drive\") inválido.";
    case 100:
        return "Erro durante leitura do arquivo.";
    case 101:
        return "Erro durante gravação do arquivo.";
    case 102:
        return "Arquivo não assinalado.";
    case 103:
        return "Arquivo não está aberto.";
    case 104:
        return "Arquivo não permite escrita.";
    case 105:
        return "Arquivo não permite gravação";
    case 106:
        return "Formato numérico inválido.";
    case 150:
        return "Disco protegido contra escrita.";
    case 151:
        return "Unidade desconhecida.";
    case 152:
        return "Acionador (\"drive\") não está preparado.";
    case 153:
        return "Comando inválido.";
    case 154:
        return "Dados com defeito de gravação (CRC).";
    case 155:
        return "Estrutura de leitura inválida.";
    case 156:
        return "Erro de localização de registro (\"seek\").";
    case 157:
        return "Mídia desconhecida.";
    case 159:
        return "Erro de localização de setor.";
    case 160:
        return "Erro de leitura de dispositivo.";
    case 161:
        return "Erro de gravação em dispositivo.";
    case 162:
        return "Defeito de equipamento.";
    default:
        return "";
    }
}

std::string TLeituraGravacaoDados::NomeExibido(const fs::path &arquivo) {
    return arquivo.string();
}

void TLeituraGravacaoDados::ReportaErro(int codigo, int operacao) {
    operacao_ = operacao;
    if (codigo == 0) return;
    if (erro_ == 0)
        mensagem_ = "Erro durante processamento do arquivo: \r\n\r\n" + NomeExibido(arquivo_) +
                    "\r\n\r\n" + TextoErro(codigo);
    erro_ = codigo;
}

void TLeituraGravacaoDados::DefineErro(int codigo, std::string mensagem) {
    erro_ = codigo;
    mensagem_ = std::move(mensagem);
}

void TLeituraGravacaoDados::LerDaMemoria(std::string dados) {
    memoria_ = std::move(dados);
    daMemoria_ = true;
}

bool TLeituraGravacaoDados::LeInicio(const fs::path &arquivo, std::size_t n,
                                     std::string &bytes) const {
    if (!daMemoria_) return LeInicioArquivo(arquivo, n, bytes);
    bytes = memoria_.substr(0, n);
    return true;
}

void TLeituraGravacaoDados::LimpaErro() {
    erro_ = 0;
    mensagem_.clear();
}

// ---- Default operations --------------------------------------------------------

bool TLeituraGravacaoDados::Ler(const fs::path &, TGridzelto &, std::size_t, std::string &) {
    return false;
}
bool TLeituraGravacaoDados::Gravar(const fs::path &, TGridzelto &, const std::string &,
                                   const std::string &) {
    return false;
}
bool TLeituraGravacaoDados::VerificaFormato(const fs::path &) {
    return false;
}
bool TLeituraGravacaoDados::LerComentarios(const fs::path &, std::string &) {
    return false;
}
bool TLeituraGravacaoDados::LerResumo(const fs::path &, std::string &) {
    return false;
}

// ---- Opening and closing -------------------------------------------------------

bool TLeituraGravacaoDados::AbreLeitura(const fs::path &arquivo, std::uintmax_t limite) {
    arquivo_ = arquivo;
    operacao_ = OperacaoLeitura;
    gravando_ = false;
    dados_.clear();
    posicao_ = 0;
    if (erro_ != 0) return false;
    if (daMemoria_) {
        if (std::min<std::uintmax_t>(memoria_.size(), limite) > TamanhoMaximoArquivo) {
            DefineErro(ErroArquivoGrande, TextoArquivoGrande(arquivo));
            return false;
        }
        dados_ = memoria_.substr(
            0, static_cast<std::size_t>(std::min<std::uintmax_t>(memoria_.size(), limite)));
        return true;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    int fd = ::open(arquivo.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        ReportaErro(CodigoErrno(errno, arquivo), OperacaoLeitura);
        return false;
    }
    struct stat st {};
    int codigo = 0;
    if (::fstat(fd, &st) != 0)
        codigo = 100;
    else if (!S_ISREG(st.st_mode))
        codigo = 5;
    std::uintmax_t tamanho = codigo == 0 ? std::min<std::uintmax_t>(st.st_size, limite) : 0;
    if (codigo == 0 && tamanho > TamanhoMaximoArquivo) codigo = ErroArquivoGrande;
    if (codigo == 0) {
        dados_.resize(static_cast<std::size_t>(tamanho));
        std::size_t lidos = 0;
        while (lidos < dados_.size()) {
            ssize_t n = ::read(fd, dados_.data() + lidos, dados_.size() - lidos);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                codigo = 100;
                break;
            }
            if (n == 0) break; // the file shrank meanwhile: keep what is there
            lidos += static_cast<std::size_t>(n);
        }
        dados_.resize(lidos);
    }
    ::close(fd);
    if (codigo == ErroArquivoGrande) {
        dados_.clear();
        DefineErro(codigo, TextoArquivoGrande(arquivo));
        return false;
    }
    if (codigo != 0) {
        dados_.clear();
        ReportaErro(codigo, OperacaoLeitura);
        return false;
    }
    return true;
}

bool TLeituraGravacaoDados::CriaGravacao(const fs::path &arquivo) {
    arquivo_ = arquivo;
    operacao_ = OperacaoGravacao;
    gravando_ = true;
    dados_.clear();
    posicao_ = 0;
    if (erro_ != 0) return false;
    // A link is followed (the file it points to is replaced, the link stays), under the rules
    // of every writer of the program: only a regular file or a new name, no other user's link
    // in a shared folder, no file marked read-only.
    const TDestinoGravacao d = ResolveDestino(arquivo);
    destino_ = d.Real.empty() ? arquivo : d.Real;
    if (d.Aceito()) return true;
    int codigo = 5;
    std::string texto = TextoErro(5) + ".";
    switch (d.Recusa) {
    case TRecusaDestino::SomenteLeitura:
        texto = TextoErro(5) + ": ele está marcado como somente leitura.";
        break;
    case TRecusaDestino::Pasta:
    case TRecusaDestino::Especial:
    case TRecusaDestino::LigacaoAlheia:
        texto = TextoRecusa(d);
        break;
    default:
        codigo = CodigoErrno(d.Erro, destino_);
        texto = codigo == 2 || codigo == 3 ? TextoErro(codigo) : TextoErroSistema(d.Erro);
        break;
    }
    DefineErro(codigo, "Erro durante processamento do arquivo: \r\n\r\n" + NomeExibido(arquivo) +
                           "\r\n\r\n" + texto);
    return false;
}

bool TLeituraGravacaoDados::Fecha() {
    bool ok = erro_ == 0;
    if (gravando_ && ok) {
        RemoveTemporariosAbandonados(destino_.parent_path());
        TGravacaoSegura g(arquivo_, CaminhoTemporario(destino_).filename().string());
        ok = g.Grava(dados_) && g.Conclui();
        if (!ok)
            DefineErro(101, "Erro durante processamento do arquivo: \r\n\r\n" +
                                NomeExibido(arquivo_) + "\r\n\r\n" +
                                (g.CodigoErro() ? TextoErroGravacao(g.CodigoErro()) : g.Motivo()));
    }
    gravando_ = false;
    dados_.clear();
    dados_.shrink_to_fit();
    posicao_ = 0;
    return ok;
}

// ---- Reading -------------------------------------------------------------------

std::size_t TLeituraGravacaoDados::Posicao() const {
    return gravando_ ? dados_.size() : posicao_;
}

void TLeituraGravacaoDados::AvancaLeitura() {
    progresso_->Avanca(static_cast<double>(posicao_));
}

bool TLeituraGravacaoDados::LeBytes(void *destino, std::size_t n) {
    if (erro_ != 0) return false;
    if (gravando_ || n > dados_.size() - posicao_) {
        // Reading past the end: the rest of the file is consumed, as a
        // partial block read would.
        posicao_ = dados_.size();
        ReportaErro(gravando_ ? 103 : 100, OperacaoLeitura);
        return false;
    }
    if (n) std::memcpy(destino, dados_.data() + posicao_, n);
    posicao_ += n;
    AvancaLeitura();
    return true;
}

bool TLeituraGravacaoDados::LeByte(std::uint8_t &v) {
    return LeBytes(&v, 1);
}

bool TLeituraGravacaoDados::LeInt16(std::int16_t &v) {
    std::uint8_t b[2];
    if (!LeBytes(b, 2)) return false;
    v = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
    return true;
}

bool TLeituraGravacaoDados::LeInt32(std::int32_t &v) {
    std::uint8_t b[4];
    if (!LeBytes(b, 4)) return false;
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | b[i];
    v = static_cast<std::int32_t>(u);
    return true;
}

bool TLeituraGravacaoDados::LeReal(long double &v) {
    TReal6 b;
    if (!LeBytes(b.data(), 6)) return false;
    v = DecodificaReal6(b);
    return true;
}

bool TLeituraGravacaoDados::LeTexto(std::string &v, std::size_t maximo) {
    std::uint8_t n = 0;
    if (!LeByte(n)) return false;
    std::string bytes(n, '\0');
    if (!LeBytes(bytes.data(), n)) return false;
    if (bytes.size() > maximo) bytes.resize(maximo);
    v = DeCp1252(bytes);
    return true;
}

bool TLeituraGravacaoDados::LeData(double &v) {
    std::uint8_t b[8];
    if (!LeBytes(b, 8)) return false;
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | b[i];
    double d = std::bit_cast<double>(u);
    if (d == 0) {
        v = 0;
        return true;
    }
    double serial = d - DeslocamentoData;
    if (!(serial >= MenorSerialData && serial <= MaiorSerialData)) {
        ReportaErro(106, OperacaoLeitura);
        return false;
    }
    v = serial;
    return true;
}

bool TLeituraGravacaoDados::LeAssinatura(std::string &v) {
    std::string b(30, '\0');
    if (!LeBytes(b.data(), 30)) return false;
    v = std::move(b);
    return true;
}

bool TLeituraGravacaoDados::Posiciona(std::size_t posicao) {
    if (erro_ != 0) return false;
    if (gravando_ || posicao > dados_.size()) {
        ReportaErro(156, operacao_);
        return false;
    }
    posicao_ = posicao;
    return true;
}

// ---- Writing -------------------------------------------------------------------

bool TLeituraGravacaoDados::GravaBytes(std::string_view bytes) {
    if (erro_ != 0) return false;
    if (!gravando_) {
        ReportaErro(105, OperacaoGravacao);
        return false;
    }
    dados_.append(bytes);
    return true;
}

bool TLeituraGravacaoDados::GravaByte(std::uint8_t v) {
    char c = static_cast<char>(v);
    return GravaBytes(std::string_view(&c, 1));
}

bool TLeituraGravacaoDados::GravaInt16(std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    char b[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    return GravaBytes(std::string_view(b, 2));
}

bool TLeituraGravacaoDados::GravaInt32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return GravaBytes(std::string_view(b, 4));
}

bool TLeituraGravacaoDados::GravaReal(long double v) {
    if (erro_ != 0) return false;
    TReal6 b;
    if (!CodificaReal6(v, b)) {
        ReportaErro(106, OperacaoGravacao);
        return false;
    }
    return GravaBytes(std::string_view(reinterpret_cast<const char *>(b.data()), 6));
}

bool TLeituraGravacaoDados::GravaTexto(std::string_view v, std::size_t maximo) {
    std::string bytes = ParaCp1252(v);
    if (maximo > 255) maximo = 255;
    if (bytes.size() > maximo) bytes.resize(maximo);
    return GravaByte(static_cast<std::uint8_t>(bytes.size())) && GravaBytes(bytes);
}

bool TLeituraGravacaoDados::GravaData(double v) {
    if (erro_ != 0) return false;
    double d = 0;
    if (v != 0) {
        if (!(v >= MenorSerialData && v <= MaiorSerialData)) {
            ReportaErro(106, OperacaoGravacao);
            return false;
        }
        d = v + DeslocamentoData;
    }
    auto u = std::bit_cast<std::uint64_t>(d);
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return GravaBytes(std::string_view(b, 8));
}

} // namespace zelto
