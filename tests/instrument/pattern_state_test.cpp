// The player's pattern through the keys, as the frame loop runs it: the Ctrl commands, the timing keys and
// the autosave, with the tokens, counts, readout and mixer following the model.
#include "core/file_reading.h"
#include "core/screen.h"
#include "instrument/pattern_commands.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "instrument/timing_readout.h"

#include "instrument_fixture.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

class pattern_state_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        instrument->grid_shown = true;
        setup_timing_readout(*instrument);
    }

    void keys(const std::vector<int>& codes)
    {
        input_snapshot down;
        for (int code : codes)
            down.key(code);
        press(down);
    }

    int shown() const
    {
        return static_cast<int>(std::count_if(instrument->token_grid.begin(), instrument->token_grid.end(),
                                              [](const token_class* t) { return t->shown != no_element; }));
    }
};

// What Ctrl+N and Ctrl+Z do to the sound is heard in the end-to-end pattern test.
TEST_F(pattern_state_test, ctrl_n_clears_and_ctrl_z_brings_every_token_back_with_its_count)
{
    for (int i : {0, 9, 50})
        instrument->model.place(i, i == 9 ? fire_element : water_element);
    update_pattern(*instrument);
    keys({ALLEGRO_KEY_LCTRL, ALLEGRO_KEY_N});
    EXPECT_EQ(shown(), 0);
    // Undo the clear and a place, redo the place with Shift+Z, undo it again and redo it with Y.
    const int ctrl = ALLEGRO_KEY_LCTRL, z = ALLEGRO_KEY_Z;
    const std::pair<std::vector<int>, int> steps[] = {{{ctrl, z}, 3}, {{ctrl, z}, 2}, {{ctrl, ALLEGRO_KEY_LSHIFT, z}, 3},
                                                      {{ctrl, z}, 2}, {{ctrl, ALLEGRO_KEY_Y}, 3}};
    for (const auto& [step, tokens] : steps) {
        keys(step);
        EXPECT_EQ(shown(), tokens);
    }
    EXPECT_EQ(instrument->water_button.count, 997) << "the counts follow";
    // Undone, an opening leaves no file for Ctrl+S to write the pattern from before it over.
    instrument->model.replace(pattern_class());
    instrument->pattern_file = "opened.tolme";
    keys({ctrl, z});
    EXPECT_EQ(instrument->pattern_file, "");
}

// Whole steps of =, taps on T and Ctrl+Z back to the opened timing are heard in the end-to-end timing test.
TEST_F(pattern_state_test, shift_steps_the_tempo_by_a_tenth_the_braces_step_the_swing_and_p_stops_and_plays)
{
    const int readout_width = instrument->readout.width;
    // A whole step down; a tenth down by a quick chord whose Shift is let go in the key's own tick (it counts as
    // it was when the key went down); the swing up three times and down once.
    keys({ALLEGRO_KEY_MINUS});
    tick(input_snapshot().key(ALLEGRO_KEY_LSHIFT));
    ALLEGRO_EVENT typed = key_event(ALLEGRO_KEY_PAD_MINUS, true, ALLEGRO_EVENT_KEY_CHAR);
    typed.keyboard.modifiers = ALLEGRO_KEYMOD_SHIFT;
    for (const ALLEGRO_EVENT& event : {key_event(ALLEGRO_KEY_PAD_MINUS, true), typed, key_event(ALLEGRO_KEY_PAD_MINUS, false)})
        input.on_event(event);
    tick(input_snapshot());
    // Held with Shift, = steps on by tenths as the keyboard repeats it: twice more after its press.
    const input_snapshot held = input_snapshot().key(ALLEGRO_KEY_LSHIFT).key(ALLEGRO_KEY_EQUALS);
    tick(held);
    ALLEGRO_EVENT again = key_event(ALLEGRO_KEY_EQUALS, true, ALLEGRO_EVENT_KEY_CHAR);
    again.keyboard.repeat = true;
    for (int i = 0; i < 2; ++i) {
        input.on_event(again);
        tick(held);
    }
    tick(input_snapshot());
    for (const int key : {ALLEGRO_KEY_CLOSEBRACE, ALLEGRO_KEY_CLOSEBRACE, ALLEGRO_KEY_CLOSEBRACE, ALLEGRO_KEY_OPENBRACE})
        keys({key});
    EXPECT_NE(instrument->readout.width, readout_width) << "the readout follows";
    EXPECT_EQ(mixer->pattern.read().swing, 52) << "the swing is heard";
    keys({ALLEGRO_KEY_P});
    EXPECT_TRUE(mixer->stop_asked.load());
    EXPECT_EQ(timing_text(instrument->model.pattern(), instrument->following), "87.2 BPM \u00b7 STOPPED   SWING 52 %");
    keys({ALLEGRO_KEY_P});
    EXPECT_FALSE(mixer->stop_asked.load());
    // Undone, the run of timing changes takes the tempo and swing back, which is told as the keys tell theirs.
    keys({ALLEGRO_KEY_LCTRL, ALLEGRO_KEY_Z});
    EXPECT_EQ(instrument->notice.text, "Tempo 87.89 BPM, Swing 50 %");
    // Following a MIDI clock, the tempo set is the pattern's: the notice says the clock's is heard.
    const studio_cycle_class studio(*mixer, sync_source::midi_clock);
    instrument->studio = &studio;
    tick(input_snapshot());
    keys({ALLEGRO_KEY_EQUALS});
    EXPECT_EQ(instrument->notice.text, "Tempo 88 BPM (the MIDI clock leads)");
    instrument->studio = nullptr;
}

