#!/usr/bin/env bash
# The report's sentences as a valuer signs them, read from the plain-text export of zelto-cli
# report; run by CTest:
#   LaudoCli.sh CASE ZELTO_CLI SOURCE_DIR
# windsor, boston: the whole report against its golden file in tests/data/report (the date of the
#   day and the runs of blanks that lay out the columns are set aside; ZELTO_GRAVA_GOLDEN=1
#   rewrites the golden file instead, for review of the difference);
# vereditos: each verdict rule on the case that shows it.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp
cd "$fonte" || falha "sem $fonte"

tem() { grep -qF -- "$2" "$1" || falha "$1 não contém \"$2\""; }
nao_tem() { ! grep -qF -- "$2" "$1" || falha "$1 contém \"$2\""; }
# The lines of the item titled $2 up to the title $3 of the next item printed (to the end
# without $3), to read one item's sentences apart from the others'.
item() { if [ $# -gt 2 ]; then sed -n "/^$2\$/,/^$3\$/p" "$1"; else sed -n "/^$2\$/,\$p" "$1"; fi; }
# The value after "\t: " of the labelled line starting with LABEL.
rotulado() { grep -m1 "^$2" "$1" | sed 's/.*\t: //'; }
normaliza() { sed -E 's/^Data: [0-9]{2}\/[0-9]{2}\/[0-9]{4}$/Data: (hoje)/; s/\[figura [0-9]+ x [0-9]+\]/[figura]/; s/[ \t]+/ /g; s/ $//' "$1"; }

golden() {
  local nome=$1
  shift
  roda 0 report "$@" -o "$tmp/$nome.txt"
  local g=$fonte/tests/data/report/laudo-$nome.txt
  if [ "${ZELTO_GRAVA_GOLDEN:-}" = 1 ]; then
    sed -E 's/^Data: [0-9]{2}\/[0-9]{2}\/[0-9]{4}$/Data: (hoje)/' "$tmp/$nome.txt" >"$g"
    return
  fi
  diff <(normaliza "$g") <(normaliza "$tmp/$nome.txt") >"$tmp/diff" ||
    falha "o relatório difere de $g:
$(head -40 "$tmp/diff")"
}

case $caso in
windsor)
  golden windsor examples/windsor.QV3 --choose 1
  ;;
boston)
  golden boston examples/boston.QV3 --model "medv=2,crim=1,rm=4,lstat=2"
  ;;
