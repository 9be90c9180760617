#!/usr/bin/python3
# An SMTP server (aiosmtpd) on 127.0.0.1 with AUTH PLAIN/LOGIN for one user.
# Usage: smtpd.py <folder> <user> <password>
# Every message received is written to <folder> as <n>.eml, with <n>.env holding the
# envelope: the sender on the first line, then one recipient a line.
# Prints "READY <port>" when it listens and stays in the foreground.
import asyncio, os, socket, sys
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

folder, user, password = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
os.makedirs(folder, exist_ok=True)

class Handler:
    count = 0
    async def handle_DATA(self, server, session, envelope):
        Handler.count += 1
        base = os.path.join(folder, str(Handler.count))
        with open(base + ".eml.part", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".env", "w") as f:
            f.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        os.rename(base + ".eml.part", base + ".eml")
        return "250 OK"

def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == user and auth_data.password == password
    return AuthResult(success=ok, handled=False)

s = socket.socket(); s.bind(("127.0.0.1", 0)); port = s.getsockname()[1]; s.close()
controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=authenticator,
                        auth_require_tls=False, decode_data=False)
controller.start()
print("READY %d" % port, flush=True)
try:
    asyncio.get_event_loop().run_forever() if False else __import__("signal").pause()
finally:
    controller.stop()
