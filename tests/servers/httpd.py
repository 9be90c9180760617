#!/usr/bin/env python3
"""Loopback HTTP server for tests: serves a folder and a few scripted behaviours.

Usage: httpd.py DOCROOT [PORT]   (PORT 0 or absent: a free port)
Prints "READY <port>" on stdout once it listens on 127.0.0.1.

Special paths (everything else is a file under DOCROOT; "/dir/" serves dir/index.html):
  /__slow/<ms>/<path>           waits <ms> milliseconds, then serves <path>
  /__redirect/<code>?to=<url>   answers <code> with Location: <url>
  /__status/<code>              answers <code> with a short body
  /__stall/<bytes>              sends headers announcing 1 MB, <bytes> bytes, then hangs
  /__auth/<user>/<pass>/<path>  serves <path> only with that basic authorisation
  /__echo                       answers with the request line and headers as text
"""
import base64
import http.server
import mimetypes
import os
import socketserver
import sys
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    docroot = "."

    def log_message(self, *args):
        pass

    def send_body(self, code, body, ctype="text/html; charset=utf-8", extra=None):
        self.send_response(code)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        for k, v in (extra or {}).items():
            self.send_header(k, v)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def serve_file(self, path):
        rel = urllib.parse.unquote(path.split("?", 1)[0]).lstrip("/")
        full = os.path.realpath(os.path.join(self.docroot, rel))
        root = os.path.realpath(self.docroot)
        if not (full == root or full.startswith(root + os.sep)):
            return self.send_body(403, b"forbidden")
        if os.path.isdir(full):
            full = os.path.join(full, "index.html")
        if not os.path.isfile(full):
            return self.send_body(404, b"<html><head><title>Not Found</title></head><body>404</body></html>")
        with open(full, "rb") as f:
            body = f.read()
        ctype = mimetypes.guess_type(full)[0] or "application/octet-stream"
        if ctype.startswith("text/") and "charset" not in ctype:
            ctype += "; charset=utf-8"
        self.send_body(200, body, ctype)

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        parts = self.path.split("/")
        kind = parts[1] if len(parts) > 1 else ""
        if kind == "__slow":
            time.sleep(int(parts[2]) / 1000.0)
            return self.serve_file("/" + "/".join(parts[3:]))
        if kind.startswith("__redirect"):
            code = int(parts[2].split("?")[0])
            query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
            return self.send_body(code, b"moved", extra={"Location": query.get("to", ["/"])[0]})
        if kind == "__status":
            return self.send_body(int(parts[2]), b"status")
        if kind == "__stall":
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(1 << 20))
            self.end_headers()
            self.wfile.write(b"x" * int(parts[2]))
            self.wfile.flush()
            time.sleep(3600)
            return
        if kind == "__auth":
            want = "Basic " + base64.b64encode(f"{parts[2]}:{parts[3]}".encode()).decode()
            if self.headers.get("Authorization") != want:
                return self.send_body(401, b"auth", extra={"WWW-Authenticate": 'Basic realm="t"'})
            return self.serve_file("/" + "/".join(parts[4:]))
        if kind == "__echo":
            text = self.requestline + "\n" + str(self.headers)
            return self.send_body(200, text.encode(), "text/plain; charset=utf-8")
        return self.serve_file(self.path)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    Handler.docroot = sys.argv[1] if len(sys.argv) > 1 else "."
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    server = Server(("127.0.0.1", port), Handler)
    print(f"READY {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
