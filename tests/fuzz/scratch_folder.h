#pragma once
// A folder of its own for a fuzz target's files, made once (in memory, /dev/shm, where there is one).
#include <stdlib.h>
#include <unistd.h>

#include <string>

inline const std::string& scratch_folder()
{
    static const std::string dir = [] {
        std::string tmpl = (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
                           "/vantelo-fuzz-XXXXXX";
        if (!mkdtemp(tmpl.data())) abort();
        return tmpl;
    }();
    return dir;
}
