// Base of every worksheet file reader and writer.
//
// A reader or writer derives from TLeituraGravacaoDados and overrides the
// operations its format supports (read, write, check format, read comments,
// read summary); the base implements them as doing nothing, and its format
// check answers false.
//
// Files are handled whole in memory. Reading loads the entire file into a
// buffer at once (a file larger than TamanhoMaximoArquivo is refused) and the
// typed primitives parse it with bounds checks: a primitive that would read
// past the end sets the error state to 100 ("Erro durante leitura do
// arquivo."). Writing fills a buffer; Fecha saves it through a temporary file
// in the target's folder that is flushed and renamed over the target, so a
// failed save never destroys the previous file. A target marked read-only is
// refused, a symbolic link is followed, and the replaced file keeps its
// permissions.
//
// Error state: Erro() holds a run-time error code (0 while all is well). Once
// it is non-zero every primitive returns false without doing anything, so a
// sequence of primitives chained with && stops at the first failure. The first
// failure also sets Mensagem() to the text the user must see:
//   "Erro durante processamento do arquivo: \r\n\r\n" + name + "\r\n\r\n" + text
// where the text comes from TextoErro (empty for codes it does not know).
// Operations may replace the message with a more specific one. Nothing here
// shows anything or throws: the front end shows Mensagem().
//
// Primitive encodings (little-endian, no padding):
//   byte   1  unsigned 8-bit
//   int16  2  signed 16-bit
//   int32  4  signed 32-bit
//   real   6  byte 0 the exponent biased by 129 (0 means the value 0), bytes
//             1..5 a 39-bit fraction, least significant byte first, bit 7 of
//             byte 5 the sign: (-1)^s * 2^(e-129) * (1 + f/2^39)
//   text   1+n  length byte n, then n Windows-1252 characters (UTF-8 inside)
//   date   8  IEEE double: the day serial + 693594 (1 January 0001 is day 1);
//             the serial 0 ("no date") is stored as 0
#pragma once

#include "common/GravacaoSegura.h"
#include "common/Progresso.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace zelto {

class TGridzelto;

// Largest file the readers load (bytes). Far above any real worksheet.
inline constexpr std::uintmax_t TamanhoMaximoArquivo = 256u * 1024u * 1024u;

// Error codes of the file layer that are no run-time error codes.
inline constexpr int ErroFormato = 10000;          // the file is not in the format (no text)
inline constexpr int ErroArquivoGrande = 10001;    // larger than TamanhoMaximoArquivo
inline constexpr int ErroGravacaoRecusada = 10002; // the writer refused the content

// A save writes NAME + this suffix in the target's folder first, then renames it over NAME.
inline constexpr std::string_view SufixoGravacao = kSufixoGravacao;

// Operation argument of ReportaErro.
inline constexpr int OperacaoLeitura = 1;
inline constexpr int OperacaoGravacao = 2;

// The 6-byte real: largest magnitude it holds (2^126 * (2 - 2^-39)) and the
// smallest non-zero one (2^-128).
inline constexpr long double MaximoReal6 = 0x1.fffffffffep+126L;
inline constexpr long double MinimoReal6 = 0x1p-128L;
using TReal6 = std::array<std::uint8_t, 6>;
// Encodes x rounded to the nearest 6-byte real. Magnitudes below MinimoReal6
// become 0. False, and b untouched, when x is not finite or
// its magnitude exceeds the largest 6-byte real after rounding.
bool CodificaReal6(long double x, TReal6 &b);
long double DecodificaReal6(const TReal6 &b);

// Offset between the day serial of the worksheet and the date of the files.
inline constexpr double DeslocamentoData = 693594.0;
// Day serials a stored date may hold: 1 January 0001 .. 31 December 9999.
inline constexpr double MenorSerialData = -693593.0;
inline constexpr double MaiorSerialData = 2958465.0;

// The first n bytes of a file (fewer when it is shorter), without loading the
// rest. False when the file cannot be opened or is no regular file.
bool LeInicioArquivo(const std::filesystem::path &arquivo, std::size_t n, std::string &bytes);

class TLeituraGravacaoDados {
  public:
    // The progress sink receives the operations' titles and steps; null: none.
    explicit TLeituraGravacaoDados(TProgresso *progresso = nullptr);
    virtual ~TLeituraGravacaoDados() = default;
    TLeituraGravacaoDados(const TLeituraGravacaoDados &) = delete;
    TLeituraGravacaoDados &operator=(const TLeituraGravacaoDados &) = delete;

