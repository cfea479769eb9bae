#!/usr/bin/env python3
"""End-to-end tests of the player: the real pixvane.scr under Wine.

Builds savers with the maker's tool, runs them under Wine on a virtual X
display of their own, drives them with xdotool and looks at them through a
helper program inside Wine (tests/e2e/helper) and through screenshots.
Every wait is bounded and polls its condition.

Each case prints "E2E PASS name" or "E2E FAIL name: why"; the last line is
"e2e: N passed, N failed" and the exit code is non-zero when a case failed.

Usage: run_e2e.py [--build build/win] [--tool build/native/bin/pixvane]
                  [--work build/e2e] [case ...]
"""
import argparse
import os
import queue
import shutil
import subprocess
import sys
import threading
import time

# The scripts beside this one are imported by name; that leaves no bytecode
# folder in the source tree.
sys.dont_write_bytecode = True
from e2e_common import (QUADRANTS, Failure, XServer, build_saver, check,  # noqa: E402
                        end_processes, flat_picture, near, quadrant_picture, run_cases, toml_list,
                        wait_until, write_manifest)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

TITLE = "E2E Beach"
AUTHOR = "E2E Maker"
EMAIL = "maker@e2e.invalid"
WEB = "www.e2e.invalid/beach"

# The savers' pictures: flat colours far apart from each other, from black
# and from the caption's colour, so a few pixels tell which slide is shown.
SLIDES = {"red": (0xE0, 0x20, 0x20), "green": (0x20, 0xC0, 0x40), "blue": (0x20, 0x40, 0xE0)}
CAPTION_COLOR = (0xFF, 0xFF, 0x00)
SAVER_CLASS = "TfrmScrn"


def program(*names):
    for name in names:
        if os.path.isabs(name) and os.access(name, os.X_OK):
            return name
        found = shutil.which(name)
        if found:
            return found
    raise SystemExit("run_e2e: none of %s found" % ", ".join(names))


