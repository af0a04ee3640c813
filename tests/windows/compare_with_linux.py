#!/usr/bin/env python3
"""Runs the Windows programs (under Wine) and the Linux programs on the same
inputs: every sample of examples/, generated files, control files, bitmaps
and record files, and the refusals of an output that is an input. Exit codes,
standard output (the Windows console's CR LF read as LF) and every file left
in the folder must be the same byte for byte.

usage: compare_with_linux.py LINUX_BUILD WINDOWS_FILECREATE WINDOWS_CONVERT
                             WINDOWS_INSPECT EXAMPLES [--seed N] -- WINE_COMMAND...
"""
import argparse
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path


class Case:
    def __init__(self, title, files, tool, args, links=(), refused=None):
        self.title, self.files, self.tool, self.args = title, files, tool, args
        self.links = links      # (how, existing name, new name), how is "hard" or "symbolic"
        self.refused = refused  # an input that the run must refuse to overwrite


def find_linux_program(build, name):
    hits = [p for p in Path(build).rglob(name) if p.is_file() and os.access(p, os.X_OK)]
    if not hits:
        sys.exit(f"{name} not found in {build}: build the dev preset first")
    return str(min(hits, key=lambda p: len(p.parts)))


def folder_files(folder):
    return {p.relative_to(folder).as_posix(): p.read_bytes() for p in folder.rglob("*") if p.is_file()}


def run_side(case, command, folder):
    for name, data in case.files.items():
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        (folder / name).write_bytes(data)
    for how, existing, new in case.links:
        (os.link if how == "hard" else os.symlink)(existing if how == "symbolic" else folder / existing, folder / new)
    out_path = folder.with_suffix(".out")
    with open(out_path, "wb") as out, open(folder.with_suffix(".err"), "wb") as err:
        code = subprocess.run(command + case.args, cwd=folder, stdin=subprocess.DEVNULL, stdout=out,
                              stderr=err, timeout=120).returncode
    return code, out_path.read_bytes(), folder_files(folder)


def differences(case, linux, windows):
    (lcode, lout, lfiles), (wcode, wout, wfiles) = linux, windows
    found = []
    if re.search(rb"(?<!\r)\n", wout):
        found.append("standard output is not in text mode (a bare LF)")
    wout = wout.replace(b"\r\n", b"\n")
    if wcode != lcode:
        found.append(f"exit code {wcode}, Linux {lcode}")
    if wout != lout:
        found.append(f"standard output {wout[:300]!r}, Linux {lout[:300]!r}")
    for name in sorted(set(lfiles) | set(wfiles)):
        if lfiles.get(name) != wfiles.get(name):
            found.append(f"{name}: {len(wfiles.get(name, b''))} bytes, Linux {len(lfiles.get(name, b''))}"
                         if name in lfiles and name in wfiles else f"{name} only on one side")
    if case.refused and (lcode == 0 or wfiles.get(case.refused) != case.files[case.refused]):
        found.append(f"{case.refused} was not protected")
    return found


# ---- the samples -----------------------------------------------------------

def example_cases(examples):
    mot = "-m-A55A -4B56 -1337C0DE -1D0F -0010".split()
    for area in sorted(p for p in Path(examples).iterdir() if p.is_dir()):
        files = folder_files(area)
        for name in sorted(files):
            title = f"example {area.name}/{name}"
            yield Case(title, files, "fc", [name, "korvane-out.c", "sample"])
            yield Case(title + " -b", files, "conv", [name, "korvane-out.bin", "-b"])
            yield Case(title + " keyed", files, "conv", [name, "korvane-out.bin"] + mot)
            if name.endswith(".bmp"):
                for mode in ("-bm", "-bmn", "-bmi", "-bmni"):
                    yield Case(f"{title} {mode}", files, "fc", [mode, name, "korvane-out.c"])
            if name.endswith(".txt"):
                yield Case(title + " -f", files, "fc", ["-f", name, "korvane-out.bin"])
                yield Case(title + " -fb", files, "fc", ["-fb", name, "korvane-out.c"])


