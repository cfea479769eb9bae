#!/usr/bin/env python3
"""End-to-end tests of the installers `pixvane installer` makes, under Wine.

The setup program installs a saver for the user and for everyone, silently;
the saver it installed plays; a newer build replaces it in place; its
uninstaller leaves nothing behind and gives back the screen saver chosen
before. The MSI installs with msiexec,
a newer build of it replaces the older, and /x removes it. Each case runs
in a Wine prefix of its own, copied from the set-up one.

Each case prints "INSTALLERS PASS name" or "INSTALLERS FAIL name: why"; the
last line is "installers: N passed, N failed".

Usage: installer_cases.py [--build build/win] [--tool build/native/bin/pixvane]
                          [--work build/installers] [case ...]
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True
from e2e_common import (Failure, XServer, build_saver, check, flat_picture, near,  # noqa: E402
                        run_cases, wait_until, write_manifest)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Everything NSIS would read as its own: a variable, a define, an escape,
# a quote, a shortcut mark.
TITLE = 'Beach "$INSTDIR" ${NSISDIR} $\\n & 100%'
AUTHOR = "E2E Maker"
WEB = "https://e2e.invalid/beach?a=1&b=2"
RED, GREEN = (0xE0, 0x20, 0x20), (0x20, 0xC0, 0x40)
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
DESKTOP = r"HKCU\Control Panel\Desktop"
EARLIER_SAVER = r"C:\windows\system32\earlier.scr"


class Prefix:
    """A Wine prefix of one case, fresh from the set-up one, on the display."""

    def __init__(self, work, name, display):
        self.path = os.path.join(work, "prefix-" + name)
        shutil.rmtree(self.path, ignore_errors=True)
        source = os.path.join(ROOT, ".cache", "wine")
        if os.path.isfile(os.path.join(source, "system.reg")):
            subprocess.run(["cp", "-a", source, self.path], check=True)
        self.env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.wine = shutil.which("/usr/lib/wine/wine64") or shutil.which("wine64") or "wine"
        self.wineserver = shutil.which("/usr/lib/wine/wineserver64") or "wineserver"
        if not os.path.isfile(os.path.join(self.path, "system.reg")):
            self.run(["wineboot", "-i"])

    def run(self, args, timeout=120):
        return subprocess.run([self.wine] + args, env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                              errors="replace")

    def start(self, args):
        return subprocess.Popen([self.wine] + args, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def windows_path(self, path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def unix_path(self, path):
        """A C: path inside the prefix as the file's path here."""
        check(path[:3].upper() == "C:\\", "not a path on C: %r" % path)
        parts = path[3:].split("\\")
        at = os.path.join(self.path, "drive_c")
        for part in parts:  # Windows ignores letter case; the file system here does not
            names = {n.lower(): n for n in os.listdir(at)} if os.path.isdir(at) else {}
            at = os.path.join(at, names.get(part.lower(), part))
        return at

    def values(self, key):
        """The values of a registry key as {name: data}; None when the key is missing."""
        result = self.run(["reg", "query", key])
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            if line.startswith("    "):
                parts = line.strip("\r\n").lstrip(" ").split("    ", 2)
                if len(parts) == 3:
                    values[parts[0]] = parts[2]
                elif len(parts) == 2:
                    values[parts[0]] = ""
        return values

    def subkeys(self, key):
        """The keys under key, their roots written short as key's is."""
        result = self.run(["reg", "query", key])
        found = []
        for line in result.stdout.splitlines():
            line = line.strip().replace("HKEY_CURRENT_USER", "HKCU").replace(
                "HKEY_LOCAL_MACHINE", "HKLM")
            if line.upper().startswith(key.upper() + "\\"):
                found.append(line)
        return found

    def saver_entries(self, root):
        """The uninstall entries of setup programs under root (HKCU or HKLM)."""
        return [k for k in self.subkeys(root + "\\" + UNINSTALL)
                if k.rsplit("\\", 1)[1].startswith("Pixvane.")]

    def products_titled(self, title):
        """The uninstall entries under HKLM whose DisplayName is title."""
        found = []
        for key in self.subkeys("HKLM\\" + UNINSTALL):
            values = self.values(key) or {}
            if values.get("DisplayName") == title:
                found.append(key)
        return found

    def close(self):
        subprocess.run([self.wineserver, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.path, ignore_errors=True)


class Run:
    def __init__(self, args):
        self.work = os.path.abspath(args.work)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.tool = os.path.abspath(args.tool)
        self.player = os.path.join(os.path.abspath(args.build), "bin", "pixvane.scr")
        self.convert = shutil.which("convert")
        self.import_ = shutil.which("import")
        self.xserver = XServer(["Xvfb", "-screen", "0", "800x600x24", "-nolisten", "tcp"])
        self.display = self.xserver.name
        self.prefixes = []
        self.times = {}
        # Two builds of one saver: the second shows green first.
        self.v1 = self.saver("v1", [RED, GREEN])
        self.v2 = self.saver("v2", [GREEN, RED])
        self.setup = self.installer(self.v1, "setup")
        self.setup2 = self.installer(self.v2, "setup2")
        self.msi1 = self.installer(self.v1, "msi1", "--msi")
        self.msi2 = self.installer(self.v2, "msi2", "--msi")

    def saver(self, name, colors):
        folder = os.path.join(self.work, name)
        os.makedirs(folder)
        names = []
        for i, color in enumerate(colors):
            names.append("p%d.jpg" % i)
            flat_picture(self.convert, os.path.join(folder, names[-1]), color, (320, 240))
        manifest = write_manifest(folder, (
            "title = '%s'\nauthor = '%s'\nweb = '%s'\n[show]\npictures = [%s]\n"
            "interval = 60000\nscale = 'fill'\n") % (TITLE, AUTHOR, WEB,
                                                      ", ".join('"%s"' % n for n in names)))
        saver = os.path.join(folder, "Beach.scr")
        build_saver(self.tool, self.player, manifest, saver)
        return saver

    def installer(self, saver, name, *options):
        folder = os.path.join(self.work, name)
        subprocess.run([self.tool, "installer", saver, "-o", folder] + list(options), check=True,
                       stdout=subprocess.DEVNULL)
        made = glob.glob(os.path.join(folder, "*"))
        check(len(made) == 1, "installer wrote %r" % made)
        print("installers: %s is %d bytes" % (os.path.basename(made[0]),
                                               os.path.getsize(made[0])), flush=True)
        return made[0]

    def prefix(self, name):
        prefix = Prefix(self.work, name, self.display)
        self.prefixes.append(prefix)
        return prefix

    def timed(self, what, prefix, args):
        started = time.monotonic()
        result = prefix.run(args, timeout=180)
        self.times[what] = time.monotonic() - started
        print("installers: %s took %.1f s" % (what, self.times[what]), flush=True)
        return result

    def screenshot(self, path):
        subprocess.run([self.import_, "-display", self.display, "-window", "root", path],
                       check=True)

    def center_pixel(self):
        ppm = subprocess.run([self.import_, "-display", self.display, "-window", "root",
                              "-crop", "1x1+400+300", "-depth", "8", "rgb:-"],
                             capture_output=True).stdout
        return tuple(ppm[:3])

    def red_in(self, left, top, width, height):
        """How many pixels near RED the rectangle of the screen holds."""
        raw = subprocess.run([self.import_, "-display", self.display, "-window", "root",
                              "-crop", "%dx%d+%d+%d" % (width, height, left, top), "-depth", "8",
                              "rgb:-"], capture_output=True).stdout
        return sum(1 for i in range(0, len(raw) - 2, 3) if near(tuple(raw[i:i + 3]), RED))

    def close(self):
        for prefix in self.prefixes:
            prefix.close()
        self.xserver.close()


def same_file(a, b):
    with open(a, "rb") as x, open(b, "rb") as y:
        return x.read() == y.read()


def uninstall_quietly(prefix, entry):
    """Runs the entry's QuietUninstallString and waits until the entry goes:
    NSIS's uninstaller hands over to a copy of itself and returns at once."""
    command = entry["QuietUninstallString"]
    check(command.startswith('"'), "QuietUninstallString %r" % command)
    exe, rest = command[1:].split('"', 1)
    prefix.run([exe] + rest.split())


def installed_for(run, prefix, root, saver_path):
    """Checks what a silent install leaves: the file, the Desktop values and
    the uninstall entry; returns the entry's values."""
    check(os.path.isfile(saver_path), "no saver at %s" % saver_path)
    check(same_file(saver_path, run.v1), "the installed saver is not the one built")
    entries = prefix.saver_entries(root)
    check(len(entries) == 1, "uninstall entries under %s: %r" % (root, entries))
    entry = prefix.values(entries[0])
    check(entry.get("DisplayName") == TITLE, "DisplayName %r" % entry.get("DisplayName"))
    check(entry.get("Publisher") == AUTHOR, "Publisher %r" % entry.get("Publisher"))
    check(entry.get("URLInfoAbout") == WEB, "URLInfoAbout %r" % entry.get("URLInfoAbout"))
    for name in ("DisplayIcon", "EstimatedSize", "UninstallString", "QuietUninstallString"):
        check(entry.get(name), "no %s in %r" % (name, entry))
    desktop = prefix.values(DESKTOP)
    check(prefix.unix_path(desktop.get("SCRNSAVE.EXE", "")) == saver_path,
          "SCRNSAVE.EXE is %r" % desktop.get("SCRNSAVE.EXE"))
    check(desktop.get("ScreenSaveActive") == "1", "ScreenSaveActive %r" % desktop)
    return entries[0], entry


def case_setup_first_page(run):
    prefix = run.prefix("page")
    process = prefix.start([prefix.windows_path(run.setup)])
    try:
        # The welcome page's picture is the saver's first picture: red.
        shown = wait_until(lambda: run.red_in(0, 0, 800, 600) > 164 * 314 // 2, 60, 0.5)
        run.screenshot(os.path.join(run.work, "setup-first-page.png"))
        check(shown, "no welcome picture of the first picture on the screen")
    finally:
        process.kill()
        process.wait()


def case_setup_for_the_user(run):
    prefix = run.prefix("user")
    prefix.run(["reg", "add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", EARLIER_SAVER, "/f"])
    result = run.timed("setup /S", prefix, [prefix.windows_path(run.setup), "/S"])
    check(result.returncode == 0, "the setup program ended with %d" % result.returncode)
    found = glob.glob(os.path.join(prefix.path, "drive_c", "users", "*", "AppData", "Local",
                                   "Programs", "Pixvane", "Beach", "Beach.scr"))
    check(len(found) == 1, "no saver in the user's programs: %r" % found)
    key, entry = installed_for(run, prefix, "HKCU", found[0])
    check(not prefix.saver_entries("HKLM"), "an entry for everyone too")

    # The installed saver plays its first picture.
    saver = prefix.start([prefix.values(DESKTOP)["SCRNSAVE.EXE"], "/s"])
    try:
        shown = wait_until(lambda: near(run.center_pixel(), RED), 60, 0.5)
        run.screenshot(os.path.join(run.work, "installed-saver.png"))
        check(shown, "the installed saver shows %r, not the first picture" % (run.center_pixel(),))
    finally:
        saver.kill()
        saver.wait()

    # A newer build of the same saver takes the old one's place and entry,
    # and still remembers the screen saver from before the first.
    result = prefix.run([prefix.windows_path(run.setup2), "/S"])
    check(result.returncode == 0, "the newer setup program ended with %d" % result.returncode)
    check(same_file(found[0], run.v2), "the newer build did not replace the saver")
    check(prefix.saver_entries("HKCU") == [key], "entries after the newer build: %r"
          % prefix.saver_entries("HKCU"))

    # The user's mute choice beside the saver outlives the uninstall.
    control = os.path.join(os.path.dirname(found[0]), "CONTROL.INI")
    with open(control, "w") as f:
        f.write("[Setup]\r\nmute=1\r\n")
    uninstall_quietly(prefix, entry)
    gone = wait_until(lambda: not os.path.exists(found[0]) and not prefix.values(key), 60, 0.5)
    check(gone, "the saver or its entry is still there after uninstalling")
    check(os.path.isfile(control), "the uninstaller took the user's CONTROL.INI")
    left = sorted(os.listdir(os.path.dirname(found[0])))
    check(left == ["CONTROL.INI"], "left behind: %r" % left)
    desktop = prefix.values(DESKTOP)
    check(desktop.get("SCRNSAVE.EXE") == EARLIER_SAVER,
          "SCRNSAVE.EXE is %r, not the earlier saver" % desktop.get("SCRNSAVE.EXE"))


def case_setup_for_everyone(run):
    prefix = run.prefix("all")
    result = run.timed("setup /S /ALLUSERS", prefix,
                       [prefix.windows_path(run.setup), "/S", "/ALLUSERS"])
    check(result.returncode == 0, "the setup program ended with %d" % result.returncode)
    saver = prefix.unix_path(r"C:\windows\system32\Beach.scr")
    key, entry = installed_for(run, prefix, "HKLM", saver)
    check(not prefix.saver_entries("HKCU"), "an entry for the user too")
    check("/ALLUSERS" in entry["QuietUninstallString"], entry["QuietUninstallString"])
    uninstall_quietly(prefix, entry)
    gone = wait_until(lambda: not os.path.exists(saver) and not prefix.values(key), 60, 0.5)
    check(gone, "the saver or its entry is still there after uninstalling")
    uninstaller = os.path.dirname(prefix.unix_path(entry["QuietUninstallString"].split('"')[1]))
    check(wait_until(lambda: not os.path.exists(uninstaller), 30, 0.5),
          "left behind: %s" % uninstaller)
    # There was no screen saver before: there is none again.
    check("SCRNSAVE.EXE" not in prefix.values(DESKTOP), "SCRNSAVE.EXE is still set")


def case_msi(run):
    prefix = run.prefix("msi")
    saver = prefix.unix_path(r"C:\windows\system32\Beach.scr")
    result = run.timed("msiexec /i /qn", prefix,
                       ["msiexec", "/i", prefix.windows_path(run.msi1), "/qn"])
    check(result.returncode == 0, "msiexec /i ended with %d" % result.returncode)
    check(os.path.isfile(saver) and same_file(saver, run.v1), "the first build is not installed")
    check(len(prefix.products_titled(TITLE)) == 1, "not one product after the first install")
    result = prefix.run(["msiexec", "/i", prefix.windows_path(run.msi2), "/qn"])
    check(result.returncode == 0, "msiexec /i of the newer build ended with %d" % result.returncode)
    check(same_file(saver, run.v2), "the newer build did not replace the saver")
    products = prefix.products_titled(TITLE)
    check(len(products) == 1, "products after the upgrade: %r" % products)
    result = prefix.run(["msiexec", "/x", prefix.windows_path(run.msi2), "/qn"])
    check(result.returncode == 0, "msiexec /x ended with %d" % result.returncode)
    check(not os.path.exists(saver), "the saver is still in System32")
    check(not prefix.products_titled(TITLE), "the product is still listed")


CASES = {
    "setup_first_page": case_setup_first_page,
    "setup_for_the_user": case_setup_for_the_user,
    "setup_for_everyone": case_setup_for_everyone,
    "msi": case_msi,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win"))
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "native", "bin", "pixvane"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "installers"))
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()
    names = args.cases or list(CASES)
    return run_cases("INSTALLERS", "installers", [(name, CASES[name]) for name in names],
                     Run(args))


if __name__ == "__main__":
    sys.exit(main())
