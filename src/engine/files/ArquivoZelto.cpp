#include "files/ArquivoZelto.h"

#include "common/Datas.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "worksheet/Gridzelto.h"
#include "worksheet/TabelasVariaveis.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zelto {

namespace fs = std::filesystem;

namespace {

// Each row record takes 3 bytes: never make room for more rows than the rest
// of the file could describe.
constexpr std::size_t kBytesRegistroLinha = 3;

// x rounded to 10 significant digits.
long double Arredonda10(long double x) {
    if (x == 0 || !std::isfinite(x)) return x;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 9);
    long double y = x;
    std::from_chars(buf, r.ptr, y);
    return y;
}

// The label of a qualitative cell: the first entry whose value, taken at 10
// significant digits, lies within 1e-10 of the cell's value.
struct TRotuladorQualitativo {
    explicit TRotuladorQualitativo(const std::vector<TObjetoValor> &tabela) : tabela_(tabela) {
        valores_.reserve(tabela.size());
        for (const TObjetoValor &e : tabela)
            valores_.push_back(Arredonda10(e.Valor));
    }
    std::string Rotulo(long double x) const {
        long double y = Arredonda10(x);
        for (std::size_t i = 0; i < valores_.size(); ++i)
            if (std::fabs(valores_[i] - y) < 1e-10L) return tabela_[i].Rotulo;
        return "";
    }
    const std::vector<TObjetoValor> &tabela_;
    std::vector<long double> valores_;
};

bool MesmaTabela(const TTabelaQualitativa &a, const TTabelaQualitativa &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Rotulo != b[i].Rotulo || !(std::fabs(a[i].Valor - b[i].Valor) < 0.001L))
            return false;
    return true;
}

std::string SemDigitosFinais(std::string nome) {
    while (!nome.empty() && nome.back() >= '0' && nome.back() <= '9')
        nome.pop_back();
    return nome;
}

// Removes a column that was read in part: cells, header, variable, format.
void ApagaColuna(TGridzelto &grid, int c, int linhas) {
    for (int r = 1; r <= linhas && r < grid.RowCount(); ++r)
        grid.AtribuiCelula(c, r, std::string());
    grid.AtribuiCelula(c, 0, TGridzelto::RotuloPadraoColuna(c));
    grid.DefineVariavel(c, std::nullopt);
    grid.DefineFormato(c, TDataFormat{});
    grid.DefineLarguraColuna(c, TGridzelto::kLarguraPadrao);
}

// The variable a used column without one is written with: comments.
TVariavel VariavelComentario(const TGridzelto &grid, int c) {
    TVariavel v;
    v.Nome = grid.Celula(c, 0);
    v.Tipo = tvComentario;
    v.Usada = false;
    v.Alinhamento = alEsquerda;
    return v;
}

std::int16_t Int16Limitado(int x) {
    return static_cast<std::int16_t>(std::clamp(x, 0, 32767));
}

} // namespace

TArquivoZelto::TArquivoZelto(TTabelasVariaveis *tabelas, TProgresso *progresso)
    : TLeituraGravacaoDados(progresso), tabelas_(tabelas) {}

bool TArquivoZelto::VerificaFormato(const fs::path &arquivo) {
    std::string inicio;
    return LeInicio(arquivo, AssinaturaZelto.size() + 2, inicio) &&
           inicio.size() > AssinaturaZelto.size() + 1 && inicio.starts_with(AssinaturaZelto);
}

bool TArquivoZelto::GravaAssinatura() {
    return GravaBytes(AssinaturaZelto);
}

// ---- Merging the file's tables into the store ---------------------------------

std::string TArquivoZelto::IncorporaQualitativa(const std::string &nomeArquivo,
                                                const std::vector<TObjetoValor> &tabela) {
    if (!tabelas_ || nomeArquivo.empty()) return nomeArquivo;
    std::string nome = TTabelasVariaveis::NomeNormalizado(nomeArquivo);
    if (!tabelas_->Existe(nome, TipoTabela::Qualitativa)) {
        tabelas_->Acrescenta(nome, tabela);
        return nome;
    }
    // A table of that name exists: the base name, then base + 1, 2, 3 ...; the
    // first that is free or holds the same table is taken.
    const std::string base = SemDigitosFinais(nome);
    for (long k = base.empty() ? 1 : 0;; ++k) {
        std::string candidato = k == 0 ? base : base + std::to_string(k);
        if (TamanhoCp1252(candidato) > TamanhoMaximoNomeTabela) return nome;
        if (!tabelas_->Existe(candidato, TipoTabela::Qualitativa)) {
            tabelas_->Acrescenta(candidato, tabela);
            return candidato;
        }
        auto existente = tabelas_->CarregaQualitativa(candidato);
        if (existente && MesmaTabela(*existente, tabela)) return candidato;
    }
}

