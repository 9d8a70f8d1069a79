#!/usr/bin/env bash
# zelto-cli report … -o x.pdf, run by CTest: RelatorioPdf.sh ZELTO_CLI SOURCE_DIR
# The PDF holds as many pages as the view laid out (the count the command prints), and its text
# comes back with the accents intact. Charts are drawn as vectors: the PDF holds no picture at
# all, and the charts' own words (the right-hand title, the axis titles) come back as text.
set -uo pipefail
cli=$1
ex=$2/examples
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export ZELTO_TABELAS=$tmp/TAB_VAR.QVT XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp
falha() {
  echo "FALHA: $*" >&2
  exit 1
}
command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null || falha "poppler-utils ausente"

"$cli" report "$ex/windsor.QV3" --choose 1 -o "$tmp/x.pdf" >"$tmp/out" 2>"$tmp/err" ||
  falha "zelto-cli report saiu com $?: $(cat "$tmp/err")"
paginas=$(sed -n 's/^\([0-9][0-9]*\) páginas$/\1/p' "$tmp/out")
[ -n "$paginas" ] || falha "sem contagem de páginas: $(cat "$tmp/out")"
pdf=$(pdfinfo "$tmp/x.pdf" | sed -n 's/^Pages: *//p')
[ "$pdf" = "$paginas" ] || falha "o PDF tem $pdf páginas, a visualização $paginas"
pdftotext "$tmp/x.pdf" "$tmp/x.txt" || falha "pdftotext"
for t in "Informações do Usuário" "Estatísticas Básicas" "Análise da Variância" \
  "Não existem informações neste item do relatório."; do
  grep -qF -- "$t" "$tmp/x.txt" || falha "o texto do PDF não contém \"$t\""
done
command -v pdfimages >/dev/null || falha "poppler-utils ausente"
figuras=$(pdfimages -list "$tmp/x.pdf" | tail -n +3 | wc -l)
[ "$figuras" = 0 ] || falha "o PDF tem $figuras imagens: $(pdfimages -list "$tmp/x.pdf" | sed -n 3p)"
graficos=$(grep -c "Zelto® 32" "$tmp/x.txt")
[ "$graficos" -ge 40 ] || falha "só $graficos gráficos têm o título direito como texto"
for t in "Amostragem" "Variação (%)" "Frequência relativa (%)"; do
  grep -qF -- "$t" "$tmp/x.txt" || falha "o título de eixo \"$t\" não está no texto do PDF"
done
# A file that cannot be created fails with its name, and nothing is left behind.
"$cli" report "$ex/windsor.QV3" --choose 1 -o "$tmp/falta/x.pdf" >"$tmp/out" 2>"$tmp/err" &&
  falha "gravou numa pasta que não existe"
grep -qF "falta/x.pdf" "$tmp/err" || falha "a mensagem não nomeia o arquivo: $(cat "$tmp/err")"
echo "ok: $paginas páginas"
