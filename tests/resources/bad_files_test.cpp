// Every data file the program names, damaged in turn and loaded through the loaders the program uses: the
// answer is nothing (and a recorded miss) or a resource that works when used, never a crash, a hang or a huge
// allocation. Run under the sanitizer build, a bad read inside our code fails here too.
#include "resources/drawing.h"
#include "resource_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace {

enum class kind { image, sample, font };

struct named_file { std::string file; kind what; int font_size; };

std::vector<named_file> named_files()
{
    std::vector<named_file> files = {
        {"data/missing_image.png", kind::image, 0}, {"data/missing_sample.wav", kind::sample, 0},
        {"data/sounds/select.wav", kind::sample, 0}, {"data/lacuna.ttf", kind::font, -20},
        {"data/fonts/TrajanPro-Bold.otf", kind::font, -30}};
    for (int size : {-13, -15, -20, -28})
        files.push_back({"data/fonts/TrajanPro-Regular.otf", kind::font, size});
    for (const char* image :
         {"air_effect", "black_bead_opaque_A", "black_brick", "dropshadow", "earth4", "wind3", "water", "fire",
          "flame2", "main_flame2", "water_droplets", "healthy_glow", "overlay_pretty", "mouse_cursor",
          "pointer_cursor", "tolme_icon", "t1", "t2", "t3", "o1_a", "o2_a", "l1", "l2", "l3", "m1", "m2", "e1",
          "e2", "e3"})
        files.push_back({std::string("data/images/") + image + ".png", kind::image, 0});
    for (const std::string set : {"earth", "air", "water", "fire"})
        for (int note = 0; note < 8; ++note)
            files.push_back({"data/sounds/" + set + "_" + std::to_string(note) + ".wav", kind::sample, 0});
    return files;
}

enum damage { missing, empty, truncated, garbage, scrambled_tail };
const char* const damage_names[] = {"missing", "empty", "truncated", "garbage", "scrambled_tail"};

std::vector<char> read_bytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Garbage keeps the first 12 bytes (signature and first lengths) so parsers get past their magic check; a
// scrambled tail keeps the first half, so headers and tables are sound but what they point at is not.
void write_damaged(const std::string& original, const std::string& file, damage how)
{
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::vector<char> bytes = read_bytes(original);
    std::minstd_rand random(static_cast<unsigned>(bytes.size()));
    const std::size_t kept[] = {0, 0, bytes.size() / 2, 12, bytes.size() / 2};
    bytes.resize(how == truncated || how == empty ? kept[how] : bytes.size());
    for (std::size_t i = kept[how]; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(random() & 0xff);
    if (how != missing)
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A loaded sample holds exactly the file's data bytes: never more memory than the file, and every byte of the
// buffer is compared, so a buffer shorter than it claims is caught.
bool holds_the_data_chunk(const std::string& file, ALLEGRO_SAMPLE* sample)
{
    const std::size_t size = al_get_sample_length(sample) * al_get_channel_count(al_get_sample_channels(sample)) *
                             al_get_audio_depth_size(al_get_sample_depth(sample));
    const std::vector<char> bytes = read_bytes(file);
    std::size_t pos = 12;
    for (std::uint32_t length = 0; std::memcmp(bytes.data() + pos, "data", 4) != 0; pos += 8 + length)
        std::memcpy(&length, bytes.data() + pos + 4, 4);
    return size > 0 && pos + 8 + size <= bytes.size() &&
           std::memcmp(al_get_sample_data(sample), bytes.data() + pos + 8, size) == 0;
}

// Loads the file through its bin, uses what it got, checks that it loaded or one miss was recorded, and says
// whether it loaded. A missing image draws as the red missing_image; a font that fails becomes fallback_font,
// and a damaged one that measures text as zero wide (an empty bitmap) or less (none) must not crash.
bool load_and_use(const named_file& named, const std::string& file)
{
    bitmap_ptr target = resource_fixture::transparent_target(64, 64);
    bool loaded = false;
    if (named.what == kind::image) {
        loaded = graphics_bin.get(file, file) != nullptr;
        draw_image(file, 1, 1, 0.5f, 2.0f, 1.0f);
        EXPECT_TRUE(loaded || al_get_pixel(target.get(), 1, 1).r == 1.0f) << "missing_image is red";
    } else if (named.what == kind::sample) {
        ALLEGRO_SAMPLE* sample = samples_bin.get(file, file);
        loaded = sample != nullptr;
        play_sample(file, 0.8f, 0.0f);
        EXPECT_TRUE(!sample || holds_the_data_chunk(file, sample));
    } else {
        ALLEGRO_FONT* font = fonts_bin.get_font(file, named.font_size);
        loaded = font != fallback_font;
        bitmap_ptr text(fonts_bin.render_text(font, "EARTH WIND WATER FIRE 0123456789 -", current_tint()));
        al_draw_text(font, current_tint(), 0, 0, 0, "FIRE");
    }
    EXPECT_EQ(graphics_bin.errors.count() + samples_bin.errors.count() + fonts_bin.errors.count(), loaded ? 0 : 1);
    return loaded;
}

using bad_files = resource_fixture;

// The real files load, so every case starts from working data. Missing and empty files never load, nor does a
// truncated WAV, whose data chunk runs past the end of the file (the damage kinds are ordered so).
TEST_F(bad_files, every_named_file_loads_undamaged_and_damaged_to_nothing_or_to_a_working_resource)
{
    for (const named_file& named : named_files()) {
        SCOPED_TRACE(named.file + " size " + std::to_string(named.font_size));
        EXPECT_TRUE(load_and_use(named, named.file));
        release_resources();
        for (damage how : {missing, empty, truncated, garbage, scrambled_tail}) {
            SCOPED_TRACE(damage_names[how]);
            const std::string file = path(named.file);
            write_damaged(named.file, file, how);
            EXPECT_FALSE(load_and_use(named, file) && how <= (named.what == kind::sample ? truncated : empty));
            release_resources();
            std::filesystem::remove(file);
        }
    }
}

} // namespace
