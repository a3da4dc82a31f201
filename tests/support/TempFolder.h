#pragma once

#include <string>

// A folder of its own under the system's temporary folder, with a unique name so that tests
// running at the same time never meet ("qb-<name>-XXXXXX"); removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "test");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Empty when no folder could be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file in `folder` holding `text`, with permission bits `mode`; returns its path.
std::string WriteFile(const std::string& folder, const std::string& name, const std::string& text, unsigned mode);
