#!/usr/bin/env bash
# Tests of the model subcommands of zelto-cli (fit, search) and of what every subcommand shares:
#   ModelosCli.sh CASE ZELTO_CLI SOURCE_DIR
# caminhos  every command checks its file the same way and says the real reason, naming the
#           file as given;
# uso       every bad usage exits with 2 and a Portuguese message;
# recusas   models that are no fits are refused with their reason, and never listed;
# objeto    subject values that do not convert for their variable are refused;
# texto     the plain-text fit carries no report markup;
# grau      "--criterion grau": grade III first, R order within a grade, and row N is the model
#           the report chooses with the same options.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"

# erro TEXT: standard error is exactly this line.
erro() {
  [ "$(cat "$tmp/err")" = "$1" ] || falha "stderr \"$(cat "$tmp/err")\", esperado \"$1\""
}

# y, x, a constant c, z = 2x + 3w with two decimals, w, and d = x.
printf 'y\tx\tc\tz\tw\td\n1.5\t1.25\t7\t14.8\t4.1\t1.25\n3.25\t2.5\t7\t8.9\t1.3\t2.5\n2.75\t3.75\t7\t30.6\t7.7\t3.75\n5.5\t4.1\t7\t14.8\t2.2\t4.1\n4.25\t6.3\t7\t29.25\t5.55\t6.3\n6.1\t7.2\t7\t24.3\t3.3\t7.2\n' \
  >"$tmp/colinear.TXT"

case $caso in
caminhos)
  mkdir "$tmp/pasta"
  mkfifo "$tmp/fila.QV3"
  for cmd in info "convert|$tmp/x.QV3" "fit|--model|y=1" search "exemplo|windsor|$tmp/x.QV3"; do
    IFS='|' read -r -a partes <<<"$cmd"
    for alvo in "$tmp/nada.QV3|Arquivo não encontrado." "$tmp/sem/x.QV3|Diretório (pasta) não encontrado(a)." \
      "$tmp/pasta|É uma pasta, não um arquivo." \
      "$tmp/fila.QV3|Não é um arquivo comum (é um dispositivo, uma fila ou um soquete)." \
      "/dev/zero|Não é um arquivo comum (é um dispositivo, uma fila ou um soquete)."; do
      arquivo=${alvo%%|*}
      motivo=${alvo#*|}
      # The file goes where each command takes it: exemplo reads its data second.
      if [ "${partes[0]}" = exemplo ]; then
        roda 1 exemplo windsor "$arquivo" "$tmp/x.QV3"
      else
        roda 1 "${partes[0]}" "$arquivo" "${partes[@]:1}"
      fi
      erro "Erro durante processamento do arquivo: $arquivo $motivo"
    done
  done
  # --significance goes through the same check, and wants a significance configuration.
  roda 1 search "$ex/windsor.TXT" --significance "$tmp/nada.NRM"
  erro "Erro durante processamento do arquivo: $tmp/nada.NRM Arquivo não encontrado."
  roda 2 search "$ex/windsor.TXT" --significance "$ex/windsor.QV3"
  erro "O arquivo de --significance não é uma configuração de níveis de significância (.NRM): $ex/windsor.QV3."
  ;;

uso)
  w=$ex/windsor.TXT
  roda 2
  grep -q "^Falta o comando: calc, fit, search, info, convert, exemplo\( ou report\)\?\. Use --help para ver as opções\.$" "$tmp/err" || falha "$(cat "$tmp/err")"
  roda 2 fit
  erro "Falta FILE. Use --help para ver as opções."
  roda 2 fit "$w" --model
  erro "Falta o valor de --model. Use --help para ver as opções."
  roda 2 info "$w" extra
  erro "Argumento inesperado: extra. Use --help para ver as opções."
  roda 2 search "$w" --use ','
  erro '--use precisa de ao menos um nome de variável: ",".'
  roda 2 fit "$w" --model price=2,lotsize=1,LOTSIZE=2
  erro 'A variável "LOTSIZE" aparece mais de uma vez em --model.'
  roda 2 search "$w" --rapid 99999999999
  erro '--rapid aceita um número inteiro de 1 a 65535: "99999999999".'
  roda 2 search "$w" --threads 0
  grep -q '^--threads aceita um número inteiro de 1 a [0-9]*: "0"\.$' "$tmp/err" || falha "$(cat "$tmp/err")"
  roda 2 search "$w" --threads 100000
  roda 2 search "$w" --threads abc
  roda 2 search "$w" --choose x
  erro '--choose aceita um número inteiro de 1 a 50: "x".'
  roda 2 search "$w" --sanitize
  roda 2 fit "$w" --model price=1 --confidence 1,5
  roda 2 calc
  # The parser's own English never reaches the user.
  for args in "fit" "search $w --nada" "info" "calc 1 2" "fit $w --model a=1 --json=x"; do
    # shellcheck disable=SC2086
    "$cli" $args >/dev/null 2>"$tmp/err"
    grep -Eq "required|not expected|convert|Run with|Expected|allowed" "$tmp/err" &&
      falha "texto em inglês para \"$args\": $(cat "$tmp/err")"
  done
  # The threads the search runs: one as asked.
  roda 0 search "$w" --use lotsize --threads 1 --json
  grep -q '"threads": 1,' "$tmp/out" || falha "threads: $(grep threads "$tmp/out")"
  ;;