// Half a second after the first change the pattern goes to the writer, later changes ride along; what is on
// the disk is the pattern file of the pattern.
TEST_F(pattern_state_test, the_autosave_writes_half_a_second_after_a_change)
{
    const std::string path = (std::filesystem::temp_directory_path() / "tolme_autosave_test" / "a.tolme").string();
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
    pattern_model_class& model = instrument->model;
    autosave_class autosave(path, model.pattern());
    model.place(3, earth_element);
    EXPECT_FALSE(autosave.update(model.pattern(), 10.1));
    model.set_swing(66, 10.2);
    EXPECT_FALSE(autosave.update(model.pattern(), 10.59));
    EXPECT_TRUE(autosave.update(model.pattern(), 10.6));
    autosave.flush();
    EXPECT_EQ(read_pattern_file(path).pattern, model.pattern());
    model.clear(3);
    autosave.update(model.pattern(), 20.1);
    autosave.flush(); // as at exit: without waiting
    EXPECT_EQ(read_pattern_file(path).pattern, model.pattern());
    // A last write at exit that fails is told on standard error, the window being gone, with the reason its
    // folder could not be made (the system's own folders take none).
    testing::internal::CaptureStderr();
    {
        autosave_class last("/sys/tolme_autosave_test/a.tolme", model.pattern());
        model.place(4, earth_element);
        last.update(model.pattern(), 30.0);
    }
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("could not autosave"), std::string::npos);
    EXPECT_EQ(told.find("No such file"), std::string::npos) << told;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

