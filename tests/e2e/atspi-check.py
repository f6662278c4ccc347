#!/usr/bin/python3
"""Morvane as a screen reader sees it, through the AT-SPI bus.

Run by morvane-e2e.sh (flow "accessibility") with the program already started under
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on a private session bus with its accessibility bus, on the
X display in DISPLAY. Reads the dialogs' tree (roles, names, label relations), makes a
keyboard-only search by code with xdotool, then changes a text and selects a row through the
bus and checks that the program's search and result fields follow.

    atspi-check.py DATA_DIR
Exit status 0 when every check holds; 1 with the failed check on stderr.
"""

import subprocess
import sys
import time

import pyatspi

TIMEOUT_S = 20


def fail(what):
    print(f"atspi: FAIL: {what}", file=sys.stderr)
    sys.exit(1)


def ok(what):
    print(f"atspi: ok: {what}")


def wait_for(what, condition):
    """Polls condition until it returns something true, and returns that; fails after the
    timeout with what it saw last."""
    deadline = time.monotonic() + TIMEOUT_S
    seen = None
    while time.monotonic() < deadline:
        try:
            seen = result = condition()
        except Exception as error:  # an object gone while its dialog changed
            seen, result = f"({error})", None
        if result:
            ok(what)
            return result
        time.sleep(0.1)
    fail(f"{what}: saw {seen!r}")
    return None


def named_list(window, name):
    found = the_list(window)
    return found if found is not None and found.name == name else None


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)


def fresh(accessible):
    accessible.clearCache()
    return accessible


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "morvane":
            return fresh(app)
    return None


def dialog(name):
    """The program's dialog window of that title, while it is the active one."""
    app = program()
    if app is None:
        return None
    for window in app:
        if window is None:
            continue
        fresh(window)
        if window.name == name and window.getState().contains(pyatspi.STATE_ACTIVE):
            return window
    return None


def controls(window):
    """Every edit, list, label and button of a dialog, in the dialog's order."""
    found = []
    for child in window:
        if child is not None:
            found.append(fresh(child))
    return found


def by_name(window, role, name):
    for child in controls(window):
        if child.getRole() == role and child.name == name:
            return child
    return None


def edits(window):
    return [c for c in controls(window) if c.getRole() == pyatspi.ROLE_TEXT]


def the_list(window):
    lists = [c for c in controls(window) if c.getRole() == pyatspi.ROLE_LIST]
    return lists[0] if len(lists) == 1 else None


def text_of(accessible):
    text = fresh(accessible).queryText()
    return text.getText(0, text.characterCount)


def labelled_by(accessible):
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def check_names(window, expected):
    """expected: (name, label or None) of each edit and the list, in the dialog's order."""
    shown = []
    for control in controls(window):
        if control.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_LIST):
            shown.append((control.name, labelled_by(control)))
    if shown != expected:
        fail(f"names and labels of '{window.name}': expected {expected}, saw {shown}")
    ok(f"every edit and the list of '{window.name}' named, labelled where a static names it")


def read_records(data_dir):
    with open(f"{data_dir}/KEN_ALL.CSV", "rb") as data:
        for line in data.read().decode("cp932").splitlines():
            yield [column.strip('"') for column in line.split(",")]


