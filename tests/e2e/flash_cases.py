"""End-to-end cases of Flash savers, run by run_e2e.py.

Wine has no Flash Player; the cases register a stand-in control of ours
(tests/e2e/flash/TestFlashControl.cpp) under the control's class id in the
run's own Wine prefix, and take it away again for the case that needs it
missing. A stand-in movie is a small text file that names the colour the
control fills itself with, its frames, their rate and a command to send.
"""
import os
import subprocess
import time

import run_e2e as e2e
from e2e_common import build_saver, check, toml_list, wait_until, write_manifest

FLASH_CLASS = r"HKLM\Software\Classes\CLSID\{D27CDB6E-AE6D-11CF-96B8-444553540000}"
MOVIES = {"orange": (0xF0, 0x90, 0x10), "purple": (0x90, 0x30, 0xC0)}
COLORS = dict(MOVIES, **e2e.SLIDES)  # what a Flash saver's screen shows
MISSING_TEXT = "Please install the Macromedia Flash Player ActiveX control."


def control_registered(run, registered):
    """Registers the stand-in control, or takes it away."""
    if registered:
        dll = os.path.join(os.path.dirname(run.helper_exe), "pixvane_test_flash.dll")
        check(os.path.isfile(dll), "%s is missing; build it first" % dll)
        server = FLASH_CLASS + r"\InprocServer32"
        run.wine.run(["reg", "add", server, "/ve", "/d", "Z:" + dll.replace("/", "\\"), "/f"])
        run.wine.run(["reg", "add", server, "/v", "ThreadingModel", "/d", "Apartment", "/f"])
    else:
        subprocess.run([run.wine.wine, "reg", "delete", FLASH_CLASS, "/f"], env=run.wine.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def movie(color, frames, fps, command=None):
    text = "color %02X%02X%02X\nframes %d\nfps %d\n" % (MOVIES[color] + (frames, fps))
    return text + ("command %d %s\n" % command if command else "")


def flash_saver(run, name, movies, pictures=(), settings="", interval=700, show=""):
    """A "flash" saver: flat pictures in list order, then the movies, given as
    (file name, text) pairs. The names carry the case's name, so the files a
    case finds in the temporary folder are its own."""
    source = os.path.join(run.work, "packages", name)
    os.makedirs(source, exist_ok=True)
    names = run.slide_pictures(source, pictures)
    for file_name, text in movies:
        with open(os.path.join(source, file_name), "w") as f:
            f.write(text)
    manifest = write_manifest(source, (
        'title = "%s"\nkind = "flash"\n[show]\npictures = [%s]\neffects = [0]\n'
        'interval = %d\nstretch = true\n%s[flash]\nfiles = [%s]\n%s'
        % (name, toml_list(names), interval, show, toml_list(n for n, _ in movies), settings)))
    saver = os.path.join(run.work, "packages", name + ".scr")
    built = build_saver(run.tool, run.player, manifest, saver, stderr=subprocess.PIPE, text=True)
    check("no longer distributed" in built.stderr,
          "building a Flash saver gave no warning: %r" % built.stderr)
    return saver


def color_on_screen(run):
    """The name of the movie colour, picture or black covering the screen."""
    return run.slide_on_screen(COLORS)


def wait_color(run, process, name, timeout=20):
    run.wait_slide(process, name, timeout, COLORS)


def colors_for(run, process, seconds):
    """Every colour seen on the whole screen in the next seconds."""
    seen, end = set(), time.monotonic() + seconds
    while time.monotonic() < end and process.poll() is None:
        seen.add(color_on_screen(run))
    return seen


def extracted(run, names):
    return [os.path.join(run.temp_folder(), n) for n in names]


def end_with_key(run, process):
    run.xdo("key", "space")
    run.wait_exit(process, 10, "a key press")
    e2e.expect_saver_gone(run)


def case_flash_movies_in_turn(run):
    """No pictures, two movies: the first shows at once, the second when it ends, then the first."""
    control_registered(run, True)
    saver = flash_saver(run, "turns", [("turns-a.swf", movie("orange", 3, 2)),
                                       ("turns-b.swf", movie("purple", 3, 2))])
    # The time to the first picture of a picture saver, in the same run, is
    # the baseline: the machine is shared and Wine's start varies.
    photo = run.solid_saver("turns-photo", ["red"], interval=60000)
    started = time.monotonic()
    exe, process = e2e.start_saver(run, "turns-photo", photo)
    run.wait_slide(process, "red")
    baseline = time.monotonic() - started
    end_with_key(run, process)
    started = time.monotonic()
    exe, process = e2e.start_saver(run, "turns", saver)
    wait_color(run, process, "orange")
    print("e2e: first movie frame %.2f s after the start (a picture saver's first picture: "
          "%.2f s)" % (time.monotonic() - started, baseline), flush=True)
    wait_color(run, process, "purple", 10)
    wait_color(run, process, "orange", 10)
    end_with_key(run, process)


def case_flash_after_pictures(run):
    """Pictures in list order, then the movies for good; with random_order the movies never start."""
    control_registered(run, True)
    movies = [("after-a.swf", movie("orange", 100, 10))]
    saver = flash_saver(run, "after", movies, ["red", "green"])
    exe, process = e2e.start_saver(run, "after", saver)
    for color in ("red", "green", "orange"):
        wait_color(run, process, color)
    seen = colors_for(run, process, 2.5)
    check(seen == {"orange"}, "after the movies began the screen showed %s" % sorted(map(str, seen)))
    end_with_key(run, process)

    saver = flash_saver(run, "random", [("random-a.swf", movie("orange", 100, 10))],
                        ["red", "green"], interval=500, show="random_order = true\n")
    exe, process = e2e.start_saver(run, "random", saver)
    check(wait_until(lambda: color_on_screen(run) in ("red", "green"), 20, 0.05),
          "no picture showed with random_order")
    seen = colors_for(run, process, 4)
    check("orange" not in seen, "with random_order a movie started (seen: %s)"
          % sorted(map(str, seen)))
    end_with_key(run, process)


def case_flash_quit_command(run):
    """QUIT ends the saver with flash_quit (movies deleted); without it, or another command, it plays on."""
    control_registered(run, True)
    names = ["quit-a.swf"]
    # The command goes out 2 s into the movie, time enough to see the movie
    # extracted and playing first.
    saver = flash_saver(run, "quit", [(names[0], movie("orange", 1000, 4, (9, "QUIT")))],
                        settings="[exit]\nflash_quit = true\n")
    exe, process = e2e.start_saver(run, "quit", saver)
    wait_color(run, process, "orange")
    check(all(os.path.exists(p) for p in extracted(run, names)), "the movie was not extracted")
    run.wait_exit(process, 10, "the movie's QUIT")
    e2e.expect_saver_gone(run)
    left = [p for p in extracted(run, names) if os.path.exists(p)]
    check(not left, "the saver's end left %s" % left)

    for case, command, quit in (("noquit", "QUIT", "false"), ("other", "fullscreen", "true")):
        saver = flash_saver(run, case, [(case + ".swf", movie("orange", 1000, 4, (2, command)))],
                            settings="[exit]\nflash_quit = %s\n" % quit)
        exe, process = e2e.start_saver(run, case, saver)
        wait_color(run, process, "orange")
        if case == "noquit":
            # A movie plays on: what it costs the processor meanwhile.
            before, at = e2e.cpu_seconds(process.pid), time.monotonic()
            time.sleep(2.0)
            share = (e2e.cpu_seconds(process.pid) - before) / (time.monotonic() - at)
            print("e2e: %.1f%% of a core while a movie plays" % (100 * share), flush=True)
        # The command went out 0.25 s into the movie; nothing may follow it.
        ended = wait_until(lambda: process.poll() is not None, 2.0)
        check(not ended, "%s with flash_quit = %s ended the saver" % (command, quit))
        end_with_key(run, process)


def case_flash_input_ends(run):
    """Over the movie, which takes the input, a 1-pixel move or a key press ends the saver."""
    control_registered(run, True)
    saver = flash_saver(run, "input", [("input-a.swf", movie("orange", 1000, 10))])
    run.xdo("mousemove", 400, 300)
    exe, process = e2e.start_saver(run, "input", saver)
    wait_color(run, process, "orange")
    # One pixel: the window's own rule would want three in both directions,
    # and the window does not even see moves over the movie.
    run.xdo("mousemove", 401, 300)
    run.wait_exit(process, 10, "a 1-pixel move over the movie")
    e2e.expect_saver_gone(run)

    saver = flash_saver(run, "keys-flash", [("keys-flash-a.swf", movie("orange", 1000, 10))],
                        settings="[exit]\nmouse_move = false\n")
    exe, process = e2e.start_saver(run, "keys-flash", saver)
    wait_color(run, process, "orange")
    run.xdo("mousemove", 700, 600)
    e2e.stays_running(run, process, "a move with mouse_move = false")
    end_with_key(run, process)


def case_flash_without_control(run):
    """No control: the message (built in, or from pixvane.ini); No ends it and leaves no files."""
    control_registered(run, False)
    try:
        names = ["missing-a.swf"]
        saver = flash_saver(run, "missing", [(names[0], movie("orange", 10, 10))])
        for translated in (None, "Bitte den Flash Player installieren."):
            case = "missing-" + ("ini" if translated else "plain")
            folder = run.folder(case)
            if translated:
                with open(os.path.join(folder, "pixvane.ini"), "w") as f:
                    f.write("[Language]\r\nDownloadSWF=%s\r\n" % translated)
            exe, process = e2e.start_saver(run, case, saver)
            box = run.wait_window("Slides")[0]
            check(all(os.path.exists(p) for p in extracted(run, names)),
                  "the movie was not extracted before the message")
            controls = run.helper.controls(box[0])
            expected = translated or MISSING_TEXT
            check(expected in controls, "the message box reads %s, not %r"
                  % (sorted(controls), expected))
            check("&No" in controls and "&Yes" in controls,
                  "the message box has no Yes and No (%s)" % sorted(controls))
            run.screenshot("flash-%s.png" % case, box[3])
            run.click(controls["&No"][3])
            run.wait_exit(process, 15, "answering No")
            e2e.expect_saver_gone(run)
            left = [p for p in extracted(run, names) if os.path.exists(p)]
            check(not left, "the saver left %s" % left)
    finally:
        control_registered(run, True)


CASES = [case_flash_movies_in_turn, case_flash_after_pictures, case_flash_quit_command,
         case_flash_input_ends, case_flash_without_control]
