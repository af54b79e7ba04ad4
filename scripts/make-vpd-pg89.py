#!/usr/bin/env python3
"""Writes the ATA Information VPD page (0x89) that Linux shows as device/vpd_pg89 for a SATA disk
behind libata: a 60-byte SAT header, then the 512 bytes of ATA IDENTIFY DEVICE data.

    scripts/make-vpd-pg89.py MODEL OUTPUT
"""
import struct
import sys


def ata_string(text, words):
    # ATA keeps two characters per little-endian word, the first one in the high byte.
    raw = text.ljust(words * 2).encode("ascii")
    return b"".join(bytes((raw[i + 1], raw[i])) for i in range(0, len(raw), 2))


def identify(model):
    data = bytearray(512)
    struct.pack_into("<H", data, 0, 0x0040)                  # fixed device
    data[20:40] = ata_string("KV00000000000001", 10)         # words 10-19: serial number
    data[46:54] = ata_string("SBF10101", 4)                  # words 23-26: firmware revision
    data[54:94] = ata_string(model, 20)                      # words 27-46: model number
    return bytes(data)


def page(model):
    header = bytearray(60)
    header[1] = 0x89
    struct.pack_into(">H", header, 2, 572 - 4)
    header[8:16] = b"linux   "                              # SAT vendor
    header[16:32] = b"libata          "                     # SAT product
    header[32:36] = b"3.00"
    header[36] = 0x34                                        # device signature: register FIS
    header[56] = 0xEC                                        # IDENTIFY DEVICE
    return bytes(header) + identify(model)


if __name__ == "__main__":
    with open(sys.argv[2], "wb") as out:
        out.write(page(sys.argv[1]))
