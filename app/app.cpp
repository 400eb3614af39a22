#include "app/app.h"

#include "app/command_line.h"
#include "audio/audio_output.h"
#include "core/error_list.h"
#include "core/input.h"
#include "core/screen.h"
#include "instrument/export.h"
#include "instrument/instrument.h"
#include "instrument/pattern_commands.h"
#include "instrument/pattern_file.h"
#include "math/colors.h"
#include "resources/bins.h"
#include "resources/data_folder.h"
#include "resources/fallbacks.h"
#include "resources/manifest.h"
#include "scene/debug_overlay.h"
#include "scene/object.h"
#include "scene/stage_changes.h"

#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_native_dialog.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>

// Expose events, so that a window uncovered is drawn again although nothing on the stage moved.
const int display_flags = ALLEGRO_WINDOWED | ALLEGRO_GENERATE_EXPOSE_EVENTS;
ALLEGRO_DISPLAY* display = nullptr;
ALLEGRO_BITMAP* screen_buffer = nullptr;
bool quit_flag = false;

static ALLEGRO_EVENT_QUEUE* event_queue = nullptr;
static ALLEGRO_TIMER* frame_timer = nullptr;

std::string startup_error_text(const error_list_class& errors)
{
    return "The following errors occured during startup:\n\n" + errors.join() +
           "\nThe program must now be shut down.";
}

static void install_libraries()
{
    // The window's class, which the desktop entry names so that docks group the window with its launcher.
    al_set_app_name("tolme");
    al_install_system(ALLEGRO_VERSION_INT, atexit);
    al_init_font_addon();
    al_init_image_addon();
    al_init_ttf_addon();
    al_init_primitives_addon();
    al_init_native_dialog_addon();
    al_install_mouse();
    use_straight_alpha_bitmaps();
}

// Only the driver is installed here, which answers at once; the device itself is opened off this thread
// once play starts, so that a sound server that never answers cannot hold the window back.
static void install_audio(error_list_class& errors)
{
    // Without a driver no mixer can be made and no sample could ever play: both steps are reported as
    // failed instead of called.
    const bool audio = audio_output.install();
    if (!audio)
        errors.add("Could not initialize audio.");
    if (!audio || !audio_output.create_device_mixer())
        errors.add("Could not reserve sample memory.");
    if (audio) {
        al_init_acodec_addon();
        load_missing_sample(errors);
    } else {
        errors.add(std::string("could not load sample \"") + missing_sample_file + "\"");
    }
}

static void install_keyboard(error_list_class& errors)
{
    for (int attempt = 0; attempt < 2; ++attempt)
        if (!al_install_keyboard())
            errors.add("Error finding the keyboard.");
}

static void create_window(error_list_class& errors)
{
    al_set_new_display_flags(display_flags);
    display = al_create_display(screen_width, screen_height);
    if (!display)
        errors.add("Error creating the display.");
    screen_buffer = al_create_bitmap(screen_width, screen_height);
}

static void show_loading_screen()
{
    al_clear_to_color(al_color_name("black"));
    draw_text("Loading...", 30, screen_height - 40, 0, 0);
    al_flip_display();
}

static void report_startup_errors(const error_list_class& errors)
{
    const std::string text = startup_error_text(errors);
    // Without a display server the box cannot appear; standard error still tells.
    std::fprintf(stderr, "%s\n", text.c_str());
    al_show_native_message_box(display, "Errors During Program Start", "Errors During Program Start",
                               text.c_str(), nullptr, ALLEGRO_MESSAGEBOX_WARN);
}

static void start_frame_timer()
{
    event_queue = al_create_event_queue();
    al_register_event_source(event_queue, al_get_display_event_source(display));
    // Input arrives as events, so a press and release between two ticks is not lost.
    al_register_event_source(event_queue, al_get_keyboard_event_source());
    al_register_event_source(event_queue, al_get_mouse_event_source());
    frame_timer = al_create_timer(1.0 / 60.0);
    al_start_timer(frame_timer);
    al_register_event_source(event_queue, al_get_timer_event_source(frame_timer));
}

void update_tick()
{
    fonts_bin.tick();
    input.update();
    if (pressed(ALLEGRO_KEY_F1)) {
        debug_overlay = !debug_overlay;
        mark_stage_changed();
    }
    if (pressed(ALLEGRO_KEY_ESCAPE))
        quit_flag = true;
    instrument_update();
    // After the instrument, so the tweens it started and the objects it made are applied and sorted in
    // the frame that draws them.
    update_objects();
}

// The rasterizer's memory for a frame comes and goes with what the frame draws; what a busy stretch left
// free is handed back to the system now and then (a couple of milliseconds) rather than kept for good.
static void return_freed_memory()
{
    static double last = 0;
    const double now = al_get_time();
    if (now - last < 5.0)
        return;
    last = now;
    malloc_trim(0);
}

