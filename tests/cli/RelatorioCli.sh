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
literal)
  # Text the user typed prints as typed in every writer, "#" and "%" included: a variable's
  # name (alone and inside the equations), cells, the header, the footer (its page field still
  # numbered) and the technical summary; the power of ten of a composed number is still drawn.
  a='Matrícula ### a confirmar; desconto de 10% sobre o valor'
  v='Valor 1###4932% reais'
  n='v###5%'
  roda 0 convert "$ex/windsor.QV3" "$tmp/w.TXT"
  python3 - "$tmp/w.TXT" "$tmp/u.TXT" "$n" "$a" "$v" <<'PY' || falha "planilha"
import sys
linhas = open(sys.argv[1], encoding="cp1252", newline="").read().split("\r\n")
linhas[0] = linhas[0].replace("lotsize", sys.argv[3])
for l, texto in ((1, sys.argv[4]), (2, sys.argv[5])):
    c = linhas[l].split("\t")
    c[6] = texto  # recreation, a text column
    linhas[l] = "\t".join(c)
open(sys.argv[2], "w", encoding="cp1252", newline="").write("\r\n".join(linhas))
PY
  a1252=$(printf '%s' "$a" | iconv -f utf-8 -t cp1252)
  printf '[Geral]\r\nCab0=%s\r\nCab1=f%%i%%m\r\nRod0=%s (p\xe1gina) fim\r\nRod1=f%%i%%m\r\nLcm0=%s\r\nLcm1=%s\r\nLcm2=%s\r\nLcm3=f%%i%%m\r\n' \
    "$a1252" "$v" "$a1252" "$v" "$n" >"$tmp/u.CNF"
  for e in txt json rtf wri pdf; do
    roda 0 report "$tmp/u.TXT" --model "price=2,$n=2" --config "$tmp/u.CNF" --items 1,2,13,14,22 -o "$tmp/u.$e"
  done
  pdftotext -layout "$tmp/u.pdf" "$tmp/u.pdf.txt"
  for f in u.txt u.json u.pdf.txt; do
    for t in "$a" "$v" "$n" "Ln([$n])" "[price] = Exp( "; do tem "$tmp/$f" "$t"; done
    for t in "Matrícula x10" "∞ reais" "vx10" "10) sobre"; do nao_tem "$tmp/$f" "$t"; done
  done
  # The composed significance of the regressor, far below 1 %, in powers of ten.
  grep -qE '[0-9]x10\^-[0-9]+%' "$tmp/u.txt" || falha "u.txt sem potência de dez composta"
  grep -qE '[0-9]x10-[0-9]+%' "$tmp/u.pdf.txt" || falha "u.pdf sem potência de dez composta"
  tem "$tmp/u.pdf.txt" "$v 2 fim"
  tem "$tmp/u.rtf" "{\\header\\ql \\f0 \\fs20 Matr\\'edcula ### a confirmar; desconto de 10% sobre o valor"
  tem "$tmp/u.rtf" "{\\footer\\ql \\f0 \\fs20 $v {\\field{\\*\\fldinst {\\f0\\fs20 PAGE}}"
  tem "$tmp/u.rtf" "Ln([$n])"
  LC_ALL=C grep -aqF -- "$a1252" "$tmp/u.wri" || falha "u.wri sem \"$a\""
  for t in "$v" "Ln([$n])"; do LC_ALL=C grep -aqF -- "$t" "$tmp/u.wri" || falha "u.wri sem \"$t\""; done
  # The search's listing too.
  roda 0 search "$tmp/u.TXT" --criterion r
  tem "$tmp/out" "[$n]"
  nao_tem "$tmp/out" "vx10"
  ;;
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
ordem = list(range(1, 46)) + [57] + list(range(46, 53)) + [58] + list(range(53, 57))
assert [i["number"] for i in itens] == ordem, [i["number"] for i in itens]
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
  roda 2 report "$ex/windsor.QV3" --model price=1 --items 59 -o "$tmp/x.rtf"
  roda 2 report "$ex/windsor.QV3" --model price=1 --caracterizacao IV -o "$tmp/x.rtf"
  tem "$tmp/err" "use III, II ou I"
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
  # (other items may name it when they cite its numbers: its table is what must be absent)
  nao_tem "$tmp/y.rtf" 'Fonte de erro'
  tem "$tmp/x.rtf" 'Fonte de erro'
  tem "$tmp/y.rtf" 'Regressores do Modelo'
  ;;
