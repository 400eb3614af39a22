#include "framework/app.h"
#include "framework/error_list.h"

#include <gtest/gtest.h>

TEST(error_list, joins_every_message_with_its_line_break_in_order)
{
    error_list_class errors;
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(errors.join(), "");
    errors.add("a");
    errors.add("b");
    errors.add("a");
    EXPECT_EQ(errors.count(), 3);
    EXPECT_EQ(errors.join(), "a\nb\na\n");
}

TEST(error_list, startup_text_wraps_the_list_in_fixed_header_and_footer)
{
    error_list_class errors;
    errors.add("could not load image \"data/missing_image.png\"");
    errors.add("could not load font \"data/lacuna.ttf\"");
    EXPECT_EQ(startup_error_text(errors),
              "The following errors occured during startup:\n\n"
              "could not load image \"data/missing_image.png\"\n"
              "could not load font \"data/lacuna.ttf\"\n"
              "\nThe program must now be shut down.");
}
