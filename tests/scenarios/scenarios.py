#!/usr/bin/env python3
"""Whole-program scenarios: Korvel.exe as an admin uses it, observed from outside.

Each scenario gets a fresh Wine prefix (a copy of a template made once per build tree), a
package tree under C:\\korvel, an Xvfb display and a short countdown, runs Korvel.exe and
looks only at what a user can see afterwards: the log file, installed files, the registry,
message boxes and the exit code.

    scenarios.py --build build/win64 [--only NAME ...] [--list]
"""
import argparse
import contextlib
import fcntl
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
HERE = os.path.dirname(os.path.abspath(__file__))


class ScenarioFailure(AssertionError):
    pass


def expect(condition, message):
    if not condition:
        raise ScenarioFailure(message)


def free_display():
    for n in range(90, 190):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise RuntimeError("no free X display")


@contextlib.contextmanager
def xvfb():
    if os.environ.get("KORVEL_DISPLAY"):
        yield os.environ["KORVEL_DISPLAY"]
        return
    for _ in range(5):
        n = free_display()
        proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(50):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                break
            if proc.poll() is not None:
                break
            time.sleep(0.1)
        if proc.poll() is None:
            try:
                yield f":{n}"
            finally:
                proc.terminate()
                proc.wait()
            return
    raise RuntimeError("Xvfb did not start")


