#!/usr/bin/env python3
"""Runs Korvel.exe under Wine on the example package tree, unattended, and shows the outcome."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "scenarios"))
import scenarios  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, "build", "win64")
COUNTDOWN = 5


def main():
    work = os.path.join(BUILD, "demo")
    subprocess.run(["rm", "-rf", work], check=True)
    os.makedirs(work)
    screenshot = os.path.join(work, "main-window.png")
    with scenarios.xvfb() as display:
        machine = scenarios.Machine(BUILD, work, display)
        machine.stage_examples(f'<settings title="Korvel Beispiel"><set component="viewer" checked="1"/>'
                               f'<timer value="{COUNTDOWN}"/></settings>\n')
        print(f"Korvel starts in a fresh Wine prefix ({machine.prefix}); the countdown is {COUNTDOWN} s.")
        proc = machine.start_korvel()
        time.sleep(COUNTDOWN / 2 + 2)
        subprocess.run(["import", "-display", display, "-window", "root", "-trim", "+repage", screenshot],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        code = proc.wait(timeout=300)
        machine.settle()
        print(f"Korvel ended with exit code {code}.\n")
        print("C:\\ZebLog.txt:")
        for line in machine.log_lines():
            print("    " + line.replace("\t", " -> "))
        installed = machine.file("C:\\Program Files\\Korvel Example Runtime\\runtime.txt")
        print()
        if os.path.exists(installed):
            print("Installed by the example MSI: C:\\Program Files\\Korvel Example Runtime\\runtime.txt")
        else:
            print("The example MSI's file is missing from C:\\Program Files\\Korvel Example Runtime.")
        if os.path.exists(screenshot):
            print(f"Screenshot taken during the countdown: {screenshot}")
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=machine.env)
    return 0 if code == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
