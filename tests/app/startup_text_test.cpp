#include "app/app.h"
#include "core/error_list.h"

#include <gtest/gtest.h>

TEST(error_list, keeps_every_message_in_order_and_the_startup_text_wraps_them)
{
    error_list_class errors;
    EXPECT_EQ(errors.join(), "");
    for (const char* file : {"data/missing_image.png", "data/lacuna.ttf", "data/missing_image.png"})
        errors.add("could not load \"" + std::string(file) + "\"");
    EXPECT_EQ(errors.count(), 3);
    EXPECT_EQ(startup_error_text(errors),
              "The following errors occured during startup:\n\n"
              "could not load \"data/missing_image.png\"\n"
              "could not load \"data/lacuna.ttf\"\n"
              "could not load \"data/missing_image.png\"\n"
              "\nThe program must now be shut down.");
}
