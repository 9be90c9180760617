#!/usr/bin/env bash
# Receives 1,000 messages (about 5 KB, a quarter with an attachment) from Dovecot on
# loopback into the store, side by side with fetchmail (--bsmtp) and curl's POP3 over one
# connection. Prints each time and our ratio to each (above 1.00 = we are faster).
# Not part of ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target mail_bench >/dev/null
bench="$root/build/tests/mail/mail_bench"
count=${POP3_BENCH_COUNT:-1000}
work=$(mktemp -d)
server_pid=""
cleanup() {
  [[ -n "$server_pid" ]] && kill -- -"$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 0755 "$work"
setsid "$root/tests/servers/pop3d.sh" "$work/srv" bench secret >"$work/ready" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 1 100); do grep -q READY "$work/ready" 2>/dev/null && break; sleep 0.1; done
port=$(awk '/READY/ {print $2}' "$work/ready")
[[ -n "$port" ]] || { echo "dovecot did not start" >&2; cat "$work/server.log" >&2; exit 1; }

python3 - "$work/srv/mail/bench/new" "$count" <<'PY'
import base64, os, sys
folder, count = sys.argv[1], int(sys.argv[2])
body = "\r\n".join("Line %d of a benchmark message, plain text to fill it up." % i for i in range(80))
for n in range(count):
    head = "From: bench@example.org\r\nTo: bench@example.org\r\nSubject: message %d\r\nMIME-Version: 1.0\r\n" % n
    if n % 4 == 0:
        att = base64.encodebytes(os.urandom(2048)).decode().replace("\n", "\r\n")
        text = (head + 'Content-Type: multipart/mixed; boundary="b"\r\n\r\n--b\r\nContent-Type: text/plain\r\n\r\n'
                + body[:2500] + '\r\n--b\r\nContent-Type: application/octet-stream\r\n'
                'Content-Disposition: attachment; filename="a.bin"\r\nContent-Transfer-Encoding: base64\r\n\r\n'
                + att + "--b--\r\n")
    else:
        text = head + "Content-Type: text/plain\r\n\r\n" + body + "\r\n"
    path = os.path.join(folder, "%05d.bench" % n)
    with open(path, "w", newline="") as f:
        f.write(text)
    os.chmod(path, 0o666)
PY

now() { date +%s.%N; }
ours=$("$bench" pop3 "$port" bench secret "$work" | awk '{print $1}')

# fetchmail takes the password from a run-control file of its own.
printf 'poll 127.0.0.1 protocol pop3 port %s user "bench" password "secret" keep fetchall sslproto ""\n' "$port" >"$work/fetchmailrc"
chmod 600 "$work/fetchmailrc"
s=$(now)
HOME="$work" fetchmail -f "$work/fetchmailrc" --nosyslog --nodetach --bsmtp "$work/fetchmail.bsmtp" >"$work/fetchmail.log" 2>&1 || true
fetchmail_time=$(echo "$(now) - $s" | bc -l)
[[ -s "$work/fetchmail.bsmtp" ]] || { echo "fetchmail fetched nothing:" >&2; cat "$work/fetchmail.log" >&2; }

urls=()
for n in $(seq 1 "$count"); do urls+=("pop3://127.0.0.1:$port/$n"); done
s=$(now)
curl -s -u bench:secret "${urls[@]}" >/dev/null
curl_time=$(echo "$(now) - $s" | bc -l)

printf 'quillmoor %.2f s\nfetchmail %.2f s (ratio %.2f)\ncurl      %.2f s (ratio %.2f)\n' \
  "$ours" "$fetchmail_time" "$(echo "$fetchmail_time / $ours" | bc -l)" \
  "$curl_time" "$(echo "$curl_time / $ours" | bc -l)"
