// Tweens. A field that can change smoothly gets an animated_value_class beside it; the holder keeps a list of
// animator_class tweens, each going from one value to another over a duration after a delay, along an easing
// curve, and writing straight into the field whenever the holder is updated. Time is read only through
// current_time(), so tests can run the animations on a fake clock.
#pragma once

#include "math/clock.h"
#include "math/numeric.h"

#include <allegro5/allegro.h>

#include <type_traits>
#include <vector>

// Easing curve ids; any other id (defined, as the type is fixed) is linear.
enum easing_curve : int {
    curve_linear = 0,
    curve_ease_out = 1,
    curve_ease_in = 2,
    curve_ease_out_in = 3,
    curve_ease_in_out = 4,
    curve_ease_out_twice = 5,
    curve_ease_in_cubic = 6,
    curve_ease_out_in_twice = 7,
    curve_ease_in_out_twice = 8,
    curve_overshoot = 9,
};

// Eased value of a linear progress t in [0, 1]; every curve maps 0 to 0 and 1 to 1.
float apply_curve(float t, easing_curve curve);

// Value between from and to at eased progress e. Numbers and colors blend (and extrapolate outside [0, 1]);
// flags and bitmaps switch to `to` once e reaches 1.
float interpolate(float from, float to, float e);
bool interpolate(bool from, bool to, float e);
ALLEGRO_BITMAP* interpolate(ALLEGRO_BITMAP* from, ALLEGRO_BITMAP* to, float e);
ALLEGRO_COLOR interpolate(const ALLEGRO_COLOR& from, const ALLEGRO_COLOR& to, float e);

template <typename T>
bool values_equal(const T& a, const T& b)
{
    return a == b;
}
bool values_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);

// Animator states.
enum animator_state {
    animator_idle = 0,
    animator_finished = 1,
    animator_running = 2,
};

// Linear progress after `elapsed` seconds of a tween lasting `duration`, in [0, 1]. A tween without duration
// stays at 0 until time has passed and is then complete.
float tween_progress(double elapsed, double duration);

// One tween, owned by the holder that created it.
template <typename T>
class animator_class
{
public:
    T* target = nullptr;
    float progress = 0.0f;
    T from{};
    T to{};
    double duration = 1.0;
    double start_time = 0.0;
    double delay = 0.0;
    double paused_total = 0.0;
    easing_curve curve = curve_linear;
    animator_state state = animator_idle;
    double pause_start = 0.0;
    bool paused = false;

    void set_target(T* value) { target = value; }

    // Duration before delay here (the holder's animate takes them the other way round).
    void start(T start_value, T end_value, double length, double wait, easing_curve curve_id)
    {
        if (paused)
            return;
        from = start_value;
        to = end_value;
        duration = length;
        delay = wait;
        curve = curve_id;
        start_time = current_time();
        state = animator_running;
        progress = 0.0f;
        paused_total = 0.0;
        pause_start = 0.0;
        paused = false;
    }

    // A second pause keeps the first pause's start.
    void pause(double now)
    {
        if (!paused)
            pause_start = now;
        paused = true;
    }

    void resume(double now)
    {
        if (paused)
            paused_total += now - pause_start;
        paused = false;
    }

    // Writes the value for the current time. False once the tween is done (finished, or nothing to write to).
    bool update()
    {
        if (!target)
            return false;
        if (paused)
            return true;
        const double elapsed = current_time() - start_time - delay - paused_total;
        if (elapsed < 0.0)
            return true;
        if (state == animator_finished)
            return false;
        if (state != animator_running)
            return true;
        progress = tween_progress(elapsed, duration);
        if (values_equal(from, to))
            *target = from;
        else
            apply(progress);
        if (progress >= 1.0f) {
            *target = to;
            state = animator_finished;
            return false;
        }
        return true;
    }

    void apply(float linear_progress)
    {
        progress = linear_progress;
        *target = interpolate(from, to, apply_curve(linear_progress, curve));
    }
};

// The tween holder beside one animatable field. It owns its animators; it is bound to one field of its
// owner, so it cannot be copied.
template <typename T>
class animated_value_class
{
public:
    std::vector<animator_class<T>*> animators;
    T* target = nullptr;

    animated_value_class() = default;
    animated_value_class(const animated_value_class&) = delete;
    animated_value_class& operator=(const animated_value_class&) = delete;

    ~animated_value_class()
    {
        clear();
        target = nullptr;
    }

    // Animators created from now on write into `value`; those already running keep their target.
    void bind(T* value) { target = value; }

    // Delay before duration here.
    void animate(T from, T to, double delay, double duration, easing_curve curve)
    {
        auto* animator = new animator_class<T>;
        animators.push_back(animator);
        animator->set_target(target);
        animator->start(from, to, duration, delay, curve);
    }

    // From the field's value now. Does nothing on an unbound holder.
    void animate_to(T to, double duration, easing_curve curve)
    {
        if (target)
            animate(*target, to, 0.0, duration, curve);
    }

    // From the field's value now to that value plus delta. Does nothing on an unbound holder.
    void animate_by(float delta, double duration, easing_curve curve)
    {
        static_assert(std::is_same<T, float>::value, "animate_by moves numbers only");
        if (target)
            animate(*target, *target + delta, 0.0, duration, curve);
    }

    // Writes at once; running animators overwrite it on their next update.
    void set(T value)
    {
        if (!target)
            return;
        if (!values_equal(*target, value))
            set_changed = true;
        *target = value;
    }

    // Advances every animator in list order, so the last one added that is past its delay decides the
    // field. Done animators are freed and erased, keeping the order of the rest. True when the field's value
    // differs from what it was after the last update: moved by a tween (a tween still in its delay moves
    // nothing, one that ends lands its final value) or set to another value.
    bool update()
    {
        const T before = target ? *target : T{};
        for (size_t i = 0; i < animators.size(); ++i) {
            if (!animators[i] || animators[i]->update())
                continue;
            delete animators[i];
            animators.erase(animators.begin() + static_cast<long>(i));
            --i;
        }
        const bool changed = set_changed || (target && !values_equal(before, *target));
        set_changed = false;
        return changed;
    }

    void pause()
    {
        for (auto* animator : animators)
            if (animator)
                animator->pause(current_time());
    }

    void resume()
    {
        for (auto* animator : animators)
            if (animator)
                animator->resume(current_time());
    }

    // The field keeps the value it has.
    void clear()
    {
        while (!animators.empty()) {
            delete animators.front();
            animators.erase(animators.begin());
        }
    }

    int count() const { return static_cast<int>(animators.size()); }

private:
    bool set_changed = false;
};