    // Fills the worksheet from the file; the technical summary is cut to
    // maximoResumo characters. True when the whole file was read; false with
    // Mensagem() set otherwise (the worksheet then holds what was read).
    virtual bool Ler(const std::filesystem::path &arquivo, TGridzelto &grid,
                     std::size_t maximoResumo, std::string &resumo);
    // Writes the whole worksheet. False with Mensagem() set on failure; the
    // previous file is then untouched.
    virtual bool Gravar(const std::filesystem::path &arquivo, TGridzelto &grid,
                        const std::string &resumo, const std::string &comentarios);
    // Whether this class can read the file.
    virtual bool VerificaFormato(const std::filesystem::path &arquivo);
    // The user comments only.
    virtual bool LerComentarios(const std::filesystem::path &arquivo, std::string &texto);
    // The technical summary only.
    virtual bool LerResumo(const std::filesystem::path &arquivo, std::string &texto);
    // Sets the error state to the code and, on the first error, the message
    // "Erro durante processamento do arquivo: ..." (operacao: 1 reading, 2 writing).
    virtual void ReportaErro(int codigo, int operacao);

    int Erro() const { return erro_; }
    const std::string &Mensagem() const { return mensagem_; }
    // Clears the error state and the message.
    void LimpaErro();

    // From now on every file this object opens for reading, and every format
    // check made through LeInicio, sees these bytes instead of the disk; the
    // name given still appears in the messages. For the fuzz targets and for
    // data that never was a file.
    void LerDaMemoria(std::string dados);

    // The text of a run-time error code; empty for codes without one.
    static std::string TextoErro(int codigo);
    // The file name as the messages show it.
    static std::string NomeExibido(const std::filesystem::path &arquivo);

  protected:
    // ---- Opening and closing -------------------------------------------------
    // Loads the whole file, or only its first `limite` bytes. On failure sets
    // the error state (2 missing file, 3 missing folder, 5 access denied or not
    // a regular file, 100 read error, ErroArquivoGrande when the file exceeds
    // TamanhoMaximoArquivo and more than that was asked) and returns false.
    bool AbreLeitura(const std::filesystem::path &arquivo,
                     std::uintmax_t limite = TamanhoMaximoArquivo + 1);
    // Starts a file to write: checks that a file can be created in the
    // target's folder (error state as for AbreLeitura) and that an existing
    // target is a regular file not marked read-only (error 5), and empties the
    // buffer. A symbolic link is followed: the file it names is the target.
    bool CriaGravacao(const std::filesystem::path &arquivo);
    // Reading: releases the buffer. Writing: removes the temporary files that
    // saves cut short left in the folder (older than a minute), then saves the
    // buffer through a temporary file that keeps the target's permissions
    // (error 101 when that fails, the message saying why from the system's
    // error; the target is then untouched). Without a pending error; does
    // nothing but release after an error.
    bool Fecha();

    // ---- Reading -------------------------------------------------------------
    bool LeBytes(void *destino, std::size_t n);
    bool LeByte(std::uint8_t &v);
    bool LeInt16(std::int16_t &v);
    bool LeInt32(std::int32_t &v);
    bool LeReal(long double &v);
    // A stored text longer than maximo characters is cut to maximo.
    bool LeTexto(std::string &v, std::size_t maximo = 255);
    // A date outside years 1..9999 (or not a number) sets error 106.
    bool LeData(double &v);
    // The first 30 bytes, as they are.
    bool LeAssinatura(std::string &v);
    // The first n bytes of the file (or of the bytes given to LerDaMemoria),
    // without touching the error state. False when it cannot be opened.
    bool LeInicio(const std::filesystem::path &arquivo, std::size_t n, std::string &bytes) const;
    // The bytes loaded by AbreLeitura (for readers that parse them otherwise).
    std::string_view Dados() const { return dados_; }

    // Moves the read position; beyond the end sets error 156.
    bool Posiciona(std::size_t posicao);

    std::size_t Posicao() const;
    std::size_t Tamanho() const { return dados_.size(); }
    std::size_t Restante() const { return Tamanho() - Posicao(); }
    bool FimArquivo() const { return Posicao() >= Tamanho(); }

    // ---- Writing -------------------------------------------------------------
    bool GravaBytes(std::string_view bytes);
    bool GravaByte(std::uint8_t v);
    bool GravaInt16(std::int16_t v);
    bool GravaInt32(std::int32_t v);
    // A value the 6-byte real cannot hold sets error 106.
    bool GravaReal(long double v);
    // UTF-8 text written in Windows-1252, cut to maximo characters.
    bool GravaTexto(std::string_view v, std::size_t maximo = 255);
    // A serial outside years 1..9999 (or not a number) sets error 106.
    bool GravaData(double v);

    // Sets the error state and replaces the message by a text of the caller.
    void DefineErro(int codigo, std::string mensagem);

    TProgresso &Progresso() { return *progresso_; }
    // Tells the progress sink where reading stands (the bytes read so far).
    void AvancaLeitura();

    std::filesystem::path arquivo_;
    int operacao_ = OperacaoLeitura;
    // The file a save replaces: arquivo_ with its symbolic links followed.
    std::filesystem::path destino_;

  private:
    TProgresso semProgresso_;
    TProgresso *progresso_;
    int erro_ = 0;
    std::string mensagem_;
    std::string dados_; // the file read, or the bytes written so far
    std::size_t posicao_ = 0;
    bool gravando_ = false;
    bool daMemoria_ = false;
    std::string memoria_;
};

} // namespace zelto
