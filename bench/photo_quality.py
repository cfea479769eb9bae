#!/usr/bin/python3
"""Slide quality and speed on 24-megapixel photos.

Makes 24 MP progressive JPEGs from real photos (by default those of Debian's
mate-backgrounds package, enlarged to 6000 x 4000 with a little sensor-like
grain so they keep fine detail), stretches each to several screen sizes both
ways the player has done it (libjpeg's scaled decode, then nearest pixels or
the smooth filter; bench program pixvane_scale_sample), and prints the PSNR
of each against a Lanczos resize of the full photo (Pillow). With --bench it
then runs pixvane_slide_bench on the photo with the most detail, so decode +
scale times of both paths come from the same run.

  bench/photo_quality.py --build build/bench [--bench] [--work DIR] [PHOTO...]

Needs what the tests do not, so scripts/setup leaves it out:
  apt-get install python3-pil python3-numpy mate-backgrounds
and a tree configured with -DPIXVANE_BENCH=ON.
"""
import argparse
import os
import subprocess
import sys

import numpy as np
from PIL import Image

SIZES = [(1024, 768), (1400, 780), (1920, 1080), (2560, 1440), (3840, 2160)]
DEFAULT_PHOTOS = [
    "/usr/share/backgrounds/mate/nature/Storm.jpg",
    "/usr/share/backgrounds/mate/nature/TwoWings.jpg",
    "/usr/share/backgrounds/mate/nature/RainDrops.jpg",
    "/usr/share/backgrounds/mate/nature/Wood.jpg",
    "/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg",
]


def make_24mp(source, target, seed):
    """6000 x 4000, cropped to 3:2 around the middle, with faint grain."""
    image = Image.open(source).convert("RGB")
    w, h = image.size
    scale = max(6000 / w, 4000 / h)
    image = image.resize((round(w * scale), round(h * scale)), Image.LANCZOS)
    left, top = (image.width - 6000) // 2, (image.height - 4000) // 2
    image = image.crop((left, top, left + 6000, top + 4000))
    pixels = np.asarray(image, dtype=np.float32)
    pixels += np.random.default_rng(seed).normal(0, 3, pixels.shape)
    Image.fromarray(np.clip(pixels + 0.5, 0, 255).astype(np.uint8)).save(
        target, quality=92, progressive=True)


def psnr(a, b):
    mse = np.mean((a.astype(np.float64) - b.astype(np.float64)) ** 2)
    return float("inf") if mse == 0 else 10 * np.log10(255.0 ** 2 / mse)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="a tree built with -DPIXVANE_BENCH=ON")
    parser.add_argument("--work", default="build/photo-quality")
    parser.add_argument("--bench", action="store_true", help="also time decode + scale")
    parser.add_argument("photos", nargs="*")
    args = parser.parse_args()
    sources = args.photos or [p for p in DEFAULT_PHOTOS if os.path.exists(p)]
    if not sources:
        sys.exit("no photos: name some, or install mate-backgrounds")
    os.makedirs(args.work, exist_ok=True)
    sample = os.path.join(args.build, "bench", "pixvane_scale_sample")

    photos = []
    for i, source in enumerate(sources):
        target = os.path.join(args.work, "photo%d-24mp.jpg" % i)
        if not os.path.exists(target):
            make_24mp(source, target, i)
        photos.append((os.path.basename(source), target))

    print("| photo | screen | nearest pixel (dB) | smooth (dB) |")
    print("|---|---|---|---|")
    worst = float("inf")
    for name, path in photos:
        full = Image.open(path).convert("RGB")
        for w, h in SIZES:
            nearest = os.path.join(args.work, "nearest.ppm")
            smooth = os.path.join(args.work, "smooth.ppm")
            subprocess.run([sample, path, str(w), str(h), nearest, smooth], check=True)
            reference = np.asarray(full.resize((w, h), Image.LANCZOS))
            before = psnr(np.asarray(Image.open(nearest)), reference)
            after = psnr(np.asarray(Image.open(smooth)), reference)
            worst = min(worst, after)
            print("| %s | %dx%d | %.1f | %.1f |" % (name, w, h, before, after), flush=True)
    print("\nlowest smooth PSNR: %.1f dB" % worst)

    if args.bench:
        # The photo with the most detail (the largest file) costs the most.
        busiest = max((path for _, path in photos), key=os.path.getsize)
        env = dict(os.environ, PIXVANE_BENCH_PHOTO=busiest)
        subprocess.run([os.path.join(args.build, "bench", "pixvane_slide_bench"),
                        "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
                       check=True, env=env)


if __name__ == "__main__":
    main()
