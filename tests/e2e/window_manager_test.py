#!/usr/bin/env python3
"""The real program on a real X server with a window manager, seen and driven through the X server.

The offscreen platform of the other GUI tests has no window manager, so it cannot see a window
that the program shows but that never gets mapped. Here Xvfb and openbox run for the test alone;
every check asks the X server (the windows the window manager manages, their map state and
structure events, the border icons a window asks for) and every click and key press goes in
through it, as a user's would.

Scenarios:
  normal   a fog run through the choosing page (started with a double click, whose second click
           must not restore at once), then the restore, then closing the program.
  titles   a language whose About window has an empty title: its title bar names nothing.
  restart  a fog run, the program killed with SIGKILL on the completion page and started again,
           N times: each start must show the main window on its completion page, keep it shown
           once the box is answered, and restore the route byte for byte.

Usage: window_manager_test.py <program folder> normal|restart|titles [--repeat N] [--keep-going]
Exit status: 0 passed, 1 failed, 77 skipped (the X tools are not installed).
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TOOLS = {"Xvfb": "xvfb", "openbox": "openbox", "xdotool": "xdotool", "xwininfo": "x11-utils",
         "xprop": "x11-utils", "xev": "x11-utils", "stdbuf": "coreutils"}
SKIP = 77
TITLE = "ZEL Nevora"
CLIENT_HEIGHT = 229  # the main window's client area below the menu bar

# Control centres in the client area (below the menu bar), from the window's fixed layout.
ROUTE_BOX = (96, 90)
WEATHER = {"sun": (228, 72), "rain": (228, 88), "snow": (228, 104)}
MAKE_BUTTON = (173, 212)
RESTORE_BUTTON = (180, 212)

WAIT = 20.0  # seconds: generous, the machine may be busy with a parallel build


class Failure(Exception):
    pass


def log(text):
    print(text, flush=True)


def log_tails(work, names):
    """The end of each named log in `work` that holds anything: what a failure report needs."""
    for name in names:
        path = work / name
        if path.exists() and path.stat().st_size:
            log(f"--- {name}\n{path.read_text(errors='replace')[-3000:]}")


def poll(what, check, timeout=WAIT, interval=0.05):
    """Calls check() until it returns something true; that value, or Failure after timeout."""
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class XServer:
    """Xvfb and openbox, started here and stopped at the end."""

    def __init__(self, work):
        self.work = work
        self.procs = []
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                                stdout=subprocess.DEVNULL, stderr=open(work / "xvfb.log", "w"))
        os.close(write)
        self.procs.append(xvfb)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start: see xvfb.log")
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        home = work / "home"
        home.mkdir(mode=0o700)
        self.env.update(DISPLAY=":" + number, HOME=str(home), XDG_CONFIG_HOME=str(home / ".config"),
                        XDG_RUNTIME_DIR=str(home), QT_QPA_PLATFORM="xcb")
        self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                           stdout=subprocess.DEVNULL,
                                           stderr=open(work / "openbox.log", "w")))
        poll("the window manager", lambda: "window id" in self.run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False))

    def run(self, *args, check=True):
        try:
            result = subprocess.run(args, env=self.env, capture_output=True, text=True,
                                    timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise Failure(f"{' '.join(args)} did not finish in {WAIT:.0f} s") from None
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def stop(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()

    # What the X server knows about a window.
    def info(self, window):
        out = self.run("xwininfo", "-id", window, check=False)
        fields = {}
        for line in out.splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        return fields

    def viewable(self, window):
        return self.info(window).get("Map State") == "IsViewable"

    def prop(self, window, name):
        return self.run("xprop", "-id", window, name, check=False)

    def windows(self):
        """The windows the window manager manages, by kind: main window(s) and dialogs."""
        out = self.run("xprop", "-root", "_NET_CLIENT_LIST", check=False)
        found = {"main": [], "dialog": []}
        for window in out.partition("#")[2].replace(",", " ").split():
            kind = self.prop(window, "_NET_WM_WINDOW_TYPE")
            if "_NET_WM_WINDOW_TYPE_DIALOG" in kind:
                found["dialog"].append(window)
            elif "_NET_WM_WINDOW_TYPE_NORMAL" in kind and f'"{TITLE}"' in self.prop(window, "WM_NAME"):
                found["main"].append(window)
        return found

    def close_box(self, window):
        """Whether the window asks the window manager for a close box (Motif hints: the close
        function or all functions). openbox keeps its close button whatever a window asks, so
        a close request must still be refused by the program itself."""
        values = self.prop(window, "_MOTIF_WM_HINTS").partition("=")[2].split(",")
        if len(values) < 2:
            return True  # no hints: the window manager's full set
        flags, functions = int(values[0], 0), int(values[1], 0)
        return not flags & 1 or bool(functions & 0x21)

    def click(self, window, point, count=1):
        info = self.info(window)
        menu = int(info["Height"]) - CLIENT_HEIGHT
        x = int(info["Absolute upper-left X"]) + point[0]
        y = int(info["Absolute upper-left Y"]) + menu + point[1]
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "--repeat",
                 str(count), "--delay", "80", "1")

    def keys(self, *keys):
        self.run("xdotool", "key", "--clearmodifiers", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--clearmodifiers", "--delay", "20", text)


class Setup:
    """A copy of the program folder whose settings point at a small simulator tree."""

    def __init__(self, work, program):
        self.prog = work / "program"
        shutil.copytree(program, self.prog, symlinks=True)
        dump = self.prog / "Dump"
        (dump / "Herstel.ini").unlink(missing_ok=True)
        for leftover in (dump / "Back_up").glob("*"):
            if leftover.is_dir():
                shutil.rmtree(leftover)
        self.sim = work / "TS"
        (self.sim / "train.exe").parent.mkdir(parents=True)
        (self.sim / "train.exe").write_bytes(b"MZ test simulator\n")
        self.route = self.sim / "Routes" / "R"
        env = self.route / "Envfiles"
        (env / "Textures").mkdir(parents=True)
        for name in ("sun.env", "rain.env", "snow.env"):
            (env / name).write_bytes(f"SIMISA@@ route R {name}\r\n".encode() + bytes(range(256)))
        (env / "Textures" / "sky.ace").write_bytes(b"route R own sky\n")
        # With Ook voor Open Rails on, every run also adds a fogged copy of this activity and a
        # weather file, which every restore must take away again.
        self.activities = self.route / "Activities"
        self.activities.mkdir()
        (self.activities / "freight.act").write_bytes(
            "\ufeffSIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n\tTr_Activity_Header (\r\n"
            "\t\tName ( \"Freight\" )\r\n\t)\r\n\tTr_Activity_File (\r\n\t)\r\n)".encode("utf-16-le"))
        (dump / "All_dat.ini").write_bytes(
            b"[Programma]\r\nTaalkeuze=Nederlands\r\nTaalscherm=1\r\nOpenRails=1\r\n"
            b"[msts locatie]\r\nPad=" + os.fsencode(self.sim) + b"\r\n")
        self.original = self.snapshot()

    def snapshot(self):
        return {str(p.relative_to(self.route)): p.read_bytes()
                for p in sorted(self.route.rglob("*")) if p.is_file()}

    def restored(self):
        return self.snapshot() == self.original and not (self.route / "WeatherFiles").exists()

    def fogged_for_open_rails(self):
        return (any(self.activities.glob("freight_ZEL_mist_*.act"))
                and any((self.route / "WeatherFiles").glob("ZEL_Nevora_*.weather-or")))


class Program:
    def __init__(self, x, setup, work):
        self.x = x
        self.log = open(work / "program.log", "a")
        self.proc = subprocess.Popen([str(setup.prog / TITLE)], cwd=setup.prog, env=x.env,
                                     stdout=self.log, stderr=self.log)

    def alive(self):
        return self.proc.poll() is None

    def windows(self):
        if not self.alive():
            raise Failure(f"the program ended (exit status {self.proc.returncode})")
        return self.x.windows()

    def kill(self):
        if self.alive():
            self.proc.send_signal(signal.SIGKILL)
        self.proc.wait(timeout=WAIT)

    def main_window(self):
        """The one main window, once it is viewable."""
        def shown():
            mains = [w for w in self.windows()["main"] if self.x.viewable(w)]
            return mains[0] if len(mains) == 1 else None
        return poll("the main window to be mapped", shown)


def choosing_page(x, window):
    poll("the close box on the choosing page", lambda: x.close_box(window))


def completion_page(x, window):
    poll("the close box to go on the completion page", lambda: not x.close_box(window))


class MapWatch:
    """Records the structure events of one window through xev, from the moment it is ready, so
    that an unmap and map in quick succession, which polling would miss, is seen."""

    def __init__(self, x, window):
        self.x, self.window, self.marks = x, window, 0
        self.path = x.work / f"xev-{window}.log"
        self.proc = subprocess.Popen(["stdbuf", "-oL", "xev", "-id", window, "-event", "structure",
                                      "-event", "property"], env=x.env,
                                     stdout=open(self.path, "w"), stderr=subprocess.DEVNULL)
        self.sync()

    def sync(self):
        """Returns once every event up to now is in the log: a property of our own comes last."""
        self.marks += 1
        mark = f"_ZEL_MARK_{self.marks}"
        def seen():
            self.x.run("xprop", "-id", self.window, "-f", mark, "8s", "-set", mark, "1", check=False)
            return mark in self.path.read_text(errors="replace")
        poll("xev to see the window", seen, interval=0.1)

    def unmapped(self):
        self.sync()
        return "UnmapNotify" in self.path.read_text(errors="replace")

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def fog_run(x, setup, program, weather, double_click=False):
    """Chooses the route and the weather with real clicks and presses "Maken..."."""
    window = program.main_window()
    choosing_page(x, window)
    x.click(window, ROUTE_BOX)
    x.keys("ctrl+a")
    x.type("R")
    x.click(window, WEATHER[weather])
    watch = MapWatch(x, window)
    try:
        x.click(window, MAKE_BUTTON, 2 if double_click else 1)
        poll("the fog files in the route", lambda: not setup.restored())
        completion_page(x, window)
        if double_click:
            # The second click lands on the restore button beneath; it must not restore.
            time.sleep(1.0)
            if setup.restored() or x.close_box(window):
                raise Failure("the second click of a double click on Maken... restored the route")
        poll("the fogged copy and the weather file for Open Rails", setup.fogged_for_open_rails)
        if watch.unmapped() or not x.viewable(window):
            raise Failure("the main window was unmapped on the switch to the completion page")
    finally:
        watch.stop()
    return window


def restore(x, setup, program, window):
    """Clicks "Ga terug en herstel alles" and waits for the route's own bytes."""
    x.click(window, RESTORE_BUTTON)
    poll("the route's own files to be back", setup.restored)
    choosing_page(x, program.main_window())