enquadramento)
  # The grading item of the first Windsor model with a subject property: every number it
  # prints is the one printed by the item it names; the assumption tests equal R's (the oracle
  # file) at the printed digits, for Windsor and Boston; without the subject the overall grade
  # and the precision are not stated; a settings file written before these items existed
  # includes them.
  casa="lotsize=5000,bedrooms=3,bathrooms=1,stories=2,driveway=1,recreation=0,fullbase=1,gasheat=0,aircon=0,garage=1,prefer=0"
  roda 0 report "$ex/windsor.QV3" --choose 1 --subject "$casa" --caracterizacao III --identificacao II \
    --items 18,21,30,50,51,52,57,58 -o "$tmp/w.json"
  roda 0 report "$ex/windsor.TXT" --choose 1 --items 58 -o "$tmp/s.json"
  roda 0 report "$ex/boston.TXT" --model "medv=2,crim=1,rm=4,lstat=2" --items 57 -o "$tmp/b.json"
  python3 - "$tmp" "$fonte/tests/data/regression/oracle_bp_vif.txt" <<'PY' || falha "enquadramento"
import json, math, re, sys
pasta, oraculo = sys.argv[1], sys.argv[2]
def itens(nome):
    return {i["number"]: i for i in json.load(open(pasta + "/" + nome, encoding="utf-8"))["items"]}
def tabelas(item):
    return [b["table"] for b in item["parts"][0] if "table" in b]
def textos(item):
    return [b.get("paragraph") or "" for b in item["parts"][0]]
def linha(item, inicio):
    l = [t for t in textos(item) if t.startswith(inicio)]
    assert len(l) == 1, (inicio, textos(item))
    return l[0]
def numero(t):
    # "5,1x10^-125%", "21,155", "62.721": value and half a unit of the last digit.
    t = t.strip().rstrip("%").strip()
    m = re.fullmatch(r"(-?[\d.]+(?:,\d+)?)(?:x10\^(-?\d+))?", t)
    assert m, t
    mant = m.group(1).replace(".", "")
    casas = len(mant.split(",")[1]) if "," in mant else 0
    e = int(m.group(2) or 0)
    return float(mant.replace(",", ".")) * 10 ** e, 0.5 * 10 ** (e - casas)
def confere(texto, ref, o):
    v, meia = numero(texto)
    assert abs(v - ref) <= meia * (1 + 1e-9) + 1e-300, (o, texto, ref)

w = itens("w.json")
enq, anova, sig = w[58], w[18], w[21]
crit = tabelas(enq)[0]
assert crit[0] == ["Item", "Critério", "Valor encontrado", "Grau", "Pontos"], crit[0]
# n and k.
n = linha(w[30], "Número de elementos").split(": ")[-1]
assert crit[2][2] == "n = " + n, (crit[2], n)
k = tabelas(anova)[0][1][2]
assert ("k = " + k + " variáveis") in linha(enq, "Critério 2:"), k
# The largest significance of the regressors, and the model's.
sigs = [l[3] for l in tabelas(sig)[0][1:]]
maior = max(sigs, key=lambda t: numero(t)[0])
assert crit[5][2] == maior and ("significância dos regressores " + maior) in linha(enq, "Critério 5:"), (crit[5], maior)
modelo = linha(anova, "Significância do modelo igual a ").split(" a ")[-1]
assert crit[6][2] == modelo, (crit[6], modelo)
# Declared 1 = III, 3 = II; nothing extrapolates: 17 points, grade III.
assert [l[3] for l in crit[1:]] == ["III", "III", "II", "III", "III", "III", "III"], crit
assert crit[7][4] == "17" and "Grau de Fundamentação: III" in textos(enq), crit[7]
# Precision: the mean interval and its amplitude as "Intervalos de Confiança" prints them, the
# estimate as "Formação dos Valores" does.
media = [l for l in tabelas(w[52])[0] if l[0].startswith("E(")][0]
precisao = [t for t in textos(enq) if t.startswith("Intervalo de confiança de 80 %")][0]
assert ("de %s a %s, amplitude %s" % (media[1], media[2], media[3])) in precisao, (precisao, media)
estimativa = linha(w[50], "Estima-se ").split("$ ")[-1]
assert ("da estimativa " + estimativa + " ") in precisao, (precisao, estimativa)
inf, sup = (numero(x)[0] for x in media[1:3])
est = numero(estimativa)[0]
amp = re.search(r"; ([\d,]+) % da estimativa", precisao).group(1)
assert abs(numero(amp)[0] - (sup - inf) / est * 100) < 0.01, amp
assert "Grau de Precisão: III" in textos(enq)
campo = re.search(r"Campo de arbítrio: de ([\d.]+) a ([\d.]+), ±15 % em torno da estimativa de ([\d.]+)",
                  linha(enq, "Campo de arbítrio"))