void TArquivoZelto::IncorporaDicotomica(const std::string &nomeArquivo,
                                        const std::string &verdadeiro, const std::string &falso) {
    if (!tabelas_ || nomeArquivo.empty()) return;
    std::string nome = TTabelasVariaveis::NomeNormalizado(nomeArquivo);
    if (!tabelas_->Existe(nome, TipoTabela::Dicotomica))
        tabelas_->Acrescenta(nome, TTabelaDicotomica{verdadeiro, falso});
}

// ---- Reading ---------------------------------------------------------------------

bool TArquivoZelto::LeColuna(TGridzelto &grid, int c, int linhas) {
    TVariavel v;
    std::uint8_t usada = 0, flags = 0, alinhamento = 0, tipo = 0;
    std::int16_t largura = 0;
    if (!(LeTexto(v.Nome) && LeTexto(v.Descricao) && LeByte(usada) && LeByte(flags) &&
          LeByte(alinhamento) && LeByte(tipo) && LeInt16(largura)))
        return false;
    if (tipo > tvComentario) {
        ReportaErro(155, OperacaoLeitura);
        return false;
    }
    v.Usada = usada != 0;
    v.Dependente = (flags & 0x0F) != 0;
    v.CoeficienteHomogeneizacao = ((flags >> 4) ^ 1) != 0;
    v.Alinhamento = alinhamento;
    v.Tipo = static_cast<TipoVariavel>(tipo);

    TDataFormat formato;
    std::vector<TObjetoValor> tabela; // qualitative: the entries as the file has them
    std::uint8_t casas = 0, milhar = 0;
    switch (v.Tipo) {
    case tvNumerica:
        if (!(LeByte(casas) && LeByte(milhar))) return false;
        v.CasasDecimais = casas;
        v.PontosDeMilhar = milhar != 0;
        formato.Editor = teReal;
        break;
    case tvQualitativa: {
        std::uint8_t n = 0;
        if (!(LeTexto(v.Tabela) && LeByte(n))) return false;
        tabela.reserve(n);
        for (int i = 0; i < n; ++i) {
            TObjetoValor e;
            if (!(LeTexto(e.Rotulo) && LeReal(e.Valor))) return false;
            tabela.push_back(std::move(e));
        }
        v.Tabela = IncorporaQualitativa(v.Tabela, tabela);
        formato.Editor = teLista;
        for (const TObjetoValor &e : tabela)
            if (!e.Rotulo.empty()) formato.Itens.push_back(e);
        break;
    }
    case tvDicotomica: {
        std::string verdadeiro, falso;
        if (!(LeTexto(v.Tabela) && LeTexto(v.Rotulos) && LeTexto(verdadeiro) && LeTexto(falso)))
            return false;
        IncorporaDicotomica(v.Tabela, verdadeiro, falso);
        formato.Editor = teCaixaMarcacao;
        break;
    }
    case tvCalculada:
        if (!(LeByte(casas) && LeByte(milhar) && LeTexto(v.Equacao) && LeTexto(v.EquacaoAuxiliar)))
            return false;
        v.CasasDecimais = casas;
        v.PontosDeMilhar = milhar != 0;
        formato.Editor = teTexto;
        break;
    case tvData: {
        std::uint8_t forma = 0;
        double referencia = 0;
        if (!(LeByte(forma) && LeData(referencia))) return false;
        if (forma > tdMesAno) {
            ReportaErro(155, OperacaoLeitura);
            return false;
        }
        v.TipoData = forma;
        v.DataReferencia = referencia;
        formato.Editor = teData;
        break;
    }
    default:
        formato.Editor = teTexto;
        break;
    }
    grid.DefineFormato(c, std::move(formato));
    grid.DefineVariavel(c, v);
    if (largura > 0) grid.DefineLarguraColuna(c, largura);
    grid.AtribuiCelula(c, 0, v.Nome);

    if (v.Tipo == tvCalculada) return true; // recomputed after reading
    TRotuladorQualitativo rotulador(tabela);
    for (int r = 1; r <= linhas; ++r) {
        std::string texto;
        switch (v.Tipo) {
        case tvNumerica: {
            long double x = 0;
            if (!LeReal(x)) return false;
            texto = grid.TextoCelulaDeValor(c, x);
            break;
        }
        case tvQualitativa: {
            long double x = 0;
            if (!LeReal(x)) return false;
            texto = rotulador.Rotulo(x);
            break;
        }
        case tvDicotomica: {
            std::uint8_t b = 0;
            if (!LeByte(b)) return false;
            texto = b ? "TRUE" : "FALSE";
            break;
        }
        case tvData: {
            double serial = 0;
            if (!LeData(serial)) return false;
            texto = TextoData(std::lround(serial), v.TipoData);
            break;
        }
        default:
            if (!LeTexto(texto)) return false;
            break;
        }
        grid.AtribuiCelula(c, r, std::move(texto));
    }
    return true;
}

