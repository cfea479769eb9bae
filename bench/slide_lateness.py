#!/usr/bin/python3
"""How late each slide change comes after its tick, under Wine.

Builds a saver of 24-megapixel progressive photos that cut in at once
(effects = [0]) every INTERVAL ms, runs it with /s on a 1920 x 1080 virtual
display and polls single pixels through Xlib every 2 ms. The show timer is
armed as a slide has come up, so the time between two slides appearing, less
the interval, is how late a slide change is after its tick: the read, decode
and compose of the photo where they happen at the tick, nothing but the
paint where they were done before it. The first slide's time from the start
is printed too. Give the player of another commit for a before-and-after.

  bench/slide_lateness.py --tool build/native/bin/pixvane --photos DIR \\
      NAME=path/to/pixvane.scr [NAME=...] [--changes 6] [--interval 1500]

DIR holds *-24mp.jpg (bench/photo_quality.py makes them, or ImageMagick:
convert -size 600x400 plasma: -resize 6000x4000! -interlace JPEG a-24mp.jpg).
"""
import argparse
import glob
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import first_slide as fs  # noqa: E402


def signature(pixels):
    return tuple(pixels(x, y) for x, y in fs.POINTS)


def run_once(wine, pixels, saver, work, changes):
    started = time.monotonic()
    process = wine.start(saver, "/s", cwd=work)
    try:
        if not fs.e2e.wait_until(lambda: fs.photo_shown(pixels), 60, 0.002):
            sys.exit("no photo on screen within 60 s")
        times = [time.monotonic()]
        first = 1000 * (times[0] - started)
        shown = signature(pixels)
        while len(times) <= changes:
            now = signature(pixels)
            # A slide counts once all of it is up: no point still shows the last.
            if all(a != b for a, b in zip(now, shown)) and fs.photo_shown(pixels):
                times.append(time.monotonic())
                shown = now
            elif time.monotonic() - times[-1] > 30:
                sys.exit("no slide change within 30 s")
            time.sleep(0.002)
        return first, [1000 * (b - a) for a, b in zip(times, times[1:])]
    finally:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--photos", required=True)
    parser.add_argument("--work", default="build/slide-lateness")
    parser.add_argument("--changes", type=int, default=6)
    parser.add_argument("--interval", type=int, default=1500)
    parser.add_argument("players", nargs="+", help="NAME=pixvane.scr")
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    photos = sorted(glob.glob(os.path.join(os.path.abspath(args.photos), "*-24mp.jpg")))[:3]
    if len(photos) < 2:
        sys.exit("need two or more *-24mp.jpg in %s" % args.photos)
    manifest = os.path.join(work, "pixvane.toml")
    with open(manifest, "w") as f:
        f.write('title = "Lateness"\nkind = "photo"\n[show]\npictures = [%s]\n'
                'effects = [0]\ninterval = %d\nstretch = true\n'
                % (", ".join('"%s"' % p for p in photos), args.interval))
    xvfb, display = fs.start_display()
    wine = fs.e2e.Wine(work, display)
    pixels = fs.Pixels(display)
    try:
        print("| player | first slide (ms) | slide change after its tick (ms): median, max "
              "| each (ms) |")
        print("|---|---|---|---|")
        for named in args.players:
            name, player = named.split("=", 1)
            saver = os.path.join(work, name + ".scr")
            subprocess.run([args.tool, "build", manifest, "-o", saver, "--player",
                            os.path.abspath(player)], check=True, stdout=subprocess.DEVNULL)
            first, gaps = run_once(wine, pixels, saver, work, args.changes)
            late = [gap - args.interval for gap in gaps]
            print("| %s | %.0f | %.0f, %.0f | %s |"
                  % (name, first, statistics.median(late), max(late),
                     ", ".join("%.0f" % t for t in late)), flush=True)
            time.sleep(1)
    finally:
        wine.close()
        xvfb.terminate()


if __name__ == "__main__":
    main()
