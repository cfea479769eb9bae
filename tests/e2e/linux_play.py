#!/usr/bin/python3
"""End-to-end cases of `pixvane play`, the native player, on a private Xvfb:
the show on the screen and its exit rules, the root window, a window handed
over as XScreenSaver hands one, music through SDL's dummy audio driver, and
the savers it refuses, and a saver installed for Debian's real XScreenSaver
(`pixvane install`) shown by it. Savers are built by the native tool around a stand-in
player; every wait is bounded and polls its condition.

Each case prints "PLAY PASS name" or "PLAY FAIL name: why"; the last line is
"linux-play: N passed, N failed".

Usage: linux_play.py [--tool build/native/bin/pixvane] [--work build/linux-play] [case ...]
"""
import argparse
import os
import shutil
import signal
import struct
import subprocess
import sys
import time
import wave

from Xlib import X, XK, display as xdisplay
from Xlib.ext import xtest

# The shared helpers beside this file, imported without leaving bytecode in
# the source tree.
sys.dont_write_bytecode = True
from e2e_common import (QUADRANTS, Failure, XServer, build_saver, check,  # noqa: E402
                        end_processes, near, quadrant_picture, run_cases, toml_list,
                        wait_until, write_manifest)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIDTH, HEIGHT = 800, 600
# Input must end the show within this much (with the poll's own slack).
EXIT_WITHIN = 0.5


