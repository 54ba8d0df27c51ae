#!/usr/bin/env python3
"""The Windows release zip, unpacked and started under wine on a virtual X screen.

A copy of the unpacked zip runs in a fresh wine prefix whose registry names a small simulator
tree, as the simulator's installer would. The first start shows the language window, then the
installation locator (filled in from the registry) and its confirmation, then the main window.
A fog run made with real clicks changes the route's files, the restore puts back every byte,
Help > Help inhoud and Help > Info open their windows, and a close request ends the program.

Usage: wine_package_test.py <zip> [--picture PNG]
  --picture  also writes a picture of the main window, as the Windows build draws it, to PNG.
Exit status: 0 passed, 1 failed, 77 skipped (wine or the X tools are not installed).
"""

import argparse
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from window_manager_test import (MAKE_BUTTON, RESTORE_BUTTON, ROUTE_BOX, SKIP, TOOLS, WAIT,  # noqa: E402
                                 WEATHER, Failure, Setup, XServer, log, log_tails, poll)

TOOLS = dict(TOOLS, wine="wine", wineboot="wine", wineserver="wine", xwd="x11-apps")
EXE = "ZEL Nevora.exe"
REGISTRY_KEY = r"HKLM\Software\Microsoft\Microsoft Games\Train Simulator\1.0"


def windows_path(path):
    """The path as the wine program sees it: the Linux root is drive Z:."""
    return "Z:" + str(path).replace("/", "\\")


class Wine:
    """A fresh wine prefix with one wine server, on the test's X server."""

    def __init__(self, x, work):
        self.x, self.work = x, work
        self.env = dict(x.env, WINEPREFIX=str(work / "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.log = open(work / "wine.log", "a")
        (work / "prefix").mkdir()
        # One persistent server: wine's background services belong to it, not to the program.
        subprocess.run(["wineserver", "-p"], env=self.env, check=True)
        self.run("wineboot", "-i", timeout=300)

    def run(self, *args, timeout=WAIT * 3):
        result = subprocess.run(args, env=self.env, stdout=self.log, stderr=self.log,
                                timeout=timeout)
        if result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed under wine (see wine.log)")

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, check=False)


class Program:
    def __init__(self, wine, folder):
        self.wine = wine
        self.proc = subprocess.Popen(["wine", str(folder / EXE)], cwd=folder, env=wine.env,
                                     stdout=wine.log, stderr=wine.log)

    def alive(self):
        return self.proc.poll() is None

    def window(self, title, what, timeout=WAIT):
        """The viewable window with exactly this title."""
        def find():
            if not self.alive():
                raise Failure(f"the program ended (exit status {self.proc.returncode}) "
                              f"while waiting for {what}")
            out = self.wine.x.run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$",
                                  check=False)
            return next(iter(out.split()), None)
        return poll(what, find, timeout)

    def gone(self, window, what):
        poll(what, lambda: not self.wine.x.viewable(window))

    def stop(self):
        if self.alive():
            self.proc.kill()
        self.proc.wait(timeout=WAIT)


def press(x, window, *keys):
    x.run("xdotool", "windowactivate", "--sync", window, check=False)
    x.keys(*keys)


def click(x, window, point):
    """A click at a point of the main window's client area. Wine's X window is the client area
    with Qt's menu bar on top, as on Linux: the same offsets hold."""
    info = x.info(window)
    menu = int(info["Height"]) - 229
    left, top = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
    x.run("xdotool", "mousemove", "--sync", str(left + point[0]), str(top + menu + point[1]),
          "click", "1")


def picture(x, window, target):
    """The window's pixels as the X server holds them, as PNG (xwd's format read by hand)."""
    from PIL import Image
    data = subprocess.run(["xwd", "-silent", "-id", window], env=x.env, capture_output=True,
                          check=True, timeout=WAIT).stdout
    header = struct.unpack(">25I", data[:100])
    size, width, height = header[0], header[4], header[5]
    byte_order, bits, line, colours = header[7], header[11], header[12], header[19]
    if bits != 32:
        raise Failure(f"xwd gave {bits} bits a pixel; only 32 is read here")
    pixels = data[size + colours * 12:]
    mode = "BGRX" if byte_order == 0 else "XRGB"
    Image.frombytes("RGB", (width, height), pixels, "raw", mode, line).save(target)


def click_at(x, window, point):
    """A click at a point of a dialog, from the top left of its client area."""
    info = x.info(window)
    left, top = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
    x.run("xdotool", "mousemove", "--sync", str(left + point[0]), str(top + point[1]), "click", "1")