class Wine:
    """One prefix for the whole run: a copy of the set-up prefix, made once."""

    def __init__(self, work, display):
        self.prefix = os.path.join(work, "wine")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
        self.env.pop("WAYLAND_DISPLAY", None)
        # wine64 itself: the wrapper script prints a note about wine32 each time.
        self.wine = program("/usr/lib/wine/wine64", "wine64", "wine")
        self.wineserver = program("/usr/lib/wine/wineserver64", "wineserver")
        source = os.environ.get("PIXVANE_E2E_WINE_SOURCE", os.path.join(ROOT, ".cache", "wine"))
        shutil.rmtree(self.prefix, ignore_errors=True)
        started = time.monotonic()
        if os.path.isfile(os.path.join(source, "system.reg")):
            subprocess.run(["cp", "-a", source, self.prefix], check=True)
        else:
            subprocess.run([self.wine, "wineboot", "-i"], env=self.env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # No window manager runs on the display: Wine draws the frames itself,
        # so captions show in screenshots.
        self.run(["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                  "/d", "N", "/f"])
        # One server for the whole run keeps every start quick.
        subprocess.Popen([self.wineserver, "-p"], env=self.env)
        print("e2e: wine prefix ready in %.1f s" % (time.monotonic() - started), flush=True)

    def run(self, args):
        subprocess.run([self.wine] + args, env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self, exe, *args, **kwargs):
        return subprocess.Popen([self.wine, exe] + list(args), env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)

    def close(self):
        subprocess.run([self.wineserver, "-k"], env=self.env, stderr=subprocess.DEVNULL)


class Helper:
    """The helper program inside Wine, asked one command at a time."""

    def __init__(self, wine, exe):
        self.process = subprocess.Popen([wine.wine, exe], env=wine.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        ready = self.lines.get(timeout=60)
        if ready != "READY":
            raise SystemExit("run_e2e: the helper said %r" % ready)

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\r\n"))
        self.lines.put(None)

    def ask(self, command, timeout=20):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = []
        while True:
            line = self.lines.get(timeout=timeout)
            if line is None:
                raise Failure("the helper ended during %r" % command)
            if line == "END":
                return answer
            answer.append(line)

    def windows(self):
        """Visible top-level windows: (hwnd, class, caption, rect)."""
        result = []
        for line in self.ask("windows"):
            hwnd, kind, caption, rect = line.split("\t")
            result.append((hwnd, kind, caption, tuple(int(v) for v in rect.split(","))))
        return result

    def controls(self, hwnd):
        """Child controls by their text: (hwnd, class, check state, rect, role, name),
        the last two as assistive tools are told them."""
        result = {}
        for line in self.ask("controls " + hwnd):
            child, kind, text, checked, rect, role, name = line.split("\t")
            result[text] = (child, kind, int(checked), tuple(int(v) for v in rect.split(",")),
                            int(role), name)
        return result

    def close(self):
        try:
            self.ask("quit", timeout=5)
        except Exception:
            pass
        self.process.wait(timeout=10)


class Screenshot:
    """A binary PPM of the screen as import writes it; pixel() reads one
    pixel without unpacking the rest."""

    def __init__(self, data):
        # P6 header: magic, width, height, maximum, each followed by one blank.
        fields, at = [], 0
        while len(fields) < 4:
            while data[at:at + 1].isspace():
                at += 1
            end = at
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[at:end])
            at = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data, self.start = data, at + 1

    def pixel(self, x, y):
        at = self.start + 3 * (y * self.width + x)
        return tuple(self.data[at:at + 3])

    def find(self, rect, color):
        """The pixels inside rect near color: how many, and the rectangle
        around them (None when there are none)."""
        left, top, right, bottom = rect
        found, box = 0, None
        for y in range(top, bottom):
            for x in range(left, right):
                if near(self.pixel(x, y), color):
                    found += 1
                    box = (min(box[0], x), min(box[1], y), max(box[2], x + 1), max(box[3], y + 1)
                           ) if box else (x, y, x + 1, y + 1)
        return found, box


def open_files(pid):
    """The files a process holds open, by their real paths."""
    found = set()
    folder = "/proc/%d/fd" % pid
    for fd in os.listdir(folder):
        try:
            found.add(os.path.realpath(os.readlink(os.path.join(folder, fd))))
        except OSError:  # closed meanwhile
            pass
    return found


def cpu_seconds(pid):
    """User and system time of a process, from /proc."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Run:
    """What every case needs: Wine, the helper, the savers and a folder."""

    def __init__(self, args):
        self.work = os.path.abspath(args.work)
        self.player = os.path.join(os.path.abspath(args.build), "bin", "pixvane.scr")
        self.helper_exe = os.path.join(os.path.abspath(args.build), "tests", "e2e",
                                       "pixvane_e2e_helper.exe")
        self.tool = os.path.abspath(args.tool)
        for path in (self.player, self.helper_exe, self.tool):
            if not os.path.isfile(path):
                raise SystemExit("run_e2e: %s is missing; build it first" % path)
        self.screens = os.path.join(self.work, "screens")
        shutil.rmtree(os.path.join(self.work, "cases"), ignore_errors=True)
        os.makedirs(self.screens, exist_ok=True)
        self.convert = program("/usr/bin/convert", "convert")
        self.xdotool = program("xdotool")
        self.import_ = program("import")
        try:
            self.display = XServer([program("Xvfb"), "-screen", "0", "1280x1024x24",
                                    "-nolisten", "tcp"])
        except Failure as e:
            raise SystemExit("run_e2e: %s" % e)
        self.wine = Wine(self.work, self.display.name)
        self.helper = Helper(self.wine, self.helper_exe)
        self.saver = self.build_saver()
        self.processes = []
        self.temp = None

    def close(self):
        end_processes(self.processes)
        self.helper.close()
        self.wine.close()
        self.display.close()

    def build_saver(self):
        source = os.path.join(self.work, "package")
        os.makedirs(source, exist_ok=True)
        # The first picture is the quadrants.
        quadrant_picture(self.convert, os.path.join(source, "01-quadrants.jpg"),
                         options=["-quality", "95"])
        subprocess.run([self.convert, "-size", "64x48", "gradient:yellow-purple", "-quality", "90",
                        os.path.join(source, "02-gradient.jpg")], check=True)
        manifest = write_manifest(source, (
            'title = "%s"\nauthor = "%s"\nemail = "%s"\nweb = "%s"\nkind = "photo"\n'
            '[show]\npictures = ["*.jpg"]\neffects = [1, 2]\nstretch = true\n'
            % (TITLE, AUTHOR, EMAIL, WEB)))
        return self.build(manifest, os.path.join(self.work, "E2E.scr"))

    def build(self, manifest, saver, **kwargs):
        """The native tool builds the manifest into saver around the player."""
        build_saver(self.tool, self.player, manifest, saver, **kwargs)
        return saver

    def solid_saver(self, name, colors, settings="", interval=1000, sounds=()):
        """A saver of flat-coloured pictures shown in list order, each at once
        (style 0) and stretched over the screen. settings: more manifest
        text; sounds: (file name, bytes) pairs for its music."""
        source = os.path.join(self.work, "packages", name)
        shutil.rmtree(source, ignore_errors=True)
        os.makedirs(source)
        pictures = self.slide_pictures(source, colors)
        for sound, data in sounds:
            with open(os.path.join(source, sound), "wb") as f:
                f.write(data)
        text = ('title = "%s"\nkind = "photo"\n[show]\npictures = [%s]\neffects = [0]\n'
                'interval = %d\nstretch = true\n' % (name, toml_list(pictures), interval))
        if sounds:
            text += "[music]\nfiles = [%s]\n" % toml_list(n for n, _ in sounds)
        manifest = write_manifest(source, text + settings)
        return self.build(manifest, os.path.join(self.work, "packages", name + ".scr"))

    def slide_pictures(self, folder, colors):
        """A picture in folder for each of the SLIDES colours named, in order;
        returns their file names."""
        pictures = []
        for number, color in enumerate(colors, 1):
            picture = "%02d-%s.jpg" % (number, color)
            flat_picture(self.convert, os.path.join(folder, picture), SLIDES[color])
            pictures.append(picture)
        return pictures

    # --- per case
    def folder(self, case, name="copy"):
        path = os.path.join(self.work, "cases", case, name)
        os.makedirs(path, exist_ok=True)
        return path

    def copy_saver(self, folder, name="Beach.scr", saver=None):
        path = os.path.join(folder, name)
        shutil.copyfile(saver or self.saver, path)
        return path

    def start(self, exe, *args):
        process = self.wine.start(exe, *args, cwd=os.path.dirname(exe))
        self.processes.append(process)
        return process

    def wait_window(self, caption, timeout=30, count=1):
        """The visible top-level windows with exactly this caption, once there are count."""
        def enough():
            windows = self.windows_captioned(caption)
            return windows if len(windows) >= count else None
        found = wait_until(enough, timeout, 0.2)
        check(found, "no window captioned %r within %d s (windows: %s)"
              % (caption, timeout, [w[2] for w in self.helper.windows()]))
        return found

    def windows_captioned(self, caption):
        return [w for w in self.helper.windows() if w[2] == caption]

    def wait_exit(self, process, timeout, what):
        """Waits for the player to end by itself. Its exit code is 0 on every
        path; Wine answers another one when it could not run the file at all,
        which must not pass for "ended at once"."""
        try:
            code = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s: still running after %d s" % (what, timeout))
        check(code == 0, "%s: exit code %d" % (what, code))

    def close_window(self, window, process):
        self.helper.ask("close " + window[0])
        self.wait_exit(process, 15, "closing %r" % window[2])

    def click(self, rect):
        x, y = (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2
        subprocess.run([self.xdotool, "mousemove", str(x), str(y), "click", "1"],
                       env=self.wine.env, check=True)

    def grab(self, rect=None):
        """The screen (or the part inside rect), read from the X server: what
        is really shown, whichever process drew it."""
        command = [self.import_, "-window", "root"]
        if rect:
            left, top, right, bottom = rect
            command += ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top)]
        return Screenshot(subprocess.run(command + ["-depth", "8", "ppm:-"], env=self.wine.env,
                                         check=True, stdout=subprocess.PIPE).stdout)

    def screen_pixels(self, rect):
        """The screen's pixels inside rect as rows of (r, g, b)."""
        shot = self.grab(rect)
        return [[shot.pixel(x, y) for x in range(shot.width)] for y in range(shot.height)]

    def xdo(self, *args):
        subprocess.run([self.xdotool] + [str(a) for a in args], env=self.wine.env, check=True)

    def slide_on_screen(self, colors=SLIDES):
        """The name of the flat colour of colors, or black, covering the whole
        screen, corners included; None while it is covered by anything else."""
        shot = self.grab()
        seen = [shot.pixel(x, y) for x, y in quadrant_points(shot.width, shot.height).values()]
        for name, color in list(colors.items()) + [("black", (0, 0, 0))]:
            if all(near(c, color) for c in seen):
                return name
        return None

    def wait_slide(self, process, name, timeout=20, colors=SLIDES):
        def shown():
            if process.poll() is not None:
                raise Failure("the saver ended (exit code %d) before showing %s"
                              % (process.returncode, name))
            return self.slide_on_screen(colors) == name
        if not wait_until(shown, timeout, 0.05):
            self.screenshot("saver-no-%s.png" % name)
            raise Failure("the screen did not turn %s within %d s (it shows %s)"
                          % (name, timeout, self.slide_on_screen(colors)))

    def saver_windows(self):
        return [w for w in self.helper.windows() if w[1] == SAVER_CLASS]

    def saver_running_flag(self, clear=False):
        return self.helper.ask("saver-running clear" if clear else "saver-running")[0]

    def temp_folder(self):
        """The Unix path of the folder that the player's GetTempPath names."""
        if not self.temp:
            folder = self.helper.ask("temp")[0]
            self.temp = subprocess.run(
                [self.wine.wine, "winepath", "-u", folder], env=self.wine.env, check=True,
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout.strip()
            check(os.path.isdir(self.temp), "the temporary folder %r (%s) is not there"
                  % (folder, self.temp))
        return self.temp

    def screenshot(self, name, rect=None):
        path = os.path.join(self.screens, name)
        command = [self.import_, "-window", "root"]
        if rect:
            margin = 12
            left, top = max(rect[0] - margin, 0), max(rect[1] - margin, 0)
            command += ["-crop", "%dx%d+%d+%d" % (rect[2] + margin - left,
                                                  rect[3] + margin - top, left, top)]
        subprocess.run(command + [path], env=self.wine.env, check=True)
        print("e2e: screenshot %s" % os.path.relpath(path, ROOT), flush=True)


# ----------------------------------------------------------------- the cases
def expect_details(run, window, title_label="Title:", author_label="Author:",
                   mute="Mute music", ok="&Ok"):
    controls = run.helper.controls(window[0])
    for text in (title_label + TITLE, author_label + AUTHOR, EMAIL, WEB, mute, ok):
        check(text in controls, "no control reads %r (controls: %s)" % (text, sorted(controls)))
    return controls


def case_setup_without_arguments(run):
    """No arguments: the setup dialog; OK without touching the box stores nothing."""
    exe = run.copy_saver(run.folder("setup"))
    process = run.start(exe)
    window = run.wait_window("Setup [%s]" % TITLE)[0]
    controls = expect_details(run, window)
    check(controls["Mute music"][2] == 0, "the box is ticked without any CONTROL.INI")
    run.screenshot("setup-dialog.png", window[3])
    run.click(controls["&Ok"][3])
    run.wait_exit(process, 15, "OK")
    check(not os.path.exists(os.path.join(os.path.dirname(exe), "CONTROL.INI")),
          "OK without a click wrote CONTROL.INI")


def case_setup_with_handle(run):
    """/c:1234: the setup dialog; the handle after the colon is not used."""
    exe = run.copy_saver(run.folder("colon"))
    process = run.start(exe, "/c:1234")
    window = run.wait_window("Setup [%s]" % TITLE)[0]
    run.close_window(window, process)


def case_second_instance(run):
    """A second copy of the same file name ends at once; another name does not."""
    first = run.start(run.copy_saver(run.folder("instances", "a")), "/c")
    caption = "Setup [%s]" % TITLE
    run.wait_window(caption)
    same = run.start(run.copy_saver(run.folder("instances", "b")), "/c")
    run.wait_exit(same, 15, "a second Beach.scr")
    check(len(run.windows_captioned(caption)) == 1, "the second Beach.scr showed a window")
    other = run.start(run.copy_saver(run.folder("instances", "b"), "Dunes.scr"), "/c")
    windows = run.wait_window(caption, count=2)
    check(other.poll() is None, "Dunes.scr ended while Beach.scr ran")
    for window in windows:
        run.helper.ask("close " + window[0])
    run.wait_exit(first, 15, "closing Beach.scr")
    run.wait_exit(other, 15, "closing Dunes.scr")


def quadrant_points(width, height):
    return {"tl": (width // 4, height // 4), "tr": (3 * width // 4, height // 4),
            "bl": (width // 4, 3 * height // 4), "br": (3 * width // 4, 3 * height // 4),
            "corner-tl": (1, 1), "corner-br": (width - 2, height - 2)}


def case_preview_draws_and_ends(run):
    """/p HANDLE: the first picture stretched over the preview, asleep, gone when it hides."""
    exe = run.copy_saver(run.folder("preview"))
    width, height = 200, 100  # 2:1, the picture is 4:3: stretched, not fitted
    left, top = 100, 100      # where the helper puts its host window
    host = run.helper.ask("host %d %d" % (width, height))[0]
    points = quadrant_points(width, height)
    expected = {"tl": "tl", "tr": "tr", "bl": "bl", "br": "br",
                "corner-tl": "tl", "corner-br": "br"}
    started = time.monotonic()
    process = run.start(exe, "/p", host)

    # The drawing lands on another process's window: only the screen shows it.
    def drawn():
        screen = run.screen_pixels((left, top, left + width, top + height))
        colors = {k: screen[y][x] for k, (x, y) in points.items()}
        return colors if all(near(colors[k], QUADRANTS[expected[k]]) for k in points) else None

    colors = wait_until(drawn, 30, 0.05)
    if not colors:
        run.screenshot("preview-failed.png")
        screen = run.screen_pixels((left, top, left + width, top + height))
        raise Failure("the preview was not drawn: %s"
                      % {k: screen[y][x] for k, (x, y) in points.items()})
    print("e2e: preview drawn %.2f s after start" % (time.monotonic() - started), flush=True)
    run.screenshot("preview.png", (left, top, left + width, top + height))
    check(process.poll() is None, "the preview ended while its window was visible")

    before, at = cpu_seconds(process.pid), time.monotonic()
    time.sleep(3)
    share = (cpu_seconds(process.pid) - before) / (time.monotonic() - at)
    print("e2e: preview process used %.1f%% of a core over 3 s" % (100 * share), flush=True)
    check(share < 0.2, "the preview keeps a core busy (%.0f%%)" % (100 * share))

    run.helper.ask("hide " + host)
    hidden = time.monotonic()
    run.wait_exit(process, 10, "preview after its window hid")
    print("e2e: preview ended %.0f ms after its window hid" % (1000 * (time.monotonic() - hidden)),
          flush=True)
    run.helper.ask("destroy " + host)


def case_preview_shows_caption(run):
    """/p HANDLE: the first slide in miniature, its caption shrunk with the screen."""
    saver = run.solid_saver("preview-caption", ["blue"], settings=(
        '[caption]\ntext = "Pixvane"\ncolor = "#%02X%02X%02X"\nheight = -256\n' % CAPTION_COLOR))
    exe = run.copy_saver(run.folder("preview-caption"), saver=saver)
    width, height = 200, 150
    rect = (100, 100, 300, 250)  # where the helper puts its host window
    host = run.helper.ask("host %d %d" % (width, height))[0]
    process = run.start(exe, "/p", host)

    def captioned():
        shot = run.grab(rect)
        count, box = shot.find((0, 0, width, height), CAPTION_COLOR)
        return box if count and near(shot.pixel(2, 2), SLIDES["blue"]) else None

    box = wait_until(captioned, 30, 0.05)
    run.screenshot("preview-caption.png", rect)
    check(box, "the preview shows no caption")
    print("e2e: preview caption ink at %s" % (box,), flush=True)
    # 256 pixels high on the 1280 pixel wide screen: 40 in the preview.
    check(box[1] >= height // 2 and box[3] - box[1] <= 44,
          "the caption is not the screen's shrunk to the preview: ink at %s" % (box,))
    check(abs((box[0] + box[2]) / 2 - width / 2) <= 6, "the caption is not centred: %s" % (box,))
    run.helper.ask("hide " + host)
    run.wait_exit(process, 10, "preview after its window hid")
    run.helper.ask("destroy " + host)


def case_preview_without_handle(run):
    """/p:1234: no second argument, so no handle: ends at once, draws nothing."""
    exe = run.copy_saver(run.folder("preview-colon"))
    process = run.start(exe, "/p:1234")
    run.wait_exit(process, 15, "/p:1234")


def case_password_ends(run):
    """/a HANDLE: the platform's password change (or nothing); never hangs."""
    exe = run.copy_saver(run.folder("password"))
    host = run.helper.ask("host 50 50")[0]
    process = run.start(exe, "/a", host)
    run.wait_exit(process, 20, "/a")
    run.helper.ask("destroy " + host)


def mute_ticked(run, window):
    """The check state of the dialog's mute box: 1 when ticked."""
    return run.helper.controls(window[0])["Mute music"][2]


def tick_mute(run, window):
    """Clicks the dialog's unticked mute box and waits until it shows ticked."""
    run.click(run.helper.controls(window[0])["Mute music"][3])
    check(wait_until(lambda: mute_ticked(run, window) == 1, 10), "the click did not tick the box")


def expect_mute_stored(run, exe, stored, what):
    """Ticks the mute box of exe's dialog and presses OK: the file stored
    then holds mute=1, and the next start shows the box ticked."""
    caption = "Setup [%s]" % TITLE
    process = run.start(exe)
    window = run.wait_window(caption)[0]
    tick_mute(run, window)
    run.click(run.helper.controls(window[0])["&Ok"][3])
    run.wait_exit(process, 15, what)
    check(os.path.isfile(stored), "no file at %s" % stored)
    with open(stored) as f:
        text = f.read()
    check("[Setup]" in text and "mute=1" in text, "%s holds %r" % (os.path.basename(stored), text))

    process = run.start(exe)
    window = run.wait_window(caption)[0]
    check(mute_ticked(run, window) == 1, "the box is not ticked again")
    run.close_window(window, process)


def case_mute_is_stored(run):
    """Ticking the box and OK store mute=1; the next start shows the box ticked."""
    folder = run.folder("mute")
    expect_mute_stored(run, run.copy_saver(folder), os.path.join(folder, "CONTROL.INI"), "OK")


def case_setup_keyboard_and_assistive_tools(run):
    """Space, Tab, Shift+Tab and Alt+O work the dialog; readers learn each control's role and name."""
    folder = run.folder("keyboard")
    exe = run.copy_saver(folder)
    process = run.start(exe)
    window = run.wait_window("Setup [%s]" % TITLE)[0]
    controls = run.helper.controls(window[0])
    # Roles as the platform numbers them: 44 a check box, 43 a push button.
    check(controls["Mute music"][4:] == (44, "Mute music"),
          "the check box reads as %r" % (controls["Mute music"][4:],))
    check(controls["&Ok"][4:] == (43, "Ok"), "the button reads as %r" % (controls["&Ok"][4:],))

    run.xdo("key", "space")  # the box has the focus when the dialog opens
    check(wait_until(lambda: mute_ticked(run, window) == 1, 10),
          "Space did not tick the focused box")
    run.xdo("key", "Tab")
    run.xdo("key", "space")  # Space on the button is OK: it would close the dialog
    run.wait_exit(process, 15, "Space on the focused OK button")
    with open(os.path.join(folder, "CONTROL.INI")) as f:
        check("mute=1" in f.read(), "OK by the keyboard did not store the ticked box")

    process = run.start(exe)
    window = run.wait_window("Setup [%s]" % TITLE)[0]
    check(mute_ticked(run, window) == 1, "the stored choice is not shown")
    run.xdo("key", "Tab")
    run.xdo("key", "shift+Tab")
    run.xdo("key", "space")
    check(wait_until(lambda: mute_ticked(run, window) == 0, 10),
          "Shift+Tab did not bring the focus back to the box")
    run.xdo("key", "alt+o")
    run.wait_exit(process, 15, "Alt+O")
    with open(os.path.join(folder, "CONTROL.INI")) as f:
        check("mute=0" in f.read(), "Alt+O did not store the unticked box")


def case_mute_kept_for_the_user(run):
    """Where CONTROL.INI cannot be written the choice goes to the user's own file and is read back."""
    folder = run.folder("mute-refused")
    exe = run.copy_saver(folder, "Refused.scr")
    # The tests may run as root, for whom no folder is read-only: a folder in
    # the file's place refuses the write for everyone.
    os.mkdir(os.path.join(folder, "CONTROL.INI"))
    users = os.path.join(run.wine.prefix, "drive_c", "users")
    local = [os.path.join(users, name, "AppData", "Local") for name in os.listdir(users)
             if name != "Public" and os.path.isdir(os.path.join(users, name, "AppData", "Local"))]
    check(len(local) == 1, "not one user's local data folder in the prefix: %s" % local)
    user_file = os.path.join(local[0], "Pixvane", "Refused.scr.ini")
    expect_mute_stored(run, exe, user_file, "OK with CONTROL.INI refused")


def case_language_file(run):
    """pixvane.ini beside the saver replaces the dialog's captions."""
    folder = run.folder("language")
    exe = run.copy_saver(folder)
    with open(os.path.join(folder, "pixvane.ini"), "w") as f:
        f.write("[Language]\r\nTitle=Titel:\r\nAuthor=Autor:\r\nbtnOK=Gut\r\n"
                "MuteMusic=Musik aus\r\n")
    process = run.start(exe)
    window = run.wait_window("Setup [%s]" % TITLE)[0]
    expect_details(run, window, "Titel:", "Autor:", "Musik aus", "Gut")
    run.screenshot("setup-language.png", window[3])
    run.close_window(window, process)


def case_unreadable_settings(run):
    """Settings that cannot be read: the error is shown, then the initial texts."""
    folder = run.folder("damaged")
    exe = run.copy_saver(folder)
    with open(exe, "r+b") as f:  # the settings offset now points at the player's header
        f.seek(-20, os.SEEK_END)
        f.write(b"0".ljust(20))
    process = run.start(exe)
    box = wait_until(lambda: [w for w in run.helper.windows() if w[2] == "Beach"], 30, 0.2)
    check(box, "no error message captioned 'Beach'")
    texts = run.helper.controls(box[0][0])
    check("Invalid stream format" in texts, "the message reads %s" % sorted(texts))
    run.screenshot("setup-error.png", box[0][3])
    run.helper.ask("close " + box[0][0])
    window = run.wait_window("Setup []")[0]
    controls = run.helper.controls(window[0])
    for text in ("Title:", "Author:", "Email:", "Web address:", "Mute music", "&Ok"):
        check(text in controls, "no control reads %r (controls: %s)" % (text, sorted(controls)))
    run.close_window(window, process)


def case_setup_scales_with_dpi(run):
    """At 144 DPI the dialog lays itself out half as large again."""
    key = r"HKCU\Control Panel\Desktop"
    run.wine.run(["reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f"])
    try:
        exe = run.copy_saver(run.folder("dpi"))
        process = run.start(exe)
        window = run.wait_window("Setup [%s]" % TITLE)[0]
        controls = expect_details(run, window)
        ok = controls["&Ok"][3]
        title = controls["Title:" + TITLE][3]
        run.screenshot("setup-dialog-144dpi.png", window[3])
        def scaled(pixels):  # as MulDiv(pixels, 144, 96) rounds
            return (pixels * 144 + 48) // 96
        # At 96 DPI the button is 75 x 25 at x = 214 and the labels start at 29.
        check((ok[2] - ok[0], ok[3] - ok[1]) == (scaled(75), scaled(25)), "OK button is %s" % (ok,))
        check(ok[0] - title[0] == scaled(214) - scaled(29),
              "OK and title are %d apart" % (ok[0] - title[0]))
        run.close_window(window, process)
    finally:
        run.wine.run(["reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "96", "/f"])


# ------------------------------------------------------------- saver mode
# A move, key or click that must not end the saver cannot be waited for: the
# saver handles input within milliseconds, so half a second without an end
# is taken as "went on". The end shows first in the window: it is gone at
# once, while Wine takes two seconds more to end the process (it waits for a
# window manager that this display does not have to withdraw the window).
INPUT_SETTLE = 0.5


def stays_running(run, process, what):
    ended = wait_until(lambda: process.poll() is not None or not run.saver_windows(),
                       INPUT_SETTLE, 0.05)
    check(not ended, "%s ended the saver" % what)


def expect_saver_gone(run):
    """After the saver ended: no window of it, and the platform no longer
    told that a screen saver runs."""
    check(not run.saver_windows(), "a saver window is still there")
    flag = run.saver_running_flag()
    check(flag == "0", "the screen-saver-running flag is %r after the end" % flag)


def start_saver(run, case, saver, argument="/s", name="Slides.scr"):
    # Whatever an earlier saver left of the running flag is not this one's.
    check(run.saver_running_flag(clear=True) == "0", "the running flag cannot be cleared")
    exe = run.copy_saver(run.folder(case), name, saver)
    return exe, run.start(exe, argument)


def case_saver_shows_pictures_in_order(run):
    """/s: each picture fills the screen in list order, one interval apart, then the first again."""
    saver = run.solid_saver("slides", ["red", "green", "blue"], interval=700)
    exe, process = start_saver(run, "slides", saver)
    seen = []  # [colour, seen by then, still seen then] of each picture in turn

    def four_slides():
        if process.poll() is not None:
            raise Failure("the saver ended (exit code %d) during the show" % process.returncode)
        # The screenshot was taken somewhere between these two moments.
        before = time.monotonic()
        name = run.slide_on_screen()
        after = time.monotonic()
        if name is None or (name == "black" and not seen):  # mid-paint, or before the first
            return False
        if seen and seen[-1][0] == name:
            seen[-1][2] = before
        else:
            seen.append([name, after, before])
        return len(seen) >= 4

    wait_until(four_slides, 30, 0.05)
    names = [s[0] for s in seen]
    check(names[:4] == ["red", "green", "blue", "red"], "the screen showed %s" % names)
    # A picture between two others was on screen at most from the last
    # sight of the one before to the first sight of the one after: however
    # far apart the screenshots, that is never less than the 700 ms pause.
    longest = [after[1] - before[2] for before, after in zip(seen, seen[2:])]
    print("e2e: green and blue shown for at most %s" % ", ".join("%.2f s" % t for t in longest),
          flush=True)
    check(min(longest) >= 0.6, "a picture was shown for at most %.2f s, not the 700 ms interval"
          % min(longest))

    windows = run.saver_windows()
    shot = run.grab()
    check(len(windows) == 1 and windows[0][3] == (0, 0, shot.width, shot.height),
          "the saver windows are %s, not one over the %dx%d screen" % (windows, shot.width,
                                                                      shot.height))
    flag = run.saver_running_flag()
    check(flag == "1", "the screen-saver-running flag is %r while the saver runs" % flag)
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")
    expect_saver_gone(run)


def case_saver_caption(run):
    """The caption is drawn in its colour centred at the bottom edge, nowhere else."""
    saver = run.solid_saver("caption", ["blue"], interval=60000, settings=(
        '[caption]\ntext = "Pixvane e2e caption"\ncolor = "#%02X%02X%02X"\nheight = -40\n'
        % CAPTION_COLOR))
    exe, process = start_saver(run, "caption", saver)
    run.wait_slide(process, "blue")
    shot = run.grab()
    run.screenshot("saver-caption.png")
    width, height = shot.width, shot.height
    band = 80  # the caption is 40 pixels high
    bottom, box = shot.find((width // 4, height - band, 3 * width // 4, height), CAPTION_COLOR)
    print("e2e: caption pixels %d in %s" % (bottom, box), flush=True)
    check(bottom >= 200, "only %d caption pixels at the bottom centre" % bottom)
    centre = (box[0] + box[2]) / 2
    check(abs(centre - width / 2) <= 10, "the caption is centred at x = %.0f, not %d"
          % (centre, width // 2))
    # The text's cell ends at the bottom edge; the ink of "p" nearly does.
    check(box[3] >= height - 12, "the caption ends at y = %d, above the bottom %d"
          % (box[3], height))
    for where, rect in (("top", (0, 0, width, band)),
                        ("middle", (0, height // 2 - band // 2, width, height // 2 + band // 2)),
                        ("bottom left", (0, height - band, width // 4, height)),
                        ("bottom right", (3 * width // 4, height - band, width, height))):
        stray, _ = shot.find(rect, CAPTION_COLOR)
        check(stray == 0, "%d caption pixels at the %s" % (stray, where))
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")


def case_saver_ends_on_mouse_move(run):
    """A move ends the saver only when 3 pixels or more off its reference in both directions."""
    saver = run.solid_saver("moves", ["red", "green"])
    # Parked before the start: a move that Wine makes up when the window
    # appears under the pointer can only set the reference here.
    run.xdo("mousemove", 400, 300)
    exe, process = start_saver(run, "moves", saver)
    run.wait_slide(process, "red")
    # The reference is now (400, 300) or, set by this first move, (401, 300).
    run.xdo("mousemove", 401, 300)
    stays_running(run, process, "the first move")
    run.xdo("mousemove", 601, 300)
    stays_running(run, process, "a move of 200 pixels to the right only")
    run.xdo("mousemove", 403, 302)
    stays_running(run, process, "a move of 2 pixels down")
    run.xdo("mousemove", 404, 303)
    run.wait_exit(process, 10, "a move of 3 pixels in both directions")
    expect_saver_gone(run)


def case_saver_ends_on_key(run):
    """Without the movement rule moves do nothing and a key ends the saver; /x is the saver too."""
    saver = run.solid_saver("keys", ["red", "green"], settings="[exit]\nmouse_move = false\n")
    run.xdo("mousemove", 400, 300)
    exe, process = start_saver(run, "keys", saver, "/x")
    run.wait_slide(process, "red")
    run.xdo("mousemove", 410, 310)
    run.xdo("mousemove", 700, 600)
    stays_running(run, process, "moving the mouse with mouse_move = false")
    run.xdo("key", "a")
    run.wait_exit(process, 10, "a key press")
    expect_saver_gone(run)


def case_saver_ends_on_click(run):
    """Without the movement and key rules only a click ends the saver."""
    saver = run.solid_saver("clicks", ["red", "green"],
                            settings="[exit]\nmouse_move = false\nkey_press = false\n")
    run.xdo("mousemove", 400, 300)
    exe, process = start_saver(run, "clicks", saver)
    run.wait_slide(process, "red")
    run.xdo("mousemove", 410, 310)
    run.xdo("key", "space")
    run.xdo("key", "Escape")
    stays_running(run, process, "moves and keys with mouse_move and key_press = false")
    run.xdo("click", 1)
    run.wait_exit(process, 10, "a click")
    expect_saver_gone(run)


def tone_wav():
    """Half a minute of a 440 Hz square wave: a sound the platform can open,
    long enough to be still playing, and held open, until the case ends it."""
    import io
    import wave
    rate = 8000
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(200 if (i * 440 * 2 // rate) % 2 else 56 for i in range(30 * rate)))
    return out.getvalue()


def music_saver(run, case):
    """A saver with a sound that plays and an empty one, copied to the
    temporary folder over whatever an earlier run left there."""
    tone, silence = "pixvane-e2e-tone.wav", "pixvane-e2e-silence.wav"
    # The tone first: the music stops for good at a sound that cannot play.
    sounds = {tone: tone_wav(), silence: b""}
    saver = run.solid_saver(case, ["red"], interval=60000, sounds=list(sounds.items()))
    temp = run.temp_folder()
    # Left by an earlier run: overwritten, not appended to or kept.
    with open(os.path.join(temp, tone), "wb") as f:
        f.write(b"stale " * 4000)
    if os.path.exists(os.path.join(temp, silence)):
        os.remove(os.path.join(temp, silence))
    return saver, {os.path.realpath(os.path.join(temp, n)): data for n, data in sounds.items()}


def wait_extracted(process, sounds):
    def extracted():
        if process.poll() is not None:
            raise Failure("the saver ended (exit code %d) before extracting" % process.returncode)
        try:
            for path, data in sounds.items():
                with open(path, "rb") as f:
                    if f.read() != data:
                        return False
            return True
        except OSError:
            return False
    folder = os.path.dirname(next(iter(sounds)))
    check(wait_until(extracted, 20), "the sounds were not extracted into %s (there: %s)"
          % (folder, sorted(os.listdir(folder))))


def expect_sounds_deleted(sounds):
    left = [os.path.basename(p) for p in sounds if os.path.exists(p)]
    check(not left, "the saver's end left %s in the temporary folder" % left)


def case_saver_stops_for_another_program(run):
    """Another program posts the stop message (WM_USER + 2): the saver ends as on a key."""
    saver = run.solid_saver("stop", ["red", "green"])
    exe, process = start_saver(run, "stop", saver)
    run.wait_slide(process, "red")
    window = run.saver_windows()[0][0]
    run.helper.ask("post %s %d" % (window, 0x402))
    run.wait_exit(process, 10, "the stop message")
    expect_saver_gone(run)


def case_saver_plays_extracted_sounds(run):
    """Sounds are copied to the temporary folder, the first plays from there, all go at the end."""
    saver, sounds = music_saver(run, "music")
    exe, process = start_saver(run, "music", saver)
    wait_extracted(process, sounds)
    tone = [p for p, data in sounds.items() if data][0]
    # The platform's player holds the sound it plays open; deleting it at the
    # end only works once the player has let go of it.
    check(wait_until(lambda: tone in open_files(process.pid), 10),
          "the saver never opened %s to play it" % tone)
    run.wait_slide(process, "red")
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")
    expect_sounds_deleted(sounds)


def case_saver_muted_by_user(run):
    """mute=1 in CONTROL.INI beside the saver: the sounds are extracted but none is opened."""
    saver, sounds = music_saver(run, "muted")
    with open(os.path.join(run.folder("muted"), "CONTROL.INI"), "w") as f:
        f.write("[Setup]\r\nmute=1\r\n")
    exe, process = start_saver(run, "muted", saver)
    wait_extracted(process, sounds)
    # The music starts before the first slide is shown.
    run.wait_slide(process, "red")
    playing = set(sounds) & open_files(process.pid)
    check(not playing, "the muted saver opened %s" % sorted(playing))
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")
    expect_sounds_deleted(sounds)


def case_saver_second_instance(run):
    """A second saver of the same file name ends at once and leaves the first one running."""
    saver = run.solid_saver("twice", ["red", "green"], interval=60000)
    first_exe, first = start_saver(run, "twice-a", saver)
    run.wait_slide(first, "red")
    second = run.start(run.copy_saver(run.folder("twice-b"), "Slides.scr", saver), "/s")
    run.wait_exit(second, 15, "a second Slides.scr")
    check(first.poll() is None, "the first saver ended with the second")
    check(len(run.saver_windows()) == 1, "saver windows: %s" % run.saver_windows())
    check(run.slide_on_screen() == "red", "the first saver's picture is no longer shown")
    run.xdo("key", "space")
    run.wait_exit(first, 10, "a key press")


def case_saver_sleeps_between_slides(run):
    """In the pause between two pictures the saver takes next to no processor time."""
    saver = run.solid_saver("pause", ["red", "green"], interval=5000)
    exe, process = start_saver(run, "pause", saver)
    run.wait_slide(process, "red")
    # Under Wine the process started is the Windows program itself; a
    # launcher in between would make the measurement below mean nothing.
    with open("/proc/%d/cmdline" % process.pid, "rb") as f:
        command = f.read().replace(b"\0", b" ").decode(errors="replace")
    check(os.path.basename(exe) in command,
          "pid %d runs %r, not the saver" % (process.pid, command))
    before, at = cpu_seconds(process.pid), time.monotonic()
    time.sleep(2.5)
    share = (cpu_seconds(process.pid) - before) / (time.monotonic() - at)
    print("e2e: saver used %.1f%% of a core over 2.5 s of its pause" % (100 * share), flush=True)
    check(run.slide_on_screen() == "red", "the pause ended before the measurement did")
    check(share < 0.1, "the saver keeps %.0f%% of a core busy between slides" % (100 * share))
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")


def case_saver_without_package(run):
    """The bare player with /s has no package to show: it ends at once, silently."""
    exe, process = start_saver(run, "bare", run.player, name="Bare.scr")
    run.wait_exit(process, 15, "/s without a package")
    expect_saver_gone(run)


CASES = [case_setup_without_arguments, case_setup_with_handle, case_second_instance,
         case_preview_draws_and_ends, case_preview_shows_caption, case_preview_without_handle,
         case_password_ends,
         case_mute_is_stored, case_mute_kept_for_the_user,
         case_setup_keyboard_and_assistive_tools, case_language_file,
         case_unreadable_settings,
         case_setup_scales_with_dpi, case_saver_shows_pictures_in_order, case_saver_caption,
         case_saver_ends_on_mouse_move, case_saver_ends_on_key, case_saver_ends_on_click,
         case_saver_stops_for_another_program,
         case_saver_plays_extracted_sounds, case_saver_muted_by_user, case_saver_second_instance,
         case_saver_sleeps_between_slides, case_saver_without_package]

# Case files of their own import this one by its name (it runs as the
# program, so it is lent to them rather than loaded twice).
sys.modules.setdefault("run_e2e", sys.modules[__name__])
import dialog_cases  # noqa: E402
import flash_cases  # noqa: E402
import photo_player_cases  # noqa: E402
import photo_tool_cases  # noqa: E402
import signing_cases  # noqa: E402
import windows_tool_cases  # noqa: E402
CASES += dialog_cases.CASES + flash_cases.CASES + photo_tool_cases.CASES + photo_player_cases.CASES
CASES += windows_tool_cases.CASES + signing_cases.CASES


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win"))
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "native", "bin", "pixvane"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "e2e"))
    parser.add_argument("cases", nargs="*", help="names of cases to run (default: all)")
    args = parser.parse_args()
    cases = [c for c in CASES if not args.cases or c.__name__[5:] in args.cases]

    run = Run(args)
    print("e2e: %d cases" % len(cases), flush=True)
    # Whatever a case left running must not disturb the next one.
    return run_cases("E2E", "e2e", [(c.__name__[5:], c) for c in cases], run,
                     between=lambda run: end_processes(run.processes))


if __name__ == "__main__":
    sys.exit(main())
