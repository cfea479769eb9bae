"""End-to-end cases of photos on today's screens, the player's side: the
scale modes on a 16:9 screen, a saver across two monitors, and a bold
caption with a shadow. run_e2e.py runs them with its own cases.

Screens other than the run's own come from a nested Xephyr (two monitors
side by side through Xinerama, as Wine then reports them) with a Wine
prefix of its own, since a Wine server serves one X display.
"""
import os
import shutil
import subprocess
import time

import run_e2e as e2e
from e2e_common import Failure, XServer, check, near, wait_until, write_manifest

# Pictures of one colour with a band of another along one edge, so a few
# pixels tell how a picture was placed and what was cut off.
MAIN = (0x30, 0xA0, 0xE0)
BAND = (0xF0, 0x80, 0x10)
CAPTION = (0xFF, 0xFF, 0x60)


class NestedScreens:
    """Xephyr with the given screens inside the run's display, and Wine on it."""

    def __init__(self, run, screens):
        command = [e2e.program("Xephyr"), "-nolisten", "tcp"]
        if len(screens) > 1:
            command += ["+xinerama", "-extension", "RANDR"]
        for size in screens:
            command += ["-screen", size]
        self.server = XServer(command, env=dict(os.environ, DISPLAY=run.display.name))
        self.run = run
        folder = os.path.join(run.work, "nested-" + self.server.number)
        os.makedirs(folder, exist_ok=True)
        self.wine = e2e.Wine(folder, self.server.name)

    def grab(self):
        return e2e.Screenshot(subprocess.run(
            [self.run.import_, "-window", "root", "-depth", "8", "ppm:-"], env=self.wine.env,
            check=True, stdout=subprocess.PIPE).stdout)

    def screenshot(self, name, monitors=()):
        """The root window, or only the given monitors' rectangles side by
        side: Xinerama's root is wider than a smaller monitor is tall, and
        what the X server shows below it is no monitor's."""
        path = os.path.join(self.run.screens, name)
        subprocess.run([self.run.import_, "-window", "root", path], env=self.wine.env, check=True)
        if monitors:
            crops = []
            for left, top, right, bottom in monitors:
                crops += ["(", "-clone", "0", "-crop", "%dx%d+%d+%d" % (
                    right - left, bottom - top, left, top), "+repage", ")"]
            subprocess.run([self.run.convert, path] + crops + [
                "-delete", "0", "-background", "gray50", "-splice", "8x0", "+append",
                "-chop", "8x0", path], check=True)
        print("e2e: screenshot %s" % os.path.relpath(path, e2e.ROOT), flush=True)

    def start(self, case, saver):
        exe = self.run.copy_saver(self.run.folder(case), "Photos.scr", saver)
        process = self.wine.start(exe, "/s", cwd=os.path.dirname(exe))
        self.run.processes.append(process)
        return process

    def wait_screen(self, process, expect, what, timeout=30):
        """Polls screenshots until expect(shot) holds; the last shot either way."""
        last = [None]

        def shown():
            if process.poll() is not None:
                raise Failure("the saver ended (exit code %d) before %s"
                              % (process.returncode, what))
            last[0] = self.grab()
            return expect(last[0])
        if not wait_until(shown, timeout, 0.1):
            raise Failure("%s: not on screen within %d s" % (what, timeout))
        return last[0]

    def close(self):
        self.wine.close()
        self.server.close()
        shutil.rmtree(self.wine.prefix, ignore_errors=True)


