#!/bin/sh
# quillet-calc end to end: arguments, standard input, messages and exit codes.
# Usage: cli_test.sh COMMAND...   (the program, possibly behind an emulator)
set -u
failures=0
tab=$(printf '\t')

out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
# The one version, where the build takes it from.
version=$(cat "$(dirname "$0")/../../VERSION")

# compare WHAT WANT_STATUS WANT STATUS: the output in $out must be WANT, to the last newline.
compare() {
  got=$(tr -d '\r' <"$out"; echo .)
  got=${got%.}
  if [ "$got" != "$3" ] || [ "$4" != "$2" ]; then
    printf 'FAIL %s\n  want (%s): [%s]\n  got  (%s): [%s]\n' "$1" "$2" "$3" "$4" "$got"
    failures=$((failures + 1))
  fi
}

# check WHAT WANT_STATUS WANT_LINES -- COMMAND...  (each wanted line ends in a newline)
check() {
  what=$1; want_status=$2; want="$3
"; shift 4
  "$@" >"$out" 2>/dev/null
  compare "$what" "$want_status" "$want" $?
}
check_silent() {
  what=$1; shift 2
  "$@" >"$out" 2>/dev/null
  compare "$what" 1 "" $?
}

# check_stdin WHAT WANT_STATUS WANT INPUT -- COMMAND...  (WANT exactly, newlines included)
check_stdin() {
  what=$1; want_status=$2; want=$3; input=$4; shift 5
  printf '%s' "$input" | "$@" >"$out" 2>/dev/null
  compare "$what" "$want_status" "$want" $?
}

check "no parameters" 0 "f=5" -- "$@" "2+3"
check "two formulas" 0 "f1=9
f2=7" -- "$@" "x^2=2*x+1" "x=3"
check "parameters in order" 0 "f=7" -- "$@" "a*x+b" "a=2" "x=3" "b=1"
check "missing parameter is 0" 0 "f=1" -- "$@" "a*x+b" "b=1"
check "negative value" 0 "f=-6" -- "$@" "2*x" "x=-3"
check "cut at 40" 0 "f=1.23456789012346E+39" -- "$@" "12345678901234567890123456789012345678901"
check "check message" 1 "message${tab}Error: Falta operador${tab}2?x" -- "$@" "2x"
check "math message" 1 "message${tab}*Error*${tab}División por cero" -- "$@" "1/x" "x=0"
check "english" 1 "message${tab}*Error*${tab}Division by zero" -- "$@" --lang 1 "1/0"
check "line breaks escaped" 1 "message${tab}*Error*${tab}* Error de factorial (n!)*\\r\\n\\r\\nn debe estar en el intervalo [0,170]\\r\\n( <=170 por razones técnicas)" -- "$@" "171!"
check "wrong value goes on with 0" 1 "message${tab}error: parámetro x${tab}no es un número real
f=1" -- "$@" "a*x+b" "a=2" "x=abc" "b=1"
check_silent "silent refusal" -- "$@" "x="
check "too many parameters" 1 "message${tab}demasiados parámetros${tab}hom admite hasta 4 parámetros" -- "$@" "a+b+c=d+g"
check "second side fails alone" 1 "message${tab}*Error*${tab}División por cero
f2=2" -- "$@" "1/0=2"
check_stdin "standard input" 1 "f=5

f=8

message${tab}Error: Falta operador${tab}2?x

" "2+3
x*y${tab}x=2${tab}y=4
2x
" -- "$@"
check_stdin "standard input, all answered" 0 "f=4

" "2*2
" -- "$@"