void draw_tick()
{
    if (debug_overlay_outdated())
        mark_stage_changed();
    // A picture identical to the one on show is neither drawn nor presented; otherwise only the part that
    // changed is drawn again, over the last picture, which the buffer keeps.
    const stage_rect region = changed_region();
    if (region.empty())
        return;
    clear_stage_changed();
    al_set_target_bitmap(screen_buffer);
    al_set_clipping_rectangle(region.left, region.top, region.right - region.left, region.bottom - region.top);
    al_clear_to_color(al_color_name("black"));
    set_blend_mode(blend_normal, al_color_name("white"));
    instrument_draw();
    if (debug_overlay)
        draw_debug_overlay();
    al_reset_clipping_rectangle();

    // The buffer's colours are copied, not blended; translucent draws may have lowered its alpha, so the
    // window keeps the opaque alpha of its clear.
    al_set_target_backbuffer(display);
    al_clear_to_color(al_color_name("black"));
    ALLEGRO_STATE blender;
    al_store_state(&blender, ALLEGRO_STATE_BLENDER);
    al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO, ALLEGRO_ADD, ALLEGRO_ZERO, ALLEGRO_ONE);
    al_draw_bitmap(screen_buffer, 0, 0, 0);
    al_restore_state(&blender);
    al_flip_display();
    return_freed_memory();
}

void run_tick()
{
    update_tick();
    draw_tick();
}

static bool shows_window_again(ALLEGRO_EVENT_TYPE type)
{
    return type == ALLEGRO_EVENT_DISPLAY_EXPOSE || type == ALLEGRO_EVENT_DISPLAY_RESIZE ||
           type == ALLEGRO_EVENT_DISPLAY_SWITCH_IN;
}

void run_frame_loop(ALLEGRO_EVENT_QUEUE* queue, void (*update)(), void (*draw)())
{
    bool due = false;
    while (!quit_flag) {
        ALLEGRO_EVENT event;
        al_wait_for_event(queue, &event);
        if (event.type == ALLEGRO_EVENT_TIMER) {
            update();
            due = true;
        } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
            quit_flag = true;
        } else if (shows_window_again(event.type)) {
            if (event.type == ALLEGRO_EVENT_DISPLAY_RESIZE)
                al_acknowledge_resize(event.display.source);
            // After a flip the window's back buffer holds nothing defined: the whole picture is drawn.
            mark_stage_changed();
        } else {
            input.on_event(event);
        }
        // A slow draw leaves a backlog of ticks, not of draws: their updates run, the draw waits for the
        // queue to empty. The last tick before the end is drawn too.
        if (due && (al_is_event_queue_empty(queue) || quit_flag)) {
            draw();
            due = false;
        }
    }
}

static data_folder_choice choose_data_folder()
{
    const data_folder_choice choice = find_data_folder(std::getenv("TOLME_DATA"), program_folder());
    use_data_folder(choice.folder);
    return choice;
}

bool start_program(const command_line_class& line)
{
    error_list_class errors;
    install_libraries();
    const data_folder_choice data = choose_data_folder();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    install_audio(errors);
    install_keyboard(errors);
    create_window(errors);
    load_missing_image_and_font(errors);
    if (!missing_image || !fallback_font || (al_is_audio_installed() && !missing_sample))
        errors.add("Tolme looked for its data in " + data.where + ".");
    fonts_bin.set_default_font(fallback_font_file.path, -20);
    if (display)
        show_loading_screen();

    if (errors.count() > 0) {
        report_startup_errors(errors);
        quit_flag = true;
        return false;
    }
    start_frame_timer();
    instrument_setup();
    start_pattern(line.pattern_file, line.resume);
    audio_output.start();
    return true;
}

void end_program()
{
    // The sound stops before anything it plays from is freed, and all of it goes while Allegro is installed.
    audio_output.stop();
    instrument_teardown();
    release_resources();
}

// The export needs no window and no sound device, only samples that load: Allegro loads them once its audio
// add-on was installed, even when that failed, so a driver that cannot exist here is asked for.
static int export_pattern(const command_line_class& line)
{
    const pattern_reading reading = read_pattern_file(line.pattern_file);
    if (!reading.ok) {
        std::fprintf(stderr, "tolme: could not open %s: %s\n", line.pattern_file.c_str(), reading.error.c_str());
        return 1;
    }
    std::string why;
    if (line.action == export_wav_action) {
        al_install_system(ALLEGRO_VERSION_INT, atexit);
        choose_data_folder();
        al_set_config_value(al_get_system_config(), "audio", "driver", "dsound");
        al_install_audio();
        al_init_acodec_addon();
        instrument = new instrument_class;
        setup_note_playing();
        why = export_wav(reading.cells, line.loops, line.output);
        instrument_teardown();
        release_resources();
    } else {
        why = export_midi(reading.cells, line.loops, line.output);
    }
    if (!why.empty())
        std::fprintf(stderr, "tolme: could not write %s: %s\n", line.output.c_str(), why.c_str());
    return why.empty() ? 0 : 1;
}

static int play(const command_line_class& line)
{
    const bool started = start_program(line);
    if (started)
        run_frame_loop(event_queue, update_tick, draw_tick);
    end_program();
    return started ? 0 : 1;
}

int run_program(int argc, const char* const* argv)
{
    const command_line_class line = parse_command_line(argc, argv);
    switch (line.action) {
    case help_action:
        std::fputs(usage_text().c_str(), stdout);
        return 0;
    case version_action:
        std::printf("tolme %s\n", TOLME_VERSION);
        return 0;
    case usage_error:
        std::fprintf(stderr, "tolme: %s\n\n%s", line.error.c_str(), usage_text().c_str());
        return 2;
    case export_wav_action:
    case export_midi_action:
        return export_pattern(line);
    default:
        return play(line);
    }
}
