#!/usr/bin/env python3
# A scripted POP3 server for replies real servers do not give on demand.
# Usage: pop3script.py <mode>, mode one of:
#   short-uidl  two messages, but UIDL lists only the first
#   no-uidl     UIDL is refused
#   cut         the second message's RETR reply breaks off mid-message
# Any user and password are accepted. Prints "READY <port>", serves one client at a time.
import socket, sys

mode = sys.argv[1]
messages = [b"Subject: one\r\n\r\nfirst\r\n", b"Subject: two\r\n\r\nsecond\r\n"]
srv = socket.socket()
srv.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
srv.bind(("127.0.0.1", 0))
srv.listen(1)
print("READY %d" % srv.getsockname()[1], flush=True)
while True:
    conn, _ = srv.accept()
    f = conn.makefile("rb")
    conn.sendall(b"+OK scripted\r\n")
    for raw in f:
        cmd = raw.strip().split(b" ")
        verb = cmd[0].upper()
        if verb in (b"USER", b"PASS", b"DELE", b"NOOP"):
            conn.sendall(b"+OK\r\n")
        elif verb == b"STAT":
            conn.sendall(b"+OK %d 100\r\n" % len(messages))
        elif verb == b"UIDL":
            if mode == "no-uidl":
                conn.sendall(b"-ERR UIDL not supported here\r\n")
            else:
                ids = messages[:1] if mode == "short-uidl" else messages
                conn.sendall(b"+OK\r\n" + b"".join(b"%d id%d\r\n" % (i + 1, i + 1) for i in range(len(ids))) + b".\r\n")
        elif verb == b"RETR":
            n = int(cmd[1])
            if mode == "cut" and n == 2:
                conn.sendall(b"+OK\r\nSubject: two\r\n\r\nsec")
                break
            conn.sendall(b"+OK\r\n" + messages[n - 1] + b".\r\n")
        elif verb == b"QUIT":
            conn.sendall(b"+OK bye\r\n")
            break
        else:
            conn.sendall(b"-ERR unknown\r\n")
    f.close()
    conn.close()
