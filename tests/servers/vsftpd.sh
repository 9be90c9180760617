#!/usr/bin/env bash
# Loopback FTP server for tests: vsftpd with a generated config in a temp folder.
#
# Usage: vsftpd.sh ROOT [PORT]   (PORT 0 or absent: a free port)
# Serves ROOT to anonymous users ("anonymous"/"ftp", any password), active and passive
# mode both on; every other user name is refused. vsftpd will not serve a root that the
# anonymous user can write, so ROOT stays read-only and ROOT/pub (made if missing) is
# where uploads, new directories, renames and deletes work. Prints "READY <port>" once it accepts connections and stays in
# the foreground until killed.
set -euo pipefail
root=$(realpath "$1")
port=${2:-0}
if [[ "$port" == 0 ]]; then
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
fi
pasv=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/empty"
chmod 755 "$work/empty"
# The anonymous user runs as "ftp" (made by the vsftpd package); it owns nothing
# outside ROOT, which it must be able to write.
chmod 755 "$root"
mkdir -p "$root/pub"
chmod 777 "$root/pub"
cat >"$work/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
anonymous_enable=YES
anon_root=$root
no_anon_password=YES
ftp_username=ftp
local_enable=NO
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
secure_chroot_dir=$work/empty
pasv_enable=YES
pasv_min_port=$pasv
pasv_max_port=$((pasv + 20))
port_enable=YES
connect_from_port_20=NO
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
dirmessage_enable=NO
xferlog_enable=NO
vsftpd_log_file=$work/vsftpd.log
use_localtime=YES
idle_session_timeout=600
data_connection_timeout=600
max_per_ip=0
max_clients=0
pam_service_name=vsftpd
CONF
/usr/sbin/vsftpd "$work/vsftpd.conf" &
pid=$!
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT TERM INT
for _ in $(seq 1 200); do
  if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1',$port),0.2).close()" 2>/dev/null; then
    echo "READY $port"
    wait $pid
    exit $?
  fi
  kill -0 $pid 2>/dev/null || { echo "vsftpd exited" >&2; exit 1; }
  sleep 0.05
done
echo "vsftpd did not start" >&2
exit 1
