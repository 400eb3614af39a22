#include "scene/object.h"

#include "resources/drawing.h"
#include "scene/stage_changes.h"

#include <algorithm>
#include <new>

vec2d camera_position(0, 0);

// The list lives in a union so that its storage and the objects_bin reference are constant-initialised,
// before any dynamic initialisation; the initializers decide when the list itself is built and torn down.
namespace {
union objects_bin_storage
{
    char unused;
    std::vector<Object*> bin;
    constexpr objects_bin_storage() : unused() {}
    ~objects_bin_storage() {}
};
objects_bin_storage storage;
int initializer_count = 0;
} // namespace

std::vector<Object*>& objects_bin = storage.bin;

objects_bin_initializer::objects_bin_initializer()
{
    if (initializer_count++ == 0)
        new (&storage.bin) std::vector<Object*>();
}

objects_bin_initializer::~objects_bin_initializer()
{
    if (--initializer_count == 0)
        storage.bin.~vector();
}

Object::Object()
{
    x_anim.bind(&x);
    y_anim.bind(&y);
    z_anim.bind(&z);
    scale_x_anim.bind(&scale_x);
    scale_y_anim.bind(&scale_y);
    opacity_anim.bind(&opacity);
    rotation_anim.bind(&rotation);
    anchor_x_anim.bind(&anchor_x);
    anchor_y_anim.bind(&anchor_y);
    flip_horizontal_anim.bind(&flip_horizontal);
    flip_vertical_anim.bind(&flip_vertical);
    crop_left_anim.bind(&crop_left);
    crop_top_anim.bind(&crop_top);
    crop_right_anim.bind(&crop_right);
    crop_bottom_anim.bind(&crop_bottom);
    image_anim.bind(&image);
    tint_anim.bind(&tint);
    recreate_work_bitmap();
    register_object(this);
}

Object::Object(const std::string& image_name) : Object()
{
    set_image(image_name, true);
}

Object::~Object()
{
    if (work_bitmap)
        al_destroy_bitmap(work_bitmap);
    unregister_object(this);
}

bool Object::set_image(const std::string& name, bool take_size)
{
    set_image(get_image(name), take_size);
    return image != nullptr;
}

void Object::set_image(ALLEGRO_BITMAP* bitmap, bool take_size)
{
    // Also the same pointer: an owner may have drawn into its bitmap or made a new one where an old one was.
    image_changed = true;
    ink_image = nullptr;
    image = bitmap;
    if (image && take_size)
        size_from_image();
}

void Object::size_from_image()
{
    if (!image)
        return;
    width = al_get_bitmap_width(image);
    height = al_get_bitmap_height(image);
    recreate_work_bitmap();
}

void Object::release_work_bitmap()
{
    if (work_bitmap)
        al_destroy_bitmap(work_bitmap);
    work_bitmap = nullptr;
    rendered_crop = {0, 0, 0, 0};
    rendered_image = nullptr;
}

void Object::recreate_work_bitmap()
{
    release_work_bitmap();    // Most objects are never cropped: the bitmap itself waits for the first cropped draw.
    work_width = image ? al_get_bitmap_width(image) : 0;
    work_height = image ? al_get_bitmap_height(image) : 0;
}

float Object::get_width() const
{
    return image ? static_cast<float>(width) / image_density : 0.0f;
}

float Object::get_height() const
{
    return image ? static_cast<float>(height) / image_density : 0.0f;
}

float Object::get_scaled_width() const
{
    return get_width() * scale_x;
}

float Object::get_scaled_height() const
{
    return get_height() * scale_y;
}

float Object::anchor_offset_x() const
{
    return get_scaled_width() * anchor_x;
}

float Object::anchor_offset_y() const
{
    return get_scaled_height() * anchor_y;
}

float Object::get_left() const
{
    return x - anchor_offset_x();
}

float Object::get_top() const
{
    return y - anchor_offset_y();
}

float Object::get_right() const
{
    return get_left() + get_scaled_width();
}

float Object::get_bottom() const
{
    return get_top() + get_scaled_height();
}

float Object::get_center_x() const
{
    return get_left() + get_scaled_width() / 2;
}

float Object::get_center_y() const
{
    return get_top() + get_scaled_height() / 2;
}

float Object::set_left(float v)
{
    x = anchor_offset_x() + v;
    return x;
}

float Object::set_top(float v)
{
    y = anchor_offset_y() + v;
    return y;
}

float Object::set_right(float v)
{
    x = anchor_offset_x() + (v - get_scaled_width());
    return x;
}

float Object::set_bottom(float v)
{
    y = anchor_offset_y() + (v - get_scaled_height());
    return y;
}

void Object::align_left() { anchor_x = 0.0f; }
void Object::align_center() { anchor_x = 0.5f; }
void Object::align_right() { anchor_x = 1.0f; }
void Object::align_top() { anchor_y = 0.0f; }
void Object::align_middle() { anchor_y = 0.5f; }
void Object::align_bottom() { anchor_y = 1.0f; }

float Object::screen_offset_x() const
{
    return screen_fixed ? 0.0f : -camera_position.x;
}

float Object::screen_offset_y() const
{
    return screen_fixed ? 0.0f : -camera_position.y;
}

vec2d Object::get_position() const
{
    return vec2d(x, y);
}

vec2d Object::get_screen_position() const
{
    return vec2d(x + screen_offset_x(), y + screen_offset_y());
}

