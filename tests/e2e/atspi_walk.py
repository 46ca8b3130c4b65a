"""Reads the running program over AT-SPI as a screen reader does.

Run inside a private D-Bus session with DISPLAY set: starts the accessibility bus and the
program, walks every window's accessible tree as each window comes up, operates the program
through AT-SPI actions only (links, menus, buttons, text), and prints an Orca-style dump of each
tree. Exits 0 when every check passed, 1 otherwise, 77 when the accessibility bus cannot start.

Usage: atspi_walk.py PROGRAM LINK_FILE
LINK_FILE is where the stub link opener writes each link it is given, one a line.
"""
import os
import subprocess
import sys
import time

import dbus

LAUNCHER = '/usr/libexec/at-spi-bus-launcher'
REFERRAL = 'http://www.rudirivezodo.example/home.asp?refid=kzb2000'
MAIL = 'mailto:kelto@example.com'
# Long enough to take more than one line in the pop-up's box.
MESSAGE = 'Stand up and stretch, drink a glass of water and rest your eyes for a minute'
# What a click opens or does; each must offer the press action.
CLICKABLE = {'Click here to join Rud Irivezodo for free!', 'Rud Irivezodo',
             'kelto@example.com', 'Take a break!'}
# Roles of what holds other controls and is never read by itself.
UNNAMED_ROLES = {'filler', 'menu bar', 'popup menu', 'separator', 'scroll bar', 'application'}

failures = []


def fail(what):
    print('FAIL: ' + what, flush=True)
    failures.append(what)


program_pid = None
launcher = subprocess.Popen([LAUNCHER, '--launch-immediately'])
program = None


def finish(code):
    # Ends exactly what this script started.
    for proc in (program, launcher):
        if proc and proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
    sys.exit(code)


session = dbus.SessionBus()
for _ in range(200):
    if session.name_has_owner('org.a11y.Bus'):
        break
    time.sleep(0.05)
else:
    print('SKIP: the accessibility bus did not start')
    finish(77)

import pyatspi  # noqa: E402  (needs the accessibility bus up)
from gi.repository import GLib  # noqa: E402

name_changes = []


def on_name_change(event):
    name_changes.append((event.source.description, event.source.name))


pyatspi.Registry.registerEventListener(on_name_change, 'object:property-change:accessible-name')

# What a screen reader follows to read a window that comes: its activation, then the control
# that has the focus in it. Each entry: the event's type and detail1, its source's role, and the
# title and description of the source's window, read when the event comes.
attention = []


def on_attention(event):
    try:
        node = event.source
        role = node.getRoleName()
        while node is not None and node.getRoleName() not in ('frame', 'dialog', 'alert'):
            node = node.parent
        attention.append((event.type, event.detail1, role, node.name if node else None,
                          node.description if node else None))
    except Exception:  # a source already gone says nothing of the window that comes
        pass


for kind in ('window:activate', 'object:state-changed:focused'):
    pyatspi.Registry.registerEventListener(on_attention, kind)

env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb')
program = subprocess.Popen([sys.argv[1]], env=env)
link_file = sys.argv[2]