# ---- generated inputs --------------------------------------------------------

def some_bytes(rng, size):
    if rng.random() < 0.5:
        return rng.randbytes(size)
    return bytes(rng.choice(b"abc xyz  \t\t<>/=;{}\"\r\n\n\x1a") for _ in range(size))


def file_cases(rng, count):
    sizes = [0, 1, 15, 16, 17, 65535, 65536, 65537, 1 << 20, (1 << 20) + 1]
    for i in range(count):
        size = sizes[i] if i < len(sizes) else rng.randrange(1, rng.choice([300, 5000]))
        name = ["named_" + str(i)] if rng.random() < 0.5 else []
        yield Case(f"file of {size} bytes", {"in.dat": some_bytes(rng, size)}, "fc", ["in.dat", "out.c"] + name)


def control_cases(rng, count):
    for i in range(count):
        files, lines = {}, ["// generated control file " + str(i)]
        for name, values in (("FILE_HEADER_LEN", [8, 12, 16, 20, 24, 32]), ("ALIGN", [1, 2, 4]),
                             ("BIG_ENDIAN", [0, 1]), ("MAX_FILE_LENGTH", [2, 4]), ("MIME_CSS", [2, 7])):
            if rng.random() < 0.8:
                lines.append(rng.choice(["#define ", "#", "# define\t"]) + f"{name} {rng.choice(values)}")
        address = f"{rng.randrange(1 << 24):X}"
        lines.append("%" + (address.lower() if rng.random() < 0.3 else address))
        for n in range(rng.randrange(1, 9)):
            folder = rng.choice(["", "", "web/", "web/img/"])
            name = folder + rng.choice(["page", "style", "logo", "data", "xml?status"]) + str(n) + \
                rng.choice([".htm", ".css", ".png", ".bin", ".xml"])
            if rng.random() > 0.05:  # now and then a file that is missing
                files[name.replace("?", "-")] = some_bytes(rng, rng.randrange(0, 3000))
            options = [o for o in ("-w", "-t=MIME_CSS", "-c=FILE_HIDDEN", "-W") if rng.random() < 0.3]
            if rng.random() < 0.2:
                options.append("-?")
            lines.append(name + rng.choice([" ", "\t", "  "]) + " ".join(options) +
                         rng.choice(["", "", " // note"]))
        end = rng.choice(["\n", "\r\n"])
        text = end.join(lines) + end + (rng.choice(["", "\x1apage9.htm \n"]) if rng.random() < 0.2 else "")
        files["ctl.txt"] = text.encode()
        yield Case(f"control file {i}", files, "fc", ["-f", "ctl.txt", rng.choice(["img.bin", "web.img"])])


def bitmap(rng, width, height, bits):
    row = (width * bits + 31) // 32 * 4
    pixels = rng.randbytes(row * height)
    palette = b""
    if bits == 1 or rng.random() < 0.2:  # two entries; entry 0 light or dark
        palette = bytes([rng.choice([0, 255]), 0, rng.choice([0, 0, 255]), 0, 255, 255, 255, 0])
    offset = 54 + len(palette)
    size_field = rng.choice([len(pixels), 0])
    compression = 0 if rng.random() > 0.03 else 1
    return (b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size_field, 2835, 2835, 0, 0) +
            palette + pixels)


