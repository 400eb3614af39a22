// Drawing one scene object onto the current target: scaled and rotated about its anchor, mirrored, tinted,
// faded and blended by its own mode; a cropped object goes through its work bitmap, which holds only the
// uncropped part. With the debug overlay on, each drawn object also shows its outline.
#include "scene/object.h"

#include "math/colors.h"
#include "math/numeric.h"
#include "resources/drawing.h"
#include "resources/fallbacks.h"
#include "scene/ink_tiles.h"
#include "scene/debug_overlay.h"
#include "scene/stage_pixels.h"

#include <allegro5/allegro_color.h>
#include <allegro5/allegro_opengl.h>
#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <cstring>

// A crop fraction limited to [0, 1]; NaN counts as no crop rather than reaching a float-to-int conversion.
static float unit_clamped(float v)
{
    return std::isnan(v) ? 0.0f : static_cast<float>(clamp(v, 0.0, 1.0));
}

static int flip_flags(const Object& object)
{
    int flags = 0;
    if (object.flip_horizontal)
        flags |= ALLEGRO_FLIP_HORIZONTAL;
    if (object.flip_vertical)
        flags |= ALLEGRO_FLIP_VERTICAL;
    return flags;
}

// Looked up once: every object draw needs them.
static const ALLEGRO_COLOR black = al_color_name("black");
static const ALLEGRO_COLOR white = al_color_name("white");

// Additive drawing ignores alpha, so an additive object fades by darkening its color instead.
static ALLEGRO_COLOR blend_color(const Object& object)
{
    if (object.blend_mode == blend_additive && object.opacity != 1.0f)
        return color_lerp(black, object.tint, object.opacity);
    return object.tint;
}

// The part of the image a crop leaves, in the image's pixels: whole-pixel start, fractional size.
struct crop_region
{
    float sx, sy, sw, sh;
    bool empty() const { return sw <= 0 || sh <= 0; }
};

static crop_region region_left_by(const Object& object)
{
    const float w = static_cast<float>(al_get_bitmap_width(object.image));
    const float h = static_cast<float>(al_get_bitmap_height(object.image));
    const float sx = static_cast<float>(static_cast<int>(w * unit_clamped(object.crop_left)));
    const float sy = static_cast<float>(static_cast<int>(h * unit_clamped(object.crop_top)));
    return {sx, sy, (w - w * unit_clamped(object.crop_right)) - sx, (h - h * unit_clamped(object.crop_bottom)) - sy};
}

// Drawing would leave the target as it is: everything cropped away (transparent pixels change nothing in
// normal or additive blending), or additive light of no color.
static bool draws_nothing(const Object& object, const ALLEGRO_COLOR& color)
{
    const bool adds_or_covers = object.blend_mode == blend_normal || object.blend_mode == blend_additive;
    if (adds_or_covers && object.uses_work_bitmap() && region_left_by(object).empty())
        return true;
    return object.blend_mode == blend_additive && color.r == 0 && color.g == 0 && color.b == 0;
}

bool Object::drawn_as_ink() const
{
    return image && blend_mode == blend_additive && flip_flags(*this) == 0 && scale_x == 1 && scale_y == 1 &&
           rotation == 0 && image_density == 1 && al_get_bitmap_width(image) * al_get_bitmap_height(image) >= 256 * 256;
}

// Every draw leaves the normal blender behind it, but one in a batch: the batch's blender must still be in
// force when the batch reaches the rasterizer.
static void end_draw()
{
    if (!al_is_bitmap_drawing_held())
        set_blend_mode(blend_normal, white);
}

void Object::draw_bitmap(ALLEGRO_BITMAP* bitmap, const ALLEGRO_COLOR& color)
{
    set_blend_mode(blend_mode, color);
    // The pivot moves back by the cropped amount, so the visible part stays where it was uncropped. It is in
    // the image's pixels, and the image is drawn at its density's inverse.
    const float cl = unit_clamped(crop_left);
    const float ct = unit_clamped(crop_top);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float pivot_x = w * anchor_x - w * cl;
    const float pivot_y = h * anchor_y - h * ct;
    const float to_x = x + screen_offset_x();
    const float to_y = y + screen_offset_y();
    if (scale_x != 1 || scale_y != 1 || rotation != 0) {
        al_draw_tinted_scaled_rotated_bitmap(bitmap, current_tint(), pivot_x, pivot_y, to_x, to_y,
                                             scale_x / image_density, scale_y / image_density, rotation,
                                             flip_flags(*this));
        end_draw();
        return;
    }
    // Sampled nearest, a bitmap landing between pixels would drop and double columns: it goes on whole pixels
    // of the target instead, where text rendered at the target's own scale keeps its every pixel.
    const vec2d at = on_whole_pixels(to_x - pivot_x / image_density, to_y - pivot_y / image_density);
    const float bw = static_cast<float>(al_get_bitmap_width(bitmap));
    const float bh = static_cast<float>(al_get_bitmap_height(bitmap));
    if (image_density != 1)
        al_draw_tinted_scaled_bitmap(bitmap, current_tint(), 0, 0, bw, bh, at.x, at.y, bw / image_density,
                                     bh / image_density, flip_flags(*this));
    else if (bitmap == image && drawn_as_ink())
        draw_ink(at.x, at.y);
    else
        al_draw_tinted_bitmap(bitmap, current_tint(), at.x, at.y, flip_flags(*this));
    end_draw();
}

