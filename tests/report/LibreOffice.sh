#!/usr/bin/env bash
# The word processor as the real client of the exported reports. The fixed sequence is written
# in each format given (by the writer of the extension), LibreOffice converts every file to plain
# text and to ODT, and the texts with their accents, the table cells and the two pictures must
# arrive; every picture LibreOffice keeps as a bitmap must have the colours that were written.
#
#   LibreOffice.sh SAMPLE_PROGRAM EXTENSION...
set -u
amostra=$1
shift
command -v soffice >/dev/null || { echo "soffice não está instalado (scripts/setup)"; exit 1; }
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
export HOME=${HOME:-$pasta}

arquivos=()
for ext in "$@"; do
  arquivo="$pasta/laudo_$ext.$ext"
  "$amostra" "$arquivo" 2>"$pasta/erro" || { echo "FALHOU: $ext não foi escrito"; cat "$pasta/erro"; exit 1; }
  arquivos+=("$arquivo")
done

# A private profile: the conversion works as root and beside another running instance.
for alvo in txt:Text odt; do
  if ! timeout 240 soffice -env:UserInstallation="file://$pasta/perfil" --headless --norestore \
      --convert-to "$alvo" --outdir "$pasta/saida" "${arquivos[@]}" >"$pasta/log" 2>&1; then
    echo "FALHOU: conversão para $alvo"; cat "$pasta/log"; exit 1
  fi
done
grep -iE "warn|erro|error" "$pasta/log" | sed 's/^/soffice: /'

falhas=0
esperados=("Modelo de regressão" "Ação, índice, coração: é ü ç ã; chaves {x} e barra \\."
           "Coeficiente 1,2345x10" "Variável" "Coeficiente" "área" "1,25" "3,40" "frente"
           "-0,5" "-2,1" "Total" "negrito itálico sublinhado vermelho" "Fim do relatório.")
for ext in "$@"; do
  texto="$pasta/saida/laudo_$ext.txt"
  odt="$pasta/saida/laudo_$ext.odt"
  for e in "${esperados[@]}"; do
    grep -qF -- "$e" "$texto" 2>/dev/null || { echo "FALHOU: $ext sem o texto \"$e\""; falhas=1; }
  done
  figuras=$(unzip -Z1 "$odt" 2>/dev/null | grep -c '^Pictures/.')
  if [ "$figuras" -lt 2 ]; then echo "FALHOU: $ext com $figuras figuras (2 esperadas)"; falhas=1; fi
  rm -rf "$pasta/figuras" && mkdir "$pasta/figuras"
  unzip -q -o "$odt" 'Pictures/*' -d "$pasta/figuras" 2>/dev/null
  bitmaps=("$pasta"/figuras/Pictures/*.bmp "$pasta"/figuras/Pictures/*.png)
  bitmaps=($(ls "${bitmaps[@]}" 2>/dev/null))
  if [ ${#bitmaps[@]} -eq 0 ]; then echo "FALHOU: $ext sem figura em bitmap"; falhas=1
  elif ! "$amostra" --cores "${bitmaps[@]}"; then falhas=1; fi
  [ $falhas -eq 0 ] && echo "ok: $ext ($figuras figuras, ${#bitmaps[@]} em bitmap com as cores certas)"
done
exit $falhas
