#!/usr/bin/python3
"""Processor time per frame of `pixvane play`, the native player, at 1920 x 1080.

Runs each given tool's `play` on a private Xvfb of the given size with two
generated savers of 24-megapixel photo-like pictures: one of transitions
(the default gentle styles, a new picture every --interval ms) and one that
pans and zooms a single picture. A small library preloaded into the player
notes, at every frame it sends to the display (SDL_RenderPresent,
SDL_UpdateWindowSurface, SDL_UpdateWindowSurfaceRects), the monotonic time
and the process's processor time (CLOCK_PROCESS_CPUTIME_ID: utime + stime
of all its threads, as /proc/PID/stat counts them, to the nanosecond).

Transitions: the processor time from the first to the last frame of each
transition, over the frames between, so the decoding of the next picture
(before its first frame) is left out. Pan and zoom: frames a second and
the share of a core over --seconds in the middle of the slide. Both also
give Xvfb's own share, which drawing the frames on the display costs it.

Tools run in turns (--runs times), so a busy moment of a shared machine
falls on all of them; the medians are printed, and each tool's figures
against the first tool's.

  bench/linux_play_frames.py BEFORE/pixvane AFTER/pixvane [--runs 3] [--size 1920x1080]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
static FILE* out;
static void note(void) {
  struct timespec wall, cpu;
  clock_gettime(CLOCK_MONOTONIC, &wall);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  if (!out) out = fopen(getenv("FRAME_LOG"), "w");
  fprintf(out, "%ld.%09ld %ld.%09ld\n", (long)wall.tv_sec, wall.tv_nsec, (long)cpu.tv_sec,
          cpu.tv_nsec);
  fflush(out);
}
#define PASS(name, params, args)                                        \
  int name params {                                                     \
    static int (*real) params;                                          \
    if (!real) real = (int (*) params)dlsym(RTLD_NEXT, #name);          \
    int result = real args;                                             \
    note();                                                             \
    return result;                                                      \
  }
PASS(SDL_UpdateWindowSurface, (void* w), (w))
PASS(SDL_UpdateWindowSurfaceRects, (void* w, const void* r, int n), (w, r, n))
void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  real(renderer);
  note();
}
"""


def start_display(size):
    read, write = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", size + "x24",
                                "-nolisten", "tcp"], pass_fds=(write,),
                               stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        return process, ":" + pipe.readline().strip()


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def make_photo(path, seed):
    """6000 x 4000 with detail at every scale: a fractal plasma, enlarged, with grain."""
    if os.path.exists(path):
        return
    subprocess.run(["convert", "-seed", str(seed), "-size", "1500x1000", "plasma:fractal",
                    "-resize", "6000x4000!", "-attenuate", "0.3", "+noise", "Gaussian",
                    "-quality", "92", path], check=True)