// The box of a w x h bitmap drawn as draw_bitmap draws it, a whole unit wider on each side so that rounding
// in the rasterizer, and placing on whole pixels of a target drawn at a scale of 1/2 or more, stay inside.
static stage_rect box_of(const Object& object, float w, float h)
{
    const float ow = static_cast<float>(object.width), oh = static_cast<float>(object.height);
    const float pivot_x = ow * object.anchor_x - ow * unit_clamped(object.crop_left);
    const float pivot_y = oh * object.anchor_y - oh * unit_clamped(object.crop_top);
    const float to_x = object.x + object.screen_offset_x();
    const float to_y = object.y + object.screen_offset_y();
    const float scale_x = object.scale_x / object.image_density, scale_y = object.scale_y / object.image_density;
    float left = 0, top = 0, right = 0, bottom = 0;
    if (object.scale_x == 1 && object.scale_y == 1 && object.rotation == 0) {
        left = std::round(to_x - pivot_x * scale_x);
        top = std::round(to_y - pivot_y * scale_y);
        right = left + w * scale_x;
        bottom = top + h * scale_y;
    } else {
        const float c = std::cos(object.rotation), s = std::sin(object.rotation);
        left = top = INFINITY;
        right = bottom = -INFINITY;
        for (const float cx : {0.0f, w})
            for (const float cy : {0.0f, h}) {
                const float sx = (cx - pivot_x) * scale_x, sy = (cy - pivot_y) * scale_y;
                const float px = to_x + sx * c - sy * s, py = to_y + sx * s + sy * c;
                left = std::min(left, px), right = std::max(right, px);
                top = std::min(top, py), bottom = std::max(bottom, py);
            }
    }
    if (!std::isfinite(left + top + right + bottom))
        return whole_stage();
    const float limit = 1e6f; // far outside any stage, and safe to convert
    return {static_cast<int>(std::floor(clamp(left, -limit, limit))) - 1,
            static_cast<int>(std::floor(clamp(top, -limit, limit))) - 1,
            static_cast<int>(std::ceil(clamp(right, -limit, limit))) + 1,
            static_cast<int>(std::ceil(clamp(bottom, -limit, limit))) + 1};
}

// The whole units within reach of a point; all of the stage for a point that is not finite.
static stage_rect around(float px, float py, int reach)
{
    if (!std::isfinite(px + py))
        return whole_stage();
    const float limit = 1e6f; // far outside any stage, and safe to convert
    const int x = static_cast<int>(std::floor(clamp(px, -limit, limit)));
    const int y = static_cast<int>(std::floor(clamp(py, -limit, limit)));
    return {x - reach, y - reach, x + reach + 1, y + reach + 1};
}

// The pixels its debug outline can touch: the cross of 5 units about its anchor, and its outline's corners
// with the ticks reaching 15 units out from two of its sides; a unit or two more for the lines' thickness.
static stage_rect outline_bounds(const Object& object)
{
    const float dx = object.screen_offset_x(), dy = object.screen_offset_y();
    stage_rect box = around(object.x + dx, object.y + dy, 7);
    for (const vec2d& corner : object.get_outline())
        box.add(around(corner.x + dx, corner.y + dy, 17));
    return box;
}

stage_rect Object::bounds() const
{
    if (!is_visible() || !image)
        return {};
    stage_rect box = drawn_box();
    if (debug_overlay)
        box.add(outline_bounds(*this));
    return box;
}

stage_rect Object::drawn_box() const
{
    if (uses_work_bitmap() && work_width == 0) {
        const float w = missing_image ? static_cast<float>(al_get_bitmap_width(missing_image)) : 0.0f;
        const float h = missing_image ? static_cast<float>(al_get_bitmap_height(missing_image)) : 0.0f;
        const int left = static_cast<int>(std::floor(x + screen_offset_x()));
        const int top = static_cast<int>(std::floor(y + screen_offset_y()));
        return {left - 1, top - 1, left + static_cast<int>(w) + 2, top + static_cast<int>(h) + 2};
    }
    return box_of(*this, static_cast<float>(al_get_bitmap_width(image)), static_cast<float>(al_get_bitmap_height(image)));
}

