// Where the data files are. The program names them "data/..." and each is looked up under one folder, chosen
// once at start-up: the folder $TOLME_DATA names when it is set; else the installed folder beside the
// program (../share/tolme from the executable's folder) when there is one, so that an installed or unpacked
// program never reads files from the folder it was started in; else "data" in the working folder, for the
// program run from its build.
#pragma once

#include <string>

class data_folder_choice
{
public:
    std::string folder;
    std::string where; // how it was chosen, for a person: "/x/share/tolme beside the program"
};

// from_environment is $TOLME_DATA (nullptr when unset); program_folder is the executable's folder.
data_folder_choice find_data_folder(const char* from_environment, const std::string& program_folder);
// The folder of the running executable.
std::string program_folder();

void use_data_folder(const std::string& folder);
// The file behind a "data/..." name in the folder in use; any other name as it is.
std::string data_file(const std::string& name);
