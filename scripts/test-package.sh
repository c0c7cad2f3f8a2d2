#!/usr/bin/env bash
# The .deb as a user gets it: packed from the native build, unpacked into a clean folder with
# dpkg -x, and run once from there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
rm -f build/native/zanfor-cli_*.deb
(cd build/native && cpack >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; exit 1; }
deb=$(ls build/native/zanfor-cli_*.deb)
mkdir "$root/installed"
root=$root/installed
dpkg -x "$deb" "$root"
failed=0
check() { # name, then the command that must succeed
  local name=$1
  shift
  if "$@"; then echo "package: $name: ok"; else echo "package: $name: FAILED"; failed=$((failed + 1)); fi
}
out=$("$root/usr/bin/zanfor-cli" strings --seed 1 -n 3 --lf)
check "runs from the unpacked folder" test "$out" = "$(build/native/cli/zanfor-cli strings --seed 1 -n 3 --lf)"
check "three lines" test "$(printf '%s\n' "$out" | wc -l)" = 3
check "man page" sh -c "gzip -dc '$root/usr/share/man/man1/zanfor-cli.1.gz' | grep -q 'secure'"
echo "$((3 - failed)) passed, $failed failed"
[ "$failed" = 0 ]