bool Object::is_visible() const
{
    return opacity != 0 && scale_x != 0 && scale_y != 0;
}

bool Object::contains_point(float px, float py) const
{
    return point_in_rect(px - screen_offset_x(), py - screen_offset_y(), get_left(), get_top(), get_right(),
                         get_bottom());
}

void Object::move_to(float new_x, float new_y)
{
    x_anim.set(new_x);
    y_anim.set(new_y);
}

void Object::set_anchor(float ax, float ay)
{
    anchor_x_anim.set(ax);
    anchor_y_anim.set(ay);
}

void Object::fade_in(double duration, easing_curve curve)
{
    if (opacity != 1.0f)
        opacity_anim.animate(opacity, 1.0f, 0.0, duration, curve);
}

void Object::fade_out(double duration, easing_curve curve)
{
    // Always from full opacity: a fade-out restarts from opaque, however far an earlier fade got.
    if (opacity != 0.0f)
        opacity_anim.animate(1.0f, 0.0f, 0.0, duration, curve);
}

void Object::pop_in(double duration, easing_curve curve)
{
    pop(1.0f, duration, curve);
}

void Object::pop_out(double duration, easing_curve curve)
{
    pop(0.0f, duration, curve);
}

// Scales from nothing to full size (to 1) or back (to 0), fading on the way unless already there.
void Object::pop(float to, double duration, easing_curve curve)
{
    if (opacity == to && scale_x == to && scale_y == to)
        return;
    if (opacity != to && to == 1.0f)
        fade_in(duration, curve_ease_out_twice);
    else if (opacity != to)
        fade_out(duration, curve_ease_in_cubic);
    scale_x_anim.animate(1.0f - to, to, 0.0, duration, curve);
    scale_y_anim.animate(1.0f - to, to, 0.0, duration, curve);
}

template <typename F> void Object::for_each_holder(F f)
{
    f(x_anim);
    f(y_anim);
    f(z_anim);
    f(scale_x_anim);
    f(scale_y_anim);
    f(opacity_anim);
    f(rotation_anim);
    f(anchor_x_anim);
    f(anchor_y_anim);
    f(flip_horizontal_anim);
    f(flip_vertical_anim);
    f(crop_left_anim);
    f(crop_top_anim);
    f(crop_right_anim);
    f(crop_bottom_anim);
    f(image_anim);
    f(tint_anim);
}

bool Object::update_animations()
{
    bool changed = false;
    for_each_holder([&changed](auto& holder) { changed = holder.update() || changed; });
    return changed;
}

void Object::clear_animations()
{
    for_each_holder([](auto& holder) { holder.clear(); });
}

void Object::pause_animations()
{
    for_each_holder([](auto& holder) { holder.pause(); });
}

void Object::resume_animations()
{
    for_each_holder([](auto& holder) { holder.resume(); });
}

int Object::animation_count()
{
    int total = 0;
    for_each_holder([&total](auto& holder) { total += holder.count(); });
    return total;
}

static bool drawn_before(const Object* a, const Object* b)
{
    return a->z < b->z;
}

void register_object(Object* object)
{
    // A null entry would only be skipped everywhere and break the depth comparison.
    if (!object)
        return;
    // Inserting after the equal depths gives what appending and a stable sort would, without sorting the
    // whole bin on every registration; an unsorted bin (a depth changed since the last sort) is sorted.
    if (std::is_sorted(objects_bin.begin(), objects_bin.end(), drawn_before)) {
        objects_bin.insert(std::upper_bound(objects_bin.begin(), objects_bin.end(), object, drawn_before), object);
        return;
    }
    objects_bin.push_back(object);
    sort_objects_by_depth();
}

bool unregister_object(Object* object)
{
    if (!object)
        return false;
    const auto found = std::find(objects_bin.begin(), objects_bin.end(), object);
    if (found == objects_bin.end())
        return false;
    objects_bin.erase(found);
    mark_region_changed(object->drawn_bounds);
    return true;
}

void sort_objects_by_depth()
{
    // Stable: objects of equal depth keep the order in which they registered.
    std::stable_sort(objects_bin.begin(), objects_bin.end(), drawn_before);
}

void release_work_bitmaps()
{
    for (Object* object : objects_bin)
        object->release_work_bitmap();
}

// Where it was drawn, and where it will be; a large additive picture that stayed in place with its image
// (a change of colour) only where it has ink. Its image's corner is a unit inside its box, and a unit more on
// each side holds its placing on whole pixels.
static void mark_change(const Object& object)
{
    const stage_rect now = object.bounds(), was = object.drawn_bounds;
    if (!(now == was) || object.ink_image != object.image || !object.drawn_as_ink()) {
        mark_region_changed(was);
        mark_region_changed(now);
        return;
    }
    for (const stage_rect& tile : object.ink)
        mark_region_changed(
            {now.left + tile.left, now.top + tile.top, now.left + tile.right + 2, now.top + tile.bottom + 2});
}

void update_objects()
{
    for (Object* object : objects_bin) {
        if (!object)
            continue;
        const bool moved = object->update_animations();
        if (!moved && !object->image_changed)
            continue;
        object->image_changed = false;
        mark_change(*object);
    }
    sort_objects_by_depth();
}

void bring_to_front(Object* object)
{
    if (!object || objects_bin.empty() || !objects_bin.back())
        return;
    object->z_anim.set(static_cast<float>(static_cast<double>(objects_bin.back()->z) + 0.1));
    sort_objects_by_depth();
}

