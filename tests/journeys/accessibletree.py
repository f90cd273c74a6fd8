#!/usr/bin/python3
# Reads a running program as a screen reader does, through the desktop's
# accessibility bus: the program is the application of that process id.
#   accessibletree.py PID walk         one line a shown node: "role<TAB>name",
#                                      and "unnamed<TAB>role<TAB>path" for a
#                                      control a screen reader cannot name
#   accessibletree.py PID press NAME   presses the first shown control of that
#                                      name with its own action; "pressed"
import sys

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_LIST_ITEM,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_SPIN_BUTTON,
}


def nodes(node, path=""):
    for index, child in enumerate(node):
        # Out of sight in a scrolled list counts; a zero-sized holder may
        # hold shown controls.
        if child is not None:
            if child.getState().contains(pyatspi.STATE_VISIBLE):
                yield child, f"{path}/{index}"
            yield from nodes(child, f"{path}/{index}")


def main():
    pid, command = int(sys.argv[1]), sys.argv[2]
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid), None)
    if app is None:
        print("no application")
        return 1
    for node, path in nodes(app):
        role, name = node.getRole(), node.name or ""
        if command == "walk":
            print(f"{node.getRoleName()}\t{name}")
            if role in CONTROLS and not name.strip():
                print(f"unnamed\t{node.getRoleName()}\t{path}")
        elif command == "press" and role in CONTROLS and name == sys.argv[3]:
            action = node.queryAction()
            names = [action.getName(i).lower() for i in range(action.nActions)]
            for wanted in ("press", "toggle"):
                if wanted in names:
                    action.doAction(names.index(wanted))
                    print("pressed")
                    return 0
            print("no action")
            return 1
    return 0


sys.exit(main())
