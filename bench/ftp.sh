#!/usr/bin/env bash
# FTP throughput beside curl and lftp, against vsftpd on loopback: download and upload of
# a 200 MB file in active and passive mode, and the listing of a 5,000-file directory.
# Prints each tool's time and the engine's throughput as a ratio to the faster of the
# other two (1.00 = as fast as the best of them). Not part of ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target ftp_bench >/dev/null
bench="$root/build/tests/components/ftp/ftp_bench"
size_mb=${FTP_BENCH_MB:-200}
files=${FTP_BENCH_FILES:-5000}

work=$(mktemp -d)
server_pid=""
cleanup() {
  [[ -n "$server_pid" ]] && kill -- -"$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/srv/pub/many" "$work/local"
head -c $((size_mb * 1024 * 1024)) /dev/urandom >"$work/srv/pub/big.bin"
cp "$work/srv/pub/big.bin" "$work/local/up.bin"
(cd "$work/srv/pub/many" && seq -f "file-%05g.txt" 1 "$files" | xargs touch)

setsid "$root/tests/servers/vsftpd.sh" "$work/srv" >"$work/ready" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 1 100); do grep -q READY "$work/ready" 2>/dev/null && break; sleep 0.1; done
port=$(awk '/READY/ {print $2}' "$work/ready")
[[ -n "$port" ]] || { echo "vsftpd did not start" >&2; cat "$work/server.log" >&2; exit 1; }
url="ftp://127.0.0.1:$port"
cd "$work/local"

now() { date +%s.%N; }
timed() { local s; s=$(now); "$@" >/dev/null; echo "$(now) - $s" | bc -l; }

ours() {  # mode op remote local
  "$bench" "$port" "$1" "$2" "$3" "$4" | awk '{print $1}'
}
curl_run() {  # mode op remote local
  local port_opt=(); [[ "$1" == active ]] && port_opt=(-P -)
  case "$2" in
    get) timed curl -s "${port_opt[@]}" -o "$4" "$url/$3" ;;
    put) timed curl -s "${port_opt[@]}" -T "$4" "$url/$3" ;;
    list) timed curl -s "${port_opt[@]}" "$url/$3/" ;;
  esac
}
lftp_run() {  # mode op remote local
  local pm=on; [[ "$1" == active ]] && pm=off
  local cmd
  case "$2" in
    get) cmd="get $3 -o $4" ;;
    put) cmd="put $4 -o $3" ;;
    list) cmd="cls -l $3" ;;
  esac
  timed lftp -u anonymous,bench@example.com -e "set ftp:passive-mode $pm; set net:max-retries 1; set xfer:clobber on; $cmd; bye" "$url"
}

printf "%-22s %10s %10s %10s %8s\n" "case" "engine s" "curl s" "lftp s" "ratio"
for mode in active passive; do
  for op in get put list; do
    case "$op" in
      get) remote=pub/big.bin; local=down.bin ;;
      put) remote=pub/up.bin; local=up.bin ;;
      list) remote=/pub/many; local=- ;;
    esac
    a=$(ours "$mode" "$op" "$remote" "$local")
    [[ "$op" == list ]] && remote=pub/many
    rm -f "$work/local/down.bin" "$work/srv/pub/up.bin"
    b=$(curl_run "$mode" "$op" "$remote" "$local")
    rm -f "$work/local/down.bin" "$work/srv/pub/up.bin"
    c=$(lftp_run "$mode" "$op" "$remote" "$local")
    best=$(echo "if ($b < $c) $b else $c" | bc -l)
    ratio=$(echo "$best / $a" | bc -l)
    printf "%-22s %10.3f %10.3f %10.3f %8.2f\n" "$op $mode" "$a" "$b" "$c" "$ratio"
    rm -f "$work/local/down.bin" "$work/srv/pub/up.bin"
  done
done