class Machine:
    """One Wine prefix with Korvel staged at C:\\korvel."""

    def __init__(self, build, workdir, display, locale="de_DE.UTF-8", version="win7"):
        self.build = build
        self.prefix = os.path.join(workdir, "prefix")
        self.display = display
        self.locale = locale
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", DISPLAY=display,
                        LC_ALL=locale, LANG=locale, WINEDLLOVERRIDES="mscoree,mshtml=")
        template = self.template(build)
        shutil.copytree(template, self.prefix, symlinks=True)
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.korvel_dir = os.path.join(self.drive_c, "korvel")
        if version != "win7":
            self.set_version(version)

    @staticmethod
    def template(build):
        template = os.path.join(build, "scenario-prefix")
        with open(os.path.join(build, "scenario-prefix.lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not os.path.exists(os.path.join(template, "system.reg")):
                env = dict(os.environ, WINEPREFIX=template, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
                subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=300)
                subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", "win7", "/f"],
                               env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
                subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
        return template

    def wine(self, *args, timeout=120, check=False):
        result = subprocess.run([WINE, *args], env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise ScenarioFailure(f"wine {args} failed: {result.returncode} {result.stderr[-400:]!r}")
        return result

    def settle(self):
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=180)

    def set_version(self, version):
        self.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f", check=True)
        self.settle()

    def reg_add(self, key, value=None, data=None, kind="REG_DWORD"):
        args = ["reg", "add", key, "/f"]
        if value is not None:
            args[3:3] = ["/v", value, "/t", kind, "/d", str(data)]
        self.wine(*args, check=True)

    def reg_query(self, key, value=None):
        args = ["reg", "query", key] + (["/v", value] if value else [])
        result = self.wine(*args)
        return result.returncode, result.stdout.decode("utf-8", "replace")

    def stage(self, packages, settings=None, translations=None, korvel=None):
        """packages: {folder: (package_xml_text, {file: bytes or 'setup'})}."""
        os.makedirs(self.korvel_dir, exist_ok=True)
        shutil.copy(korvel or os.path.join(self.build, "installer", "Korvel.exe"),
                    os.path.join(self.korvel_dir, "Korvel.exe"))
        setup = os.path.join(self.build, "examples", "example_setup.exe")
        for folder, (xml, files) in packages.items():
            target = os.path.join(self.korvel_dir, folder)
            os.makedirs(target, exist_ok=True)
            write_text(os.path.join(target, "package.xml"), xml)
            for name, content in (files or {}).items():
                if content == "setup":
                    shutil.copy(setup, os.path.join(target, name))
                else:
                    with open(os.path.join(target, name), "wb") as f:
                        f.write(content)
        if settings is not None:
            write_text(os.path.join(self.korvel_dir, "Korvel.XML"), settings)
        for name, xml in (translations or {}).items():
            os.makedirs(os.path.join(self.korvel_dir, "translation"), exist_ok=True)
            write_text(os.path.join(self.korvel_dir, "translation", name), xml)

    def stage_examples(self, settings):
        tree = os.path.join(self.build, "example-tree")
        shutil.copytree(tree, self.korvel_dir, dirs_exist_ok=True)
        write_text(os.path.join(self.korvel_dir, "Korvel.XML"), settings)

    def start_korvel(self, *args):
        return subprocess.Popen([WINE, r"C:\korvel\Korvel.exe", *args], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run_korvel(self, *args, timeout=120):
        proc = self.start_korvel(*args)
        try:
            code = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            raise ScenarioFailure(f"Korvel did not end within {timeout} s")
        self.settle()
        return code

    def close_boxes(self, caption, count=1, timeout_ms=60000):
        """Starts the box closer; returns (process, output path in Linux terms)."""
        out = os.path.join(self.drive_c, "boxes.txt")
        closer = os.path.join(self.build, "tests", "scenarios", "box_closer.exe")
        proc = subprocess.Popen([WINE, closer, caption, r"C:\boxes.txt", str(timeout_ms), str(count)], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return proc, out

    def log_lines(self):
        path = os.path.join(self.drive_c, "ZebLog.txt")
        expect(os.path.exists(path), "no ZebLog.txt was written")
        with open(path, "rb") as f:
            text = f.read().decode("cp1252")
        return text.replace("\r\n", "\n").replace("\r", "\n").split("\n")

    def file(self, windows_path):
        return os.path.join(self.drive_c, windows_path.replace("C:\\", "").replace("\\", "/"))


def write_text(path, text):
    with open(path, "w", encoding="utf-8-sig", newline="\r\n") as f:
        f.write(text)


def package(pid, priority, name, group, exit_code=0, checked="1", extra="", cmd_extra=""):
    group_attr = f' group="{group}"' if group is not None else ""
    return (f'<package id="{pid}" priority="{priority}" name="{name}"{group_attr} checked="{checked}">\n'
            f'{extra}'
            f'\t<install>\n'
            f'\t\t<cmd path="setup.exe" param="/exit {exit_code} /record C:\\record.txt"{cmd_extra}/>\n'
            f'\t</install>\n'
            f'</package>\n', {"setup.exe": "setup"})


QUICK = '<settings title="Szenario"><timer value="1"/></settings>\n'
RESULT = re.compile(r"^(?P<name>.*?): *\t(?P<status>.*)$")


def results(lines):
    """Log lines as (header or None, name, status) triples plus the raw structure."""
    parsed = []
    for line in lines:
        match = RESULT.match(line)
        parsed.append(("item", match.group("name"), match.group("status")) if match else ("text", line, None))
    return parsed


# ---------------------------------------------------------------------------------------------
# Scenarios

def scenario_install_order_groups_and_results(build, work, display):
    m = Machine(build, work, display)
    m.stage({
        "a": package("a", "100", "Paket A", "Gruppe A", 0),
        "b": package("b", "50", "Paket B", "Gruppe B", 3010),
        "c": package("c", "9", "Paket C", "Gruppe A", 1603),
        "d": package("d", "50", "Paket D", "Gruppe B", 18),
        "e": package("e", "50", "Paket E", "Gruppe B", 1, checked="0"),
    }, settings=QUICK)
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    lines = [line for line in m.log_lines()]
    while lines and lines[-1] == "":
        lines.pop()
    kinds = results(lines)
    expected = [
        ("text", "Gruppe A", None),
        ("item", "Paket A", "Fertig"),
        ("text", "", None),
        ("text", "Gruppe B", None),
        ("item", "Paket B", "Fertig (Reboot required)"),
        ("item", "Paket D", "Fertig"),
        ("text", "", None),
        ("text", "Gruppe A", None),
        ("item", "Paket C", "Fehlgeschlagen. Fehlercode: 1603 (0x00000643)"),
    ]
    expect(kinds == expected, f"log is\n{lines}\nexpected the shape\n{expected}")
    # Short names are padded with blanks before the tab, so the statuses line up in the pane.
    statuses = [line for line in lines if "\t" in line]
    expect(all(re.fullmatch(r".+: {2,}", line.split("\t")[0]) for line in statuses), f"names are not padded: {statuses}")
    with open(m.file("C:\\record.txt"), encoding="utf-8") as f:
        started = [line.split("|")[1] for line in f.read().splitlines()]
    order = [re.search(r"/exit (\d+)", line).group(1) for line in started]
    expect(order == ["0", "3010", "18", "1603"], f"installers ran in the order {order}")
    expect(all(line.rstrip().endswith(r"/record C:\record.txt") for line in started), f"{started}")


def scenario_msi_installed_and_examples(build, work, display):
    m = Machine(build, work, display)
    m.stage_examples('<settings title="Beispiel"><timer value="1"/></settings>\n')
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    installed = m.file("C:\\Program Files\\Korvel Example Runtime\\runtime.txt")
    expect(os.path.exists(installed), "the example MSI did not install its file")
    lines = m.log_lines()
    text = "\n".join(lines)
    expect(lines[0] == "Laufzeitbibliotheken", f"first line is {lines[0]!r}")
    expect(re.search(r"^Korvel Example Runtime 1\.2\.3: *\tFertig$", text, re.M), text)
    expect(re.search(r"^Beispiel-Hotfix: *\tFertig \(Reboot required\)$", text, re.M), text)
    expect("Nur für Windows XP" not in text, "an XP-only package was installed on Windows 7")


def _translated(build, work, display, locale, fin, header):
    m = Machine(build, work, display, locale=locale)
    m.stage_examples('<settings><timer value="1"/></settings>\n')
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    text = "\n".join(m.log_lines())
    expect(re.search(rf"^Korvel Example Runtime 1\.2\.3: *\t{fin}$", text, re.M), text)
    expect(text.startswith(header), text)


def scenario_translation_german_locale(build, work, display):
    _translated(build, work, display, "de_DE.UTF-8", "Fertig", "Laufzeitbibliotheken")


def scenario_translation_english_locale(build, work, display):
    _translated(build, work, display, "en_US.UTF-8", "Done", "Runtime libraries")


def _os_checks(build, work, display, version, expected):
    m = Machine(build, work, display, version=version)
    extra = {
        "xp": '\t<check type="os" condition="<" value="6.0"/>\n',
        "seven": '\t<check type="os" condition=">=" value="6.1"/>\n\t<check type="os" condition="<" value="10.0"/>\n',
        "ten": '\t<check type="os" condition=">=" value="10.0"/>\n',
        "any": '\t<check type="os" condition="==" value="*"/>\n',
    }
    m.stage({name: package(name, "50", f"Nur {name}", "System", 0, extra=check) for name, check in extra.items()},
            settings=QUICK)
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    names = sorted(r[1] for r in results(m.log_lines()) if r[0] == "item")
    expect(names == sorted(f"Nur {n}" for n in expected), f"{version}: installed {names}")


def scenario_os_checks_winxp64(build, work, display):
    _os_checks(build, work, display, "winxp64", ["xp", "any"])


def scenario_os_checks_win7(build, work, display):
    _os_checks(build, work, display, "win7", ["seven", "any"])


def scenario_os_checks_win10(build, work, display):
    _os_checks(build, work, display, "win10", ["ten", "any"])


def scenario_registry_prepared_at_start(build, work, display):
    m = Machine(build, work, display)
    dw = r"HKLM\Software\Microsoft\PCHealth\ErrorReporting\DW"
    m.reg_add(dw + r"\Installed")
    m.reg_add(dw, "DWNoFileCollection", 1)
    m.reg_add(r"HKLM\SYSTEM\Setup", "SystemSetupInProgress", 1)
    m.settle()
    m.stage({"a": package("a", "50", "Paket A", "G", 0)}, settings=QUICK)
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    code, _ = m.reg_query(dw)
    expect(code != 0, "the DW key is still there")
    code, out = m.reg_query(r"HKLM\SYSTEM\Setup", "SystemSetupInProgress")
    expect(code == 0 and re.search(r"SystemSetupInProgress\s+REG_DWORD\s+0x0\b", out), out)


def scenario_silent_with_nothing_to_do(build, work, display):
    m = Machine(build, work, display)
    m.stage({})
    closer, boxes = m.close_boxes("Fehler", timeout_ms=8000)
    started = time.time()
    expect(m.run_korvel("/silent", timeout=60) == 0, "exit code is not 0")
    closer.wait(timeout=60)
    expect(not os.path.exists(boxes), "a message box appeared in silent mode")
    expect(not os.path.exists(m.file("C:\\ZebLog.txt")), "a log was written with nothing to do")
    expect(time.time() - started < 60, "took too long")


def scenario_nothing_to_do_tells_the_user(build, work, display):
    m = Machine(build, work, display)
    m.stage({"a": package("a", "50", "Paket A", "G", 0,
                          extra='\t<check type="file" condition="exist" path="C:\\nirgends.txt"/>\n')})
    closer, boxes = m.close_boxes("Fehler", timeout_ms=60000)
    expect(m.run_korvel(timeout=90) == 0, "exit code is not 0")
    closer.wait(timeout=60)
    expect(os.path.exists(boxes), "no message box with caption Fehler appeared")
    with open(boxes, encoding="utf-8") as f:
        seen = f.read().splitlines()
    expect(seen == ["Fehler|Alle Elemente sind schon aktuell!"], f"boxes: {seen}")
    expect(not os.path.exists(m.file("C:\\ZebLog.txt")), "a log was written with nothing to do")


def _settings_place(build, work, display, program_dir_settings):
    m = Machine(build, work, display)
    m.stage({"a": package("a", "50", "Immer", "G", 0),
             "b": package("b", "50", "Vorgewählt", "G", 0, checked="0")},
            settings=program_dir_settings)
    write_text(m.file("C:\\Korvel.XML"),
               '<settings><set component="b" checked="1"/><timer value="1"/></settings>\n')
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    return sorted(r[1] for r in results(m.log_lines()) if r[0] == "item")


def scenario_settings_from_system_drive(build, work, display):
    names = _settings_place(build, work, display, None)
    expect(names == ["Immer", "Vorgewählt"], f"installed {names}: C:\\Korvel.XML was not used")


def scenario_program_directory_settings_preferred(build, work, display):
    names = _settings_place(build, work, display, QUICK)
    expect(names == ["Immer"], f"installed {names}: the program directory's settings were not preferred")


def scenario_countdown_then_run_then_restart(build, work, display):
    m = Machine(build, work, display)
    m.stage({"a": package("a", "50", "Paket A", "G", 0)},
            settings='<settings title="Neustart" RebootWhenFinish="1"><timer value="2"/></settings>\n')
    # shutdown.exe is started by name, so a recording stand-in in Korvel's folder observes the
    # restart without restarting anything.
    shutil.copy(os.path.join(build, "examples", "example_setup.exe"), os.path.join(m.korvel_dir, "shutdown.exe"))
    m.env["EXAMPLE_SETUP_RECORD"] = r"C:\shutdown.txt"
    watcher = subprocess.Popen([WINE, os.path.join(build, "tests", "scenarios", "caption_watcher.exe"), "Neustart",
                                "Pause", r"C:\captions.txt", "60000"], env=m.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    expect(m.run_korvel() == 0, "Korvel's exit code is not 0")
    watcher.wait(timeout=90)
    with open(m.file("C:\\captions.txt"), encoding="utf-8") as f:
        counts = [line for line in f.read().splitlines() if "(" in line]
    expect(counts == ["Pause (2)", "Pause (1)", "Pause (0)"], f"the pause button showed {counts}")
    expect([r[1] for r in results(m.log_lines()) if r[0] == "item"] == ["Paket A"], "the run did not happen")
    with open(m.file("C:\\shutdown.txt"), encoding="utf-8") as f:
        fields = f.read().splitlines()[0].split("|")
    expect(fields[0].lower().endswith("shutdown.exe"), f"{fields}")
    expect(fields[1].split(None, 1)[1].strip() == "-r -f -t 0", f"restart command line: {fields[1]!r}")
    expect(fields[3] == "show 0", f"the restart was not started hidden: {fields[3]}")
    expect(fields[4] == "log present", "the restart was started before the log was written")


SCENARIOS = {name[len("scenario_"):]: fn for name, fn in globals().items() if name.startswith("scenario_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--keep", action="store_true", help="keep the work folders")
    args = parser.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    build = os.path.abspath(args.build)
    chosen = args.only or list(SCENARIOS)
    passed = failed = 0
    with xvfb() as display:
        for name in chosen:
            os.makedirs(os.path.join(build, "scenarios-work"), exist_ok=True)
            work = tempfile.mkdtemp(prefix=f"{name}-", dir=os.path.join(build, "scenarios-work"))
            started = time.time()
            try:
                SCENARIOS[name](build, work, display)
                passed += 1
                print(f"PASS {name} ({time.time() - started:.1f} s)")
            except Exception as error:  # a scenario's failure is reported, the others still run
                failed += 1
                print(f"FAIL {name}: {error}")
                if not isinstance(error, ScenarioFailure):
                    traceback.print_exc()
            finally:
                env = dict(os.environ, WINEPREFIX=os.path.join(work, "prefix"))
                subprocess.run([WINESERVER, "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                if not args.keep:
                    shutil.rmtree(work, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
