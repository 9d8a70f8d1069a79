#!/bin/bash
# zelto-cli report … --graphs DIR on the Windsor example: one PNG per graph item and part,
# named item-part, each a picture of the item's size (100 mm at 96 pixels per inch: 378 pixels),
# and the count printed equal to the files written.
set -u
cli=$1
raiz=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
falha() { echo "FALHA: $*" >&2; exit 1; }

saida=$("$cli" report "$raiz/examples/windsor.QV3" --choose 1 -o "$dir/laudo.rtf" --graphs "$dir/g" 2>/dev/null) ||
  falha "o comando falhou"
for nome in 6-1 8-1 9-1 10-1 12-1 24-1 25-1 27-1 28-1 29-1 33-1 34-1 37-1 39-1 42-1 44-1 46-1 47-1 47-11 54-1 54-5 55-1 55-10 56-1 56-10; do
  [ -f "$dir/g/$nome.png" ] || falha "falta $nome.png"
done
arquivos=$(ls "$dir/g" | wc -l)
echo "$saida" | grep -qx "$arquivos gráficos em $dir/g" || falha "contagem: '$saida' para $arquivos arquivos"
for f in "$dir"/g/*.png; do
  file "$f" | grep -q 'PNG image data, 378 x 378' || falha "$(file "$f")"
done
[ -s "$dir/laudo.rtf" ] || falha "o relatório não foi escrito"
echo "ok: $arquivos gráficos"
