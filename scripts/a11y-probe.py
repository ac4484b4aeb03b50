"""Reads and works the running program through the accessibility bus (AT-SPI)."""
import sys
import time

import pyatspi


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def walk(node, out, depth=0):
    out.append(node)
    for child in node:
        if child is not None and depth < 40:
            walk(child, out, depth + 1)
    return out


def find(nodes, name, role):
    return next((n for n in nodes if n.name == name and n.getRoleName() == role), None)


def text_of(node):
    return node.queryText().getText(0, -1)


def main():
    app = find_app(sys.argv[1] if len(sys.argv) > 1 else "qt8800")
    if app is None:
        print("FAIL: the program is not on the accessibility bus")
        return 1
    time.sleep(2)   # the start-up read
    nodes = walk(app, [])
    failures = []
    passed = []

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        (passed if ok else failures).append(what)

    status = next((n for n in nodes if n.getRoleName() == "status bar"), None)
    check(status is not None and status.childCount == 4, "status bar with four panels")
    if status is not None:
        print("      port:", repr(status[0].name), " message:", repr(status[3].name))
        check(status[0].name.startswith("COM1"), "port panel names the port")

    spin = find(nodes, "Messbereich in Ionen/cm³", "spin button")
    check(spin is not None, "range selector is a named spin button")
    if spin is not None:
        action = spin.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        before = spin.queryValue().currentValue
        check("Increase" in names and "Decrease" in names, "selector steps: %s" % names)
        print("      caption:", repr(text_of(spin)), " position:", before)
        action.doAction(names.index("Increase"))
        time.sleep(0.5)
        check(spin.queryValue().currentValue == (before + 1) % 10, "a step over the bus moves the selector")
        print("      now:", repr(text_of(spin)))
        action.doAction(names.index("Decrease"))

    edit = find(nodes, "Intervall", "spin button")
    check(edit is not None and edit.getState().contains(pyatspi.STATE_EDITABLE), "polarity interval is an editable spin button")
    for name, role in (("Verzeichnis für Messdaten wählen", "push button"), ("Speicherbelegung abfragen", "push button"),
                       ("Manuelle Speicherung", "push button"), ("Nullpunktabgleich", "push button"),
                       ("Speichern", "check box")):
        check(find(nodes, name, role) is not None, "%s %r" % (role, name))
    print("%d passed, %d failed" % (len(passed), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
