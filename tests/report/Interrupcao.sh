#!/usr/bin/env bash
# An export killed midway leaves the previous file as it was, and nothing else in its folder.
# For each extension given, the sample program writes a long report over a file that already
# exists, says "exportando" while the document is still open, and is killed with SIGKILL.
#
#   Interrupcao.sh SAMPLE_PROGRAM EXTENSION...
set -u
amostra=$1
shift
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
falhas=0
for ext in "$@"; do
  arquivo="$pasta/laudo.$ext"
  printf 'relatório anterior\r\n' >"$arquivo"
  cp "$arquivo" "$pasta/anterior"
  "$amostra" "$arquivo" --pausa >"$pasta/saida" 2>/dev/null &
  pid=$!
  for _ in $(seq 600); do
    grep -q exportando "$pasta/saida" && break
    sleep 0.1
  done
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null
  if ! grep -q exportando "$pasta/saida"; then
    echo "FALHOU: $ext não chegou a exportar"; falhas=1
  elif [ "$(find "$pasta" -name "laudo.$ext*" | wc -l)" -ne 1 ]; then
    echo "FALHOU: $ext deixou arquivos na pasta"; find "$pasta" -name "laudo*"; falhas=1
  elif ! cmp -s "$arquivo" "$pasta/anterior"; then
    echo "FALHOU: $ext alterou o arquivo anterior"; falhas=1
  else
    echo "ok: $ext"
  fi
done
exit $falhas
