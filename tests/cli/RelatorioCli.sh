#!/usr/bin/env bash
# Tests of zelto-cli report, run by CTest:
#   RelatorioCli.sh CASE ZELTO_CLI SOURCE_DIR
# Every case works in a temporary folder of its own and prints what differs before failing.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp

tem() { grep -qF -- "$2" "$1" || falha "$1 não contém \"$2\""; }
nao_tem() { ! grep -qF -- "$2" "$1" || falha "$1 contém \"$2\""; }

case $caso in
rtf)
  # The chosen model's whole report; .doc is RTF too.
  roda 0 report "$ex/windsor.QV3" --choose 1 -o "$tmp/x.rtf"
  head -c 6 "$tmp/x.rtf" | grep -qF '{\rtf1' || falha "x.rtf não começa com {\\rtf1"
  tem "$tmp/x.rtf" 'An\'"'"'e1lise da Vari\'"'"'e2ncia'
  tem "$tmp/x.rtf" 'Regress\'"'"'e3o'
  tem "$tmp/x.rtf" 'N\'"'"'e3o existem informa\'"'"'e7\'"'"'f5es neste item do relat\'"'"'f3rio.'
  roda 0 report "$ex/windsor.QV3" --model "price=2,lotsize=2,bedrooms=1" --items 13,18 -o "$tmp/y.DOC"
  head -c 6 "$tmp/y.DOC" | grep -qF '{\rtf1' || falha "y.DOC não é RTF"
  tem "$tmp/y.DOC" 'Modelo da Regress\'"'"'e3o'
  nao_tem "$tmp/y.DOC" 'Informa\'"'"'e7\'"'"'f5es do Usu\'"'"'e1rio'
  ;;
json)
  # The structure of the chosen model's report: every item in catalogue order, the texts the
  # report prints in the cells; the F of the analysis of variance is the fit's F at the printed
  # precision, the residual table has a row per sample, and the items of later work say they
  # have nothing yet.
  roda 0 report "$ex/windsor.QV3" --choose 1 -o "$tmp/x.json"
  roda 0 search "$ex/windsor.QV3" --choose 1 --json
  python3 - "$tmp/x.json" "$tmp/out" <<'PY' || falha "estrutura do relatório"
import json, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
fit = json.load(open(sys.argv[2], encoding="utf-8"))["chosen"]
itens = r["items"]
assert [i["number"] for i in itens] == list(range(1, 57)), [i["number"] for i in itens]
anova = next(i for i in itens if i["number"] == 18)
assert anova["class"] == "TIA_ANOVA" and anova["title"] == "Análise da Variância"
tabela = next(b["table"] for b in anova["parts"][0] if "table" in b)
assert tabela[0] == ["Fonte de erro", "Soma dos quadrados", "Graus de liberdade", "Quadrados médios", "F calculado"], tabela[0]
assert [l[0] for l in tabela[1:]] == ["Regressão", "Residual", "Total"]
n, m = fit["n"], fit["m"]
assert [l[2] for l in tabela[1:]] == [str(m - 1), str(n - m), str(n - 1)], tabela
f = float(tabela[1][4].replace(".", "").replace(",", "."))
casas = len(tabela[1][4].split(",")[1]) if "," in tabela[1][4] else 0
assert abs(f - fit["F"]) <= 0.5 * 10 ** -casas * (1 + 1e-9), (tabela[1][4], fit["F"])
residuos = next(i for i in itens if i["number"] == 23)
tabela = next(b["table"] for b in residuos["parts"][0] if "table" in b)
assert len(tabela) == n + 1 and tabela[0][0] == "Nº Am." and tabela[0][3] == "Resíduo", tabela[0]
grafico = next(i for i in itens if i["number"] == 33)
assert any("picture" in b for b in grafico["parts"][0]), grafico["parts"][0]
PY
  # The plain-text and Write forms of the same report.
  roda 0 report "$ex/windsor.QV3" --choose 1 --items 18 -o "$tmp/x.txt"
  tem "$tmp/x.txt" "Análise da Variância"
  roda 0 report "$ex/windsor.QV3" --choose 1 --items 18 -o "$tmp/x.WRI"
  [ -s "$tmp/x.WRI" ] || falha "x.WRI vazio"
  roda 1 report "$ex/windsor.QV3" --choose 1 -o "$tmp/x.odt"
  tem "$tmp/err" "use rtf"
  # The descriptive mode: deviations around the mean and the coefficient of variation.
  roda 0 report "$ex/windsor.QV3" --choose 1 --mode descritiva --factors stories --items 23,30 -o "$tmp/d.json"
  python3 - "$tmp/d.json" <<'PY' || falha "relatório descritivo"
