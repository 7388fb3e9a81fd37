#!/usr/bin/python3
"""Reads Quillomat's window through AT-SPI, as a screen reader does, and checks what it hears.

Run it with tools/atspi_check.sh, which starts the program on a virtual display inside its own
D-Bus session. To run it by hand, the program must already be running in the same D-Bus session
with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.

Prints every control of the window (role, name, description, label relations), types a worked
example into the four input boxes when the program accepts text, prints the value labels again,
and exits non-zero if an input box or a value label cannot be told apart from its counterpart.
"""

import sys
import time

import pyatspi

APPLICATION = "Quillomat"
INPUT_NAMES = {"Player 1 base", "Player 1 results", "Player 2 base", "Player 2 results"}
VALUE_DESCRIPTIONS = {"Player 1 percentage", "Player 2 percentage", "Weighted average",
                      "Difference", "Difference needed"}
EXAMPLE = {"Player 1 base": "200", "Player 1 results": "50",
           "Player 2 base": "300", "Player 2 results": "120"}


def find_application(timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == APPLICATION:
                return app
        time.sleep(0.5)
    sys.exit(f"no application named {APPLICATION!r} on the accessibility bus")


def walk(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from walk(child)


def relations(node):
    described = []
    for relation in node.getRelationSet():
        kind = pyatspi.relationToString(relation.getRelationType())
        targets = [relation.getTarget(i) for i in range(relation.getNTargets())]
        described.append(f"{kind.lower()} {', '.join(repr(t.name) for t in targets)}")
    return described


def describe(node):
    line = f"{node.getRoleName():<12} name={node.name!r}"
    if node.getRole() == pyatspi.ROLE_TEXT:
        text = node.queryText()
        line += f" text={text.getText(0, text.characterCount)!r}"
    if node.description:
        line += f" description={node.description!r}"
    for relation in relations(node):
        line += f" [{relation}]"
    return line


def label_of(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def type_example(inputs):
    for node in inputs:
        try:
            editable = node.queryEditableText()
        except NotImplementedError:
            return False
        editable.setTextContents(EXAMPLE[node.name])
    time.sleep(1)
    return True


def main():
    app = find_application()
    window = app[0]
    print(f"application {app.name!r}, window {window.name!r}")
    nodes = list(walk(window))
    for node in nodes:
        print("  " + describe(node))

    inputs = [n for n in nodes if n.name in INPUT_NAMES]
    values = [n for n in nodes if n.description in VALUE_DESCRIPTIONS]
    problems = []
    if sorted(n.name for n in inputs) != sorted(INPUT_NAMES):
        problems.append(f"input boxes found: {[n.name for n in inputs]}")
    if sorted(n.description for n in values) != sorted(VALUE_DESCRIPTIONS):
        problems.append(f"value labels found: {[n.description for n in values]}")
    for node in inputs + values:
        if label_of(node) is None:
            problems.append(f"{node.name or node.description!r} has no label relation")

    if type_example(inputs):
        print("after typing 200, 50, 300, 120 into the four boxes:")
        messages = [n for n in nodes if n.name in ("Verdict", "Warning")]
        for node in inputs + values + messages:
            print("  " + describe(node))
    for problem in problems:
        print("PROBLEM:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