def bitmap_cases(rng, count, collections):
    modes = ["-bm", "-bmn", "-bmi", "-bmni"]
    for i in range(count):
        bits = (1, 24)[i % 2]
        width, height = rng.randrange(1, 140), rng.randrange(1, 80)
        yield Case(f"{bits}-bit bitmap {width}x{height} {modes[i // 2 % 4]}",
                   {"pic.bmp": bitmap(rng, width, height, bits)}, "fc", [modes[i // 2 % 4], "pic.bmp", "pic.c"])
    for i in range(collections):
        files, lines = {}, []
        for n in range(rng.randrange(1, 6)):
            name = f"p{n}.bmp"
            files[name] = bitmap(rng, rng.randrange(1, 100), rng.randrange(1, 50), rng.choice([1, 24]))
            options = [o for o in ("-n", "-i", "-N", "-I") if rng.random() < 0.3]
            lines.append(f"{name} {' '.join(options)} {rng.choice(['', f'picture_{n}'])}")
        files["panel.txt"] = ("\n".join(lines) + "\n").encode()
        yield Case(f"bitmap collection {i}", files, "fc", ["-fb", "panel.txt", "panel.c"])


def hex_bytes(rng, count):
    text = "".join(f"{rng.randrange(256):02X}" for _ in range(count))
    return text.lower() if rng.random() < 0.3 else text


def record_file(rng):
    data, address = b"", rng.randrange(1 << 32)
    for _ in range(rng.randrange(1, 7)):
        length = rng.choice([0, rng.randrange(1, 64), rng.randrange(64, 3000)])
        data += struct.pack(">II", address % (1 << 32), length) + rng.randbytes(length)
        address += length + rng.choice([0, 0, rng.randrange(1, 500), -rng.randrange(1, 64)])
    return data[:rng.randrange(len(data))] if rng.random() < 0.1 else data


def convert_cases(rng, count):
    for i in range(count):
        args = ["in.bin", "out.bin"]
        if i % 5 == 0:
            args.append("-b")
        else:
            args += ["-m-" + hex_bytes(rng, 2), "-" + hex_bytes(rng, rng.randrange(0, 8))]
            if i % 5 >= 2:
                args.append("-" + hex_bytes(rng, rng.randrange(1, 17)))
                rotation = rng.randrange(0, rng.choice([300, 3000]))
                args += ["-" + hex_bytes(rng, 2), f"-{rotation:04X}"][:i % 5 - 2]
        yield Case(f"records {i}: {' '.join(args[2:])}", {"in.bin": record_file(rng)}, "conv", args)


def refusal_cases(rng):
    text, pic, ctl = {"in.txt": b"keep me\r\n"}, {"pic.bmp": bitmap(rng, 8, 8, 1)}, {"ctl.txt": b"in.txt \n"}
    ctl.update(text)
    bitmaps = {"ctl.txt": b"pic.bmp \n", **pic}
    record = {"in.bin": record_file(rng)}
    for files, tool, args, refused in ((text, "fc", ["in.txt", "{}"], "in.txt"),
                                       (pic, "fc", ["-bm", "pic.bmp", "{}"], "pic.bmp"),
                                       (ctl, "fc", ["-f", "ctl.txt", "{}"], "ctl.txt"),
                                       (bitmaps, "fc", ["-fb", "ctl.txt", "{}"], "ctl.txt"),
                                       (record, "conv", ["in.bin", "{}", "-b"], "in.bin")):
        for how, name in ((None, refused), ("hard", "link.out"), ("symbolic", "symlink.out")):
            links = [(how, refused, name)] if how else []
            yield Case(f"refusal {' '.join(args)} as {how or 'the same name'}", files, tool,
                       [a.replace("{}", name) for a in args], links, refused)
    yield Case("refusal of an entry that is the image", {"ctl.txt": b"img.bin \n", "img.bin": b"x"}, "fc",
               ["-f", "ctl.txt", "img.bin"])
    yield Case("refusal of a C source that is the image", ctl, "fc", ["-f", "ctl.txt", "img.c"], (), "ctl.txt")
    yield Case("refusal of a C source that is the control file", ctl, "fc", ["-f", "ctl.txt", "img.bin"],
               [("hard", "ctl.txt", "img.c")], "ctl.txt")


# ---- KorvaneInspect on what the Linux programs made -----------------------

def made_by_linux(case, command, output):
    """Runs a generated case with a Linux program and returns its files and
    the named output, or None when the run fails."""
    with tempfile.TemporaryDirectory() as folder:
        code, _, files = run_side(case, command, Path(folder) / "made")
    return (files, files[output]) if code == 0 and output in files else None


def damaged(rng, data):
    if not data:
        return data
    at = rng.randrange(len(data))
    return data[:at] + bytes([data[at] ^ rng.choice([0x01, 0x80])]) + data[at + 1:]


def inspect_cases(rng, linux):
    for case in control_cases(rng, 12):
        made = made_by_linux(case, linux["fc"], case.args[2])
        if made:
            files, image = made
            yield Case("inspect image of " + case.title, files, "insp", ["image", "ctl.txt", case.args[2]])
            yield Case("inspect damaged image of " + case.title, {**files, case.args[2]: damaged(rng, image)},
                       "insp", ["image", "ctl.txt", case.args[2]])
    for case in convert_cases(rng, 20):
        made = made_by_linux(case, linux["conv"], "out.bin")
        if made:
            files, image = made
            args = ["upload", "up.bin"] + case.args[2:]
            yield Case("inspect upload of " + case.title, {"up.bin": image}, "insp", args + ["--plain", "plain.bin"])
            yield Case("inspect damaged upload of " + case.title, {"up.bin": damaged(rng, image)}, "insp", args)
    for case in bitmap_cases(rng, 8, 4):
        output = case.args[2]
        made = made_by_linux(case, linux["fc"], output)
        if made:
            options = rng.choice([[], ["--ascii"], ["--pbm", "."]])
            yield Case("inspect glcd of " + case.title, {output: made[1]}, "insp", ["glcd", output] + options)


def main():
    parser = argparse.ArgumentParser()
    for name in ("linux_build", "windows_filecreate", "windows_convert", "windows_inspect", "examples"):
        parser.add_argument(name)
    parser.add_argument("--seed", type=int, default=16)
    parser.add_argument("wine", nargs="+")
    options = parser.parse_args()
    rng = random.Random(options.seed)
    tools = {"linux": {t: [find_linux_program(options.linux_build, p)] for t, p in
                       (("fc", "KorvaneFileCreate"), ("conv", "KorvaneConvert"), ("insp", "KorvaneInspect"))},
             "windows": {"fc": options.wine + [options.windows_filecreate],
                         "conv": options.wine + [options.windows_convert],
                         "insp": options.wine + [options.windows_inspect]}}
    cases = [*example_cases(options.examples), *file_cases(rng, 50), *control_cases(rng, 70),
             *bitmap_cases(rng, 100, 30), *convert_cases(rng, 80), *refusal_cases(rng),
             *inspect_cases(rng, tools["linux"])]
    work = Path(tempfile.mkdtemp(prefix="korvane-windows-"))
    started, failed, restarts = time.monotonic(), 0, 0
    for number, case in enumerate(cases):
        folder = work / f"{number:04d}"
        linux = run_side(case, tools["linux"][case.tool], folder / "linux")
        windows = run_side(case, tools["windows"][case.tool], folder / "windows")
        found = differences(case, linux, windows)
        if found and not windows[1] and (linux[1] or windows[0] == 1):
            # Now and then (about one start in thousands) Wine ends a program
            # with 1 before it runs, so nothing is printed and nothing
            # written: such a start gets one more try. A program that really
            # fails that way fails the same way again and is reported.
            restarts += 1
            shutil.rmtree(folder / "windows")
            found = differences(case, linux, run_side(case, tools["windows"][case.tool], folder / "windows"))
        if found:
            failed += 1
            print(f"case {number} ({case.title}), kept in {folder}:\n  " + "\n  ".join(found))
        else:
            shutil.rmtree(folder)
    seconds = time.monotonic() - started
    print(f"{len(cases)} cases compared (seed {options.seed}) in {seconds:.0f} s; {failed} differ; "
          f"{restarts} Windows runs started again after no output")
    if not failed:
        shutil.rmtree(work)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
