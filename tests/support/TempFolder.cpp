#include "TempFolder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

TempFolder::TempFolder(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("qb-" + name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

std::string WriteFile(const std::string& folder, const std::string& name, const std::string& text, unsigned mode) {
    const std::string path = folder + "/" + name;
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << text;
    }
    chmod(path.c_str(), static_cast<mode_t>(mode));
    return path;
}
