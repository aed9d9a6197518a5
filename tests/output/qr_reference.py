#!/usr/bin/python3
# Writes qr_reference.inc: module grids made by Debian's python3-qrcodegen
# (level M, byte mode, no raised level) for the QR encoder's tests to match.
# The build runs it when it builds the tests (tests/CMakeLists.txt).
import sys

from qrcodegen import QrCode, QrSegment


def epc(name, iban, amount, text):
    return "\n".join(["BCD", "002", "1", "SCT", "", name, iban, amount, "", "", text]).encode()


def counted(length):
    return bytes((i * 37 + 11) % 256 for i in range(length))


# (payload, forced mask or -1 for the encoder's own choice)
cases = [(b"Scan to pay", mask) for mask in range(8)]
cases += [
    (counted(80), 3),  # version 5
    (counted(110), 2),  # version 7: the first with version information
    (epc("Berg Gardening Ltd", "DE89370400440532013000", "EUR40.00", "2024-0017"), 5),
    (epc("B" * 70, "DE89370400440532013000", "EUR999999999.99", "N" * 140) + b"x" * 49, 6),  # 331 bytes
    (counted(332), 1),  # one byte more: version 14
    (counted(2331), 4),  # all version 40 holds
]
cases += [(counted(length), -1) for length in (1, 10, 20, 30, 50, 75, 120, 180, 250, 331)]
cases += [(epc("Berg Gardening Ltd", "DE89370400440532013000", "EUR%d.%02d" % (n * 7, n % 100), "2024-%04d" % n), -1)
          for n in range(1, 11)]

out = open(sys.argv[1], "w") if len(sys.argv) > 1 else sys.stdout
out.write("// Made by tests/output/qr_reference.py with Debian's python3-qrcodegen.\n")
out.write("// {payload (hex), forced mask or -1, version, mask, rows (hex, 4 modules a digit)}\n")
for payload, mask in cases:
    code = QrCode.encode_segments([QrSegment.make_bytes(payload)], QrCode.Ecc.MEDIUM, mask=mask, boostecl=False)
    size = code.get_size()
    rows = []
    for y in range(size):
        bits = "".join("1" if code.get_module(x, y) else "0" for x in range(size))
        bits += "0" * (-len(bits) % 4)
        rows.append("%0*x" % (len(bits) // 4, int(bits, 2)))
    out.write('{"%s",\n %d, %d, %d,\n {%s}},\n' % (payload.hex(), mask, code.get_version(), code.get_mask(),
                                                  ",\n  ".join('"%s"' % r for r in rows)))
