#!/usr/bin/python3
# Opens the controller window of a fenestrix program on a simulated bus with one controller, as a
# technician would, and reads through the desktop's accessibility interface whether the window
# shows its picture and whether the EEPROM dialog shows the descriptions of the page's file.
# Prints "picture: shown|missing" and "descriptions: shown|missing"; exits 0 when both are shown.
# Needs a D-Bus session and an X display:
#   dbus-run-session -- xvfb-run -a window-files-check.py PROGRAM DESCRIPTION_FILE LANGUAGE_TABLE
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

# The size of the picture's label, which is an image only while it holds a picture; the
# missing-file text ends with text 366.
PICTURE_SIZE = (348, 350)
TIMEOUT_S = 40


def language_texts(table_path):
    """German texts by id, as the program shows them without a settings file."""
    texts = {}
    with open(table_path, encoding="utf-8") as table:
        for line in table:
            cells = line.rstrip("\n").split("\t")
            if len(cells) > 1 and cells[0].isdigit():
                texts[int(cells[0])] = cells[1]
    return texts


def descriptions(path):
    with open(path, "rb") as file:
        lines = file.read().decode("cp1252").split("\r\n")[:64]
    return {line for line in lines if line.strip()}


def walk(node):
    """Every accessible object below node, depth first."""
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from walk(child)


def wait_for(what, find, timeout=TIMEOUT_S):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.5)
    raise SystemExit(f"timed out waiting for {what}")


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def enabled_button(root, name):
    for node in walk(root):
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name:
            if node.getState().contains(pyatspi.STATE_ENABLED):
                return node
    return None


def press(node):
    """Presses a button. A button that opens a modal window answers only when that window
    closes, so the call is given a short time and its missing answer is expected."""
    action = node.queryAction()
    index = next((i for i in range(action.nActions) if action.getName(i) == "Press"), 0)
    Atspi.set_timeout(2000, 0)
    try:
        action.doAction(index)
    except GLib.Error:
        pass


def picture_outcome(window, missing_text):
    for node in walk(window):
        role = node.getRole()
        if role == pyatspi.ROLE_LABEL and node.name.endswith(missing_text):
            return "missing"
        if role == pyatspi.ROLE_IMAGE:
            extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if (extents.width, extents.height) == PICTURE_SIZE:
                return "shown"
    return None


def main():
    program, description_file, table_path = sys.argv[1:4]
    texts = language_texts(table_path)
    expected = descriptions(description_file)
    work = tempfile.mkdtemp(prefix="fenestrix-window-")
    bus = os.path.join(work, "bus.json")
    with open(bus, "w") as file:
        file.write('{ "controllers": [ { "kind": "turnTilt", "address": 1 } ] }\n')
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=work)
    tool = subprocess.Popen([program, "--simulate", bus], cwd=work, env=env)
    try:
        app = wait_for("the program", lambda: application(tool.pid))
        press(wait_for("the scan dialog", lambda: enabled_button(app, texts[92])))
        # After the scan the controller is the current row: "Eigenschaften" opens its window.
        press(wait_for("the scanned list", lambda: enabled_button(app, texts[54])))
        eeprom = wait_for("the controller window", lambda: enabled_button(app, texts[49]))
        window = eeprom
        while window.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME):
            window = window.parent
        try:
            picture = wait_for("the window picture", lambda: picture_outcome(window, texts[366]))
        except SystemExit:
            picture = "missing"
        print(f"picture: {picture}", flush=True)

        press(eeprom)
        seen = set()

        def description_cells():
            for node in walk(app):
                if node.getRole() == pyatspi.ROLE_TABLE_CELL and node.name in expected:
                    seen.add(node.name)
            return True if seen == expected else None

        try:
            wait_for("the descriptions", description_cells, timeout=15)
            shown = "shown"
        except SystemExit:
            shown = "missing"
        print(f"descriptions: {shown} ({len(seen)} of {len(expected)} lines)", flush=True)
        return 0 if picture == shown == "shown" else 1
    finally:
        tool.terminate()
        try:
            tool.wait(10)
        except subprocess.TimeoutExpired:
            tool.kill()


if __name__ == "__main__":
    sys.exit(main())