# Options anywhere, "--" ends them, and "-" with a digit, "(" or "." starts a formula.
check "lang after the formula" 1 "message${tab}*Error*${tab}Division by zero" -- "$@" "1/0" --lang 1
check "lang among the values" 1 "message${tab}*Error*${tab}Division by zero" -- "$@" "1/x" --lang 1 "x=0"
check "lang 0, catalan, after the formula" 1 "message${tab}*Error*${tab}Divisió per zero" -- "$@" "1/0" --lang 0
check "negative number" 0 "f=-6" -- "$@" "-2*3"
check "negative parentheses" 0 "f=-3" -- "$@" "-(1+2)"
check "negative decimal point" 0 "f=0.5" -- "$@" "-.5+1"
check "negative with values" 0 "f=-7" -- "$@" "-2*x-1" "x=3"
check "double dash" 0 "f=-2" -- "$@" -- -h h=2
check "double dash, options before it" 1 "message${tab}*Error*${tab}Division by zero" -- "$@" --lang 1 -- "1/0"
check "double dash twice: a formula" 1 "message${tab}Error: Falta operando${tab}-- ?" -- "$@" -- --

# Help: the usage on standard output, status 0, wherever -h or --help stands.
"$@" --help >"$out" 2>"$err"
status=$?
usage=$(tr -d '\r' <"$out")
case $usage in
  "usage: quillet-calc "*) ;;
  *) echo "FAIL help: the usage on standard output, got [$usage]"; failures=$((failures + 1)) ;;
esac
[ "$status" = 0 ] && [ ! -s "$err" ] || { echo "FAIL help: status $status, standard error not empty"; failures=$((failures + 1)); }
for help in -h "2+3 -h" "--table x 0 1 1 x --help" "--lang 1 -h --foo"; do
  # shellcheck disable=SC2086
  check "help as $help" 0 "$usage" -- "$@" $help
done
check "version" 0 "quillet-calc $version" -- "$@" --version
check "version after a formula" 0 "quillet-calc $version" -- "$@" "2+3" --version

# check_misuse WHAT WANT_FIRST_LINE -- COMMAND...: status 2, nothing on standard
# output, and on standard error the reason followed by the same usage.
check_misuse() {
  what=$1; want_first=$2; shift 3
  "$@" >"$out" 2>"$err"
  status=$?
  got=$(tr -d '\r' <"$err")
  if [ "$status" != 2 ] || [ -s "$out" ] || [ "$got" != "$want_first
$usage" ]; then
    printf 'FAIL %s\n  want (2): [%s] and the usage\n  got  (%s): [%s], standard output [%s]\n' \
      "$what" "$want_first" "$status" "$got" "$(cat "$out")"
    failures=$((failures + 1))
  fi
}
check_misuse "unknown option" "quillet-calc: unknown option --foo" -- "$@" "2+3" --foo
check_misuse "a letter after the minus is an option" "quillet-calc: unknown option -x" -- "$@" -x
check_misuse "unknown option in UTF-8" "quillet-calc: unknown option --fórmula" -- "$@" --fórmula
check_misuse "lang without its value" "quillet-calc: --lang needs a value" -- "$@" "2+3" --lang
check_misuse "lang out of range" "quillet-calc: --lang takes 0, 1 or 2, not 3" -- "$@" --lang 3 "2+3"
check_misuse "svg without a table" "quillet-calc: --svg goes with --table" -- "$@" "2+3" --svg p.svg
check_misuse "two modes" "quillet-calc: --table and --list-library do not go together" -- "$@" --table --list-library
check_misuse "a value that is no LETTER=VALUE" "quillet-calc: values are LETTER=VALUE, not 3" -- "$@" "2*x" 3

# Redirected output is UTF-8 bytes, never the console's UTF-16 nor a code page.
"$@" "1/0" 2>/dev/null | od -An -tx1 | tr -d ' \n' >"$out"
case $(cat "$out") in
  *"446976697369c3b36e20706f72206365726f"*) ;;  # "División por cero"
  *) echo "FAIL redirected output in UTF-8: $(cat "$out")"; failures=$((failures + 1)) ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$failures failing case(s)"
  exit 1
fi
echo "all quillet-calc cases pass"