// Whether the object may be drawn in a batch: not through its work bitmap (another target) nor as inked tiles
// (a batch of their own), and not with its debug outline (primitives).
static bool batches(const Object& object)
{
    return !debug_overlay && !object.uses_work_bitmap() && !object.drawn_as_ink();
}

static void end_batch()
{
    al_hold_bitmap_drawing(false);
    set_blend_mode(blend_normal, white);
}

// Whether the display draws through a software rasterizer (Mesa's, on a machine without a GPU).
static bool software_rasterizer()
{
    using string_function = const GLubyte* (*)(GLenum);
    const auto get_string = reinterpret_cast<string_function>(al_get_opengl_proc_address("glGetString"));
    const char* renderer = get_string ? reinterpret_cast<const char*>(get_string(GL_RENDERER)) : nullptr;
    return renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe"));
}

// A software rasterizer keeps a copy of its state for every draw until it has drawn them all: with the debug
// overlay's outlines between the pictures of a full grid, 35 MB. Waiting for it every 16 draws bounds that at
// no measurable cost to the frames without the overlay (its threads work through the draws meanwhile) and
// about a millisecond with it. A GPU is not waited for.
constexpr int draws_between_waits = 16;

static void wait_for_rasterizer()
{
    if (!al_get_current_display() || (al_get_bitmap_flags(al_get_target_bitmap()) & ALLEGRO_MEMORY_BITMAP))
        return;
    static const bool software = software_rasterizer();
    using finish_function = void (*)();
    static const auto finish = reinterpret_cast<finish_function>(al_get_opengl_proc_address("glFinish"));
    if (software && finish)
        finish();
}

// Objects that follow one another in depth with the same picture and blend mode reach the rasterizer as one
// batch: at the worst load a draw call each cost the software rasterizer more than the pixels they cover.
// Allegro places a batched picture's corners itself instead of through the rasterizer's transform; the two
// round differently in the last bit, which moves a handful of edge pixels of scaled pictures (at most a few
// hundred of a frame's 614,400).
void draw_objects()
{
    const stage_rect clip = clipped_region();
    const Object* batch = nullptr; // the first object of the batch held open
    int draws = 0; // pictures and batches sent to the rasterizer
    for (Object* object : objects_bin) {
        object->drawn_bounds = object->bounds();
        // What cannot touch the clipped pixels would change none of them.
        if (!object->drawn_bounds.overlaps(clip))
            continue;
        const bool joins = batch && batches(*object) && object->image == batch->image &&
                           object->blend_mode == batch->blend_mode;
        if (batch && !joins) {
            end_batch();
            batch = nullptr;
        }
        if (!joins && ++draws % draws_between_waits == 0)
            wait_for_rasterizer();
        if (!batch && batches(*object)) {
            al_hold_bitmap_drawing(true);
            batch = object;
        }
        object->draw();
    }
    if (batch)
        end_batch();
}

void Object::draw_ink(float left, float top)
{
    if (ink_image != image) {
        ink = ink_tiles(image);
        ink_image = image;
    }
    // One batch: the same bitmap and blender throughout; tiles outside the clip would draw nothing.
    const stage_rect clip = clipped_region();
    al_hold_bitmap_drawing(true);
    for (const stage_rect& part : ink)
        if (clip.overlaps({static_cast<int>(left) + part.left - 1, static_cast<int>(top) + part.top - 1,
                           static_cast<int>(left) + part.right + 1, static_cast<int>(top) + part.bottom + 1}))
            al_draw_tinted_bitmap_region(image, current_tint(), static_cast<float>(part.left),
                                         static_cast<float>(part.top), static_cast<float>(part.right - part.left),
                                         static_cast<float>(part.bottom - part.top), left + static_cast<float>(part.left),
                                         top + static_cast<float>(part.top), 0);
    al_hold_bitmap_drawing(false);
}

void Object::draw()
{
    if (!is_visible() || !image)
        return;
    tint.a = opacity;
    const ALLEGRO_COLOR color = blend_color(*this);
    // A crop needs the work bitmap, which only an object that took its image's size can have. Once the crop
    // is gone (a token shown whole, a title letter written) its copy of the image is not kept.
    const bool cropped = uses_work_bitmap();
    if (!cropped && work_bitmap)
        release_work_bitmap();
    if (cropped && work_width == 0) {
        draw_missing_image(x + screen_offset_x(), y + screen_offset_y());
    } else if (!draws_nothing(*this, color)) {
        ALLEGRO_BITMAP* bitmap = cropped ? prepared_bitmap() : image;
        if (bitmap)
            draw_bitmap(bitmap, color);
        else
            draw_missing_image(x + screen_offset_x(), y + screen_offset_y());
    }
    if (debug_overlay)
        draw_debug_outline();
}

