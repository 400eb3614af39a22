// Every data file the program names, damaged in turn and loaded the way the program loads it: the answer is
// nothing (and a recorded miss) or a resource that works when used, never a crash, a hang or a huge
// allocation. Run under the sanitizer build, a bad read inside our code fails here too.
#include "resources/bins.h"
#include "resources/drawing.h"
#include "resources/wav_check.h"
#include "support/test_bitmaps.h"
#include "tests/resources/resource_fixture.h"

#include <allegro5/allegro_image.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

enum class resource_kind { image, sample, font };

// How the program reaches the file: through a bin, or loaded directly at start-up or by the note playing.
enum class route { bin, direct };

struct named_file
{
    std::string file;
    resource_kind kind;
    route via;
    int font_size;
};

std::vector<named_file> named_files()
{
    std::vector<named_file> files = {
        {"data/missing_image.png", resource_kind::image, route::direct, 0},
        {"data/missing_sample.wav", resource_kind::sample, route::direct, 0},
        {"data/lacuna.ttf", resource_kind::font, route::direct, -20},
        {"data/lacuna.ttf", resource_kind::font, route::bin, -20},
        {"data/fonts/TrajanPro-Regular.otf", resource_kind::font, route::bin, -13},
        {"data/fonts/TrajanPro-Regular.otf", resource_kind::font, route::bin, -15},
        {"data/fonts/TrajanPro-Regular.otf", resource_kind::font, route::bin, -20},
        {"data/fonts/TrajanPro-Regular.otf", resource_kind::font, route::bin, -28},
        {"data/fonts/TrajanPro-Bold.otf", resource_kind::font, route::bin, -30},
        {"data/sounds/select.wav", resource_kind::sample, route::bin, 0},
    };
    for (const char* image :
         {"air_effect", "black_bead_opaque_A", "black_brick", "dropshadow", "earth4", "wind3", "water", "fire",
          "flame2", "main_flame2", "water_droplets", "healthy_glow", "overlay_pretty", "mouse_cursor",
          "pointer_cursor", "tolme_icon", "t1", "t2", "t3", "o1_a", "o2_a", "l1", "l2", "l3", "m1", "m2", "e1",
          "e2", "e3"})
        files.push_back({std::string("data/images/") + image + ".png", resource_kind::image, route::bin, 0});
    // The wind notes are loaded by the note playing itself, the other three sets through the bin.
    for (const char* set : {"earth", "air", "water", "fire"})
        for (int note = 0; note < 8; ++note)
            files.push_back({"data/sounds/" + std::string(set) + "_" + std::to_string(note) + ".wav",
                             resource_kind::sample, std::string(set) == "air" ? route::direct : route::bin, 0});
    return files;
}

enum class damage { missing, empty, truncated, garbage, scrambled_tail };

const char* damage_name(damage how)
{
    switch (how) {
    case damage::missing: return "missing";
    case damage::empty: return "empty";
    case damage::truncated: return "truncated";
    case damage::garbage: return "garbage";
    case damage::scrambled_tail: return "scrambled_tail";
    }
    return "";
}

