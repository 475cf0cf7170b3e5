#!/usr/bin/python3
"""Lists the accessible tree of the running velmor program through AT-SPI,
one line per object ("role: name"), and fails when a control a user can
focus or press has no name, or when one of the names given on the command
line is missing. What screen readers, switch access and voice control see
is exactly this tree."""
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST,
    pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_MENU_ITEM,
}


def find_app():
    for _ in range(200):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and (app.name or "").lower() == "velmor":
                # The window appears a moment after the application object.
                if app.childCount > 0:
                    return app
        time.sleep(0.1)
    return None


def walk(node, depth, lines, unnamed):
    try:
        role = node.getRole()
        name = node.name or ""
        lines.append("%s%s: %s" % ("  " * depth, node.getRoleName(), name))
        if role in CONTROLS and not name.strip():
            unnamed.append("%s under %s" % (node.getRoleName(), node.parent.name if node.parent else "?"))
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child, depth + 1, lines, unnamed)
    except Exception as e:  # an object going away while we look
        lines.append("%s(gone: %s)" % ("  " * depth, e))


def main():
    app = find_app()
    if app is None:
        print("FAIL: velmor is not on the accessibility bus")
        return 1
    lines, unnamed = [], []
    walk(app, 0, lines, unnamed)
    print("\n".join(lines))
    names = "\n".join(lines)
    missing = [n for n in sys.argv[1:] if (": " + n) not in names]
    if unnamed:
        print("FAIL: controls without a name: " + "; ".join(unnamed))
    if missing:
        print("FAIL: not in the tree: " + "; ".join(missing))
    return 1 if unnamed or missing else 0


if __name__ == "__main__":
    sys.exit(main())