bool Object::uses_work_bitmap() const
{
    if (!image)
        return false;
    return crop_left != 0 || crop_top != 0 || crop_right != 0 || crop_bottom != 0;
}

bool Object::crop_changed() const
{
    return crop_left != rendered_crop[0] || crop_top != rendered_crop[1] || crop_right != rendered_crop[2] ||
           crop_bottom != rendered_crop[3];
}

void Object::render_work_bitmap()
{
    if (!work_bitmap || !image)
        return;
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
    al_set_target_bitmap(work_bitmap);
    al_clear_to_color(al_map_rgba_f(0, 0, 0, 0));
    // An exact copy of the pixels, alpha included: blending onto the cleared bitmap would square the alpha,
    // and the object's tint is applied when the work bitmap itself is drawn. Crops that meet or cross leave
    // nothing to copy.
    const crop_region region = region_left_by(*this);
    if (!region.empty()) {
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
        al_draw_bitmap_region(image, region.sx, region.sy, region.sw, region.sh, 0, 0, 0);
    }
    al_restore_state(&state);
    rendered_crop = {crop_left, crop_top, crop_right, crop_bottom};
    rendered_image = image;
}

ALLEGRO_BITMAP* Object::prepared_bitmap()
{
    if (!work_bitmap && work_width > 0)
        work_bitmap = al_create_bitmap(work_width, work_height);
    if (crop_changed() || rendered_image != image)
        render_work_bitmap();
    return work_bitmap;
}

std::vector<vec2d> Object::get_outline() const
{
    std::vector<vec2d> corners{vec2d(get_left(), get_top()), vec2d(get_right(), get_top()),
                               vec2d(get_right(), get_bottom()), vec2d(get_left(), get_bottom())};
    const float degrees = static_cast<float>(rotation * 57.29577951308232);
    // rotate_around turns positive angles counter-clockwise on screen; rotation is clockwise.
    for (vec2d& corner : corners)
        rotate_around(corner, vec2d(x, y), -degrees);
    return corners;
}

// A line one unit thick as al_draw_line draws it, as the two triangles of its quad: an outline's lines then
// reach the rasterizer as one draw, with the very same pixels (a draw each made the overlay's frames the
// largest the rasterizer binned).
static void add_line(std::vector<ALLEGRO_VERTEX>& vertices, const vec2d& a, const vec2d& b, ALLEGRO_COLOR color)
{
    const float length = hypotf(b.x - a.x, b.y - a.y);
    if (length == 0)
        return;
    const float tx = 0.5f * (b.y - a.y) / length;
    const float ty = 0.5f * -(b.x - a.x) / length;
    ALLEGRO_VERTEX corners[4]{};
    corners[0].x = a.x + tx, corners[0].y = a.y + ty;
    corners[1].x = a.x - tx, corners[1].y = a.y - ty;
    corners[2].x = b.x - tx, corners[2].y = b.y - ty;
    corners[3].x = b.x + tx, corners[3].y = b.y + ty;
    for (const int corner : {0, 1, 2, 0, 2, 3}) {
        vertices.push_back(corners[corner]);
        vertices.back().color = color;
    }
}

void Object::draw_debug_outline()
{
    draw_cross(x + screen_offset_x(), y + screen_offset_y(), al_color_name("red"));
    std::vector<vec2d> outline = get_outline();
    for (vec2d& corner : outline)
        translate(corner, screen_offset_x(), screen_offset_y());
    if (outline.size() != 4)
        return;
    std::vector<ALLEGRO_VERTEX> lines;
    const ALLEGRO_COLOR red = al_color_name("red");
    add_line(lines, outline[0], outline[2], red);
    add_line(lines, outline[1], outline[3], al_color_name("yellow"));
    for (std::size_t i = 0; i < 4; ++i)
        add_line(lines, outline[i], outline[(i + 1) % 4], red);
    const ALLEGRO_COLOR tick = al_map_rgb(241, 189, 50);
    for (int i = 0; i < 2; ++i) {
        const vec2d n = segment_normal(outline, i);
        const vec2d& from = outline[i];
        const vec2d& to = outline[i + 1];
        const vec2d middle(from.x + (to.x - from.x) / 2, from.y + (to.y - from.y) / 2);
        add_line(lines, vec2d(middle.x + n.x, middle.y + n.y), vec2d(middle.x + 15 * n.x, middle.y + 15 * n.y), tick);
    }
    al_draw_prim(lines.data(), nullptr, nullptr, 0, static_cast<int>(lines.size()), ALLEGRO_PRIM_TRIANGLE_LIST);
}
