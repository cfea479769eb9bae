"""What the end-to-end scripts share, Wine's (run_e2e.py and its case files)
and the native player's (linux_play.py): failing a case, bounded polling, a
private X server, and savers built by the tool from a manifest."""
import os
import subprocess
import time
import traceback

# Four flat quadrants, far apart in colour, so a stretched copy is easy to
# recognise by a few pixels.
QUADRANTS = {"tl": (0xDC, 0x1E, 0x1E), "tr": (0x1E, 0xC8, 0x28),
             "bl": (0x1E, 0x28, 0xDC), "br": (0xF0, 0xF0, 0xF0)}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, timeout, interval=0.1):
    """Polls condition until it returns something true or time is up; returns
    its last answer."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def run_case(label, name, case, run):
    """Runs case(run) and prints "LABEL PASS name (time)" or "LABEL FAIL name:
    why"; true when it passed."""
    started = time.monotonic()
    try:
        case(run)
        print("%s PASS %s (%.1f s)" % (label, name, time.monotonic() - started), flush=True)
        return True
    except Failure as e:
        print("%s FAIL %s: %s" % (label, name, e), flush=True)
    except Exception:
        print("%s FAIL %s: %s" % (label, name, traceback.format_exc().strip()), flush=True)
    return False


def run_cases(label, summary, cases, run, between=None):
    """Runs each (name, case) with run_case, calls between(run) after each,
    closes run and prints "SUMMARY: N passed, N failed"; the exit code."""
    passed = failed = 0
    try:
        for name, case in cases:
            if run_case(label, name, case, run):
                passed += 1
            else:
                failed += 1
            if between:
                between(run)
    finally:
        run.close()
    print("%s: %d passed, %d failed" % (summary, passed, failed))
    return 1 if failed else 0


def end_processes(processes):
    """Kills what is still running of the processes started, and forgets them all."""
    for process in processes:
        if process.poll() is None:
            process.kill()
            process.wait()
    processes.clear()


def near(color, expected, tolerance=32):
    return all(abs(a - b) <= tolerance for a, b in zip(color, expected))


class XServer:
    """An X server of our own (Xvfb, Xephyr) on the first free display; its
    number comes back through -displayfd. command: the server and its
    arguments."""

    def __init__(self, command, env=None):
        read, write = os.pipe()
        self.process = subprocess.Popen(command[:1] + ["-displayfd", str(write)] + command[1:],
                                        pass_fds=(write,), stderr=subprocess.DEVNULL, env=env)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.number = pipe.readline().strip()
        if not self.number:
            self.process.kill()
            self.process.wait()
            raise Failure("%s did not start" % os.path.basename(command[0]))
        self.name = ":" + self.number

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def toml_list(names):
    return ", ".join('"%s"' % n for n in names)


def write_manifest(folder, text):
    """folder's pixvane.toml with the text; returns its path."""
    path = os.path.join(folder, "pixvane.toml")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def build_saver(tool, player, manifest, saver, **kwargs):
    """The tool builds the manifest into saver around player; kwargs go to
    subprocess.run (the tool's report is dropped unless they say otherwise)."""
    kwargs.setdefault("stdout", subprocess.DEVNULL)
    return subprocess.run([tool, "build", manifest, "-o", saver, "--player", player], check=True,
                          **kwargs)


def quadrant_picture(convert, path, half=(320, 240), options=()):
    """The QUADRANTS picture, each quadrant half (width, height), written to
    path with ImageMagick's convert and its options."""
    size = "%dx%d" % half
    c = {k: "xc:#%02X%02X%02X" % v for k, v in QUADRANTS.items()}
    subprocess.run([convert, "(", "-size", size, c["tl"], c["tr"], "+append", ")",
                    "(", "-size", size, c["bl"], c["br"], "+append", ")", "-append"]
                   + list(options) + [path], check=True)


def flat_picture(convert, path, color, size=(64, 48)):
    """A JPEG picture of one colour."""
    subprocess.run([convert, "-size", "%dx%d" % size, "xc:#%02X%02X%02X" % color,
                    "-quality", "95", path], check=True)
