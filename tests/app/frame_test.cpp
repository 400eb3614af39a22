// The frame loop as a whole: what each frame draws, and how a slow draw is caught up.
#include "app/app.h"

#include "instrument/instrument_fixture.h"

#include <algorithm>

namespace {

ALLEGRO_EVENT_SOURCE source;
int updates = 0, draws = 0;

void emit(ALLEGRO_EVENT_TYPE type, int count = 1)
{
    for (int i = 0; i < count; ++i) {
        ALLEGRO_EVENT event{};
        event.type = type;
        al_emit_user_event(&source, &event, nullptr);
    }
}

// So slow that three more ticks come due while it draws; the second draw ends the run.
void slow_draw()
{
    if (++draws == 1)
        emit(ALLEGRO_EVENT_TIMER, 3);
    else
        emit(ALLEGRO_EVENT_DISPLAY_CLOSE);
}

TEST(frame_loop, ticks_that_came_due_during_a_slow_draw_all_update_but_draw_once)
{
    ALLEGRO_EVENT_QUEUE* queue = al_create_event_queue();
    al_init_user_event_source(&source);
    al_register_event_source(queue, &source);
    emit(ALLEGRO_EVENT_TIMER);
    bool quit = false;
    run_frame_loop(queue, quit, [] { ++updates; }, slow_draw, [](ALLEGRO_EVENT&) {});
    EXPECT_EQ(updates, 4);
    EXPECT_EQ(draws, 2);
    al_destroy_user_event_source(&source);
    al_destroy_event_queue(queue);
}

using frame = instrument_fixture;

// A burst spawned by a note heard during the instrument's update is drawn in that same frame with its tweens'
// first values and its depth already sorted in: the water ring starts at half opacity, never at full.
TEST_F(frame, a_burst_spawned_in_a_tick_is_drawn_in_that_tick_as_its_tweens_begin)
{
    instrument->grid_shown = true;
    mixer->events.push({0, static_cast<std::uint8_t>(cell_index(3, 2)), water_element});
    output->clock.record_pull(1024, clock.now()); // the device has played past it
    const auto program = std::make_unique<program_class>();
    program->instrument = std::move(made);
    update_tick(*program);
    made = std::move(program->instrument);
    ASSERT_EQ(instrument->water_effects.size(), 1u);
    EXPECT_FLOAT_EQ(instrument->water_effects[0]->ring.opacity, 0.5f);
    EXPECT_TRUE(std::is_sorted(objects_bin.begin(), objects_bin.end(),
                               [](const Object* a, const Object* b) { return a->z < b->z; }));
}

} // namespace
