// Scene objects: one bitmap on the stage with position, depth, scale, opacity, rotation, anchor, mirroring,
// crop, tint and blend mode, each visual field with a tween holder beside it. Every live object registers
// itself in objects_bin, which the frame loop updates and re-sorts by depth and the draw hook draws in order.
// Drawing lives in object_drawing.cpp, the overlap test in collision.h.
#pragma once

#include "math/animators.h"
#include "math/colors.h"
#include "math/vec2d.h"
#include "scene/stage_changes.h"

#include <allegro5/allegro.h>

#include <array>
#include <string>
#include <vector>

class Object
{
public:
    int width = 0; // of its image, in the image's pixels
    int height = 0;
    // Pixels of its image per stage unit: text rendered for a window larger than the stage has more than one,
    // and keeps its size on the stage.
    float image_density = 1.0f;
    float x = 0;
    float y = 0;
    float z = 0;
    float scale_x = 1.0f;
    float scale_y = 1.0f;
    float opacity = 1.0f;
    float rotation = 0; // radians, clockwise on screen, about the anchor point
    float anchor_x = 0;
    float anchor_y = 0;
    bool flip_horizontal = false;
    bool flip_vertical = false;
    float crop_left = 0;
    float crop_top = 0;
    float crop_right = 0;
    float crop_bottom = 0;
    ALLEGRO_BITMAP* image = nullptr; // not owned
    ALLEGRO_COLOR tint = al_map_rgba_f(1, 1, 1, 1);
    blend_mode_id blend_mode = blend_normal;
    bool screen_fixed = false;

    animated_value_class<float> x_anim;
    animated_value_class<float> y_anim;
    animated_value_class<float> z_anim;
    animated_value_class<float> scale_x_anim;
    animated_value_class<float> scale_y_anim;
    animated_value_class<float> opacity_anim;
    animated_value_class<float> rotation_anim;
    animated_value_class<float> anchor_x_anim;
    animated_value_class<float> anchor_y_anim;
    animated_value_class<bool> flip_horizontal_anim;
    animated_value_class<bool> flip_vertical_anim;
    animated_value_class<float> crop_left_anim;
    animated_value_class<float> crop_top_anim;
    animated_value_class<float> crop_right_anim;
    animated_value_class<float> crop_bottom_anim;
    animated_value_class<ALLEGRO_BITMAP*> image_anim;
    animated_value_class<ALLEGRO_COLOR> tint_anim;

    ALLEGRO_BITMAP* work_bitmap = nullptr; // owned: the cropped image, made and rendered on first cropped draw
    int work_width = 0, work_height = 0;   // size work_bitmap will have; 0 while the object has none
    std::array<float, 4> rendered_crop{}; // left, top, right, bottom that work_bitmap shows
    ALLEGRO_BITMAP* rendered_image = nullptr; // the image work_bitmap was rendered from

    // The pixels its last draw could touch, and whether its image was set since the last update.
    stage_rect drawn_bounds;
    bool image_changed = false;
    // The parts of a large additive image that are not black, and the image they were found in.
    std::vector<stage_rect> ink;
    ALLEGRO_BITMAP* ink_image = nullptr;

    Object();
    explicit Object(const std::string& image_name);
    ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Image
    bool set_image(const std::string& name, bool take_size);
    void set_image(ALLEGRO_BITMAP* bitmap, bool take_size);
    void size_from_image();
    void recreate_work_bitmap();
    // Frees the work bitmap; the next cropped draw makes it again.
    void release_work_bitmap();

    // Geometry of the unrotated, uncropped scaled box around the anchor point
    float get_width() const;
    float get_height() const;
    float get_scaled_width() const;
    float get_scaled_height() const;
    float anchor_offset_x() const;
    float anchor_offset_y() const;
    float get_left() const;
    float get_top() const;
    float get_right() const;
    float get_bottom() const;
    float get_center_x() const;
    float get_center_y() const;
    float set_left(float v);
    float set_top(float v);
    float set_right(float v);
    float set_bottom(float v);
    void align_left();
    void align_center();
    void align_right();
    void align_top();
    void align_middle();
    void align_bottom();
    float screen_offset_x() const;
    float screen_offset_y() const;
    vec2d get_position() const;
    vec2d get_screen_position() const;
    bool is_visible() const;
    // Screen coordinates; edges count as inside; rotation is ignored.
    bool contains_point(float px, float py) const;

    // Animation shortcuts
    void move_to(float new_x, float new_y);
    void set_anchor(float ax, float ay);
    void fade_in(double duration, easing_curve curve);
    void fade_out(double duration, easing_curve curve);
    void pop_in(double duration, easing_curve curve);
    void pop_out(double duration, easing_curve curve);
    // True when any field moved or was set to another value since the last update.
    bool update_animations();
    void clear_animations();
    void pause_animations();
    void resume_animations();
    int animation_count();

    // Drawing (object_drawing.cpp)
    void draw();
    // Every pixel a draw now could touch (a whole pixel more on each side), empty when it would draw nothing.
    stage_rect bounds() const;
    // The pixels its picture alone can touch.
    stage_rect drawn_box() const;
    bool uses_work_bitmap() const;
    // A large additive picture drawn as it is: only its inked tiles are drawn, as nothing is added elsewhere.
    bool drawn_as_ink() const;
    bool crop_changed() const;
    void render_work_bitmap();
    ALLEGRO_BITMAP* prepared_bitmap();
    void draw_bitmap(ALLEGRO_BITMAP* bitmap, const ALLEGRO_COLOR& color);
    void draw_ink(float left, float top);
    std::vector<vec2d> get_outline() const;
    void draw_debug_outline();

private:
    void pop(float to, double duration, easing_curve curve);
    template <typename F> void for_each_holder(F f);
};

// Shifts every object that is not screen_fixed by minus this; nothing in the system moves it.
extern vec2d camera_position;

// Every live object once, ascending by depth. It is built before any global Object of any file and destroyed
// after all of them: each file that includes this header holds an objects_bin_initializer, and the first
// initializer constructed builds the list, the last destroyed tears it down.
extern std::vector<Object*>& objects_bin;

class objects_bin_initializer
{
public:
    objects_bin_initializer();
    ~objects_bin_initializer();
};
static const objects_bin_initializer objects_bin_init;

void register_object(Object* object);
bool unregister_object(Object* object);
void sort_objects_by_depth();
// Frees every object's work bitmap: the next cropped draw makes it again with the bitmap flags then in force.
void release_work_bitmaps();
// Every object's tweens, marking the stage where an object changed, then the depth order.
void update_objects();
// Every object of the bin that can touch the current clipping rectangle, in depth order.
void draw_objects();
void bring_to_front(Object* object);

