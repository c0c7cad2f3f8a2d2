#!/usr/bin/env bash
# The packages as a user gets them. The .deb: packed from the native build, checked by lintian,
# unpacked into a clean folder with dpkg -x and run from there, its man page and documents looked
# at. The Windows .zip of each Windows build: its files, its programs stripped. And the examples of
# the zip's README.txt, run one by one (with the native program, the same code).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
passed=0
check() { # name, then the command that must succeed
  local name=$1
  shift
  if "$@"; then
    echo "package: $name: ok"
    passed=$((passed + 1))
  else
    echo "package: $name: FAILED"
    failed=$((failed + 1))
  fi
}

rm -f build/native/zanfor-cli_*.deb
(cd build/native && cpack >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls build/native/zanfor-cli_*.deb)
lint() { # lintian's findings, without its warning about root
  local out status=0
  out=$(lintian --fail-on error "$1" 2>&1) || status=$?
  grep -v 'root privileges' <<<"$out" || true
  return $status
}
check "lintian finds no error" lint "$deb"
root=$work/installed
mkdir "$root"
dpkg -x "$deb" "$root"
out=$("$root/usr/bin/zanfor-cli" strings --seed 1 -n 3 --lf)
check "runs from the unpacked folder" test "$out" = "$(build/native/cli/zanfor-cli strings --seed 1 -n 3 --lf)"
check "three lines" test "$(printf '%s\n' "$out" | wc -l)" = 3
man=$(gzip -dc "$root/usr/share/man/man1/zanfor-cli.1.gz")
for section in DESCRIPTION EXAMPLES "EXIT STATUS" "SEE ALSO"; do
  check "man page has $section" grep -q "^\.SH \"\?$section\"\?$" <<<"$man"
done
check "man page has the options" grep -q 'secure' <<<"$man"
check "copyright and changelog" test -s "$root/usr/share/doc/zanfor-cli/copyright" -a \
  -s "$root/usr/share/doc/zanfor-cli/changelog.gz"
check "the program is stripped" sh -c "! nm '$root/usr/bin/zanfor-cli' 2>&1 | grep -q ' T main'"
# The bash completion as bash-completion loads it: the commands, then a command's options.
complete_words() { # the words typed so far, the last one being completed
  bash -c '. /usr/share/bash-completion/bash_completion
    . "$1"/usr/share/bash-completion/completions/zanfor-cli
    shift
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
    _zanfor_cli "$1" "${@: -1}" "${@: -2:1}"
    printf "%s\n" "${COMPREPLY[@]}"' _ "$root" "$root/usr/bin/zanfor-cli" "$@"
}
check "completion of a command" test "$(complete_words str)" = strings
check "completion of an option" grep -qx -- --lower <<<"$(complete_words strings --lo)"

# Each Windows build's zip, where the build is there.
for preset in windows windows64; do
  [ -f "build/$preset/CMakeCache.txt" ] || continue
  rm -f build/"$preset"/zanfor-*.zip
  (cd "build/$preset" && cpack >"$work/cpack-$preset.log" 2>&1) || { cat "$work/cpack-$preset.log"; exit 1; }
  zip=$(ls build/"$preset"/zanfor-*.zip)
  unzipped=$work/$preset
  mkdir "$unzipped"
  (cd "$unzipped" && cmake -E tar xf "$OLDPWD/$zip")
  dir=$(ls -d "$unzipped"/*/)
  check "$preset zip holds the programs, the guide and README.txt" test -f "$dir/Zanfor.exe" -a \
    -f "$dir/zanfor-cli.exe" -a -f "$dir/README.txt" -a -f "$dir/使用说明.md"
  strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "build/$preset/CMakeCache.txt")
  nm=${strip%strip}nm
  check "$preset programs are stripped" sh -c \
    "'$nm' '$dir/Zanfor.exe' 2>&1 | grep -q 'no symbols' && '$nm' '$dir/zanfor-cli.exe' 2>&1 | grep -q 'no symbols'"
  check "$preset README.txt names this version" \
    grep -q "Zanfor $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$preset/CMakeCache.txt") " "$dir/README.txt"
done

# README.txt's examples: every line that starts with "  zanfor-cli " is run as it stands.
examples=$work/examples
mkdir "$examples"
while IFS= read -r line; do
  read -ra args <<<"${line%%  *}" # a comment may follow after two blanks
  check "example: zanfor-cli ${args[*]}" \
    sh -c 'cd "$1" && shift && "$@" >/dev/null' _ "$examples" "$PWD/build/native/cli/zanfor-cli" "${args[@]}"
done < <(sed -n 's/^  zanfor-cli //p' docs/README-windows.txt.in)
phones=$(build/native/cli/zanfor-cli $(sed -n 's/^  zanfor-cli \(strings -n 5 --digits[^ ]*.*--head 1\).*/\1/p' docs/README-windows.txt.in | sed 's/  .*//'))
check "the phone example makes 11 digits starting with 1" \
  sh -c '! printf "%s\n" "$1" | tr -d "\r" | grep -qvE "^1[0-9]{10}$"' _ "$phones"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
