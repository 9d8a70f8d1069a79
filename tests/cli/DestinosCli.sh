#!/usr/bin/env bash
# Where zelto-cli may write, run by CTest:
#   DestinosCli.sh CASE ZELTO_CLI SOURCE_DIR
# Every case works in a temporary folder of its own (never a system path) and prints what
# differs before failing.
set -uo pipefail

caso=$1
cli=$2
fonte=$3
# shellcheck source=ComumCli.sh
source "$(dirname "$0")/ComumCli.sh"
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp

tem() { grep -qF -- "$2" "$1" || falha "$1 não contém \"$2\": $(cat "$1")"; }
modelo=(--model "price=2,lotsize=2")

case $caso in
alvos)
  # A FIFO and a device node behind links stay what they were; the message names the path.
  mkfifo "$tmp/fila"
  ln -s fila "$tmp/laudo.rtf"
  if mknod "$tmp/nulo" c 1 3 2>/dev/null; then dispositivo=$tmp/nulo; else dispositivo=/dev/null; fi
  ln -s "$dispositivo" "$tmp/laudo.wri"
  for saida in laudo.rtf laudo.wri; do
    roda 1 report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/$saida"
    tem "$tmp/err" "\"$tmp/$saida\": Não é um arquivo comum (é um dispositivo, uma fila ou um soquete)."
  done
  [ -p "$tmp/fila" ] || falha "a fila virou outra coisa"
  [ -c "$dispositivo" ] || falha "o dispositivo virou outra coisa"
  [ -L "$tmp/laudo.rtf" ] && [ -L "$tmp/laudo.wri" ] || falha "uma ligação foi substituída"
  ln -s fila "$tmp/planilha.QV3"
  roda 1 convert "$ex/windsor.QV3" "$tmp/planilha.QV3"
  [ -p "$tmp/fila" ] || falha "a gravação da planilha substituiu a fila"
  mkdir "$tmp/pasta.rtf"
  roda 1 report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/pasta.rtf"
  tem "$tmp/err" "É uma pasta, não um arquivo."
  # A picture's name held by a FIFO: the report is written, the message says which picture
  # was not, and the FIFO stays.
  mkdir "$tmp/figuras"
  mkfifo "$tmp/figuras/33-1.png"
  roda 1 report "$ex/windsor.QV3" "${modelo[@]}" --items 24,33 --graphs "$tmp/figuras" -o "$tmp/x.rtf"
  tem "$tmp/err" "O relatório foi gravado em $tmp/x.rtf, mas as figuras não: 1 de 2 foram gravadas"
  tem "$tmp/err" "33-1.png"
  [ -s "$tmp/x.rtf" ] && [ -s "$tmp/figuras/24-1.png" ] && [ -p "$tmp/figuras/33-1.png" ] ||
    falha "relatório, figura ou fila errados: $(ls -l "$tmp" "$tmp/figuras")"
  # Another user's link in a shared sticky folder is not followed, even by the superuser.
  if [ "$(id -u)" = 0 ]; then
    mkdir -m 1777 "$tmp/compartilhada"
    printf 'do superusuário' >"$tmp/segredo"
    ln -s "$tmp/segredo" "$tmp/compartilhada/laudo.rtf"
    chown -h 4242:4242 "$tmp/compartilhada/laudo.rtf"
    roda 1 report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/compartilhada/laudo.rtf"
    tem "$tmp/err" "ligação simbólica de outro usuário numa pasta compartilhada"
    [ "$(cat "$tmp/segredo")" = "do superusuário" ] || falha "o arquivo do superusuário mudou"
  fi
  # A read-only file is kept, also for the superuser.
  printf 'anterior' >"$tmp/somente.rtf"
  chmod 444 "$tmp/somente.rtf"
  roda 1 report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/somente.rtf"
  tem "$tmp/err" "somente leitura"
  [ "$(cat "$tmp/somente.rtf")" = anterior ] || falha "o arquivo somente leitura mudou"
  ;;