bool TArquivoZelto::Ler(const fs::path &arquivo, TGridzelto &grid, std::size_t maximoResumo,
                        std::string &resumo) {
    LimpaErro();
    ComentariosUsuario.clear();
    resumo.clear();
    const std::string nome = NomeExibido(arquivo);
    if (!VerificaFormato(arquivo)) {
        arquivo_ = arquivo;
        ReportaErro(ErroFormato, OperacaoLeitura);
        DefineErro(ErroFormato, "O arquivo " + nome + " não está no formato" + "\r\n" +
                                    " dos arquivos lidos pelo ZELTO.");
        return false;
    }
    if (!AbreLeitura(arquivo)) {
        if (Erro() != ErroArquivoGrande)
            DefineErro(Erro(), "Não foi possível abrir o arquivo " + nome + ".");
        return false;
    }
    Progresso().Inicia("Lendo planilha . . .", 0, static_cast<double>(Tamanho()), false);
    Progresso().TextoAuxiliar("(" + nome + ")");
    grid.NomeArquivo = nome;

    // Header.
    std::string assinatura;
    std::int16_t c16 = 0, r16 = 0, altura = 0;
    bool ok = LeAssinatura(assinatura) && LeTexto(ComentariosUsuario) && LeInt16(c16) &&
              LeInt16(r16) && LeInt16(altura);
    const int colunas = ok ? (c16 & 0xFF) : 0;
    const int linhas = ok ? static_cast<std::uint16_t>(r16) : 0;
    if (ok && altura > 0) grid.AlturaLinha = altura;
    int linhasGrade =
        static_cast<int>(std::min<std::size_t>(linhas, Restante() / kBytesRegistroLinha));
    if (int falta = std::max(linhasGrade + 2, 41) - grid.RowCount(); falta > 0)
        grid.AcrescentaLinhas(falta);
    if (int falta = std::max(colunas + 2, 21) - grid.ColCount(); falta > 0)
        grid.AcrescentaColunas(falta);

    // Row records.
    int linhasLidas = 0;
    for (int r = 1; ok && r <= linhas; ++r) {
        std::int16_t numero = 0;
        std::uint8_t flags = 0;
        if (!(LeInt16(numero) && LeByte(flags))) break;
        grid.AtribuiCelula(0, r, std::to_string(static_cast<std::uint16_t>(numero)));
        grid.AmostragemCriada(r).Desconsiderada = flags != 0;
        linhasLidas = r;
    }
    // Reading stopped before the columns: keep the rows read, no column.
    bool parcial = !ok || linhasLidas < linhas;
    grid.DefineLinhasUsadas(linhasLidas);
    grid.DefineColunasUsadas(parcial ? 0 : colunas);

    // Column records. A column cut short is removed.
    for (int c = 1; !parcial && c <= colunas; ++c) {
        if (!LeColuna(grid, c, linhas)) {
            ApagaColuna(grid, c, linhas);
            grid.DefineColunasUsadas(c - 1);
            parcial = true;
        }
    }

    if (!parcial) {
        // Subject property.
        std::int16_t p = 0;
        grid.ValoresObjeto.clear();
        if (LeInt16(p)) {
            for (int i = 0; i < static_cast<std::uint16_t>(p); ++i) {
                std::string linha;
                if (!LeTexto(linha)) break;
                grid.ValoresObjeto.push_back(std::move(linha));
            }
        }
        auto leNome = [this](TIdentificacaoObjeto::Nome &n) {
            return LeTexto(n.Texto) && LeTexto(n.Unidade) && LeInt16(n.Genero) &&
                   LeInt16(n.PosicaoUnidade);
        };
        TIdentificacaoObjeto &id = grid.IdentificacaoObjeto;
        if (leNome(id.Objeto) && leNome(id.Caracteristica) && leNome(id.ValorAvaliado) &&
            LeReal(id.Multiplicador) && LeTexto(resumo, maximoResumo) && !FimArquivo()) {
            std::uint8_t modo = 0;
            if (LeByte(modo)) {
                if (modo == ModoArquivoDescritivo) grid.Modo.Inferencial = false;
                if (modo == ModoArquivoInferencial) grid.Modo.Inferencial = true;
            }
        }
    }

    const bool completo = Erro() == 0;
    Fecha();
    grid.DefineModificada(parcial);
    grid.RecalcularTudo();
    Progresso().Termina();
    return completo;
}

