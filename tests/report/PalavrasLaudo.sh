#!/usr/bin/env bash
# The whole Windsor report as a reader gets it: exported to JSON (the words the report holds)
# and to each format given; the RTF and DOC are converted to PDF by LibreOffice, and the text of
# every PDF (ours and LibreOffice's) must hold the same words as the JSON, table cells split at
# their line breaks: at most LIMITE % (default 0,5) of the words may differ (lines that repeat on
# most pages, the running header, footer and page numbers, are set aside; so are the dots that
# lead a label to its tab stop). Labelled lines that follow each other keep their separators in
# one column. LibreOffice's page count for the RTF must stay within 10 % of our PDF's.
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

LIMITE=${LIMITE:-0.5} python3 - "$pasta/laudo.json" "${pdfs[@]}" <<'EOF'
import collections, html, json, os, re, subprocess, sys

def palavras_json(caminho):
    # Every target writes an item's title before each of its parts. An exponent is raised off
    # the line: a word of its own.
    d = json.load(open(caminho, encoding="utf-8"))
    textos = []
    for item in d["items"]:
        for parte in item["parts"]:
            for bloco in parte:
                if bloco.get("paragraph"):
                    runs = bloco.get("runs") or [{"text": bloco["paragraph"]}]
                    textos.append("".join(f" {r['text']} " if r.get("superscript") else r["text"]
                                          for r in runs))
                for linha in bloco.get("table", []):
                    # A cell's line breaks split its words; its exponent is digits after "^".
                    textos.extend(re.sub(r"\^([-+]?\d+)", r" \1 ", c) for c in linha)
    return [w for t in textos for w in t.split() if not pontos(w)]

def pontos(w):
    # The dots that lead a label to its tab stop fill what each writer measures: not words.
    return len(w) > 1 and not w.strip(".")

def layout(caminho):
    # Pages of lines of (word, left, top), as pdftotext lays them out (-bbox-layout): its plain
    # text joins short words set a space apart ("= 1" reads "=1") where the page shows them apart.
    xml = subprocess.run(["pdftotext", "-bbox-layout", caminho, "-"], capture_output=True,
                         text=True).stdout
    paginas = []
    for pagina in re.findall(r"<page .*?</page>", xml, re.S):
        linhas = []
        for linha in re.findall(r"<line .*?</line>", pagina, re.S):
            palavras = [(html.unescape(w), float(x), float(y), float(x2)) for x, y, x2, w in
                        re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>(.*?)</word>', linha)]
            if palavras: linhas.append(palavras)
        if linhas: paginas.append(linhas)
    return paginas

def desalinhados(paginas):
    # Labelled lines ("• lotsize ..... = 5.000", "bedrooms : [ 1 ; 6 ]": a separator a tab away
    # from its label) that follow each other put their separators in one column.
    grupos, anterior = [], None
    for p in paginas:
        for l in p:
            sep = next(((l[i][1], l[i][2]) for i in range(1, min(len(l), 8))
                        if l[i][0] in ("=", ":") and (l[i][1] - l[i - 1][3] > 4 or l[0][0] == "•"
                                                      or pontos(l[i - 1][0]))), None)
            texto = " ".join(w[0] for w in l)
            if sep and anterior and 0 < sep[1] - anterior[1] < 20:
                grupos[-1].append((sep[0], texto))
            elif sep:
                grupos.append([(sep[0], texto)])
            anterior = sep
    return [g for g in grupos if max(x for x, _ in g) - min(x for x, _ in g) > 1.5]

def palavras_pdf(paginas):
    paginas = [[[w[0] for w in l] for l in p] for p in paginas]
    # Lines at the top or foot of most pages, digits aside, are the running header and footer.
    # A line of digits alone is a table's cell, not a header: the report's page numbers come
    # with words ("Página 3").
    def forma(l): return re.sub(r"\d+", "#", " ".join(l))
    contagem = collections.Counter()
    for p in paginas:
        contagem.update({forma(l) for l in p[:3] + p[-3:]})
    repetidas = {f for f, n in contagem.items()
                 if n >= max(3, len(paginas) // 2) and re.search(r"[^\W\d_]", f)}
    r = []
    for p in paginas:
        for i, l in enumerate(p):
            if (i < 3 or i >= len(p) - 3) and forma(l) in repetidas:
                continue
            r.extend(w for w in l if not pontos(w))
    # A power of ten drawn with a smaller "x" reads as three words: "3,886", "x", "10".
    i = 0
    while i + 2 < len(r):
        if r[i + 1] == "x" and r[i + 2] == "10" and r[i][-1:].isdigit():
            r[i:i + 3] = [r[i] + "x10"]
        i += 1
    return r, len(paginas)

def paginas(caminho):
    info = subprocess.run(["pdfinfo", caminho], capture_output=True, text=True).stdout
    m = re.search(r"Pages:\s+(\d+)", info)
    return int(m.group(1)) if m else 0

falhas = 0
contagens = {}
for pdf in sys.argv[2:]:
    nosso_pdf = pdf.endswith("laudo_pdf.pdf")
    esperadas = collections.Counter(palavras_json(sys.argv[1]))
    total = sum(esperadas.values())
    folhas = layout(pdf)
    lidas, _ = palavras_pdf(folhas)
    for g in desalinhados(folhas)[:3]:
        falhas = 1
        print(f"FALHOU: {pdf.rsplit('/', 1)[-1]}: linhas rotuladas fora de coluna:",
              "; ".join(f"{t} (x = {x:.1f})" for x, t in g))
    achadas = collections.Counter(lidas)
    faltam = esperadas - achadas
    sobram = achadas - esperadas
    # Our PDF draws the charts as vectors, their titles and tick labels as text the JSON does
    # not hold: there only missing words count (a word cut in two is missing all the same).
    diferem = sum(faltam.values()) if nosso_pdf else max(sum(faltam.values()), sum(sobram.values()))
    pct = 100.0 * diferem / max(1, total)
    nome = pdf.rsplit("/", 1)[-1]
    contagens[nome] = paginas(pdf)
    print(f"{nome}: {contagens[nome]} páginas, {total} palavras, {sum(faltam.values())} faltam, "
          f"{sum(sobram.values())} sobram: {pct:.2f} % diferem")
    if pct > float(os.environ["LIMITE"]):
        falhas = 1
        print("  faltam:", ", ".join(f"{w}×{n}" for w, n in faltam.most_common(15)))
        print("  sobram:", ", ".join(f"{w}×{n}" for w, n in sobram.most_common(15)))
nosso, lo = contagens.get("laudo_pdf.pdf"), contagens.get("laudo_rtf.pdf")
if nosso and lo and abs(lo - nosso) > 0.1 * nosso:
    print(f"FALHOU: LibreOffice pagina o RTF em {lo} páginas, o nosso PDF tem {nosso}")
    falhas = 1
sys.exit(falhas)
EOF
