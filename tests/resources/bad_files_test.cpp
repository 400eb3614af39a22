// Every data file the program names, damaged in turn and loaded through the bins the program uses: the answer
// is nothing (and a recorded miss) or a resource that works when used, never a crash, a hang or a huge
// allocation. Run under the sanitizer build, a bad read inside our code fails here too.
#include "resource_fixture.h"
#include "resources/drawing.h"

#include "audio/mixer.h"
#include "audio/offline_render.h"
#include "support/data_files.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <random>

namespace {

enum damage { undamaged, missing, empty, truncated, garbage, scrambled_tail };

// A copy of the file, damaged. Garbage keeps the first 12 bytes (signature and first lengths) so parsers get past their magic check; a
// scrambled tail keeps the first half, so headers and tables are sound but what they point at is not.
void write_damaged(const std::string& original, const std::string& file, damage how)
{
    std::ifstream in(original, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::minstd_rand random(static_cast<unsigned>(bytes.size()));
    const std::size_t kept[] = {bytes.size(), 0, 0, bytes.size() / 2, 12, bytes.size() / 2};
    bytes.resize(how == truncated || how == empty ? kept[how] : bytes.size());
    for (std::size_t i = kept[how]; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(random() & 0xff);
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    if (how != missing)
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Loads the file through its bin (a sample by playing it), uses what it got and says whether it loaded. A
// missing image draws as the red missing_image; a font that fails becomes fallback_font, and a damaged one that
// measures text as zero wide (an empty bitmap) or less (none) must not crash.
bool load_and_use(const std::string& file)
{
    bitmap_ptr target = make_bitmap(64, 64, al_map_rgba(0, 0, 0, 0), true);
    const std::string kind = std::filesystem::path(file).extension();
    if (kind == ".png") {
        draw_image(file, 1, 1, 0.5f, 2.0f, 1.0f);
        EXPECT_TRUE(has_image(file) || al_get_pixel(target.get(), 1, 1).r == 1.0f) << "missing_image is red";
        return has_image(file);
    }
    if (kind == ".wav") {
        const auto mixer = std::make_unique<mixer_class>();
        play_sample(*mixer, file, 0.8f, 0.0f);
        std::vector<float> out;
        render_offline(*mixer, 1024, out);
        return samples_bin.loaded.count(file) > 0;
    }
    ALLEGRO_FONT* font = fonts_bin.get_font(file, -20);
    bitmap_ptr text(fonts_bin.render_text(font, "EARTH WIND WATER FIRE 0123456789 -", current_tint()));
    al_draw_text(font, current_tint(), 0, 0, 0, "FIRE");
    return font != fallback_font;
}

using bad_files = resource_fixture;

// The real files load, so every case starts from working data. Missing and empty files never load, nor does a
// truncated WAV, whose data chunk runs past the end of the file (the damage kinds are ordered so).
TEST_F(bad_files, every_named_file_loads_undamaged_and_damaged_to_nothing_or_to_a_working_resource)
{
    for (const std::string& original : data_files())
        for (damage how : {undamaged, missing, empty, truncated, garbage, scrambled_tail}) {
            SCOPED_TRACE(original + " damaged in way " + std::to_string(how));
            const std::string file = path(original);
            write_damaged(original, file, how);
            const bool loaded = load_and_use(file);
            EXPECT_EQ(graphics_bin.errors.count() + samples_bin.errors.count() + fonts_bin.errors.count(), loaded ? 0 : 1);
            const bool wav = std::filesystem::path(file).extension() == ".wav";
            EXPECT_TRUE(how == undamaged ? loaded : !loaded || how > (wav ? truncated : empty));
            release_resources();
            std::filesystem::remove(file);
        }
}

} // namespace
