#!/usr/bin/python3
"""Time to the first slide and peak memory of the saver under Wine.

Builds a saver of 24-megapixel progressive photos (those bench/photo_quality.py
makes) with each given player, runs it with /s on a 1920 x 1080 virtual
display, and notes how long after the start the first photo covers the
screen, and how long after the start its window covered the screen in black
(single pixels polled through Xlib every few milliseconds; what lies between
is the saver's own work: settings, the picture read, decoded and composed),
and the process's peak resident memory (VmHWM, Wine's own part included)
once the slide shows. Give the player of another commit too, or a saver
another commit's tool built (--built), for a before-and-after in one run;
the players take turns run by run.

  bench/first_slide.py --tool build/native/bin/pixvane --photos build/photo-quality \\
      NAME=path/to/pixvane.scr [NAME=...] [--built NAME=saver.scr] [--runs 3]
"""
import argparse
import ctypes
import ctypes.util
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
                                "1920x1080x24", "-wr", "-nolisten", "tcp"], pass_fds=(write,),
                               stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        return process, ":" + pipe.readline().strip()


class Pixels:
    """Single pixels of the X display read through Xlib: a tenth of a
    millisecond each, where a screenshot takes a tenth of a second."""

    def __init__(self, display):
        x = ctypes.CDLL(ctypes.util.find_library("X11"))
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.c_void_p
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XGetPixel.restype = ctypes.c_ulong
        x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.x, self.display = x, x.XOpenDisplay(display.encode())
        self.root = x.XDefaultRootWindow(self.display)

    def __call__(self, px, py):
        image = self.x.XGetImage(self.display, self.root, px, py, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        value = self.x.XGetPixel(image, 0, 0)
        self.x.XDestroyImage(image)
        return value & 0xFFFFFF


# The root window is white: the saver covering the screen turns it black,
# and then the photo shows.
def covered(pixels):
    return all(pixels(x, y) == 0 for x, y in POINTS)


def photo_shown(pixels):
    return all(pixels(x, y) not in (0, 0xFFFFFF) for x, y in POINTS)


def memory_mib(pid, field):
    """VmHWM (the peak) or VmRSS (now) of a process."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1]) / 1024
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--photos", required=True, help="a folder of *-24mp.jpg")
    parser.add_argument("--work", default="build/first-slide")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--built", action="append", default=[],
                        help="NAME=saver.scr: a saver of these photos built already, run as it is")
    parser.add_argument("players", nargs="*", help="NAME=pixvane.scr")
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
    pixels = Pixels(display)
    try:
        print("| player | screen covered (ms) | first slide (ms, median of %d) | peak memory (MiB) "
              "| memory while it shows (MiB) | covered to slide (ms) |" % args.runs)
        print("|---|---|---|---|---|---|")
        savers = dict(named.split("=", 1) for named in args.built)
        for named in args.players:
            name, player = named.split("=", 1)
            savers[name] = os.path.join(work, name + ".scr")
            subprocess.run([args.tool, "build", manifest, "-o", savers[name], "--player",
                            os.path.abspath(player)], check=True, stdout=subprocess.DEVNULL)
        # Runs of the players take turns, so a change in the machine's load
        # weighs on each of them alike.
        times, windows, peaks, residents = ({name: [] for name in savers} for _ in range(4))
        for _ in range(args.runs):
            for name, saver in savers.items():
                started = time.monotonic()
                process = wine.start(saver, "/s", cwd=work)
                if not e2e.wait_until(lambda: covered(pixels) or photo_shown(pixels), 60, 0.002):
                    sys.exit("%s: the screen was not covered within 60 s" % name)
                windows[name].append(1000 * (time.monotonic() - started))
                if not e2e.wait_until(lambda: photo_shown(pixels), 60, 0.002):
                    sys.exit("%s: no photo on screen within 60 s" % name)
                times[name].append(1000 * (time.monotonic() - started))
                time.sleep(1)
                peaks[name].append(memory_mib(process.pid, "VmHWM"))
                residents[name].append(memory_mib(process.pid, "VmRSS"))
                process.kill()
                process.wait()
                time.sleep(1)
        for name in savers:
            gaps = [t - w for t, w in zip(times[name], windows[name])]
            print("| %s | %.0f | %.0f (%s) | %.1f | %.1f | %.0f |"
                  % (name, statistics.median(windows[name]), statistics.median(times[name]),
                     ", ".join("%.0f" % t for t in times[name]), max(peaks[name]),
                     max(residents[name]), statistics.median(gaps)), flush=True)
    finally:
        wine.close()
        xvfb.terminate()


if __name__ == "__main__":
    main()
