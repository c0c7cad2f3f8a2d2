#!/usr/bin/env bash
# zanfor-cli's figures in the README: 10^7 seeded default strings streamed into a file against the
# identical-bytes floor, its peak memory at two counts, 10^7 passwords against writing as many
# zeros, and the peers that Debian ships on the same
# count (ZANFOR_PEERS_COUNT, 10^6 by default): the system's source (the default) against the
# pages' 15-bit source (--seed), and a shuffle of 1..count against shuf. Needs the native build
# (scripts/bench.sh makes it).
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
runs=5
# Seconds that one shell command takes, its output thrown away: the median of $runs runs, or of
# one when that took over 5 s; "> limit" when it ran out of time.
seconds() {
  local times=() start end status t i
  for ((i = 0; i < runs; i++)); do
    status=0
    start=$(date +%s.%N)
    timeout "$limit" bash -c "$1" >/dev/null 2>&1 || status=$?
    end=$(date +%s.%N)
    if [ "$status" = 124 ]; then echo "> $limit"; return; fi
    t=$(echo "$end - $start" | bc -l)
    times+=("$t")
    if [ "$(echo "$t > 5" | bc -l)" = 1 ]; then break; fi
  done
  printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((${#times[@]} + 1) / 2))p" | xargs printf '%.3f'
}
ratio() { # time / reference time
  case $1 in ">"*) echo "> $(echo "${1#> } / $2" | bc -l | xargs printf '%.0f')" ;;
             *) echo "$1 / $2" | bc -l | xargs printf '%.2f' ;; esac
}

# 10^7 passwords of 16 from upper, lower and digits against writing as many bytes of zeros, both
# into a file: how close the default source and the drawing come to the cost of the output alone.
pw=10000000
bytes=$((pw * 17))
zeros=$(seconds "head -c $bytes /dev/zero > '$tmp/z.txt'")
echo
echo "| $pw passwords of 16 into a file ($bytes bytes) | time (s) | ratio to head |"
echo "|---|---|---|"
echo "| head -c $bytes /dev/zero | $zeros | 1.00 |"
t=$(seconds "'$cli' strings --upper --lower --digits --length 16 -n $pw > '$tmp/p.txt'")
echo "| zanfor-cli strings --upper --lower --digits --length 16 | $t | $(ratio "$t" "$zeros") |"
rm -f "$tmp/z.txt" "$tmp/p.txt"

seeded=$(seconds "'$cli' strings -n $n --length 8 --seed 1")
echo
echo "| $n strings of 8 letters | time (s) | ratio to --seed |"
echo "|---|---|---|"
echo "| zanfor-cli strings --length 8 --seed 1 (the pages' 15-bit source) | $seeded | 1.00 |"
row() { local t; t=$(seconds "$2"); echo "| $1 | $t | $(ratio "$t" "$3") |"; }
row "zanfor-cli strings --length 8 (the system's source, the default)" \
  "'$cli' strings -n $n --length 8" "$seeded"
row "openssl rand pipeline" \
  "openssl rand -base64 $((n * 12)) | tr -dc A-Za-z | fold -w 8 | head -n $n" "$seeded"
row "tr < /dev/urandom" "tr -dc A-Za-z < /dev/urandom | fold -w 8 | head -n $n" "$seeded"
row "pwgen -s" "pwgen -s -1 8 $n" "$seeded"
row "apg (${limit} s limit)" "apg -a 1 -M LC -m 8 -x 8 -n $n" "$seeded"

numbers=$(seconds "'$cli' numbers --int --min 80 --max 100 -n $n")
echo
echo "| $n whole numbers 80..100 | time (s) | ratio to zanfor-cli |"
echo "|---|---|---|"
echo "| zanfor-cli numbers --int (the default source) | $numbers | 1.00 |"
row "zanfor-cli numbers --int --seed 1" "'$cli' numbers --int --min 80 --max 100 -n $n --seed 1" \
  "$numbers"
row "shuf -i 80-100 -r" "shuf -i 80-100 -r -n $n" "$numbers"

shuf=$(seconds "shuf -i 1-$n")
echo
echo "| a shuffle of 1..$n | time (s) | ratio to shuf |"
echo "|---|---|---|"
echo "| shuf -i 1-$n | $shuf | 1.00 |"
row "zanfor-cli numbers --int --min 1 --max $n -n $n --unique" \
  "'$cli' numbers --int --min 1 --max $n -n $n --unique" "$shuf"
