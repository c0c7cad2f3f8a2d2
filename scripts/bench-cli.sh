#!/usr/bin/env bash
# zanfor-cli's figures in the README: 10^7 default strings streamed into a file against the
# identical-bytes floor, its peak memory at two counts, and the peers that Debian ships on the same
# count (ZANFOR_PEERS_COUNT, 10^6 by default). Needs the native build (scripts/bench.sh makes it).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$PWD/build/native/cli/zanfor-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

build/native/bench/batch_bench --cli "$cli" --count 10000000 --runs 5 --dir "$tmp"
echo
echo "| strings, defaults, -o FILE | zanfor-cli peak memory |"
echo "|---|---|"
for n in 1000000 100000000; do
  kb=$(/usr/bin/time -f %M "$cli" strings -n "$n" -o "$tmp/m.txt" 2>&1 >/dev/null)
  echo "| $n | $((kb / 1024)) MiB |"
done
rm -f "$tmp/m.txt"

n=${ZANFOR_PEERS_COUNT:-1000000}
limit=60
# Seconds that one shell command takes, its output thrown away; "> limit" when it ran out of time.
seconds() {
  local start end status=0
  start=$(date +%s.%N)
  timeout "$limit" bash -c "$1" >/dev/null 2>&1 || status=$?
  end=$(date +%s.%N)
  if [ "$status" = 124 ]; then echo "> $limit"; else echo "$end - $start" | bc -l | xargs printf '%.3f'; fi
}
ratio() { # peer time / zanfor-cli time
  case $1 in ">"*) echo "> $(echo "${1#> } / $2" | bc -l | xargs printf '%.0f')" ;;
             *) echo "$1 / $2" | bc -l | xargs printf '%.1f' ;; esac
}

strings=$(seconds "'$cli' strings -n $n --min-length 8 --max-length 8 --lf")
numbers=$(seconds "'$cli' numbers --int --min 80 --max 100 -n $n --lf")
echo
echo "| $n 8-character strings | time (s) | ratio to zanfor-cli |"
echo "|---|---|---|"
echo "| zanfor-cli strings --min-length 8 --max-length 8 | $strings | 1.0 |"
row() { local t; t=$(seconds "$2"); echo "| $1 | $t | $(ratio "$t" "$strings") |"; }
row "zanfor-cli … --secure" "'$cli' strings -n $n --min-length 8 --max-length 8 --lf --secure"
row "openssl rand pipeline" \
  "openssl rand -base64 $((n * 12)) | tr -dc A-Za-z | fold -w 8 | head -n $n"
row "tr < /dev/urandom" "tr -dc A-Za-z < /dev/urandom | fold -w 8 | head -n $n"
row "pwgen -s" "pwgen -s -1 8 $n"
row "apg (${limit} s limit)" "apg -a 1 -M LC -m 8 -x 8 -n $n"
echo
echo "| $n whole numbers 80..100 | time (s) | ratio to zanfor-cli |"
echo "|---|---|---|"
echo "| zanfor-cli numbers --int | $numbers | 1.0 |"
t=$(seconds "shuf -i 80-100 -r -n $n")
echo "| shuf -i 80-100 -r | $t | $(ratio "$t" "$numbers") |"
