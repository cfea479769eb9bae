#!/usr/bin/python3
"""Peak memory of a moving show on two 4K monitors, one picture each.

Builds a pan-and-zoom saver with monitors = "each" of the given photos
(24-megapixel ones are the case that matters; bench/photo_quality.py makes
them), runs it with /s under Wine on a nested Xephyr with two 3840 x 2160
screens joined by Xinerama, inside an Xvfb of its own, and samples the
saver process's peak resident memory (VmHWM, Wine's own part included)
while it shows and changes slides for --seconds. Prints the peak in MiB.

  bench/motion_memory.py --tool build/native/bin/pixvane --player build/win/bin/pixvane.scr \\
      PHOTO.jpg [PHOTO.jpg ...] [--seconds 20]
"""
import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import run_e2e as e2e  # noqa: E402
from e2e_common import XServer  # noqa: E402
from first_slide import memory_mib  # noqa: E402
from motion_frames import start_display  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--player", required=True)
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--interval", type=int, default=4000, help="milliseconds a slide")
    parser.add_argument("--work", default="build/motion-memory")
    parser.add_argument("--trace", action="store_true",
                        help="also print the resident memory every quarter of a second")
    parser.add_argument("photos", nargs="+")
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    pictures = ", ".join('"%s"' % os.path.abspath(p) for p in args.photos)
    manifest = os.path.join(work, "pixvane.toml")
    with open(manifest, "w") as f:
        f.write('title = "Memory"\nkind = "photo"\n[show]\npictures = [%s]\ninterval = %d\n'
                'scale = "fill"\nmotion = "pan-zoom"\nmonitors = "each"\n'
                '[caption]\ntext = "Two monitors, one picture each"\n'
                % (pictures, args.interval))
    saver = os.path.join(work, "memory.scr")
    subprocess.run([args.tool, "build", manifest, "-o", saver, "--player",
                    os.path.abspath(args.player)], check=True, stdout=subprocess.DEVNULL)

    xvfb, display = start_display("7700x2200")
    nested = XServer([e2e.program("Xephyr"), "-nolisten", "tcp", "+xinerama", "-extension",
                      "RANDR", "-screen", "3840x2160", "-screen", "3840x2160"],
                     env=dict(os.environ, DISPLAY=display))
    wine = e2e.Wine(work, nested.name)
    try:
        process = wine.start(saver, "/s", cwd=work)
        peak = now = 0.0
        started = last = time.monotonic()
        try:
            while time.monotonic() - started < args.seconds and process.poll() is None:
                peak = max(peak, memory_mib(process.pid, "VmHWM"))
                now = memory_mib(process.pid, "VmRSS")
                if args.trace and time.monotonic() - last >= 0.25:
                    last = time.monotonic()
                    print("%5.2f s: %4.0f MiB" % (last - started, now), flush=True)
                time.sleep(0.1)
            ran = time.monotonic() - started
        finally:
            process.kill()
            process.wait()
        print("two 3840x2160 monitors, %d photos, each: peak %.0f MiB (VmHWM), %.0f MiB resident "
              "at the end, over %.0f s" % (len(args.photos), peak, now, ran))
    finally:
        wine.close()
        nested.close()
        xvfb.terminate()


if __name__ == "__main__":
    main()
