#include "app/app.h"

#include "app/audio_path.h"
#include "app/command_line.h"
#include "audio/audio_output.h"
#include "core/error_list.h"
#include "core/file_dialog.h"
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
#include "scene/stage_pixels.h"

#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_native_dialog.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <malloc.h>

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
    // A desktop's OpenGL never loses a texture: Allegro need not back up the pixels drawn into each bitmap.
    al_set_new_bitmap_flags(al_get_new_bitmap_flags() | ALLEGRO_NO_PRESERVE_TEXTURE);
}

// Only the driver is installed here, which answers at once; the device itself is opened off this thread
// once play starts, so that a sound server that never answers cannot hold the window back. On JACK the
// desktop's device is not opened, but Allegro's audio is installed when it can be: samples load after a
// failed install too, and a working one lets play move to the desktop later.
static void install_audio(program_class& program, error_list_class& errors)
{
    // Without a driver no mixer can be made and no sample could ever play: both steps are reported as
    // failed instead of called.
    const bool on_jack = program.jack_output != nullptr;
    const bool audio = program.audio_output.install();
    if (!audio && !on_jack)
        errors.add("Could not initialize audio.");
    if (!on_jack && (!audio || !program.audio_output.create_device_mixer()))
        errors.add("Could not reserve sample memory.");
    if (audio || on_jack) {
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

static void show_loading_screen(window_class& window)
{
    al_set_target_bitmap(window.stage_buffer);
    al_clear_to_color(al_color_name("black"));
    draw_text("Loading...", 30, screen_height - 40, 0, 0);
    present_stage(window,
                  {{0, 0, al_get_bitmap_width(window.stage_buffer), al_get_bitmap_height(window.stage_buffer)}});
}

static void report_startup_errors(ALLEGRO_DISPLAY* display, const error_list_class& errors)
{
    const std::string text = startup_error_text(errors);
    // Without a display server the box cannot appear; standard error still tells.
    std::fprintf(stderr, "%s\n", text.c_str());
    al_show_native_message_box(display, "Errors During Program Start", "Errors During Program Start",
                               text.c_str(), nullptr, ALLEGRO_MESSAGEBOX_WARN);
}

static void start_frame_timer(program_class& program)
{
    program.event_queue = al_create_event_queue();
    al_register_event_source(program.event_queue, al_get_display_event_source(program.window.display));
    // Input arrives as events, so a press and release between two ticks is not lost.
    al_register_event_source(program.event_queue, al_get_keyboard_event_source());
    al_register_event_source(program.event_queue, al_get_mouse_event_source());
    program.frame_timer = al_create_timer(1.0 / 60.0);
    al_start_timer(program.frame_timer);
    al_register_event_source(program.event_queue, al_get_timer_event_source(program.frame_timer));
}

void update_tick(program_class& program)
{
    fonts_bin.tick();
    input.update();
    if (pressed(ALLEGRO_KEY_F1)) {
        debug_overlay = !debug_overlay;
        mark_stage_changed();
    }
    if (pressed(ALLEGRO_KEY_F11))
        toggle_full_screen(program.window);
    if (pressed(ALLEGRO_KEY_ESCAPE))
        program.quit = true;
    follow_audio_path(program);
    instrument_update(*program.instrument);
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

void draw_tick(program_class& program)
{
    if (debug_overlay_outdated())
        mark_region_changed(debug_overlay_bounds());
    // A picture identical to the one on show is neither drawn nor presented; otherwise only the parts that
    // changed are drawn again, over the last picture, which the buffer keeps. A window of a new size is
    // presented whole on two ticks, even when nothing on the stage moved.
    const std::vector<stage_rect> parts = changed_parts();
    if (parts.empty() && program.window.whole_presents == 0)
        return;
    clear_stage_changed();
    al_set_target_bitmap(program.window.stage_buffer);
    std::vector<stage_rect> pixels;
    for (const stage_rect& part : parts) {
        clip_to_region(part);
        al_clear_to_color(al_color_name("black"));
        set_blend_mode(blend_normal, al_color_name("white"));
        instrument_draw(*program.instrument);
        if (debug_overlay)
            draw_debug_overlay();
        int x = 0, y = 0, w = 0, h = 0;
        al_get_clipping_rectangle(&x, &y, &w, &h);
        pixels.push_back({x, y, x + w, y + h});
    }
    al_reset_clipping_rectangle();
    present_stage(program.window, pixels);
    return_freed_memory();
}

void run_tick(program_class& program)
{
    update_tick(program);
    draw_tick(program);
}

static bool shows_window_again(ALLEGRO_EVENT_TYPE type)
{
    return type == ALLEGRO_EVENT_DISPLAY_EXPOSE || type == ALLEGRO_EVENT_DISPLAY_RESIZE ||
           type == ALLEGRO_EVENT_DISPLAY_SWITCH_IN;
}

void take_event(program_class& program, ALLEGRO_EVENT& event)
{
    if (event.type == ALLEGRO_EVENT_DISPLAY_RESIZE) {
        al_acknowledge_resize(event.display.source);
        fit_stage(program.window);
    }
    // After a flip the window's back buffer holds nothing defined: the whole picture is drawn.
    if (shows_window_again(event.type))
        mark_stage_changed();
    mouse_to_stage(program.window.transform, event);
    input.on_event(event);
}

void run_frame_loop(ALLEGRO_EVENT_QUEUE* queue, bool& quit, const std::function<void()>& update,
                    const std::function<void()>& draw, const std::function<void(ALLEGRO_EVENT&)>& take_event)
{
    bool due = false;
    while (!quit) {
        ALLEGRO_EVENT event;
        al_wait_for_event(queue, &event);
        if (event.type == ALLEGRO_EVENT_TIMER) {
            update();
            due = true;
        } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
            quit = true;
        } else {
            take_event(event);
        }
        // A slow draw leaves a backlog of ticks, not of draws: their updates run, the draw waits for the
        // queue to empty. The last tick before the end is drawn too.
        if (due && (al_is_event_queue_empty(queue) || quit)) {
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

bool start_program(program_class& program, const command_line_class& line,
                   std::unique_ptr<jack_connection_class> jack)
{
    error_list_class errors;
    install_libraries();
    const data_folder_choice data = choose_data_folder();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (jack)
        program.jack_output = std::make_unique<jack_output_class>(std::move(jack), program.mixer, line.sync);
    install_audio(program, errors);
    install_keyboard(errors);
    if (!open_window(program.window))
        errors.add("Error creating the display.");
    load_missing_image_and_font(errors);
    if (!missing_image || !fallback_font || (al_is_audio_installed() && !missing_sample))
        errors.add("Tolme looked for its data in " + data.where + ".");
    fonts_bin.set_default_font(fallback_font_file.path, -20);
    if (program.window.display)
        show_loading_screen(program.window);

    if (errors.count() > 0) {
        report_startup_errors(program.window.display, errors);
        program.quit = true;
        return false;
    }
    start_frame_timer(program);
    sound_output_class& output = program.jack_output ? static_cast<sound_output_class&>(*program.jack_output)
                                                     : program.audio_output;
    program.instrument = std::make_unique<instrument_class>(program.mixer, output);
    prepare_instrument_path(program);
    instrument_setup(*program.instrument);
    start_pattern(*program.instrument, line.pattern);
    prepare_link(program, line);
    program.quit = !start_audio_path(program, line);
    return !program.quit;
}

bool end_program(program_class& program)
{
    // The sound stops before anything it plays from is freed, and all of it goes while Allegro is installed.
    stop_audio_path(program);
    const bool let_go = program.audio_output.stop();
    program.instrument.reset();
    release_resources();
    return let_go;
}

// A logout, a kill or Ctrl+C in the terminal asks the program to end: it ends as after Escape, with the
// autosave written and the sound let go, and an export ends without leaving a part of its file behind. While
// it plays, a second signal ends it at once (flags SA_RESETHAND); an export stops within a block anyway.
static std::atomic<bool> asked_to_end{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

static void end_on_signals(int flags)
{
    struct sigaction action = {};
    action.sa_handler = [](int) { asked_to_end = true; };
    action.sa_flags = flags | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

// The export needs no window and no sound device, only samples that load: Allegro loads them once its audio
// add-on was installed, even when that failed, so a driver that cannot exist here is asked for.
static std::string export_sound(const pattern_class& pattern, const command_line_class& line)
{
    al_install_system(ALLEGRO_VERSION_INT, atexit);
    const data_folder_choice data = choose_data_folder();
    al_set_config_value(al_get_system_config(), "audio", "driver", "dsound");
    al_install_audio();
    al_init_acodec_addon();
    std::string why;
    {
        note_sounds_class sounds;
        sounds.load();
        why = sounds.complete() ? export_wav(sounds, pattern, line.loops, line.output, asked_to_end)
                                : "the notes could not be loaded: Tolme looked for its data in " + data.where;
    }
    release_resources();
    return why;
}

static int export_pattern(const command_line_class& line)
{
    end_on_signals(0);
    const std::string& file = line.pattern.file;
    pattern_reading reading = read_pattern_file(file);
    if (!reading.ok) {
        std::fprintf(stderr, "tolme: could not open %s: %s\n", file.c_str(), reading.error.c_str());
        return 1;
    }
    override_timing(reading.pattern, line.pattern);
    std::error_code unknown;
    const bool over_its_pattern = std::filesystem::equivalent(file, line.output, unknown);
    const std::string why = over_its_pattern                  ? "it is the pattern file itself"
                            : line.action == export_wav_action ? export_sound(reading.pattern, line)
                                                               : export_midi(reading.pattern, line.loops, line.output);
    if (!why.empty())
        std::fprintf(stderr, "tolme: could not write %s: %s\n", line.output.c_str(), why.c_str());
    return why.empty() ? 0 : 1;
}

static int play(const command_line_class& line)
{
    bool refused = false;
    std::unique_ptr<jack_connection_class> jack = connect_to_studio(line, refused);
    if (refused)
        return 1;
    // The mixer is rendered by the sound device's thread: it stays put for the whole run, at the rate of the
    // output chosen first.
    const auto program = std::make_unique<program_class>(jack ? jack->rate : mixer_class::desktop_rate);
    const bool started = start_program(*program, line, std::move(jack));
    if (started) {
        end_on_signals(SA_RESETHAND);
        const auto update = [&] {
            program->quit = program->quit || asked_to_end;
            update_tick(*program);
        };
        run_frame_loop(
            program->event_queue, program->quit, update, [&] { draw_tick(*program); },
            [&](ALLEGRO_EVENT& event) { take_event(*program, event); });
    }
    const bool device_let_go = end_program(*program);
    if (!device_let_go)
        std::fputs("tolme: the sound device is held up (a suspended sink?): ending without waiting for it\n", stderr);
    // Allegro is not taken down under a thread still in the desktop's file dialog or the sound device's driver.
    if (!device_let_go || dialogs_left_open()) {
        std::fflush(nullptr);
        std::_Exit(started ? 0 : 1);
    }
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
