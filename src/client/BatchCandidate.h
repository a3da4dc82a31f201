#pragma once

#include <string>

// An entry directly in a container that a batch of users (prefix + running index) may name: what
// decides whether the batch may touch it.
struct BatchCandidate {
    std::string name;      // its own name, unescaped
    std::string baseClass; // kUserClass only for the class this directory creates users of
    bool hasSubordinates = false;
};
