"""Checks KorvaneConvert's upload images against a second implementation:
binascii.crc_hqx for the CRC-16, and the record flattening, the key stream
and the rotation written here from their description. Every output byte is
compared."""
import binascii
import os
import random
import struct
import subprocess
import sys
import tempfile

tool = sys.argv[1]
rng = random.Random(2026)


def crc(data, register=0):
    return binascii.crc_hqx(data, register)


def encrypt(image, keys, seed):
    # The register runs over one key byte (cycling) before each image byte;
    # its low byte is XORed into that byte.
    out = bytearray(image)
    register = seed
    for i in range(len(out)):
        register = crc(keys[i % len(keys):i % len(keys) + 1], register)
        out[i] ^= register & 0xFF
    return bytes(out)


def as_records(image):
    # The image cut into ascending records; stretches of 0xFF may become gaps.
    records, pos, address = b"", 0, rng.randrange(1 << 31)
    while pos < len(image):
        n = min(len(image) - pos, rng.randrange(1, 3000))
        chunk = image[pos:pos + n]
        if chunk.strip(b"\xff") or pos == 0:
            records += struct.pack(">II", address + pos, n) + chunk
        pos += n
    last = image.rstrip(b"\xff")
    if len(last) < len(image):  # trailing fill comes from an empty record
        records += struct.pack(">II", address + len(image), 0)
    return records


failures = 0
trials = 80
with tempfile.TemporaryDirectory() as work:
    src = os.path.join(work, "in.bin")
    dst = os.path.join(work, "out.bin")
    for trial in range(trials):
        image = bytes(rng.randrange(256) for _ in range(rng.choice([0, 1, 7, 100, 4096, 65537])))
        if trial % 4 >= 2 and image:
            gap = rng.choice([rng.randrange(1, 5000), rng.randrange(70000, 100000)])
            image = image[:len(image) // 3] + b"\xff" * gap + image[len(image) // 3:]
            data = as_records(image)
        else:
            data = image  # too short or not records: passes through
        suffix = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 5)))
        with open(src, "wb") as f:
            f.write(data)
        args = [tool, src, dst, "-x-BEEF", "x" + suffix.hex()]
        keyed = trial % 2 == 1 and len(image) > 0
        written = image
        if keyed:
            keys = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 6)))
            seed, rotation = rng.randrange(65536), rng.randrange(min(len(image), 0xFFFF) + 1)
            args += ["k" + keys.hex(), "s%04x" % seed, "r%04x" % rotation]
            encrypted = encrypt(image, keys, seed)
            written = encrypted[len(image) - rotation:] + encrypted[:len(image) - rotation]
        header = struct.pack(">IHH", len(image), 0xBEEF, crc(written + suffix))
        if keyed:
            header += struct.pack(">H", crc(image + suffix))
        result = subprocess.run(args, capture_output=True)
        out = open(dst, "rb").read()
        if result.returncode != 0 or out != header + written:
            failures += 1
            print("mismatch in trial", trial, args[3:], result.returncode)
print("%d passed, %d failed" % (trials - failures, failures))
sys.exit(1 if failures else 0)
