#!/usr/bin/python3
"""Frame times and CPU of a panning slide in the saver under Wine.

Builds a pan-and-zoom saver of one 24-megapixel photo (bench/photo_quality.py
makes them; any JPEG given with --photo will do), runs it with /s on a
virtual display of the given size, waits until the photo shows, and then
after --settle seconds polls for --seconds a short row of pixels through Xlib (a fraction of a
millisecond each) and notes every moment it changes: a new frame on
screen. Prints the frame intervals (median, mean, standard deviation, 5th
and 95th percentiles, the longest) and the CPU the saver's process used
over the same time, as a share of one core. With --bare it first does the
same for a bare program that only paints a changing full-screen picture
(bench/BareBlit.c, compiled here with mingw-w64), the most any full-screen
program gets from that display, and prints the saver's rate against the
lower of 60 a second and the bare program's.

  bench/motion_frames.py --tool build/native/bin/pixvane --player build/win/bin/pixvane.scr \\
      --photo build/photo-quality/x-24mp.jpg [--size 1920x1080] [--seconds 5] [--bare]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import run_e2e as e2e  # noqa: E402
from first_slide import Pixels  # noqa: E402


def start_display(size):
    read, write = os.pipe()
    process = subprocess.Popen([e2e.program("Xvfb"), "-displayfd", str(write), "-screen", "0",
                                size + "x24", "-wr", "-nolisten", "tcp"], pass_fds=(write,),
                               stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        return process, ":" + pipe.readline().strip()


def row(pixels, width, height):
    """Every 16th pixel across the middle row, read as one image: some of
    them change with any pan or zoom."""
    x = pixels.x
    image = x.XGetImage(pixels.display, pixels.root, 0, height // 2, width, 1, 0xFFFFFFFF, 2)
    values = tuple(x.XGetPixel(image, i, 0) & 0xFFFFFF for i in range(0, width, 16))
    x.XDestroyImage(image)
    return values


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--player", required=True)
    parser.add_argument("--photo", required=True)
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--seconds", type=float, default=4)
    parser.add_argument("--settle", type=float, default=0.5,
                        help="seconds to wait after the photo shows; the worker prepares the "
                             "next slide in the first of them")
    parser.add_argument("--work", default="build/motion-frames")
    parser.add_argument("--bare", action="store_true",
                        help="first measure a bare full-screen SetDIBitsToDevice loop on the same "
                             "display, and print the saver's rate against the lower of 60 and its")
    args = parser.parse_args()
    width, height = (int(v) for v in args.size.split("x"))
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    manifest = os.path.join(work, "pixvane.toml")
    with open(manifest, "w") as f:
        f.write('title = "Motion"\nkind = "photo"\n[show]\npictures = ["%s"]\neffects = [0]\n'
                'interval = 6000\nscale = "fill"\nmotion = "pan-zoom"\n'
                % os.path.abspath(args.photo))
    saver = os.path.join(work, "motion.scr")
    subprocess.run([args.tool, "build", manifest, "-o", saver, "--player",
                    os.path.abspath(args.player)], check=True, stdout=subprocess.DEVNULL)

    xvfb, display = start_display(args.size)
    wine = e2e.Wine(work, display)
    pixels = Pixels(display)
    try:
        bare = None
        if args.bare:
            blit = build_bare_blit(work)
            bare = measure(wine, pixels, blit, [], width, height, args, "bare blit")
        motion = measure(wine, pixels, saver, ["/s"], width, height, args, "saver")
        if bare:
            goal = min(60.0, bare)
            print("ratio of the saver's rate to the lower of 60 and the bare blit's (%.1f): %.2f"
                  % (goal, motion / goal))
    finally:
        wine.close()
        xvfb.terminate()


def build_bare_blit(work):
    """The bare full-screen blit program, compiled for Windows from
    bench/BareBlit.c."""
    exe = os.path.join(work, "bareblit.exe")
    subprocess.run([e2e.program("x86_64-w64-mingw32-gcc"), "-O2", "-municode", "-mwindows",
                    "-o", exe, os.path.join(ROOT, "bench", "BareBlit.c")], check=True)
    return exe


def measure(wine, pixels, exe, arguments, width, height, args, label):
    """Starts exe under Wine, waits for a picture that is neither black nor
    white, counts the changes of the polled row for --seconds and prints the
    intervals and the process's CPU. Returns the frames a second."""
    process = wine.start(exe, *arguments, cwd=os.path.dirname(exe))
    try:
        if not e2e.wait_until(lambda: 0 not in row(pixels, width, height)
                              and 0xFFFFFF not in row(pixels, width, height), 60, 0.01):
            sys.exit("%s: nothing on screen within 60 s" % label)
        time.sleep(args.settle)
        changes = []
        last = row(pixels, width, height)
        cpu0, started = e2e.cpu_seconds(process.pid), time.monotonic()
        while time.monotonic() - started < args.seconds:
            now = row(pixels, width, height)
            if now != last:
                changes.append(time.monotonic())
                last = now
        cpu = (e2e.cpu_seconds(process.pid) - cpu0) / (time.monotonic() - started)
    finally:
        process.kill()
        process.wait()
    gaps = sorted(1000 * (b - a) for a, b in zip(changes, changes[1:]))
    if len(gaps) < 10:
        sys.exit("%s: only %d frames seen in %.0f s" % (label, len(changes), args.seconds))
    pick = lambda share: gaps[min(len(gaps) - 1, int(share * len(gaps)))]  # noqa: E731
    rate = len(changes) / args.seconds
    print("%s at %s: %d frames in %.1f s (%.1f a second); interval median %.2f ms, mean %.2f, "
          "sd %.2f, 5%% %.2f, 95%% %.2f, longest %.2f; CPU %.0f %% of one core"
          % (label, args.size, len(changes), args.seconds, rate, statistics.median(gaps),
             statistics.mean(gaps), statistics.pstdev(gaps), pick(0.05), pick(0.95), gaps[-1],
             100 * cpu))
    return rate


if __name__ == "__main__":
    main()
