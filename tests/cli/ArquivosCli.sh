#!/usr/bin/env bash
# Tests of the worksheet-file subcommands of zelto-cli (info, convert, exemplo), run by CTest:
#   ArquivosCli.sh CASE ZELTO_CLI SOURCE_DIR
# Every case works in a temporary folder of its own, with a label-table store of its own, and
# prints what differs before failing.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"

# A line of the human output of info.
linha_info() { "$cli" info "$1" | grep "^$2" || falha "info $1 sem a linha \"$2\""; }

# The cells of two text worksheets agree: same names, same number of lines and fields; numbers
# of the first (the data's own notation, "." as decimal separator) equal to those of the second
# (the worksheet's notation: decimal ",", "." between thousands) within 1e-9 relative; other
# fields equal as texts.
compara_celulas() {
  awk -F'\t' '
    function numero(t) {
      gsub(/\./, "", t); sub(/,/, ".", t)
      return t + 0
    }
    function e_numero(t) { return t ~ /^-?[0-9.]+(,[0-9]+)?([eE][-+]?[0-9]+)?$/ }
    NR == FNR { sub(/\r$/, ""); a[FNR] = $0; na = FNR; next }
    {
      sub(/\r$/, "")
      nb = FNR
      if (!(FNR in a)) { print "linha " FNR " sobra"; erros++; next }
      n = split(a[FNR], x, "\t"); m = split($0, y, "\t")
      if (n != m) { print "linha " FNR ": " n " campos contra " m; erros++; next }
      for (i = 1; i <= n; i++) {
        if (FNR > 1 && e_numero(x[i]) && e_numero(y[i])) {
          u = x[i] + 0; v = numero(y[i])
          d = u - v; if (d < 0) d = -d
          s = u < 0 ? -u : u; if (s < 1) s = 1
          if (d > 1e-9 * s) { print "linha " FNR ", campo " i ": " x[i] " contra " y[i]; erros++ }
        } else if (x[i] != y[i]) {
          print "linha " FNR ", campo " i ": \"" x[i] "\" contra \"" y[i] "\""; erros++
        }
      }
    }
    END { if (na != nb) { print na " linhas contra " nb; erros++ } exit erros > 0 }
  ' "$1" "$2" || falha "as células de $1 e $2 diferem"
}

case $caso in

# A native file survives native -> text -> native with the cells as shown, and native -> native
# byte for byte.
nativo)
  for nome in windsor boston; do
    q=$ex/$nome.QV3
    roda 0 convert "$q" "$tmp/a.TXT"
    roda 0 convert "$tmp/a.TXT" "$tmp/b.QV3"
    roda 0 convert "$tmp/b.QV3" "$tmp/c.TXT"
    cmp "$tmp/a.TXT" "$tmp/c.TXT" || falha "$nome: o texto mudou na volta pelo formato nativo"
    for l in "Amostragens:" "Variáveis:"; do
      [ "$(linha_info "$q" "$l")" = "$(linha_info "$tmp/b.QV3" "$l")" ] ||
        falha "$nome: \"$l\" mudou na volta pelo texto"
    done
    roda 0 convert "$q" "$tmp/d.qv3"
    cmp "$q" "$tmp/d.qv3" || falha "$nome: a cópia nativa difere do original"
  done
  ;;

# A text file survives text -> native -> text with every value; the text written reads back to
# the same native bytes.
texto)
  for nome in windsor boston; do
    roda 0 convert "$ex/$nome.TXT" "$tmp/a.QV3"
    roda 0 convert "$tmp/a.QV3" "$tmp/b.txt"
    compara_celulas "$ex/$nome.TXT" "$tmp/b.txt"
    roda 0 convert "$tmp/b.txt" "$tmp/c.QV3"
    cmp "$tmp/a.QV3" "$tmp/c.QV3" || falha "$nome: a planilha do texto gravado difere"
  done
  ;;