def pump(seconds, until=lambda: False):
    """Lets AT-SPI events arrive for up to `seconds`, or until `until()` holds."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        if until():
            return True
        time.sleep(0.05)
    return until()


def application():
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == program.pid:
                return app
        except Exception:
            pass
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def windows(title):
    app = application()
    if app is None:
        return []
    # What AT-SPI keeps of the program (names, states) may lag behind it; read it afresh.
    app.clear_cache()
    found = []
    for window in app:
        try:
            if window is not None and window.name == title and showing(window):
                found.append(window)
        except Exception:
            pass
    return found


def wait_window(title, seconds=20):
    result = []

    def up():
        result[:] = windows(title)
        return bool(result)

    return result[0] if pump(seconds, up) else None


def find(window, role, name):
    return pyatspi.findDescendant(window, lambda n: n.getRoleName() == role and n.name == name)


def actions(node):
    try:
        act = node.queryAction()
    except NotImplementedError:
        return []
    return [act.getName(i) for i in range(act.nActions)]


def press(node, action='Press'):
    act = node.queryAction()
    for i in range(act.nActions):
        if act.getName(i) == action:
            act.doAction(i)
            return
    fail(f'{node.getRoleName()} "{node.name}" has no {action} action')


def is_picture(node):
    if node.getRoleName() == 'image':
        return True
    try:
        node.queryImage()
        return True
    except NotImplementedError:
        return False


def describe(node):
    """One line of the dump: what a screen reader says of the node."""
    role = node.getRoleName()
    line = role
    if node.name:
        line += f' "{node.name}"'
    if node.description:
        line += f' ({node.description})'
    states = node.getState()
    if role in ('text', 'entry'):
        text = node.queryText()
        value = text.getText(0, text.characterCount)
        line += f' value "{value}"'
        if not states.contains(pyatspi.STATE_EDITABLE):
            line += ' read-only'
    if role in ('radio button', 'check menu item', 'check box', 'radio menu item'):
        line += ' checked' if states.contains(pyatspi.STATE_CHECKED) else ' not checked'
    if not states.contains(pyatspi.STATE_ENABLED) and role not in UNNAMED_ROLES:
        line += ' dimmed'
    for relation in node.getRelationSet():
        # Qt also names each control's frame; a label tied to the control is what matters.
        label = relation.getTarget(0)
        if (relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                and label.getRoleName() == 'label'):
            line += f' labelled by "{label.name}"'
    names = actions(node)
    if names:
        line += ' [' + ', '.join(names) + ']'
    return line


def walk(window):
    """Checks the showing part of a window's tree and returns its dump."""
    lines = []
    found = {}

    def visit(node, depth):
        if node is None or not showing(node):
            return
        role = node.getRoleName()
        lines.append('  ' * depth + describe(node))
        where = f'{role} "{node.name}" in "{window.name}"'
        if not node.name and role not in UNNAMED_ROLES:
            fail(f'{role} without a name in "{window.name}"')
        if '&' in node.name:
            fail(f'access-key marker in {where}')
        if is_picture(node) and not node.description:
            fail(f'picture without a description: {where}')
        if (node.name in CLICKABLE or role == 'link') and 'Press' not in actions(node):
            fail(f'clickable {where} offers no press action')
        found.setdefault(node.name, node)
        for child in node:
            visit(child, depth + 1)

    visit(window, 0)
    print('\n'.join(lines) + '\n', flush=True)
    return found


def focus_read_after_activation(title):
    """Whether a control of window `title` was announced focused after the last announcement
    that the window was activated. Qt announces an activation twice, first before its own
    state has changed; a screen reader reads the window from the focus that follows."""
    last = [i for i, (kind, _, _, window, _) in enumerate(attention)
            if kind == 'window:activate' and window == title]
    return bool(last) and any(kind.endswith(':focused') and detail and role != 'frame'
                              and window == title
                              for kind, detail, role, window, _ in attention[last[-1] + 1:])


def read_on_activation(title):
    """The description of window `title` as its last activation came: a screen reader reads
    the window's title and description when it is activated, before it gets to the focus."""
    read = [description for kind, _, _, window, description in attention
            if kind == 'window:activate' and window == title]
    return read[-1] if read else None


def line_at_caret(node):
    """The line a screen reader reads of a text box that gets the focus: the one with the
    caret."""
    text = node.queryText()
    return text.getTextAtOffset(max(text.caretOffset, 0), pyatspi.TEXT_BOUNDARY_LINE_START)[0]


def give_keyboard_focus(window, title):
    """Gives the window the X input focus, as the user does by going to it, and waits until
    it is the active window."""
    search = subprocess.run(['xdotool', 'search', '--all', '--onlyvisible',
                             '--pid', str(program.pid), '--name', f'^{title}$'],
                            capture_output=True, text=True, timeout=10)
    ids = search.stdout.split()
    if len(ids) != 1:
        fail(f'{len(ids)} X windows named "{title}" to give the focus to')
        return
    subprocess.run(['xdotool', 'windowfocus', '--sync', ids[0]], timeout=10)

    def active():
        window.clear_cache()
        return window.getState().contains(pyatspi.STATE_ACTIVE)

    if not pump(10, active):
        fail(f'"{title}" is not the active window after it was given the focus')


def links():
    try:
        with open(link_file) as f:
            return f.read().split()
    except FileNotFoundError:
        return []