def first_run(x, program):
    # The windows' own titles and their buttons' centres, from their fixed layouts. Without
    # settings the program first reports, in boxes, that no language file could be read (so
    # does the Linux build): answered here as a player would.
    boxes = 0
    while True:
        window = program.window("Fout|Kies uw taal ?", "the language window")
        if "Fout" not in x.prop(window, "WM_NAME"):
            break
        boxes += 1
        press(x, window, "Return")
        program.gone(window, "the box to close")
    language = window
    log(f"wine: {boxes} box(es) about the unreadable language file answered")
    log("wine: the language window shows")
    click_at(x, language, (88 + 37, 80 + 12))
    locator = program.window("Locatie", "the installation locator")
    log("wine: the installation locator shows, filled in from the registry")
    click_at(x, locator, (96 + 37, 155 + 12))
    found = program.window("Voltooid", "the box that confirms the folder")
    press(x, found, "Return")
    return program.window("ZEL Nevora", "the main window")


def fog_run_and_restore(x, setup, program, window):
    click(x, window, ROUTE_BOX)
    x.keys("ctrl+a")
    x.type("R")
    click(x, window, WEATHER["snow"])
    click(x, window, MAKE_BUTTON)
    poll("the fog files in the route", lambda: not setup.restored())
    time.sleep(1)
    log("wine: fog run made with real clicks; the route's files changed")
    click(x, window, RESTORE_BUTTON)
    poll("the route's own files to be back", setup.restored)
    log("wine: restore put back every byte")


def help_and_about(x, program, window):
    before = set(x.run("xdotool", "search", "--onlyvisible", "--name", ".", check=False).split())
    press(x, window, "alt+h")
    x.keys("e")
    helper = poll("the help window", lambda: next(
        (w for w in x.run("xdotool", "search", "--onlyvisible", "--name", ".",
                          check=False).split() if w not in before and w != window), None))
    log(f"wine: Help > Help inhoud opened {x.prop(helper, 'WM_NAME').strip()}")
    press(x, helper, "Escape")
    program.gone(helper, "the help window to close")
    # A bare prefix has no program for .doc files: the program then names the document in a box,
    # as on any system without one. A prefix that has one opens the document instead.
    try:
        box = program.window("Fout", "a box about the help document", timeout=5)
    except Failure:
        box = None
    if box:
        log("wine: no program here opens the document: the box about it answered")
        press(x, box, "Return")
        program.gone(box, "the box about the help document to close")
    press(x, window, "alt+h")
    x.keys("i")
    about = program.window("Info...", "the About window")
    log("wine: Help > Info opened the About window")
    press(x, about, "Return")
    program.gone(about, "the About window to close")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("zip", type=Path)
    parser.add_argument("--picture", type=Path)
    args = parser.parse_args()

    missing = sorted({package for tool, package in TOOLS.items() if not shutil.which(tool)})
    if missing:
        log("SKIPPED: needs the Debian packages " + ", ".join(missing))
        return SKIP

    work = Path(tempfile.mkdtemp(prefix="zel-wine-"))
    x = wine = program = None
    started = time.monotonic()
    try:
        with zipfile.ZipFile(args.zip) as archive:
            archive.extractall(work / "unpacked")
        folders = list((work / "unpacked").iterdir())
        if len(folders) != 1 or not (folders[0] / EXE).is_file():
            raise Failure(f"the zip does not hold one folder with {EXE}")
        x = XServer(work)
        setup = Setup(work, folders[0])
        # A first start: no settings yet; the simulator is found through the registry.
        (setup.prog / "Dump" / "All_dat.ini").unlink()
        wine = Wine(x, work)
        wine.run("wine", "reg", "add", REGISTRY_KEY, "/v", "EXE Path", "/t", "REG_SZ", "/d",
                 windows_path(setup.sim), "/f", "/reg:32")
        program = Program(wine, setup.prog)
        window = first_run(x, program)
        log("wine: the main window shows")
        if args.picture:
            time.sleep(1)
            picture(x, window, args.picture)
            log(f"wine: picture of the main window in {args.picture}")
        fog_run_and_restore(x, setup, program, window)
        help_and_about(x, program, window)
        press(x, window, "alt+F4")
        poll("the program to end after the close request", lambda: not program.alive())
        settings = (setup.prog / "Dump" / "All_dat.ini").read_bytes()
        if windows_path(setup.sim).encode() not in settings:
            raise Failure("the settings do not hold the simulator folder from the registry")
        log(f"passed in {time.monotonic() - started:.0f} s")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as failure:
        log(f"FAILED: {failure}")
        log_tails(work, ("wine.log", "openbox.log", "xvfb.log"))
        return 1
    finally:
        if program:
            program.stop()
        if wine:
            wine.stop()
        if x:
            x.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
