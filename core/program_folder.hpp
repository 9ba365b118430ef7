// Where the running program keeps its data files.
#pragma once

#include <filesystem>

namespace vantora {

/// Folder of the running executable.
std::filesystem::path program_folder();

/// Folder holding planet.txt, latitude.txt and the pictures: the program's own folder when they
/// are there (a build tree, or a copy of the program), otherwise the installed share folder.
std::filesystem::path data_folder();

} // namespace vantora