std::vector<char> read_bytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void scramble(std::vector<char>& bytes, std::size_t from)
{
    std::minstd_rand random(static_cast<unsigned>(bytes.size()));
    for (std::size_t i = from; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(random() & 0xff);
}

// Garbage keeps the first 12 bytes (signature and first lengths) so parsers get past their magic check;
// a scrambled tail keeps the first half, so headers and tables are sound but what they point at is not.
std::vector<char> damaged_bytes(std::vector<char> bytes, damage how)
{
    switch (how) {
    case damage::missing:
    case damage::empty: return {};
    case damage::truncated: bytes.resize(bytes.size() / 2); break;
    case damage::garbage: scramble(bytes, 12); break;
    case damage::scrambled_tail: scramble(bytes, bytes.size() / 2); break;
    }
    return bytes;
}

struct bad_file_case
{
    named_file named;
    damage how;
};

std::vector<bad_file_case> every_bad_file()
{
    std::vector<bad_file_case> cases;
    for (const named_file& named : named_files())
        for (damage how : {damage::missing, damage::empty, damage::truncated, damage::garbage,
                           damage::scrambled_tail})
            cases.push_back({named, how});
    return cases;
}

std::string case_name(const ::testing::TestParamInfo<bad_file_case>& info)
{
    const named_file& named = info.param.named;
    std::string name = named.file.substr(std::strlen("data/"));
    if (named.kind == resource_kind::font)
        name += "_" + std::to_string(-named.font_size);
    name += (named.via == route::bin ? "_bin_" : "_direct_") + std::string(damage_name(info.param.how));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

class bad_files : public resource_fixture, public ::testing::WithParamInterface<bad_file_case>
{
public:
    // Writes the damaged copy into the temporary folder, under the same relative path.
    std::string write_damaged(const bad_file_case& bad) const
    {
        const std::string file = path(bad.named.file);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        if (bad.how == damage::missing)
            return file;
        const std::vector<char> original = read_bytes(bad.named.file);
        EXPECT_FALSE(original.empty()) << bad.named.file << " is not in data/: build the data first";
        const std::vector<char> bytes = damaged_bytes(original, bad.how);
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }
};

// A bin either holds the file or has recorded exactly one miss, with its message.
template <typename Bin>
void expect_miss_recorded_or_loaded(const Bin& bin, bool loaded, const std::string& message)
{
    if (loaded) {
        EXPECT_EQ(bin.size(false), 1);
        EXPECT_EQ(bin.errors.count(), 0);
    } else {
        EXPECT_EQ(bin.missing_count(), 1);
        EXPECT_EQ(bin.errors.messages, std::vector<std::string>{message});
    }
}

// A loaded bitmap has a size and draws; with the file gone, draw_image falls back to missing_image.
void use_image(const std::string& file, ALLEGRO_BITMAP* bitmap)
{
    bitmap_ptr target(resource_fixture::filled_bitmap(64, 64, al_map_rgba(0, 0, 0, 0)));
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP);
    al_set_target_bitmap(target.get());
    if (bitmap) {
        EXPECT_GT(al_get_bitmap_width(bitmap), 0);
        EXPECT_GT(al_get_bitmap_height(bitmap), 0);
        al_draw_tinted_bitmap(bitmap, current_tint(), 0, 0, 0);
    } else {
        draw_image(file, 1, 1, 0.5f, 2.0f, 1.0f);
        EXPECT_EQ(al_get_pixel(target.get(), 1, 1).r, 1.0f) << "missing_image is red";
    }
    al_restore_state(&state);
}

// Where the data chunk's bytes start in a WAV file that passed the structure check.
std::size_t data_chunk_offset(const std::vector<char>& bytes)
{
    std::size_t pos = 12;
    while (std::memcmp(bytes.data() + pos, "data", 4) != 0) {
        std::uint32_t length;
        std::memcpy(&length, bytes.data() + pos + 4, 4);
        pos += 8 + length;
    }
    return pos + 8;
}

// A loaded sample holds exactly the file's data bytes: never more memory than the file, and every byte of
// the buffer is compared, so a buffer shorter than it claims is caught.
void use_sample(const std::string& file, ALLEGRO_SAMPLE* sample)
{
    if (!sample)
        return;
    const std::size_t size = al_get_sample_length(sample) * al_get_channel_count(al_get_sample_channels(sample)) *
                             al_get_audio_depth_size(al_get_sample_depth(sample));
    const std::vector<char> bytes = read_bytes(file);
    const std::size_t offset = data_chunk_offset(bytes);
    ASSERT_GT(size, 0u);
    ASSERT_LE(offset + size, bytes.size());
    EXPECT_EQ(std::memcmp(al_get_sample_data(sample), bytes.data() + offset, size), 0);
}

// A font whose glyph data is damaged may measure text as zero wide (an empty bitmap) or less (none): both
// draw nothing, and neither may crash.
void use_font(ALLEGRO_FONT* font)
{
    ASSERT_NE(font, nullptr);
    bitmap_ptr text(fonts_bin.render_text(font, "EARTH WIND WATER FIRE 0123456789 -", al_map_rgb(255, 255, 255)));
    bitmap_ptr target(resource_fixture::filled_bitmap(64, 64, al_map_rgba(0, 0, 0, 0)));
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP);
    al_set_target_bitmap(target.get());
    if (text)
        al_draw_tinted_bitmap(text.get(), current_tint(), 0, 0, 0);
    al_draw_text(font, current_tint(), 0, 0, 0, "FIRE");
    al_restore_state(&state);
}

