#pragma once

#include <string>
#include <string_view>
#include <vector>

// Base-class name the program shows for an entry, from its object classes: the structural class
// when the server names it, else the most specific class listed. Containers map to the names the
// scan knows ("Organization", "Organizational Unit", "Country"); an entry named by dc= counts as
// an Organization so that common trees browse; person classes are "User"; others keep their name.
std::string BaseClassName(std::string_view structuralClass, const std::vector<std::string>& objectClasses,
                          std::string_view namingAttribute);