# The mode: ".DCR" forces the descriptive mode and ".ZEL" the inferential one on the file
# written; ".QV3" keeps the mode of the file read, through its mode byte.
modos)
  m() { linha_info "$1" "Modo:"; }
  inf="Modo: Estatística Inferencial  (Análise por Regressão)"
  des="Modo: Estatística Descritiva  (Análise por Fatores)"
  [ "$(m "$ex/windsor.QV3")" = "$inf" ] || falha "windsor.QV3 não abre no modo inferencial"
  roda 0 convert "$ex/windsor.QV3" "$tmp/a.DCR"
  [ "$(m "$tmp/a.DCR")" = "$des" ] || falha ".DCR não abre no modo descritivo"
  roda 0 convert "$tmp/a.DCR" "$tmp/b.QV3"
  [ "$(m "$tmp/b.QV3")" = "$des" ] || falha ".QV3 gravado de um .DCR perdeu o modo descritivo"
  cp "$tmp/b.QV3" "$tmp/c.ZEL"
  [ "$(m "$tmp/c.ZEL")" = "$inf" ] || falha "os mesmos bytes como .ZEL não abrem no modo inferencial"
  roda 0 convert "$tmp/b.QV3" "$tmp/d.ZEL"
  cp "$tmp/d.ZEL" "$tmp/d.QV3"
  [ "$(m "$tmp/d.QV3")" = "$inf" ] || falha ".ZEL não gravou o modo inferencial"
  roda 0 info --json "$tmp/b.QV3"
  grep -q '"mode": "descritiva"' "$tmp/out" || falha "JSON sem o modo"
  ;;

# A worksheet of the older format (one sample: price 2, area 1) under ".DCR": read in the
# descriptive mode, the independent variable a coefficient; its native copy keeps the mode.
antigo)
  {
    head -c 18 /dev/zero
    printf '\r\nSISTEMA ZELTO2\n\x1a'
    printf '\x05preco'; head -c 6 /dev/zero
    printf '\x81'; head -c 5 /dev/zero # V = 1
    printf '\x81'; head -c 5 /dev/zero # N = 1
    printf '\x04area'; head -c 7 /dev/zero
    head -c 12 /dev/zero
    printf '\x82'; head -c 5 /dev/zero # price 2
    printf '\x81'; head -c 5 /dev/zero # area 1
    head -c 132 /dev/zero               # descriptions, 0 decimals
  } >"$tmp/velho.DCR"
  roda 0 info --json "$tmp/velho.DCR"
  for esperado in '"format": "older"' '"mode": "descritiva"' '"samples": 1' '"name": "area"' \
    '"coefficient": true'; do
    grep -qF "$esperado" "$tmp/out" || falha "info do formato antigo sem $esperado: $(cat "$tmp/out")"
  done
  roda 0 convert "$tmp/velho.DCR" "$tmp/novo.QV3"
  roda 0 info --json "$tmp/novo.QV3"
  grep -qF '"mode": "descritiva"' "$tmp/out" || falha "a cópia nativa perdeu o modo descritivo"
  ;;

# The examples are made again from their data, byte for byte, with a fresh store and with one
# that already holds the yes/no table; the table lands in the store that ZELTO_TABELAS names.
exemplos)
  for nome in windsor boston; do
    for vez in 1 2; do
      roda 0 exemplo "$nome" "$ex/$nome.TXT" "$tmp/$nome.QV3"
      cmp "$ex/$nome.QV3" "$tmp/$nome.QV3" ||
        falha "examples/$nome.QV3 não é o que 'zelto-cli exemplo $nome' grava (vez $vez)"
    done
  done
  grep -c $'^\xb1Sim/N\xe3o\xb2D' "$ZELTO_TABELAS" | grep -qx 1 ||
    falha "a tabela Sim/Não não está uma vez no arquivo de tabelas"
  roda 0 exemplo windsor "$ex/windsor.TXT" "$tmp/w.QV3" --tabelas "$tmp/outra.QVT"
  [ -f "$tmp/outra.QVT" ] || falha "--tabelas não foi usado"
  # A store whose yes/no table has other labels is left alone, and nothing is written.
  printf '\xb1Sim/N\xe3o\xb2D\r\nYes\r\nNo\r\n' >"$tmp/conflito.QVT"
  cp "$tmp/conflito.QVT" "$tmp/conflito.orig"
  roda 1 exemplo windsor "$ex/windsor.TXT" "$tmp/x.QV3" --tabelas "$tmp/conflito.QVT"
  grep -q 'tem os rótulos "Yes" e "No"' "$tmp/err" || falha "mensagem: $(cat "$tmp/err")"
  cmp "$tmp/conflito.QVT" "$tmp/conflito.orig" || falha "o arquivo de tabelas foi alterado"
  [ ! -e "$tmp/x.QV3" ] || falha "gravou o exemplo com rótulos errados"
  # Data without the example's columns.
  roda 1 exemplo windsor "$ex/boston.TXT" "$tmp/x.QV3"
  grep -q "não tem as colunas numéricas do exemplo windsor" "$tmp/err" || falha "$(cat "$tmp/err")"
  ;;

