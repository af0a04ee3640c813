"""Checks KorvaneConvert's header CRCs against binascii.crc_hqx over random images."""
import binascii
import os
import random
import subprocess
import sys
import tempfile

tool = sys.argv[1]
rng = random.Random(2026)
failures = 0
with tempfile.TemporaryDirectory() as work:
    src = os.path.join(work, "in.bin")
    dst = os.path.join(work, "out.bin")
    for trial in range(60):
        image = bytes(rng.randrange(256) for _ in range(rng.choice([0, 1, 7, 100, 4096, 65537])))
        suffix = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 5)))
        with open(src, "wb") as f:
            f.write(image)
        args = [tool, src, dst, "-x-BEEF", "x" + suffix.hex()]
        keyed = trial % 2 == 1 and len(image) > 0
        if keyed:
            keys = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 6)))
            args += ["k" + keys.hex(), "s%04x" % rng.randrange(65536), "r%04x" % rng.randrange(len(image) + 1)]
        result = subprocess.run(args, capture_output=True)
        out = open(dst, "rb").read()
        header = 10 if keyed else 8
        body = out[header:]
        expect_len = int.from_bytes(out[0:4], "big")
        ok = result.returncode == 0 and expect_len == len(body)
        ok = ok and int.from_bytes(out[6:8], "big") == binascii.crc_hqx(body + suffix, 0)
        if not keyed:
            ok = ok and body == image
        else:
            ok = ok and int.from_bytes(out[8:10], "big") == binascii.crc_hqx(image + suffix, 0)
        if not ok:
            failures += 1
            print("mismatch in trial", trial, args[3:], result.returncode)
print("%d passed, %d failed" % (60 - failures, failures))
sys.exit(1 if failures else 0)
