#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// Runs one of the project's throwaway-server scripts ("SCRIPT start DIR [LDIF...]", "SCRIPT stop DIR")
// on a folder of its own under the system's temporary folder, named uniquely and removed with
// everything in it. The script prints shell assignments (NAME='value'), read into values().
class FixtureRunner {
public:
    // `script` is a path; `name` goes into the folder's name; `pidName` is the assignment holding the pid.
    FixtureRunner(std::string script, const std::string& name, std::string pidName);
    FixtureRunner(const FixtureRunner&) = delete;
    FixtureRunner& operator=(const FixtureRunner&) = delete;
    ~FixtureRunner();

    // Builds the server on first use (with `ldifs` loaded) or starts it again on the same data;
    // empty on success, else why not, with the script's output.
    std::string Start(const std::vector<std::string>& ldifs = {});
    // Stops the server by its pid through the script.
    void Stop();
    // SIGKILL, as a crash would end it; returns once the process is gone.
    void Kill();

    const std::string& folder() const { return folder_; }
    const std::map<std::string, std::string>& values() const { return values_; }
    // The assignment `name`, empty when the script printed none.
    std::string Value(const std::string& name) const;
    pid_t pid() const { return pid_; }

private:
    std::string Run(const std::string& arguments);

    std::string script_;
    std::string pidName_;
    std::string folder_;
    std::map<std::string, std::string> values_;
    pid_t pid_ = 0;
};

// The whole content of the file at `path` (a password file), empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