def close_request(x, window):
    """The window manager's close command (its Alt+F4), as a user gives it."""
    x.run("xdotool", "windowactivate", "--sync", window)
    x.keys("alt+F4")


def answer_box(x, program):
    """Presses Enter in the box that shows and waits for it to go."""
    box = poll("a box", lambda: next(
        (w for w in program.windows()["dialog"] if x.viewable(w)), None))
    x.run("xdotool", "windowactivate", "--sync", box, check=False)
    x.keys("Return")
    poll("the box to close", lambda: not any(x.viewable(w) for w in program.windows()["dialog"]))


def scenario_normal(x, setup, work):
    program = Program(x, setup, work)
    try:
        window = fog_run(x, setup, program, "rain", double_click=True)
        log("normal: fog run made with a real double click, whose second click restored "
            "nothing; completion page without close box")
        if "Icon (16 x 16)" not in x.prop(window, "_NET_WM_ICON"):
            raise Failure("the main window shows no icon to the window manager")
        fogged = setup.snapshot()
        close_request(x, window)
        answer_box(x, program)  # the refusal
        window = program.main_window()
        if setup.snapshot() != fogged or x.close_box(window):
            raise Failure("a refused close request changed the window or the route")
        log("normal: close request refused with a box; window and fog stay")
        restore(x, setup, program, window)
        log("normal: restore click put back every byte; choosing page with close box")
        close_request(x, program.main_window())
        poll("the program to end after the close request", lambda: not program.alive())
        if program.proc.returncode != 0:
            raise Failure(f"the program ended with exit status {program.proc.returncode}")
        log("normal: close request on the choosing page ended the program")
    finally:
        program.kill()


