"""End-to-end cases of the Windows tool (pixvane.exe under Wine): it builds a
saver from PNG pictures as the native tool does, and renders its show to PNG
frames that match the native tool's, exactly but for the caption, which GDI
draws where the native tool has FreeType. run_e2e.py runs them with its own
cases and lends its helpers."""
import json
import os
import subprocess

import run_e2e as e2e
from e2e_common import quadrant_picture, write_manifest

SIZE = (320, 240)
CAPTION_HEIGHT = 24  # pixels; the caption lies in the band of twice that at the bottom


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def windows_tool(run, *args):
    """Runs pixvane.exe under Wine with the arguments (paths already in
    Windows form) and returns its standard output; a failure names its
    messages."""
    exe = os.path.join(os.path.dirname(run.player), "pixvane.exe")
    done = subprocess.run([run.wine.wine, exe] + list(args), env=run.wine.env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
    e2e.check(done.returncode == 0, "pixvane.exe %s ended with %d: %s"
              % (args[0], done.returncode, done.stderr.strip()))
    return done.stdout


def make_pictures(run, folder):
    """Two PNG pictures of the screen's size: flat quadrants and a gradient."""
    quadrant_picture(run.convert, os.path.join(folder, "01-quadrants.png"),
                     (SIZE[0] // 2, SIZE[1] // 2))
    subprocess.run([run.convert, "-size", "%dx%d" % SIZE, "gradient:yellow-purple",
                    os.path.join(folder, "02-gradient.png")], check=True)


def read_frames(run, folder):
    """The frames a render wrote to folder, in order, as screenshots (PPM)."""
    names = sorted(n for n in os.listdir(folder) if n.endswith(".png"))
    return [e2e.Screenshot(subprocess.run([run.convert, os.path.join(folder, n), "ppm:-"],
                                          check=True, stdout=subprocess.PIPE).stdout)
            for n in names]


def caption_pixels(frame, top):
    found, box = frame.find((0, top, frame.width, frame.height), e2e.CAPTION_COLOR)
    return found, box


def case_windows_tool_builds_from_png_as_native(run):
    """pixvane.exe builds a saver from PNG pictures, stored as the native tool stores them."""
    source = run.folder("wintool-build", "package")
    make_pictures(run, source)
    manifest = write_manifest(source,
                              'title = "PNG"\n[show]\npictures = ["*.png"]\neffects = [1, 2]\n')
    saver = os.path.join(source, "windows.scr")
    windows_tool(run, "build", windows_path(manifest), "-o", windows_path(saver))
    native = run.build(manifest, os.path.join(source, "native.scr"), stderr=subprocess.DEVNULL)
    report = json.loads(windows_tool(run, "inspect", "--json", windows_path(saver)))
    names = [(p["name"], p["width"], p["height"]) for p in report["pictures"]]
    e2e.check(names == [("01-quadrants.jpg",) + SIZE, ("02-gradient.jpg",) + SIZE],
              "the saver holds %s" % names)
    # The same libjpeg encodes the converted pictures: byte for byte alike.
    pictures = {}
    for name, built in (("windows", saver), ("native", native)):
        out = run.folder("wintool-build", name)
        subprocess.run([run.tool, "extract", built, out], check=True, stdout=subprocess.DEVNULL)
        pictures[name] = {n: open(os.path.join(out, n), "rb").read()
                          for n in os.listdir(out) if n.endswith(".jpg")}
    e2e.check(pictures["windows"] == pictures["native"],
              "the pictures differ from the native tool's: %s and %s"
              % (sorted(pictures["windows"]), sorted(pictures["native"])))


def case_windows_tool_renders_as_native(run):
    """pixvane.exe renders a show to the native tool's frames: the picture
    exactly, the caption (GDI against FreeType) in the same place and size."""
    source = run.folder("wintool-render", "package")
    make_pictures(run, source)
    manifest = write_manifest(source, (
        'title = "Render"\n[show]\npictures = ["*.png"]\neffects = [1, 2]\n'
        'interval = 1000\n[caption]\ntext = "Pixvane caption"\ncolor = "#%02X%02X%02X"\n'
        'height = -%d\n' % (e2e.CAPTION_COLOR + (CAPTION_HEIGHT,))))
    saver = run.build(manifest, os.path.join(source, "render.scr"), stderr=subprocess.DEVNULL)
    size = ["--width", str(SIZE[0]), "--height", str(SIZE[1]), "--seconds", "4"]
    native_out = run.folder("wintool-render", "native")
    windows_out = run.folder("wintool-render", "windows")
    subprocess.run([run.tool, "render", saver, "-o", native_out] + size, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    windows_tool(run, "render", windows_path(saver), "-o", windows_path(windows_out), *size)
    native, windows = read_frames(run, native_out), read_frames(run, windows_out)
    e2e.check(len(native) > 10 and len(windows) == len(native),
              "%d frames from pixvane.exe, %d from the native tool" % (len(windows), len(native)))
    band = SIZE[1] - 2 * CAPTION_HEIGHT
    row = 3 * SIZE[0]
    with_caption = 0
    for index, (a, b) in enumerate(zip(native, windows)):
        above = slice(a.start, a.start + band * row)
        e2e.check(a.data[above] == b.data[b.start:b.start + band * row],
                  "frame %d differs above the caption" % index)
        found_a, box_a = caption_pixels(a, band)
        found_b, box_b = caption_pixels(b, band)
        if not found_a:
            continue
        with_caption += 1
        # Another rasteriser and font: about as much ink, about as wide, as
        # centred.
        e2e.check(found_b * 2 > found_a and found_b < found_a * 2,
                  "frame %d: %d caption pixels, the native tool has %d"
                  % (index, found_b, found_a))
        e2e.check(box_b is not None and abs((box_a[0] + box_a[2]) - (box_b[0] + box_b[2])) <= 16
                  and abs((box_a[2] - box_a[0]) - (box_b[2] - box_b[0])) <= SIZE[0] // 4,
                  "frame %d: the caption spans %s, the native tool's %s" % (index, box_b, box_a))
    e2e.check(with_caption > 0, "no frame shows the caption")
    print("e2e: %d frames alike, %d with the caption" % (len(native), with_caption), flush=True)


CASES = [case_windows_tool_builds_from_png_as_native, case_windows_tool_renders_as_native]
