#include "core/program_folder.hpp"

#include <system_error>

namespace vantora {

std::filesystem::path program_folder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error);
    return exe.parent_path();
}

std::filesystem::path data_folder() {
    const auto own = program_folder();
    std::error_code error;
    if (std::filesystem::exists(own / "planet.txt", error)) return own;
    // An installed program lives in <prefix>/bin with its data in <prefix>/share/vantora.
    const auto installed = own.parent_path() / "share" / "vantora";
    if (std::filesystem::exists(installed / "planet.txt", error)) return installed;
    return own;
}

} // namespace vantora
