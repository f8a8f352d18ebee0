#!/usr/bin/env python3
"""A GTK 3 window with one text field, for the live engine check: prints its
X window id once mapped and writes the field's text to FILE on every change."""
import os
import sys

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('GdkX11', '3.0')
from gi.repository import GdkX11, Gtk  # noqa: E402,F401

out = sys.argv[1]
window = Gtk.Window(title='quorvel-live')
entry = Gtk.Entry()
window.add(entry)


def changed(field):
    with open(out + '.tmp', 'w', encoding='utf-8') as f:
        f.write(field.get_text())
    os.replace(out + '.tmp', out)


def mapped(*_):
    print(window.get_window().get_xid(), flush=True)
    return False


entry.connect('changed', changed)
window.connect('map-event', mapped)
window.connect('destroy', Gtk.main_quit)
window.show_all()
Gtk.main()
