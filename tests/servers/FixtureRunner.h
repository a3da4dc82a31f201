#pragma once

#include "TempFolder.h"

#include <sys/types.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A throwaway server run by one of the project's fixture scripts ("SCRIPT start DIR [ARGS...]",
// "SCRIPT stop DIR") in a folder of its own, removed with everything in it. The script prints
// shell assignments (NAME='value'), read into values(); each kind of server takes what it needs
// from them in ReadValues(). Start() fails loudly when the server cannot be started: tests never
// skip over it.
class FixtureRunner {
public:
    // `script` is the file name of a script in the project's scripts folder; `name` goes into the
    // folder's name; `pidName` is the assignment holding the server's pid.
    FixtureRunner(const std::string& script, const std::string& name, std::string pidName);
    FixtureRunner(const FixtureRunner&) = delete;
    FixtureRunner& operator=(const FixtureRunner&) = delete;
    virtual ~FixtureRunner();

    // Builds the server on first use (with `ldifs` loaded) or starts it again on the same data;
    // empty on success, else why not, with the script's output.
    std::string Start(const std::vector<std::string>& ldifs = {});
    // Starts it again on the same data and ports after Stop() or Kill().
    std::string Restart() { return Start(); }
    // Stops what the script started, through the script (a killed server is no harm to it).
    void Stop();
    // SIGKILL, as a crash would end it; returns once the process is gone.
    void Kill();

    // Variables the script and the server it starts run with, beside the test's own (KRB5_KTNAME for
    // a server that accepts Kerberos tickets); set before Start().
    std::map<std::string, std::string> environment;

    const std::string& folder() const { return folder_.path(); }
    const std::map<std::string, std::string>& values() const { return values_; }
    // The assignment `name`, empty when the script printed none.
    std::string Value(const std::string& name) const;
    pid_t pid() const { return pid_; }

protected:
    // The script's arguments after "start DIR".
    virtual std::vector<std::string> StartArguments(const std::vector<std::string>& ldifs) const { return ldifs; }
    // Takes what a successful start printed; empty when the server is usable, else why not.
    virtual std::string ReadValues() = 0;

    // A printed assignment and the field its value fills; with `fromFile` the value names a file
    // whose content fills the field (a password file).
    struct Assignment {
        const char* name;
        std::string* field;
        bool fromFile = false;
    };
    // Fills every field; empty when none came out empty, else which ones did.
    std::string Assign(std::initializer_list<Assignment> assignments) const;

private:
    std::string Run(const std::string& arguments);

    std::string script_;
    std::string pidName_;
    TempFolder folder_;
    std::map<std::string, std::string> values_;
    pid_t pid_ = 0;
    bool started_ = false;
};

// SIGKILL to `pid`, as a crash would end it; returns once the process is gone.
void KillProcess(pid_t pid);

// The whole content of the file at `path` (a password file), empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
