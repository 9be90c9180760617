#!/usr/bin/env bash
# Start-up benchmark, Quillmoor beside Falkon in the same run:
#   1. time from process start to the first page complete (a local page given to
#      Quillmoor as the most recent typed address, to Falkon on its command line);
#   2. resident memory (the browser and all its helper processes) once ten tabs are open.
# Prints both figures for both browsers and the ratios Quillmoor / Falkon.
# Runs under xvfb-run when no display is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
command -v falkon > /dev/null || { echo "falkon is not installed (apt-get install falkon)" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# A page server that notes when a page has finished loading (its onload asks /loaded).
cat > "$work/server.py" <<'PY'
import http.server, socketserver, sys, time
log = open(sys.argv[1], "a", buffering=1)
PAGE = b"""<html><head><title>Bench</title></head><body><h1>Bench page</h1>
<script>
window.onload = function () {
  fetch('/loaded');
  var q = new URLSearchParams(location.search);
  var n = parseInt(q.get('open') || '0');
  for (var i = 0; i < n; ++i) setTimeout(function (k) { window.open('/page?tab=' + k); }, 2000 + 400 * i, i);
};
</script></body></html>"""
class H(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a): pass
    def do_GET(self):
        if self.path.startswith('/loaded'):
            log.write("%f\n" % time.time())
            body = b""
        else:
            body = PAGE
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
class S(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
s = S(("127.0.0.1", 0), H)
print(s.server_address[1], flush=True)
s.serve_forever()
PY

tree_rss_kb() { # resident memory of a process and all its descendants, in KiB
  local pids="$1" all="$1" next
  while [[ -n "$pids" ]]; do
    next=$(for p in $pids; do pgrep -P "$p" || true; done | tr '\n' ' ')
    all="$all $next"; pids=$(echo "$next" | xargs)
  done
  ps -o rss= -p "$(echo $all | tr ' ' ',')" | awk '{s += $1} END {print s + 0}'
}

wait_loads() { # wait until the log has $2 lines (at most $3 tenths of a second, default 600)
  for _ in $(seq "${3:-600}"); do
    [[ $(wc -l < "$1") -ge $2 ]] && return 0
    sleep 0.1
  done
  echo "timed out waiting for page loads ($(wc -l < "$1") of $2)" >&2; return 1
}

run() { # name, urls ("popups": one page that opens nine; "args": ten on the command line), command
  local name=$1 urls=$2; shift 2
  local log="$work/$name.log"; : > "$log"
  python3 "$work/server.py" "$log" > "$work/$name.port" & 
  while [[ ! -s "$work/$name.port" ]]; do sleep 0.05; done
  PORT=$(cat "$work/$name.port")
  local home="$work/home-$name"; mkdir -p "$home/.config/Quillmoor"
  printf '[Software\\Microsoft\\Internet Explorer\\TypedURLs]\nUrl1="http://127.0.0.1:%s/page?open=9"\n' "$PORT" \
    > "$home/.config/Quillmoor/HKEY_CURRENT_USER.ini"
  mkdir -p -m 0700 "$home/run"
  local start; start=$(date +%s.%N)
  local args=()
  if [[ $urls == args ]]; then
    for i in $(seq 10); do args+=("http://127.0.0.1:$PORT/page?tab=$i"); done
  fi
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run" \
    "$@" "${args[@]}" > "$work/$name.out" 2>&1 &
  local pid=$!
  wait_loads "$log" 1
  FIRST=$(echo "$(head -1 "$log") - $start" | bc -l)
  # A browser may leave background tabs unloaded; memory is then taken with what it has.
  wait_loads "$log" 10 300 || true
  sleep 2 # let the last tabs settle
  LOADED=$(wc -l < "$log")
  RSS=$(tree_rss_kb "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Quillmoor takes no arguments: it loads the typed address, whose page opens nine more
# tabs as pop-ups. Falkon blocks such pop-ups, so it gets the ten pages on its command line.
run quillmoor popups "$root/build/quillmoor"
q_first=$FIRST q_rss=$RSS q_loaded=$LOADED
run falkon args falkon --private-browsing --no-remote
f_first=$FIRST f_rss=$RSS

f_loaded=$LOADED
printf '%-10s %14s %16s %13s\n' browser "first page (s)" "RSS 10 tabs (MB)" "pages loaded"
printf '%-10s %14.2f %16.1f %13d\n' Quillmoor "$q_first" "$(echo "$q_rss / 1024" | bc -l)" "$q_loaded"
printf '%-10s %14.2f %16.1f %13d\n' Falkon "$f_first" "$(echo "$f_rss / 1024" | bc -l)" "$f_loaded"
printf 'ratio Quillmoor/Falkon: start %.2f, memory %.2f\n' \
  "$(echo "$q_first / $f_first" | bc -l)" "$(echo "$q_rss / $f_rss" | bc -l)"