# Files that cannot be read, or only in part: exit status 1, the engine's message on one line.
falhas)
  roda 1 info "$tmp/nada.QV3"
  [ "$(cat "$tmp/err")" = "Erro durante processamento do arquivo: $tmp/nada.QV3 Arquivo não encontrado." ] ||
    falha "arquivo ausente: $(cat "$tmp/err")"
  roda 1 convert "$tmp/nada.TXT" "$tmp/x.QV3"
  grep -q "Arquivo não encontrado\.$" "$tmp/err" || falha "$(cat "$tmp/err")"
  printf 'isto não é uma planilha' >"$tmp/lixo.QV3"
  roda 1 info "$tmp/lixo.QV3"
  [ "$(cat "$tmp/err")" = "Não foi possível ler arquivo LIXO.QV3 . O formato dos dados não é padrão do ZELTO." ] ||
    falha "formato desconhecido: $(cat "$tmp/err")"
  # Cut inside the columns: info shows what was read, convert writes nothing.
  head -c 20000 "$ex/windsor.QV3" >"$tmp/cortado.QV3"
  roda 1 info --json "$tmp/cortado.QV3"
  grep -q '"complete": false' "$tmp/out" || falha "info de arquivo cortado: $(cat "$tmp/out")"
  grep -q '"samples": 546' "$tmp/out" || falha "info de arquivo cortado sem as amostragens"
  [ "$(cat "$tmp/err")" = "Erro durante processamento do arquivo: $tmp/cortado.QV3 Erro durante leitura do arquivo." ] ||
    falha "arquivo cortado: $(cat "$tmp/err")"
  roda 1 convert "$tmp/cortado.QV3" "$tmp/x.TXT"
  grep -q "Nada foi gravado em $tmp/x.TXT\.$" "$tmp/err" || falha "$(cat "$tmp/err")"
  [ ! -e "$tmp/x.TXT" ] || falha "convert gravou um arquivo lido em parte"
  # A write that fails leaves the target folder as it was.
  roda 1 convert "$ex/windsor.QV3" "$tmp/sem/pasta.TXT"
  grep -q "Não foi possível criar o arquivo" "$tmp/err" || falha "$(cat "$tmp/err")"
  ;;

# Bad usage: exit status 2.
uso)
  roda 2 info
  roda 2 info "$ex/windsor.QV3" --nada
  roda 2 convert "$ex/windsor.QV3"
  roda 2 convert "$ex/windsor.QV3" "$tmp/x.XLS"
  grep -q "deve ser .QV3, .ZEL, .DCR ou .TXT" "$tmp/err" || falha "$(cat "$tmp/err")"
  [ ! -e "$tmp/x.XLS" ] || falha "gravou com extensão desconhecida"
  roda 2 exemplo nada "$ex/windsor.TXT" "$tmp/x.QV3"
  roda 2 exemplo windsor "$ex/windsor.TXT" "$tmp/x.TXT"
  ;;

*)
  falha "caso desconhecido: $caso"
  ;;
esac
exit 0
