#!/usr/bin/python3
"""The native player (`pixvane play`) against the Windows player under Wine.

On a virtual display of the given size: how long after the start the first
picture covers the screen (native, and the Windows player with /s where
--player names one), the processor time the native player takes in 5 s
while a picture stays, and its frames per second in transitions (style 1,
25 frames at a 40 ms pace at most): the times of the frames sent to the
display (SDL_RenderPresent or SDL_UpdateWindowSurface[Rects]), noted by a
small library preloaded into the player, in bursts of frames.

  bench/linux_play_probe.py --tool build/native/bin/pixvane [--player pixvane.scr] \\
      [--size 1920x1080] [--runs 3] [--seconds 10]
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

RED, BLUE = 0xE02020, 0x2040E0


def start_display(width, height):
    read, write = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                "%dx%dx24" % (width, height), "-wr", "-nolisten", "tcp"],
                               pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        return process, ":" + pipe.readline().strip()


def build(args, work, name, interval, colors, style, player):
    source = os.path.join(work, name)
    os.makedirs(source, exist_ok=True)
    pictures = []
    for number, color in enumerate(colors):
        picture = os.path.join(source, "%d.jpg" % number)
        subprocess.run(["convert", "-size", "%dx%d" % (args.width, args.height),
                        "xc:#%06X" % color, "-quality", "95", picture], check=True)
        pictures.append(picture)
    manifest = os.path.join(source, "pixvane.toml")
    with open(manifest, "w") as f:
        f.write('title = "probe"\nkind = "photo"\n[show]\npictures = [%s]\neffects = [%d]\n'
                'interval = %d\nstretch = true\n'
                % (", ".join('"%s"' % p for p in pictures), style, interval))
    saver = os.path.join(work, name + ".scr")
    subprocess.run([args.tool, "build", manifest, "-o", saver, "--player", player], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return saver


# Notes the time of every frame the player sends to the display, one line each.
PRESENT_SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
static void note(void) {
  static FILE* log;
  if (!log) log = fopen(getenv("PRESENT_LOG"), "w");
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  fprintf(log, "%ld.%09ld\n", (long)t.tv_sec, t.tv_nsec);
  fflush(log);
}
void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  real(renderer);
  note();
}
int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
  static int (*real)(void*, const void*, int);
  if (!real) real = (int (*)(void*, const void*, int))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects");
  int result = real(window, rects, count);
  note();
  return result;
}
int SDL_UpdateWindowSurface(void* window) {
  static int (*real)(void*);
  if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
  int result = real(window);
  note();
  return result;
}
"""


def frame_rates(log, gap=0.3):
    """Frames per second of each burst of presents (a transition)."""
    with open(log) as f:
        times = [float(line) for line in f if line.strip()]
    bursts, current = [], []
    for t in times:
        if current and t - current[-1] > gap:
            bursts.append(current)
            current = []
        current.append(t)
    bursts.append(current)
    return [(len(b) - 1) / (b[-1] - b[0]) for b in bursts if len(b) >= 10]


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--player", help="the Windows player, to compare under Wine")
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=int, default=10, help="of transitions")
    parser.add_argument("--work", default="build/linux-play-probe")
    args = parser.parse_args()
    args.width, args.height = map(int, args.size.split("x"))
    args.tool = os.path.abspath(args.tool)
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    stand_in = os.path.join(work, "stand-in.scr")
    with open(stand_in, "wb") as f:
        f.write(b"MZ" + b"\0" * 0x3A + b"\x40\0\0\0" + b"PE\0\0" +
                "Pixvane photo screen saver".encode("utf-16-le"))
    xvfb, display = start_display(args.width, args.height)
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
    pixels = Pixels(display)
    w, h = args.width, args.height
    points = [(w // 4, h // 4), (3 * w // 4, h // 4), (w // 2, h // 2), (w // 4, 3 * h // 4),
              (3 * w // 4, 3 * h // 4)]
    shows = lambda color: all(abs((pixels(x, y) >> 16) - (color >> 16)) < 24 and
                              abs((pixels(x, y) & 0xFF) - (color & 0xFF)) < 24 for x, y in points)
    try:
        still = build(args, work, "still", 60000, [RED], 0, args.player or stand_in)
        firsts = []
        for _ in range(args.runs):
            started = time.monotonic()
            process = subprocess.Popen([args.tool, "play", still], env=env)
            if not e2e.wait_until(lambda: shows(RED), 60, 0.002):
                sys.exit("native: no picture within 60 s")
            firsts.append(1000 * (time.monotonic() - started))
            time.sleep(1)
            before = cpu_seconds(process.pid)
            time.sleep(5)
            idle = cpu_seconds(process.pid) - before
            process.terminate()
            process.wait()
        print("native: first picture %.0f ms (median of %s); processor time while it shows: "
              "%.2f s in 5 s" % (statistics.median(firsts), ", ".join("%.0f" % t for t in firsts),
                                 idle))
        if args.player:
            wine = e2e.Wine(work, display)
            try:
                times = []
                for _ in range(args.runs):
                    started = time.monotonic()
                    process = wine.start(still, "/s", cwd=work)
                    if not e2e.wait_until(lambda: shows(RED), 60, 0.002):
                        sys.exit("wine: no picture within 60 s")
                    times.append(1000 * (time.monotonic() - started))
                    process.kill()
                    process.wait()
                    time.sleep(2)
                print("wine:   first picture %.0f ms (median of %s)"
                      % (statistics.median(times), ", ".join("%.0f" % t for t in times)))
            finally:
                wine.close()
        moving = build(args, work, "moving", 1500, [RED, BLUE], 1, stand_in)
        shim = os.path.join(work, "present.so")
        with open(shim + ".c", "w") as f:
            f.write(PRESENT_SHIM)
        subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", shim, shim + ".c", "-ldl"],
                       check=True)
        log = os.path.join(work, "presents.txt")
        process = subprocess.Popen([args.tool, "play", moving],
                                   env=dict(env, LD_PRELOAD=shim, PRESENT_LOG=log))
        e2e.wait_until(lambda: shows(RED), 60, 0.002)
        with open(log) as f:
            shown = sum(1 for _ in f)
        before = cpu_seconds(process.pid)
        time.sleep(args.seconds)
        used = cpu_seconds(process.pid) - before
        process.terminate()
        process.wait()
        rates = frame_rates(log)
        with open(log) as f:
            frames = sum(1 for _ in f) - shown
        # On a busy machine the rate is the scheduler's; the processor time
        # per frame (start-up included) is the player's own cost.
        print("native: transition at %dx%d: %.1f frames/s (%s); %.0f ms of processor time "
              "per frame over %d frames in %d s"
              % (w, h, statistics.median(rates or [0]), ", ".join("%.1f" % r for r in rates),
                 1000 * used / max(frames, 1), frames, args.seconds))
    finally:
        xvfb.terminate()


if __name__ == "__main__":
    main()
