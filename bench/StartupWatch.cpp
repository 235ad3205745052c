// Starts a window program and measures what its start-up costs: the time
// from the start of the process to the map of its first top-level window,
// and the process's peak resident memory up to then. The program is ended
// right after its window is mapped.
//
//   StartupWatch PROGRAM [ARGS...]   (DISPLAY names the X server)
//
// Prints one line: "<milliseconds> <peak KiB>". Without a window manager a
// top-level window is a child of the root window, so its map shows as a
// MapNotify on the root.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    std::unique_ptr<xcb_connection_t, Disconnect> x(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(x.get()) != 0) {
        std::fprintf(stderr, "no X server at DISPLAY\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.get());
    // A round trip, so that the server has the event mask before the
    // program starts.
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("execvp");
        _exit(127);
    }
    double ms = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(x.get())) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
            break;
        }
    }
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (ms < 0) {
        std::fprintf(stderr, "the program mapped no window\n");
        return 1;
    }
    std::printf("%.2f %ld\n", ms, usage.ru_maxrss);
    return 0;
}
