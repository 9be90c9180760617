#!/usr/bin/env bash
# Dovecot POP3 on 127.0.0.1 with its own configuration in a temporary folder.
# Usage: pop3d.sh <folder> <user> <password> [ssl]
# With "ssl" the port speaks POP3 over TLS with a self-signed certificate for 127.0.0.1.
# Mail of <user> is the maildir <folder>/mail/<user> (cur/new/tmp); write messages into its
# "new" folder. Prints "READY <port>" when it listens and stays in the foreground.
set -euo pipefail
dir=$1 user=$2 pass=$3 mode=${4:-plain}
mkdir -p "$dir"
chmod 0755 "$dir"
mkdir -p "$dir/run" "$dir/state" "$dir/mail/$user/"{cur,new,tmp}
chmod -R 0777 "$dir/mail"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mailuid=$(id -u nobody) mailgid=$(id -g nobody)
printf '%s:{PLAIN}%s\n' "$user" "$pass" > "$dir/users"
listener=pop3 listener_ssl="" ssl_settings="ssl = no"
if [[ $mode == ssl ]]; then
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" >/dev/null 2>&1
  chmod 0644 "$dir/key.pem" "$dir/cert.pem"
  listener=pop3s listener_ssl="    ssl = yes"
  ssl_settings="ssl = yes
ssl_cert = <$dir/cert.pem
ssl_key = <$dir/key.pem"
fi
cat > "$dir/dovecot.conf" <<CONF
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
protocols = pop3
listen = 127.0.0.1
$ssl_settings
disable_plaintext_auth = no
auth_mechanisms = plain apop
auth_failure_delay = 0
first_valid_uid = 1
mail_location = maildir:$dir/mail/%u
mail_privileged_group =
service pop3-login {
  inet_listener $listener {
    address = 127.0.0.1
    port = $port
$listener_ssl
  }
}
service anvil {
  chroot =
}
service stats {
  chroot =
}
passdb {
  driver = passwd-file
  args = scheme=PLAIN $dir/users
}
userdb {
  driver = static
  args = uid=$mailuid gid=$mailgid home=$dir/mail/%u
}
CONF
/usr/sbin/dovecot -F -c "$dir/dovecot.conf" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT TERM INT
for _ in $(seq 1 100); do
  if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1',$port),0.2).close()" 2>/dev/null; then
    echo "READY $port"
    wait $pid
    exit
  fi
  kill -0 $pid 2>/dev/null || { cat "$dir/dovecot.log" >&2; exit 1; }
  sleep 0.1
done
cat "$dir/dovecot.log" >&2
exit 1