entradas)
  # An output that is one of the command's inputs (by any name) is refused; nothing changes.
  cp "$ex/windsor.TXT" "$tmp/w.txt"
  ln "$tmp/w.txt" "$tmp/outro.txt"
  ln -s w.txt "$tmp/atalho.txt"
  cp "$tmp/w.txt" "$tmp/copia"
  for saida in w.txt outro.txt atalho.txt; do
    roda 2 report "$tmp/w.txt" "${modelo[@]}" -o "$tmp/$saida"
    tem "$tmp/err" "é a planilha"
    roda 2 convert "$tmp/w.txt" "$tmp/$saida"
  done
  printf '[Geral]\r\n' >"$tmp/c.CNF"
  roda 2 report "$tmp/w.txt" "${modelo[@]}" --config "$tmp/c.CNF" -o "$tmp/c.CNF"
  tem "$tmp/err" "é a configuração de --config"
  cp "$tmp/w.txt" "$tmp/24-1.png"
  roda 2 report "$tmp/24-1.png" "${modelo[@]}" --graphs "$tmp" -o "$tmp/x.rtf"
  tem "$tmp/err" "com o nome de um gráfico"
  cmp -s "$tmp/w.txt" "$tmp/copia" && cmp -s "$tmp/24-1.png" "$tmp/copia" || falha "uma entrada mudou"
  [ "$(cat "$tmp/c.CNF")" = $'[Geral]\r' ] || falha "a configuração mudou"
  [ ! -e "$tmp/x.rtf" ] || falha "um relatório recusado foi gravado"
  ;;
interrompidos)
  # Runs of --graphs killed at every moment leave each picture whole: the previous one or a
  # complete new one, never empty or cut.
  args=(report "$ex/windsor.QV3" "${modelo[@]}" --items 24,25,26,27,28,33 --graphs "$tmp/g" -o "$tmp/x.txt")
  inicio=$(date +%s%N)
  "$cli" "${args[@]}" >/dev/null 2>&1 || falha "a primeira execução falhou"
  duracao=$((($(date +%s%N) - inicio) / 1000000))
  inteira() { python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); sys.exit(not (d.startswith(b"\x89PNG\r\n\x1a\n") and d.endswith(b"IEND\xaeB`\x82")))' "$1"; }
  for i in $(seq 1 6); do
    "$cli" "${args[@]}" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v d="$duracao" -v i="$i" 'BEGIN { printf "%.3f", d * (0.5 + 0.08 * i) / 1000 }')"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    for f in "$tmp"/g/*.png; do inteira "$f" || falha "figura danificada após a interrupção $i: $f"; done
  done
  ;;
configuracao)
  # A settings file of every byte 0xFF, and one with absurd but well-formed values: a normal
  # report with the damaged-file warning, as long as the defaults' report.
  roda 0 report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/padrao.pdf"
  paginas=$(cat "$tmp/out")
  head -c 30000 /dev/zero | tr '\0' '\377' >"$tmp/ff.CNF"
  python3 - "$tmp/absurda.CNF" <<'PY'
import sys
enorme = "FF7F0000000000000000"  # a font of 32767 points
palavra = lambda n: "%02X%02X" % (n & 0xFF, n >> 8)
info = "".join(palavra(n) for n in (1, 150, 150, 150, 150, 0xFFFF, 0xFFFF)) + "01000101010001"
linhas = ["[Geral]", "Info=" + info, "FCabNm=Arial", "FCabIn=" + enorme, "Cab0=" + "x" * 20000,
          "[Análise da Variância]", "TitIn=" + enorme, "CrpIn=" + enorme, "InT=01FFFF01"]
