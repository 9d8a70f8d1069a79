#!/usr/bin/env bash
# The whole Windsor report as a reader gets it: exported to JSON (the words the report holds)
# and to each format given; the RTF and DOC are converted to PDF by LibreOffice, and the text of
# every PDF (ours and LibreOffice's) must hold the same words as the JSON, table cells split at
# their line breaks: at most LIMITE % (default 0,5) of the words may differ (lines that repeat on most pages,
# the running header, footer and page numbers, are set aside). LibreOffice's page count for the
# RTF must stay within 10 % of our PDF's.
#
#   PalavrasLaudo.sh ZELTO_CLI EXAMPLES_FOLDER FORMAT...      (formats: pdf rtf doc)
set -u
cli=$1
exemplos=$2
shift 2
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
export HOME=${HOME:-$pasta} XDG_RUNTIME_DIR=$pasta QT_QPA_PLATFORM=offscreen
command -v pdftotext >/dev/null || { echo "pdftotext não está instalado"; exit 1; }

"$cli" report "$exemplos/windsor.QV3" --choose 1 -o "$pasta/laudo.json" >/dev/null 2>"$pasta/erro" ||
  { echo "FALHOU: exportação JSON"; cat "$pasta/erro"; exit 1; }
pdfs=()
for f in "$@"; do
  "$cli" report "$exemplos/windsor.QV3" --choose 1 -o "$pasta/laudo_$f.$f" >/dev/null 2>"$pasta/erro" ||
    { echo "FALHOU: exportação $f"; cat "$pasta/erro"; exit 1; }
  if [ "$f" = pdf ]; then
    pdfs+=("$pasta/laudo_pdf.pdf")
  else
    command -v soffice >/dev/null || { echo "soffice não está instalado (scripts/setup)"; exit 1; }
    timeout 400 soffice -env:UserInstallation="file://$pasta/perfil" --headless --norestore \
      --convert-to pdf --outdir "$pasta/lo" "$pasta/laudo_$f.$f" >"$pasta/log" 2>&1 ||
      { echo "FALHOU: conversão de $f"; cat "$pasta/log"; exit 1; }
    pdfs+=("$pasta/lo/laudo_$f.pdf")
  fi
done
for p in "${pdfs[@]}"; do pdftotext "$p" "${p%.pdf}.txt" || exit 1; done

LIMITE=${LIMITE:-0.5} python3 - "$pasta/laudo.json" "${pdfs[@]}" <<'EOF'
import collections, json, os, re, subprocess, sys

def palavras_json(caminho):
    d = json.load(open(caminho, encoding="utf-8"))
    textos = []
    for item in d["items"]:
        for parte in item["parts"]:
            for bloco in parte:
                if "paragraph" in bloco:
                    textos.append(bloco["paragraph"])
                for linha in bloco.get("table", []):
                    textos.extend(linha)  # a cell's line breaks split its words
    return [w.replace("^", "") for t in textos for w in t.split()]

def palavras_pdf(caminho):
    paginas = open(caminho, encoding="utf-8").read().split("\f")
    paginas = [[l.strip() for l in p.splitlines() if l.strip()] for p in paginas]
    paginas = [p for p in paginas if p]
    # Lines at the top or foot of most pages (digits aside) are the header, footer and page
    # numbers.
    def forma(l): return re.sub(r"\d+", "#", l)
    contagem = collections.Counter()
    for p in paginas:
        contagem.update({forma(l) for l in p[:3] + p[-3:]})
    repetidas = {f for f, n in contagem.items() if n >= max(3, len(paginas) // 2)}
    r = []
    for p in paginas:
        for i, l in enumerate(p):
            if (i < 3 or i >= len(p) - 3) and forma(l) in repetidas:
                continue
            r.extend(l.split())
    return r, len(paginas)

def paginas(caminho):
    info = subprocess.run(["pdfinfo", caminho], capture_output=True, text=True).stdout
    m = re.search(r"Pages:\s+(\d+)", info)
    return int(m.group(1)) if m else 0

esperadas = collections.Counter(palavras_json(sys.argv[1]))
total = sum(esperadas.values())
falhas = 0
contagens = {}
for pdf in sys.argv[2:]:
    lidas, _ = palavras_pdf(pdf[:-4] + ".txt")
    achadas = collections.Counter(lidas)
    faltam = esperadas - achadas
    sobram = achadas - esperadas
    # Our PDF draws the charts as vectors, their titles and tick labels as text the JSON does
    # not hold: there only missing words count (a word cut in two is missing all the same).
    nosso_pdf = pdf.endswith("laudo_pdf.pdf")
    diferem = sum(faltam.values()) if nosso_pdf else max(sum(faltam.values()), sum(sobram.values()))
    pct = 100.0 * diferem / max(1, total)
    nome = pdf.rsplit("/", 1)[-1]
    contagens[nome] = paginas(pdf)
    print(f"{nome}: {contagens[nome]} páginas, {total} palavras, {sum(faltam.values())} faltam, "
          f"{sum(sobram.values())} sobram: {pct:.2f} % diferem")
    if pct > float(os.environ["LIMITE"]):
        falhas = 1
        print("  faltam:", ", ".join(f"{w}×{n}" for w, n in faltam.most_common(12)))
        print("  sobram:", ", ".join(f"{w}×{n}" for w, n in sobram.most_common(12)))
nosso, lo = contagens.get("laudo_pdf.pdf"), contagens.get("laudo_rtf.pdf")
if nosso and lo and abs(lo - nosso) > 0.1 * nosso:
    print(f"FALHOU: LibreOffice pagina o RTF em {lo} páginas, o nosso PDF tem {nosso}")
    falhas = 1
sys.exit(falhas)
EOF
