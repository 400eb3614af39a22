#include "resources/data_folder.h"

#include <filesystem>

static std::string folder_in_use = "data";

data_folder_choice find_data_folder(const char* from_environment, const std::string& program_folder)
{
    if (from_environment && *from_environment)
        return {from_environment, std::string(from_environment) + " (named by TOLME_DATA)"};
    const std::string installed = program_folder + "/" TOLME_DATA_FROM_PROGRAM;
    std::error_code error;
    if (std::filesystem::is_directory(installed, error)) {
        const std::string shown = std::filesystem::weakly_canonical(installed, error).string();
        return {installed, shown + " beside the program"};
    }
    return {"data", "data in the working folder " + std::filesystem::current_path(error).string() +
                        " (TOLME_DATA is not set and there is no " + installed + ")"};
}

std::string program_folder()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

void use_data_folder(const std::string& folder)
{
    folder_in_use = folder;
}

std::string data_file(const std::string& name)
{
    return name.compare(0, 5, "data/") == 0 ? folder_in_use + name.substr(4) : name;
}
