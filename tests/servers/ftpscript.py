#!/usr/bin/env python3
"""Scripted FTP server for tests: replies to the few commands a client sends, with
behaviours a real server will not produce on demand.

Usage: ftpscript.py [--listing FILE] [--stall BYTES] [--pasv-host A.B.C.D] [PORT]
Prints "READY <port>" once it listens on 127.0.0.1 (PORT 0 or absent: a free port).

  --listing FILE      bytes sent for LIST (default: empty listing)
  --stall BYTES       RETR announces 1000000 bytes, sends BYTES of them, then hangs
  --pasv-host ADDR    the address named in the 227 reply (the data port is on 127.0.0.1)
  --fail-list         LIST is refused with 550

Any user name and password log on. EPSV and EPRT are refused, so clients fall back to
PASV and PORT. RETR of any other name sends 1000 bytes of "x". STOR swallows the data.
"""
import socket
import socketserver
import sys
import threading

LISTING = b""
STALL = None
PASV_HOST = "127.0.0.1"
FAIL_LIST = False


class Session(socketserver.StreamRequestHandler):
    def reply(self, line):
        self.wfile.write(line.encode("utf-8", "surrogateescape") + b"\r\n")
        self.wfile.flush()

    def open_data(self):
        if self.passive is not None:
            conn, _ = self.passive.accept()
            self.passive.close()
            self.passive = None
            return conn
        if self.active is not None:
            conn = socket.create_connection(self.active, timeout=10)
            self.active = None
            return conn
        return None

    def handle(self):
        self.passive = None
        self.active = None
        self.reply("220 scripted server ready")
        for raw in self.rfile:
            line = raw.rstrip(b"\r\n").decode("utf-8", "surrogateescape")
            verb, _, arg = line.partition(" ")
            verb = verb.upper()
            if verb == "USER":
                self.reply("331 Password please.")
            elif verb == "PASS":
                self.reply("230 Logged on.")
            elif verb == "PWD":
                self.reply('257 "/" is the current directory')
            elif verb in ("CWD", "TYPE", "MKD", "RMD", "DELE", "RNTO"):
                self.reply("250 OK.")
            elif verb == "RNFR":
                self.reply("350 Ready.")
            elif verb == "SIZE":
                self.reply("213 1000000" if STALL is not None else "213 1000")
            elif verb in ("EPSV", "EPRT"):
                self.reply("500 Not understood.")
            elif verb == "PASV":
                self.passive = socket.socket()
                self.passive.bind(("127.0.0.1", 0))
                self.passive.listen(1)
                p = self.passive.getsockname()[1]
                h = PASV_HOST.replace(".", ",")
                self.reply("227 Entering Passive Mode (%s,%d,%d)." % (h, p >> 8, p & 255))
            elif verb == "PORT":
                n = [int(x) for x in arg.split(",")]
                self.active = (".".join(map(str, n[:4])), n[4] * 256 + n[5])
                self.reply("200 PORT OK.")
            elif verb == "LIST" and FAIL_LIST:
                self.reply("550 Listing refused.")
            elif verb == "LIST":
                self.reply("150 Listing.")
                conn = self.open_data()
                conn.sendall(LISTING)
                conn.close()
                self.reply("226 Done.")
            elif verb == "RETR":
                self.reply("150 Sending.")
                conn = self.open_data()
                if STALL is not None:
                    conn.sendall(b"x" * STALL)
                    threading.Event().wait()  # hangs until the process is killed
                conn.sendall(b"x" * 1000)
                conn.close()
                self.reply("226 Done.")
            elif verb == "STOR":
                self.reply("150 Receiving.")
                conn = self.open_data()
                while conn.recv(65536):
                    pass
                conn.close()
                self.reply("226 Done.")
            elif verb == "QUIT":
                self.reply("221 Bye.")
                return
            else:
                self.reply("502 Not implemented.")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global LISTING, STALL, PASV_HOST, FAIL_LIST
    args = sys.argv[1:]
    port = 0
    while args:
        a = args.pop(0)
        if a == "--listing":
            with open(args.pop(0), "rb") as f:
                LISTING = f.read()
        elif a == "--stall":
            STALL = int(args.pop(0))
        elif a == "--fail-list":
            FAIL_LIST = True
        elif a == "--pasv-host":
            PASV_HOST = args.pop(0)
        else:
            port = int(a)
    server = Server(("127.0.0.1", port), Session)
    print("READY %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
