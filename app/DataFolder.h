#pragma once
// Where the program's data (the manual, the product pages) lives: "data/" beside the program
// file in a build tree, "../share/velmora/" from an installed program's folder.

#include <QString>

namespace velmora::ui {

/// The data folder, ending with "/". The build tree's folder when it exists, else the
/// installed one (which may be missing; callers treat a missing file as absent).
QString DataFolder();

/// DataFolder() + `relative`.
QString DataFile(const QString& relative);

}  // namespace velmora::ui
