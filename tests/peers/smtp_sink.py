# SPDX-License-Identifier: GPL-3.0-or-later
"""A real mail server for the tests: aiosmtpd on 127.0.0.1 at the given port, saving each
message it accepts as message-<n>.eml (the data as received) and message-<n>.env (sender,
then one recipient per line). Prints "ready" once it accepts connections.

Usage: /usr/bin/python3 smtp_sink.py <folder> <port>
"""
import os
import sys
import time

from aiosmtpd.controller import Controller


class SaveEach:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    def save(self, name, data):
        path = os.path.join(self.folder, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = "message-%d" % self.count
        envelope_text = "\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n"
        self.save(stem + ".env", envelope_text.encode())
        self.save(stem + ".eml", envelope.original_content)
        return "250 Message accepted for delivery"


def serve(controller):
    """Starts controller, says "ready" and serves until the test ends the process."""
    controller.start()
    print("ready", flush=True)
    while True:
        time.sleep(3600)


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    serve(Controller(SaveEach(folder), hostname="127.0.0.1", port=port))


if __name__ == "__main__":
    main()