bool TArquivoZelto::LerComentarios(const fs::path &arquivo, std::string &texto) {
    LimpaErro();
    texto.clear();
    std::string assinatura;
    bool ok = AbreLeitura(arquivo, AssinaturaZelto.size() + 256) && LeAssinatura(assinatura) &&
              LeTexto(texto);
    Fecha();
    return ok;
}

bool TArquivoZelto::LerResumo(const fs::path &arquivo, std::string &texto) {
    LimpaErro();
    texto.clear();
    if (!VerificaFormato(arquivo)) return false;
    std::int32_t inicio = 0;
    bool ok = AbreLeitura(arquivo) && Posiciona(Tamanho() - 4) && LeInt32(inicio);
    if (ok && inicio < 0) {
        ReportaErro(156, OperacaoLeitura);
        ok = false;
    }
    ok = ok && Posiciona(static_cast<std::size_t>(inicio)) && LeTexto(texto, 255);
    Fecha();
    if (!ok) {
        texto.clear();
        return false;
    }
    for (std::size_t i = 0; i < texto.size(); ++i)
        if (texto[i] == '\r' && (i + 1 >= texto.size() || texto[i + 1] != '\n')) {
            texto.clear();
            break;
        }
    return true;
}

// ---- Writing ---------------------------------------------------------------------

bool TArquivoZelto::Recusa(const std::string &motivo) {
    DefineErro(ErroGravacaoRecusada, "A planilha não foi gravada no arquivo " +
                                         NomeExibido(arquivo_) + ".\r\n\r\n" + motivo);
    return false;
}

bool TArquivoZelto::GravaTextoVerificado(std::string_view texto, const std::string &onde) {
    if (Erro() != 0) return false;
    if (std::size_t n = TamanhoCp1252(texto); n > 255)
        return Recusa("O texto " + onde + " tem " + std::to_string(n) +
                      " caracteres; o arquivo guarda no máximo 255.");
    return GravaTexto(texto);
}

bool TArquivoZelto::GravaRealVerificado(long double x, const std::string &onde) {
    if (Erro() != 0) return false;
    TReal6 b;
    if (!CodificaReal6(x, b))
        return Recusa("O valor " + onde + " (" + FormatoGeral(x) +
                      ") está fora dos limites que o arquivo pode guardar (até 1,7E38 em valor "
                      "absoluto).");
    return GravaReal(x);
}