vereditos)
  modelo=(examples/boston.QV3 --model "medv=2,crim=1,rm=4,lstat=2")
  # A precision limit of 30 % marked by the norm, extrapolation not admitted, and the outlier
  # criterion "Média" of 30 %.
  printf '[Geral]\r\nDcr=NBR 14653-2\r\nstcc=20\r\ncals=0.3\r\nnamp=1\r\ncena=0\r\ncritSan=1\r\nparmSan=3000\r\n' >"$tmp/norma.NRM"

  # Precision (item 52): judged on E(medv), 2,60 % wide, within 30 %; the prediction row, 52 %
  # wide, says what it is and is not judged.
  roda 0 report "${modelo[@]}" --significance "$tmp/norma.NRM" --items 36,51,52 -o "$tmp/n.txt"
  item "$tmp/n.txt" "Intervalos de Confiança" >"$tmp/52"
  tem "$tmp/52" "Valor estimado (predição)"
  tem "$tmp/52" "• E(medv) possui uma precisão dentro do limite de 30% em torno do valor central da estimativa."
  nao_tem "$tmp/52" "precisão superior"
  tem "$tmp/52" "Segundo os critérios da NBR 14653-2:"
  # "Não Admitida": the estimates at the sample limits (crim −65,71 %) are not approved.
  item "$tmp/n.txt" "Avaliação da Extrapolação" "Intervalos de Confiança" >"$tmp/51"
  grep -E '^crim .*-65,71% +Não se aplica$' "$tmp/51" >/dev/null || falha "crim em 51: $(grep '^crim' "$tmp/51")"
  [ "$(grep -c 'Não se aplica$' "$tmp/51")" = 3 ] || falha "terceira tabela de 51: $(cat "$tmp/51")"
  tem "$tmp/51" "Como as extrapolações não são admitidas, não há variação admitida para as estimativas nos limites amostrais"
  # "Média" in the inferential mode: residuals have mean 0, so 30 % of it flagged all 506
  # samples; it is read as 2 standard deviations, as the search's sanitation reads it.
  item "$tmp/n.txt" "Presença de Outliers" "Avaliação da Extrapolação" >"$tmp/36"
  tem "$tmp/36" "Intervalo de +/- 2,00 desvios padrões em torno da média."
  tem "$tmp/36" "em seu lugar é usado o critério de desvios padrões."
  tem "$tmp/36" "Foram encontradas 28 amostragens fora do intervalo."
  roda 0 report examples/windsor.QV3 --choose 1 --significance "$tmp/norma.NRM" --items 3,36 -o "$tmp/m.txt"
  contagem=$(item "$tmp/m.txt" "Presença de Outliers" | sed -n 's/^Foram encontradas \([0-9]*\) amostragens.*/\1/p')
  coluna=$(awk '/^Nº Modelo/ {getline; print $8; exit}' "$tmp/m.txt") # 1, r, r² aj., F, "11 em 11"
  [ -n "$contagem" ] && [ "$contagem" = "$coluna" ] && [ "$contagem" -lt 546 ] ||
    falha "outliers: item 36 $contagem, tabela dos modelos $coluna"

  # A subject that makes the intervals invalid (lstat = −5 under Ln): no verdict of precision,
  # and the extrapolation item still judges the characteristics.
  roda 0 report "${modelo[@]}" --subject "lstat=-5" --significance "$tmp/norma.NRM" --items 51,52 -o "$tmp/i.txt"
  item "$tmp/i.txt" "Intervalos de Confiança" >"$tmp/52"
  tem "$tmp/52" "• Não foi possível calcular o intervalo de confiança de E(medv): a precisão da estimativa não pode ser julgada."
  nao_tem "$tmp/52" "precisão superior"
  nao_tem "$tmp/52" "precisão dentro"
  tem "$tmp/i.txt" "Os parâmetros de extrapolação das características do objeto sob avaliação não foram plenamente atendidos."
  tem "$tmp/i.txt" "Não foi possível calcular o valor estimado no ponto de avaliação"

  # A partial subject (lstat missing): what is missing is named, nothing is claimed of it.
  roda 0 report "${modelo[@]}" --subject "lstat=" --items 49,50,51 -o "$tmp/p.txt"
  tem "$tmp/p.txt" "Falta informar o valor de lstat da casa sob avaliação."
  tem "$tmp/p.txt" "Falta informar o valor de uma das variáveis independentes da casa sob avaliação: lstat."
  tem "$tmp/p.txt" "Nenhuma das características informadas encontra-se fora do intervalo da amostra."
  nao_tem "$tmp/p.txt" "Nenhuma característica da casa"
  nao_tem "$tmp/p.txt" "foram atendidos."
  nao_tem "$tmp/p.txt" "Todas as características do objeto sob avaliação se encontram dentro do limite amostral."
  tem "$tmp/p.txt" "não podem ser julgados enquanto faltarem valores."

  # k = 0: no list header over nothing, no table of characteristics without rows.
  roda 0 report examples/boston.QV3 --model "medv=2" --items 20,50,51,52 -o "$tmp/k.txt"
  nao_tem "$tmp/k.txt" "Variáveis independentes:"
  tem "$tmp/k.txt" "O modelo não tem variáveis independentes."
  nao_tem "$tmp/k.txt" "» Extrapolação dos limites amostrais das características"
  nao_tem "$tmp/k.txt" "Valores calculados para as estatísticas t:"
  nao_tem "$tmp/k.txt" "e dos regressores"
  tem "$tmp/k.txt" "» Extrapolação do valor estimado em relação aos limites amostrais da variável dependente:"

  # The subject's values as the worksheet writes them: 20.000 with the column's separators,
  # "Sim" / "Não" for a dichotomous variable.
  roda 0 report examples/windsor.QV3 --model "price=2,lotsize=2,driveway=1" --subject "lotsize=20000,driveway=1,prefer=0" \
    --items 50 -o "$tmp/s.txt"
  grep -E '^• lotsize .*= 20\.000$' "$tmp/s.txt" >/dev/null || falha "lotsize: $(grep '^• lotsize' "$tmp/s.txt")"
  grep -E '^• driveway .*= Sim$' "$tmp/s.txt" >/dev/null || falha "driveway: $(grep '^• driveway' "$tmp/s.txt")"
  grep -E '^• prefer .*= Não$' "$tmp/s.txt" >/dev/null || falha "prefer: $(grep '^• prefer' "$tmp/s.txt")"
  nao_tem "$tmp/s.txt" "TRUE"
  nao_tem "$tmp/s.txt" "FALSE"

  # Means and deviations (Windsor --choose 1): garage holds whole numbers, its mean is 0,692
  # (0,69 in item 7, whose column of means keeps the two decimals its widest value fits);
  # the mean residual and the first central moment are zero up to rounding and print as 0.
  roda 0 report examples/windsor.QV3 --choose 1 --items 5,7,30,31,43 -o "$tmp/w.txt"
  grep -E '^\[garage\] +0,692 +0,861 +124,41%$' "$tmp/w.txt" >/dev/null || falha "garage (5): $(grep '^\[garage\]' "$tmp/w.txt")"
  grep -E '^garage +0,69 +0,86 +0 +3 +3 ' "$tmp/w.txt" >/dev/null || falha "garage (7): $(grep '^garage' "$tmp/w.txt")"
  [ "$(rotulado "$tmp/w.txt" "Valor médio ")" = "0,000" ] || falha "valor médio: $(rotulado "$tmp/w.txt" "Valor médio ")"
  [ "$(rotulado "$tmp/w.txt" "Momento central de 1ª ordem ")" = "0,000" ] || falha "momento 1"
  # The residual degrees of freedom are those of s²: 546 − 11 − 1.
  [ "$(rotulado "$tmp/w.txt" "Graus de liberdade ")" = "534" ] || falha "graus de liberdade"
  # Runs test: the lower bound is the smaller.
  inferior=$(rotulado "$tmp/w.txt" "Limite inferior " | tr , .)
  superior=$(rotulado "$tmp/w.txt" "Limite superior " | tr , .)
  awk -v a="$inferior" -v b="$superior" 'BEGIN {exit !(a < b)}' || falha "limites $inferior $superior"

  # Partial correlations: |t| is tested (r = −0,6658 is reported) and the sentence says what was
  # tested; "fortemente correlacionadas" only from |r| = 0,80 (rad and tax, r = 0,9102).
  roda 0 report "${modelo[@]}" --items 20 -o "$tmp/c.txt"
  tem "$tmp/c.txt" "As variáveis independentes [rm]^2 e Ln([lstat]) têm correlação significativa (r = -0,6658)."
  nao_tem "$tmp/c.txt" "fortemente"
  roda 0 report examples/boston.QV3 --model "medv=2,rad=1,tax=1" --items 20 -o "$tmp/f.txt"
  tem "$tmp/f.txt" "As variáveis independentes [rad] e [tax] são fortemente correlacionadas (r = 0,9102). O modelo pode apresentar multicolinearidade."

  # Portuguese: "???" as in the cells, final periods, one variable in the singular, a list with
  # ", ", one pair of parentheses.
  printf '[Geral]\r\nstcc=20\r\ncritSan=2\r\ncena=0\r\n' >"$tmp/chauvenet.NRM"
  roda 0 report examples/boston.QV3 --choose 1 --use crim,rm,lstat --subject "lstat=,crim=100,rm=9" \
    --significance "$tmp/chauvenet.NRM" --items 3,36,50 -o "$tmp/t.txt"
  tem "$tmp/t.txt" 'Informações que não puderem ser calculadas são mostradas como "???".'
  nao_tem "$tmp/t.txt" '"????"'
  tem "$tmp/t.txt" "(a) Regressores testados a um nível de significância de 5,00%."
  tem "$tmp/t.txt" "(d) Teste de autocorrelação de Durbin-Watson, a um nível de significância de 5,00%."
  tem "$tmp/t.txt" "Intervalo de +/- Vc x (desvio padrão) em torno da média."
  roda 0 report examples/boston.QV3 --model "medv=2,lstat=2" --subject "lstat=40,crim=100,rm=9" \
    --significance "$tmp/chauvenet.NRM" --items 5,50 -o "$tmp/u.txt"
  tem "$tmp/u.txt" "Número mínimo de amostragens para 1 variável independente: 6."
  tem "$tmp/u.txt" "Configuração Padrão limita a extrapolação em 0 variáveis."
  roda 0 report examples/boston.QV3 --model "medv=2,crim=1,rm=4,lstat=2" --subject "lstat=40,crim=100,rm=9" \
    --items 50 -o "$tmp/v.txt"
  tem "$tmp/v.txt" "3 variáveis extrapolaram o limite amostral: crim, rm, lstat."
  ;;
*)
  falha "caso desconhecido: $caso"
  ;;
esac
