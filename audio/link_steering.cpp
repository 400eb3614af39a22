#include "audio/link_steering.h"

#include <algorithm>
#include <cmath>

std::uint64_t link_steering_class::steer(note_schedule_class& schedule, std::uint64_t at, std::uint64_t end,
                                         const link_reading& session) noexcept
{
    if (!session.playing) {
        if (!schedule.held())
            schedule.hold(at);
        phase = link_phase::stopped;
        return end;
    }
    if (phase == link_phase::stopped)
        phase = link_phase::waiting;
    if (phase == link_phase::following) {
        const double target = schedule.column_zero() + session.beat * columns_per_beat;
        const double line = schedule.columns_at(at);
        // The same place in a sweep nearest the line: only the phase in the bar counts.
        const double ahead = std::remainder(target - line, static_cast<double>(step_columns));
        const double seconds = ahead / columns_per_beat * 60.0 / session.bpm;
        if (std::fabs(seconds) <= jump_seconds) {
            const double correction = std::clamp(seconds / settle_seconds, -most_correction, most_correction);
            schedule.set_timing(at, tempo_near(session.bpm * (1 + correction)), schedule.swing());
            return end;
        }
        phase = link_phase::waiting;
    }
    return wait_for_bar(schedule, at, end, session);
}

// The line runs on (or stays held) at the session's tempo up to the frame of the next bar, where column 0's
// notes sound. A bar that began less than half a frame ago begins now.
std::uint64_t link_steering_class::wait_for_bar(note_schedule_class& schedule, std::uint64_t at,
                                                std::uint64_t end, const link_reading& session) noexcept
{
    const tempo_class tempo = tempo_near(session.bpm);
    const double beats_a_frame = session.bpm / 60.0 / rate;
    const double bar = std::ceil((session.beat - beats_a_frame / 2) / beats_per_bar) * beats_per_bar;
    const double frames = (bar - session.beat) / beats_a_frame;
    if (frames < 0.5) {
        schedule.locate(at, schedule.column_zero());
        schedule.set_timing(at, tempo, schedule.swing());
        phase = link_phase::following;
        return end;
    }
    if (schedule.tempo() != tempo)
        schedule.set_timing(at, tempo, schedule.swing());
    return std::min(end, at + static_cast<std::uint64_t>(std::llround(frames)));
}