def make_saver(tool, work, name, show):
    manifest = os.path.join(work, name + ".toml")
    with open(manifest, "w") as f:
        f.write('title = "%s"\nkind = "photo"\n[show]\n%s\n[caption]\ntext = "Pixvane"\n'
                'shadow = true\n' % (name, show))
    player = os.path.join(work, "stand-in.scr")
    with open(player, "wb") as f:
        # The least the tool takes for a player: a PE header and the
        # player's description in UTF-16.
        f.write(b"MZ" + b"\0" * 0x3A + b"\x40\0\0\0" + b"PE\0\0" +
                "Pixvane photo screen saver".encode("utf-16-le"))
    saver = os.path.join(work, name + ".scr")
    subprocess.run([tool, "build", manifest, "-o", saver, "--player", player], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return saver


def play(tool, saver, env, seconds, xvfb, log):
    """Runs the player for the given time; its frame log, and Xvfb's
    processor time sampled along (monotonic time, seconds)."""
    process = subprocess.Popen([tool, "play", saver], env=dict(env, FRAME_LOG=log),
                               stderr=subprocess.DEVNULL)
    samples = []
    end = time.monotonic() + seconds
    while time.monotonic() < end and process.poll() is None:
        samples.append((time.monotonic(), cpu_seconds(xvfb.pid)))
        time.sleep(0.02)
    process.terminate()
    process.wait()
    with open(log) as f:
        frames = [tuple(map(float, line.split())) for line in f if line.strip()]
    return frames, samples


def xvfb_between(samples, start, end):
    inside = [cpu for t, cpu in samples if start <= t <= end]
    return inside[-1] - inside[0] if len(inside) >= 2 else 0.0


def bursts(frames, gap=0.1):
    groups, current = [], []
    for frame in frames:
        if current and frame[0] - current[-1][0] > gap:
            groups.append(current)
            current = []
        current.append(frame)
    groups.append(current)
    return [g for g in groups if len(g) >= 5]


def transitions(frames, samples):
    """Processor time per frame inside the transitions, the player's and Xvfb's."""
    groups = bursts(frames)
    steps = sum(len(g) - 1 for g in groups)
    cpu = sum(g[-1][1] - g[0][1] for g in groups)
    server = sum(xvfb_between(samples, g[0][0], g[-1][0]) for g in groups)
    return {"frames": steps, "transitions": len(groups), "ms": 1000 * cpu / max(steps, 1),
            "xvfb_ms": 1000 * server / max(steps, 1)}


def pan_zoom(frames, samples, skip, seconds):
    """Frames a second and the share of a core while the picture moves."""
    first = frames[0][0] if frames else 0
    inside = [f for f in frames if first + skip <= f[0] <= first + skip + seconds]
    if len(inside) < 2:
        return {"fps": 0.0, "share": 0.0, "xvfb_share": 0.0}
    wall = inside[-1][0] - inside[0][0]
    return {"fps": (len(inside) - 1) / wall, "share": (inside[-1][1] - inside[0][1]) / wall,
            "xvfb_share": xvfb_between(samples, inside[0][0], inside[-1][0]) / wall}


def median(runs, key):
    return statistics.median(r[key] for r in runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tools", nargs="+", help="pixvane programs; the first is the reference")
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--interval", type=int, default=2500, help="ms between pictures")
    parser.add_argument("--seconds", type=float, default=12, help="of transitions per run")
    parser.add_argument("--pan-seconds", type=float, default=5, help="of pan and zoom measured")
    parser.add_argument("--work", default="build/linux-play-frames")
    args = parser.parse_args()
    tools = [os.path.abspath(t) for t in args.tools]
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    photos = [os.path.join(work, "photo-%d.jpg" % n) for n in (1, 2)]
    for seed, photo in enumerate(photos, 1):
        make_photo(photo, seed)
    names = ", ".join('"%s"' % p for p in photos)
    scale = 'scale = "fill"\n'
    moving = make_saver(tools[0], work, "transitions",
                        "pictures = [%s]\ninterval = %d\n%s" % (names, args.interval, scale))
    panning = make_saver(tools[0], work, "pan-zoom",
                         'pictures = ["%s"]\ninterval = 60000\nmotion = "pan-zoom"\n%s'
                         % (photos[0], scale))
    shim = os.path.join(work, "frames.so")
    with open(shim + ".c", "w") as f:
        f.write(SHIM)
    subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", shim, shim + ".c", "-ldl"], check=True)

    xvfb, display = start_display(args.size)
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", LD_PRELOAD=shim)
    env.pop("WAYLAND_DISPLAY", None)
    load_before = os.getloadavg()
    results = {tool: {"transitions": [], "pan": []} for tool in tools}
    try:
        for run in range(args.runs):
            for number, tool in enumerate(tools):
                log = os.path.join(work, "frames-%d-%d.txt" % (number, run))
                frames, samples = play(tool, moving, env, args.seconds, xvfb, log)
                results[tool]["transitions"].append(transitions(frames, samples))
                frames, samples = play(tool, panning, env, args.pan_seconds + 3.5, xvfb, log)
                results[tool]["pan"].append(pan_zoom(frames, samples, 2.0, args.pan_seconds))
    finally:
        xvfb.terminate()
    print("machine: %d cores, load average %.2f before, %.2f after (1 minute)"
          % (os.cpu_count(), load_before[0], os.getloadavg()[0]))
    reference = None
    for tool in tools:
        t, p = results[tool]["transitions"], results[tool]["pan"]
        row = {"ms": median(t, "ms"), "xvfb_ms": median(t, "xvfb_ms"), "fps": median(p, "fps"),
               "share": median(p, "share"), "xvfb_share": median(p, "xvfb_share")}
        print("%s:\n  transition frame %.2f ms of processor time (Xvfb %.2f ms); runs: %s"
              % (tool, row["ms"], row["xvfb_ms"],
                 ", ".join("%.2f ms over %d frames of %d transitions"
                           % (r["ms"], r["frames"], r["transitions"]) for r in t)))
        print("  pan and zoom %.1f frames/s at %.0f %% of a core (Xvfb %.0f %%); runs: %s"
              % (row["fps"], 100 * row["share"], 100 * row["xvfb_share"],
                 ", ".join("%.1f/s %.0f %%" % (r["fps"], 100 * r["share"]) for r in p)))
        if reference is None:
            reference = row
        else:
            print("  against the first: transition frame x%.2f, pan-and-zoom frame rate x%.2f, "
                  "its processor share x%.2f"
                  % (row["ms"] / max(reference["ms"], 1e-9),
                     row["fps"] / max(reference["fps"], 1e-9),
                     row["share"] / max(reference["share"], 1e-9)))


if __name__ == "__main__":
    sys.exit(main())
