#!/usr/bin/python3
# Drops a file on an X window as a Linux file manager does (the XDND
# protocol, with the file as a text/uri-list), so that a program under Wine
# receives it as the shell's drop. Usage:
#   xdnd-drop.py WINDOW_NAME WM_CLASS_INSTANCE FILE   (on $DISPLAY)
# Exits 0 once the target has said it took the drop, 1 otherwise.
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, protocol

name, instance, path = sys.argv[1], sys.argv[2], sys.argv[3]
d = display.Display()
root = d.screen().root
atom = lambda n: d.intern_atom(n)
URI_LIST = atom("text/uri-list")
XDND = {n: atom("Xdnd" + n) for n in ("Aware", "Enter", "Position", "Status", "Drop", "Finished",
                                      "Selection", "ActionCopy")}
data = ("file://" + urllib.parse.quote(path) + "\r\n").encode()


def find(window):
    try:
        cls = window.get_wm_class()
        if window.get_wm_name() == name and cls and cls[0] == instance:
            return window
        for child in window.query_tree().children:
            found = find(child)
            if found:
                return found
    except Exception:  # windows come and go meanwhile
        pass
    return None


target = find(root)
if not target:
    sys.exit("xdnd-drop: no window named %r" % name)
geometry = target.get_geometry()
at = root.translate_coords(target, geometry.width // 2, geometry.height // 2)
source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
source.set_selection_owner(XDND["Selection"], X.CurrentTime)


def send(kind, values):
    target.send_event(protocol.event.ClientMessage(
        window=target, client_type=XDND[kind], data=(32, [source.id] + values + [0] * (4 - len(values)))))
    d.flush()


# Serves the target's requests for the data until one of the wanted client
# messages comes, or the time is up.
def serve(want, seconds):
    end = time.time() + seconds
    while time.time() < end:
        while d.pending_events():
            e = d.next_event()
            if e.type == X.SelectionRequest:
                prop = e.property or e.target
                e.requestor.change_property(prop, URI_LIST, 8, data)
                e.requestor.send_event(protocol.event.SelectionNotify(
                    time=e.time, requestor=e.requestor, selection=e.selection, target=e.target,
                    property=prop))
                d.flush()
            elif e.type == X.ClientMessage and e.client_type == want:
                return e
        time.sleep(0.05)
    return None


send("Enter", [5 << 24, URI_LIST])
send("Position", [0, at.x << 16 | at.y, X.CurrentTime, XDND["ActionCopy"]])
status = serve(XDND["Status"], 600)
if not status or not status.data[1][1] & 1:
    sys.exit("xdnd-drop: the window did not accept the drop")
send("Drop", [0, X.CurrentTime])
if not serve(XDND["Finished"], 600):
    sys.exit("xdnd-drop: the drop was not finished")
print("xdnd-drop: %s dropped on %r" % (path, name))