// A file that could not be read is never saved over: Ctrl+S asks where instead. A file not there yet is made
// by the first save. One that another program changed since is saved over only at a second Ctrl+S.
TEST_F(pattern_state_test, ctrl_s_saves_only_to_a_file_as_tolme_left_it_or_at_a_second_asking)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tolme_start_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // The autosave and its copy go there too, not to the state folder of whoever runs the tests.
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
    pattern_start start;
    std::ofstream(folder / "bad.tolme") << "tolme-pattern 3\n";
    // Also one that cannot be reached (a plain file on its way) is not taken for a new one.
    for (const char* unreadable : {"bad.tolme", "bad.tolme/inside.tolme"}) {
        start.file = (folder / unreadable).string();
        start_pattern(*instrument, start);
        EXPECT_EQ(instrument->pattern_file, "") << unreadable;
    }
    // One not there yet, named by a link to it, is made by the first save.
    std::filesystem::create_symlink("new.tolme", folder / "link.tolme");
    start.file = (folder / "link.tolme").string();
    start_pattern(*instrument, start);
    EXPECT_EQ(instrument->pattern_file, start.file);
    const std::string edited = "# by hand\n" + format_pattern(pattern_class());
    for (const int cell : {0, 2, 1, 3}) { // two saves in a row, then a hand edit before the third
        const bool edit = cell == 1;
        instrument->model.place(cell, earth_element);
        if (edit)
            std::ofstream(start.file) << edited;
        keys({ALLEGRO_KEY_LCTRL, ALLEGRO_KEY_S});
        EXPECT_EQ(read_pattern_file(start.file).text, edit ? edited : format_pattern(instrument->model.pattern()));
    }
    EXPECT_EQ(instrument->current_element, no_element) << "Ctrl+S chose WIND";
    // Nor the autosave a run does not go on from, started afresh or unable to read it: it is kept as
    // autosave-previous.tolme, but never over the file the run opened.
    const std::filesystem::path autosave = folder / "tolme" / "autosave.tolme";
    const std::string previous = (folder / "tolme" / "autosave-previous.tolme").string();
    std::filesystem::create_directories(autosave.parent_path());
    const struct { std::string found; bool resume; std::string opened; const char* kept; } runs[] = {
        {"tolme-pattern 3\n", true, "", "tolme-pattern 3\n"},
        {format_pattern(pattern_class()), true, "", "tolme-pattern 3\n"}, // goes on from it: keeps no copy
        {"# the run before\n", false, "", "# the run before\n"},
        {"# another run\n", false, previous, "# the run before\n"}};
    instrument->autosave.reset();
    for (const auto& run : runs) {
        std::ofstream(autosave) << run.found;
        start.resume = run.resume;
        start.file = run.opened;
        start_pattern(*instrument, start);
        instrument->model.place(9, water_element);
        update_pattern(*instrument);
        instrument->autosave.reset();
        std::string kept;
        EXPECT_EQ(read_small_file(previous, 100, kept), "");
        EXPECT_EQ(kept, run.kept) << run.found;
    }
    // While another run holds the autosave, this one writes its own, leaves the other's and its copy alone, and
    // says where its work goes.
    const std::string others = read_pattern_file(autosave.string()).text;
    const file_lock_class other((folder / "tolme" / "autosave.lock").string());
    start.file = "";
    start_pattern(*instrument, start);
    EXPECT_EQ(instrument->notice.text, "another Tolme is running: this one autosaves to autosave-2.tolme");
    instrument->model.place(20, fire_element);
    update_pattern(*instrument);
    instrument->autosave.reset();
    EXPECT_EQ(read_pattern_file((folder / "tolme" / "autosave-2.tolme").string()).pattern, instrument->model.pattern());
    EXPECT_EQ(read_pattern_file(autosave.string()).text, others);
    EXPECT_EQ(read_pattern_file(previous).text, "# the run before\n");
    unsetenv("XDG_STATE_HOME");
    std::filesystem::remove_all(folder);
}

// A notice wider than the stage keeps what happened and why, and loses the middle of its path, cut between
// whole characters.
TEST_F(pattern_state_test, a_notice_wider_than_the_stage_loses_the_middle_of_its_path)
{
    const std::string reason = ": line 2: tempo 300: not from 40 to 240 BPM";
    std::string path = "/" + std::string(100, 'f');
    for (int i = 0; i < 100; ++i)
        path += "\u00e9";
    report_problem(*instrument, "could not open " + path + reason);
    const std::string& shown = instrument->notice.text;
    EXPECT_LE(instrument->notice.width, screen_width - 32);
    EXPECT_EQ(shown.rfind("could not open /ff", 0), 0u);
    EXPECT_EQ(shown.substr(shown.size() - reason.size()), reason);
    EXPECT_NE(shown.find("f...\u00e9"), std::string::npos) << shown;
}

} // namespace