// Each loads the damaged file the way the program does, uses what it got and says whether anything loaded.
bool load_and_use_image(const std::string& file, route via)
{
    ALLEGRO_BITMAP* bitmap = via == route::bin ? graphics_bin.get(file, file) : al_load_bitmap(file.c_str());
    use_image(file, bitmap);
    if (via == route::bin)
        expect_miss_recorded_or_loaded(graphics_bin, bitmap != nullptr,
                                                  "could not load image \"" + file + "\"");
    else if (bitmap)
        al_destroy_bitmap(bitmap);
    return bitmap != nullptr;
}

bool load_and_use_sample(const std::string& file, route via)
{
    ALLEGRO_SAMPLE* sample = via == route::bin ? samples_bin.get(file, file) : load_checked_sample(file);
    use_sample(file, sample);
    play_sample(file, 0.8f, 0.0f);
    if (via == route::bin)
        expect_miss_recorded_or_loaded(samples_bin, sample != nullptr,
                                                  "could not load sample \"" + file + "\"");
    else if (sample)
        al_destroy_sample(sample);
    return sample != nullptr;
}

// Through the bin a font that fails becomes fallback_font, and text is drawn all the same.
bool load_and_use_font(const std::string& file, int size, route via)
{
    if (via == route::direct) {
        ALLEGRO_FONT* font = al_load_ttf_font(file.c_str(), size, 0);
        if (font) {
            use_font(font);
            al_destroy_font(font);
        }
        return font != nullptr;
    }
    ALLEGRO_FONT* font = fonts_bin.get_font(file, size);
    use_font(font);
    const bool loaded = font != fallback_font;
    expect_miss_recorded_or_loaded(fonts_bin, loaded, "could not load font \"" + file + "\" (size " +
                                                                     std::to_string(size) + ")");
    return loaded;
}

TEST_P(bad_files, load_to_nothing_or_to_a_working_resource)
{
    const bad_file_case& bad = GetParam();
    const named_file& named = bad.named;
    const std::string file = write_damaged(bad);
    bool loaded = false;
    switch (named.kind) {
    case resource_kind::image: loaded = load_and_use_image(file, named.via); break;
    case resource_kind::sample: loaded = load_and_use_sample(file, named.via); break;
    case resource_kind::font: loaded = load_and_use_font(file, named.font_size, named.via); break;
    }
    if (bad.how == damage::missing || bad.how == damage::empty) {
        EXPECT_FALSE(loaded);
    }
    if (named.kind == resource_kind::sample && bad.how == damage::truncated) {
        EXPECT_FALSE(loaded) << "a data chunk longer than the file is refused";
    }
}

INSTANTIATE_TEST_SUITE_P(every_named_file, bad_files, ::testing::ValuesIn(every_bad_file()), case_name);

// The real files themselves load, so the cases above start from working data.
TEST(named_data_files, all_load_undamaged)
{
    for (const named_file& named : named_files()) {
        SCOPED_TRACE(named.file);
        switch (named.kind) {
        case resource_kind::image: {
            ALLEGRO_BITMAP* bitmap = al_load_bitmap(named.file.c_str());
            EXPECT_NE(bitmap, nullptr);
            al_destroy_bitmap(bitmap);
            break;
        }
        case resource_kind::sample: {
            ALLEGRO_SAMPLE* sample = load_checked_sample(named.file);
            EXPECT_NE(sample, nullptr);
            if (sample)
                al_destroy_sample(sample);
            break;
        }
        case resource_kind::font: {
            ALLEGRO_FONT* font = al_load_ttf_font(named.file.c_str(), named.font_size, 0);
            EXPECT_NE(font, nullptr);
            if (font)
                al_destroy_font(font);
            break;
        }
        }
    }
}

} // namespace