recusas)
  c=$tmp/colinear.TXT
  roda 1 fit "$c" --model y=1,x=1,c=1
  erro 'O modelo não pode ser ajustado: o sistema de equações é singular: a variável "c" é constante.'
  roda 1 fit "$c" --model y=1,c=2,x=1
  erro 'O modelo não pode ser ajustado: o sistema de equações é singular: a variável "c" (Logarítmica) é constante.'
  roda 1 fit "$c" --model y=1,x=1,z=1,w=1
  erro 'O modelo não pode ser ajustado: o sistema de equações é singular: a variável "w" é combinação linear das variáveis anteriores do modelo.'
  roda 1 fit "$c" --model y=1,x=8,d=8
  erro 'O modelo não pode ser ajustado: o sistema de equações é singular: a variável "d" (Inversa) é combinação linear das variáveis anteriores do modelo.'
  roda 1 fit "$c" --model c=5,x=1 --dependent c
  erro 'O modelo não pode ser ajustado: a variável dependente transformada é constante.'
  roda 1 fit "$c" --model y=1,x=1,z=2,w=8,d=5,c=3
  erro 'O modelo não pode ser ajustado: amostras insuficientes: n = 6 para 6 coeficientes.'
  # e^(−price) underflows for every Windsor price: a failed transformation, never a model.
  roda 1 fit "$ex/windsor.QV3" --model price=10,lotsize=1
  erro 'O modelo não pode ser ajustado: a transformação 1/Exponencial de "price" falhou (erro aritmético).'
  # The search lists none of them; the best model of the complete masks is a true fit.
  roda 0 search "$c" --type completa --json
  grep -q '"c":' "$tmp/out" && falha "modelo com a constante listado"
  roda 0 search "$ex/windsor.QV3" --use lotsize,bedrooms --type completa --json
  grep -q '"R": 1[,.]' "$tmp/out" && falha "modelo com R = 1 listado"
  grep -Eq '"price": 10' "$tmp/out" && falha "Exp(-price) listado"
  # The chosen model left with one value of the dependent by the sanitation (every sample an
  # outlier): refused with its reason.
  printf 'y\tx\n1\t1\n1\t5\n2\t2\n1\t1\n2\t3\n1\t4\n1\t3\n' >"$tmp/saneia.TXT"
  printf '[Geral]\r\nDcr=Tudo fora\r\nstcc=5\r\ncritSan=0\r\nparmSan=0\r\n' >"$tmp/zero.NRM"
  roda 1 search "$tmp/saneia.TXT" --type manual --mask y=1 --mask x=1 --choose 1 --sanitize \
    --significance "$tmp/zero.NRM"
  erro 'O modelo escolhido não pode ser ajustado: a variável dependente transformada é constante.'
  # Nothing can be fitted: the search says so.
  roda 0 search "$c" --use c --dependent c
  grep -q "^Nenhum dos modelos pesquisados pode ser aplicado a esta planilha" "$tmp/err" ||
    falha "$(cat "$tmp/err")"
  ;;

objeto)
  w=$ex/windsor.QV3
  modelo=price=2,lotsize=2,driveway=1
  roda 2 fit "$w" --model "$modelo" --subject lotsize=abc
  erro 'O valor "abc" da variável "lotsize" não é um número.'
  roda 2 fit "$w" --model "$modelo" --subject driveway=Talvez
  erro 'O valor "Talvez" da variável "driveway" não é um dos rótulos da sua tabela: Sim, Não.'
  roda 2 fit "$w" --model "$modelo" --subject lotsize=1,lotsize=2
  erro 'A variável "lotsize" aparece mais de uma vez em --subject.'
  # A label is the value it names: Sim and Não give different estimates.
  roda 0 fit "$w" --model "$modelo" --subject lotsize=5000,driveway=Sim --json
  sim=$(grep -o '"estimate": [0-9.e+-]*' "$tmp/out")
  roda 0 fit "$w" --model "$modelo" --subject lotsize=5.000,driveway=Não --json
  nao=$(grep -o '"estimate": [0-9.e+-]*' "$tmp/out")
  [ -n "$sim" ] && [ -n "$nao" ] && [ "$sim" != "$nao" ] || falha "Sim: $sim; Não: $nao"
  ;;

