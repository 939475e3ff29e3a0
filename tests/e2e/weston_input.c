/* A weston module for the end-to-end tests: the headless backend has no
 * input devices, so this one adds a seat with a keyboard and a pointer and
 * takes line commands from the FIFO named by $WESTON_INPUT_FIFO:
 *
 *   key CODE[+CODE...]   press the evdev keys in order, release them in reverse
 *   move X Y             put the pointer at X,Y of the desktop
 *   click                press and release the left button
 *   windows FILE         write one line per mapped window to FILE: "toplevel
 *                        WIDTHxHEIGHT+X+Y TITLE" (its window geometry on the
 *                        desktop), or "popup WIDTHxHEIGHT+X+Y" for a menu
 *
 * The seat exists before any client maps, so the desktop shell gives new
 * windows the keyboard focus as it would on a real desktop.
 */
#include <errno.h>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

/* Exported by libweston 10 for backends, but not in its public headers. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *ec, const char *seat_name);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
int weston_seat_init_pointer(struct weston_seat *seat);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key, enum wl_keyboard_key_state state,
                enum weston_key_state_update update_state);
void notify_motion_absolute(struct weston_seat *seat, const struct timespec *time, double x, double y);
void notify_button(struct weston_seat *seat, const struct timespec *time, int32_t button,
                   enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat *seat);

struct test_input {
    struct weston_compositor *compositor;
    struct weston_seat seat;
    int fifo;
    char line[4096];
    size_t used;
};

static void now(struct timespec *time)
{
    clock_gettime(CLOCK_MONOTONIC, time);
}

static void press_keys(struct test_input *input, const char *codes)
{
    uint32_t keys[8];
    int count = 0;
    struct timespec time;
    char *end;

    while (count < 8) {
        keys[count++] = strtoul(codes, &end, 10);
        if (*end != '+')
            break;
        codes = end + 1;
    }
    now(&time);
    for (int i = 0; i < count; i++)
        notify_key(&input->seat, &time, keys[i], WL_KEYBOARD_KEY_STATE_PRESSED, STATE_UPDATE_AUTOMATIC);
    for (int i = count - 1; i >= 0; i--)
        notify_key(&input->seat, &time, keys[i], WL_KEYBOARD_KEY_STATE_RELEASED, STATE_UPDATE_AUTOMATIC);
}

static void click(struct test_input *input)
{
    struct timespec time;

    now(&time);
    notify_button(&input->seat, &time, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
    notify_pointer_frame(&input->seat);
    notify_button(&input->seat, &time, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    notify_pointer_frame(&input->seat);
}

static void move_pointer(struct test_input *input, double x, double y)
{
    struct timespec time;

    now(&time);
    notify_motion_absolute(&input->seat, &time, x, y);
    notify_pointer_frame(&input->seat);
}

/* Written beside the reply file and renamed onto it, so that a reader polling
 * for the file never sees half of it. Popups (menus) are the views that have
 * a transform parent: the window they belong to. */
static void list_windows(struct test_input *input, const char *path)
{
    char partial[4096];
    struct weston_layer *layer;
    struct weston_view *view;
    FILE *out;

    snprintf(partial, sizeof partial, "%s.partial", path);
    out = fopen(partial, "w");
    if (!out) {
        weston_log("weston_input: cannot write %s: %s\n", partial, strerror(errno));
        return;
    }
    wl_list_for_each(layer, &input->compositor->layer_list, link) {
        wl_list_for_each(view, &layer->view_list.link, layer_link.link) {
            struct weston_desktop_surface *window;
            struct weston_geometry frame;
            const char *title;
            float x, y;

            if (!weston_view_is_mapped(view) || !weston_surface_is_desktop_surface(view->surface))
                continue;
            window = weston_surface_get_desktop_surface(view->surface);
            frame = weston_desktop_surface_get_geometry(window);
            title = weston_desktop_surface_get_title(window);
            weston_view_to_global_float(view, frame.x, frame.y, &x, &y);
            if (view->geometry.parent)
                fprintf(out, "popup %dx%d+%d+%d\n", frame.width, frame.height, (int)x, (int)y);
            else
                fprintf(out, "toplevel %dx%d+%d+%d %s\n", frame.width, frame.height, (int)x, (int)y,
                        title ? title : "");
        }
    }
    fclose(out);
    rename(partial, path);
}

static void run_command(struct test_input *input, char *command)
{
    double x, y;

    if (strncmp(command, "key ", 4) == 0)
        press_keys(input, command + 4);
    else if (sscanf(command, "move %lf %lf", &x, &y) == 2)
        move_pointer(input, x, y);
    else if (strcmp(command, "click") == 0)
        click(input);
    else if (strncmp(command, "windows ", 8) == 0)
        list_windows(input, command + 8);
    else
        weston_log("weston_input: unknown command '%s'\n", command);
}

static int on_fifo_readable(int fd, uint32_t mask, void *data)
{
    struct test_input *input = data;
    ssize_t got;
    char *newline;

    (void)mask;
    got = read(fd, input->line + input->used, sizeof input->line - 1 - input->used);
    if (got <= 0)
        return 0;
    input->used += got;
    input->line[input->used] = '\0';
    while ((newline = strchr(input->line, '\n'))) {
        *newline = '\0';
        run_command(input, input->line);
        input->used -= newline + 1 - input->line;
        memmove(input->line, newline + 1, input->used + 1);
    }
    /* A line longer than the buffer is no command: dropped. */
    if (input->used == sizeof input->line - 1)
        input->used = 0;
    return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
    const char *path = getenv("WESTON_INPUT_FIFO");
    struct test_input *input;

    (void)argc;
    (void)argv;
    if (!path) {
        weston_log("weston_input: WESTON_INPUT_FIFO is not set\n");
        return -1;
    }
    input = calloc(1, sizeof *input);
    if (!input)
        return -1;
    input->compositor = compositor;
    /* Opened for writing too, so that the FIFO never reads as ended when a
     * writer closes it. */
    input->fifo = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (input->fifo < 0) {
        weston_log("weston_input: cannot open %s: %s\n", path, strerror(errno));
        free(input);
        return -1;
    }
    weston_seat_init(&input->seat, compositor, "test-seat");
    if (weston_seat_init_keyboard(&input->seat, NULL) < 0 || weston_seat_init_pointer(&input->seat) < 0)
        return -1;
    wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display), input->fifo, WL_EVENT_READABLE,
                         on_fifo_readable, input);
    return 0;
}
