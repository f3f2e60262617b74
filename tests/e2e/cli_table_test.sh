#!/bin/sh
# quillet-calc --table end to end: the rows as the dialog lists them, its
# refusals as message lines, exit codes, and the plot written as SVG.
# Usage: cli_table_test.sh COMMAND...   (the program, possibly behind an emulator)
set -u
failures=0
tab=$(printf '\t')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out="$work/out"

# check WHAT WANT_STATUS WANT_LINES -- ARGS...  (the output must be WANT and a newline;
# an empty WANT_LINES: no output at all)
check() {
  what=$1; want_status=$2; want="$3
"; [ -z "$3" ] && want=""; shift 4
  (cd "$work" && "$@") >"$out" 2>/dev/null
  status=$?
  got=$(tr -d '\r' <"$out"; echo .)
  got=${got%.}
  if [ "$got" != "$want" ] || [ "$status" != "$want_status" ]; then
    printf 'FAIL %s\n  want (%s): [%s]\n  got  (%s): [%s]\n' "$what" "$want_status" "$want" "$status" "$got"
    failures=$((failures + 1))
  fi
}

check "squares" 0 "    1${tab}       1
    2${tab}       4
    3${tab}       9" -- "$@" --table x 1 3 1 "x*x"
check "the last row passes a" 0 "    0${tab}         0
 0.3${tab}      0.3
 0.6${tab}      0.6
 0.9${tab}      0.9
 1.2${tab}    1.2" -- "$@" --table x 0 1 0.3 x
check "a not above de: two rows" 0 "    4${tab}       4
    5${tab}       5" -- "$@" --table x 4 2 1 x
check "constants as typed" 0 "   -3${tab}      17
-2.75${tab}  14.125
-2.5${tab}   11.5" -- "$@" --table x -3 -2.5 0.25 "a*x^2+b" a=2 b=-1
check "a constant not given is 0" 0 "    1${tab}         0
    2${tab}         0" -- "$@" --table x 1 2 1 "a*x"
check "a constant is a number" 1 "message${tab}Número no válido${tab}La constante a no es un número: \"1+1\"" -- "$@" --table x 3 4 1 "a*x" a=1+1
check "another variable runs" 0 "    1${tab}      -9
    2${tab}      -8" -- "$@" --table a 1 2 1 "a-x" x=10
check "two formulas" 0 "    1${tab}       1${tab}       3
    2${tab}       4${tab}       5" -- "$@" --table x 1 2 1 "x*x=2*x+1"
check "math error listed as 0" 0 "   -1${tab}      -1
    0${tab}         0
    1${tab}       1" -- "$@" --table x -1 1 1 "1/x"
check "exactly the row limit" 0 "1.000e5${tab}1.000e5" -- sh -c '"$@" | tail -n 1' sh "$@" --table x 1 100000 1 x

check "invalid de" 1 "message${tab}Número no válido${tab}\"1,5\" is an invalid float" -- "$@" --table x 1,5 2 1 x
check "step 0" 1 "message${tab}Incremento no válido${tab}El incremento debe ser un número distinto de cero." -- "$@" --table x 0 1 0 x
check "unreadable step" 1 "message${tab}Incremento no válido${tab}El incremento debe ser un número distinto de cero." -- "$@" --table x 0 1 abc x
check "step away from a" 1 "message${tab}Incremento no válido${tab}Con este incremento la variable nunca llega al valor \"a\"." -- "$@" --table x 0 1 -1 x
check "too many rows" 1 "message${tab}Tabla demasiado larga${tab}La tabla tendría más de 100 000 filas (el máximo es 100 000)." -- "$@" --table x 0 100000 1 x
check "beyond 32 bits" 1 "message${tab}Tabla demasiado larga${tab}El intervalo necesita más pasos de los que caben en un entero de 32 bits." -- "$@" --table x 0 1E10 1 x
check "english" 1 "message${tab}Invalid increment${tab}The increment must be a number other than zero." -- "$@" --lang 1 --table x 0 1 0 x
check "formula refused" 1 "message${tab}Error: Falta operador${tab}2?x" -- "$@" --table x 0 1 1 2x
check "formula refused silently" 1 "" -- "$@" --table x 0 1 1 "x="

(cd "$work" && "$@" --table y 0 1 1 x) >/dev/null 2>&1
[ $? = 2 ] || { echo "FAIL a letter that is no parameter is misuse"; failures=$((failures + 1)); }

check "svg beside the rows" 0 "    1${tab}       1
    2${tab}       4
    3${tab}       9" -- "$@" --table x 1 3 1 "x*x" --svg plot.svg
if [ ! -s "$work/plot.svg" ] || ! grep -q '<svg ' "$work/plot.svg" ||
   [ "$(grep -c '<line ' "$work/plot.svg")" != 8 ] || [ "$(grep -c '<text ' "$work/plot.svg")" != 4 ]; then
  echo "FAIL svg: axes, a curve and two grid lines per later point, two labels each"
  failures=$((failures + 1))
fi

# Options anywhere: the plot and the language before, after or inside the table's items.
check "svg before the table" 0 "    1${tab}       1
    2${tab}       4" -- "$@" --svg before.svg --table x 1 2 1 "x*x"
[ -s "$work/before.svg" ] || { echo "FAIL svg before the table: no plot written"; failures=$((failures + 1)); }
check "lang after the formula" 1 "message${tab}Invalid increment${tab}The increment must be a number other than zero." -- "$@" --table x 0 1 0 x --lang 1
check "lang among the constants" 0 "    1${tab}       7
    2${tab}      12" -- "$@" --table x 1 2 1 "a*x+b" a=5 --lang 1 b=2
check "table after its items" 0 "-0.5${tab}    -0.5
    0${tab}         0" -- "$@" x -.5 0 0.5 x --table
check "negative range and formula" 0 "   -2${tab}       4
   -1${tab}       1" -- "$@" --table x -2 -1 1 "-(x)*x*-1"
check "double dash before the table's items" 0 "    1${tab}       2
    2${tab}       3" -- "$@" --table -- x 1 2 1 "x+1"

for misuse in "--table x 0 1 1 x --svg" "--table x 0 1 1 x -y" "--table x 0 1" "--table x 0 1 1 x 3"; do
  # shellcheck disable=SC2086
  (cd "$work" && "$@" $misuse) >"$out" 2>/dev/null
  status=$?
  [ "$status" = 2 ] && [ ! -s "$out" ] || { echo "FAIL misuse $misuse: status $status"; failures=$((failures + 1)); }
done

# Ctrl+C in a table of ever longer rows: the rows so far, each whole, and status 130.
# In a process group of its own, as a terminal sends the key to the whole job.
(cd "$work" && exec setsid "$@" --table x 0.9 1.099998 0.000002 "x^2147483647") >"$out" 2>/dev/null &
job=$!
sleep 3
kill -INT "-$job" 2>/dev/null
wait "$job"
status=$?
rows=$(tr -d '\r' <"$out" | grep -c "^ *0\.9[0-9]*${tab} *[0-9.e-]*\$")
lines=$(wc -l <"$out")
if [ "$status" != 130 ] || [ "$rows" -lt 1 ] || [ "$rows" != "$lines" ] || [ "$lines" -ge 100000 ] ||
   [ -n "$(tail -c 1 "$out" | tr -d '\n')" ]; then
  echo "FAIL ctrl+c: status $status, $rows whole rows of $lines lines"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failing case(s)"
  exit 1
fi
echo "all quillet-calc --table cases pass"
