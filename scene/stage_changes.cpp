#include "scene/stage_changes.h"

#include "core/screen.h"

#include <algorithm>
#include <bitset>

// The stage in square tiles: a mark sets the tiles it touches, so that marks far apart stay apart and marks
// that overlap cost no more than the tiles they share.
static constexpr int tile_size = 32;
static constexpr int tile_columns = (screen_width + tile_size - 1) / tile_size;
static constexpr int tile_rows = (screen_height + tile_size - 1) / tile_size;
// Each part costs a pass over the objects, their draws split into more batches, and a copy to the window:
// measured at the worst load, about as much as drawing 64 tiles more. So parts are joined while joining
// them adds fewer tiles than that, and there are never more than four.
static constexpr std::size_t most_parts = 4;
static constexpr long part_cost_in_tiles = 64;

static std::bitset<tile_columns * tile_rows> changed_tiles = std::bitset<tile_columns * tile_rows>().set();

bool stage_rect::overlaps(const stage_rect& other) const
{
    return !empty() && !other.empty() && left < other.right && other.left < right && top < other.bottom &&
           other.top < bottom;
}

void stage_rect::add(const stage_rect& other)
{
    if (other.empty())
        return;
    if (empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

stage_rect stage_rect::within(const stage_rect& other) const
{
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
}

bool stage_rect::operator==(const stage_rect& other) const
{
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
}

stage_rect whole_stage()
{
    return {0, 0, screen_width, screen_height};
}

void mark_stage_changed()
{
    changed_tiles.set();
}

void mark_region_changed(const stage_rect& region)
{
    const stage_rect on_stage = region.within(whole_stage());
    if (on_stage.empty())
        return;
    for (int row = on_stage.top / tile_size; row <= (on_stage.bottom - 1) / tile_size; ++row)
        for (int column = on_stage.left / tile_size; column <= (on_stage.right - 1) / tile_size; ++column)
            changed_tiles.set(row * tile_columns + column);
}

static long area(const stage_rect& r)
{
    return static_cast<long>(r.right - r.left) * (r.bottom - r.top);
}

// Runs of changed tiles in each row, a run joined to the one right above it when both span the same columns;
// in tiles.
static std::vector<stage_rect> changed_runs()
{
    std::vector<stage_rect> runs;
    for (int row = 0; row < tile_rows; ++row)
        for (int column = 0; column < tile_columns;) {
            if (!changed_tiles.test(row * tile_columns + column)) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < tile_columns && changed_tiles.test(row * tile_columns + column))
                ++column;
            const auto above = std::find_if(runs.begin(), runs.end(), [&](const stage_rect& run) {
                return run.bottom == row && run.left == first && run.right == column;
            });
            if (above != runs.end())
                above->bottom = row + 1;
            else
                runs.push_back({first, row, column, row + 1});
        }
    return runs;
}

// Joins the two parts whose joint rectangle adds the fewest tiles to what they cover, when there are too
// many parts or those tiles cost less than a part; true when it joined two.
static bool join_closest(std::vector<stage_rect>& parts)
{
    if (parts.size() < 2)
        return false;
    std::size_t best_a = 0, best_b = 1;
    long least = -1;
    for (std::size_t a = 0; a < parts.size(); ++a)
        for (std::size_t b = a + 1; b < parts.size(); ++b) {
            stage_rect joint = parts[a];
            joint.add(parts[b]);
            const long added = area(joint) - area(parts[a]) - area(parts[b]);
            if (least < 0 || added < least)
                least = added, best_a = a, best_b = b;
        }
    if (parts.size() <= most_parts && least >= part_cost_in_tiles)
        return false;
    parts[best_a].add(parts[best_b]);
    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(best_b));
    return true;
}

std::vector<stage_rect> changed_parts()
{
    std::vector<stage_rect> parts = changed_runs();
    while (join_closest(parts)) {
    }
    for (stage_rect& part : parts)
        part = {part.left * tile_size, part.top * tile_size, std::min(part.right * tile_size, screen_width),
                std::min(part.bottom * tile_size, screen_height)};
    return parts;
}

void clear_stage_changed()
{
    changed_tiles.reset();
}
