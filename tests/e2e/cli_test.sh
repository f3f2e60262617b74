#!/bin/sh
# quillet-calc end to end: arguments, standard input, messages and exit codes.
# Usage: cli_test.sh COMMAND...   (the program, possibly behind an emulator)
set -u
failures=0
tab=$(printf '\t')

out=$(mktemp)
trap 'rm -f "$out"' EXIT

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

if [ "$failures" -ne 0 ]; then
  echo "$failures failing case(s)"
  exit 1
fi
echo "all quillet-calc cases pass"
