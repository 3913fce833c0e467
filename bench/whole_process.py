#!/usr/bin/env python3
"""hv against the C tools beside it, as whole processes.

Makes its inputs with the Debian tools (a 40-file disk image from cc1541, that image zipped by
zip, and by 7z in every other method it writes), then runs each pair -- `hv list` against cc1541
printing the same directory, `hv extract` against `unzip -oqj` of the same archive (or `7z x`
for the methods unzip does not read; the PKZIP 1 methods on the real archives of
tests/tessary/extract/codecs/archives), a warm `hv play --dry-run` (the game already in the
cache) against `unzip -l`, and a cold `hv play` (an empty cache, the emulator /bin/true)
against `unzip -oqj` -- interleaved, RUNS times each, and prints the median CPU time (user +
sys of the child, from wait4) of both sides and their ratio.

    bench/whole_process.py [HV] [--runs N]

HV defaults to build/linux-release/bin/hv beside this folder. Never part of ctest: it measures,
it asserts nothing.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)


def cpu_seconds(argv, env=None, any_status=False):
    """Runs argv with its output (both streams) discarded; the child's user + sys CPU seconds."""
    if callable(argv):
        argv, env = argv()
    with open(os.devnull, "wb") as null:
        pid = os.posix_spawnp(argv[0], argv, env if env is not None else os.environ,
                              file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1),
                                            (os.POSIX_SPAWN_DUP2, null.fileno(), 2)])
        _, status, usage = os.wait4(pid, 0)
    if not os.WIFEXITED(status) or (os.WEXITSTATUS(status) != 0 and not any_status):
        sys.exit(f"{' '.join(argv)} failed (status {status})")
    return usage.ru_utime + usage.ru_stime


def make_inputs(scratch):
    """The 40-file disk image and its zip; the loop program of samples/ is each file."""
    image = os.path.join(scratch, "GAME.D64")
    args = ["cc1541", "-q", "-n", "bench disk", "-i", "bd 2a"]
    for i in range(1, 41):
        args += ["-f", f"game file {i}", "-w", os.path.join(TOP, "samples", "loop.prg")]
    subprocess.run(args + [image], check=True, stdout=subprocess.DEVNULL)
    archive = os.path.join(scratch, "game.zip")
    subprocess.run(["zip", "-qj", archive, image], check=True)
    methods = {}
    if shutil.which("7z"):
        for method in ("Deflate64", "BZip2", "LZMA", "PPMd", "XZ"):
            methods[method] = os.path.join(scratch, f"game-{method}.zip")
            subprocess.run(["7z", "a", "-tzip", f"-mm={method}", methods[method], image],
                           check=True, stdout=subprocess.DEVNULL)
    return image, archive, methods


# Real archives of the PKZIP 1 methods (text members: hv unpacks them, then finds no game file
# in them and exits 1, which is not a failure here).
PKZIP1 = [("shrink", "SHRUNK.ZIP"), ("implode", "lorem-ipsum-implode.zip")]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("hv", nargs="?",
                        default=os.path.join(TOP, "build", "linux-release", "bin", "hv"))
    parser.add_argument("--runs", type=int, default=20)
    options = parser.parse_args()
    hv = os.path.abspath(options.hv)
    for tool in ("cc1541", "zip", "unzip"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is not installed")
    if not os.access(hv, os.X_OK):
        sys.exit(f"{hv}: no such program; build the linux-release preset first")

    with tempfile.TemporaryDirectory(prefix="hvwhole.") as scratch:
        image, archive, methods = make_inputs(scratch)
        work = os.path.join(scratch, "work")
        unzipped = os.path.join(scratch, "unzip")
        os.mkdir(unzipped)
        warm_env = dict(os.environ, XDG_CACHE_HOME=os.path.join(scratch, "warm"))
        play = [hv, "play", archive, "--emulator-path", "/bin/true"]
        subprocess.run(play, check=True, env=warm_env, stdout=subprocess.DEVNULL)
        colds = iter(range(1 << 30))

        def cold_play():
            # A fresh, empty cache folder each run, made before the clock starts.
            cache = os.path.join(scratch, f"cold{next(colds)}")
            os.mkdir(cache)
            return play, dict(os.environ, XDG_CACHE_HOME=cache)

        pairs = [
            ("list", [hv, "list", image], ["cc1541", image]),
            ("extract", [hv, "extract", archive, "--work", work],
             ["unzip", "-oqj", archive, "-d", unzipped]),
            ("play warm", lambda: (play + ["--dry-run"], warm_env), ["unzip", "-l", archive]),
            ("play cold", cold_play, ["unzip", "-oqj", archive, "-d", unzipped]),
        ]
        for method, path in methods.items():
            peer = (["unzip", "-oqj", path, "-d", unzipped] if method in ("Deflate64", "BZip2")
                    else ["7z", "x", "-y", f"-o{unzipped}", path])
            pairs.append((method, [hv, "extract", path, "--work", work], peer))
        for method, name in PKZIP1:
            path = os.path.join(TOP, "tests", "tessary", "extract", "codecs", "archives", name)
            pairs.append((method, [hv, "extract", path, "--work", work],
                          ["unzip", "-oqj", path, "-d", unzipped]))
        times = {name: ([], []) for name, _, _ in pairs}
        for _ in range(options.runs):
            for name, ours, peer in pairs:
                times[name][0].append(cpu_seconds(ours, any_status=name in dict(PKZIP1)))
                times[name][1].append(cpu_seconds(peer))

    print(f"median CPU time (user+sys) of {options.runs} interleaved runs")
    for name, ours, peer in pairs:
        hv_s = statistics.median(times[name][0])
        peer_s = statistics.median(times[name][1])
        ratio = hv_s / peer_s if peer_s > 0 else float("inf")
        print(f"  hv {name:9} {hv_s * 1e3:7.3f} ms   {' '.join(a for a in peer[:2] if not a.startswith('/')):9} {peer_s * 1e3:7.3f} ms"
              f"   ratio {ratio:5.2f}")


if __name__ == "__main__":
    main()
