# SPDX-License-Identifier: GPL-3.0-or-later
"""A real submission server for the tests: aiosmtpd on 127.0.0.1 at the given port with
TLS, a login and the message store of smtp_sink.py. Prints "ready" once it accepts
connections.

Usage: /usr/bin/python3 smtp_tls_sink.py <folder> <port> <mode> <cert> <key> <mechanisms>
                                         <login> <password>
  mode: starttls (STARTTLS offered and required before MAIL), tls (TLS from the first
        byte) or clear (no encryption offered at all)
  mechanisms: the AUTH mechanisms offered, comma-separated: PLAIN,LOGIN or LOGIN
"""
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from smtp_sink import SaveEach, serve  # noqa: E402


def main():
    folder, port, mode, cert, key, mechanisms, login, password = sys.argv[1:9]
    # aiosmtpd logs a deprecation at every login and a trace at every refused handshake;
    # neither says anything the test does not check.
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    warnings.filterwarnings("ignore", "Requiring AUTH while not requiring TLS")
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)

    def authenticator(server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword) and data.login == login.encode()
              and data.password == password.encode())
        # Not "handled": the server then answers a refusal with its 535 line itself.
        return AuthResult(success=ok, handled=False)

    offered = mechanisms.split(",")
    kwargs = dict(hostname="127.0.0.1", port=int(port), server_hostname="localhost",
                  authenticator=authenticator, auth_required=True,
                  auth_exclude_mechanism=[m for m in ("PLAIN", "LOGIN") if m not in offered],
                  # The 64 MiB benchmark attachment grows by a third in base64.
                  data_size_limit=200 * 1024 * 1024)
    if mode == "starttls":
        kwargs.update(tls_context=context, require_starttls=True)
    elif mode == "tls":
        # aiosmtpd sees only its own STARTTLS as encryption; this connection is in TLS
        # from the first byte, so the login may be offered at once.
        kwargs.update(ssl_context=context, auth_require_tls=False)
    serve(Controller(SaveEach(folder), **kwargs))


if __name__ == "__main__":
    main()
