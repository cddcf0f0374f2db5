#!/usr/bin/env python3
"""Writes an unsigned security catalog listing the given files, ready for a signing tool.

    make_catalog.py OUTPUT.cat FILE...

The catalog is a PKCS #7 signed-data message without signers whose content is a
certificate trust list: one entry per file, tagged with the file's SHA-1 as uppercase
hexadecimal text (UTF-16LE, NUL-terminated), carrying the member information and the
indirect data (the same SHA-1) that catalog readers look at.
"""
import datetime
import hashlib
import os
import sys


def der(tag, body):
    n = len(body)
    if n < 0x80:
        length = bytes([n])
    else:
        raw = n.to_bytes((n.bit_length() + 7) // 8, "big")
        length = bytes([0x80 | len(raw)]) + raw
    return bytes([tag]) + length + body


def seq(*items):
    return der(0x30, b"".join(items))


def set_of(*items):
    return der(0x31, b"".join(sorted(items)))


def oid(text):
    parts = [int(p) for p in text.split(".")]
    body = bytearray([40 * parts[0] + parts[1]])
    for value in parts[2:]:
        chunk = [value & 0x7F]
        value >>= 7
        while value:
            chunk.append(0x80 | (value & 0x7F))
            value >>= 7
        body.extend(reversed(chunk))
    return der(0x06, bytes(body))


def octets(data):
    return der(0x04, data)


def integer(value):
    raw = value.to_bytes((value.bit_length() + 8) // 8 or 1, "big")
    return der(0x02, raw)


def bmp(text):
    return der(0x1E, text.encode("utf-16-be"))


NULL = der(0x05, b"")
SHA1 = seq(oid("1.3.14.3.2.26"), NULL)
CTL_CONTENT = "1.3.6.1.4.1.311.10.1"
CATALOG_LIST = "1.3.6.1.4.1.311.12.1.1"
CATALOG_LIST_MEMBER = "1.3.6.1.4.1.311.12.1.2"
MEMBER_INFO = "1.3.6.1.4.1.311.12.2.2"
INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
CAB_DATA = "1.3.6.1.4.1.311.2.1.25"
FLAT_SUBJECT = "{DE351A42-8E59-11D0-8C47-00C04FC295EE}"


def entry(path):
    with open(path, "rb") as f:
        digest = hashlib.sha1(f.read()).digest()
    tag = digest.hex().upper()
    member_info = seq(oid(MEMBER_INFO), set_of(seq(bmp(FLAT_SUBJECT), integer(512))))
    indirect = seq(oid(INDIRECT_DATA),
                   set_of(seq(seq(oid(CAB_DATA), der(0x03, b"\x00")), seq(SHA1, octets(digest)))))
    return seq(octets((tag + "\0").encode("utf-16-le")), set_of(member_info, indirect))


def catalog(paths):
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%y%m%d%H%M%SZ").encode()
    ctl = seq(
        seq(oid(CATALOG_LIST)),
        octets(hashlib.md5(b"".join(os.path.basename(p).encode() for p in paths)).digest()),
        der(0x17, now),
        seq(oid(CATALOG_LIST_MEMBER), NULL),
        seq(*[entry(p) for p in paths]),
    )
    signed_data = seq(integer(1), set_of(SHA1), seq(oid(CTL_CONTENT), der(0xA0, ctl)), set_of())
    return seq(oid("1.2.840.113549.1.7.2"), der(0xA0, signed_data))


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "wb") as f:
        f.write(catalog(argv[2:]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
