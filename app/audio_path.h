// Which way play goes: through JACK, with the instrument on the beat grid and MIDI beside its sound, or
// through the desktop's sound device. Chosen at start from the command line and from whether a JACK server
// answers (none is ever started); moved to the desktop when the JACK server goes away or will not start
// Tolme's client, when allowed.
#pragma once

#include "audio/jack_connection.h"

#include <memory>

class command_line_class;
class mixer_class;
class program_class;

// A connection to a running JACK server when the command line allows one and a server answers within a
// second; else null, and with `refused` set when the command line needed JACK (told on standard error).
std::unique_ptr<jack_connection_class> connect_to_studio(const command_line_class& line, bool& refused);
// Before the instrument is set up: on JACK it plays on the beat grid, its MIDI as the MIDI export's, and
// its readout follows the studio cycle.
void prepare_instrument_path(program_class& program);
// Before the output starts: the Link session is steered from the output's pulls, and joined at once with
// --sync link.
void prepare_link(program_class& program, const command_line_class& line);
// Starts the chosen output; false (told on standard error) when JACK refused Tolme's client and the command
// line asked for JACK or for following a clock; with --audio auto alone the desktop's sound plays instead.
bool start_audio_path(program_class& program, const command_line_class& line);
// Every tick: when the JACK server has gone and the command line let Tolme move, plays on through the
// desktop's sound device from where the line is.
void follow_audio_path(program_class& program);
// At the end: JACK's client closed after its last Stop and All Notes Off, its drops told.
void stop_audio_path(program_class& program);