import json, sys
itens = {i["number"]: i for i in json.load(open(sys.argv[1], encoding="utf-8"))["items"]}
assert itens[23]["title"] == "Tabela de Desvios", itens[23]["title"]
tabela = next(b["table"] for b in itens[23]["parts"][0] if "table" in b)
assert tabela[0][2:4] == ["Média", "Desvio"], tabela[0]
textos = [b.get("paragraph") or "" for b in itens[30]["parts"][0]]
assert any(t.startswith("Coef. de variação ") for t in textos), textos
assert any(t.startswith("Sob o aspecto do coeficiente de variação") for t in textos), textos
PY
  ;;
uso)
  roda 2 report "$ex/windsor.QV3" -o "$tmp/x.rtf"
  roda 2 report "$ex/windsor.QV3" --model price=1 --choose 1 -o "$tmp/x.rtf"
  roda 2 report "$ex/windsor.QV3" --model price=1 --items 57 -o "$tmp/x.rtf"
  roda 2 report "$ex/windsor.QV3" --model price=1 --mode outra -o "$tmp/x.rtf"
  roda 1 report "$ex/nenhuma.QV3" --model price=1 -o "$tmp/x.rtf"
  roda 1 report "$ex/windsor.QV3" --model price=1 --config "$tmp/nenhuma.CNF" -o "$tmp/x.rtf"
  [ ! -e "$tmp/x.rtf" ] || falha "um relatório recusado deixou x.rtf"
  ;;
config)
  # A damaged configuration is read with the defaults and said so; the report is written.
  printf 'lixo sem secoes\0\1' >"$tmp/ruim.CNF"
  roda 0 report "$ex/windsor.QV3" --model "price=2,lotsize=2" --config "$tmp/ruim.CNF" -o "$tmp/x.rtf"
  tem "$tmp/err" "está danificada"
  tem "$tmp/x.rtf" 'An\'"'"'e1lise da Vari\'"'"'e2ncia'
  # A configuration that leaves an item out.
  printf '[Geral]\r\n[An\xe1lise da Vari\xe2ncia]\r\nInT=00640001\r\n' >"$tmp/sem-anova.CNF"
  roda 0 report "$ex/windsor.QV3" --model "price=2,lotsize=2" --config "$tmp/sem-anova.CNF" -o "$tmp/y.rtf"
  nao_tem "$tmp/y.rtf" 'An\'"'"'e1lise da Vari\'"'"'e2ncia'
  tem "$tmp/y.rtf" 'Regressores do Modelo'
  ;;
libreoffice)
  # The word processor opens the report and reads its texts and numbers back.
  command -v soffice >/dev/null || falha "soffice não está instalado (scripts/setup)"
  roda 0 report "$ex/windsor.QV3" --model "price=2,lotsize=2,bedrooms=1" -o "$tmp/laudo.rtf"
  HOME=$tmp timeout 180 soffice -env:UserInstallation=file://$tmp/lo --headless \
    --convert-to txt:Text --outdir "$tmp" "$tmp/laudo.rtf" >"$tmp/lo.log" 2>&1 ||
    falha "soffice falhou: $(cat "$tmp/lo.log")"
  [ -s "$tmp/laudo.txt" ] || falha "soffice não converteu o relatório: $(cat "$tmp/lo.log")"
  iconv -f UTF-8 -t UTF-8 "$tmp/laudo.txt" >/dev/null || falha "texto convertido inválido"
  tem "$tmp/laudo.txt" "Análise da Variância"
  tem "$tmp/laudo.txt" "Coeficiente de determinação (r²)"
  tem "$tmp/laudo.txt" "Verificação de multicolinearidade:"
  roda 0 report "$ex/windsor.QV3" --model "price=2,lotsize=2,bedrooms=1" -o "$tmp/laudo.wri"
  mkdir "$tmp/wri"
  HOME=$tmp timeout 180 soffice -env:UserInstallation=file://$tmp/lo --headless \
    --convert-to txt:Text --outdir "$tmp/wri" "$tmp/laudo.wri" >"$tmp/lo.log" 2>&1 ||
    falha "soffice falhou com o .wri: $(cat "$tmp/lo.log")"
  tem "$tmp/wri/laudo.txt" "Análise da Variância"
  ;;
*)
  falha "caso desconhecido: $caso"
  ;;
esac
