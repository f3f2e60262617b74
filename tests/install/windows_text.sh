# Sourced by the package and installer checks.
# windows_text FILE [WORD]: true when every line of FILE ends in CR LF and its
# bytes are Windows-1252 text, not UTF-8 (the accents of the optional WORD,
# given in UTF-8, are looked for as Windows-1252 bytes).
windows_text() {
  local file=$1 word=${2:-}
  [ -s "$file" ] || return 1
  # A line without its CR, or a last line without its line end.
  LC_ALL=C grep -q $'[^\r]$' "$file" && return 1
  [ "$(tail -c 2 "$file" | od -An -tx1 | tr -d ' \n')" = 0d0a ] || return 1
  # Accents written as UTF-8 read as two letters each in Notepad.
  LC_ALL=C grep -q -P '[\xC2-\xF4][\x80-\xBF]' "$file" && return 1
  [ -z "$word" ] || LC_ALL=C grep -q -F "$(printf '%s' "$word" | iconv -f UTF-8 -t CP1252)" "$file"
}
