#pragma once
// File dialog filters as the program describes them, "Label|pattern|...||",
// turned into the name filters of a Qt file dialog.

#include <QStringList>
#include <string_view>

namespace veltra::app {

// One Qt filter per label, "Label (patterns)". "*.*" means every file on
// Windows; elsewhere a name need not have a dot, so it becomes "*".
QStringList qtNameFilters(std::string_view filter);

// A proposed name that is really a pattern ("*.MDB") only says which files
// to show; it is not offered as the name of the file.
bool isNamePattern(std::string_view proposedName);

}  // namespace veltra::app