def main():
    data_dir = sys.argv[1]
    records = list(read_records(data_dir))
    code_rows = [r for r in records if r[2] == "1000001"]
    osaka_rows = [r for r in records if r[6] == "大阪府"]
    if not code_rows or len(osaka_rows) < 6:
        fail("the data file lacks 100-0001 or 大阪府")

    menu = wait_for("the main menu, a dialog", lambda: dialog("Morvane"))
    if menu.getRole() != pyatspi.ROLE_DIALOG:
        fail(f"the main menu's role: {menu.getRoleName()}")
    keys("Return")  # its first button, which has the focus: 郵便番号から住所を検索

    code = wait_for("the code search, active", lambda: dialog("郵便番号から住所を検索"))
    if code.getRole() != pyatspi.ROLE_DIALOG:
        fail(f"the code search's role: {code.getRoleName()}")
    check_names(code, [
        ("郵便番号", "郵便番号"),
        ("郵便番号 下4桁", None),
        ("検索結果 0件", None),
        ("都道府県", "都道府県"),
        ("市区町村", "市区町村"),
        ("町域", "町域"),
        ("すべて", "すべて"),
    ])

    # Keys only: the code in the two boxes, Tab to 検索, Enter, Tab twice to the list, Down.
    type_text("100")
    keys("Tab")
    type_text("0001")
    keys("Tab", "Return")
    counted = f"検索結果 {len(code_rows)}件"
    result_list = wait_for(f"the list named '{counted}' after the search",
                           lambda: named_list(code, counted))
    keys("Tab", "Tab", "Down")
    first = code_rows[0]
    prefecture = by_name(code, pyatspi.ROLE_TEXT, "都道府県")
    city = by_name(code, pyatspi.ROLE_TEXT, "市区町村")
    wait_for("the first Down fills the result fields",
             lambda: text_of(prefecture) == first[6] and text_of(city) == first[7])
    row = fresh(result_list.getChildAtIndex(0))
    state = row.getState()
    if not (state.contains(pyatspi.STATE_SELECTED) and state.contains(pyatspi.STATE_FOCUSED)):
        fail(f"row 0 after the first Down: states {state.getStates()}")
    ok("row 0 selected and focused")
    keys("Tab")  # to the prefecture field: the list's row no longer has the focus
    wait_for("no row focused once the focus left the list",
             lambda: not fresh(result_list.getChildAtIndex(0)).getState().contains(
                 pyatspi.STATE_FOCUSED))

    # Back to the main menu (Tab to 戻る, Enter), then the search by name.
    keys("Tab", "Tab", "Tab", "Tab", "Return")
    menu = wait_for("the main menu again", lambda: dialog("Morvane"))
    button = by_name(menu, pyatspi.ROLE_PUSH_BUTTON, "住所から郵便番号を検索")
    if button is None:
        fail("no button 住所から郵便番号を検索 in the main menu")
    keys("Tab", "Return")
    names = wait_for("the search by name, active", lambda: dialog("住所から郵便番号を検索"))
    check_names(names, [
        ("都道府県", "都道府県"),
        ("市区町村", "市区町村"),
        ("町域", "町域"),
        ("検索結果 0件", None),
        # named apart from the search boxes of the same labels
        ("結果の都道府県", None),
        ("結果の市区町村", None),
        ("結果の町域", None),
        ("結果のすべて", None),
    ])

    # A text set through the bus is what the search searches.
    prefecture_box = edits(names)[0]
    if prefecture_box.name != "都道府県":
        fail(f"the first box of the search by name is '{prefecture_box.name}'")
    prefecture_box.queryEditableText().setTextContents("大阪府")
    wait_for("the box shows the text set through the bus",
             lambda: text_of(prefecture_box) == "大阪府")
    keys("Tab", "Tab", "Tab", "Return")  # city, town, 検索
    counted = f"検索結果 {len(osaka_rows)}件"
    result_list = wait_for(f"the search for the text set: the list named '{counted}'",
                           lambda: named_list(names, counted))

    # A row selected through the bus fills the result fields as a click does.
    row = fresh(result_list.getChildAtIndex(5))
    action = row.queryAction()
    toggles = [i for i in range(action.nActions) if action.getName(i) == "Toggle"]
    if not toggles:
        fail(f"row 5 has no Toggle action: {[action.getName(i) for i in range(action.nActions)]}")
    action.doAction(toggles[0])
    fields = edits(names)[3:]
    wait_for("row 5 selected through the bus fills the result fields",
             lambda: text_of(fields[0]) == osaka_rows[5][6] and
             text_of(fields[1]) == osaka_rows[5][7])
    return 0


if __name__ == "__main__":
    sys.exit(main())
