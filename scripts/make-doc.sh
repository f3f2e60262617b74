#!/usr/bin/env bash
# Builds the help document that the menu "Info" opens: docs/guide.md through
# pandoc (standalone HTML with our own template) and weasyprint into a PDF.
# Usage: scripts/make-doc.sh OUT_PDF [VERSION]
#   VERSION  shown on the title page; by default the project's version.
# Every image the guide names must exist in docs/. For a trial build before
# all screenshots exist, QUILLET_DOC_EXTRA_IMAGES may name a folder outside
# the repository whose images stand in for the missing ones.
set -euo pipefail
out=${1:?usage: scripts/make-doc.sh OUT_PDF [VERSION]}
root=$(cd "$(dirname "$0")/.." && pwd)
docs="$root/docs"
version=${2:-$(cat "$root/VERSION")}
[ -n "$version" ] || { echo "make-doc.sh: no version given and none in VERSION" >&2; exit 1; }

for tool in pandoc weasyprint; do
  command -v "$tool" >/dev/null || { echo "make-doc.sh: $tool is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$docs/guide.md" "$docs/guide.css" "$docs/guide-template.html" "$docs/guide-filter.lua" "$stage/"

# The images the guide names: ![caption](file.png)
images=$(grep -o '!\[[^]]*\]([^)]*)' "$docs/guide.md" | sed 's/.*](\([^) ]*\).*/\1/' | sort -u || true)
missing=()
for img in $images; do
  if [ -f "$docs/$img" ]; then
    cp "$docs/$img" "$stage/"
  elif [ -n "${QUILLET_DOC_EXTRA_IMAGES:-}" ] && [ -f "$QUILLET_DOC_EXTRA_IMAGES/$img" ]; then
    cp "$QUILLET_DOC_EXTRA_IMAGES/$img" "$stage/"
  else
    missing+=("docs/$img")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "make-doc.sh: the guide names images that do not exist: ${missing[*]}" >&2
  exit 1
fi

(cd "$stage" && pandoc guide.md \
  --from markdown-smart --to html5 --standalone \
  --template guide-template.html --css guide.css --lua-filter guide-filter.lua \
  --toc --toc-depth 2 --number-sections \
  --metadata lang=es --variable version="$version" \
  --output guide.html)

# weasyprint reports unloadable images and unknown styles only as warnings;
# for this document each of them is a fault.
log="$stage/weasyprint.log"
if ! weasyprint --base-url "$stage/" "$stage/guide.html" "$stage/guide.pdf" 2>"$log"; then
  cat "$log" >&2
  echo "make-doc.sh: weasyprint failed" >&2
  exit 1
fi
if grep -Eq 'WARNING|ERROR' "$log"; then
  cat "$log" >&2
  echo "make-doc.sh: weasyprint reported problems" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"
mv "$stage/guide.pdf" "$out"
echo "doc: $out"
