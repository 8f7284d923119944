/* Starts a program and prints two figures in milliseconds from its start: when its first top-level
   window was mapped on the X display, and when the program first drew into a mapped top-level
   window (the first paint a user sees). Then it ends the program. */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <stdio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    int damageEvent, damageError;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        fprintf(stderr, "no X display with the DAMAGE extension\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double mapped = -1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && mapped < 0) {
            mapped = nowMs() - start;
        } else if (event.type == damageEvent + XDamageNotify && mapped >= 0) {
            printf("%.1f %.1f\n", mapped, nowMs() - start);
            break;
        }
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    return 0;
}
