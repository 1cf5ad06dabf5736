#pragma once
// What start-up tells the director beyond its report.

#include <string>

#include "platform/clock.h"
#include "platform/directory.h"

namespace ui {

// What start-up tells the director when the program's own folder could not
// be written but holds races of the day or a race left unfinished: both
// folders by name. Empty when it holds neither.
std::string UnwritableFolderNote(platform::DirectoryLister& lister, const std::string& programFolder,
                                 const std::string& recordFolder, const platform::LocalDateTime& now);

}  // namespace ui