open(sys.argv[1], "wb").write(("\r\n".join(linhas) + "\r\n").encode("cp1252"))
PY
  for cnf in ff absurda; do
    roda 0 report "$ex/windsor.QV3" "${modelo[@]}" --config "$tmp/$cnf.CNF" -o "$tmp/$cnf.pdf"
    tem "$tmp/err" "está danificada"
    [ "$(cat "$tmp/out")" = "$paginas" ] || falha "$cnf: $(cat "$tmp/out"), padrão $paginas"
  done
  ;;
disco)
  # A full disk: the Portuguese reason, the file the user named, the old file intact and no
  # scratch file left. A small tmpfs in a mount namespace of its own when this system allows
  # it; otherwise a file-size limit stands in for the full disk.
  mkdir "$tmp/disco"
  relatorio=(report "$ex/windsor.QV3" "${modelo[@]}" -o "$tmp/disco/laudo.rtf")
  if unshare -m true 2>/dev/null; then
    unshare -m bash -c '
      d=$1
      shift
      mount -t tmpfs -o size=256k tmpfs "$d" || exit 99
      printf anterior >"$d/laudo.rtf"
      head -c 100000000 /dev/zero >"$d/enche" 2>/dev/null
      "$@" >"$0/out" 2>"$0/err"; echo $? >"$0/status"
      cat "$d/laudo.rtf" >"$0/anterior"; ls -A "$d" >"$0/lista"' \
      "$tmp" "$tmp/disco" "$cli" "${relatorio[@]}"
    [ -s "$tmp/status" ] || falha "o tmpfs não pôde ser montado"
    tem "$tmp/err" "Não foi possível gravar o arquivo \"$tmp/disco/laudo.rtf\": Sem espaço no disco."
    [ "$(cat "$tmp/anterior")" = anterior ] || falha "o arquivo anterior mudou"
    [ "$(cat "$tmp/lista")" = $'enche\nlaudo.rtf' ] || falha "sobras: $(cat "$tmp/lista")"
  else
    printf anterior >"$tmp/disco/laudo.rtf"
    (trap '' XFSZ; ulimit -f 64; "$cli" "${relatorio[@]}" >"$tmp/out" 2>"$tmp/err"; echo $? >"$tmp/status")
    tem "$tmp/err" "Não foi possível gravar o arquivo \"$tmp/disco/laudo.rtf\": O arquivo excede o tamanho que o sistema permite."
    [ "$(cat "$tmp/disco/laudo.rtf")" = anterior ] || falha "o arquivo anterior mudou"
  fi
  [ "$(cat "$tmp/status" 2>/dev/null || echo 1)" = 1 ] || falha "status $(cat "$tmp/status")"
  ;;
cantos)
  roda 2 report "$ex/windsor.QV3" --choose 0 -o "$tmp/x.rtf"
  tem "$tmp/err" "As linhas de --choose começam em 1"
  roda 2 report "$ex/windsor.QV3" "${modelo[@]}" --items '' -o "$tmp/x.rtf"
  tem "$tmp/err" "--items vazio"
  roda 2 report "$ex/windsor.QV3" "${modelo[@]}" --graphs '' -o "$tmp/x.rtf"
  tem "$tmp/err" "--graphs vazio"
  roda 2 report "$ex/windsor.QV3" "${modelo[@]}" --subject lotsize=1e400 -o "$tmp/x.rtf"
  tem "$tmp/err" "fora do intervalo dos números reais"
  # A value too large for its column prints in powers of ten.
  roda 0 report "$ex/windsor.QV3" "${modelo[@]}" --subject lotsize=1e30 --items 49 -o "$tmp/e.txt"
  tem "$tmp/e.txt" "1,000x10^30"
  printf 'price\tlotsize\r\n' >"$tmp/vazia.txt"
  roda 1 report "$tmp/vazia.txt" --model price=1 -o "$tmp/x.rtf"
  tem "$tmp/err" "não tem amostragens"
  [ ! -e "$tmp/x.rtf" ] || falha "um relatório recusado foi gravado"
  ;;
*)
  falha "caso desconhecido: $caso"
  ;;
esac