texto)
  roda 0 fit "$ex/windsor.QV3" --model price=2,lotsize=4,bedrooms=3,bathrooms=5
  grep -Fq 'x10^-9 x [lotsize]^(2)' "$tmp/out" || falha "$(grep Equação "$tmp/out")"
  grep -Eq '###|%\^%' "$tmp/out" && falha "marcas no texto: $(grep -E '###|%\^%' "$tmp/out")"
  # The search's equations too (its JSON keeps them as the report writes them).
  roda 0 search "$ex/windsor.QV3" --use lotsize,bedrooms --type completa
  grep -Fq '^(1/2)' "$tmp/out" || falha "$(head -5 "$tmp/out")"
  grep -Eq '###|%\^%' "$tmp/out" && falha "marcas no texto: $(grep -E '###|%\^%' "$tmp/out" | head -3)"
  ;;

grau)
  # Boston with criteria 1 and 3 declared at III: its 50 best by R hold several grades.
  roda 0 search "$ex/boston.QV3" --criterion grau --caracterizacao III --identificacao III --json
  cp "$tmp/out" "$tmp/grau.json"
  roda 0 search "$ex/boston.QV3" --caracterizacao III --identificacao III --table --json
  linha=$(python3 - "$tmp/grau.json" "$tmp/out" <<'PY'
import json, sys
ordem = {"III": 3, "II": 2, "I": 1, "sem enquadramento": 0}
g = json.load(open(sys.argv[1]))["best"]
r = json.load(open(sys.argv[2]))["best"]
assert len(g) == 50 and [x["rank"] for x in g] == list(range(1, 51))
# The same 50 models, each with the grade it has under the order by R.
chave = lambda x: (json.dumps(x["codes"], sort_keys=True), x["grau"])
assert sorted(map(chave, g)) == sorted(map(chave, r)), "outros modelos ou graus"
# The table (by R) shows each row's grade in its last column, "Fund.".
t = json.load(open(sys.argv[2]))["table"]
assert t[0][12] == "Fund." and [l[12] for l in t[1:]] == [x["grau"] for x in r][:len(t) - 1], t[0]
graus = [ordem[x["grau"]] for x in g]
assert graus == sorted(graus, reverse=True), graus
assert len(set(graus)) >= 2, "um só grau: a ordem não foi posta à prova"
posicao = {json.dumps(x["codes"], sort_keys=True): i for i, x in enumerate(r)}
for a, b in zip(g, g[1:]):
    if a["grau"] == b["grau"]:
        pa, pb = (posicao[json.dumps(x["codes"], sort_keys=True)] for x in (a, b))
        assert pa < pb, (a["rank"], b["rank"])
# The first model below III: a row that the order by R would not give.
k = next(i for i, x in enumerate(g) if x["grau"] != "III")
assert posicao[json.dumps(g[k]["codes"], sort_keys=True)] != k
print(k + 1, g[k]["grau"], g[k]["equation"].replace("\n", " "))
PY
) || falha "ordem por grau"
  read -r n grau _ <<<"$linha"
  roda 0 report "$ex/boston.QV3" --choose "$n" --criterion grau --caracterizacao III \
    --identificacao III -o "$tmp/r.txt"
  grep -Fxq "Grau de Fundamentação: $grau" "$tmp/r.txt" ||
    falha "linha $n: $(grep -F 'Grau de Fundamentação' "$tmp/r.txt"), esperado $grau"
  # Windsor without declarations: every entry graded, none at III (criteria 1 and 3 at I).
  roda 0 search "$ex/windsor.QV3" --criterion grau --json
  python3 - "$tmp/out" <<'PY' || falha "windsor"
import json, sys
g = json.load(open(sys.argv[1]))["best"]
assert len(g) == 50 and all(x["grau"] == "II" and x["grau_extrapolation"] for x in g), g[0]
PY
  roda 2 search "$ex/windsor.QV3" --caracterizacao IV
  ;;

*)
  falha "caso desconhecido: $caso"
  ;;
esac
exit 0
