// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for a desktop's clipboard manager: it owns CLIPBOARD_MANAGER and
// prints one line for every program that offers it its clipboard when it
// ends (a SAVE_TARGETS request), then turns the offer down. Prints "ready"
// once it owns the selection.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

int main(void) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "clipboard_manager: no display\n");
        return 1;
    }
    const Atom manager = XInternAtom(display, "CLIPBOARD_MANAGER", False);
    const Atom saveTargets = XInternAtom(display, "SAVE_TARGETS", False);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, manager, window, CurrentTime);
    if (XGetSelectionOwner(display, manager) != window) {
        fprintf(stderr, "clipboard_manager: CLIPBOARD_MANAGER is taken\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionRequest) continue;
        const XSelectionRequestEvent* request = &event.xselectionrequest;
        if (request->target == saveTargets) {
            printf("SAVE_TARGETS\n");
            fflush(stdout);
        }
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = request->requestor;
        reply.selection = request->selection;
        reply.target = request->target;
        reply.property = None;
        reply.time = request->time;
        XSendEvent(display, request->requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(display);
    }
}
