#!/usr/bin/env python3
"""The test HTTP server over TLS with a self-signed certificate made for this run,
which no browser trusts: pages served by it must be refused.

Usage: httpsd.py DOCROOT   Prints "READY <port>" once it listens on 127.0.0.1.
"""
import os
import ssl
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import httpd  # noqa: E402


def main():
    httpd.Handler.docroot = sys.argv[1] if len(sys.argv) > 1 else "."
    work = tempfile.mkdtemp(prefix="httpsd-")
    cert, key = os.path.join(work, "cert.pem"), os.path.join(work, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    server = httpd.Server(("127.0.0.1", 0), httpd.Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print(f"READY {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