def picture(run, folder, name, size, band_edge):
    """A MAIN picture with a BAND a tenth of its size along one edge."""
    width, height = size
    right, bottom = (width, height // 10) if band_edge == "top" else (width // 10, height)
    subprocess.run([run.convert, "-size", "%dx%d" % size, "xc:#%02X%02X%02X" % MAIN,
                    "-fill", "#%02X%02X%02X" % BAND, "-draw",
                    "rectangle 0,0 %d,%d" % (right - 1, bottom - 1), "-quality", "95",
                    os.path.join(folder, name)], check=True)
    return name


def build(run, name, pictures, show="", caption="", own_captions=(), interval=1500):
    """A saver of pictures made by picture(), shown at once in list order;
    own_captions gives the first pictures captions of their own."""
    folder = os.path.join(run.work, "packages", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    names = [picture(run, folder, "%02d.jpg" % i, size, edge)
             for i, (size, edge) in enumerate(pictures, 1)]
    entries = ['{ file = "%s", caption = "%s" }' % (n, own_captions[i])
               if i < len(own_captions) else '"%s"' % n for i, n in enumerate(names)]
    manifest = write_manifest(folder, (
        'title = "%s"\nkind = "photo"\n[show]\npictures = [%s]\neffects = [0]\n'
        'interval = %d\n%s%s' % (name, ", ".join(entries), interval, show, caption)))
    return run.build(manifest, os.path.join(run.work, "packages", name + ".scr"))


def span(shot, y, color, x0=0, x1=None):
    """The first and last x on row y between x0 and x1 whose pixel is near color."""
    xs = [x for x in range(x0, shot.width if x1 is None else x1) if near(shot.pixel(x, y), color)]
    return (xs[0], xs[-1]) if xs else None


def case_photos_fit_and_fill(run):
    """On a 16:9 screen: fit shows a 4:3 and a portrait photo whole with bars; fill crops evenly."""
    screens = NestedScreens(run, ["1280x720"])
    try:
        pictures = [((800, 600), "top"), ((600, 800), "left")]
        # 4:3 fitted: 960 x 720 at x 160, its top band 72 high. Portrait
        # fitted: 540 x 720 at x 370, its left band 54 wide.
        process = screens.start("fit", build(run, "fit", pictures, show='scale = "fit"\n'))
        shot = screens.wait_screen(process, lambda s: span(s, 360, MAIN) and
                                   abs(span(s, 360, MAIN)[0] - 160) <= 3, "the fitted 4:3 photo")
        screens.screenshot("photos-fit-4x3.png")
        check(near(shot.pixel(80, 360), (0, 0, 0)) and near(shot.pixel(1200, 360), (0, 0, 0)),
              "no black bars beside the fitted 4:3 photo")
        check(abs(span(shot, 360, MAIN)[1] - 1119) <= 3, "the fitted photo ends at x = %d"
              % span(shot, 360, MAIN)[1])
        check(near(shot.pixel(640, 30), BAND), "the top band of the fitted photo is not shown")
        shot = screens.wait_screen(process, lambda s: span(s, 360, BAND, 300, 500),
                                   "the fitted portrait photo")
        screens.screenshot("photos-fit-portrait.png")
        band = span(shot, 360, BAND, 300, 500)
        check(abs(band[0] - 370) <= 3 and abs(band[1] - 423) <= 3,
              "the portrait's band spans %s, not 370-423" % (band,))
        check(near(shot.pixel(200, 360), (0, 0, 0)), "no bar left of the portrait")
        process.kill()
        process.wait()

        # 4:3 filled: 1280 x 960 at y -120, so its 60-pixel band (96 on
        # screen) is cut off. Portrait filled: 1280 wide, band 128 wide.
        process = screens.start("fill", build(run, "fill", pictures, show='scale = "fill"\n'))
        shot = screens.wait_screen(process, lambda s: all(
            near(s.pixel(x, y), MAIN) for x, y in ((1, 1), (1278, 718), (640, 2))),
            "the filled 4:3 photo, its band cut off")
        screens.screenshot("photos-fill-4x3.png")
        shot = screens.wait_screen(process, lambda s: span(s, 360, BAND, 0, 300),
                                   "the filled portrait photo")
        screens.screenshot("photos-fill-portrait.png")
        band = span(shot, 360, BAND, 0, 300)
        check(band[0] == 0 and abs(band[1] - 127) <= 3, "the portrait's band spans %s" % (band,))
        check(near(shot.pixel(1278, 1), MAIN) and near(shot.pixel(1278, 718), MAIN),
              "the filled portrait leaves a corner uncovered")
        process.kill()
        process.wait()
    finally:
        screens.close()


def case_photos_two_monitors(run):
    """Two monitors: the window covers both, each shows the whole photo fitted, with a caption."""
    screens = NestedScreens(run, ["1024x768", "800x600"])
    try:
        # Portrait 600 x 800: 576 x 768 at x 224 on the first monitor,
        # 450 x 600 at x 1024 + 175 on the second.
        saver = build(run, "monitors", [((600, 800), "left")], show='scale = "fit"\n',
                      caption='[caption]\ntext = "Two monitors"\nheight = -32\n'
                              'color = "#%02X%02X%02X"\n' % CAPTION)
        process = screens.start("monitors", saver)
        started = time.monotonic()
        shot = screens.wait_screen(process, lambda s: span(s, 300, BAND, 1024),
                                   "the photo on the second monitor")
        print("e2e: both monitors drawn %.1f s after start" % (time.monotonic() - started),
              flush=True)
        screens.screenshot("photos-two-monitors.png", [(0, 0, 1024, 768), (1024, 0, 1824, 600)])
        check(shot.width == 1824, "the screen is %d wide, not two monitors" % shot.width)
        first, second = span(shot, 300, BAND, 0, 1024), span(shot, 300, BAND, 1024)
        check(first and abs(first[0] - 224) <= 3, "the first monitor's band spans %s" % (first,))
        check(abs(second[0] - 1199) <= 3 and abs(second[1] - 1243) <= 3,
              "the second monitor's band spans %s, not 1199-1243" % (second,))
        check(span(shot, 300, MAIN, 1024) and span(shot, 300, MAIN, 1024)[1] >= 1640,
              "the second monitor does not show the whole photo")
        for x, y in ((100, 300), (1100, 300), (1750, 300)):
            check(near(shot.pixel(x, y), (0, 0, 0)), "no black at %d, %d: %s"
                  % (x, y, shot.pixel(x, y)))
        for left, right, bottom in ((0, 1024, 768), (1024, 1824, 600)):
            found, box = shot.find((left, bottom - 60, right, bottom), CAPTION)
            check(found > 50, "no caption at the bottom of the monitor at x %d" % left)
            centre = (box[0] + box[2]) / 2
            check(abs(centre - (left + right) / 2) <= 8, "the caption is centred at %.0f" % centre)
    finally:
        screens.close()


def case_photos_each_monitor(run):
    """monitors = "each": the next picture on each monitor, each with the caption."""
    screens = NestedScreens(run, ["1024x768", "800x600"])
    try:
        # The first picture's band is along its top, the second's along its left edge.
        saver = build(run, "each-monitor", [((640, 480), "top"), ((640, 480), "left")],
                      show='scale = "stretch"\nmonitors = "each"\n',
                      caption='[caption]\ntext = "Each"\nheight = -32\n'
                              'color = "#%02X%02X%02X"\n' % CAPTION)
        process = screens.start("each-monitor", saver)
        shot = screens.wait_screen(process, lambda s: near(s.pixel(1424, 300), MAIN),
                                   "a picture on the second monitor")
        screens.screenshot("photos-each-monitor.png", [(0, 0, 1024, 768), (1024, 0, 1824, 600)])
        for x, y, colour, what in ((512, 20, BAND, "the first picture's top band"),
                                   (20, 400, MAIN, "the first picture on the first monitor"),
                                   (1044, 300, BAND, "the second picture's left band"),
                                   (1424, 20, MAIN, "the second picture on the second monitor")):
            check(near(shot.pixel(x, y), colour), "%s: %s at %d, %d" % (what, shot.pixel(x, y), x, y))
        for left, right, bottom in ((0, 1024, 768), (1024, 1824, 600)):
            found, box = shot.find((left, bottom - 60, right, bottom), CAPTION)
            check(found > 50, "no caption at the bottom of the monitor at x %d" % left)
    finally:
        screens.close()


def case_photos_bold_caption_with_shadow(run):
    """A bold caption with a shadow and a margin: heavier ink, dark beside it, off the edge."""
    def caption_ink(name, extra):
        saver = build(run, name, [((640, 480), "top")], show='scale = "stretch"\n', caption=(
            '[caption]\ntext = "Bright beach"\nheight = -40\ncolor = "#%02X%02X%02X"\n%s'
            % (CAPTION + (extra,))))
        exe, process = e2e.start_saver(run, "caption-" + name, saver)
        shot = wait_until(lambda: (lambda s: s if near(s.pixel(640, 512), MAIN) else None)(
            run.grab()), 30, 0.1)
        check(shot, "%s: the photo did not show" % name)
        run.screenshot("photos-caption-%s.png" % name)
        ink, box = shot.find((shot.width // 4, shot.height - 120, 3 * shot.width // 4,
                              shot.height), CAPTION)
        check(box, "%s: no caption" % name)
        process.kill()
        process.wait()
        return shot, ink, box

    plain, plain_ink, plain_box = caption_ink("regular", "")
    shot, ink, box = caption_ink("bold", 'style = ["fsBold"]\nshadow = true\nmargin = 24\n')
    print("e2e: caption ink regular %d, bold %d; bold box %s" % (plain_ink, ink, box), flush=True)
    check(plain_ink > 200 and ink > 1.15 * plain_ink, "bold ink %d against regular %d"
          % (ink, plain_ink))
    check(shot.height - box[3] >= 20, "the caption ends %d pixels above the bottom, not 24"
          % (shot.height - box[3]))
    check(plain.height - plain_box[3] <= 12, "the plain caption is not flush at the bottom")
    # Just below the letters, the bright picture is darkened by the shadow.
    dark = [shot.pixel(x, box[3] + 2) for x in range(box[0], box[2])]
    check(any(sum(p) < sum(MAIN) - 90 for p in dark), "no shadow below the caption")


def case_photos_pan_and_zoom(run):
    """A pan-and-zoom saver: the screen changes while one picture shows, and never shows black."""
    screens = NestedScreens(run, ["1280x720"])
    try:
        folder = os.path.join(run.work, "packages", "panzoom")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        # A diagonal ramp under a grid: any pan or zoom moves the lines.
        grid = " ".join("line %d,0 %d,1199" % (x, x) for x in range(0, 1600, 100)) + " " + \
            " ".join("line 0,%d 1599,%d" % (y, y) for y in range(0, 1200, 100))
        subprocess.run([run.convert, "-size", "1600x1200", "-define", "gradient:angle=45",
                        "gradient:#E08020-#2080E0", "-stroke", "#102060", "-strokewidth", "5",
                        "-draw", grid, "-quality", "92", os.path.join(folder, "grid.jpg")],
                       check=True)
        manifest = write_manifest(folder, (
            'title = "Pan"\nkind = "photo"\n[show]\npictures = ["grid.jpg"]\neffects = [0]\n'
            'interval = 20000\nscale = "fill"\nmotion = "pan-zoom"\nzoom = 1.3\n'))
        saver = run.build(manifest, os.path.join(run.work, "packages", "panzoom.scr"))
        process = screens.start("panzoom", saver)
        corners = ((1, 1), (1278, 1), (1, 718), (1278, 718), (640, 360))

        def covered(shot):
            return not any(near(shot.pixel(x, y), (0, 0, 0)) for x, y in corners)
        first = screens.wait_screen(process, covered, "the picture")
        screens.screenshot("pan-zoom-1.png")
        time.sleep(3)
        second = screens.wait_screen(process, covered, "the picture, still covering the screen")
        screens.screenshot("pan-zoom-2.png")
        changed = sum(1 for y in range(0, 720, 8) for x in range(0, 1280, 8)
                      if not near(first.pixel(x, y), second.pixel(x, y), 24))
        check(changed > 90 * 160 // 20, "only %d of %d sampled pixels changed in 3 s"
              % (changed, 90 * 160))
        process.kill()
        process.wait()
    finally:
        screens.close()


def case_photos_captions_of_their_own(run):
    """Each picture its own caption (one beyond Windows-1252, one wrapped), the last the show's."""
    world = "Gr\u00fc\u00dfe aus Z\u00fcrich \u2600 \u6771\u4eac"
    long = ("A long caption that is far wider than the screen wraps at the spaces between its "
            "words and stays inside the margins")
    saver = build(run, "own-captions", [((640, 480), "top"), ((640, 480), "left"),
                                        ((640, 480), "top")],
                  show='scale = "stretch"\n', own_captions=(world, long), interval=4000,
                  caption='[caption]\ntext = "Beach"\nheight = -40\ncolor = "#%02X%02X%02X"\n'
                          'margin = 16\nshadow = true\n' % CAPTION)
    report = subprocess.run([run.tool, "inspect", saver], check=True, stdout=subprocess.PIPE,
                            encoding="utf-8").stdout
    check('caption "%s"' % world in report, "inspect does not show the caption:\n" + report)
    exe, process = e2e.start_saver(run, "own-captions", saver)
    boxes = []
    # Band on top, band on the left, band on top again: one shot of each slide.
    for index, edge in enumerate(("top", "left", "top")):
        def slide(shot):
            top = near(shot.pixel(640, 20), BAND)
            left = near(shot.pixel(20, 512), BAND) and not top
            return shot if (top if edge == "top" else left) and near(
                shot.pixel(640, 400), MAIN) else None
        shot = wait_until(lambda: slide(run.grab()), 30, 0.1)
        check(shot, "slide %d did not show" % (index + 1))
        run.screenshot("photos-own-caption-%d.png" % (index + 1))
        ink, box = shot.find((0, shot.height - 260, shot.width, shot.height), CAPTION)
        check(box, "slide %d: no caption" % (index + 1))
        boxes.append(box)
    process.kill()
    process.wait()
    print("e2e: caption boxes %s" % boxes, flush=True)
    heights = [b[3] - b[1] for b in boxes]
    widths = [b[2] - b[0] for b in boxes]
    check(widths[0] > 3 * widths[2], "the first slide shows the show's caption, not its own")
    check(heights[1] > 1.6 * heights[0], "the long caption is not wrapped")
    check(boxes[1][0] >= 16 and boxes[1][2] <= shot.width - 16,
          "the wrapped caption leaves its margins: %s" % (boxes[1],))
    check(widths[2] < 200, "the last slide does not show the show's caption")


CASES = [case_photos_fit_and_fill, case_photos_two_monitors, case_photos_each_monitor,
         case_photos_captions_of_their_own, case_photos_pan_and_zoom,
         case_photos_bold_caption_with_shadow]
