# SPDX-License-Identifier: GPL-3.0-or-later
"""Parses a saved message with Python's email module and prints what the tests compare, as
JSON: the header fields in order, the parser's complaints, and every leaf part with its
content type, file name and decoded contents (base64, so any byte survives JSON).

Usage: /usr/bin/python3 read_message.py <message.eml>
"""
import base64
import email
import email.policy
import json
import sys


def main():
    with open(sys.argv[1], "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    parts = []
    defects = [str(d) for d in message.defects]
    for part in message.walk():
        defects += [str(d) for d in part.defects]
        if part.is_multipart():
            continue
        parts.append({
            "type": part.get_content_type(),
            "filename": part.get_filename(),
            "charset": part.get_content_charset(),
            "contents": base64.b64encode(part.get_payload(decode=True)).decode(),
        })
    json.dump({
        "headers": [[name, str(value)] for name, value in message.items()],
        "multipart": message.is_multipart(),
        "boundary": message.get_boundary(),
        "defects": defects,
        "parts": parts,
    }, sys.stdout)


if __name__ == "__main__":
    main()
