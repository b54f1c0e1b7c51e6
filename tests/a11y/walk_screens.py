#!/usr/bin/python3
"""Walks the adults' screens as a screen reader sees them over AT-SPI.

For every screen a11y_screens shows: each control on it has a name and a
role; each enabled control takes the keyboard focus (none is left to the
mouse alone); and Tab, pressed through the X server as a person would, visits
every enabled control once, in reading order (top to bottom, left to right,
a group before what follows it), and comes back round.

Arguments: the a11y_screens program and what it is given. Exit status 0 when
every screen passes, 1 otherwise.
"""
import functools
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

# What a person works: a control is not searched inside (a combo box's list,
# a tab bar's tabs are its own business).
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_LIST,
    pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_DOCUMENT_TEXT, pyatspi.ROLE_DOCUMENT_FRAME,
}
# Roles that say nothing of what a focusable object does.
NO_ROLES = {
    pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN, pyatspi.ROLE_FILLER,
    pyatspi.ROLE_PANEL, pyatspi.ROLE_REDUNDANT_OBJECT, pyatspi.ROLE_EXTENDED,
}
# Scroll bars follow the focused view's keys; they are not stops of their own.
SKIPPED_ROLES = {pyatspi.ROLE_SCROLL_BAR}
TIMEOUT = 10
# For the focus to follow a key: ample on a loaded machine, and paid only
# where the focus does not move.
MOVE_TIMEOUT = 5
# A11Y_VERBOSE=1 lists each screen's controls in reading order.
VERBOSE = os.environ.get("A11Y_VERBOSE") == "1"


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found is not None:
            return found
        if time.monotonic() > deadline:
            raise RuntimeError("no " + what + " within %ds" % timeout)
        time.sleep(0.01)


def states(acc):
    acc.clear_cache()
    return acc.getState()


def focusable(acc):
    return states(acc).contains(pyatspi.STATE_FOCUSABLE)


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def reading_order(a, b):
    """Above first; side by side (overlapping rows), left first."""
    ea, eb = extents(a), extents(b)
    if ea.y + ea.height <= eb.y:
        return -1
    if eb.y + eb.height <= ea.y:
        return 1
    return (ea.x - eb.x) or (ea.y - eb.y)


def controls(acc):
    """The controls shown inside acc, in reading order."""
    children = [c for c in acc if c is not None and states(c).contains(pyatspi.STATE_SHOWING)]
    found = []
    for child in sorted(children, key=functools.cmp_to_key(reading_order)):
        role = child.getRole()
        if role in SKIPPED_ROLES:
            continue
        if role in CONTROL_ROLES:
            found.append(child)
            continue
        # A focusable container (a tab widget passes the focus on to its tab
        # bar) is looked inside; anything else focusable is a control.
        inner = controls(child)
        if focusable(child) and not any(focusable(acc) for acc in inner):
            found.append(child)
        else:
            found.extend(inner)
    return found


def labels(acc):
    return [rel.getTarget(i).name.strip() for rel in acc.getRelationSet()
            if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(rel.getNTargets())]


def spoken_name(acc):
    """What a screen reader says the control is: its name, else its label
    (a label whose buddy it is, its group box). A combo box's name is its
    current value on this platform, which says nothing of what it chooses:
    only its label counts."""
    if acc.getRole() != pyatspi.ROLE_COMBO_BOX and acc.name.strip():
        return acc.name.strip()
    return " ".join(label for label in labels(acc) if label)


def describe(acc):
    return "%s %r" % (acc.getRoleName(), spoken_name(acc) or acc.name)


def focused(candidates):
    for index, acc in enumerate(candidates):
        if states(acc).contains(pyatspi.STATE_FOCUSED):
            return index
    return None