bool TArquivoZelto::GravaColuna(TGridzelto &grid, int c, int colunas, int linhas) {
    const TVariavel *atual = grid.Variavel(c);
    TVariavel v = atual && atual->Tipo <= tvComentario ? *atual : VariavelComentario(grid, c);
    const std::string coluna = "da coluna " + std::to_string(c) + " (\"" + v.Nome + "\")";
    std::uint8_t flags = static_cast<std::uint8_t>((v.Dependente ? 1 : 0) |
                                                   ((v.CoeficienteHomogeneizacao ? 0 : 1) << 4));
    if (!(GravaTextoVerificado(v.Nome, "do nome " + coluna) &&
          GravaTextoVerificado(v.Descricao, "da descrição " + coluna) && GravaByte(v.Usada) &&
          GravaByte(flags) && GravaByte(v.Alinhamento) && GravaByte(v.Tipo) &&
          GravaInt16(Int16Limitado(grid.LarguraColuna(c)))))
        return false;

    // Kind header.
    std::vector<TObjetoValor> entradas;
    switch (v.Tipo) {
    case tvNumerica:
        if (!(GravaByte(v.CasasDecimais) && GravaByte(v.PontosDeMilhar))) return false;
        break;
    case tvQualitativa: {
        // The store's table up to its first entry without a label; the
        // column's own entries when the store lacks it.
        auto daLoja = tabelas_ ? tabelas_->CarregaQualitativa(v.Tabela) : std::nullopt;
        if (daLoja) {
            for (TObjetoValor &e : *daLoja) {
                if (e.Rotulo.empty()) break;
                entradas.push_back(std::move(e));
            }
        } else {
            entradas = grid.Formato(c).Itens;
        }
        if (entradas.size() > 255)
            return Recusa("A tabela \"" + v.Tabela + "\" " + coluna + " tem " +
                          std::to_string(entradas.size()) +
                          " itens; o arquivo guarda no máximo 255 itens por tabela.");
        if (!(GravaTextoVerificado(v.Tabela, "do nome da tabela " + coluna) &&
              GravaByte(static_cast<std::uint8_t>(entradas.size()))))
            return false;
        for (const TObjetoValor &e : entradas)
            if (!(GravaTextoVerificado(e.Rotulo, "do item \"" + e.Rotulo + "\" da tabela \"" +
                                                     v.Tabela + "\"") &&
                  GravaRealVerificado(e.Valor, "do item \"" + e.Rotulo + "\" da tabela \"" +
                                                   v.Tabela + "\"")))
                return false;
        break;
    }
    case tvDicotomica: {
        TTabelaDicotomica rotulos;
        auto daLoja = tabelas_ ? tabelas_->CarregaDicotomica(v.Tabela) : std::nullopt;
        if (daLoja) {
            rotulos = *daLoja;
        } else {
            auto partes = Divide(v.Rotulos, '|');
            rotulos[0] = partes[0];
            if (partes.size() > 1) rotulos[1] = partes[1];
        }
        if (!(GravaTextoVerificado(v.Tabela, "do nome da tabela " + coluna) &&
              GravaTextoVerificado(v.Rotulos, "dos rótulos " + coluna) &&
              GravaTextoVerificado(rotulos[0], "do rótulo verdadeiro " + coluna) &&
              GravaTextoVerificado(rotulos[1], "do rótulo falso " + coluna)))
            return false;
        break;
    }
    case tvCalculada:
        if (!(GravaByte(v.CasasDecimais) && GravaByte(v.PontosDeMilhar) &&
              GravaTextoVerificado(v.Equacao, "da fórmula " + coluna) &&
              GravaTextoVerificado(v.EquacaoAuxiliar, "da fórmula auxiliar " + coluna)))
            return false;
        break;
    case tvData:
        if (!(GravaByte(v.TipoData) && GravaData(v.DataReferencia))) return false;
        break;
    default:
        break;
    }

    // Cells.
    if (v.Tipo == tvCalculada) return true;
    const int anoReferencia = DataDeSerial(static_cast<long>(v.DataReferencia)).ano;
    const double total = double(colunas + 1) * double(linhas + 1);
    for (int r = 1; r <= linhas; ++r) {
        const std::string &texto = grid.Celula(c, r);
        const std::string celula = "da célula " + coluna + ", linha " + std::to_string(r);
        bool ok = true;
        switch (v.Tipo) {
        case tvNumerica:
            ok = GravaRealVerificado(grid.ValorCelula(c, r), celula);
            break;
        case tvQualitativa: {
            // The value of the label in the entries written, so it reads back.
            auto e = std::find_if(entradas.begin(), entradas.end(), [&](const TObjetoValor &x) {
                return IguaisSemCaixa(x.Rotulo, texto);
            });
            ok = GravaRealVerificado(e != entradas.end() ? e->Valor : grid.ValorCelula(c, r),
                                     celula);
            break;
        }
        case tvDicotomica:
            ok = GravaByte(texto == "TRUE" ? 1 : 0);
            break;
        case tvData:
            ok = GravaData(static_cast<double>(zelto::LeData(texto, v.TipoData, anoReferencia)));
            break;
        default:
            ok = GravaTextoVerificado(texto, celula);
            break;
        }
        if (!ok) return false;
        Progresso().Avanca(std::round((double(c - 1) * linhas + r) * 100.0 / total));
    }
    return true;
}

