#!/bin/bash
# Shows that scripts/check-exports finds each kind of fault: it runs the
# checker on the built themecore.dll with expected lists that are wrong in one
# way each, and on canned objdump output of a DLL that exports decorated and
# unnamed entries (the table layout of newer binutils), and expects the exit
# status and the line that names the fault.
#
#   check_exports_faults.sh CHECKER DLL EXPECTED_FILE
set -u
if [ $# -ne 3 ]; then
  echo "usage: check_exports_faults.sh CHECKER DLL EXPECTED_FILE" >&2
  exit 2
fi
checker=$1 dll=$2 good=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passed=0

# expect NAME STATUS PATTERN... -- ARGS: runs the checker, checks the status
# and that each pattern is a line of its output.
expect() {
  local name=$1 status=$2
  shift 2
  local patterns=()
  while [ "$1" != "--" ]; do patterns+=("$1"); shift; done
  shift
  local output got
  output=$(timeout 30 python3 "$checker" "$@" 2>&1)
  got=$?
  local ok=1
  if [ "$got" -ne "$status" ]; then
    echo "FAIL $name: exit status $got, expected $status"
    ok=0
  fi
  for pattern in "${patterns[@]}"; do
    if ! grep -qxF -- "$pattern" <<<"$output"; then
      echo "FAIL $name: no line '$pattern'"
      ok=0
    fi
  done
  if [ $ok -eq 1 ]; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failures=$((failures + 1))
    echo "---- output of $name:"; echo "$output"; echo "----"
  fi
}

# list NAME LINE...: writes an expected list and prints its path.
list() {
  local name=$1
  shift
  printf '%s\n' "$@" >"$work/$name.txt"
  echo "$work/$name.txt"
}
base=$(basename "$dll")

expect "correct list passes" 0 -- "$dll" "$good"
expect "export missing from the list" 1 \
  "$base: SKEXIST: exported at ordinal 3 but not expected" \
  -- "$dll" "$(list short '1 SKSHELL' '2 SKFINDF')"
expect "listed export missing from the DLL" 1 \
  "$base: SKNOTHERE: missing (expected at ordinal 4)" \
  -- "$dll" "$(list extra '1 SKSHELL' '2 SKFINDF' '3 SKEXIST' '4 SKNOTHERE')"
expect "wrong ordinals" 1 \
  "$base: SKSHELL: ordinal 1, expected 2" "$base: SKFINDF: ordinal 2, expected 1" \
  -- "$dll" "$(list swapped '2 SKSHELL' '1 SKFINDF' '3 SKEXIST')"
expect "decorated name expected, undecorated exported" 1 \
  "$base: _SKSHELL@12: exported undecorated as SKSHELL, expected decorated _SKSHELL@12" \
  -- "$dll" "$(list decorated '1 _SKSHELL@12' '2 SKFINDF' '3 SKEXIST')"
expect "every difference is reported" 1 \
  "$base: SKFINDF: ordinal 2, expected 5" "$base: SKEXIST: exported at ordinal 3 but not expected" \
  "$base: SKEXIT: missing (expected at ordinal 3)" \
  -- "$dll" "$(list several '1 SKSHELL' '5 SKFINDF' '3 SKEXIT')"
expect "case matters" 1 "$base: skshell: missing (expected at ordinal 1)" \
  -- "$dll" "$(list lower '1 skshell' '2 SKFINDF' '3 SKEXIST')"
expect "unreadable list" 2 -- "$dll" "$work/no-such-list.txt"
expect "malformed list" 2 -- "$dll" "$(list malformed 'SKSHELL 1')"
expect "missing binary" 2 -- "$work/none.dll" "$good"

# A DLL whose table holds a decorated name and an ordinal without a name, as
# newer objdump prints it.
cat >"$work/objdump" <<'DUMP'
#!/bin/bash
cat <<'TABLE'
There is an export table in .edata at 0x10007000

The Export Tables (interpreted .edata section contents)

Ordinal Base 			1

Export Address Table -- Ordinal Base 1
	[   0] +base[   1] 2c50 Export RVA
	[   1] +base[   2] 1850 Export RVA
	[   2] +base[   3] 1720 Export RVA
	[   3] +base[   4] 0 Export RVA
	[   4] +base[   5] 1990 Export RVA

[Ordinal/Name Pointer] Table -- Ordinal Base 1
	[   2] +base[   3] SKEXIST
	[   1] +base[   2] SKFINDF
	[   0] +base[   1] _SKSHELL@12

TABLE
DUMP
chmod +x "$work/objdump"
: >"$work/fake.dll"
OBJDUMP="$work/objdump" expect "decorated export and unnamed ordinal" 1 \
  "fake.dll: SKSHELL: exported decorated as _SKSHELL@12, expected undecorated SKSHELL" \
  "fake.dll: ordinal 5: exported without a name" \
  -- "$work/fake.dll" "$good"

echo "$passed passed, $failures failed"
[ $failures -eq 0 ]
