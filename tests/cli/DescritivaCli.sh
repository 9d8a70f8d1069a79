#!/usr/bin/env bash
# zelto-cli report in the descriptive mode, run by CTest:
#   DescritivaCli.sh CASE ZELTO_CLI SOURCE_DIR
# The land-lot sample (unit values, four homogenisation factors and an area nobody marked) is
# valued at the mean of its homogenised values, never at the raw mean of its asking prices.
# The golden report is tests/data/report/terrenos-fatores-relatorio.txt; after a deliberate
# change of wording, regenerate it with ZELTO_REGRAVA=1 and read the difference before committing.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp

dados=$fonte/tests/data/report/terrenos-fatores.txt
fatores=f_oferta,f_local,f_area,f_topografia
tem() { grep -qF -- "$2" "$1" || falha "$1 não contém \"$2\""; }
nao_tem() { ! grep -qF -- "$2" "$1" || falha "$1 contém \"$2\""; }

case $caso in
fatores)
  # The whole report, with the date and the file's folder of this run taken out.
  roda 0 report "$dados" --mode descritiva --factors "$fatores" --choose 1 -o "$tmp/d.txt"
  sed -e 's|^Data: [0-9/]*$|Data: (data)|' -e 's|^Nome do Arquivo: .*/|Nome do Arquivo: |' \
    "$tmp/d.txt" >"$tmp/relatorio.txt"
  esperado=$fonte/tests/data/report/terrenos-fatores-relatorio.txt
  [ "${ZELTO_REGRAVA:-}" = 1 ] && cp "$tmp/relatorio.txt" "$esperado"
  diff -u "$esperado" "$tmp/relatorio.txt" || falha "o relatório difere de $esperado"
  tem "$tmp/d.txt" "Estima-se Valor Homog. do objeto: 604,68"
  nao_tem "$tmp/d.txt" "691,29"
  tem "$tmp/d.txt" "O conjunto de fatores utilizados na avaliação deve ficar entre 0,50 e 2,00."
  ;;
sem_fatores)
  # Used columns that nobody marked as coefficients: the command names them and what to give.
  roda 1 report "$dados" --mode descritiva --choose 1 -o "$tmp/d.txt"
  tem "$tmp/err" "estas não estão marcadas como coeficientes de homogeneização: f_oferta, f_local, f_area, f_topografia, area."
  tem "$tmp/err" "--factors NOME,NOME"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || falha "mais de uma linha em stderr: $(cat "$tmp/err")"
  [ ! -e "$tmp/d.txt" ] || falha "um relatório recusado deixou d.txt"
  # The inferential mode knows no factors; names that are no factor are bad usage.
  roda 2 report "$dados" --factors "$fatores" --choose 1 -o "$tmp/d.txt"
  tem "$tmp/err" "--factors vale só no modo descritivo"
  roda 2 report "$dados" --mode descritiva --factors f_oferta,nenhuma --choose 1 -o "$tmp/d.txt"
  tem "$tmp/err" "não tem a variável \"nenhuma\""
  roda 2 report "$dados" --mode descritiva --factors valor_unit,f_local --choose 1 -o "$tmp/d.txt"
  tem "$tmp/err" "\"valor_unit\" é o valor unitário"
  roda 2 report "$dados" --mode descritiva --factors f_local,f_local --choose 1 -o "$tmp/d.txt"
  roda 2 report "$dados" --mode descritiva --factors " , " --choose 1 -o "$tmp/d.txt"
  [ ! -e "$tmp/d.txt" ] || falha "um relatório recusado deixou d.txt"
  # With one factor named, the other columns leave the homogenised value: valor_unit × f_local.
  roda 0 report "$dados" --mode descritiva --factors f_local --dependent valor_unit --choose 1 \
    --items 50 -o "$tmp/um.txt"
  tem "$tmp/um.txt" "Estima-se Valor Homog. do objeto: 711,47"
  ;;
*)
  falha "caso desconhecido: $caso"
  ;;
esac