assert campo.group(3) == estimativa, campo.group(0)
assert abs(numero(campo.group(1))[0] - 0.85 * est) <= 1 and abs(numero(campo.group(2))[0] - 1.15 * est) <= 1
assert linha(enq, "Micronumerosidade: ").startswith("Micronumerosidade: atendida")
# The assumption verdicts it cites are those of their item.
testes = tabelas(w[57])[0]
pressupostos = linha(enq, "Pressupostos")
for l, nome in ((testes[1], "Breusch-Pagan"), (testes[2], "White")):
    verbo = "rejeita" if l[4] == "Rejeitada" else "aceita"
    assert ("%s %s a homocedasticidade (significância %s)" % (nome, verbo, l[3])) in pressupostos, (l, pressupostos)

# The assumption tests against R.
ref = {}
for l in open(oraculo):
    caso, chave, valor = l.split()
    ref[(caso, chave)] = float(valor)
for caso, item in (("windsor", w[57]), ("boston", itens("b.json")[57])):
    t, fiv = tabelas(item)
    for l, pre in ((t[1], "bp"), (t[2], "white")):
        confere(l[1], ref[(caso, pre + ".statistic")], caso + pre)
        assert int(l[2]) == ref[(caso, pre + ".df")], (caso, l)
        confere(l[3], ref[(caso, pre + ".p")] * 100, caso + pre + ".p")
    assert len(fiv) - 1 == sum(1 for (c, ch) in ref if c == caso and ch.startswith("vif.")), fiv
    for j, l in enumerate(fiv[1:], 1):
        confere(l[1], ref[(caso, "vif.%d" % j)], caso + "vif")
        assert l[2] == ("Sim" if ref[(caso, "vif.%d" % j)] > 10 else "Não"), l

# No subject: criterion 4 and the precision need it; no overall grade is stated.
s = itens("s.json")[58]
assert not any(t.startswith("Grau de Fundamentação: ") for t in textos(s)), textos(s)
assert not any(t.startswith("Grau de Precisão: ") for t in textos(s)), textos(s)
assert "O grau de precisão exige o objeto sob avaliação: não se enuncia." in textos(s)
assert tabelas(s)[0][4][2:] == ["exige o objeto", "-", "-"], tabelas(s)[0][4]
assert "Critérios 1 e 3: não declarados" in linha(s, "Critérios 1 e 3:")
PY
  # A settings file written before these items: the items it leaves out stay out, the new
  # ones are in.
  roda 0 report "$ex/windsor.QV3" --choose 1 --config "$fonte/tests/data/report/configuracao-anterior.CNF" -o "$tmp/c.json"
  python3 - "$tmp/c.json" <<'PY' || falha "configuração anterior"
import json, sys
numeros = [i["number"] for i in json.load(open(sys.argv[1], encoding="utf-8"))["items"]]
assert 57 in numeros and 58 in numeros and 21 not in numeros and 52 not in numeros, numeros
PY
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
