#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

// The program's arguments after its name, parsed. The cases leave out what the end-to-end tests give the
// program: a file to play, --resume, --sync jack, --audio desktop.
static command_line_class parse(const std::vector<const char*>& args)
{
    std::vector<const char*> argv = {"tolme"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parse_command_line(static_cast<int>(argv.size()), argv.data());
}

TEST(command_line, plays_exports_or_refuses_with_a_reason)
{
    const struct { std::vector<const char*> args; program_action action; const char* file = ""; const char* out = ""; int loops = 4; int tenths = 0; int swing = 0; } cases[] = {
        {{}, play_action},
        {{"--tempo", "120.5", "--swing", "60", "s.tolme"}, play_action, "s.tolme", "", 4, 1205, 60},
        {{"--export-wav", "o.wav", "--tempo", "40", "s.tolme"}, export_wav_action, "s.tolme", "o.wav", 4, 400},
        {{"--tempo", "241"}, usage_error},
        {{"--tempo"}, usage_error},
        {{"--export-wav", "o.wav", "--loops", "1000", "s.tolme"}, export_wav_action, "s.tolme", "o.wav", 1000},
        {{"s.tolme", "--export-midi", "o.mid"}, export_midi_action, "s.tolme", "o.mid", 4},
        {{"--version", "--bogus"}, version_action},
        {{"-h"}, help_action},
        {{"--bogus"}, usage_error},
        {{"a.tolme", "b.tolme"}, usage_error},
        {{"--export-wav", "o.wav"}, usage_error},
        {{"--export-wav"}, usage_error},
        {{"--export-wav", "o.wav", "--loops", "0", "s.tolme"}, usage_error},
        {{"--export-wav", "o.wav", "--loops", "1001", "s.tolme"}, usage_error},
        {{"--export-wav", "o.wav", "--loops", "3x", "s.tolme"}, usage_error},
        {{"--loops", "3", "s.tolme"}, usage_error},
        {{"--resume", "s.tolme"}, usage_error},
        {{"--export-wav", "o.wav", "--export-midi", "o.mid", "s.tolme"}, usage_error}};
    for (const auto& c : cases) {
        const command_line_class line = parse(c.args);
        SCOPED_TRACE(::testing::PrintToString(std::vector<std::string>(c.args.begin(), c.args.end())));
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.error.empty(), c.action != usage_error);
        if (c.action != usage_error) {
            EXPECT_EQ(line.pattern.file, c.file);
            EXPECT_EQ(line.output, c.out);
            EXPECT_EQ(line.loops, c.loops);
            EXPECT_EQ(line.pattern.tempo_tenths, c.tenths);
            EXPECT_EQ(line.pattern.swing, c.swing);
        }
    }
}

TEST(command_line, chooses_the_sound_path_and_whose_clock_to_keep)
{
    const struct { std::vector<const char*> args; audio_path audio; sync_source sync; bool link, start_stop, connect, refused; } cases[] = {
        {{}, audio_path::automatic, sync_source::internal, false, false, true, false},
        {{"--audio", "jack", "--sync", "midi", "--no-connect"}, audio_path::jack, sync_source::midi_clock, false, false, false, false},
        {{"--audio", "desktop", "--sync", "midi"}, audio_path::desktop, sync_source::internal, false, false, true, true},
        {{"--audio", "desktop", "--sync", "link", "--link-start-stop"}, audio_path::desktop, sync_source::internal, true, true, true, false},
        {{"--sync", "jack", "--sync", "link"}, audio_path::automatic, sync_source::internal, true, false, true, false},
        {{"--audio", "alsa"}, audio_path::automatic, sync_source::internal, false, false, true, true},
        {{"--sync", "ableton"}, audio_path::automatic, sync_source::internal, false, false, true, true},
        {{"--sync"}, audio_path::automatic, sync_source::internal, false, false, true, true}};
    for (const auto& c : cases) {
        const command_line_class line = parse(c.args);
        SCOPED_TRACE(::testing::PrintToString(std::vector<std::string>(c.args.begin(), c.args.end())));
        EXPECT_EQ(line.action == usage_error, c.refused);
        if (!c.refused) {
            EXPECT_TRUE(line.audio == c.audio && line.sync == c.sync && line.connect_outputs == c.connect);
            EXPECT_TRUE(line.link == c.link && line.link_start_stop == c.start_stop);
        }
    }
}
