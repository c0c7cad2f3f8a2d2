# Sourced by the test scripts: two small disks for the fault tests, a full one and a read-only one
# holding one file, named by ZANFOR_FULL_DIR and ZANFOR_READONLY_DIR. They need mount (root);
# without them the tests that need them fail and say why.
zanfor_faults=$(mktemp -d /tmp/zanfor-faults.XXXXXX)
mkdir -p "$zanfor_faults/full" "$zanfor_faults/readonly"
if mount -t tmpfs -o size=64k tmpfs "$zanfor_faults/full" 2>/dev/null &&
   mount -t tmpfs -o size=64k tmpfs "$zanfor_faults/readonly" 2>/dev/null; then
  printf 'old\r\n' >"$zanfor_faults/readonly/old.txt"
  mount -o remount,ro "$zanfor_faults/readonly"
  export ZANFOR_FULL_DIR="$zanfor_faults/full" ZANFOR_READONLY_DIR="$zanfor_faults/readonly"
else
  echo "warning: cannot mount small disks here; the fault tests that need them will fail" >&2
fi
zanfor_faults_cleanup() {
  umount "$zanfor_faults/full" "$zanfor_faults/readonly" 2>/dev/null || true
  rm -rf "$zanfor_faults"
}
