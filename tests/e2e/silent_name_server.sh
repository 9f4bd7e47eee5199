#!/usr/bin/env bash
# Runs a Windows test program (under the project's Wine) while every host-name lookup of its
# processes goes to a name server that never answers. Only this run sees it: a private mount
# namespace in which /etc/resolv.conf names a loopback address where a socket reads the
# queries and never replies. The machine's own settings and its network are not touched.
# Usage: silent_name_server.sh PROGRAM [ARGS...]
# Exits 77 (skipped, for CTest) with the reason where the platform does not allow this.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ "${1:-}" != --inside ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: a private mount namespace needs root here; the slow-lookup tests did not run"
    exit 77
  fi
  if ! unshare -m true 2>/dev/null; then
    echo "SKIPPED: 'unshare -m' is not permitted here; the slow-lookup tests did not run"
    exit 77
  fi
  exec unshare -m --propagation private bash "${BASH_SOURCE[0]}" --inside "$@"
fi
shift

address=127.0.0.77
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Ten seconds per query, once, as a name server that is down costs on Windows.
printf 'nameserver %s\noptions timeout:10 attempts:1\n' "$address" > "$work/resolv.conf"
if ! mount --bind "$work/resolv.conf" /etc/resolv.conf; then
  echo "SKIPPED: /etc/resolv.conf cannot be replaced in the namespace; the slow-lookup tests did not run"
  exit 77
fi
python3 "$here/silent_name_server.py" "$address" "$work/queries" 600 &
server=$!
for _ in $(seq 100); do
  [ -s "$work/queries" ] && break
  sleep 0.1
done
if [ ! -s "$work/queries" ]; then
  echo "FAILED: the silent name server did not start on $address"
  exit 1
fi

"$root/scripts/wine-run" "$@"
rc=$?
queries=$(cat "$work/queries")
echo "silent name server: $queries queries read, none answered"
if [ "$rc" -eq 0 ] && [ "$queries" -eq 0 ]; then
  echo "FAILED: no lookup reached the silent name server"
  rc=1
fi
exit $rc
