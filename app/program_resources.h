// The program's resources: dialog templates, icon 128 and the string table, registered with
// the framework as a resource script would hold them.
#pragma once

#include <string_view>

namespace morvane {

// Registers every resource with the window-system layer; safe to call more than once.
void RegisterResources();

// The CP932 form of a text written in this source as UTF-8. The program's texts are CP932
// inside; the source stays readable. The result lives as long as the program.
const char* Sjis(std::string_view utf8);

}  // namespace morvane