def tab_cycle(window, stops):
    """The stops Tab visits from the focus the window starts with, until it
    comes back round; the window itself is index len(stops)."""
    candidates = stops + [window]
    problems = []
    try:
        visited = [wait_for("focus", lambda: focused(candidates), timeout=MOVE_TIMEOUT)]
    except RuntimeError:
        return [], ["the window gives the keyboard to no control"]
    # A lone control keeps the focus.
    for _ in range(len(stops) + 2 if len(stops) > 1 else 0):
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        before = visited[-1]
        try:
            now = wait_for("move", lambda: (lambda f: f if f not in (None, before) else None)(
                focused(candidates)), timeout=MOVE_TIMEOUT)
        except RuntimeError:
            where = focused(candidates)
            problems.append("Tab does not leave %s" % describe(candidates[before])
                            if where == before else
                            "Tab from %s goes where no screen reader can tell"
                            % describe(candidates[before]))
            break
        if now == visited[0]:
            break
        visited.append(now)
    return visited, problems


def check(window_id, key, window):
    """What is wrong with the window, and how many Tab stops it has. The
    window is given the keyboard first, and key pressed, when there is one."""
    problems = []
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)
    if key:
        subprocess.run(["xdotool", "key", key], check=True)
        try:
            wait_for("focus", lambda: focused(controls(window)), timeout=MOVE_TIMEOUT)
        except RuntimeError:
            problems.append(key + " gives the keyboard to no control")
    shown = controls(window)
    if VERBOSE:
        print("  " + " > ".join(describe(acc) for acc in shown))
    for acc in shown:
        if not spoken_name(acc):
            problems.append("%s has no name" % describe(acc))
        if acc.getRole() in NO_ROLES:
            problems.append("%s has no role that says what it does" % describe(acc))
    enabled = [acc for acc in shown if states(acc).contains(pyatspi.STATE_ENABLED)]
    stops = [acc for acc in enabled if focusable(acc)]
    for acc in enabled:
        if acc not in stops:
            problems.append("%s can only be reached with the mouse" % describe(acc))
    if not stops:
        return problems, 0
    visited, tab_problems = tab_cycle(window, stops)
    problems += tab_problems
    # Radio buttons side by side are one stop: Tab reaches the checked one,
    # the arrows the others.
    group = list(range(len(stops)))
    for i in range(1, len(stops)):
        if (stops[i].getRole() == stops[i - 1].getRole() == pyatspi.ROLE_RADIO_BUTTON
                and stops[i].parent == stops[i - 1].parent):
            group[i] = group[i - 1]
    expected = sorted(set(group))
    # The window itself may take the focus between its last control and its
    # first: a stop that names the window, not a control out of place.
    order = [group[i] for i in visited if i < len(stops)]
    if order and 0 in order:
        first = order.index(0)
        order = order[first:] + order[:first]
    missed = [describe(stops[i]) for i in expected if i not in order]
    if missed:
        problems.append("Tab never reaches " + ", ".join(missed))
    elif order != expected:
        problems.append("Tab goes " + " > ".join(describe(stops[i]) for i in order)
                        + ", reading order is "
                        + " > ".join(describe(stops[i]) for i in expected))
    return problems, len(visited)


def main():
    program = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               text=True)
    failed = 0
    try:
        for line in program.stdout:
            fields = line.rstrip("\n").split("\t")
            if fields[0] != "screen":
                break
            label, name, window_id, key = fields[1:5]
            started = time.monotonic()

            def window():
                for app in pyatspi.Registry.getDesktop(0):
                    if app is not None and app.get_process_id() == program.pid:
                        app.set_cache_mask(Atspi.Cache.NONE)
                        for win in app:
                            if (win is not None and win.name == name
                                    and states(win).contains(pyatspi.STATE_SHOWING)):
                                return win
                return None

            shown = wait_for("window %r on the bus" % name, window)
            problems, presses = check(window_id, key, shown)
            print("%-28s %2d Tab stops, %.1fs" % (label, presses, time.monotonic() - started))
            for problem in problems:
                print("  FAIL: " + problem)
            failed += bool(problems)
            program.stdin.write("next\n")
            program.stdin.flush()
        else:
            print("FAIL: the screens program ended early")
            return 1
    finally:
        program.stdin.close()
        program.wait(timeout=TIMEOUT)
    if program.returncode != 0:
        print("FAIL: the screens program ended with status %d" % program.returncode)
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
