#!/usr/bin/env bash
# Checks the built help document: a PDF with pages whose text holds every
# chapter (in the contents and as a heading) and the program's key texts.
# Usage: tests/doc/doc_test.sh PDF
set -euo pipefail
pdf=${1:?usage: tests/doc/doc_test.sh PDF}
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

[ -s "$pdf" ] || { echo "FAIL $pdf is missing or empty"; exit 1; }
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "${pages:-0}" -gt 20 ] || fail "only ${pages:-0} pages"

# One line of text, so that a line break inside a phrase does not hide it.
text=$(pdftotext -enc UTF-8 "$pdf" - | tr '\n\f' '  ' | tr -s ' ')

chapters=(
  "Qué es Quillet"
  "Instalación y desinstalación"
  "Primeros pasos"
  "La ventana principal y el menú"
  "Cómo se escribe una fórmula"
  "Cómo se calcula: el orden de las operaciones"
  "Parámetros"
  "Fórmulas de dos lados"
  "Cómo se muestran los números"
  "Mensajes de error"
  "La tabla de valores y el gráfico"
  "La biblioteca de fórmulas"
  "El menú Utilidades"
  "Ayuda y \"Sobre Quillet\""
  "quillet-calc: Quillet en la línea de órdenes"
  "Preguntas frecuentes"
)
for c in "${chapters[@]}"; do
  n=$(grep -o -F -- "$c" <<<"$text" | wc -l)
  [ "$n" -ge 2 ] || fail "chapter \"$c\" found $n time(s), want the contents entry and the heading"
done

# Texts of the program, quoted exactly as it shows them.
key_texts=(
  "Versión "
  "Cálculo de fórmulas"
  "\"Edición Utilidades\""
  "\"Sobre Quillet\""
  "Error: carácter no válido"
  "Error: Falta operador"
  "Error: Falta operando"
  "hom admite hasta 4 parámetros"
  "no es un número real"
  "División por cero"
  "n debe estar en el intervalo [0,170]"
  "Potencia de base negativa y exponente no entero"
  "*Error*"
  "Desbordamiento"
  "La tabla tendría más de 100 000 filas (el máximo es 100 000)."
  "hay que seleccionar (doble click) un tema"
  "no se ha guardado"
  "el fichero ha cambiado"
  "fichero no válido"
  "No trobat directori..."
  "2^3^2"
  "temas.rel"
  "Tools.rel"
  "quillet-calc --list-library"
  "quillet-calc --build-library"
  "--table"
  "notas.txt , unidades.txt"
  "Ctrl+N"
  "Ctrl+O"
  "Ctrl+S"
  "Ctrl+T"
  "F1"
  "dos decimales"
)
for k in "${key_texts[@]}"; do
  grep -q -F -- "$k" <<<"$text" || fail "text \"$k\" not found"
done

# Page breaks: no page after the title page is left with a few lines (a
# chapter's tail that would fit before it), and none ends on a line that leads
# into what follows.
for ((page = 2; page <= pages; page++)); do
  body=$(pdftotext -enc UTF-8 -layout -f "$page" -l "$page" "$pdf" - |
    grep -v -e '^[[:space:]]*$' -e 'Guía del usuario' -e '^[[:space:]]*[0-9]*[[:space:]]*$' || true)
  lines=$(grep -c . <<<"$body" || true)
  [ "$lines" -ge 7 ] || fail "page $page holds only $lines line(s) of text"
  last=$(tail -n 1 <<<"$body" | sed 's/[[:space:]]*$//')
  case "$last" in *:) fail "page $page ends on a lead-in line: \"${last##* }\"" ;; esac
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failing check(s) of $pdf"
  exit 1
fi
echo "help document $pdf: $pages pages, every chapter and key text present"
