# What a screen reader finds in the program's windows, read through AT-SPI (pyatspi).
#
#   atspi.py text WINDOW NAME   prints the text of the element named NAME (a spin box's "150.0 mm",
#                               a text field's contents, else its name)
#   atspi.py has WINDOW TEXT    succeeds when an element's name or text contains TEXT
#   atspi.py press WINDOW NAME  does what the element named NAME does when pressed (its first
#                               action: a button's press, a check box's toggle), as a screen
#                               reader's user does
#   atspi.py unnamed WINDOW     prints the elements a user can reach with Tab (shown, focusable)
#                               that have no name, a line each; fails when there is one
#   atspi.py dump WINDOW        prints the window's elements, a line each
#
# WINDOW is a regular expression for a top-level window's name (its title). Each command waits up
# to ten seconds for what it looks for, as a screen reader's user would for a window to settle.
import re
import sys
import time

import pyatspi


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return ""


def elements(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from elements(child, depth + 1)


def windows(pattern):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is not None and re.search(pattern, window.name or ""):
                yield window


def until(find):
    end = time.monotonic() + 10
    while True:
        try:
            found = find()
        except Exception:  # an element that went away while it was read
            found = None
        if found is not None or time.monotonic() > end:
            return found
        time.sleep(0.2)


def main(command, pattern, *rest):
    if command == "text":
        (name,) = rest
        found = until(lambda: next((text_of(n) or n.name for w in windows(pattern)
                                    for n, _ in elements(w) if n.name == name), None))
        if found is None:
            sys.exit("atspi: no element named %r in a window %r" % (name, pattern))
        print(found)
    elif command == "has":
        (wanted,) = rest
        found = until(lambda: next((True for w in windows(pattern) for n, _ in elements(w)
                                    if wanted in (n.name or "") or wanted in text_of(n)), None))
        sys.exit(0 if found else 1)
    elif command == "press":
        (name,) = rest
        found = until(lambda: next((n for w in windows(pattern) for n, _ in elements(w)
                                    if n.name == name), None))
        if found is None:
            sys.exit("atspi: no element named %r in a window %r" % (name, pattern))
        found.queryAction().doAction(0)
    elif command == "unnamed":
        def reachable(node):
            states = node.getState()
            return (states.contains(pyatspi.STATE_SHOWING) and
                    states.contains(pyatspi.STATE_FOCUSABLE))
        found = until(lambda: next(windows(pattern), None))
        if found is None:
            sys.exit("atspi: no window %r" % pattern)
        nameless = ["%s %r in %s %r" % (n.getRoleName(), text_of(n)[:40], n.parent.getRoleName(), n.parent.name) for n, _ in elements(found)
                    if reachable(n) and not (n.name or "").strip()]
        print("\n".join(nameless))
        sys.exit(1 if nameless else 0)
    elif command == "dump":
        for window in windows(pattern):
            for node, depth in elements(window):
                print("%s%s %r %r" % ("  " * depth, node.getRoleName(), node.name,
                                      text_of(node)[:80]))
    else:
        sys.exit("atspi: unknown command " + command)


if __name__ == "__main__":
    main(*sys.argv[1:])
