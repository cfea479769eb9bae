#!/usr/bin/env python3
"""Size and build time of a saver of 24-megapixel camera photos.

Makes N photos of 6000 x 4000 (a plasma fractal, shifted and recoloured for
each, stored at quality 92 like a camera's fine JPEG; every other one is
marked as taken with the camera on its side, EXIF orientation 6), then
builds the same saver three ways in one run, so the machine's load falls on
all alike:

  as stored    auto_rotate = false, no max_size: what the tool always did
  upright      the default: sideways photos turned losslessly
  max_size     upright and reduced to fit 3840 x 2160, quality 92

Usage: saver_size.py --tool build/native/bin/pixvane --player build/win/bin/pixvane.scr
                     [--count 8] [--work build/bench-photos]
"""
import argparse
import os
import struct
import subprocess
import time


def with_orientation(jpeg, orientation):
    tiff = b"II*\0" + struct.pack("<IHHHIHHI", 8, 1, 0x0112, 3, 1, orientation, 0, 0)
    app1 = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xFF\xE1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:]


def make_photos(folder, count):
    os.makedirs(folder, exist_ok=True)
    base = os.path.join(folder, "base.png")
    if not os.path.exists(base):
        subprocess.run(["convert", "-seed", "7", "-size", "6000x4000", "plasma:fractal", base],
                       check=True)
    names = []
    for i in range(count):
        name = "photo-%02d.jpg" % i
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            jpeg = subprocess.run(["convert", base, "-roll", "+%d+%d" % (737 * i, 411 * i),
                                   "-modulate", "100,%d,%d" % (80 + 5 * i, 100 + 23 * i),
                                   "-quality", "92", "jpg:-"],
                                  check=True, stdout=subprocess.PIPE).stdout
            with open(path, "wb") as f:
                f.write(with_orientation(jpeg, 6) if i % 2 else jpeg)
        names.append(name)
    return names


def build(args, names, label, extra):
    manifest = os.path.join(args.work, label + ".toml")
    with open(manifest, "w") as f:
        f.write("[show]\npictures = [%s]\n%s" % (", ".join('"%s"' % n for n in names), extra))
    saver = os.path.join(args.work, label + ".scr")
    started = time.monotonic()
    out = subprocess.run([args.tool, "build", manifest, "-o", saver, "--player", args.player],
                         check=True, stdout=subprocess.PIPE, text=True).stdout.strip()
    seconds = time.monotonic() - started
    return os.path.getsize(saver), seconds, out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--player", required=True)
    parser.add_argument("--count", type=int, default=8)
    parser.add_argument("--work", default="build/bench-photos")
    args = parser.parse_args()
    args.work = os.path.abspath(args.work)
    names = make_photos(args.work, args.count)
    photos = sum(os.path.getsize(os.path.join(args.work, n)) for n in names)
    print("%d photos of 6000 x 4000, %.1f MB" % (len(names), photos / 1e6))
    rows = [("as stored", "auto_rotate = false\n"), ("upright", ""),
            ("max_size", 'max_size = "3840x2160"\n')]
    baseline = None
    print("%-10s %12s %8s %10s %8s" % ("build", "saver MB", "ratio", "seconds", "ratio"))
    for label, extra in rows:
        size, seconds, out = build(args, names, label.replace(" ", "-"), extra)
        baseline = baseline or (size, seconds)
        print("%-10s %12.1f %8.2f %10.2f %8.2f" % (label, size / 1e6, size / baseline[0], seconds,
                                                  seconds / baseline[1]))
        print("           " + out)


if __name__ == "__main__":
    main()