class Run:
    def __init__(self, args):
        self.tool = os.path.abspath(args.tool)
        self.work = os.path.abspath(args.work)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.xvfb = XServer(["Xvfb", "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
                             "-nolisten", "tcp", "-br"])
        self.x = xdisplay.Display(self.xvfb.name)
        self.root = self.x.screen().root
        # The user's mute choice and the extracted media stay inside the run.
        self.env = dict(os.environ, DISPLAY=self.xvfb.name, SDL_AUDIODRIVER="dummy",
                        XDG_CONFIG_HOME=os.path.join(self.work, "config"),
                        TMPDIR=os.path.join(self.work, "tmp"))
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("XSCREENSAVER_WINDOW", None)
        os.makedirs(self.env["TMPDIR"])
        self.player = os.path.join(self.work, "player.scr")
        with open(self.player, "wb") as f:
            # The least the tool takes for a player: a PE header and the
            # player's description in UTF-16.
            f.write(b"MZ" + b"\0" * 0x3A + b"\x40\0\0\0" + b"PE\0\0" +
                    "Pixvane photo screen saver".encode("utf-16-le"))
        self.processes = []

    def close(self):
        end_processes(self.processes)
        self.x.close()
        self.xvfb.close()

    def saver(self, name, manifest="", sounds=(), kind="photo", files=(), show=""):
        source = os.path.join(self.work, name)
        os.makedirs(source)
        quadrant_picture("convert", os.path.join(source, "quadrants.jpg"),
                         options=["-quality", "95"])
        for sound, data in list(sounds) + list(files):
            with open(os.path.join(source, sound), "wb") as f:
                f.write(data)
        text = ('title = "%s"\nkind = "%s"\n[show]\npictures = ["quadrants.jpg"]\n'
                'effects = [0]\ninterval = 60000\nstretch = true\n%s' % (name, kind, show))
        if sounds:
            text += "[music]\nfiles = [%s]\n" % toml_list(n for n, _ in sounds)
        saver = os.path.join(self.work, name + ".scr")
        build_saver(self.tool, self.player, write_manifest(source, text + manifest), saver,
                    stderr=subprocess.DEVNULL)
        return saver

    def play(self, *args, env=None):
        process = subprocess.Popen([self.tool, "play"] + list(args), env=env or self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.processes.append(process)
        return process

    def pixels(self, window, width, height):
        """The colours at the quadrants' centres and corners of a window."""
        image = window.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data

        def at(x, y):
            i = (y * width + x) * 4
            return (data[i + 2], data[i + 1], data[i])
        points = {"tl": (width // 4, height // 4), "tr": (3 * width // 4, height // 4),
                  "bl": (width // 4, 3 * height // 4), "br": (3 * width // 4, 3 * height // 4),
                  "corner-tl": (2, 2), "corner-br": (width - 3, height - 3)}
        return {k: at(x, y) for k, (x, y) in points.items()}

    def shows_quadrants(self, process, window=None, width=WIDTH, height=HEIGHT):
        if process.poll() is not None:
            raise Failure("the player ended (exit %d): %s"
                          % (process.returncode, process.stderr.read().strip()))
        colors = self.pixels(window or self.root, width, height)
        expected = dict(QUADRANTS, **{"corner-tl": QUADRANTS["tl"],
                                      "corner-br": QUADRANTS["br"]})
        return all(near(colors[k], expected[k]) for k in colors)

    def wait_quadrants(self, process, what, **kwargs):
        check(wait_until(lambda: self.shows_quadrants(process, **kwargs), 15, 0.05),
              "%s does not show the first picture" % what)

    # Input through XTEST from this process, so the time to end is the
    # player's own.
    def key(self):
        code = self.x.keysym_to_keycode(XK.string_to_keysym("space"))
        xtest.fake_input(self.x, X.KeyPress, code)
        xtest.fake_input(self.x, X.KeyRelease, code)
        self.x.sync()

    def move(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()

    def click(self):
        xtest.fake_input(self.x, X.ButtonPress, 1)
        xtest.fake_input(self.x, X.ButtonRelease, 1)
        self.x.sync()

    def ends_on(self, process, action, *args):
        started = time.monotonic()
        action(*args)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not end the show" % action.__name__)
        took = time.monotonic() - started
        check(took <= EXIT_WITHIN, "the show took %.2f s to end" % took)
        check(process.returncode == 0, "the player exited %d" % process.returncode)

    def ends_on_sigterm(self, process):
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            raise Failure("SIGTERM did not end the player")
        if process.returncode != 0:
            raise Failure("the player exited %d on SIGTERM: %s"
                          % (process.returncode, process.stderr.read().strip()))


def case_screen_covered_and_key_ends(run):
    """Covers the screen with the first picture; a key press ends it."""
    process = run.play(run.saver("key"))
    run.wait_quadrants(process, "the screen")
    run.ends_on(process, run.key)


def case_mouse_move_ends(run):
    """A move of the mouse beyond the threshold ends the show."""
    run.move(400, 300)
    process = run.play(run.saver("move"))
    run.wait_quadrants(process, "the screen")
    run.move(402, 310)
    run.move(401, 301)
    time.sleep(0.3)
    check(process.poll() is None, "a move of less than 3 pixels one way ended the show")
    run.ends_on(process, run.move, 200, 200)


def case_exit_rules_of_the_package(run):
    """Only a click ends a saver that says so; keys and moves do not."""
    saver = run.saver("click", "[exit]\nmouse_move = false\nmouse_click = true\n"
                      "key_press = false\n")
    process = run.play(saver)
    run.wait_quadrants(process, "the screen")
    run.key()
    run.move(50, 50)
    run.move(300, 300)
    time.sleep(0.3)
    check(process.poll() is None, "a key or a move ended a saver that ends on clicks only")
    run.ends_on(process, run.click)


def case_root_window(run):
    """--root draws on the root window; SIGTERM ends it."""
    process = run.play(run.saver("root"), "--root")
    run.wait_quadrants(process, "the root window")
    run.ends_on_sigterm(process)
    run.root.clear_area(0, 0, WIDTH, HEIGHT)  # what it drew stays, for the next case to see
    run.x.sync()


def case_xscreensaver_window(run):
    """XSCREENSAVER_WINDOW names a window of ours: the show fills it, as XScreenSaver's
    hack, with -root on the command line as its programs line has it."""
    width, height = 320, 240
    window = run.root.create_window(100, 80, width, height, 0, X.CopyFromParent,
                                    background_pixel=0)
    window.map()
    run.x.sync()
    process = run.play(run.saver("hack"), "-root",
                       env=dict(run.env, XSCREENSAVER_WINDOW=hex(window.id)))
    run.wait_quadrants(process, "the handed window", window=window, width=width, height=height)
    outside = run.pixels(run.root, WIDTH, HEIGHT)["corner-br"]
    check(near(outside, (0, 0, 0)), "the hack drew outside its window: %s" % (outside,))
    run.key()  # input is XScreenSaver's business here
    time.sleep(0.3)
    check(process.poll() is None, "a key press ended the hack")
    run.ends_on_sigterm(process)
    window.destroy()
    run.x.sync()


def case_pan_and_zoom_moves(run):
    """A panning picture changes the screen between two looks while it shows."""
    process = run.play(run.saver("panning", show='motion = "pan-zoom"\nzoom = 1.5\n'))
    run.wait_quadrants(process, "the screen")

    def grab():
        return run.root.get_image(0, 0, WIDTH, HEIGHT, X.ZPixmap, 0xFFFFFFFF).data
    first = grab()
    time.sleep(0.5)
    check(grab() != first, "the screen did not change while the picture showed")
    run.ends_on(process, run.key)


def tone(seconds):
    path = os.path.join(os.environ.get("TMPDIR", "/tmp"), "pixvane-tone.wav")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(22050)
        w.writeframes(b"".join(struct.pack("<h", (i % 50) * 400 - 10000)
                               for i in range(int(22050 * seconds))))
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    return data


def case_music_on_dummy_audio(run):
    """Short tracks play one after another through SDL's dummy device without a word;
    without any device the show goes on silent with one line."""
    saver = run.saver("music", sounds=[("a.wav", tone(0.3)), ("b.wav", tone(0.3))])
    process = run.play(saver)
    run.wait_quadrants(process, "the screen")
    tracks = os.path.join(run.env["TMPDIR"], "a.wav"), os.path.join(run.env["TMPDIR"], "b.wav")
    check(all(os.path.exists(t) for t in tracks), "the sounds were not extracted to play")
    time.sleep(1.5)  # several ends of tracks, each starting the next
    run.ends_on_sigterm(process)
    said = process.stderr.read().strip()
    check(said == "", "music on the dummy device said: %r" % said)
    check(not any(os.path.exists(t) for t in tracks), "the extracted sounds were left behind")

    process = run.play(saver, env=dict(run.env, SDL_AUDIODRIVER="no-such-driver"))
    run.wait_quadrants(process, "the screen without sound")
    run.ends_on_sigterm(process)
    said = process.stderr.read().strip().splitlines()
    check(len(said) == 1 and "no sound device" in said[0],
          "without a sound device the player said: %r" % said)


def refused(run, saver, env=None):
    process = run.play(saver, env=env)
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("the player did not end")
    said = process.stderr.read().strip().splitlines()
    check(process.returncode == 1, "exit code %d, not 1" % process.returncode)
    check(len(said) == 1, "not one line: %r" % said)
    return said[0]


def case_savers_that_cannot_play(run):
    """A damaged package, a file without one, a Flash saver and a missing display:
    one line each, exit code 1."""
    saver = run.saver("damaged")
    with open(saver, "rb") as f:
        data = bytearray(f.read())
    offset = int(data[-20:].decode().strip())
    data[offset + 4:offset + 64] = b"\xff" * 60
    damaged = os.path.join(run.work, "damaged-copy.scr")
    with open(damaged, "wb") as f:
        f.write(data)
    said = refused(run, damaged)
    check("damaged" in said, "a damaged package: %r" % said)
    said = refused(run, run.player)
    check("no Pixvane package" in said, "a file without a package: %r" % said)
    flash = run.saver("flash", "[flash]\nfiles = [\"movie.swf\"]\n",
                      files=[("movie.swf", b"FWS\x06" + b"\0" * 32)], kind="flash")
    said = refused(run, flash)
    check("Flash" in said and "Linux" in said, "a Flash saver: %r" % said)
    no_display = dict(run.env, SDL_VIDEODRIVER="x11")
    no_display.pop("DISPLAY")
    said = refused(run, run.saver("nodisplay"), env=no_display)
    check("display" in said, "no display: %r" % said)


# XScreenSaver's preferences as its settings program writes them (tabs, one
# saver a line, a blank line ending the list), without fading or a splash
# so the show comes up at once.
XSCREENSAVER_PREFS = (
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "lock:\t\tFalse\n"
    "splash:\t\tFalse\n"
    "fade:\t\tFalse\n"
    "unfade:\t\tFalse\n"
    "dpmsEnabled:\tFalse\n"
    "mode:\t\trandom\n"
    "selected:\t-1\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "\t\t\t\tattraction --root\t\t\t    \\n\\\n"
    "\n\n"
    "pointerHysteresis:  10\n")


def case_xscreensaver_install(run):
    """pixvane install --select puts the saver into ~/.xscreensaver; Debian's real
    XScreenSaver, asked with xscreensaver-command -select, shows its first picture;
    --uninstall gives the file back as it was. XScreenSaver runs no hacks as root, so
    as root it all runs as the user nobody."""
    for program in ("xscreensaver", "xscreensaver-command"):
        check(shutil.which(program), "%s is not installed (scripts/setup installs it)" % program)
    home = os.path.join(run.work, "xscreensaver-home")
    os.makedirs(os.path.join(home, "tmp"))
    prefs = os.path.join(home, ".xscreensaver")
    with open(prefs, "w") as f:
        f.write(XSCREENSAVER_PREFS)
    saver = run.saver("xscreensaver")
    user = []
    if os.geteuid() == 0:
        subprocess.run(["chown", "-R", "nobody", home], check=True)
        user = ["runuser", "-u", "nobody", "--"]
    as_user = user + ["env", "HOME=" + home, "TMPDIR=" + os.path.join(home, "tmp"),
                      "XDG_CONFIG_HOME=" + os.path.join(home, ".config")]
    env = dict(run.env)
    env.pop("XDG_DATA_HOME", None)

    def tool(*args):
        done = subprocess.run(as_user + [run.tool, "install"] + list(args), env=env,
                              capture_output=True, text=True, timeout=30)
        check(done.returncode == 0, "install %s: %s" % (" ".join(args), done.stderr.strip()))
        return done.stdout

    said = tool(saver, "--select")
    number = int(said.split("saver number ")[1].split(",")[0])
    check(number == 4, "the saver is number %d, not 4: %r" % (number, said))
    with open(prefs + ".bak") as f:
        check(f.read() == XSCREENSAVER_PREFS, "the .bak is not the file before the install")

    daemon = subprocess.Popen(as_user + ["xscreensaver", "-no-splash"], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    run.processes.append(daemon)
    command = as_user + ["xscreensaver-command"]
    try:
        check(wait_until(lambda: subprocess.run(command + ["-version"], env=env,
                                                capture_output=True).returncode == 0, 15),
              "xscreensaver did not start: %s" % (daemon.poll() is not None and
                                                   daemon.stderr.read().strip()))
        run.root.clear_area(0, 0, WIDTH, HEIGHT)
        check(not run.shows_quadrants(daemon), "the picture is on the screen before the show")
        subprocess.run(command + ["-select", str(number)], env=env, check=True,
                       capture_output=True, timeout=15)
        run.wait_quadrants(daemon, "XScreenSaver's saver %d" % number)
    finally:
        subprocess.run(command + ["-exit"], env=env, capture_output=True, timeout=15)
        daemon.wait(timeout=15)

    tool(os.path.basename(saver), "--uninstall")
    with open(prefs) as f:
        check(f.read() == XSCREENSAVER_PREFS, "after --uninstall the file is not as it was")
    check(not os.listdir(os.path.join(home, ".local/share/pixvane/savers")),
          "the installed copy is still there")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default=os.path.join(ROOT, "build/native/bin/pixvane"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build/linux-play"))
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()
    cases = [(n[5:], f) for n, f in sorted(globals().items()) if n.startswith("case_")]
    if args.cases:
        cases = [(n, f) for n, f in cases if n in args.cases]
    return run_cases("PLAY", "linux-play", cases, Run(args))


if __name__ == "__main__":
    sys.exit(main())
