"""A real submission server for the tests: aiosmtpd on 127.0.0.1 at the given port with
TLS, a login and the message store of smtp_sink.py. Prints "ready" once it accepts
connections.

Usage: /usr/bin/python3 smtp_tls_sink.py <folder> <port> <mode> <cert> <key> <mechanisms>
                                         <login> <password>
  mode: starttls (STARTTLS offered and required before MAIL), tls (TLS from the first
        byte) or clear (no encryption offered at all)
  mechanisms: the AUTH mechanisms offered, comma-separated: PLAIN,LOGIN or LOGIN
"""
import os
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from smtp_sink import SaveEach  # noqa: E402


def main():
    folder, port, mode, cert, key, mechanisms, login, password = sys.argv[1:9]
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)

    def authenticator(server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword) and data.login == login.encode()
              and data.password == password.encode())
        return AuthResult(success=ok)

    offered = mechanisms.split(",")
    kwargs = dict(hostname="127.0.0.1", port=int(port), server_hostname="localhost",
                  authenticator=authenticator, auth_required=True,
                  auth_exclude_mechanism=[m for m in ("PLAIN", "LOGIN") if m not in offered],
                  # The 64 MiB benchmark attachment grows by a third in base64.
                  data_size_limit=200 * 1024 * 1024)
    if mode == "starttls":
        kwargs.update(tls_context=context, require_starttls=True)
    elif mode == "tls":
        kwargs.update(ssl_context=context)
    controller = Controller(SaveEach(folder), **kwargs)
    controller.start()
    print("ready", flush=True)
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    main()
