#!/usr/bin/python3
"""Time to the first slide and peak memory of the saver under Wine.

Builds a saver of 24-megapixel progressive photos (those bench/photo_quality.py
makes) with each given player, runs it with /s on a 1920 x 1080 virtual
display, and notes how long after the start the first photo covers the
screen (screenshots polled as fast as import allows, so about a tenth of a
second coarse) and the process's peak resident memory (VmHWM) once the slide
shows. Give the player of another commit too for a before-and-after in one run.

  bench/first_slide.py --tool build/native/bin/pixvane --photos build/photo-quality \\
      NAME=path/to/pixvane.scr [NAME=...] [--runs 3]
"""
import argparse
import glob
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import run_e2e as e2e  # noqa: E402

POINTS = [(480, 270), (1440, 270), (960, 540), (480, 810), (1440, 810)]


def start_display():
    read, write = os.pipe()
    process = subprocess.Popen([e2e.program("Xvfb"), "-displayfd", str(write), "-screen", "0",
                                "1920x1080x24", "-br", "-nolisten", "tcp"], pass_fds=(write,),
                               stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        return process, ":" + pipe.readline().strip()


def photo_shown(env):
    shot = e2e.Screenshot(subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                                         env=env, check=True, stdout=subprocess.PIPE).stdout)
    return all(sum(shot.pixel(x, y)) > 24 for x, y in POINTS)


def peak_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--photos", required=True, help="a folder of *-24mp.jpg")
    parser.add_argument("--work", default="build/first-slide")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("players", nargs="+", help="NAME=pixvane.scr")
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    photos = sorted(glob.glob(os.path.join(os.path.abspath(args.photos), "*-24mp.jpg")))[:3]
    if not photos:
        sys.exit("no *-24mp.jpg in %s: run bench/photo_quality.py first" % args.photos)
    manifest = os.path.join(work, "pixvane.toml")
    with open(manifest, "w") as f:
        f.write('title = "First slide"\nkind = "photo"\n[show]\npictures = [%s]\n'
                'effects = [0]\ninterval = 60000\nstretch = true\n'
                % ", ".join('"%s"' % p for p in photos))

    xvfb, display = start_display()
    wine = e2e.Wine(work, display)
    try:
        print("| player | first slide (ms, median of %d) | peak memory (MiB) |" % args.runs)
        print("|---|---|---|")
        for named in args.players:
            name, player = named.split("=", 1)
            saver = os.path.join(work, name + ".scr")
            subprocess.run([args.tool, "build", manifest, "-o", saver, "--player",
                            os.path.abspath(player)], check=True, stdout=subprocess.DEVNULL)
            times, peaks = [], []
            for _ in range(args.runs):
                started = time.monotonic()
                process = wine.start(saver, "/s", cwd=work)
                if not e2e.wait_until(lambda: photo_shown(wine.env), 60, 0.01):
                    sys.exit("%s: no photo on screen within 60 s" % name)
                times.append(1000 * (time.monotonic() - started))
                time.sleep(1)
                peaks.append(peak_kib(process.pid) / 1024)
                process.kill()
                process.wait()
                time.sleep(1)
            print("| %s | %.0f (%s) | %.1f |" % (name, statistics.median(times),
                                                 ", ".join("%.0f" % t for t in times),
                                                 max(peaks)), flush=True)
    finally:
        wine.close()
        xvfb.terminate()


if __name__ == "__main__":
    main()