def expect_links(expected):
    if not pump(15, lambda: links() == expected):
        fail(f'links opened: {links()}, expected {expected}')


def open_from_menu(main, entry, title, command, heading):
    """Presses a menu entry of the main window; walks and returns the window it opens."""
    press(find(main, 'menu item', entry))
    window = wait_window(title)
    if window is None:
        fail(f'{command} opens no window')
        return None, None
    print(f'=== {heading}')
    return window, walk(window)


def run():
    ad = wait_window('Advertisement')
    main = wait_window('Kelto Zelbo Break')
    if ad is None or main is None:
        fail('the advertisement and the main window do not come up over AT-SPI')
        return

    print('=== The advertisement')
    ad_controls = walk(ad)
    press(ad_controls['Click here to join Rud Irivezodo for free!'])
    press(ad_controls['Rud Irivezodo'])
    expect_links([REFERRAL, REFERRAL])

    print('=== The main window')
    controls = walk(main)

    about, about_controls = open_from_menu(main, 'About', 'About', 'Help, About',
                                           'The About window')
    if about is not None:
        press(about_controls['kelto@example.com'])
        expect_links([REFERRAL, REFERRAL, MAIL])
        press(about_controls['Ok'])

    editor, editor_controls = open_from_menu(main, 'Message', 'Message', 'Options, Message',
                                              'The message editor')
    if editor is not None:
        box = find(editor, 'text', 'This message will be displayed when the alarm goes off:')
        if box is None:
            fail('the message box is not named by its prompt')
        else:
            box.queryEditableText().setTextContents(MESSAGE)
        press(editor_controls['Ok'])

    # The user goes to the main window, types the minutes into the box and presses Begin, and
    # does nothing more until the pop-up comes: the pop-up takes the activation from the main
    # window.
    give_keyboard_focus(main, 'Kelto Zelbo Break')
    box = find(main, 'text', 'Minutes:')
    if box is None:
        fail('no text box named "Minutes:" in the main window')
        return
    box.queryComponent().grabFocus()
    box.queryEditableText().setTextContents('1')
    press(controls['Begin'])
    begun = time.monotonic()
    if not pump(15, lambda: ('Seconds left', '58') in name_changes):
        fail(f'no name change of the seconds display reached AT-SPI: {name_changes[-5:]}')

    print('=== The main window, counting down')
    walk(main)

    popup = wait_window('Window Popup', 75 - (time.monotonic() - begun))
    if popup is None:
        fail('no pop-up a minute after Begin')
    else:
        print('=== The pop-up alarm')
        if not pump(5, lambda: focus_read_after_activation('Window Popup')):
            fail('no control of the pop-up was announced focused after its last activation: '
                 f'{[event for event in attention if event[3] == "Window Popup"]}')
        # What it reads as the pop-up comes must be the whole message: of the focused box it
        # reads only the line with the caret.
        read = read_on_activation('Window Popup')
        if read != MESSAGE:
            fail(f'the pop-up\'s activation reads "Window Popup" and "{read}", not the message')
        popup_controls = walk(popup)
        shown = popup_controls.get('Alarm message')
        if shown is None or shown.queryText().getText(0, -1) != MESSAGE:
            fail('the pop-up does not read out the alarm message')
        else:
            print(f'The focused box reads from its caret: "{line_at_caret(shown)}"\n')
        press(popup_controls['Stop'])
        if not pump(15, lambda: not windows('Window Popup')):
            fail('Stop leaves the pop-up open')
        print('=== The main window after Stop')
        walk(main)

    press(controls['Exit'])
    # The farewell window has the main window's caption.
    farewell = None
    pump(2, lambda: any(find(w, 'image', 'Take a break!') for w in windows('Kelto Zelbo Break')))
    for window in windows('Kelto Zelbo Break'):
        if find(window, 'image', 'Take a break!'):
            farewell = window
    if farewell is None:
        fail('Exit shows no farewell window')
    else:
        print('=== The farewell window')
        walk(farewell)
    try:
        code = program.wait(10)
        if code != 0:
            fail(f'exit code {code}')
    except subprocess.TimeoutExpired:
        fail('still running 10 s after Exit')


try:
    run()
except Exception as error:  # a missing control or a dead connection
    fail(f'{type(error).__name__}: {error}')
finish(1 if failures else 0)