bool TArquivoZelto::Gravar(const fs::path &arquivo, TGridzelto &grid, const std::string &resumo,
                           const std::string &comentarios) {
    LimpaErro();
    const std::string nome = NomeExibido(arquivo);
    arquivo_ = arquivo;
    const int colunas = grid.ColunasUsadas();
    const int linhas = grid.LinhasUsadas();
    if (colunas > 255)
        return Recusa("A planilha tem " + std::to_string(colunas) +
                      " colunas usadas; o arquivo guarda no máximo 255 colunas.");
    if (grid.ValoresObjeto.size() > 65535)
        return Recusa("O objeto sob avaliação tem valores demais para o arquivo.");
    if (!CriaGravacao(arquivo)) {
        // The reason first, then what it means for the user.
        DefineErro(Erro(), Mensagem() + "\r\n\r\nNão foi possível criar o arquivo " + nome + ".");
        return false;
    }
    Progresso().Inicia("Gravando planilha . . .", 0, 110, false);
    Progresso().TextoAuxiliar("(" + nome + ")");

    bool ok = GravaAssinatura() && GravaTextoVerificado(comentarios, "dos comentários") &&
              GravaInt16(static_cast<std::int16_t>(colunas)) &&
              GravaInt16(static_cast<std::int16_t>(static_cast<std::uint16_t>(linhas))) &&
              GravaInt16(Int16Limitado(grid.AlturaLinha));
    Progresso().Avanca(2);
    for (int r = 1; ok && r <= linhas; ++r) {
        long long numero = -1;
        const std::string &texto = grid.Celula(0, r);
        if (!ConverteInteiro(texto, numero) || numero < 0 || numero > 65535) {
            ok = Recusa("O número da amostragem da linha " + std::to_string(r) + " (\"" + texto +
                        "\") não cabe no arquivo, que guarda números de 0 a 65535. Renumere as "
                        "amostragens e grave novamente.");
            break;
        }
        ok = GravaInt16(static_cast<std::int16_t>(static_cast<std::uint16_t>(numero))) &&
             GravaByte(grid.Desconsiderada(r) ? 1 : 0);
    }
    Progresso().Avanca(4);
    for (int c = 1; ok && c <= colunas; ++c)
        ok = GravaColuna(grid, c, colunas, linhas);

    ok = ok && GravaInt16(static_cast<std::int16_t>(
                   static_cast<std::uint16_t>(grid.ValoresObjeto.size())));
    for (std::size_t i = 0; ok && i < grid.ValoresObjeto.size(); ++i)
        ok = GravaTextoVerificado(grid.ValoresObjeto[i], "do valor do objeto sob avaliação \"" +
                                                             grid.ValoresObjeto[i] + "\"");
    auto gravaNome = [this](const TIdentificacaoObjeto::Nome &n) {
        return GravaTextoVerificado(n.Texto, "da identificação do objeto") &&
               GravaTextoVerificado(n.Unidade, "da identificação do objeto") &&
               GravaInt16(n.Genero) && GravaInt16(n.PosicaoUnidade);
    };
    const TIdentificacaoObjeto &id = grid.IdentificacaoObjeto;
    ok = ok && gravaNome(id.Objeto) && gravaNome(id.Caracteristica) &&
         gravaNome(id.ValorAvaliado) &&
         GravaRealVerificado(id.Multiplicador, "do multiplicador do objeto sob avaliação");
    // The summary is rebuilt from the report configuration: cut to fit.
    const auto inicioResumo = static_cast<std::int32_t>(Posicao());
    ok = ok && GravaTexto(resumo, 255) &&
         GravaByte(grid.Modo.Inferencial ? ModoArquivoInferencial : ModoArquivoDescritivo) &&
         GravaInt32(inicioResumo);

    ok = Fecha() && ok;
    if (ok) {
        // The file holds used columns without a variable as comment columns:
        // the worksheet now does the same.
        for (int c = 1; c <= colunas; ++c) {
            const TVariavel *v = grid.Variavel(c);
            if (v && v->Tipo <= tvComentario) continue;
            grid.DefineFormato(c, TDataFormat{teTexto, {}});
            grid.DefineVariavel(c, VariavelComentario(grid, c));
        }
        grid.NomeArquivo = nome;
        grid.DefineModificada(false);
        Progresso().Avanca(110);
    }
    Progresso().Termina();
    return ok;
}

} // namespace zelto
