#!/usr/bin/env bash
# Crawls a generated 1,000-page site served by nginx on loopback, once with Quillmoor's
# multi-downloader and once with `wget --recursive` at the same depth, and prints the
# ratio of wall times. Needs a build (./scripts/build.sh) and nginx, wget, g++.
# Usage: bench/grab.sh [pages] [delay_ms]   (default 1000 pages, 0 and 10 ms)
# Each run is made twice: without delay (loopback speed; Quillmoor syncs every stored file
# to disk, wget does not) and with a per-request delay standing in for a real network,
# where five parallel transfers count.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pages=${1:-1000}
delay_ms=${2:-10}
build="$root/build"
[[ -f "$build/components/downloader/libquillmoor_components_downloader.a" ]] || {
  echo "build first: ./scripts/build.sh" >&2; exit 1; }
command -v nginx >/dev/null || PATH="$PATH:/usr/sbin"
for tool in nginx wget g++ python3; do command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }; done

work=$(mktemp -d)
chmod 755 "$work"
nginx_pid=""
cleanup() {
  [[ -n "$nginx_pid" ]] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The grab tool, linked against the built libraries.
g++ -std=c++20 -O2 -fPIC -I"$root" "$root/bench/grab_tool.cpp" -o "$work/grab_tool" \
  "$build/components/downloader/libquillmoor_components_downloader.a" \
  "$build/platform/libquillmoor_platform_core.a" \
  $(pkg-config --cflags --libs Qt6Core libcurl gumbo)

# The site: page i links to pages 5i+1 .. 5i+5 and to one shared image, so every page
# is reached within a few levels.
python3 - "$work/site" "$pages" <<'PY'
import os, sys
site, n = sys.argv[1], int(sys.argv[2])
os.makedirs(site)
with open(os.path.join(site, "logo.png"), "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + b"p" * 2048)
for i in range(n):
    links = "".join(f'<li><a href="p{c}.html">page {c}</a></li>' for c in range(5 * i + 1, 5 * i + 6) if c < n)
    body = f"<h1>Page {i}</h1><img src=\"logo.png\"><ul>{links}</ul><p>{'text ' * 400}</p>"
    name = "index.html" if i == 0 else f"p{i}.html"
    with open(os.path.join(site, name), "w") as f:
        f.write(f"<html><head><title>Page {i}</title></head><body>{body}</body></html>")
PY
depth=0
reach=1; total=1
while (( total < pages )); do reach=$((reach * 5)); total=$((total + reach)); depth=$((depth + 1)); done

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
echo_module=/usr/lib/nginx/modules/ngx_http_echo_module.so
if [[ -f "$echo_module" ]]; then
  load="load_module $echo_module;"
  slow="location ~ ^/slow(/.*)\$ { set \$rest \$1; echo_sleep $(printf "%.3f" "$(echo "$delay_ms / 1000" | bc -l)"); echo_exec \$rest; }"
else
  load=""; slow=""
  echo "no nginx echo module (libnginx-mod-http-echo): the delayed run is skipped" >&2
fi
cat > "$work/nginx.conf" <<CONF
$load
worker_processes 2;
daemon off;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 512; }
http {
  access_log off;
  types { text/html html; image/png png; }
  server {
    listen 127.0.0.1:$port; root $work/site; index index.html;
    $slow
  }
}
CONF
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -sf "http://127.0.0.1:$port/" >/dev/null && break
  sleep 0.1
done

now() { date +%s.%N; }
run() {  # prefix label
  local prefix=$1 label=$2
  rm -rf "$work/quillmoor" "$work/wget"
  local t0 t1 t2 items files q w
  t0=$(now)
  items=$("$work/grab_tool" "http://127.0.0.1:$port$prefix/" "$work/quillmoor" $((depth + 1)))
  t1=$(now)
  wget --quiet --recursive --level="$depth" --directory-prefix="$work/wget" "http://127.0.0.1:$port$prefix/" || true
  t2=$(now)
  files=$(find "$work/wget" -type f 2>/dev/null | wc -l)
  q=$(echo "$t1 - $t0" | bc -l)
  w=$(echo "$t2 - $t1" | bc -l)
  printf '%s\n' "$label"
  printf '  quillmoor: %d items in %.3f s\n' "$items" "$q"
  printf '  wget:      %d files in %.3f s\n' "$files" "$w"
  printf '  ratio wget/quillmoor: %.2f\n' "$(echo "$w / $q" | bc -l)"
}
printf 'pages %d, depth %d\n' "$pages" "$depth"
run "" "loopback, no delay"
[[ -n "$slow" ]] && run "/slow" "loopback, $delay_ms ms per request"
