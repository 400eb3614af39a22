#include "resources/data_folder.h"

#include <gtest/gtest.h>

// Which folder wins, and that the installed one is used, the installed program's runs show (the end-to-end
// install test); an empty $TOLME_DATA counts as unset, which none of them tries.
TEST(data_folder, an_empty_environment_variable_is_unset)
{
    EXPECT_EQ(find_data_folder("", "/no/such/folder/bin").folder, "data");
}