def scenario_titles(x, setup, work):
    """A pack may give a window an empty title; the window system must then get no name."""
    languages = setup.prog / "Dump" / "Languages"
    (languages / "Leeg.lng").write_bytes(
        b"[File info]\r\nLanguage=Leeg\r\nProgram=ZEL Nevora\r\n"
        b"[Menu]\r\nhelp1=&Help\r\ninfo1=&Info\r\n[About Dlg]\r\nTitel=\r\nbutton=OK\r\n")
    settings = setup.prog / "Dump" / "All_dat.ini"
    settings.write_bytes(settings.read_bytes().replace(b"Taalkeuze=Nederlands",
                                                       b"Taalkeuze=Leeg"))
    program = Program(x, setup, work)
    try:
        window = program.main_window()
        x.run("xdotool", "windowactivate", "--sync", window)
        x.keys("alt+h")
        time.sleep(0.3)
        x.keys("i")
        about = poll("the About window", lambda: next(
            (w for w in program.windows()["dialog"] if x.viewable(w)), None))
        for name in ("WM_NAME", "_NET_WM_NAME"):
            shown = x.prop(about, name)
            # xprop writes an empty text as nothing after the "=", a missing one as "not found".
            if "=" not in shown or shown.partition("=")[2].strip() not in ("", '""'):
                raise Failure(f"the About window with an empty title has {shown.strip()}")
        if f'"{TITLE}"' not in x.prop(window, "_NET_WM_NAME"):
            raise Failure("the main window lost its title")
        log("titles: the About window's empty title reaches the window system empty")
    finally:
        program.kill()


