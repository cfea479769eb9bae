"""End-to-end cases of the pictures the tool prepares: a camera photo stored
sideways shows upright, and shuffled pictures come once per round and never
twice in a row. run_e2e.py runs them with its own cases and lends its helpers."""
import json
import os
import struct
import subprocess
import time

import run_e2e as e2e
from e2e_common import quadrant_picture, write_manifest


def with_orientation(jpeg, orientation):
    """The JPEG file with an EXIF block after its start marker whose one
    entry is the orientation, as a camera held on its side writes it."""
    tiff = b"II*\0" + struct.pack("<IHHHIHHI", 8, 1, 0x0112, 3, 1, orientation, 0, 0)
    app1 = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xFF\xE1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:]


def case_exif_rotated_photo_shows_upright(run):
    """A photo stored turned a quarter left with EXIF orientation 6 fills the screen upright."""
    source = run.folder("exif", "package")
    upright = os.path.join(source, "upright.png")
    quadrant_picture(run.convert, upright)
    # What the camera stores: the scene turned a quarter left, 480 x 640.
    stored = subprocess.run([run.convert, upright, "-rotate", "-90", "-quality", "95", "jpg:-"],
                            check=True, stdout=subprocess.PIPE).stdout
    with open(os.path.join(source, "camera.jpg"), "wb") as f:
        f.write(with_orientation(stored, 6))
    manifest = write_manifest(source, (
        'title = "exif"\n[show]\npictures = ["camera.jpg"]\neffects = [0]\n'
        'interval = 60000\nscale = "stretch"\n'))
    saver = run.build(manifest, os.path.join(source, "exif.scr"))
    stored_size = json.loads(subprocess.run([run.tool, "inspect", "--json", saver], check=True,
                                            stdout=subprocess.PIPE).stdout)["pictures"][0]
    e2e.check((stored_size["width"], stored_size["height"]) == (640, 480),
              "the picture is stored %dx%d, not upright at 640x480"
              % (stored_size["width"], stored_size["height"]))

    exe, process = e2e.start_saver(run, "exif", saver, name="Exif.scr")
    expected = {"tl": "tl", "tr": "tr", "bl": "bl", "br": "br",
                "corner-tl": "tl", "corner-br": "br"}

    def upright_on_screen():
        if process.poll() is not None:
            raise e2e.Failure("the saver ended (exit code %d)" % process.returncode)
        shot = run.grab()
        points = e2e.quadrant_points(shot.width, shot.height)
        colors = {k: shot.pixel(x, y) for k, (x, y) in points.items()}
        return all(e2e.near(colors[k], e2e.QUADRANTS[expected[k]]) for k in points)

    if not e2e.wait_until(upright_on_screen, 20, 0.1):
        run.screenshot("exif-not-upright.png")
        raise e2e.Failure("the photo is not shown upright (see exif-not-upright.png)")
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")


def case_shuffle_shows_each_picture_once_per_round(run):
    """order = "shuffle": every picture once per round of three, none twice in a row."""
    interval = 2.0
    saver = run.solid_saver("shuffle", ["red", "green", "blue"], interval=int(interval * 1000),
                            settings='order = "shuffle"\n')
    exe, process = e2e.start_saver(run, "shuffle", saver, name="Shuffle.scr")
    seen = []  # [colour, first sight, last sight] of each picture in turn

    def seven_slides():
        if process.poll() is not None:
            raise e2e.Failure("the saver ended (exit code %d) during the show"
                              % process.returncode)
        before = time.monotonic()
        name = run.slide_on_screen()
        after = time.monotonic()
        if name is None or name == "black":
            return False
        if seen and seen[-1][0] == name:
            seen[-1][2] = before
        else:
            seen.append([name, after, before])
        return len(seen) >= 7

    e2e.wait_until(seven_slides, 45, 0.05)
    names = [s[0] for s in seen]
    e2e.check(len(names) >= 7, "only %s shown in 45 s" % names)
    for start in (0, 3):
        e2e.check(sorted(names[start:start + 3]) == ["blue", "green", "red"],
                  "the rounds were %s, not each picture once" % names[:6])
#A picture taken twice in a row would stay two intervals; one picture
#stays one interval and the moment it takes to show the next.What the
#screenshots saw of each is less, by up to one screenshot at each end.
    longest = max(s[2] - s[1] for s in seen[:-1])
    print("e2e: shuffled %s, each seen for at most %.2f s" % (names, longest), flush=True)
    e2e.check(longest < 1.5 * interval,
              "one colour stayed %.2f s: a picture came twice in a row" % longest)
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")


CASES = [case_exif_rotated_photo_shows_upright, case_shuffle_shows_each_picture_once_per_round]
