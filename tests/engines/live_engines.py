#!/usr/bin/env python3
"""The method typed live in fcitx5 and IBus, as a learner would.

Each engine runs for real on a private Xvfb display with a private D-Bus
session bus, a private home and the exported tables installed in the user's
folders; a GTK 3 program (live_client.py) holds the focus, and xdotool types
into it. What arrives is compared, step by step, with what the tutor enters
for the same keys (quorvel_tutor_keys, the tutor's own candidate search):
code+digit for every candidate of a sample of codes, unique four-letter
codes that must commit at once, and a sentence of a shipped text with its
Chinese punctuation. Under IBus a lone four-letter candidate waits for the
next key (the export leaves ibus-table's AUTO_COMMIT off, which would also
commit lone three-letter codes): there the code alone must enter nothing,
and Space then the tutor's text.

Exits 77 only when an engine's packages are not installed (both missing)."""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

GTK_IM = '/usr/lib/{arch}/gtk-3.0/3.0.0/immodules/im-{name}.so'


def arch():
    try:
        return subprocess.run(['dpkg-architecture', '-qDEB_HOST_MULTIARCH'], capture_output=True,
                              text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return 'x86_64-linux-gnu'


def missing(programs, files):
    return [p for p in programs if not shutil.which(p)] + [f for f in files if not os.path.exists(f)]


def wait_for(what, test, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = test()
        if result:
            return result
        time.sleep(0.2)
    raise RuntimeError(f'timed out after {timeout} s waiting for {what}')


class Desktop:
    """Xvfb, a session bus and a home of their own; every process started
    here is ended by its id when the desktop closes."""

    def __init__(self, root):
        self.root = root
        self.procs = []
        home = os.path.join(root, 'home')
        runtime = os.path.join(root, 'runtime')
        for d in (home, runtime):
            os.makedirs(d, mode=0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ('DISPLAY', 'WAYLAND_DISPLAY', 'DBUS_SESSION_BUS_ADDRESS',
                                 'GTK_IM_MODULE', 'QT_IM_MODULE', 'XMODIFIERS', 'IBUS_ADDRESS')}
        self.env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'),
                        XDG_DATA_HOME=os.path.join(home, '.local/share'),
                        XDG_CACHE_HOME=os.path.join(home, '.cache'), XDG_RUNTIME_DIR=runtime,
                        LANG='C.UTF-8', LC_ALL='C.UTF-8', NO_AT_BRIDGE='1',
                        GSETTINGS_BACKEND='memory', GDK_BACKEND='x11')
        read, write = os.pipe()
        self.start(['Xvfb', '-displayfd', str(write), '-screen', '0', '1024x768x24',
                    '-nolisten', 'tcp'], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            self.env['DISPLAY'] = ':' + f.readline().strip()
        bus = self.start(['dbus-daemon', '--session', '--nofork', '--print-address=1',
                          '--address=unix:path=' + os.path.join(runtime, 'bus')],
                         stdout=subprocess.PIPE)
        self.env['DBUS_SESSION_BUS_ADDRESS'] = bus.stdout.readline().decode().strip()

    def start(self, argv, **kw):
        kw.setdefault('stdout', subprocess.DEVNULL)
        kw.setdefault('stderr', open(os.path.join(self.root, 'log.txt'), 'ab'))
        proc = subprocess.Popen(argv, env=getattr(self, 'env', os.environ), start_new_session=True,
                                **kw)
        self.procs.append(proc)
        return proc

    def run(self, argv, timeout=30, check=True):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout,
                              check=check)

    def on_close(self, argv):
        self.closing = argv

    def close(self):
        if getattr(self, 'closing', None):
            self.run(self.closing, check=False)
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()


class Client:
    def __init__(self, desktop, here):
        self.desktop = desktop
        self.file = os.path.join(desktop.root, 'typed.txt')
        python = '/usr/bin/python3' if os.path.exists('/usr/bin/python3') else sys.executable
        self.proc = desktop.start([python, os.path.join(here, 'live_client.py'), self.file],
                                  stdout=subprocess.PIPE)
        self.xid = self.proc.stdout.readline().decode().strip()
        if not self.xid:
            raise RuntimeError('the GTK client did not start (see log.txt)')
        desktop.run(['xdotool', 'windowfocus', '--sync', self.xid])

    def text(self):
        try:
            with open(self.file, encoding='utf-8') as f:
                return f.read()
        except FileNotFoundError:
            return ''

    def type(self, keys, expect_change=True):
        """Types keys; returns what they added to the field."""
        before = self.text()
        self.desktop.run(['xdotool', 'type', '--delay', '60', '--', keys])
        end = time.monotonic() + (8 if expect_change else 1.5)
        now = before
        while time.monotonic() < end:
            time.sleep(0.15)
            now = self.text()
            if now != before:
                time.sleep(0.3)
                now = self.text()
                break
        if not now.startswith(before):
            raise RuntimeError(f'the field lost text: {before!r} became {now!r}')
        return now[len(before):]


def steps(tool, base, mode, arg):
    out = subprocess.run([tool, base, mode, arg], capture_output=True, text=True, check=True).stdout
    return [tuple(line.split('\t')) for line in out.splitlines()]


def check_steps(name, client, plan):
    """Types every step; returns the failures."""
    failures = []
    for keys, text in plan:
        got = client.type(keys)
        if got != text:
            failures.append(f'{name}: {keys!r} gave {got!r}, the tutor {text!r}')
    print(f'{name}: {len(plan) - len(failures)}/{len(plan)} steps as in the tutor')
    return failures


def fcitx5(desktop, a, here, plan, sentence):
    data = os.path.join(desktop.env['XDG_DATA_HOME'], 'fcitx5')
    os.makedirs(os.path.join(data, 'table'))
    os.makedirs(os.path.join(data, 'inputmethod'))
    shutil.copy(os.path.join(a.engines, 'fcitx5', a.id + '.main.dict'), os.path.join(data, 'table'))
    shutil.copy(os.path.join(a.engines, 'fcitx5', a.id + '.conf'), os.path.join(data, 'inputmethod'))
    conf = os.path.join(desktop.env['XDG_CONFIG_HOME'], 'fcitx5')
    os.makedirs(conf)
    with open(os.path.join(conf, 'profile'), 'w') as f:
        f.write('[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=%s\n\n'
                '[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n'
                '[Groups/0/Items/1]\nName=%s\nLayout=\n\n[GroupOrder]\n0=Default\n' % (a.id, a.id))
    desktop.env.update(GTK_IM_MODULE='fcitx', QT_IM_MODULE='fcitx', XMODIFIERS='@im=fcitx')
    desktop.start(['fcitx5', '--disable=wayland,waylandim,notificationitem,kimpanel'])
    wait_for('fcitx5 on the bus', lambda: desktop.run(['fcitx5-remote'], check=False).returncode == 0
             and desktop.run(['fcitx5-remote'], check=False).stdout.strip() != '', 60)
    client = Client(desktop, here)
    # The README's way on: Ctrl+Space turns the method on in the focused field.
    time.sleep(1)
    desktop.run(['xdotool', 'key', 'ctrl+space'])
    on = wait_for('the method after Ctrl+Space',
                  lambda: desktop.run(['fcitx5-remote', '-n'], check=False).stdout.strip() == a.id,
                  15)
    failures = [] if on else ['fcitx5: Ctrl+Space did not turn the method on']
    failures += check_steps('fcitx5', client, plan)
    failures += check_steps('fcitx5 sentence', client, sentence)
    return failures


def ibus(desktop, a, here, plan, sentence):
    tables = os.path.join(desktop.env['XDG_DATA_HOME'], 'ibus-table', 'byo-tables')
    os.makedirs(tables)
    db = os.path.join(a.engines, 'ibus', a.id + '.db')
    shutil.copy(db, tables)
    # ibus-table lists a user's own tables from its data folder but opens
    # them from ~/.ibus/byo-tables.
    os.makedirs(os.path.join(desktop.env['HOME'], '.ibus'))
    os.symlink(tables, os.path.join(desktop.env['HOME'], '.ibus', 'byo-tables'))
    desktop.env.update(GTK_IM_MODULE='ibus', QT_IM_MODULE='ibus', XMODIFIERS='@im=ibus')
    # The engine list is cached; the system's cache does not know the user's tables.
    desktop.run(['ibus', 'write-cache'], timeout=120)
    # -d as a desktop starts it; `ibus exit` ends it, and it leaves with the
    # session bus at the latest.
    desktop.run(['ibus-daemon', '-d', '-r', '--panel=disable', '--emoji-extension=disable'],
                check=False)
    desktop.on_close(['ibus', 'exit'])
    engine = 'table:' + a.id
    wait_for('the method in IBus', lambda: engine in desktop.run(
        ['ibus', 'list-engine'], check=False, timeout=60).stdout, 120)
    client = Client(desktop, here)
    time.sleep(1)
    desktop.run(['ibus', 'engine', engine])
    wait_for('the method turned on', lambda: desktop.run(
        ['ibus', 'engine'], check=False).stdout.strip() == engine, 30)
    failures = []
    # Two lone four-letter codes wait in the preedit; Space commits both.
    alone = [(k, t) for k, t in plan if k.isalpha()][:2]
    for keys, _ in alone:
        if client.type(keys, expect_change=False) != '':
            failures.append(f'IBus: {keys} committed before Space')
    if client.type(' ') != ''.join(t for _, t in alone):
        failures.append(f'IBus: Space did not commit {" ".join(k for k, _ in alone)}')
    plan = [(k + ' ' if k.isalpha() else k, t) for k, t in plan]
    sentence = [(k + ' ' if k.isalpha() else k, t) for k, t in sentence]
    failures += check_steps('IBus', client, plan)
    failures += check_steps('IBus sentence', client, sentence)
    return failures


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--engines', required=True)
    ap.add_argument('--base', required=True)
    ap.add_argument('--tutor-keys', required=True)
    ap.add_argument('--text', required=True,
                    help='a shipped text; its first line in quotes is typed')
    ap.add_argument('--codes', type=int, default=66)
    ap.add_argument('--id', default='lanchuan')
    ap.add_argument('--only', choices=['fcitx5', 'ibus'])
    a = ap.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    multiarch = arch()
    common = missing(['Xvfb', 'xdotool', 'dbus-daemon'], ['/usr/lib/python3/dist-packages/gi'])
    needs = {
        'fcitx5': missing(['fcitx5', 'fcitx5-remote'],
                          [f'/usr/lib/{multiarch}/fcitx5/libtable.so',
                           GTK_IM.format(arch=multiarch, name='fcitx5'),
                           os.path.join(a.engines, 'fcitx5', a.id + '.main.dict')]),
        'ibus': missing(['ibus-daemon', 'ibus'],
                        ['/usr/libexec/ibus-engine-table', GTK_IM.format(arch=multiarch, name='ibus'),
                         os.path.join(a.engines, 'ibus', a.id + '.db')]),
    }
    if a.only:
        needs = {a.only: needs[a.only]}
    runnable = [name for name, lack in needs.items() if not lack and not common]
    for name, lack in needs.items():
        if lack or common:
            print(f'{name}: not checked live, not installed: {" ".join(common + lack)}')
    if not runnable:
        return 77

    plan = steps(a.tutor_keys, a.base, 'sample', str(a.codes))
    with open(a.text, encoding='utf-8') as f:
        line = next((l.strip() for l in f if l.startswith('“')), '')
    if not line:
        print(f'{a.text} has no line in quotes to type')
        return 1
    sentence = steps(a.tutor_keys, a.base, 'sentence', line)
    print(f'{len(plan)} steps over {a.codes} codes, and the line {line}')
    failures = []
    for name in runnable:
        root = tempfile.mkdtemp(prefix=f'quorvel-live-{name}-')
        desktop = Desktop(root)
        try:
            if name == 'fcitx5':
                failures += fcitx5(desktop, a, here, plan, sentence)
            else:
                failures += ibus(desktop, a, here, plan, sentence)
        except (RuntimeError, subprocess.SubprocessError, OSError) as e:
            failures.append(f'{name}: {e}')
            with open(os.path.join(root, 'log.txt'), errors='replace') as f:
                print(f.read()[-3000:])
        finally:
            desktop.close()
            shutil.rmtree(root, ignore_errors=True)
    for f in failures[:40]:
        print(f)
    return 1 if failures else 0


if __name__ == '__main__':
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