def restart_once(x, setup, work, weather):
    """Starts the program over a killed run; returns what went wrong, or None."""
    program = Program(x, setup, work)
    watch = None
    try:
        poll("the box about the unrestored run", lambda: next(
            (w for w in program.windows()["dialog"] if x.viewable(w)), None))
        # The main window comes before the box or together with it.
        try:
            window = poll("the main window", lambda: next(
                (w for w in program.windows()["main"] if x.viewable(w)), None), timeout=3)
        except Failure:
            answer_box(x, program)
            try:
                program.main_window()
                return "the main window was not mapped while the box showed"
            except Failure:
                return "the main window was never mapped, also not after the box"
        watch = MapWatch(x, window)
        answer_box(x, program)
        # It stays shown once the box has gone.
        time.sleep(0.3)
        if watch.unmapped() or not x.viewable(window):
            return "the main window was unmapped after the box was answered"
        watch.stop()
        watch = None
        completion_page(x, window)
        restore(x, setup, program, window)
        fog_run(x, setup, program, weather)
        return None
    finally:
        if watch:
            watch.stop()
        program.kill()


def scenario_restart(x, setup, work, repeat, keep_going):
    program = Program(x, setup, work)
    try:
        fog_run(x, setup, program, "rain")
    finally:
        program.kill()
    weathers = ["rain", "snow", "sun"]
    failures = 0
    for i in range(repeat):
        reason = restart_once(x, setup, work, weathers[i % 3])
        if reason:
            failures += 1
            log(f"restart {i + 1}: FAILED: {reason}")
            if not keep_going:
                raise Failure(reason)
        else:
            log(f"restart {i + 1}: main window mapped on its completion page; restored byte "
                "for byte; new fog run made")
    if failures:
        raise Failure(f"{failures} of {repeat} restarts failed")
    # Leave nothing installed: one last start puts the route back.
    program = Program(x, setup, work)
    try:
        answer_box(x, program)
        restore(x, setup, program, program.main_window())
    finally:
        program.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program", type=Path)
    parser.add_argument("scenario", choices=["normal", "restart", "titles"])
    parser.add_argument("--repeat", type=int, default=20)
    parser.add_argument("--keep-going", action="store_true",
                        help="count failed restarts instead of stopping at the first")
    args = parser.parse_args()

    missing = sorted({package for tool, package in TOOLS.items() if not shutil.which(tool)})
    if missing:
        log("SKIPPED: the window manager test needs the Debian packages " + ", ".join(missing)
            + " (scripts/setup.sh installs them)")
        return SKIP
    if not (args.program / TITLE).is_file():
        log(f"FAILED: no program at {args.program / TITLE}")
        return 1

    work = Path(tempfile.mkdtemp(prefix="zel-e2e-"))
    x = None
    started = time.monotonic()
    try:
        x = XServer(work)
        setup = Setup(work, args.program)
        if args.scenario == "normal":
            scenario_normal(x, setup, work)
        elif args.scenario == "titles":
            scenario_titles(x, setup, work)
        else:
            scenario_restart(x, setup, work, args.repeat, args.keep_going)
        log(f"passed in {time.monotonic() - started:.0f} s")
        return 0
    except Failure as failure:
        log(f"FAILED: {failure}")
        log_tails(work, ("program.log", "openbox.log", "xvfb.log"))
        return 1
    finally:
        if x:
            x.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
